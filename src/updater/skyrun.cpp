#include "updater/skyrun.h"

#include "platform/fonts.h"
#include "updater/skyrunbar.h"
#include "updater/skyrunmessages.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MainClientWidth = 471;
constexpr int MainClientHeight = 99;
constexpr int ServerPanelHeight = 27;
constexpr int FilePanelHeight = 28;
constexpr int BarHeight = 7;

// The server panel's 27 × 27 texture: a soft blue sheen, darker towards the bottom.
QPixmap Texture()
{
    QPixmap pixmap(27, 27);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, 0, 27);
    gradient.setColorAt(0.0, QColor(0x6f, 0x9c, 0xe8));
    gradient.setColorAt(0.5, QColor(0x3d, 0x6f, 0xc9));
    gradient.setColorAt(1.0, QColor(0x27, 0x52, 0xa6));
    painter.fillRect(pixmap.rect(), gradient);
    return pixmap;
}

// The 8 × 8 bullet in front of each line.
QPixmap Bullet()
{
    QPixmap pixmap(8, 8);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x1f, 0x3f, 0x8f));
    painter.setBrush(QColor(0xff, 0xa5, 0x20));
    painter.drawEllipse(QRectF(0.5, 0.5, 7, 7));
    return pixmap;
}

QWidget *Panel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, SkyrunColor(SkyrunPanelColor));
    panel->setPalette(palette);
    return panel;
}

QLabel *BulletIn(QWidget *panel)
{
    auto *bullet = new QLabel(panel);
    bullet->setPixmap(Bullet());
    bullet->setGeometry(8, 6, 8, 8);
    return bullet;
}

QLabel *LineIn(QWidget *panel, const char *name, const QString &text, const QColor &color)
{
    auto *label = new QLabel(text, panel);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(20, 4, panel->width() - 24, 15);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

// The background shape of the server panel, tiled with the texture.
class TextureShape : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QBrush(m_texture));
    }

private:
    QPixmap m_texture = Texture();
};

// Message lines: navy behind the line that is selected and focused, the panel colour
// behind every other, black text from the top-left corner.
class MessageDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto both = QStyle::State_Selected | QStyle::State_HasFocus;
        const bool marked = (option.state & both) == both;
        painter->fillRect(option.rect, SkyrunColor(marked ? SkyrunSelectedLineColor : SkyrunPanelColor));
        painter->setFont(option.font);
        painter->setPen(Qt::black);
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data().toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {0, 12}; }
};

TSkyrunBar *BarIn(QWidget *panel, const char *name, unsigned color)
{
    auto *bar = new TSkyrunBar(panel);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(0, panel->height() - BarHeight, panel->width(), BarHeight);
    bar->SetBarColor(SkyrunColor(color));
    bar->SetBackgroundColor(SkyrunColor(color));
    bar->SetMax(100);
    return bar;
}

void SetScaledMax(TSkyrunBar *bar, qint64 max)
{
    bar->SetMax(max);
    bar->SetBackgroundColor(SkyrunColor(max >= 1 ? SkyrunScaledBackground : SkyrunPanelColor));
}

} // namespace

QColor SkyrunColor(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF), static_cast<int>(bgr >> 16 & 0xFF));
}

struct TForm1::Private
{
    QWidget *serverPanel = nullptr;
    QLabel *serverLine = nullptr;
    QLabel *currentFileLine = nullptr;
    QLabel *overallLine = nullptr;
    TSkyrunBar *fileBar = nullptr;
    TSkyrunBar *overallBar = nullptr;
    QListWidget *messages = nullptr;
    qint64 expectedSize = 0;
    bool inTransfer = false;
    QDateTime transferStart;
    std::function<void()> onActivate;
    bool activated = false;
    bool running = false;
};

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , d(std::make_unique<Private>())
{
    Platform::RegisterFontSubstitutions();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("파일버전관리"));
    setFixedSize(MainClientWidth, MainClientHeight);
    setFont(Platform::GulimChe(13));

    d->serverPanel = Panel(this, "Panel1", QRect(0, 0, MainClientWidth, ServerPanelHeight));
    auto *shape = new TextureShape(d->serverPanel);
    shape->setGeometry(0, 0, MainClientWidth + 1, ServerPanelHeight + 1);
    BulletIn(d->serverPanel);
    d->serverLine = LineIn(d->serverPanel, "lblServer", {}, Qt::white);
    auto *closeButton = new QToolButton(d->serverPanel);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    closeButton->setGeometry(MainClientWidth - 22, 4, 18, 18);
    closeButton->setText(QStringLiteral("×"));
    closeButton->hide();
    connect(closeButton, &QToolButton::clicked, this, &QWidget::close);

    QWidget *filePanel = Panel(this, "Panel2", QRect(0, ServerPanelHeight, MainClientWidth, FilePanelHeight));
    BulletIn(filePanel);
    d->currentFileLine = LineIn(filePanel, "lblCurrentFile", QStringLiteral("현재파일:"), Qt::black);
    d->fileBar = BarIn(filePanel, "ProgressBar1", SkyrunFileBarColor);

    QWidget *overallPanel =
        Panel(this, "Panel3", QRect(0, ServerPanelHeight + FilePanelHeight, MainClientWidth, FilePanelHeight));
    BulletIn(overallPanel);
    d->overallLine = LineIn(overallPanel, "lblOverall", QStringLiteral("전체파일:"), Qt::black);
    d->overallBar = BarIn(overallPanel, "ProgressBar2", SkyrunOverallBarColor);

    const int listTop = ServerPanelHeight + 2 * FilePanelHeight;
    d->messages = new QListWidget(this);
    d->messages->setObjectName(QStringLiteral("ListBox1"));
    d->messages->setGeometry(0, listTop, MainClientWidth, MainClientHeight - listTop);
    d->messages->setFrameShape(QFrame::NoFrame);
    d->messages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->messages->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->messages->setUniformItemSizes(true);
    // The window gives no control the focus when shown; the list has it only when clicked.
    d->messages->setFocusPolicy(Qt::ClickFocus);
    d->messages->setFont(Platform::GulimChe(12));
    d->messages->setItemDelegate(new MessageDelegate(d->messages));
    QPalette listPalette = d->messages->palette();
    listPalette.setColor(QPalette::Base, SkyrunColor(SkyrunPanelColor));
    d->messages->setPalette(listPalette);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    RemoveTitleBar();
}

TForm1::~TForm1() = default;

void TForm1::SetServerLine(const QString &text)
{
    d->serverLine->setText(text);
}

QString TForm1::ServerLine() const
{
    return d->serverLine->text();
}

void TForm1::SetCurrentFileLine(const QString &text)
{
    d->currentFileLine->setText(text);
}

QString TForm1::CurrentFileLine() const
{
    return d->currentFileLine->text();
}

void TForm1::SetOverallLine(const QString &text)
{
    d->overallLine->setText(text);
}

QString TForm1::OverallLine() const
{
    return d->overallLine->text();
}

void TForm1::AddMessage(const QString &text)
{
    d->messages->addItem(text);
    d->messages->setCurrentRow(d->messages->count() - 1);
    d->messages->scrollToBottom();
}

QStringList TForm1::Messages() const
{
    QStringList lines;
    for (int i = 0; i < d->messages->count(); ++i)
        lines.append(d->messages->item(i)->text());
    return lines;
}

TSkyrunBar *TForm1::FileBar() const
{
    return d->fileBar;
}

TSkyrunBar *TForm1::OverallBar() const
{
    return d->overallBar;
}

void TForm1::SetFileBarMax(qint64 max)
{
    SetScaledMax(d->fileBar, max);
}

void TForm1::SetOverallBarMax(qint64 max)
{
    SetScaledMax(d->overallBar, max);
}

void TForm1::ResetBarColours()
{
    d->fileBar->SetBackgroundColor(SkyrunColor(SkyrunFileBarColor));
    d->overallBar->SetBackgroundColor(SkyrunColor(SkyrunOverallBarColor));
}

void TForm1::ServerChosen(const QString &host, bool sftp)
{
    SetServerLine(QString::fromUtf8(sftp ? ServerLineSftp : ServerLineFtp).arg(host));
}

void TForm1::OverallStep(qsizetype step, qsizetype count)
{
    d->fileBar->SetPosition(0);
    SetOverallBarMax(count);
    d->overallBar->SetPosition(step);
    SetOverallLine(QString::fromUtf8(OverallFileLine).arg(step).arg(count));
}

void TForm1::ExpectSize(qint64 size)
{
    d->expectedSize = std::max<qint64>(size, 0);
    SetFileBarMax(size);
}

qint64 TForm1::ExpectedSize() const
{
    return d->expectedSize;
}

void TForm1::FileStarted(const QString &name)
{
    SetCurrentFileLine(QString::fromUtf8(::CurrentFileLine).arg(name));
    QCoreApplication::processEvents();
}

void TForm1::TransferStarted(qint64 maximum)
{
    d->inTransfer = true;
    d->transferStart = QDateTime::currentDateTime();
    SetFileBarMax(maximum > 0 ? maximum : d->expectedSize);
}

void TForm1::Transferred(qint64 count)
{
    d->fileBar->SetPosition(count);
}

void TForm1::TransferEnded()
{
    d->expectedSize = 0;
    d->inTransfer = false;
    d->fileBar->SetPosition(0);
}

bool TForm1::InTransfer() const
{
    return d->inTransfer;
}

void TForm1::TransferredOf(std::uint64_t done, std::uint64_t total)
{
    qint64 position = 0;
    if (total != 0) {
        const long double exact = static_cast<long double>(d->fileBar->Max()) * static_cast<long double>(done)
            / static_cast<long double>(total);
        position = static_cast<qint64>(std::nearbyint(exact)); // the default rounding: halves to even
    }
    d->fileBar->SetPosition(position);
    QCoreApplication::processEvents();
}

void TForm1::DownloadsDone()
{
    d->fileBar->SetPosition(0);
    d->overallBar->SetPosition(0);
    SetCurrentFileLine(QString::fromUtf8(::CurrentFileLine).arg(QString()));
    ResetBarColours();
}

void TForm1::RunFailed()
{
    RestoreTitleBar();
}

void TForm1::RunEnded()
{
    close();
}

void TForm1::RemoveTitleBar()
{
    if (!HasTitleBar())
        return;
    const bool visible = isVisible();
    setWindowFlags((windowFlags() & ~(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint))
                   | Qt::CustomizeWindowHint);
    if (visible)
        show();
    QCoreApplication::processEvents();
}

void TForm1::RestoreTitleBar()
{
    if (HasTitleBar())
        return;
    const bool visible = isVisible();
    setWindowFlags(windowFlags() | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (visible)
        show();
    QCoreApplication::processEvents();
}

bool TForm1::HasTitleBar() const
{
    return windowFlags().testFlag(Qt::WindowTitleHint);
}

void TForm1::SetOnActivate(std::function<void()> run)
{
    d->onActivate = std::move(run);
}

void TForm1::Activate()
{
    if (d->activated || !d->onActivate)
        return;
    d->activated = true;
    d->running = true;
    // Nothing may leave an event handler: a failure the run did not report itself
    // becomes a line of the list, like every other failure.
    try {
        d->onActivate();
    } catch (const std::exception &error) {
        AddMessage(QString::fromUtf8(error.what()));
    } catch (...) {
        AddMessage(QStringLiteral("Unknown error"));
    }
    d->running = false;
}

bool TForm1::Running() const
{
    return d->running;
}

bool TForm1::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        Activate();
    return handled;
}
