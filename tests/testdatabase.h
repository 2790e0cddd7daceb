#pragma once

#include "platform/oledb.h"

#include <QString>
#include <QStringList>

class QSqlDatabase;

/// A database the caller library's tests run against: an SQLite file in a folder of the
/// test's, or the PostgreSQL server that scripts/test starts on loopback (its address
/// comes from TOVEL_PG_HOST, TOVEL_PG_PORT, TOVEL_PG_USER, TOVEL_PG_PASSWORD, TOVEL_PG_DB).
class TestDatabase
{
public:
    enum class Backend { SQLite, PostgreSQL };

    TestDatabase(Backend backend, QString folder);

    static QString BackendName(Backend backend);
    /// False when the backend's server was not started for this run.
    bool Available() const;
    /// Drops and recreates the tables and fills them from the SQL files; `extraSql`
    /// statements run afterwards. Returns an error text, empty on success.
    QString Reset(const QStringList &extraSql = {}) const;
    /// Fills the sales table with the demo's first `rows` sales (sales.sql). Returns an
    /// error text, empty on success.
    QString SeedSales(int rows) const;
    /// Opens a connection of the test's own to the database under `name`, set up as the
    /// caller library sets up its own (with `waits`); remove it with
    /// QSqlDatabase::removeDatabase when done. Returns an error text, empty on success.
    QString Open(const QString &name, const Platform::TDbWaits &waits = {}) const;
    /// The PostgreSQL server process of `connection`'s session, 0 when it has none.
    static int BackendPid(const QSqlDatabase &connection);
    /// Ends the PostgreSQL session `pid` from a connection of the test's own, as an
    /// administrator or a server restart does, and waits until the server has let it
    /// go. Returns an error text, empty on success.
    QString EndSession(int pid) const;
    /// The OLE DB connection string the library stores (before Base64).
    QString ConnectionString() const;

private:
    Backend m_backend;
    QString m_folder;
};

/// Runs the statements of an SQL file (separated by ';' at line ends; "--" comments).
QString ApplySqlFile(const QString &connectionName, const QString &path);

/// Lays out a program folder as the login program leaves it for the user 1001 (홍길동,
/// 영업1부, 서울지점): a seeded SQLite database and a gp.ini that points at it and names the
/// user. Returns an error text, empty on success.
QString PrepareLoggedInFolder(const QString &folder);
