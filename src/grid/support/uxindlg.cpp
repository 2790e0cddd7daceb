#include "grid/uxindlg.h"
#include "grid/support/uxindlg_p.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int BorderWidth = 1;
constexpr int ContentMargin = 2;
constexpr int MinimumWidth = 100;
constexpr int MinimumHeight = 50;

Qt::CursorShape SizingCursor(Qt::Edges edges)
{
    if (edges == (Qt::RightEdge | Qt::BottomEdge))
        return Qt::SizeFDiagCursor;
    return edges == Qt::RightEdge ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

TwInDlg::TwInDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , d(std::make_unique<TwInDlgPrivate>())
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(BorderWidth, BorderWidth, BorderWidth, BorderWidth);
    layout->setSpacing(0);

    d->m_mainPanel = new QFrame(this);
    d->m_mainPanel->setObjectName(QStringLiteral("MainPanel"));
    d->m_mainLayout = new QVBoxLayout(d->m_mainPanel);
    d->m_mainLayout->setContentsMargins(ContentMargin, ContentMargin, ContentMargin, ContentMargin);
    layout->addWidget(d->m_mainPanel, 1);

    d->m_buttonPanel = new QWidget(this);
    d->m_buttonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    d->m_buttonPanel->setFixedHeight(ButtonPanelHeight);
    d->m_buttonLayout = new QHBoxLayout(d->m_buttonPanel);
    d->m_buttonLayout->setContentsMargins(0, 0, 0, 0);
    d->m_buttonLayout->setSpacing(0);
    d->m_buttonLayout->addStretch(1);
    layout->addWidget(d->m_buttonPanel);

    for (QWidget *widget : { static_cast<QWidget *>(this), static_cast<QWidget *>(d->m_mainPanel), d->m_buttonPanel })
        widget->setMouseTracking(true);
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(DefaultWidth + 2 * BorderWidth, DefaultHeight + 2 * BorderWidth);
}

TwInDlg::~TwInDlg()
{
    if (d->m_cursorShown)
        QApplication::restoreOverrideCursor();
}

QFrame *TwInDlg::MainPanel() const { return d->m_mainPanel; }

QWidget *TwInDlg::ButtonPanel() const { return d->m_buttonPanel; }

QToolButton *TwInDlg::AddButton(const QString &caption, const QString &name)
{
    auto *button = new QToolButton(d->m_buttonPanel);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    QFont font = button->font();
    font.setBold(true);
    font.setItalic(true);
    button->setFont(font);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    button->setPalette(palette);
    button->setMinimumWidth(56);
    // The stretch stays last: the buttons line up from the left.
    d->m_buttonLayout->insertWidget(d->m_buttonLayout->count() - 1, button);
    return button;
}

void TwInDlg::SetContent(QWidget *content)
{
    content->setParent(d->m_mainPanel);
    // The pointer over the content is followed too, so the sizing cursor goes when it leaves an edge.
    content->setMouseTracking(true);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(content))
        area->viewport()->setMouseTracking(true);
    d->m_mainLayout->addWidget(content, 1);
}

int TwInDlg::ShowAt(const QRect &cell, QWidget *cellOwner)
{
    move(cellOwner ? cellOwner->mapToGlobal(cell.topLeft()) : cell.topLeft());
    return exec();
}

void TwInDlg::showEvent(QShowEvent *event)
{
    // Sizing is seen from every widget of the popup, including those the content adds later.
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

void TwInDlg::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    d->m_sizing = {};
    if (d->m_cursorShown) {
        QApplication::restoreOverrideCursor();
        d->m_cursorShown = false;
    }
    QDialog::hideEvent(event);
}

bool TwInDlg::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::Leave:
        // The pointer left the popup: no sizing cursor outside it.
        if (watched == this && d->m_cursorShown && !d->m_sizing) {
            QApplication::restoreOverrideCursor();
            d->m_cursorShown = false;
        }
        break;
    case QEvent::KeyPress:
        // Escape cancels whichever control has the focus.
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && !static_cast<QKeyEvent *>(event)->modifiers()) {
            reject();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        if (d->m_sizing) {
            const QPoint delta = global - d->m_pressGlobal;
            QSize size = d->m_pressSize;
            if (d->m_sizing & Qt::RightEdge)
                size.rwidth() += delta.x();
            if (d->m_sizing & Qt::BottomEdge)
                size.rheight() += delta.y();
            resize(size.expandedTo(minimumSize()));
            if (event->type() == QEvent::MouseButtonRelease)
                d->m_sizing = {};
            return true;
        }
        const QPoint local = mapFromGlobal(global);
        Qt::Edges edges;
        if (rect().contains(local)) {
            if (local.x() >= width() - SizingBorder)
                edges |= Qt::RightEdge;
            if (local.y() >= height() - SizingBorder)
                edges |= Qt::BottomEdge;
        }
        if (event->type() == QEvent::MouseMove && mouse->buttons() == Qt::NoButton) {
            if (edges && !d->m_cursorShown)
                QApplication::setOverrideCursor(SizingCursor(edges));
            else if (edges)
                QApplication::changeOverrideCursor(SizingCursor(edges));
            else if (d->m_cursorShown)
                QApplication::restoreOverrideCursor();
            d->m_cursorShown = bool(edges);
            break;
        }
        if (event->type() != QEvent::MouseButtonPress || mouse->button() != Qt::LeftButton || !edges)
            break;
        // A window manager sizes the window itself when it can; without one the drag is ours.
        if (QWindow *window = windowHandle(); window && window->startSystemResize(edges))
            return true;
        d->m_sizing = edges;
        d->m_pressGlobal = global;
        d->m_pressSize = size();
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TwInDlg::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The thin window border.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
