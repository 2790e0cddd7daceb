#include "testdatabase.h"

#include "common/base64.h"
#include "common/gplib.h"
#include "testsupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>

namespace {

const QString SetupConnection = QStringLiteral("tovel-test-setup");

QString SqlDir()
{
    return Env("TOVEL_SQL_DIR");
}

QStringList Statements(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(QLatin1String("--")))
            lines << line;
    }
    QStringList statements;
    for (const QString &part : lines.join(QLatin1Char('\n')).split(QLatin1Char(';'))) {
        if (!part.trimmed().isEmpty())
            statements << part.trimmed();
    }
    return statements;
}

QString Run(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return sql + QStringLiteral(": ") + query.lastError().text();
    return {};
}

} // namespace

QString ApplySqlFile(const QString &connectionName, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + path;
    QSqlDatabase db = QSqlDatabase::database(connectionName);
    for (const QString &statement : Statements(QString::fromUtf8(file.readAll()))) {
        const QString error = Run(db, statement);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

TestDatabase::TestDatabase(Backend backend, QString folder)
    : m_backend(backend)
    , m_folder(std::move(folder))
{
}

QString TestDatabase::BackendName(Backend backend)
{
    return backend == Backend::SQLite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL");
}

bool TestDatabase::Available() const
{
    return m_backend == Backend::SQLite || !Env("TOVEL_PG_PORT").isEmpty();
}

QString TestDatabase::ConnectionString() const
{
    if (m_backend == Backend::SQLite)
        return QStringLiteral("Provider=SQLite;Data Source=tovel.db");
    return QStringLiteral("Provider=PostgreSQL;Data Source=%1:%2/%3;User ID=%4;Password=%5;Persist Security Info=True")
        .arg(Env("TOVEL_PG_HOST"), Env("TOVEL_PG_PORT"), Env("TOVEL_PG_DB"), Env("TOVEL_PG_USER"),
             Env("TOVEL_PG_PASSWORD"));
}

QString TestDatabase::Open(const QString &name, const Platform::TDbWaits &waits) const
{
    QString error;
    if (!Platform::SetUpDatabase(name, Platform::ParseOleDbString(ConnectionString()), m_folder, &error, waits))
        return error;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    return db.open() ? QString() : db.lastError().text();
}

int TestDatabase::BackendPid(const QSqlDatabase &connection)
{
    QSqlQuery query(connection);
    return query.exec(QStringLiteral("SELECT pg_backend_pid()")) && query.next() ? query.value(0).toInt() : 0;
}

QString TestDatabase::EndSession(int pid) const
{
    const QString name = QStringLiteral("tovel-test-admin");
    QString error = Open(name);
    if (error.isEmpty()) {
        QSqlQuery query(QSqlDatabase::database(name));
        if (!query.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid)))
            error = query.lastError().text();
        // The server lets the process go a moment later; wait for exactly that.
        QDeadlineTimer deadline(30000);
        while (error.isEmpty()) {
            if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = %1").arg(pid))
                || !query.next())
                error = query.lastError().text();
            else if (query.value(0).toInt() == 0)
                break;
            else if (deadline.hasExpired())
                error = QStringLiteral("the session %1 did not end").arg(pid);
            else
                QThread::msleep(5);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

QString TestDatabase::Reset(const QStringList &extraSql) const
{
    QString error;
    if (m_backend == Backend::SQLite) {
        // An empty file is an empty database.
        QFile file(QDir(m_folder).filePath(QStringLiteral("tovel.db")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("cannot write ") + file.fileName();
    }
    error = Open(SetupConnection);
    if (error.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::database(SetupConnection);
        for (const char *table : {"SAASABUT", "SAAORGAT", "SCMUSERT", "SCMGROGT", "SCMPROGT", "SAJ202T"})
            QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS ") + QString::fromLatin1(table));
        error = ApplySqlFile(SetupConnection, SqlDir() + QStringLiteral("/schema.sql"));
        if (error.isEmpty())
            error = ApplySqlFile(SetupConnection, SqlDir() + QStringLiteral("/seed.sql"));
        for (const QString &sql : extraSql) {
            if (error.isEmpty())
                error = Run(db, sql);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(SetupConnection);
    return error;
}

QString TestDatabase::SeedSales(int rows) const
{
    QFile file(SqlDir() + QStringLiteral("/sales.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read sales.sql");
    const QStringList statements = Statements(QString::fromUtf8(file.readAll()));
    if (statements.size() != 1)
        return QStringLiteral("sales.sql holds %1 statements, not one").arg(statements.size());
    QString error = Open(SetupConnection);
    if (error.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::database(SetupConnection);
        // The demo's row count is the statement's one literal 100000.
        error = Run(db, QString(statements.front()).replace(QStringLiteral("100000"), QString::number(rows)));
        db.close();
    }
    QSqlDatabase::removeDatabase(SetupConnection);
    return error;
}

QString PrepareLoggedInFolder(const QString &folder)
{
    const TestDatabase db(TestDatabase::Backend::SQLite, folder);
    if (const QString error = db.Reset(); !error.isEmpty())
        return error;
    const QString ini = QDir(folder).filePath(QStringLiteral("gp.ini"));
    if (!GpLib::WriteConnString(EncodeBase64Text(db.ConnectionString()), ini)
        || !GpLib::WriteUserKeys({QStringLiteral("1001"), QStringLiteral("홍길동"), QStringLiteral("01"),
                                  QStringLiteral("10"), QStringLiteral("영업1부"), QStringLiteral("서울지점")},
                                 ini))
        return QStringLiteral("gp.ini could not be written in ") + folder;
    return {};
}
