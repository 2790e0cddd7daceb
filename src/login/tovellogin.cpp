#include "login/tovellogin.h"

#include "common/fixedfield.h"
#include "login/loginflow.h"
#include "platform/fonts.h"
#include "platform/cp949.h"
#include "platform/formatsettings.h"
#include "platform/messagebox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

#include <cstring>

namespace {

// The password edit shows '*' for each character.
class StarPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLineEdit *MakeEdit(QWidget *parent, const char *name, const QRect &geometry, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setMaxLength(maxLength);
    edit->setFont(Platform::GulimChe(13));
    return edit;
}

QToolButton *MakeFlatButton(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    // The caption is part of the picture underneath.
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                         "QToolButton:hover { background: rgba(255, 255, 255, 40); }"
                                         "QToolButton:pressed { background: rgba(0, 0, 0, 40); }"));
    return button;
}

void ShowError(const QString &text)
{
    Platform::ShowMessageBox(Platform::ApplicationWindow(), text, Platform::ApplicationTitle(),
                             Platform::TMsgIcon::Error);
}

} // namespace

// The picture lives in this library's resources, which a static library must register.
static void InitLoginResources()
{
    Q_INIT_RESOURCE(login);
}

TfrmLogin::TfrmLogin(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    InitLoginResources();
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("㈜Tovel 영업정산-로그인"));
    setFixedSize(384, 291);

    Platform::TFormatSettings &formats = Platform::FormatSettings();
    formats.ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    formats.DateSeparator = QLatin1Char('-');
    formats.LongTimeFormat = QStringLiteral("HH:mm:ss");

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 388, 292);
    Image1->setPixmap(QPixmap(QStringLiteral(":/login/login.png")));

    Edit_UserId = MakeEdit(this, "Edit_UserId", QRect(183, 177, 106, 21), 8);
    Edit_UserId->setAttribute(Qt::WA_InputMethodEnabled, true);
    Edit_Password = MakeEdit(this, "Edit_Password", QRect(183, 203, 106, 21), 6);
    Edit_Password->setEchoMode(QLineEdit::Password);
    auto *starStyle = new StarPasswordStyle;
    starStyle->setParent(Edit_Password);
    Edit_Password->setStyle(starStyle);
    setTabOrder(Edit_UserId, Edit_Password);

    SpdBtn_ok = MakeFlatButton(this, "SpdBtn_ok", QRect(130, 231, 64, 22));
    SpdBtn_cancel = MakeFlatButton(this, "SpdBtn_cancel", QRect(198, 231, 64, 22));

    connect(Edit_UserId, &QLineEdit::returnPressed, Edit_Password, [this] { Edit_Password->setFocus(); });
    connect(Edit_Password, &QLineEdit::returnPressed, SpdBtn_ok, &QToolButton::click);
    connect(Edit_UserId, &QLineEdit::textChanged, this, &TfrmLogin::Edit_UserIdChange);
    connect(Edit_Password, &QLineEdit::textChanged, this, &TfrmLogin::Edit_PasswordChange);
    connect(SpdBtn_ok, &QToolButton::clicked, this, &TfrmLogin::SpdBtn_okClick);
    connect(SpdBtn_cancel, &QToolButton::clicked, this, &QDialog::close);
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_loginValues = GpLib::ReadLoginValues();
    // Focus first: a stored id of the full eight characters moves it on to the password,
    // as typing one would.
    Edit_UserId->setFocus();
    Edit_UserId->setText(m_loginValues.UserId);
}

void TfrmLogin::keyPressEvent(QKeyEvent *event)
{
    // The window has no border icons; its one way out is the cancel area, not Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmLogin::Edit_UserIdChange()
{
    if (Edit_UserId->text().size() >= Edit_UserId->maxLength())
        Edit_Password->setFocus();
}

void TfrmLogin::Edit_PasswordChange()
{
    if (Edit_Password->text().size() < Edit_Password->maxLength())
        return;
    ShowError(QStringLiteral("6자리이내로 입력하세요!!"));
    Edit_Password->setFocus();
}

void TfrmLogin::SpdBtn_okClick()
{
    const QString userId = Platform::TrimBlanks(Edit_UserId->text());
    if (userId.isEmpty()) {
        ShowError(QStringLiteral("개인번호 입력하세요"));
        Edit_UserId->setFocus();
        return;
    }
    const QString password = Platform::TrimBlanks(Edit_Password->text());
    if (password.isEmpty()) {
        ShowError(QStringLiteral("비밀번호 입력하세요"));
        Edit_UserId->setFocus();
        return;
    }

    TLoginInfo info;
    std::memset(&info, 0, sizeof info);
    CopyFixed(info.UserId, userId, 8);
    CopyFixed(info.Password, password, 6);

    switch (LoginFlow::CheckLogin(info).value_or('\0')) {
    case '0':
        LoginFlow::StartNextProgram(userId);
        close();
        break;
    case '1':
        Edit_UserId->setFocus();
        break;
    case '2':
    case '9':
        Edit_Password->setFocus();
        break;
    default:
        break;
    }
}
