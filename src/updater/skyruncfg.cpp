#include "updater/skyruncfg.h"

#include "platform/application.h"
#include "platform/fonts.h"
#include "updater/release/releasemanifest.h"
#include "updater/skyrunlib.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QValidator>

#include <array>
#include <functional>

namespace {

constexpr int SettingsClientWidth = 298;
constexpr int SettingsClientHeight = 340;
constexpr int LabelLeft = 8;
constexpr int LabelWidth = 72;
constexpr int EditLeft = 88;
constexpr int EditWidth = 194;
constexpr int RowHeight = 21;
constexpr int StatusHeight = 19;

// The transfer types in the order of the radio items.
constexpr std::array<const char *, 2> TransTypes = {"FTP", "SFTP"};

// Discards the characters typed into an edit that `allowed` rejects. Only keys that type
// a character are filtered: backspace, cursor keys and editing shortcuts (paste among
// them) pass, so pasted text reaches the edit unchanged.
class TKeyFilter : public QObject
{
public:
    TKeyFilter(QLineEdit *edit, std::function<bool(QChar)> allowed)
        : QObject(edit)
        , m_allowed(std::move(allowed))
    {
        edit->installEventFilter(this);
        // Composed input would slip past the filter.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.front().isPrint())
            return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return false;
        for (const QChar c : text) {
            if (!m_allowed(c))
                return true;
        }
        return false;
    }

private:
    std::function<bool(QChar)> m_allowed;
};

// Limits what the user enters to `limit` characters: typing or pasting beyond it is
// refused. Text the program sets is kept whole (the edits show their longer names until
// filled, and a longer stored value must not be cut on its way back to the file).
class TLengthLimit : public QValidator
{
public:
    TLengthLimit(int limit, QObject *parent)
        : QValidator(parent)
        , m_limit(limit)
    {
    }

    State validate(QString &input, int &) const override { return input.size() > m_limit ? Invalid : Acceptable; }

private:
    int m_limit;
};

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsHostCharacter(QChar c)
{
    return IsDigit(c) || c == QLatin1Char('.') || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

int RowTop(int row)
{
    return 20 + row * 30;
}

void LabelFor(QWidget *parent, const char *name, const char *text, int row)
{
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(LabelLeft, RowTop(row), LabelWidth, RowHeight);
}

// An edit shows its own name until the settings fill it.
QLineEdit *EditAt(QWidget *parent, const char *name, int row)
{
    auto *edit = new QLineEdit(QString::fromLatin1(name), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(EditLeft, RowTop(row), EditWidth, RowHeight);
    return edit;
}

} // namespace

struct TForm2::Private
{
    QString programFolder;
    QLineEdit *edtIP = nullptr;
    QLineEdit *edtPort = nullptr;
    QLineEdit *edtPath = nullptr;
    QLineEdit *edtID = nullptr;
    QLineEdit *edtPW = nullptr;
    QCheckBox *chkPassive = nullptr;
    QButtonGroup *types = nullptr;
    QLineEdit *edtKey = nullptr;
    bool filled = false;
    // The settings were read into the controls: only then does an empty key field mean
    // the key was removed.
    bool shown = false;
};

TForm2::TForm2(const QString &programFolder, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , d(std::make_unique<Private>())
{
    d->programFolder = programFolder;
    Platform::RegisterFontSubstitutions();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("파일버전관리"));
    setFixedSize(SettingsClientWidth, SettingsClientHeight);
    setFont(Platform::GulimChe(13));

    LabelFor(this, "lblIP", "IP", 0);
    d->edtIP = EditAt(this, "edtIP", 0);
    d->edtIP->setValidator(new TLengthLimit(30, d->edtIP));
    new TKeyFilter(d->edtIP, IsHostCharacter);

    LabelFor(this, "lblPort", "PORT", 1);
    d->edtPort = EditAt(this, "edtPort", 1);
    d->edtPort->setValidator(new TLengthLimit(5, d->edtPort));
    new TKeyFilter(d->edtPort, IsDigit);

    LabelFor(this, "lblPath", "PATH", 2);
    d->edtPath = EditAt(this, "edtPath", 2);
    LabelFor(this, "lblID", "ID", 3);
    d->edtID = EditAt(this, "edtID", 3);
    LabelFor(this, "lblPW", "Password", 4);
    d->edtPW = EditAt(this, "edtPW", 4);

    LabelFor(this, "lblPassive", "Passive", 5);
    d->chkPassive = new QCheckBox(QStringLiteral("사용"), this);
    d->chkPassive->setObjectName(QStringLiteral("chkPassive"));
    d->chkPassive->setGeometry(EditLeft, RowTop(5), EditWidth, RowHeight);

    LabelFor(this, "lblType", "Type", 6);
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("rgType"));
    group->setGeometry(EditLeft, RowTop(6) - 8, EditWidth, 38);
    d->types = new QButtonGroup(group);
    for (std::size_t i = 0; i < TransTypes.size(); ++i) {
        const QString text = QString::fromLatin1(TransTypes[i]);
        auto *item = new QRadioButton(text, group);
        item->setObjectName(QStringLiteral("rgType") + text);
        const int column = (EditWidth - 16) / 2;
        item->setGeometry(8 + static_cast<int>(i) * column, 10, column, RowHeight);
        d->types->addButton(item, static_cast<int>(i));
    }
    d->types->button(0)->setChecked(true);

    // The release key the workstation trusts; empty: releases are not checked.
    auto *keyLabel = new QLabel(QStringLiteral("서명키"), this);
    keyLabel->setObjectName(QStringLiteral("lblKey"));
    keyLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    keyLabel->setGeometry(LabelLeft, 240, LabelWidth, RowHeight);
    d->edtKey = new QLineEdit(this);
    d->edtKey->setObjectName(QStringLiteral("edtKey"));
    d->edtKey->setGeometry(EditLeft, 240, EditWidth, RowHeight);
    d->edtKey->setPlaceholderText(QStringLiteral("SkyrunSign keygen"));
    d->edtKey->setToolTip(QStringLiteral("The public key SkyrunSign keygen printed: only releases signed with its "
                                         "secret key are taken. Empty: releases are not checked."));
    keyLabel->setBuddy(d->edtKey);

    auto *save = new QPushButton(QStringLiteral("저장"), this);
    save->setObjectName(QStringLiteral("btnSave"));
    save->setGeometry(EditLeft, 274, 92, 30);
    connect(save, &QPushButton::clicked, this, &TForm2::Save);
    auto *close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setGeometry(EditLeft + EditWidth - 92, 274, 92, 30);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setGeometry(0, SettingsClientHeight - StatusHeight, SettingsClientWidth, StatusHeight);
    for (int i = 0; i < 2; ++i) {
        auto *panel = new QLabel(status);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(50);
        status->addWidget(panel);
    }
    auto *help = status->findChild<QLabel *>(QStringLiteral("Panel0"));
    help->setText(QStringLiteral("도움말"));
    help->setAlignment(Qt::AlignCenter);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TForm2::~TForm2() = default;

bool TForm2::Fill()
{
    d->filled = true;
    setWindowTitle(QStringLiteral("파일버전관리") + QStringLiteral("(환경설정)"));
    TServerInfo info;
    try {
        info = ReadServerInfo(d->programFolder);
    } catch (...) {
        Platform::ReportException(std::current_exception());
        // The key is shown as stored all the same, so that a broken one can be mended or
        // removed, and a save does not drop a good one.
        d->edtKey->setText(StoredPublicKey(d->programFolder));
        d->shown = true;
        return false;
    }
    d->edtIP->setText(info.IP);
    d->edtPort->setText(info.Port);
    d->edtPath->setText(info.Path);
    d->edtID->setText(info.ID);
    d->edtPW->setText(info.PW);
    d->chkPassive->setChecked(info.Passive);
    d->edtKey->setText(info.PublicKey);
    d->edtKey->setCursorPosition(0); // a key longer than the field shows from its start
    d->shown = true;
    // A type the window does not offer shows as the first, as a run treats it.
    int item = 0;
    for (std::size_t i = 0; i < TransTypes.size(); ++i) {
        if (info.TransType.toUpper() == QLatin1String(TransTypes[i]))
            item = static_cast<int>(i);
    }
    d->types->button(item)->setChecked(true);
    return true;
}

bool TForm2::Save()
{
    TServerInfo info;
    info.IP = d->edtIP->text();
    info.Port = d->edtPort->text();
    info.Path = d->edtPath->text();
    info.ID = d->edtID->text();
    info.PW = d->edtPW->text();
    info.Passive = d->chkPassive->isChecked();
    info.TransType = d->types->checkedButton()->text().toUpper();
    info.PublicKey = d->edtKey->text().trimmed();
    // Settings that were never shown (the window saved before it was): saving must not
    // turn checking off.
    if (info.PublicKey.isEmpty() && !d->shown)
        info.PublicKey = StoredPublicKey(d->programFolder);
    try {
        // A mistyped key would make every run refuse the releases: it is checked first,
        // and nothing is written when it is not one.
        if (!info.PublicKey.isEmpty())
            PublicKeyFromText(info.PublicKey);
        WriteServerInfo(info, d->programFolder);
    } catch (...) {
        Platform::ReportException(std::current_exception());
        return false;
    }
    return true;
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!d->filled)
        Fill();
}
