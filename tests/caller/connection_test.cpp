#include "callerlibrary.h"

#include "platform/inifile.h"

#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTcpServer>

namespace {

const QString NoDatabaseBox = QStringLiteral("사용자정보|데이타베이스 서버 접속 오류 !!!|error");

QString Unreachable(TestDatabase::Backend backend)
{
    if (backend == TestDatabase::Backend::SQLite)
        return QStringLiteral("Provider=SQLite;Data Source=missing.db");
    return QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:1/tovel;User ID=x;Password=y");
}

const void *NativeHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    return handle.isValid() ? *static_cast<void *const *>(handle.constData()) : nullptr;
}

} // namespace

using TConnection = CallerTest;

TEST_P(TConnection, UnreachableDatabaseShowsTheConnectionMessageOnceAndAnswersNine)
{
    StoreConnectionString(Unreachable(GetParam()));
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '9');
    ASSERT_EQ(m_boxes->Calls().size(), 2u) << m_boxes->Summary().toStdString();
    const Platform::TMessageBoxCall &first = m_boxes->Calls()[0];
    EXPECT_EQ(first.Caption, QStringLiteral("FAX전송"));
    EXPECT_EQ(first.Icon, Platform::TMsgIcon::Information);
    const QString head = QStringLiteral("DB에 접속할 수 없습니다.\n") + QString(50, QLatin1Char('-')) + QLatin1Char('\n');
    EXPECT_TRUE(first.Text.startsWith(head)) << first.Text.toStdString();
    EXPECT_GT(first.Text.size(), head.size()) << "the driver's reason follows the line";
    EXPECT_EQ(m_boxes->Summary().section(QLatin1Char('\n'), -1), NoDatabaseBox);
}

TEST_P(TConnection, ConnectTwiceHandsOutTheSameOpenConnection)
{
    LoadedCaller caller;
    QSqlDatabase first;
    QSqlDatabase second;
    caller.DbConnect()(&first);
    caller.DbConnect()(&second);
    ASSERT_TRUE(first.isValid());
    EXPECT_TRUE(first.isOpen());
    EXPECT_TRUE(second.isOpen());
    EXPECT_EQ(first.connectionName(), second.connectionName());
    EXPECT_NE(NativeHandle(first), nullptr);
    EXPECT_EQ(NativeHandle(first), NativeHandle(second)) << "one connection, opened once";
    EXPECT_EQ(m_boxes->Summary(), QString());
}

TEST_P(TConnection, FirstConnectToAnUnreachableDatabaseGivesNothing)
{
    StoreConnectionString(Unreachable(GetParam()));
    LoadedCaller caller;
    QSqlDatabase connection = QSqlDatabase::database(QStringLiteral("not-there"), false);
    caller.DbConnect()(&connection);
    EXPECT_FALSE(connection.isValid());
    EXPECT_EQ(m_boxes->Calls().size(), 1u);
    EXPECT_EQ(m_boxes->Calls()[0].Caption, QStringLiteral("FAX전송"));
}

TEST_P(TConnection, MalformedConnStringIsReportedAndLeavesNoConnection)
{
    StoreConnString(QStringLiteral("UHJvdmlkZXI9U1FMaXR")); // 19 characters
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '9');
    EXPECT_EQ(m_boxes->Calls().size(), 2u);
    EXPECT_EQ(m_boxes->Calls()[0].Text, QStringLiteral("Base64: Incorrect string format"));
    EXPECT_EQ(m_boxes->Calls()[0].Icon, Platform::TMsgIcon::Error);
    EXPECT_EQ(m_boxes->Summary().section(QLatin1Char('\n'), -1), NoDatabaseBox);

    m_boxes->Clear();
    LoadedCaller caller;
    QSqlDatabase connection;
    caller.DbConnect()(&connection);
    EXPECT_FALSE(connection.isValid());
    ASSERT_EQ(m_boxes->Calls().size(), 1u) << "only the decoding error, no connection attempt";
    EXPECT_EQ(m_boxes->Calls()[0].Text, QStringLiteral("Base64: Incorrect string format"));
}

TEST_P(TConnection, EmptyConnStringFallsBackToTheBuiltInOracleString)
{
    StoreConnString(QString());
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '9');
    ASSERT_EQ(m_boxes->Calls().size(), 2u);
    EXPECT_EQ(m_boxes->Calls()[0].Caption, QStringLiteral("FAX전송"));
    // Without an Oracle client here, the Oracle provider goes through ODBC (or OCI).
    EXPECT_TRUE(m_boxes->Calls()[0].Text.contains(QLatin1String("ODBC"))
                || m_boxes->Calls()[0].Text.contains(QLatin1String("OCI"))
                || m_boxes->Calls()[0].Text.contains(QLatin1String("MSDAORA")))
        << "the default string reached the Oracle provider: " << m_boxes->Calls()[0].Text.toStdString();
}

TEST_P(TConnection, AMalformedWaitInGpIniIsNamedAndTheDefaultHolds)
{
    TIniFile(IniPath()).WriteString(QStringLiteral("DBCONNECTION"), QStringLiteral("CONNECT_TIMEOUT"),
                                    QStringLiteral("soon"));
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '0');
    ASSERT_EQ(m_boxes->Calls().size(), 1u) << m_boxes->Summary().toStdString();
    EXPECT_EQ(m_boxes->Calls()[0].Text,
              QStringLiteral("gp.ini [DBCONNECTION] CONNECT_TIMEOUT=soon: 1에서 3600 사이의 초 수가 아니므로 5초로 합니다."));
    EXPECT_EQ(m_boxes->Calls()[0].Icon, Platform::TMsgIcon::Warning);
}

TOVEL_INSTANTIATE_BACKENDS(TConnection);

// The PostgreSQL server of the test run, as the library reaches it across a network.
class TServerConnection : public CallerTest
{
};

TEST_P(TServerConnection, ASessionTheServerEndedIsOpenedAgainForTheMenuAndForEveryCopy)
{
    LoadedCaller caller;
    QSqlDatabase moduleCopy;
    caller.DbConnect()(&moduleCopy);
    ASSERT_TRUE(moduleCopy.isOpen());
    const int before = TestDatabase::BackendPid(moduleCopy);
    ASSERT_GT(before, 0);
    ASSERT_EQ(m_db->EndSession(before), QString());

    TMenuResult result{};
    TMenuInfos rows;
    caller.GetUserMenu()(&result, "1001", &rows);
    EXPECT_EQ(result.Code, '1') << result.Msg;
    EXPECT_FALSE(rows.empty());
    // The module's copy shares the new session; nothing was handed out again.
    const int after = TestDatabase::BackendPid(moduleCopy);
    EXPECT_GT(after, 0);
    EXPECT_NE(after, before);
    EXPECT_EQ(m_boxes->Summary(), QString());
}

TEST_P(TServerConnection, AServerThatDoesNotAnswerIsGivenUpWithinTheConfiguredTime)
{
    // Takes the connection and then says nothing, as a server behind a dead route does.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    StoreConnectionString(QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:%1/tovel;User ID=x;Password=y")
                              .arg(silent.serverPort()));
    TIniFile(IniPath()).WriteString(QStringLiteral("DBCONNECTION"), QStringLiteral("CONNECT_TIMEOUT"), QStringLiteral("2"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '9');
    EXPECT_LT(timer.elapsed(), 8000) << "the login came back within its bound";
    ASSERT_EQ(m_boxes->Calls().size(), 2u) << m_boxes->Summary().toStdString();
    EXPECT_TRUE(m_boxes->Calls()[0].Text.contains(QLatin1String("timeout"), Qt::CaseInsensitive))
        << m_boxes->Calls()[0].Text.toStdString();
    EXPECT_EQ(m_boxes->Summary().section(QLatin1Char('\n'), -1), NoDatabaseBox);
}

INSTANTIATE_TEST_SUITE_P(Databases, TServerConnection, ::testing::Values(TestDatabase::Backend::PostgreSQL),
                         [](const auto &info) { return BackendTestName(info).toStdString(); });
