#include "platform/dbhealth.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace Platform {

bool ConnectionAnswers(const QSqlDatabase &db)
{
    if (!db.isValid() || !db.isOpen())
        return false;
    const QString driver = db.driverName();
    QSqlQuery probe(db);
    probe.setForwardOnly(true);
    if (driver == QLatin1String("QOCI"))
        return probe.exec(QStringLiteral("SELECT 1 FROM DUAL"));
    if (probe.exec(QStringLiteral("SELECT 1")))
        return true;
    // An ODBC source may be an Oracle database, which selects only from a table.
    return driver == QLatin1String("QODBC") && probe.exec(QStringLiteral("SELECT 1 FROM DUAL"));
}

bool ReopenConnection(QSqlDatabase &db, QString *reason)
{
    if (!db.isValid()) {
        if (reason)
            *reason = QStringLiteral("No database connection is set up.");
        return false;
    }
    db.close();
    if (db.open())
        return true;
    if (reason)
        *reason = db.lastError().text();
    return false;
}

bool ReviveConnection(QSqlDatabase &db, QString *reason)
{
    return ConnectionAnswers(db) || ReopenConnection(db, reason);
}

} // namespace Platform
