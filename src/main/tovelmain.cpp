#include "main/tovelmain.h"

#include "caller/ZULCaller.h"
#include "common/fixedfield.h"
#include "common/gplib.h"
#include "main/background.h"
#include "main/mainflow.h"
#include "main/menubuilder.h"
#include "main/uimg.h"
#include "platform/cp949.h"
#include "platform/messagebox.h"
#include "platform/singleinstance.h"
#include "sharemem.h"

#include <QApplication>
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

TfrmMain::TfrmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(MainFlow::MainCaption());
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(13);
    setFont(font);
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

    CreateMenu();
    new Platform::TWindowActivationServer(this, MainFlow::MainCaption());
}

TfrmMain::~TfrmMain() = default;

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
    AddItem(settings, "N5", QStringLiteral("자주사용하는메뉴설정"));
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
    m_moduleHandles.fill(0);
    m_loginInfo = GpLib::ReadLoginInfo();
    m_panels[1]->setText(PanelText(m_loginInfo));

    const QString userId = ReadFixed(m_loginInfo.UserId);
    const QString sect = ReadFixed(m_loginInfo.UserSect);
    if (userId != PrivilegedUserId() && (sect == QLatin1String("99") || sect.isEmpty())) {
        if (QAction *j900 = menuBar()->findChild<QAction *>(QStringLiteral("NJ900E")))
            j900->setEnabled(false);
    }
    BuildMenu();
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

void TfrmMain::MenuClick()
{
    const auto *item = qobject_cast<QAction *>(sender());
    if (!item)
        return;
    const QString progId = LongHint(HintOf(item)).trimmed();
    if (progId.isEmpty())
        return;
    emit ProgramChosen(progId, ShortHint(HintOf(item)).trimmed());
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
    ToolBar1->setGeometry(2, 0, qMax(0, width() - 11), 36);
    btnClose->move(ToolBar1->width() - btnClose->width() - 4, 3);
    m_background->setGeometry(0, 36, client->width(), qMax(0, client->height() - 36));
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
    CloseAllChildren();
    QMainWindow::closeEvent(event);
}
