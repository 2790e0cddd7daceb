#include "platform/oledb.h"

#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Platform;

TEST(OleDb, ParsesNamesCaseInsensitivelyWithQuotedValues)
{
    const TOleDbSettings s = ParseOleDbString(QStringLiteral(
        "provider=MSDAORA.1;Password=\"p;w\";USER ID=scott ;Data Source=orcl;Persist Security Info=True"));
    EXPECT_EQ(s.Provider, QStringLiteral("MSDAORA.1"));
    EXPECT_EQ(s.UserId, QStringLiteral("scott"));
    EXPECT_EQ(s.DataSource, QStringLiteral("orcl"));
    // A ';' inside quotes is not supported by the stored strings; the part before it is kept.
    EXPECT_EQ(s.Password, QStringLiteral("\"p"));
}

TEST(OleDb, ProvidersMapOntoInstalledDrivers)
{
    EXPECT_EQ(DriverForProvider(QStringLiteral("SQLite")), QStringLiteral("QSQLITE"));
    EXPECT_EQ(DriverForProvider(QStringLiteral("PostgreSQL")), QStringLiteral("QPSQL"));
    EXPECT_EQ(DriverForProvider(QStringLiteral("MSDASQL")), QStringLiteral("QODBC"));
    const QString oracle = DriverForProvider(QStringLiteral("OraOLEDB.Oracle"));
    EXPECT_TRUE(oracle == QLatin1String("QOCI") || oracle == QLatin1String("QODBC"));
    EXPECT_EQ(DriverForProvider(QStringLiteral("Microsoft.Jet.OLEDB.4.0")), QString());
    EXPECT_EQ(DriverForProvider(QString()), QString());
}

TEST(OleDb, SetUpRefusesUnknownProvidersMissingFilesAndBadPorts)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(SetUpDatabase(QStringLiteral("t1"), {QStringLiteral("Nope"), {}, {}, {}}, dir.path(), &error));
    EXPECT_TRUE(error.contains(QLatin1String("Nope")));
    EXPECT_FALSE(SetUpDatabase(QStringLiteral("t2"), {QStringLiteral("SQLite"), QStringLiteral("x.db"), {}, {}},
                               dir.path(), &error));
    EXPECT_TRUE(error.contains(QLatin1String("x.db")));
    EXPECT_FALSE(SetUpDatabase(QStringLiteral("t3"), {QStringLiteral("PostgreSQL"), QStringLiteral("h:99999/db"), {}, {}},
                               dir.path(), &error));
    ASSERT_TRUE(SetUpDatabase(QStringLiteral("t4"), {QStringLiteral("PostgreSQL"), QStringLiteral("db.example:6543/sales"),
                                                     QStringLiteral("u"), QStringLiteral("p")},
                              dir.path(), &error));
    const QSqlDatabase db = QSqlDatabase::database(QStringLiteral("t4"), false);
    EXPECT_EQ(db.hostName(), QStringLiteral("db.example"));
    EXPECT_EQ(db.port(), 6543);
    EXPECT_EQ(db.databaseName(), QStringLiteral("sales"));
}
