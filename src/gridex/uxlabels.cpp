#include "gridex/uxlabels.h"

#include "gridex/uxaccessible_p.h"
#include "grid/uxgraphics.h"
#include "grid/uxlocale.h"
#include "grid/uxutils.h"
#include "platform/texception.h"

#include <QAccessible>
#include <QEvent>
#include <QImage>
#include <QKeySequence>
#include <QPainter>

#include <cmath>
#include <QPointer>
#include <QShortcutEvent>

namespace {

// One off-screen bitmap for the word-wrapped text of all labels; it only grows.
int g_labelCount = 0;
QImage *g_wrapBitmap = nullptr;

QImage &WrapBitmap(const QSize &atLeast)
{
    const QSize held = g_wrapBitmap ? g_wrapBitmap->size() : QSize();
    if (!g_wrapBitmap || held.width() < atLeast.width() || held.height() < atLeast.height()) {
        delete g_wrapBitmap;
        g_wrapBitmap = new QImage(held.expandedTo(atLeast), QImage::Format_ARGB32_Premultiplied);
    }
    return *g_wrapBitmap;
}

// Windows' line drawing: the start point is painted, the end point is not. Only the
// horizontal, vertical and diagonal lines the labels use.
void DrawLineExclusive(QPainter &p, int x1, int y1, int x2, int y2)
{
    const int steps = qMax(qAbs(x2 - x1), qAbs(y2 - y1));
    if (steps == 0)
        return;
    const int dx = (x2 - x1) / steps;
    const int dy = (y2 - y1) / steps;
    p.drawLine(x1, y1, x2 - dx, y2 - dy);
}

} // namespace

struct TwCustomLabel::Private
{
    TwAlignment alignment = taCenter;
    TwLabelBorderStyle borderStyle = mlbsRaised;
    TColor borderColor = clBlack;
    quint16 borderWidth = 1;
    bool chima = false;
    TColor chimaColor = clNavy;
    TColor color = clBtnFace;
    QPointer<QWidget> focusControl;
    QMetaObject::Connection focusControlGone;
    TwTextLayout layout = tlCenter;
    QMargins margins { 1, 1, 1, 1 };
    QChar passwordChar;
    bool shadow = false;
    TColor shadowColor = clBtnShadow;
    bool showAccelChar = false;
    bool transparent = false;
    bool wordWrap = false;
    bool loading = false;
    int shortcutId = 0;
};

TwCustomLabel::TwCustomLabel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    ++g_labelCount;
    resize(121, 20);
}

TwCustomLabel::~TwCustomLabel()
{
    if (--g_labelCount == 0) {
        delete g_wrapBitmap;
        g_wrapBitmap = nullptr;
    }
}

QSize TwCustomLabel::sizeHint() const { return { 121, 20 }; }

TwAlignment TwCustomLabel::Alignment() const { return d->alignment; }

void TwCustomLabel::SetAlignment(TwAlignment value)
{
    if (value == d->alignment)
        return;
    d->alignment = value;
    update();
}

TwLabelBorderStyle TwCustomLabel::BorderStyle() const { return d->borderStyle; }

void TwCustomLabel::SetBorderStyle(TwLabelBorderStyle value)
{
    if (value == d->borderStyle)
        return;
    d->borderStyle = value;
    update();
}

TColor TwCustomLabel::BorderColor() const { return d->borderColor; }

void TwCustomLabel::SetBorderColor(TColor value)
{
    if (value == d->borderColor)
        return;
    d->borderColor = value;
    if (d->borderStyle == mlbsLine)
        update();
}

quint16 TwCustomLabel::BorderWidth() const { return d->borderWidth; }

void TwCustomLabel::SetBorderWidth(quint16 value)
{
    if (value == d->borderWidth)
        return;
    d->borderWidth = value;
    if (d->borderStyle == mlbsLine)
        update();
}

bool TwCustomLabel::Chima() const { return d->chima; }

void TwCustomLabel::SetChima(bool value)
{
    if (value == d->chima)
        return;
    d->chima = value;
    update();
}

TColor TwCustomLabel::ChimaColor() const { return d->chimaColor; }

void TwCustomLabel::SetChimaColor(TColor value)
{
    if (value == d->chimaColor)
        return;
    d->chimaColor = value;
    update();
}

TColor TwCustomLabel::Color() const { return d->color; }

void TwCustomLabel::SetColor(TColor value)
{
    if (value == d->color)
        return;
    d->color = value;
    update();
}

QWidget *TwCustomLabel::FocusControl() const { return d->focusControl; }

void TwCustomLabel::SetFocusControl(QWidget *control)
{
    if (control == d->focusControl)
        return;
    disconnect(d->focusControlGone);
    QWidget *previous = d->focusControl;
    d->focusControl = control;
    TXNameLabelledControl(this, control, previous);
    // A destroyed focus control is forgotten, and its accelerator with it.
    if (control)
        d->focusControlGone = connect(control, &QObject::destroyed, this, [this] {
            d->focusControl = nullptr;
            UpdateAccelerator();
        });
    UpdateAccelerator();
}

TwTextLayout TwCustomLabel::Layout() const { return d->layout; }

void TwCustomLabel::SetLayout(TwTextLayout value)
{
    if (value == d->layout)
        return;
    d->layout = value;
    update();
}

QMargins TwCustomLabel::Margins() const { return d->margins; }

void TwCustomLabel::SetMargins(const QMargins &margins)
{
    if (margins == d->margins)
        return;
    d->margins = margins;
    update();
}

void TwCustomLabel::SetMarginLeft(int value)
{
    SetMargins(QMargins(value, d->margins.top(), d->margins.right(), d->margins.bottom()));
}

void TwCustomLabel::SetMarginTop(int value)
{
    SetMargins(QMargins(d->margins.left(), value, d->margins.right(), d->margins.bottom()));
}

void TwCustomLabel::SetMarginRight(int value)
{
    SetMargins(QMargins(d->margins.left(), d->margins.top(), value, d->margins.bottom()));
}

void TwCustomLabel::SetMarginBottom(int value)
{
    SetMargins(QMargins(d->margins.left(), d->margins.top(), d->margins.right(), value));
}

QChar TwCustomLabel::PasswordChar() const { return d->passwordChar; }

void TwCustomLabel::SetPasswordChar(QChar value)
{
    if (value == d->passwordChar)
        return;
    d->passwordChar = value;
    UpdateAccelerator();
    update();
}

bool TwCustomLabel::Shadow() const { return d->shadow; }

void TwCustomLabel::SetShadow(bool value)
{
    if (value == d->shadow)
        return;
    d->shadow = value;
    update();
}

TColor TwCustomLabel::ShadowColor() const { return d->shadowColor; }

void TwCustomLabel::SetShadowColor(TColor value)
{
    if (value == d->shadowColor)
        return;
    d->shadowColor = value;
    if (d->shadow)
        update();
}

bool TwCustomLabel::ShowAccelChar() const { return d->showAccelChar; }

void TwCustomLabel::SetShowAccelChar(bool value)
{
    if (value == d->showAccelChar)
        return;
    d->showAccelChar = value;
    UpdateAccelerator();
    update();
}

bool TwCustomLabel::Transparent() const { return d->transparent; }

void TwCustomLabel::SetTransparent(bool value)
{
    if (value == d->transparent)
        return;
    d->transparent = value;
    update();
}

bool TwCustomLabel::WordWrap() const { return d->wordWrap; }

void TwCustomLabel::SetWordWrap(bool value)
{
    if (value == d->wordWrap)
        return;
    d->wordWrap = value;
    update();
}

bool TwCustomLabel::IsLoading() const { return d->loading; }

void TwCustomLabel::SetLoading(bool value) { d->loading = value; }

void TwCustomLabel::TextChanged()
{
    UpdateAccelerator();
    TXNameLabelledControl(this, d->focusControl, nullptr);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

QString TwCustomLabel::PaintedText() const
{
    const QString text = GetLabelText();
    if (d->passwordChar >= QLatin1Char('!'))
        return QString(text.size(), d->passwordChar);
    if (text.isEmpty() || (d->showAccelChar && text == QLatin1String("&")))
        return text + QLatin1Char(' ');
    return text;
}

void TwCustomLabel::UpdateAccelerator()
{
    if (d->shortcutId != 0) {
        releaseShortcut(d->shortcutId);
        d->shortcutId = 0;
    }
    if (!d->focusControl || !d->showAccelChar || d->passwordChar >= QLatin1Char('!'))
        return;
    const QKeySequence key = QKeySequence::mnemonic(GetLabelText());
    if (!key.isEmpty())
        d->shortcutId = grabShortcut(key);
}

bool TwCustomLabel::event(QEvent *event)
{
    if (event->type() != QEvent::Shortcut)
        return QWidget::event(event);
    auto *shortcut = static_cast<QShortcutEvent *>(event);
    if (shortcut->shortcutId() != d->shortcutId || d->shortcutId == 0)
        return QWidget::event(event);
    QWidget *control = d->focusControl;
    if (isEnabled() && control && control->isEnabled() && control->isVisible() && control->focusPolicy() != Qt::NoFocus)
        control->setFocus(Qt::ShortcutFocusReason);
    event->accept();
    return true;
}

namespace {

struct TextPainting
{
    QString Text;
    int Flags;
    TwTextLayout Layout;
    bool Enabled;
    bool Shadow;
    QColor ShadowColor;
    QColor TextColor;
};

void DrawLabelText(QPainter &p, QRect rect, const TextPainting &t)
{
    const int height = TXGetStrHeight(p.font(), rect, t.Text, t.Flags);
    if (t.Layout == tlCenter)
        rect.setTop(rect.top() + (rect.height() - height) / 2);
    else if (t.Layout == tlBottom)
        rect.setTop(rect.bottom() + 1 - height);
    if (!t.Enabled) {
        p.setPen(TXColor(clBtnHighlight));
        p.drawText(rect.translated(1, 1), t.Flags, t.Text);
        p.setPen(TXColor(clBtnShadow));
        p.drawText(rect, t.Flags, t.Text);
        return;
    }
    if (t.Shadow) {
        p.setPen(t.ShadowColor);
        p.drawText(rect.translated(1, 1), t.Flags, t.Text);
    }
    p.setPen(t.TextColor);
    p.drawText(rect, t.Flags, t.Text);
}

} // namespace

void TwCustomLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    QRect r = rect();

    switch (d->borderStyle) {
    case mlbsLine:
        p.setPen(TXColor(d->borderColor));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < d->borderWidth && r.width() > 0 && r.height() > 0; ++i) {
            p.drawRect(r.adjusted(0, 0, -1, -1));
            r.adjust(1, 1, -1, -1);
        }
        break;
    case mlbsRaised:
        TXEffect3D(&p, r, true, true);
        r.adjust(1, 1, -1, -1);
        break;
    case mlbsSunken:
        TXEffect3D(&p, r, false, true);
        r.adjust(1, 1, -1, -1);
        break;
    case mlbsDeep:
        TXEffect3D(&p, r, false, true);
        r.adjust(1, 1, -1, -1);
        if (r.width() > 0 && r.height() > 0) {
            // The inner edge has no right and bottom side: the label's colour lies there.
            if (!d->transparent)
                p.fillRect(r, TXColor(d->color));
            p.setPen(Qt::black);
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.drawLine(r.left(), r.top(), r.left(), r.bottom());
        }
        r.adjust(1, 1, -1, -1);
        break;
    }

    p.setFont(font());
    if (!d->transparent && r.isValid())
        p.fillRect(r, TXColor(d->color));
    TXInflateMargins(r, d->margins);

    if (r.width() > 0 && r.height() > 0) {
        static const int horizontal[] = { Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter };
        int flags = horizontal[d->alignment] | Qt::TextExpandTabs;
        if (d->showAccelChar)
            flags |= Qt::TextShowMnemonic;
        TextPainting t { PaintedText(), flags, d->layout, isEnabled(), d->shadow, TXColor(d->shadowColor),
            palette().color(QPalette::WindowText) };
        if (!d->wordWrap) {
            t.Flags |= Qt::TextSingleLine;
            DrawLabelText(p, r, t);
        } else {
            t.Flags |= Qt::TextWordWrap;
            QImage &bitmap = WrapBitmap(r.size());
            const QRect b(0, 0, r.width(), r.height());
            {
                QPainter bp(&bitmap);
                bp.setCompositionMode(QPainter::CompositionMode_Source);
                bp.fillRect(b, d->transparent ? QColor(Qt::transparent) : TXColor(d->color));
                bp.setCompositionMode(QPainter::CompositionMode_SourceOver);
                bp.setFont(font());
                DrawLabelText(bp, b, t);
            }
            p.drawImage(r.topLeft(), bitmap, b);
        }
    }

    if (d->chima) {
        const QRect all = rect();
        const int rt = all.right() + 1;
        const int tp = all.top();
        p.setPen(TXColor(d->chimaColor));
        for (int i = 0; i <= 6; ++i)
            DrawLineExclusive(p, rt - i - 1, tp + 1, rt - 1, tp + i + 1);
        p.setPen(Qt::black);
        DrawLineExclusive(p, rt - 8, tp + 1, rt - 1, tp + 8);
    }
}

TwLabel::TwLabel(QWidget *parent)
    : TwCustomLabel(parent)
{
    SetShowAccelChar(true);
}

TwLabel::TwLabel(const QString &caption, QWidget *parent)
    : TwLabel(parent)
{
    SetCaption(caption);
}

void TwLabel::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    TextChanged();
}

TwNumLabel::TwNumLabel(QWidget *parent)
    : TwCustomLabel(parent)
{
    SetAlignment(taRightJustify);
}

void TwNumLabel::SetValue(double value)
{
    // NaN is no number to show (and never equals itself, so it would signal every time).
    if (std::isnan(value) || value == m_value)
        return;
    m_value = value;
    m_isNull = false;
    update();
    if (!IsLoading())
        emit OnChange();
}

void TwNumLabel::SetIsNull(bool value)
{
    if (value == m_isNull)
        return;
    m_isNull = value;
    if (value)
        m_value = 0;
    update();
    if (!IsLoading())
        emit OnChange();
}

void TwNumLabel::SetFormat(const QString &format)
{
    if (format == m_format)
        return;
    m_format = format;
    update();
}

void TwNumLabel::SetPrefix(const QString &prefix)
{
    if (prefix == m_prefix)
        return;
    m_prefix = prefix;
    update();
}

void TwNumLabel::SetSuffix(const QString &suffix)
{
    if (suffix == m_suffix)
        return;
    m_suffix = suffix;
    update();
}

QString TwNumLabel::GetLabelText() const
{
    if (m_isNull)
        return {};
    QString number;
    if (m_format.isEmpty() || TXHasExponent(m_format)) {
        number = TXFloatToText(m_value);
    } else {
        try {
            number = TXFormatFloat(m_format, m_value);
        } catch (const TException &) {
            number = TXFloatToText(m_value);
        }
    }
    return m_prefix + number + m_suffix;
}
