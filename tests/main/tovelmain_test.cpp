#include "caller/ZULCaller.h"
#include "common/base64.h"
#include "common/gplib.h"
#include "main/favouritefile.h"
#include "main/mainflow.h"
#include "main/menubuilder.h"
#include "main/ufavourite.h"
#include "main/tovelmain.h"
#include "platform/cp949.h"
#include "platform/namedmutex.h"
#include "sharemem.h"
#include "testdatabase.h"
#include "testsupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>

namespace {

QString MenuItems(QMenuBar *bar, const char *name)
{
    QStringList items;
    for (const QAction *item : bar->findChild<QMenu *>(QString::fromLatin1(name))->actions())
        items << (item->isSeparator() ? QStringLiteral("-")
                                      : item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (disabled)")));
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

// Whether a library file named `fileName` is mapped into this process.
bool Mapped(const QString &fileName)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly)
           && QString::fromLocal8Bit(maps.readAll()).contains(QLatin1Char('/') + fileName + QLatin1Char('\n'));
}

// What the sample modules noted of their calls since the last look.
QStringList TakeModuleCalls()
{
    const QStringList calls = qApp->property("TovelSampleModuleCalls").toStringList();
    qApp->setProperty("TovelSampleModuleCalls", QStringList());
    return calls;
}

QStringList ChildNames(QMdiArea *area)
{
    QStringList names;
    for (const QMdiSubWindow *child : area->subWindowList())
        names << child->objectName();
    return names;
}

// Closes the modal window a module opens inside its call, once it shows.
void CloseModalWhenShown()
{
    QTimer::singleShot(0, [] {
        ASSERT_SOON(QApplication::activeModalWidget() != nullptr);
        QApplication::activeModalWidget()->close();
    });
}

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
        // The sample modules, installed beside the programs as on a workstation.
        const QDir built(qEnvironmentVariable("TOVEL_PROGRAM_BIN"));
        for (const QString &module : built.entryList({QStringLiteral("J*.so"), QStringLiteral("S*.so")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(built.filePath(module), s_folder->filePath(module))) << module.toStdString();
    }

    static void TearDownTestSuite() { delete std::exchange(s_folder, nullptr); }

protected:
    void SetUser(const char *id, const QString &name, const char *sect, const QString &sectName)
    {
        ASSERT_TRUE(GpLib::WriteUserKeys({QString::fromLatin1(id), name, QString::fromLatin1(sect), QStringLiteral("10"),
                                          sectName, QStringLiteral("서울지점")}));
    }

    // The usual user of sales section 01, with the window shown.
    void ShowAsUsualUser()
    {
        SetUser("1001", QStringLiteral("홍길동"), "01", QStringLiteral("영업1부"));
        Show();
    }

    void Show()
    {
        m_window = std::make_unique<TfrmMain>();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QAction *Item(const char *name) const { return m_window->menuBar()->findChild<QAction *>(QString::fromLatin1(name)); }

    void TearDown() override
    {
        QFile::remove(s_folder->filePath(QStringLiteral("Favourite.mnu")));
        if (m_window) {
            m_window->close();
            EXPECT_SOON(m_window->MdiArea()->subWindowList().isEmpty());
            QTest::qWait(20);
            m_window.reset();
        }
        // The modules of closed windows leave once their windows are deleted.
        EXPECT_SOON(!Mapped(QStringLiteral("J202P.so")) && !Mapped(QStringLiteral("J900E.so"))
                    && !Mapped(QStringLiteral("SB01B.so")) && !Mapped(QStringLiteral("SA30E.so")));
    }

    static inline QTemporaryDir *s_folder = nullptr;
    MessageBoxRecorder m_boxes;
    std::unique_ptr<TfrmMain> m_window;
};

TEST_F(MainWindowTest, FirstShowPutsTheUserInTheStatusBarAndBuildsTheUsersMenuWithRemoteSupport)
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
                                                       "4 출하현황\t(J204P)|5 월별판매현황\t(J210P)|6 기간별판매현황\t(J216P)"));
    EXPECT_EQ(MenuItems(bar, "N2"), QStringLiteral("1 정산서입력\t(J900E)|-|2 정산서출력\t(J290P)"));
    EXPECT_EQ(MenuItems(bar, "SYS_J3"), QStringLiteral("1 보조장부입력\t(J311E)|2 보조업무 세부 내역서 작성 및 조\t(J312E)|"
                                                       "-|3 출하자조회\t(J380P)|4 신규보조업무\t(J399E) (disabled)"));
    EXPECT_EQ(MenuItems(bar, "SYS_J5"), QString());
    EXPECT_EQ(MenuItems(bar, "N3"), QStringLiteral("자주사용하는메뉴설정|-|원격지원"));
    EXPECT_EQ(MenuItems(bar, "SYS_CLOSE"), QStringLiteral("종료"));
    m_window->grab().save(PicturePath(QStringLiteral("main_window.png")));

    // Pointing at menus keeps the user's panel: no item has a status tip, and none is shown.
    for (const QAction *item : bar->findChildren<QAction *>())
        EXPECT_TRUE(item->statusTip().isEmpty()) << item->objectName().toStdString();
    QStatusTipEvent tip(QStringLiteral("일일판매현황"));
    QCoreApplication::sendEvent(m_window.get(), &tip);
    EXPECT_TRUE(m_window->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(m_window->findChild<QLabel *>(QStringLiteral("Panel1"))->isVisible());

    // Remote support opens the build-time address.
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    Item("N7")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0].toString(), QStringLiteral(TOVEL_REMOTE_SUPPORT_URL));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(MainWindowTest, DepartmentNinetyNineOrNoneDisablesJ900EUnlessPrivilegedAndNoProgramsIsTold)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"9901", "99", false}, {"1001", "", false}, {"40710263", "99", true}, {"1001", "02", true}};
    for (const auto &[id, sect, enabled] : cases) {
        SetUser(id, QStringLiteral("사원"), sect, QStringLiteral("부서"));
        Show();
        EXPECT_EQ(Item("NJ900E")->isEnabled(), enabled) << id << " / " << sect;
    }
    // No permitted programs is told under the window caption; the designed menu stays.
    m_boxes.Clear();
    SetUser("1002", QStringLiteral("김영희"), "02", QStringLiteral("영업2부"));
    Show();
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("㈜Tovel 영업정산|관련 메뉴정보가 없습니다.|error"));
    EXPECT_EQ(m_boxes.Calls()[0].Owner, m_window.get());
    EXPECT_EQ(MenuItems(m_window->menuBar(), "SYS_J2"), QString());
}

TEST(MainStart, TheCommandLineNeedsRunAndOneMoreArgument)
{
    using MainFlow::AcceptsCommandLine;
    const QString run = QStringLiteral("run"), id = QStringLiteral("1001");
    EXPECT_TRUE(AcceptsCommandLine({run, id}) && AcceptsCommandLine({QStringLiteral("RUN"), QString()}));
    EXPECT_FALSE(AcceptsCommandLine({}) || AcceptsCommandLine({run}) || AcceptsCommandLine({QStringLiteral("go"), id})
                 || AcceptsCommandLine({run, id, QStringLiteral("x")}));
}

TEST(MainStart, TheNamedMutexAdmitsOneHolderAtATimeAndRecoversStaleLocks)
{
    const QString name = QStringLiteral("TovelMainTest-%1").arg(QCoreApplication::applicationPid());
    auto first = std::make_unique<Platform::TNamedMutex>(name);
    ASSERT_TRUE(first->TryAcquire());
    Platform::TNamedMutex second(name);
    EXPECT_FALSE(second.TryAcquire());
    {
        const QByteArray session = qgetenv("TOVEL_SESSION");
        qputenv("TOVEL_SESSION", session + "-other");
        Platform::TNamedMutex otherRun(name);
        qputenv("TOVEL_SESSION", session);
        EXPECT_TRUE(otherRun.TryAcquire()) << "a separate run (TOVEL_SESSION) holds a mutex of its own";
    }
    first.reset();
    EXPECT_TRUE(second.TryAcquire()) << "released when its holder ends";
    // A lock file naming a process that no longer exists.
    Platform::TNamedMutex stale(QStringLiteral("TovelMainStale-%1").arg(QCoreApplication::applicationPid()));
    WriteFileBytes(stale.FileName(), "999999\nTovelMain\n" + QSysInfo::machineHostName().toUtf8() + '\n');
    EXPECT_TRUE(stale.TryAcquire());
}

TEST_F(MainWindowTest, AChosenProgramOpensItsModuleUntilTheModulePostsItsCloseMessage)
{
    ShowAsUsualUser();
    TakeModuleCalls();
    Item("NJ202P")->trigger();
    EXPECT_EQ(TakeModuleCalls(), QStringList{QStringLiteral(
                                     "J202P ShowInFrame prog=J202P user=1001 size=160 close=1028 handle=0 tail=zero")});
    EXPECT_EQ(ChildNames(m_window->MdiArea()), QStringList{QStringLiteral("frmJ202P")});
    EXPECT_NE(m_window->Dispatcher().ModuleHandles()[3], 0u);
    EXPECT_TRUE(Mapped(QStringLiteral("J202P.so")));
    ASSERT_EQ(m_window->Dispatcher().OpenForms().size(), 1);
    EXPECT_EQ(m_window->Dispatcher().OpenForms()[0].FormName, QStringLiteral("frmJ202P"));
    EXPECT_EQ(m_window->FavouritesBar()->isVisible(), false) << "no favourites, no toolbar";

    // The library goes only after the deferred delete of the module's own objects; another
    // program's window stays open meanwhile.
    Item("NJ204P")->trigger();
    m_window->MdiArea()->findChild<QMdiSubWindow *>(QStringLiteral("frmJ202P"))->close();
    EXPECT_SOON(!Mapped(QStringLiteral("J202P.so")));
    EXPECT_EQ(m_window->Dispatcher().ModuleHandles()[3], 0u);
    EXPECT_EQ(ChildNames(m_window->MdiArea()), QStringList{QStringLiteral("frmJ204P")});

    // Its record entry stays (its name no longer read from the unloaded module); choosing
    // the program again finds no window and opens anew.
    Item("NJ202P")->trigger();
    EXPECT_EQ(TakeModuleCalls().size(), 2);
    EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(m_boxes.Summary(), QString());
}

TEST_F(MainWindowTest, AProgramChosenTwiceShowsItsWindowAndAfterCloseAllEveryProgramOpensAnew)
{
    ShowAsUsualUser();
    TakeModuleCalls();
    // Programs that borrow a module keep their own slot and close message.
    Item("NJ280E")->trigger();
    Item("NSA09P")->trigger();
    EXPECT_EQ(TakeModuleCalls(),
              (QStringList{QStringLiteral("SB01B ShowInFrame prog=J280E user=1001 size=148 close=1040 handle=0 tail=zero"),
                           QStringLiteral("SA11E ShowInFrame prog=SA09P user=1001 size=168 close=1111 handle=0 tail=zero")}));
    const auto &handles = m_window->Dispatcher().ModuleHandles();
    EXPECT_TRUE(handles[15] != 0u && handles[86] != 0u);
    EXPECT_EQ(handles[99], 0u) << "SB01B's own slot is not used";
    EXPECT_TRUE(Mapped(QStringLiteral("SB01B.so")));
    EXPECT_EQ(ChildNames(m_window->MdiArea()), (QStringList{QStringLiteral("frmJ280E"), QStringLiteral("frmSA09P")}));

    Item("NJ900E")->trigger();
    Item("NJ202P")->trigger();
    QMdiSubWindow *j900 = m_window->MdiArea()->findChild<QMdiSubWindow *>(QStringLiteral("frmJ900E"));
    ASSERT_NE(j900, nullptr);
    j900->showMinimized();
    Item("NJ900E")->trigger();
    EXPECT_EQ(TakeModuleCalls().size(), 2) << "the second choice loads nothing";
    EXPECT_FALSE(j900->isMinimized());
    EXPECT_EQ(m_window->MdiArea()->activeSubWindow(), j900);
    EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 4);
    {
        MessageBoxRecorder no(Platform::mbNo);
        Item("N11")->trigger();
        EXPECT_EQ(no.Summary(), QStringLiteral("㈜Tovel 영업정산|열린창을 모두 닫으시겠습니까?|question"));
        EXPECT_EQ(no.Calls()[0].DefaultButton, Platform::mbNo);
        EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 4);
    }
    MessageBoxRecorder yes(Platform::mbYes);
    Item("N11")->trigger();
    EXPECT_SOON(m_window->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(m_window->Dispatcher().OpenForms().isEmpty());
    EXPECT_SOON(!Mapped(QStringLiteral("J900E.so")) && !Mapped(QStringLiteral("SB01B.so")));
    EXPECT_EQ(handles[107], 0u);
    Item("NJ900E")->trigger();
    Item("NJ202P")->trigger();
    EXPECT_EQ(TakeModuleCalls().size(), 2);
    EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 2);
    // One child closes without asking.
    m_window->MdiArea()->subWindowList().front()->close();
    EXPECT_SOON(m_window->MdiArea()->subWindowList().size() == 1);
    Item("N11")->trigger();
    EXPECT_SOON(m_window->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(yes.Calls().size(), 1u);
}

TEST_F(MainWindowTest, TheSalesScreenAsksBeforeItClosesOverUnsavedChanges)
{
    ShowAsUsualUser();
    Item("NJ202P")->trigger();
    QPointer<QMdiSubWindow> window = m_window->MdiArea()->findChild<QMdiSubWindow *>(QStringLiteral("frmJ202P"));
    ASSERT_NE(window, nullptr);
    auto *grid = window->findChild<QWidget *>(QStringLiteral("grdSales"));
    ASSERT_NE(grid, nullptr);
    // A new sale with a customer code typed in.
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_C);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : grid, Qt::Key_Return);
    {
        MessageBoxRecorder cancel(Platform::mbCancel);
        window->close();
        EXPECT_EQ(cancel.Summary(), QStringLiteral("일일판매현황|변경된 내용이 있습니다. 저장하시겠습니까?|question"));
    }
    QTest::qWait(20);
    ASSERT_FALSE(window.isNull()) << "Cancel keeps the window";
    EXPECT_NE(m_window->Dispatcher().ModuleHandles()[3], 0u);
    MessageBoxRecorder no(Platform::mbNo);
    window->close();
    EXPECT_EQ(no.Calls().size(), 1u);
    EXPECT_SOON(!Mapped(QStringLiteral("J202P.so")));
    EXPECT_EQ(m_window->Dispatcher().ModuleHandles()[3], 0u);
}

TEST_F(MainWindowTest, AMissingBrokenEntrylessOrFailingModuleOpensNothing)
{
    ShowAsUsualUser();
    const QString j204 = s_folder->filePath(QStringLiteral("J204P.so"));
    const QString j210 = s_folder->filePath(QStringLiteral("J210P.so"));
    const QString j216 = s_folder->filePath(QStringLiteral("J216P.so"));
    const QString saved = QStringLiteral(".saved");
    ASSERT_TRUE(QFile::rename(j204, j204 + saved) && QFile::rename(j210, j210 + saved));
    WriteFileBytes(j210, "not a library\n");
    // A real library without the program's entry: the image bank.
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QStringLiteral("/libIMGBANK.so"), j216));
    TakeModuleCalls();
    Item("NJ204P")->trigger();
    Item("NJ210P")->trigger();
    Item("NJ216P")->trigger();
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("%1|File Not Found.\n\nFile Name: %2|error\n"
                                                "%1|load library error!|error")
                                     .arg(Platform::ApplicationTitle(), j204));
    EXPECT_TRUE(TakeModuleCalls().isEmpty());
    EXPECT_TRUE(m_window->MdiArea()->subWindowList().isEmpty());
    for (int slot : {4, 5, 6})
        EXPECT_EQ(m_window->Dispatcher().ModuleHandles()[static_cast<std::size_t>(slot)], 0u);
    EXPECT_FALSE(Mapped(QStringLiteral("J216P.so"))) << "a library without the entry is not kept";

    QFile::remove(j210);
    QFile::remove(j216);
    ASSERT_TRUE(QFile::rename(j204 + saved, j204) && QFile::rename(j210 + saved, j210));

    // A module's own error is reported with its text, and its library still goes.
    SetUser("ERR01", QStringLiteral("시험"), "01", QStringLiteral("영업1부"));
    Show();
    const QString report = Platform::ApplicationTitle()
                           + QStringLiteral("|sample module error: the trial user ERR01 cannot open it|error");
    m_boxes.Clear();
    Item("NJ900E")->trigger();
    EXPECT_EQ(m_boxes.Summary(), report);
    EXPECT_TRUE(m_window->MdiArea()->subWindowList().isEmpty());
    EXPECT_SOON(!Mapped(QStringLiteral("J900E.so")));
    m_boxes.Clear();
    TLoginInfo user = m_window->LoginInfo();
    ZUL_CALL_SHOW("J900E", user, nullptr);
    EXPECT_EQ(m_boxes.Summary(), report);
    EXPECT_FALSE(Mapped(QStringLiteral("J900E.so")));
}

TEST_F(MainWindowTest, ModulesOpenOtherModulesThroughTheCallerLibrary)
{
    ShowAsUsualUser();
    TLoginInfo user = m_window->LoginInfo();
    TakeModuleCalls();

    CloseModalWhenShown();
    ZUL_CALL_SHOW("j380p", user, nullptr);
    CloseModalWhenShown();
    ZUL_CALL_SHOW("J900E", user, nullptr);
    ZUL_CALL_SHOW("J202P", user, nullptr); // not one of the three
    std::array<unsigned char, 190> extra{};
    std::memcpy(extra.data(), &user, sizeof user);
    extra[189] = 1;
    CloseModalWhenShown();
    ZUL_CALL_SHOW("J380P", user, extra.data());
    EXPECT_EQ(TakeModuleCalls(), (QStringList{QStringLiteral("J380P MODAL user=1001 zeros=115"),
                                              QStringLiteral("J900E ShowForUser user=1001"),
                                              QStringLiteral("J380P MODAL user=1001 zeros=114")}));
    EXPECT_FALSE(Mapped(QStringLiteral("J380P.so")) || Mapped(QStringLiteral("J900E.so")));

    // CallDLL answers for J900E alone, from the file in the current folder.
    EXPECT_STREQ(CallDLL("J202P", "x", 1), "PBL");
    EXPECT_FALSE(Mapped(QStringLiteral("J202P.so")));
    const QString previous = QDir::currentPath();
    QTemporaryDir elsewhere;
    const QString local = elsewhere.filePath(QStringLiteral("J900E.so"));
    QDir::setCurrent(elsewhere.path());
    EXPECT_EQ(Platform::FromCp949(CallDLL("j900e", "x", 1)), QStringLiteral("해당 파일이 존재하지 않습니다\n\n파일명 : J900E.so"));
    WriteFileBytes(local, "broken");
    EXPECT_EQ(Platform::FromCp949(CallDLL("J900E", "x", 1)), QStringLiteral("DLL 파일 호출 오류입니다\n\n파일명 : J900E.so"));
    // A library without CallForm answers nothing.
    QFile::remove(local);
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QStringLiteral("/libShareMem.so"), local));
    EXPECT_STREQ(CallDLL("J900E", "x", 1), "");
    QDir::setCurrent(s_folder->path());
    const char *answer = CallDLL("J900E", Platform::ToCp949(QStringLiteral("가나")).constData(), 7);
    QDir::setCurrent(previous);
    EXPECT_EQ(Platform::FromCp949(answer), QStringLiteral("정산서 가나 7"));
    EXPECT_FALSE(Mapped(QStringLiteral("J900E.so")));
    EXPECT_EQ(m_boxes.Summary(), QString());
    // A module missing from the program folder is told with its path.
    const QString sa30 = s_folder->filePath(QStringLiteral("SA30E.so"));
    ASSERT_TRUE(QFile::rename(sa30, sa30 + QStringLiteral(".saved")));
    ZUL_CALL_SHOW("sa30e", user, nullptr);
    ASSERT_TRUE(QFile::rename(sa30 + QStringLiteral(".saved"), sa30));
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("%1|File Not Found.\n\nFile Name: %2|error").arg(Platform::ApplicationTitle(), sa30));
}

TEST_F(MainWindowTest, FavouritesBecomeToolbarButtonsThatFoldAwayWhileAChildIsOpen)
{
    SetUser("1001", QStringLiteral("홍길동"), "01", QStringLiteral("영업1부"));
    // J399E is a disabled entry and ZZZZZ no entry at all; J202P is listed twice.
    ASSERT_TRUE(WriteFavourites(QStringLiteral("1001"),
                                {QStringLiteral("J202P"), QStringLiteral("J399E"), QStringLiteral("SA30E"),
                                 QStringLiteral("ZZZZZ"), QStringLiteral("j202p"), QStringLiteral("J202P")},
                                s_folder->filePath(QStringLiteral("Favourite.mnu"))));
    Show();
    const QList<QToolButton *> &buttons = m_window->FavouriteButtons();
    QWidget *bar = m_window->FavouritesBar();
    ASSERT_EQ(buttons.size(), 3);
    QTest::mouseMove(m_window->MdiArea(), m_window->MdiArea()->rect().center());
    EXPECT_EQ(bar->height(), 35) << "with no child window the toolbar stays unfolded";
    EXPECT_EQ(HintOf(buttons[0]) + QLatin1Char(',') + HintOf(buttons[1]) + QLatin1Char(',') + HintOf(buttons[2]),
              QStringLiteral("일일판매현황|J202P,공제요율등록|SA30E,일일판매현황|J202P"));
    EXPECT_GT(buttons[1]->x(), buttons[0]->x());
    EXPECT_TRUE(bar->isVisible() && m_window->FoldingHookAttached());

    TakeModuleCalls();
    buttons[1]->click();
    EXPECT_EQ(TakeModuleCalls(), QStringList{QStringLiteral(
                                     "SA30E ShowInFrame prog=SA30E user=1001 size=128 close=1121 handle=0 tail=zero")});
    EXPECT_EQ(bar->height(), 5) << "a choice folds the toolbar";
    const QPoint barTop = bar->mapToGlobal(QPoint(10, 2));
    QTest::mouseMove(m_window->MdiArea(), m_window->MdiArea()->rect().center());
    EXPECT_EQ(bar->height(), 5);
    QCursor::setPos(barTop);
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 2), QPointF(barTop), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    EXPECT_EQ(bar->height(), 35) << "the pointer level with the toolbar unfolds it";
    EXPECT_TRUE(buttons[0]->isVisible());
    m_window->grab().save(PicturePath(QStringLiteral("main_window_module.png")));

    MessageBoxRecorder yes(Platform::mbYes);
    Item("N11")->trigger();
    EXPECT_SOON(m_window->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(bar->height(), 35);

    // Favourites that all name disabled entries give no toolbar and no hook.
    SetUser("1001", QStringLiteral("홍길동"), "99", QStringLiteral("업무부"));
    ASSERT_TRUE(WriteFavourites(QStringLiteral("1001"), {QStringLiteral("J399E"), QStringLiteral("J900E")},
                                s_folder->filePath(QStringLiteral("Favourite.mnu"))));
    Show();
    EXPECT_TRUE(m_window->FavouriteButtons().isEmpty());
    EXPECT_FALSE(m_window->FavouritesBar()->isVisible() || m_window->FoldingHookAttached());
}

TEST_F(MainWindowTest, FavouritesSavedInTheDialogRebuildTheToolbar)
{
    ShowAsUsualUser();
    ASSERT_TRUE(m_window->FavouriteButtons().isEmpty());
    bool saved = false;
    QTimer::singleShot(0, [&saved] {
        ASSERT_SOON(qobject_cast<TfrmFavourite *>(QApplication::activeModalWidget()) != nullptr);
        auto *dialog = qobject_cast<TfrmFavourite *>(QApplication::activeModalWidget());
        auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
        const QList<QTreeWidgetItem *> found = tree->findItems(QStringLiteral("[J204P]출하현황"), Qt::MatchRecursive);
        if (found.size() == 1) {
            tree->scrollToItem(found.front());
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, dialog->StateImageRect(found.front()).center());
            dialog->findChild<QToolButton *>(QStringLiteral("btnSave"))->click();
            saved = true;
        }
        dialog->close();
    });
    Item("N5")->trigger();
    ASSERT_TRUE(saved);
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("자주사용하는메뉴설정|처리하였습니다.|information"));
    EXPECT_EQ(ReadFavourites(QStringLiteral("1001"), s_folder->filePath(QStringLiteral("Favourite.mnu"))),
              QStringList{QStringLiteral("J204P")});
    ASSERT_EQ(m_window->FavouriteButtons().size(), 1);
    EXPECT_EQ(HintOf(m_window->FavouriteButtons().front()), QStringLiteral("출하현황|J204P"));
    EXPECT_TRUE(m_window->FoldingHookAttached());
}



#include "tovelmain_test.moc"
