#include "platform/oledb.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QStringList>

namespace Platform {
namespace {

QString Unquote(const QString &value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool IsOracle(const QString &provider)
{
    return provider.compare(QLatin1String("MSDAORA.1"), Qt::CaseInsensitive) == 0
        || provider.compare(QLatin1String("MSDAORA"), Qt::CaseInsensitive) == 0
        || provider.compare(QLatin1String("OraOLEDB.Oracle"), Qt::CaseInsensitive) == 0
        || provider.startsWith(QLatin1String("OraOLEDB.Oracle."), Qt::CaseInsensitive);
}

} // namespace

TOleDbSettings ParseOleDbString(const QString &connectionString)
{
    TOleDbSettings settings;
    for (const QString &part : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = part.left(equals).trimmed();
        const QString value = Unquote(part.mid(equals + 1).trimmed());
        if (name.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0)
            settings.Provider = value;
        else if (name.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            settings.DataSource = value;
        else if (name.compare(QLatin1String("User ID"), Qt::CaseInsensitive) == 0)
            settings.UserId = value;
        else if (name.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0)
            settings.Password = value;
    }
    return settings;
}

QString DriverForProvider(const QString &provider)
{
    if (IsOracle(provider)) {
        if (QSqlDatabase::isDriverAvailable(QStringLiteral("QOCI")))
            return QStringLiteral("QOCI");
        return QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")) ? QStringLiteral("QODBC") : QString();
    }
    const auto available = [](const char *driver) {
        const QString name = QString::fromLatin1(driver);
        return QSqlDatabase::isDriverAvailable(name) ? name : QString();
    };
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        return available("QSQLITE");
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0)
        return available("QPSQL");
    if (provider.compare(QLatin1String("MSDASQL"), Qt::CaseInsensitive) == 0
        || provider.startsWith(QLatin1String("MSDASQL."), Qt::CaseInsensitive))
        return available("QODBC");
    return {};
}

bool SetUpDatabase(const QString &connectionName, const TOleDbSettings &settings, const QString &programFolder,
                   QString *error, const TDbWaits &waits)
{
    const QString driver = DriverForProvider(settings.Provider);
    if (driver.isEmpty()) {
        *error = QStringLiteral("No database driver is installed for the provider \"%1\".").arg(settings.Provider);
        return false;
    }
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName);

    if (driver == QLatin1String("QSQLITE")) {
        const QString file = QDir(programFolder).absoluteFilePath(settings.DataSource);
        // Opening a missing file would quietly create an empty database.
        if (settings.DataSource.isEmpty() || !QFileInfo(file).isFile()) {
            *error = QStringLiteral("The database file \"%1\" does not exist.").arg(file);
            return false;
        }
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(qint64(waits.LockSeconds) * 1000));
        return true;
    }
    if (driver == QLatin1String("QPSQL")) {
        QString host = settings.DataSource;
        QString database;
        const qsizetype slash = host.indexOf(QLatin1Char('/'));
        if (slash >= 0) {
            database = host.mid(slash + 1);
            host = host.left(slash);
        } else {
            database = host;
            host.clear();
        }
        const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
        if (colon >= 0) {
            bool ok = false;
            const int port = host.mid(colon + 1).toInt(&ok);
            if (!ok || port <= 0 || port > 65535) {
                *error = QStringLiteral("The data source \"%1\" has no valid port.").arg(settings.DataSource);
                return false;
            }
            db.setPort(port);
            host = host.left(colon);
        }
        db.setHostName(host.isEmpty() ? QStringLiteral("localhost") : host);
        db.setDatabaseName(database);
        // libpq counts the connect time per address tried; its options reach the server
        // with every (re)connect, so a reopened session waits for locks as long. A route
        // that dies without a word from the server is found by the keepalives and by the
        // bound on unanswered data, not after the system's quarter of an hour.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;options='-c lock_timeout=%2';keepalives=1;"
                                            "keepalives_idle=10;keepalives_interval=5;keepalives_count=3;"
                                            "tcp_user_timeout=%3")
                                 .arg(waits.ConnectSeconds)
                                 .arg(qint64(waits.LockSeconds) * 1000)
                                 .arg(qMax(30, waits.ConnectSeconds) * 1000));
    } else if (driver == QLatin1String("QODBC")) {
        db.setDatabaseName(settings.DataSource); // an ODBC DSN
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(waits.ConnectSeconds));
    } else {
        db.setDatabaseName(settings.DataSource); // an OCI service name
    }
    db.setUserName(settings.UserId);
    db.setPassword(settings.Password);
    return true;
}

} // namespace Platform
