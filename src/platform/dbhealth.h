#pragma once

#include "platform/platformexport.h"

#include <QString>

class QSqlDatabase;

namespace Platform {

/// Whether `db` still reaches its server: it is open and a trivial statement answers.
/// A session the server ended, a server that restarted or a network that dropped all
/// leave the connection open on this side; only a statement finds out.
TOVEL_PLATFORM_EXPORT bool ConnectionAnswers(const QSqlDatabase &db);

/// Opens `db` again with the settings it was opened with. Every copy of the connection
/// (the modules hold copies) uses the new session from then on. False with the driver's
/// reason when the server cannot be reached.
TOVEL_PLATFORM_EXPORT bool ReopenConnection(QSqlDatabase &db, QString *reason);

/// Makes sure `db` can run statements: when it does not answer it is opened again, once.
/// Cheap when the connection is fine (one trivial statement), so it goes before every
/// unit of work that must not start on a dead session, such as a save's transaction.
TOVEL_PLATFORM_EXPORT bool ReviveConnection(QSqlDatabase &db, QString *reason);

/// Runs `attempt`, a unit of work that may be repeated as a whole (a query, or a
/// transaction that rolled back), and when it failed because the connection was lost,
/// opens the connection again and runs it once more. A failure of a connection that
/// still answers is the statement's own and is not repeated. When the connection could
/// not be opened again, `reopenFailure` gets the driver's reason (else it is cleared).
template <class Attempt>
bool RunReconnectingOnce(QSqlDatabase &db, Attempt &&attempt, QString *reopenFailure = nullptr)
{
    if (reopenFailure)
        reopenFailure->clear();
    if (attempt())
        return true;
    if (ConnectionAnswers(db))
        return false;
    if (!ReopenConnection(db, reopenFailure))
        return false;
    return attempt();
}

} // namespace Platform
