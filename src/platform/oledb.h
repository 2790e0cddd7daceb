#pragma once

#include "platform/platformexport.h"

#include <QString>

class QSqlDatabase;

namespace Platform {

/// The parts of a stored OLE DB connection string that select and reach a database.
struct TOleDbSettings
{
    QString Provider;
    QString DataSource;
    QString UserId;
    QString Password;
};

/// How long the connection waits for the server, in seconds.
struct TDbWaits
{
    /// Opening the connection (a server that does not answer, a network that is down).
    int ConnectSeconds = 5;
    /// A statement waiting for a row or a database another session holds locked.
    int LockSeconds = 10;
};

/// Splits "Provider=…;Data Source=…;User ID=…;Password=…" (names case-insensitive,
/// values optionally quoted, unknown names ignored).
TOVEL_PLATFORM_EXPORT TOleDbSettings ParseOleDbString(const QString &connectionString);

/// The Qt SQL driver that serves `provider`, or empty when none does.
TOVEL_PLATFORM_EXPORT QString DriverForProvider(const QString &provider);

/// Adds (or replaces) the Qt SQL connection `connectionName` set up for `settings`.
/// SQLite data sources are files relative to `programFolder`; PostgreSQL ones are
/// "host[:port]/database"; ODBC ones (also Oracle without the OCI driver) name a DSN.
/// `waits` bound the connect (PostgreSQL, ODBC) and the wait for locks (PostgreSQL's
/// lock_timeout, SQLite's busy timeout); a reopened connection keeps them.
/// Returns false with a readable reason when no installed driver serves the provider
/// or the data source cannot be reached as a file.
TOVEL_PLATFORM_EXPORT bool SetUpDatabase(const QString &connectionName, const TOleDbSettings &settings,
                                         const QString &programFolder, QString *error,
                                         const TDbWaits &waits = {});

} // namespace Platform
