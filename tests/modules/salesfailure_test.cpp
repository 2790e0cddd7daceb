// The sales screen while the database fails under it: a session the server ends in the
// middle of a save or while the screen is idle, a row or a database another session
// holds locked, the whole server stopped and started again. Each case compares the
// table and the grid as one string: nothing lost, nothing written twice.

#include "salesfixture.h"

#include "grid/uxutils.h"
#include "platform/dbhealth.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSqlError>
#include <QThread>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

const QString LockConnection = QStringLiteral("j202p-lock");

// One row's values as the table keeps them: numbers whole, the date as YYYYMMDD.
QString CellText(const TwMemPool &pool, int row)
{
    if (pool.GetNull(row))
        return {};
    switch (pool.DataType()) {
    case wdtLong:
        return QString::number(pool.GetLong(row));
    case wdtFloat:
        return QString::number(std::llround(pool.GetFloat(row)));
    case wdtDate:
        return QString::number(TXDateToInt(pool.GetDateTime(row)));
    default:
        return pool.GetString(row);
    }
}

QString TableText()
{
    QSqlDatabase check = QSqlDatabase::database(CheckConnection);
    QString reason;
    if (!Platform::ReviveConnection(check, &reason))
        return QStringLiteral("<no connection: %1>").arg(reason);
    QSqlQuery query(check);
    if (!query.exec(QStringLiteral("SELECT SALE_NO, SALE_DT, CUST_CD, CUST_NM, ITEM_NM, QTY, PRICE, AMOUNT, REMARK "
                                   "FROM SAJ202T ORDER BY SALE_NO")))
        return QStringLiteral("<error: %1>").arg(query.lastError().text());
    QString text;
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < ColumnCount; ++i) {
            const QVariant value = query.value(i);
            const bool number = i == SaleNo || i == Quantity || i == Price || i == Amount;
            cells << (value.isNull() ? QString() : number ? QString::number(std::llround(value.toDouble())) : value.toString());
        }
        text += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

class SalesFailureTest : public SalesScreenTest
{
protected:
    Platform::TDbWaits Waits() const override { return {2, LockSeconds()}; }
    virtual int LockSeconds() const { return 10; }

    void TearDown() override
    {
        QSqlDatabase::removeDatabase(LockConnection);
        SalesScreenTest::TearDown();
    }

    // The rows the grid shows, as the table would hold them after a save.
    QString GridText() const
    {
        QString text;
        for (int row = 0; row < m_grid->GetRowCount(); ++row) {
            QStringList cells;
            for (int i = 0; i < ColumnCount; ++i)
                cells << CellText(m_grid->GetMemColumn(i)->Pool(), row);
            text += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
        return text;
    }

    // Every row's values and state: what a failed attempt must leave as it was.
    QString GridState() const { return GridText() + States(); }

    // Sale 1 edited, sale 3 deleted, a new sale after the last row: a save deletes, then
    // updates, then inserts.
    void MakeEdits()
    {
        Type(0, Quantity, QStringLiteral("9"));
        m_grid->SetCurRow(2);
        QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
        TypeNewSale();
        if (m_grid->GridMode() != wgmBrowse)
            m_grid->Post();
        ASSERT_EQ(States().left(4) + States().mid(299), QStringLiteral("1030") + QStringLiteral("02"));
        m_boxes.Clear();
    }

    // Another session locks sale `number` (PostgreSQL) until it rolls back.
    void LockSale(int number)
    {
        ASSERT_EQ(m_db->Open(LockConnection), QString());
        QSqlDatabase lock = QSqlDatabase::database(LockConnection);
        ASSERT_TRUE(lock.transaction());
        QSqlQuery query(lock);
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT SALE_NO FROM SAJ202T WHERE SALE_NO = %1 FOR UPDATE").arg(number)));
    }

    void ReleaseLock() { QSqlDatabase::database(LockConnection).rollback(); }

    // The one message box of a failed save.
    QString SaveFailure() const
    {
        return m_boxes.Calls().size() == 1 ? m_boxes.Calls()[0].Text : m_boxes.Summary();
    }

    // After a failed save, the second one writes everything once.
    void ExpectTheNextSaveWritesEverythingOnce()
    {
        m_boxes.Clear();
        ASSERT_TRUE(m_screen->Save()) << m_boxes.Summary().toStdString();
        EXPECT_EQ(States(), QString(300, QLatin1Char('0')));
        EXPECT_EQ(TableText(), GridText());
        EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM SAJ202T")), QStringLiteral("300"));
        EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM SAJ202T WHERE CUST_NM = '한결상회'")), QStringLiteral("1"));
    }
};

class SalesServerTest : public SalesFailureTest
{
};

TEST_P(SalesServerTest, TheSessionEndedBetweenTwoStatementsOfASaveLosesNothing)
{
    MakeEdits();
    const QString grid = GridState();
    const QString table = TableText();
    const int pid = TestDatabase::BackendPid(QSqlDatabase::database(ScreenConnection));
    ASSERT_GT(pid, 0);
    // The delete of sale 3 runs, the update of sale 1 waits for the lock: then the server
    // ends the screen's session.
    LockSale(1);
    std::atomic<bool> ended{false};
    std::thread administrator([this, pid, &ended] {
        const QString name = QStringLiteral("j202p-administrator");
        if (m_db->Open(name).isEmpty()) {
            QSqlQuery query(QSqlDatabase::database(name));
            QDeadlineTimer deadline(60000);
            while (!deadline.hasExpired()) {
                if (query.exec(QStringLiteral("SELECT wait_event_type FROM pg_stat_activity WHERE pid = %1").arg(pid))
                    && query.next() && query.value(0).toString() == QLatin1String("Lock"))
                    break;
                QThread::msleep(5);
            }
            query.finish();
        }
        QSqlDatabase::removeDatabase(name);
        ended = m_db->EndSession(pid).isEmpty();
    });
    EXPECT_FALSE(m_screen->Save());
    administrator.join();
    ASSERT_TRUE(ended);
    ReleaseLock();
    EXPECT_TRUE(SaveFailure().contains(QStringLiteral("1번째 행 (판매번호 1)"))) << SaveFailure().toStdString();
    EXPECT_TRUE(SaveFailure().contains(QLatin1String("terminating connection"))) << "ended, not timed out";
    EXPECT_EQ(GridState(), grid);
    EXPECT_EQ(TableText(), table) << "the delete that ran first was rolled back";
    ExpectTheNextSaveWritesEverythingOnce();
}

TEST_P(SalesServerTest, ASessionEndedWhileTheScreenWasIdleIsOpenedAgainForTheNextSaveAndLoad)
{
    Type(5, Remark, QStringLiteral("첫 저장"));
    ASSERT_TRUE(m_screen->Save());
    ASSERT_EQ(m_db->EndSession(TestDatabase::BackendPid(QSqlDatabase::database(ScreenConnection))), QString());
    MakeEdits();
    ExpectTheNextSaveWritesEverythingOnce();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT REMARK FROM SAJ202T WHERE SALE_NO = 6")), QStringLiteral("첫 저장"));

    ASSERT_EQ(m_db->EndSession(TestDatabase::BackendPid(QSqlDatabase::database(ScreenConnection))), QString());
    const QString grid = GridText();
    EXPECT_TRUE(m_screen->Query()) << m_screen->Status().toStdString();
    EXPECT_EQ(GridText(), grid);
}

TEST_P(SalesServerTest, TheWholeServerStoppedAndStartedUnderTheScreen)
{
    const QString control = Env("TOVEL_PG_CTL");
    if (control.isEmpty())
        GTEST_SKIP() << "the test run's server cannot be stopped from here";
    const QString loaded = GridState();
    // The run's other tests need the server: it is started again however this test ends.
    struct TRestart
    {
        QString Control;
        bool Stopped = false;
        ~TRestart()
        {
            if (Stopped)
                QProcess::execute(Control, {QStringLiteral("start")});
        }
    } restart{control};
    ASSERT_EQ(QProcess::execute(control, {QStringLiteral("stop")}), 0);
    restart.Stopped = true;
    // A load while the server is down keeps the rows on screen.
    EXPECT_FALSE(m_screen->Query());
    EXPECT_TRUE(m_screen->Status().startsWith(QStringLiteral("조회하지 못했습니다: "))) << m_screen->Status().toStdString();
    EXPECT_TRUE(m_screen->Status().contains(QLatin1String("Connection refused"))) << "the reason is the server's absence";
    EXPECT_EQ(GridState(), loaded);

    MakeEdits();
    const QString grid = GridState();
    EXPECT_FALSE(m_screen->Save());
    EXPECT_TRUE(SaveFailure().startsWith(QStringLiteral("저장하지 못했습니다. 변경한 내용은 화면에 그대로 있습니다.\n\n")))
        << SaveFailure().toStdString();
    EXPECT_GT(SaveFailure().size(), 40) << "the driver's reason follows";
    EXPECT_EQ(GridState(), grid);

    ASSERT_EQ(QProcess::execute(control, {QStringLiteral("start")}), 0);
    restart.Stopped = false;
    ExpectTheNextSaveWritesEverythingOnce();
}

TEST_P(SalesServerTest, ARowTheTableRefusesIsNamedWithTheColumnTheDatabaseNames)
{
    QSqlQuery check(QSqlDatabase::database(CheckConnection));
    ASSERT_TRUE(check.exec(QStringLiteral("UPDATE SAJ202T SET REMARK = '-' WHERE REMARK IS NULL")));
    ASSERT_TRUE(check.exec(QStringLiteral("ALTER TABLE SAJ202T ALTER COLUMN REMARK SET NOT NULL")));
    // The screen still shows sale 1 without a remark; its edit is refused first.
    MakeEdits();
    const QString grid = GridState();
    EXPECT_FALSE(m_screen->Save());
    EXPECT_TRUE(SaveFailure().contains(QStringLiteral("\n\n1번째 행 (판매번호 1) [비고]: "))) << SaveFailure().toStdString();
    EXPECT_EQ(GridState(), grid);
}

INSTANTIATE_TEST_SUITE_P(Backends, SalesServerTest, ::testing::Values(TestDatabase::Backend::PostgreSQL),
                         [](const auto &info) { return TestDatabase::BackendName(info.param).toStdString(); });

// A lock another session holds: the save waits its bounded time, fails, and loses nothing.
class SalesLockTest : public SalesFailureTest
{
protected:
    int LockSeconds() const override { return 1; }

    // SQLite: another process takes the whole database.
    void LockDatabase()
    {
        m_holder.setProgram(QStringLiteral("python3"));
        m_holder.setArguments({QStringLiteral("-c"),
                               QStringLiteral("import sqlite3, sys\n"
                                              "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                              "c.execute('BEGIN EXCLUSIVE')\n"
                                              "print('locked', flush=True)\n"
                                              "sys.stdin.read()\n"),
                               QDir(m_folder.path()).filePath(QStringLiteral("tovel.db"))});
        m_holder.start();
        ASSERT_TRUE(m_holder.waitForStarted());
        while (!m_holder.canReadLine())
            ASSERT_TRUE(m_holder.waitForReadyRead(30000)) << m_holder.readAllStandardError().toStdString();
        ASSERT_EQ(m_holder.readLine().trimmed(), QByteArray("locked"));
    }

    void ReleaseDatabase()
    {
        m_holder.closeWriteChannel();
        ASSERT_TRUE(m_holder.waitForFinished(30000));
        EXPECT_EQ(m_holder.exitCode(), 0);
    }

    QProcess m_holder;
};

TEST_P(SalesLockTest, ALockHeldElsewhereEndsTheSaveAfterItsTimeAndLosesNothing)
{
    MakeEdits();
    const QString grid = GridState();
    const QString table = TableText();
    const bool sqlite = GetParam() == TestDatabase::Backend::SQLite;
    if (sqlite)
        LockDatabase();
    else
        LockSale(1);
    EXPECT_FALSE(m_screen->Save());
    EXPECT_TRUE(SaveFailure().contains(QLatin1String(sqlite ? "database is locked" : "lock timeout")))
        << SaveFailure().toStdString();
    EXPECT_EQ(GridState(), grid);
    if (sqlite)
        ReleaseDatabase();
    else
        ReleaseLock();
    EXPECT_EQ(TableText(), table);
    ExpectTheNextSaveWritesEverythingOnce();
}

INSTANTIATE_TEST_SUITE_P(Backends, SalesLockTest,
                         ::testing::Values(TestDatabase::Backend::SQLite, TestDatabase::Backend::PostgreSQL),
                         [](const auto &info) { return TestDatabase::BackendName(info.param).toStdString(); });
