#include "common/base64.h"
#include "common/gplib.h"
#include "main/mainflow.h"
#include "main/tovelmain.h"
#include "platform/namedmutex.h"
#include "sharemem.h"
#include "testdatabase.h"
#include "testsupport.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString MenuItems(QMenuBar *bar, const char *name)
{
    QStringList items;
    QMenu *menu = bar->findChild<QMenu *>(QString::fromLatin1(name));
    for (const QAction *item : menu->actions()) {
        if (item->isSeparator())
            items << QStringLiteral("-");
        else
            items << item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
    }
    return items.join(QLatin1Char('|'));
}

// Receives the addresses the window asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

} // namespace

// One program folder and database for the whole suite: the caller library keeps its
// connection for the life of the process, as it does in the main program.
class MainWindowTest : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_folder = new QTemporaryDir;
        qputenv("TOVEL_PROGRAM_DIR", QFile::encodeName(s_folder->path()));
        const TestDatabase db(TestDatabase::Backend::SQLite, s_folder->path());
        ASSERT_EQ(db.Reset(), QString());
        ASSERT_TRUE(GpLib::WriteConnString(EncodeBase64Text(db.ConnectionString())));
    }

    static void TearDownTestSuite()
    {
        delete s_folder;
        s_folder = nullptr;
    }

protected:
    void SetUser(const char *id, const QString &name, const char *sect, const QString &sectName)
    {
        ASSERT_TRUE(GpLib::WriteUserKeys({QString::fromLatin1(id), name, QString::fromLatin1(sect), QStringLiteral("10"),
                                          sectName, QStringLiteral("서울지점")}));
    }

    void Show()
    {
        m_window = std::make_unique<TfrmMain>();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QAction *Item(const char *name) const { return m_window->menuBar()->findChild<QAction *>(QString::fromLatin1(name)); }

    static QTemporaryDir *s_folder;
    MessageBoxRecorder m_boxes;
    std::unique_ptr<TfrmMain> m_window;
};

QTemporaryDir *MainWindowTest::s_folder = nullptr;

TEST_F(MainWindowTest, FirstShowPutsTheUserInTheStatusBarAndBuildsTheUsersMenu)
{
    SetUser("1001", QStringLiteral("홍길동"), "01", QStringLiteral("영업1부"));
    const int initialised = smInitCount();
    Show();
    EXPECT_EQ(smInitCount(), initialised + 1);
    EXPECT_EQ(m_boxes.Summary(), QString());
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("㈜Tovel 영업정산"));
    EXPECT_EQ(m_window->findChild<QLabel *>(QStringLiteral("Panel1"))->text(),
              QStringLiteral("[영업1부 서울지점 홍길동(1001)]"));
    EXPECT_TRUE(m_window->Connection().isOpen());

    QMenuBar *bar = m_window->menuBar();
    EXPECT_EQ(MenuItems(bar, "SYS_AA"), QStringLiteral("1 공제요율등록\t(SA30E)|2 사원등록\t(SA01E)|3 부서등록\t(SA02E)|-|"
                                                       "4 사원명부출력\t(SA09P)"));
    EXPECT_EQ(MenuItems(bar, "SYS_J2"), QStringLiteral("1 일일판매입력\t(J260E)|2 출하입력\t(J280E)|-|3 일일판매현황\t(J202P)|"
                                                       "4 출하현황\t(J204P)|5 기간별판매현황\t(J216P)"));
    EXPECT_EQ(MenuItems(bar, "N2"), QStringLiteral("1 정산서입력\t(J900E)|-|2 정산서출력\t(J290P)"));
    EXPECT_EQ(MenuItems(bar, "SYS_J3"), QStringLiteral("1 보조장부입력\t(J311E)|2 보조업무 세부 내역서 작성 및 조\t(J312E)|"
                                                       "3 신규보조업무\t(J399E) (disabled)"));
    EXPECT_EQ(MenuItems(bar, "SYS_J5"), QString());
    EXPECT_EQ(MenuItems(bar, "N3"), QStringLiteral("자주사용하는메뉴설정|-|원격지원"));
    EXPECT_EQ(MenuItems(bar, "SYS_CLOSE"), QStringLiteral("종료"));

    // Pictures to look at: the window, and the daily-work menu opened over it.
    m_window->grab().save(QDir::currentPath() + QStringLiteral("/main_window.png"));
    QMenu *daily = bar->findChild<QMenu *>(QStringLiteral("SYS_J2"));
    daily->popup(m_window->mapToGlobal(QPoint(90, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(daily));
    daily->grab().save(QDir::currentPath() + QStringLiteral("/main_menu_daily.png"));
    daily->hide();
}

TEST_F(MainWindowTest, ChoosingAProgramGivesItsIdAndName)
{
    SetUser("1001", QStringLiteral("홍길동"), "01", QStringLiteral("영업1부"));
    Show();
    QSignalSpy chosen(m_window.get(), &TfrmMain::ProgramChosen);
    Item("NJ260E")->trigger();
    Item("NJ900E")->trigger();
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen[0][0].toString() + QLatin1Char('|') + chosen[0][1].toString(), QStringLiteral("J260E|일일판매입력"));
    EXPECT_EQ(chosen[1][0].toString() + QLatin1Char('|') + chosen[1][1].toString(), QStringLiteral("J900E|정산서입력"));
}

TEST_F(MainWindowTest, DepartmentNinetyNineOrNoneDisablesJ900EUnlessPrivileged)
{
    const struct {
        const char *id;
        const char *sect;
        bool enabled;
    } cases[] = {{"9901", "99", false}, {"1001", "", false}, {"40710263", "99", true}, {"1001", "02", true}};
    for (const auto &c : cases) {
        SetUser(c.id, QStringLiteral("사원"), c.sect, QStringLiteral("부서"));
        Show();
        EXPECT_EQ(Item("NJ900E")->isEnabled(), c.enabled) << c.id << " / " << c.sect;
    }
}

TEST_F(MainWindowTest, NoPermittedProgramsIsToldUnderTheWindowCaption)
{
    SetUser("1002", QStringLiteral("김영희"), "02", QStringLiteral("영업2부"));
    Show();
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("㈜Tovel 영업정산|관련 메뉴정보가 없습니다.|error"));
    EXPECT_EQ(m_boxes.Calls()[0].Owner, m_window.get());
    EXPECT_EQ(MenuItems(m_window->menuBar(), "SYS_J2"), QString()) << "the designed menu stays";
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(MainWindowTest, CloseAllAsksWhenMoreThanOneChildIsOpen)
{
    SetUser("1001", QStringLiteral("홍길동"), "01", QStringLiteral("영업1부"));
    Show();
    QMdiArea *area = m_window->MdiArea();
    const auto open = [area](const QString &title) {
        QMdiSubWindow *child = area->addSubWindow(new QWidget);
        child->setAttribute(Qt::WA_DeleteOnClose);
        child->setWindowTitle(title);
        child->show();
    };
    open(QStringLiteral("일일판매입력"));
    open(QStringLiteral("출하입력"));

    {
        MessageBoxRecorder answerNo(Platform::mbNo);
        Item("N11")->trigger();
        EXPECT_EQ(answerNo.Summary(), QStringLiteral("㈜Tovel 영업정산|열린창을 모두 닫으시겠습니까?|question"));
        EXPECT_EQ(answerNo.Calls()[0].DefaultButton, Platform::mbNo);
        EXPECT_EQ(area->subWindowList().size(), 2);
    }
    {
        MessageBoxRecorder answerYes(Platform::mbYes);
        Item("N11")->trigger();
        QTRY_COMPARE(area->subWindowList().size(), 0);
    }
    open(QStringLiteral("하나"));
    MessageBoxRecorder none;
    Item("N11")->trigger();
    EXPECT_TRUE(none.Calls().empty()) << "one child closes without asking";
    QTRY_COMPARE(area->subWindowList().size(), 0);
}

TEST_F(MainWindowTest, RemoteSupportOpensTheBuildTimeAddress)
{
    SetUser("1001", QStringLiteral("홍길동"), "01", QStringLiteral("영업1부"));
    Show();
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    Item("N7")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0].toString(), QStringLiteral(TOVEL_REMOTE_SUPPORT_URL));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST(MainStart, TheCommandLineNeedsRunAndOneMoreArgument)
{
    using MainFlow::AcceptsCommandLine;
    EXPECT_TRUE(AcceptsCommandLine({QStringLiteral("run"), QStringLiteral("1001")}));
    EXPECT_TRUE(AcceptsCommandLine({QStringLiteral("RUN"), QString()}));
    EXPECT_FALSE(AcceptsCommandLine({}));
    EXPECT_FALSE(AcceptsCommandLine({QStringLiteral("run")}));
    EXPECT_FALSE(AcceptsCommandLine({QStringLiteral("go"), QStringLiteral("1001")}));
    EXPECT_FALSE(AcceptsCommandLine({QStringLiteral("run"), QStringLiteral("1001"), QStringLiteral("x")}));
}

TEST(MainStart, TheNamedMutexAdmitsOneHolderAtATime)
{
    const QString name = QStringLiteral("TovelMainTest-%1").arg(QCoreApplication::applicationPid());
    auto first = std::make_unique<Platform::TNamedMutex>(name);
    ASSERT_TRUE(first->TryAcquire());
    Platform::TNamedMutex second(name);
    EXPECT_FALSE(second.TryAcquire());
    first.reset();
    EXPECT_TRUE(second.TryAcquire()) << "released when its holder ends";
}

TEST(MainStart, AStaleLockOfAProgramThatDiedIsRecovered)
{
    const QString name = QStringLiteral("TovelMainStale-%1").arg(QCoreApplication::applicationPid());
    Platform::TNamedMutex mutex(name);
    // A lock file naming a process that no longer exists.
    WriteFileBytes(mutex.FileName(), "999999\nTovelMain\n" + QSysInfo::machineHostName().toUtf8() + '\n');
    EXPECT_TRUE(mutex.TryAcquire());
}

#include "tovelmain_test.moc"
