#include "grid/uxnedit.h"

#include "grid/uxgraphics.h"
#include "grid/uxlocale.h"
#include "grid/support/uxnedit_p.h"
#include "grid/uxutils.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <climits>
#include <cmath>
#include <vector>

using namespace UXNEdit;

TwCustomNumEdit::TwCustomNumEdit(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    resize(121, 21);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
}

TwCustomNumEdit::~TwCustomNumEdit() = default;

bool TwCustomNumEdit::AutoSelect() const { return d->autoSelect; }
void TwCustomNumEdit::SetAutoSelect(bool value) { d->autoSelect = value; }
TwBorderStyle TwCustomNumEdit::BorderStyle() const { return d->borderStyle; }
bool TwCustomNumEdit::Ctl3D() const { return d->ctl3D; }
bool TwCustomNumEdit::EnableNull() const { return d->enableNull; }
void TwCustomNumEdit::SetEnableNull(bool value) { d->enableNull = value; }
TwTextLayout TwCustomNumEdit::Layout() const { return d->layout; }
int TwCustomNumEdit::MaxLength() const { return d->maxLength; }
double TwCustomNumEdit::MaxValue() const { return d->maxValue; }
double TwCustomNumEdit::MinValue() const { return d->minValue; }
int TwCustomNumEdit::Precision() const { return d->precision; }
bool TwCustomNumEdit::ReadOnly() const { return d->readOnly; }
void TwCustomNumEdit::SetReadOnly(bool value) { d->readOnly = value; }
bool TwCustomNumEdit::Spinner() const { return d->spinner; }
bool TwCustomNumEdit::Spinner3D() const { return d->spinner3D; }
bool TwCustomNumEdit::ThousandSep() const { return d->thousandSep; }

void TwCustomNumEdit::SetBorderStyle(TwBorderStyle value)
{
    d->borderStyle = value == bsNone ? bsNone : bsSingle;
    update();
}

void TwCustomNumEdit::SetCtl3D(bool value)
{
    d->ctl3D = value;
    update();
}

void TwCustomNumEdit::SetLayout(TwTextLayout value)
{
    d->layout = value > tlBottom ? tlBottom : value;
    update();
}

void TwCustomNumEdit::SetMaxLength(int value)
{
    value = qMax(0, value);
    if (value > 0 && value < d->precision)
        value = d->precision;
    if (value == d->maxLength)
        return;
    d->maxLength = value;
    if (!IsNull())
        SetValue(Value());
}

void TwCustomNumEdit::SetMaxValue(double value)
{
    if (std::isfinite(value))
        d->maxValue = value;
}

void TwCustomNumEdit::SetMinValue(double value)
{
    if (std::isfinite(value))
        d->minValue = value;
}

void TwCustomNumEdit::SetPrecision(int value)
{
    value = qBound(0, value, MaxPrecision);
    if (d->maxLength > 0)
        value = qMin(value, d->maxLength);
    if (value == d->precision)
        return;
    d->precision = value;
    if (!IsNull())
        SetValue(Value());
}

void TwCustomNumEdit::SetSpinner(bool value)
{
    d->spinner = value;
    update();
}

void TwCustomNumEdit::SetSpinner3D(bool value)
{
    d->spinner3D = value;
    update();
}

void TwCustomNumEdit::SetThousandSep(bool value)
{
    d->thousandSep = value;
    update();
}

double TwCustomNumEdit::Value() const
{
    return RawValue(d->raw) * d->sign;
}

void TwCustomNumEdit::SetValue(double value)
{
    if (!std::isfinite(value))
        return;
    const QString before = d->raw;
    const double oldValue = Value();
    d->raw = FormatRaw(std::fabs(value), d->precision);
    d->sign = value >= 0 ? 1 : -1;
    d->caret = d->Length();
    d->Deselect();
    update();
    if (d->raw != before || Value() != oldValue)
        Changed();
}

bool TwCustomNumEdit::IsNull() const
{
    return d->raw.isEmpty();
}

void TwCustomNumEdit::Clear()
{
    const bool wasNull = IsNull();
    d->MakeNull();
    update();
    if (!wasNull)
        Changed();
}

QString TwCustomNumEdit::RawText() const { return d->raw; }
int TwCustomNumEdit::Sign() const { return d->sign; }
int TwCustomNumEdit::CaretPos() const { return d->caret; }
int TwCustomNumEdit::SelStart() const { return d->SelLeft(); }
int TwCustomNumEdit::SelEnd() const { return d->SelRight(); }

QString TwCustomNumEdit::DisplayText() const
{
    if (IsNull())
        return {};
    const QString body = MakeDisplay(d->raw, d->precision, d->thousandSep).Text;
    return d->sign < 0 ? QLatin1Char('-') + body : body;
}

QRect TwCustomNumEdit::EditRect() const
{
    int border = 0;
    if (d->borderStyle == bsSingle)
        border = d->ctl3D ? 2 : 1;
    QRect area = rect().adjusted(border, border, -border, -border);
    if (d->spinner)
        area.setRight(area.right() - TXButtonWidth());
    return area;
}

QRect TwCustomNumEdit::SpinRect() const
{
    if (!d->spinner)
        return {};
    const QRect edit = EditRect();
    return QRect(edit.right() + 1, edit.top(), TXButtonWidth(), edit.height());
}

int TwCustomNumEdit::PosToX(int index) const
{
    const TwDisplay display = MakeDisplay(d->raw, d->precision, d->thousandSep);
    index = qBound(0, index, d->Length());
    const QString after = display.Text.mid(display.RawToDisplay[index]);
    return EditRect().right() - 1 - QFontMetrics(font()).horizontalAdvance(after);
}

int TwCustomNumEdit::XToPos(int x) const
{
    // The display is laid out once and measured from the right, so a click costs one pass
    // over the text however many decimals it has.
    const TwDisplay display = MakeDisplay(d->raw, d->precision, d->thousandSep);
    const QFontMetrics metrics(font());
    std::vector<int> widthAfter(static_cast<std::size_t>(display.Text.size()) + 1, 0);
    for (qsizetype k = display.Text.size() - 1; k >= 0; --k)
        widthAfter[static_cast<std::size_t>(k)] =
            widthAfter[static_cast<std::size_t>(k) + 1] + metrics.horizontalAdvance(display.Text.at(k));
    const int right = EditRect().right() - 1;
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i <= d->Length(); ++i) {
        const auto at = static_cast<std::size_t>(display.RawToDisplay[i]);
        const int distance = std::abs(right - widthAfter[std::min(at, widthAfter.size() - 1)] - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void TwCustomNumEdit::SelectAll(bool integerPartOnly)
{
    if (IsNull())
        return;
    d->selecting = true;
    d->anchor = 0;
    d->selEnd = integerPartOnly ? d->ZeroPos() : d->Length();
    d->caret = d->selEnd;
    update();
}

void TwCustomNumEdit::ClearSelection()
{
    d->Deselect();
    update();
}

void TwCustomNumEdit::DeleteSelection()
{
    if (!d->HasSelection())
        return;
    const QString before = d->raw;
    d->RemoveSelection();
    update();
    if (d->raw != before)
        Changed();
}

void TwCustomNumEdit::CopyToClipboard()
{
    if (!d->HasSelection())
        return;
    QApplication::clipboard()->setText(d->raw.mid(d->SelLeft(), d->SelRight() - d->SelLeft()));
}

void TwCustomNumEdit::CutToClipboard()
{
    CopyToClipboard();
    if (CanModify())
        DeleteSelection();
}

void TwCustomNumEdit::PasteFromClipboard()
{
    // The raw text follows the typing rules only; pasted text is not taken over.
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return;
}

double TwCustomNumEdit::CheckValue(double value) const
{
    if (!d->HasRange())
        return value;
    if (value > d->maxValue)
        return d->maxValue;
    if (value < d->minValue)
        return d->minValue;
    return value;
}

void TwCustomNumEdit::SpinClick(int delta)
{
    if (!CanModify())
        return;
    bool accept = true;
    emit OnSpinClick(this, delta, accept);
    if (!accept)
        return;
    SetValue(CheckValue(Value() + delta));
}

QSize TwCustomNumEdit::sizeHint() const
{
    return {121, 21};
}

void TwCustomNumEdit::ErrBeep()
{
    TXErrBeep();
}

void TwCustomNumEdit::Changed()
{
    emit OnChange();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, IsNull() ? QVariant() : QVariant(Value()));
        QAccessible::updateAccessibility(&event);
    }
}

bool TwCustomNumEdit::CanModify() const
{
    return !d->readOnly && isEnabled();
}

void TwCustomNumEdit::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect whole = rect();
    p.fillRect(whole, palette().color(QPalette::Base));
    if (d->borderStyle == bsSingle && d->ctl3D) {
        // The sunken client edge: shadow over dark shadow at the top left, highlight over
        // face at the bottom right.
        const auto edge = [&p](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
            p.setPen(topLeft);
            p.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
            p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
            p.setPen(bottomRight);
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        };
        edge(whole, TXColor(clBtnShadow), TXColor(clBtnHighlight));
        edge(whole.adjusted(1, 1, -1, -1), QColor(Qt::black), TXColor(clBtnFace));
    } else if (d->borderStyle == bsSingle) {
        p.setPen(QColor(Qt::black));
        p.drawRect(whole.adjusted(0, 0, -1, -1));
    }
    if (d->spinner)
        TXDrawSpinButton(&p, SpinRect(), d->spinPressed, !d->spinner3D, isEnabled());

    const QRect edit = EditRect();
    p.setClipRect(edit);
    p.setFont(font());
    const QFontMetrics metrics(font());
    const int charHeight = metrics.height();
    int top = edit.top();
    if (d->layout == tlCenter)
        top += (edit.height() - charHeight) / 2;
    else if (d->layout == tlBottom)
        top = edit.bottom() + 1 - charHeight;
    const int baseline = top + metrics.ascent();

    if (!IsNull()) {
        const QString body = MakeDisplay(d->raw, d->precision, d->thousandSep).Text;
        const int left = PosToX(0);
        const QColor text = isEnabled() ? palette().color(QPalette::Text) : TXColor(clGray);
        p.setPen(text);
        if (d->sign < 0)
            p.drawText(left - metrics.horizontalAdvance(QLatin1Char('-')), baseline, QStringLiteral("-"));
        p.drawText(left, baseline, body);
        if (hasFocus() && d->HasSelection()) {
            const int x1 = PosToX(d->SelLeft());
            const int x2 = PosToX(d->SelRight());
            const QRect band(x1, top, x2 - x1, charHeight);
            p.fillRect(band, palette().color(QPalette::Highlight));
            p.save();
            p.setClipRect(band & edit);
            p.setPen(palette().color(QPalette::HighlightedText));
            p.drawText(left, baseline, body);
            p.restore();
        }
    }
    if (hasFocus() && d->caretShown) {
        const int x = IsNull() ? edit.right() - 1 : PosToX(d->caret);
        p.setPen(palette().color(QPalette::Text));
        p.drawLine(x, top, x, top + charHeight - 1);
    }
}

void TwCustomNumEdit::keyPressEvent(QKeyEvent *event)
{
    ShowCaret();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto move = [this, shift](int position) {
        position = qBound(0, position, d->Length());
        if (shift) {
            if (!d->HasSelection()) {
                d->selecting = true;
                d->anchor = d->caret;
            }
            d->selEnd = position;
        }
        d->caret = position;
        if (!shift)
            d->Deselect();
        update();
    };
    const QString before = d->raw;
    const int signBefore = d->sign;
    const auto finish = [&] {
        update();
        if (d->raw != before || (d->sign != signBefore && Value() != 0))
            Changed();
    };

    switch (event->key()) {
    case Qt::Key_Left:
        move(d->caret - 1);
        return;
    case Qt::Key_Right:
        move(d->caret + 1);
        return;
    case Qt::Key_Home:
        move(0);
        return;
    case Qt::Key_End:
        move(d->Length());
        return;
    case Qt::Key_Insert:
        if (ctrl)
            CopyToClipboard();
        else if (shift)
            PasteFromClipboard();
        return;
    case Qt::Key_Delete:
        if (ctrl) {
            CutToClipboard();
            return;
        }
        if (CanModify()) {
            if (d->HasSelection())
                d->RemoveSelection();
            else
                d->DeleteKey();
            finish();
        }
        return;
    case Qt::Key_Backspace:
        if (CanModify()) {
            if (d->HasSelection())
                d->RemoveSelection();
            else
                d->BackspaceKey();
            finish();
        }
        return;
    default:
        break;
    }
    if (ctrl) {
        if (event->key() == Qt::Key_C)
            CopyToClipboard();
        else if (event->key() == Qt::Key_X)
            CutToClipboard();
        else if (event->key() == Qt::Key_V)
            PasteFromClipboard();
        else
            QWidget::keyPressEvent(event);
        return;
    }

    const QString text = event->text();
    if (text.size() != 1) {
        QWidget::keyPressEvent(event);
        return;
    }
    QChar ch = text.at(0);
    if (ch == TwLocale::Current().DecimalSeparator)
        ch = QLatin1Char('.');
    const bool valid = ch == QLatin1Char('-') || IsDigit(ch) || (ch == QLatin1Char('.') && d->precision > 0);
    if (!valid) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!CanModify())
        return;

    if (ch == QLatin1Char('-')) {
        if (d->HasRange() && d->minValue >= 0 && d->sign == 1) {
            ErrBeep();
            return;
        }
        d->Deselect();
        d->sign = -d->sign;
        finish();
        return;
    }
    if (ch == QLatin1Char('.')) {
        if (IsNull())
            return;
        d->Deselect();
        d->caret = d->caret <= d->ZeroPos() ? d->ZeroPos() + 1 : d->ZeroPos();
        update();
        return;
    }
    // A refused digit leaves everything as it was, the selection included.
    const Private::Snapshot saved = d->Save();
    const bool typed = d->TypeDigit(ch);
    if (!typed || !d->Holds(d->raw, saved.raw)) {
        if (!typed && d->precision == 0 && d->raw == saved.raw) {
            // Full text of an integer edit: the caret still steps on.
            d->selecting = false;
        } else {
            d->Restore(saved);
        }
        ErrBeep();
        update();
        return;
    }
    finish();
}

void TwCustomNumEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (d->spinner && SpinRect().contains(at)) {
        const QRect spin = SpinRect();
        d->spinPressed = at.y() < spin.top() + spin.height() / 2 ? 1 : -1;
        update();
        SpinClick(d->spinPressed);
        return;
    }
    ShowCaret();
    d->caret = XToPos(at.x());
    d->selecting = true;
    d->anchor = d->selEnd = d->caret;
    d->mouseSelecting = true;
    update();
}

void TwCustomNumEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (!d->mouseSelecting)
        return;
    d->caret = d->selEnd = XToPos(event->position().toPoint().x());
    update();
}

void TwCustomNumEdit::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    d->mouseSelecting = false;
    if (d->spinPressed != 0) {
        d->spinPressed = 0;
        update();
    }
}

void TwCustomNumEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (d->spinner && SpinRect().contains(event->position().toPoint())) {
        mousePressEvent(event);
        return;
    }
    SelectAll(false);
}

void TwCustomNumEdit::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    ShowCaret();
    if (d->autoSelect)
        SelectAll(true);
    update();
}

void TwCustomNumEdit::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    d->caretBlink.stop();
    d->mouseSelecting = false;
    update();
    if (IsNull() && d->enableNull)
        return;
    SetValue(CheckValue(Value()));
}

void TwCustomNumEdit::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != d->caretBlink.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    d->caretShown = !d->caretShown;
    update();
}

void TwCustomNumEdit::ShowCaret()
{
    d->caretShown = true;
    // A flash time of 0 (or less) means the caret does not blink.
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
        d->caretBlink.start(flash / 2, this);
    else
        d->caretBlink.stop();
    update();
}
