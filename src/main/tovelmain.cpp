#include "main/tovelmain.h"

#include "caller/ZULCaller.h"
#include "common/fixedfield.h"
#include "common/gplib.h"
#include "main/background.h"
#include "main/favouritefile.h"
#include "main/mainflow.h"
#include "main/menubuilder.h"
#include "main/ufavourite.h"
#include "main/uimg.h"
#include "platform/fonts.h"
#include "platform/cp949.h"
#include "platform/handles.h"
#include "platform/messagebox.h"
#include "platform/singleinstance.h"
#include "sharemem.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>

#include <cstring>
#include <utility>

namespace {

// The menu as the main window is designed: business areas keyed by system id, then the
// window list, the settings and the close menu.
struct TopItem
{
    const char *name;
    const char16_t *caption;
    const char16_t *hint;
};

constexpr TopItem TopItems[] = {
    {"SYS_AA", u"기초업무(&1)", u"기초업무|AA"}, {"SYS_J2", u"일일업무(&2)", u"일일업무|J2"},
    {"N2", u"정산서", u"정산서|JZ"},             {"SYS_J3", u"보조업무(&3)", u"보조업무|J3"},
    {"SYS_J4", u"보고업무(&4)", u"보고업무|J4"}, {"SYS_J5", u"세무업무(&5)", u"세무업무|J5"},
    {"SYS_J6", u"파일관리(&6)", u"파일관리|J6"}, {"SYS_BB", u"판매관리", u"판매관리|BB"},
    {"SYS_PP", u"실적관리", u"실적관리|PP"},     {"N1", u"공통관리", u"공통관리|CM"},
};

QString Text(const char16_t *text)
{
    return QString::fromUtf16(text);
}

QAction *AddItem(QMenu *menu, const char *name, const QString &caption, const QString &hint = {})
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        SetHint(item, hint);
    return item;
}

QString PanelText(const TLoginInfo &info)
{
    return QStringLiteral("[%1 %2 %3(%4)]")
        .arg(ReadFixed(info.UserSectNm), ReadFixed(info.UserPlaceNm), ReadFixed(info.UserNm), ReadFixed(info.UserId));
}

} // namespace

// Watches the pointer on behalf of the main window while the favourites toolbar is
// shown: the toolbar unfolds when the pointer comes level with it, and otherwise folds
// away while a child window is open.
class TToolbarFoldingHook : public QObject
{
public:
    explicit TToolbarFoldingHook(TfrmMain *window)
        : QObject(window)
        , m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~TToolbarFoldingHook() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::HoverMove:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            m_window->FollowPointer(QCursor::pos());
            break;
        default:
            break;
        }
        return false;
    }

private:
    TfrmMain *m_window;
};

TfrmMain::TfrmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(MainFlow::MainCaption());
    setFont(Platform::GulimChe(13));
    resize(1012, 714);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, TMainBackground::BackgroundColor());
    setPalette(palette);
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, QColor(0xC0, 0xFF, 0xC0));
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);

    auto *client = new QWidget(this);
    setCentralWidget(client);
    m_background = new TMainBackground(client);

    ToolBar1 = new QWidget(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAutoFillBackground(true);
    QPalette bar = ToolBar1->palette();
    bar.setColor(QPalette::Window, QColor(0x99, 0xCC, 0xFF));
    ToolBar1->setPalette(bar);
    ToolBar1->setFixedHeight(36);

    btnClose = new QToolButton(ToolBar1);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoRaise(true);
    btnClose->setToolTip(QStringLiteral("종료"));
    btnClose->setText(QString());
    btnClose->setFixedSize(32, 30);
    btnClose->setIcon(BankImage(109));
    btnClose->setIconSize(QSize(24, 24));
    btnClose->move(2, 3);
    connect(btnClose, &QToolButton::clicked, this, &QWidget::close);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    setStatusBar(status);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(status);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        status->addWidget(m_panels[i]);
    }
    m_panels[0]->setFixedWidth(500);
    m_panels[1]->setFixedWidth(300);
    m_panels[1]->setAlignment(Qt::AlignCenter);
    m_panels[2]->setFixedWidth(50);

    m_dispatch = std::make_unique<TModuleDispatch>(this, m_background);
    CreateMenu();
    new Platform::TWindowActivationServer(this, MainFlow::MainCaption());
}

TfrmMain::~TfrmMain()
{
    delete m_foldingHook; // no pointer event may reach a window half destroyed
}

QMdiArea *TfrmMain::MdiArea() const
{
    return m_background;
}

QString TfrmMain::PrivilegedUserId()
{
    return QStringLiteral("40710263");
}

void TfrmMain::CreateMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const TopItem &top : TopItems) {
        QMenu *menu = bar->addMenu(Text(top.caption));
        menu->setObjectName(QString::fromLatin1(top.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(top.name));
        SetHint(menu->menuAction(), Text(top.hint));
        if (qstrcmp(top.name, "SYS_AA") == 0)
            connect(AddItem(menu, "NSA30E", QStringLiteral("공제요율등록"), QStringLiteral("공제요율등록|SA30E")),
                    &QAction::triggered, this, &TfrmMain::MenuClick);
        if (qstrcmp(top.name, "N2") == 0)
            connect(AddItem(menu, "NJ900E", QStringLiteral("정산서입력"), QStringLiteral("정산서입력|J900E")),
                    &QAction::triggered, this, &TfrmMain::MenuClick);
    }

    Window1 = bar->addMenu(QStringLiteral("열린창(&Q)"));
    Window1->setObjectName(QStringLiteral("Window1"));
    connect(Window1, &QMenu::aboutToShow, this, &TfrmMain::FillWindowList);
    FillWindowList();

    QMenu *settings = bar->addMenu(QStringLiteral("환경설정"));
    settings->setObjectName(QStringLiteral("N3"));
    connect(AddItem(settings, "N5", QStringLiteral("자주사용하는메뉴설정")), &QAction::triggered, this,
            &TfrmMain::N5Click);
    settings->addSeparator()->setObjectName(QStringLiteral("N4"));
    connect(AddItem(settings, "N7", QStringLiteral("원격지원")), &QAction::triggered, this, &TfrmMain::N7Click);

    QMenu *closeMenu = bar->addMenu(QStringLiteral("닫기"));
    closeMenu->setObjectName(QStringLiteral("SYS_CLOSE"));
    connect(AddItem(closeMenu, "N8", QStringLiteral("종료")), &QAction::triggered, this, &QWidget::close);
}

void TfrmMain::FillWindowList()
{
    Window1->clear();
    connect(AddItem(Window1, "N11", QStringLiteral("모두닫기")), &QAction::triggered, this, &TfrmMain::N11Click);
    connect(AddItem(Window1, "N6", QStringLiteral("창정렬")), &QAction::triggered, this, &TfrmMain::N6Click);
    const QList<QMdiSubWindow *> children = m_background->subWindowList();
    if (children.isEmpty())
        return;
    Window1->addSeparator();
    int number = 0;
    for (QMdiSubWindow *child : children) {
        QAction *item = Window1->addAction(QStringLiteral("&%1 %2").arg(++number).arg(child->windowTitle()));
        item->setCheckable(true);
        item->setChecked(child == m_background->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, child] { m_background->setActiveSubWindow(child); });
    }
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormFirstShow();
}

void TfrmMain::FormFirstShow()
{
    smInitValues();
    m_dispatch->ClearModuleHandles();
    m_loginInfo = GpLib::ReadLoginInfo();
    m_panels[1]->setText(PanelText(m_loginInfo));

    const QString userId = ReadFixed(m_loginInfo.UserId);
    const QString sect = ReadFixed(m_loginInfo.UserSect);
    if (userId != PrivilegedUserId() && (sect == QLatin1String("99") || sect.isEmpty())) {
        if (QAction *j900 = menuBar()->findChild<QAction *>(QStringLiteral("NJ900E")))
            j900->setEnabled(false);
    }
    BuildMenu();
    BuildToolbar();
    LayoutBars();
}

void TfrmMain::BuildMenu()
{
    ZUL_DB_CONNNECT(&m_connection);
    if (!m_connection.isValid())
        return; // the caller library has told the user; the designed menu stays

    TMenuResult result;
    std::memset(&result, 0, sizeof result);
    TMenuInfos rows;
    ZUL_GET_USER_MENU(&result, m_loginInfo.UserId, &rows);
    if (result.Code != '1') {
        Platform::ShowMessageBox(this, Platform::FromCp949(QByteArrayView(result.Msg, qstrnlen(result.Msg, 256))),
                                 windowTitle(), Platform::TMsgIcon::Error);
        return;
    }
    for (const char *name : {"NSA30E", "NJ900E"}) {
        QAction *item = menuBar()->findChild<QAction *>(QString::fromLatin1(name));
        if (item && item->isVisible())
            item->setText(ProgramCaption(1, ShortHint(HintOf(item)), LongHint(HintOf(item))));
    }
    BuildProgramMenu(menuBar(), rows, [this](QAction *item) {
        connect(item, &QAction::triggered, this, &TfrmMain::MenuClick);
    });
}

// Shared by the program items of the menu and the favourites buttons; both carry the
// hint "name|id".
void TfrmMain::MenuClick()
{
    const QString hint = HintOf(sender());
    const QString progId = LongHint(hint).trimmed();
    if (progId.isEmpty())
        return;
    std::memset(&m_programArea, 0, sizeof m_programArea);
    CopyFixed(m_programArea.ProgId, progId, 5);
    CopyFixed(m_programArea.ProgName, ShortHint(hint).trimmed(), 32);
    if (m_dispatch->ShowOpenWindow(progId)) {
        Fold();
        return;
    }
    m_dispatch->Dispatch(m_loginInfo, m_programArea, m_connection);
    m_dispatch->RecordOpenWindows(progId);
    Fold();
}

void TfrmMain::N5Click()
{
    const QString userId = ReadFixed(m_loginInfo.UserId);
    TFavouriteInputs inputs = FavouriteInputs(menuBar(), ReadFavourites(userId));
    if (inputs.Programs.isEmpty())
        return;
    TfrmFavourite dialog(this);
    dialog.SetInputs(userId, inputs.Groups, inputs.Programs);
    dialog.exec();
    if (dialog.Changed())
        BuildToolbar();
}

void TfrmMain::BuildToolbar()
{
    // Out of the list first: deleting a button under the pointer sends events to the
    // folding filter, which must not meet the buttons being deleted.
    qDeleteAll(std::exchange(m_favouriteButtons, {}));
    const QStringList ids = ReadFavourites(ReadFixed(m_loginInfo.UserId));
    const QList<QAction *> groups = menuBar()->actions();
    constexpr int Slots = 20;
    for (const QString &id : ids) {
        for (int g = 0; g < groups.size(); ++g) {
            const QMenu *menu = groups.at(g)->menu();
            if (!menu)
                continue;
            for (QAction *item : menu->actions()) {
                if (m_favouriteButtons.size() + 1 >= Slots)
                    break;
                if (!item->isEnabled() || item->isSeparator() || LongHint(HintOf(item)).trimmed() != id.trimmed())
                    continue;
                const QToolButton *previous = m_favouriteButtons.isEmpty() ? btnClose : m_favouriteButtons.last();
                auto *button = new QToolButton(ToolBar1);
                button->setObjectName(QStringLiteral("btnFavourite%1").arg(m_favouriteButtons.size() + 1));
                button->setAutoRaise(true);
                button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
                button->setGeometry(previous->geometry().right() + 1, btnClose->y(), btnClose->width(),
                                    btnClose->height());
                SetHint(button, HintOf(item));
                button->setToolTip(ShortHint(HintOf(item)));
                const QPixmap picture = FavouriteButtonPicture(g, LongHint(HintOf(item)).trimmed(), btnClose->font());
                button->setIcon(picture);
                button->setIconSize(picture.size());
                connect(button, &QToolButton::clicked, this, &TfrmMain::MenuClick);
                button->show();
                m_favouriteButtons.append(button);
            }
        }
    }
    if (m_favouriteButtons.isEmpty()) {
        ToolBar1->hide();
        delete m_foldingHook;
    } else {
        ToolBar1->show();
        if (!m_foldingHook)
            m_foldingHook = new TToolbarFoldingHook(this);
    }
    LayoutBars();
    RememberToolbarRect();
}

void TfrmMain::Unfold()
{
    if (!ToolBar1->isVisible() || ToolBar1->height() == 35) {
        RememberToolbarRect();
        return;
    }
    ToolBar1->setFixedHeight(35);
    btnClose->setFixedHeight(33);
    btnClose->show();
    for (QToolButton *button : std::as_const(m_favouriteButtons)) {
        button->setFixedHeight(33);
        button->show();
    }
    LayoutBars();
    ToolBar1->update();
    RememberToolbarRect();
}

void TfrmMain::Fold()
{
    if (!ToolBar1->isVisible() || ToolBar1->height() == 5) {
        RememberToolbarRect();
        return;
    }
    btnClose->hide();
    for (QToolButton *button : std::as_const(m_favouriteButtons))
        button->hide();
    ToolBar1->setFixedHeight(5);
    LayoutBars();
    ToolBar1->update();
    RememberToolbarRect();
}

void TfrmMain::RememberToolbarRect()
{
    m_toolbarRect = QRect(ToolBar1->mapToGlobal(QPoint(0, 0)), ToolBar1->size());
}

void TfrmMain::FollowPointer(const QPoint &globalPos)
{
    if (globalPos.y() > m_toolbarRect.top() && globalPos.y() < m_toolbarRect.top() + m_toolbarRect.height())
        Unfold();
    else if (m_background->subWindowList().isEmpty())
        Unfold();
    else
        Fold();
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip)
        return true; // the status bar keeps the user's panel
    if (event->type() == Platform::TWindowMessageEvent::EventType())
        m_dispatch->CloseMessage(static_cast<Platform::TWindowMessageEvent *>(event)->Message());
    return QMainWindow::event(event);
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    LayoutBars();
}

void TfrmMain::LayoutBars()
{
    const int panelWidth = statusBar()->width() / static_cast<int>(m_panels.size());
    for (std::size_t i = 0; i + 1 < m_panels.size(); ++i)
        m_panels[i]->setFixedWidth(panelWidth);

    QWidget *client = centralWidget();
    const int barHeight = ToolBar1->isHidden() ? 0 : ToolBar1->height();
    ToolBar1->setGeometry(2, 0, qMax(0, width() - 11), ToolBar1->height());
    m_background->setGeometry(0, barHeight, client->width(), qMax(0, client->height() - barHeight));
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !isMaximized() && !isMinimized())
        showMaximized();
}

void TfrmMain::CloseAllChildren()
{
    const QList<QMdiSubWindow *> children = m_background->subWindowList();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        (*it)->close();
}

void TfrmMain::N11Click()
{
    if (m_background->subWindowList().size() > 1
        && Platform::ShowMessageBox(this, QStringLiteral("열린창을 모두 닫으시겠습니까?"), windowTitle(),
                                    Platform::TMsgIcon::Question, Platform::mbYes | Platform::mbNo, Platform::mbNo)
               != Platform::mbYes)
        return;
    CloseAllChildren();
    m_dispatch->ClearOpenForms();
    Unfold();
}

void TfrmMain::N6Click()
{
    m_background->cascadeSubWindows();
}

void TfrmMain::N7Click()
{
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral(TOVEL_REMOTE_SUPPORT_URL))))
        Platform::ShowMessageBox(this, QStringLiteral("Internet Explorer 브라우저가 정상적으로 설치되어 있지 않습니다."),
                                 Platform::ApplicationTitle(), Platform::TMsgIcon::Error);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    delete m_foldingHook;
    CloseAllChildren();
    m_dispatch->ClearOpenForms();
    QMainWindow::closeEvent(event);
}
