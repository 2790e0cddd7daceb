#include "grid/uxedits.h"

#include "grid/uxutils.h"
#include "platform/texception.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

struct TwCustomEdit::Private
{
    TwAlignment alignment = taLeftJustify;
    TwTextLayout layout = tlTop;
    QMargins margins;
    bool autoSelect = true;
};

TwCustomEdit::TwCustomEdit(QWidget *parent)
    : QLineEdit(parent)
    , d(std::make_unique<Private>())
{
    resize(width(), 20);
    UpdateEditRect();
}

TwCustomEdit::~TwCustomEdit() = default;

TwAlignment TwCustomEdit::Alignment() const { return d->alignment; }

void TwCustomEdit::SetAlignment(TwAlignment value)
{
    if (value == d->alignment)
        return;
    d->alignment = value;
    UpdateEditRect();
}

TwTextLayout TwCustomEdit::Layout() const { return d->layout; }

void TwCustomEdit::SetLayout(TwTextLayout value)
{
    if (value == d->layout)
        return;
    d->layout = value;
    UpdateEditRect();
}

int TwCustomEdit::GetMargin(int side) const
{
    switch (side) {
    case 0:
        return d->margins.left();
    case 1:
        return d->margins.top();
    case 2:
        return d->margins.right();
    case 3:
        return d->margins.bottom();
    default:
        throw TException(QStringLiteral("Margin side bounds error[%1]").arg(side));
    }
}

void TwCustomEdit::SetMargin(int side, int value)
{
    QMargins m = d->margins;
    switch (side) {
    case 0:
        m.setLeft(value);
        break;
    case 1:
        m.setTop(value);
        break;
    case 2:
        m.setRight(value);
        break;
    case 3:
        m.setBottom(value);
        break;
    default:
        throw TException(QStringLiteral("Margin side bounds error[%1]").arg(side));
    }
    SetMargins(m);
}

QMargins TwCustomEdit::Margins() const { return d->margins; }

void TwCustomEdit::SetMargins(const QMargins &margins)
{
    if (margins == d->margins)
        return;
    d->margins = margins;
    UpdateEditRect();
}

TColor TwCustomEdit::Color() const { return TXColorOf(palette().color(QPalette::Base)); }

void TwCustomEdit::SetColor(TColor value)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, TXColor(value));
    setPalette(p);
}

bool TwCustomEdit::TabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }

void TwCustomEdit::SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }

bool TwCustomEdit::AutoSelect() const { return d->autoSelect; }

void TwCustomEdit::SetAutoSelect(bool value) { d->autoSelect = value; }

void TwCustomEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (d->autoSelect)
        selectAll();
    else
        deselect();
}

QRect TwCustomEdit::GetCustomRect() const { return {}; }

void TwCustomEdit::InvalidateCustom()
{
    const QRect custom = GetCustomRect();
    if (!custom.isEmpty())
        update(custom);
}

void TwCustomEdit::DrawCustom(QPainter *, const QRect &) { }

QRect TwCustomEdit::GetEditRect() const
{
    const int charHeight = TXGetCharHeight(font());
    const QRect custom = GetCustomRect();
    const int right = (custom.isEmpty() ? width() : custom.left()) - d->margins.right();
    int top = d->margins.top();
    if (d->layout == tlCenter)
        top = (height() - charHeight) / 2;
    else if (d->layout == tlBottom)
        top = height() - d->margins.bottom() - charHeight;
    return QRect(QPoint(d->margins.left(), top), QPoint(right - 1, top + charHeight - 1));
}

void TwCustomEdit::UpdateEditRect()
{

    // Qt lays the text out inside the style's contents rectangle; the text margins are
    // what is left between it and our one-line rectangle.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QRect edit = GetEditRect();
    setTextMargins(IMax(0, edit.left() - contents.left()), IMax(0, edit.top() - contents.top()),
        IMax(0, contents.right() - edit.right()), IMax(0, contents.bottom() - edit.bottom()));
    static const Qt::Alignment horizontal[] = { Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter };
    setAlignment(horizontal[d->alignment] | Qt::AlignVCenter);
}

void TwCustomEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    UpdateEditRect();
}

void TwCustomEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        UpdateEditRect();
}

void TwCustomEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    const QRect custom = GetCustomRect();
    if (custom.isEmpty())
        return;
    QPainter canvas(this);
    canvas.setFont(font());
    canvas.setClipRect(custom);
    DrawCustom(&canvas, custom);
}

TwCustomMaskEdit::TwCustomMaskEdit(QWidget *parent)
    : TwCustomEdit(parent)
{
    setMouseTracking(true);
}

bool TwCustomMaskEdit::ClaimsEscape(const QKeyEvent *key) const
{
    return key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && !inputMask().isEmpty()
        && isModified();
}

bool TwCustomMaskEdit::event(QEvent *event)
{
    // A modified masked text claims Esc, so a dialog around it does not close: neither as
    // a shortcut nor as the key press a dialog closes on.
    if (event->type() == QEvent::ShortcutOverride && ClaimsEscape(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return TwCustomEdit::event(event);
}

void TwCustomMaskEdit::keyPressEvent(QKeyEvent *event)
{
    if (ClaimsEscape(event)) {
        event->accept();
        return;
    }
    TwCustomEdit::keyPressEvent(event);
}

void TwCustomMaskEdit::mouseMoveEvent(QMouseEvent *event)
{
    const QRect custom = GetCustomRect();
    if (!custom.isEmpty() && custom.contains(event->position().toPoint()))
        setCursor(Qt::ArrowCursor);
    else
        setCursor(Qt::IBeamCursor);
    TwCustomEdit::mouseMoveEvent(event);
}
