// The number editor (number and spin-edit kinds share it) and the date and time editors.

#include "grid/core/ineditors_p.h"

#include "grid/customgrid.h"
#include "grid/columns.h"
#include "grid/uxlocale.h"

#include <QApplication>
#include <QKeyEvent>

#include <limits>

namespace {

void ApplyWidgetLook(QWidget *widget, TwColumn *column)
{
    widget->setFont(column->Font().Font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, TXColor(column->Font().Color));
    palette.setColor(QPalette::Base,
                     column->EditColor() ? TXColor(column->Color()) : QApplication::palette().color(QPalette::Base));
    widget->setPalette(palette);
}

} // namespace

// TwInNumEdit

TwInNumEdit::TwInNumEdit(TwCustomGrid *grid)
    : TwCustomNumEdit(nullptr)
    , TwInEditor(grid)
{
    SetEnableNull(true);
    SetAutoSelect(false);
    connect(this, &TwCustomNumEdit::OnChange, this, [this] {
        if (!m_setting)
            MarkModified();
    });
}

void TwInNumEdit::SetColumn(TwColumn *column)
{
    TwInEditor::SetColumn(column);
    if (!column)
        return;
    m_setting = true;
    SetLayout(column->Layout());
    SetMaxLength(0);
    SetPrecision(column->GetPrecision());
    SetMaxLength(column->MaxLength() > 0 ? std::max(column->MaxLength(), column->GetPrecision()) : 0);
    SetThousandSep(column->HasThousandSep());
    SetSpinner(column->GetEditKind() == wekSpinEdit);
    // The bounds: the column's own range, narrowed to what its storage type holds, so that
    // no typed number is stored by its low bits.
    double low = column->GetMinNum();
    double high = column->GetMaxNum();
    const bool own = low != high;
    double typeLow = 0;
    double typeHigh = 0;
    if (column->ValueRange(typeLow, typeHigh)) {
        low = own ? std::max(low, typeLow) : typeLow;
        high = own ? std::min(high, typeHigh) : typeHigh;
        if (low > high)
            low = high = typeLow;
    }
    SetMinValue(0);
    SetMaxValue(0);
    SetMaxValue(high);
    SetMinValue(low);
    m_setting = false;
}

QVariant TwInNumEdit::Value() const
{
    if (IsNull())
        return {};
    return CheckValue(TwCustomNumEdit::Value());
}

void TwInNumEdit::SetValue(const QVariant &value)
{
    m_setting = true;
    if (value.isNull() || !value.isValid())
        Clear();
    else
        TwCustomNumEdit::SetValue(value.toDouble());
    m_setting = false;
    SetModified(false);
}

void TwInNumEdit::Deselect()
{
    ClearSelection();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    TwCustomNumEdit::keyPressEvent(&end);
}

void TwInNumEdit::ApplyColumn()
{
    TwColumn *column = Column();
    if (!column)
        return;
    SetCtl3D(column->EditBorder() == webSunken);
    SetBorderStyle(column->EditBorder() == webNone ? bsNone : bsSingle);
    ApplyWidgetLook(this, column);
}

void TwInNumEdit::ErrBeep()
{
    Beep();
}

void TwInNumEdit::keyPressEvent(QKeyEvent *event)
{
    TwCustomGrid *grid = Grid();
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool arrowMove = grid->Options().Has(wgoArrowMove);
    const bool selection = SelStart() != SelEnd();
    const bool atLeft = !selection && CaretPos() == 0;
    const bool atRight = !selection && CaretPos() == RawText().size();
    event->accept();
    auto toGrid = [&] { KeyToGrid(key, modifiers); };
    auto mayChange = [&] {
        TwColumn *column = Column();
        if (Modified() || (column && column->EditCanModify()))
            return true;
        Beep();
        return false;
    };
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Home:
        if (arrowMove && (ctrl || atLeft))
            return toGrid();
        break;
    case Qt::Key_Right:
    case Qt::Key_End:
        if (arrowMove && (ctrl || atRight))
            return toGrid();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
    case Qt::Key_F3:
        return toGrid();
    case Qt::Key_Insert:
        // Insert adds a row; Ctrl+Insert and Shift+Insert are the edit's own copy and paste.
        if (!(modifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
            return toGrid();
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!(modifiers & Qt::AltModifier))
            return toGrid();
        break;
    case Qt::Key_F2:
        if (ctrl)
            return toGrid();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return toGrid();
    case Qt::Key_Delete:
        if (ctrl)
            return toGrid();
        if (!mayChange())
            return;
        break;
    case Qt::Key_Backspace:
        if (!mayChange())
            return;
        break;
    default:
        if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) || TwIsPrintableKey(event)) {
            if (!mayChange())
                return;
        }
        break;
    }
    event->ignore();
    TwCustomNumEdit::keyPressEvent(event);
}

// TwInDateEdit

TwInDateEdit::TwInDateEdit(TwCustomGrid *grid, TwDateTimeKind kind)
    : TwCustomDateEdit(nullptr)
    , TwInEditor(grid)
{
    SetKind(kind);
    SetEnableNull(true);
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!m_setting)
            MarkModified();
    });
}

QVariant TwInDateEdit::Value() const
{
    if (IsNull())
        return {};
    // The part the editor does not show (the time of a date, the day of a time) is kept.
    TDateTime keptDate = 0;
    TDateTime keptTime = 0;
    TXDecodeDateTime(m_kept, keptDate, keptTime);
    if (Kind() == dtkTime)
        return TXDateVariant(TXEncodeDateTime(keptDate, TXTimeOf(time())));
    return TXDateVariant(TXEncodeDateTime(TXDateOf(date()), keptTime));
}

void TwInDateEdit::SetValue(const QVariant &value)
{
    m_setting = true;
    m_kept = 0;
    if (value.isNull() || !value.isValid()) {
        SetIsNull(true);
    } else {
        SetIsNull(false);
        if (TXIsDateVariant(value))
            m_kept = value.value<TwDateValue>().Serial;
        else if (value.metaType().id() == QMetaType::QDateTime)
            m_kept = TXEncodeDateTime(TXDateOf(value.toDateTime().date()), TXTimeOf(value.toDateTime().time()));
        else if (value.metaType().id() == QMetaType::QDate)
            m_kept = TXDateOf(value.toDate());
        else if (value.metaType().id() == QMetaType::QTime)
            m_kept = TXTimeOf(value.toTime());
        else
            m_kept = Kind() == dtkTime ? TXTextToTime(value.toString()) : TXTextToDate(value.toString());
        TDateTime day = 0;
        TDateTime clock = 0;
        TXDecodeDateTime(m_kept, day, clock);
        if (Kind() == dtkTime)
            setTime(TXTimeFrom(clock));
        else
            setDate(TXDateFrom(day));
    }
    m_setting = false;
    SetModified(false);
}

void TwInDateEdit::SelectAll()
{
    selectAll();
}

void TwInDateEdit::Deselect()
{
    setSelectedSection(QDateTimeEdit::NoSection);
}

void TwInDateEdit::CompleteText()
{
    if (!hasFocus() || IsNull())
        return;
    m_completing = true;
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    TwCustomDateEdit::keyPressEvent(&left);
    TwCustomDateEdit::keyPressEvent(&right);
    m_completing = false;
}

void TwInDateEdit::ApplyColumn()
{
    TwColumn *column = Column();
    if (!column)
        return;
    setFrame(column->EditBorder() != webNone);
    ApplyWidgetLook(this, column);
}

void TwInDateEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool calendarOpen = QApplication::activePopupWidget() != nullptr;
    if (!m_completing && !GridCompleting() && !calendarOpen) {
        bool toGrid = false;
        switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            toGrid = !alt;
            break;
        case Qt::Key_Insert: // plain Insert only: Ctrl+Insert and Shift+Insert stay the edit's
            toGrid = !(modifiers & (Qt::ControlModifier | Qt::ShiftModifier));
            break;
        case Qt::Key_Escape:
        case Qt::Key_F3:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            toGrid = true;
            break;
        case Qt::Key_Delete:
        case Qt::Key_F2:
            toGrid = ctrl;
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            toGrid = IsNull() || ctrl;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            toGrid = !alt && (IsNull() || !ctrl);
            break;
        default:
            break;
        }
        if (toGrid) {
            event->accept();
            KeyToGrid(key, modifiers);
            return;
        }
        const bool changes = TwIsPrintableKey(event) || key == Qt::Key_Delete || key == Qt::Key_Backspace
            || ((key == Qt::Key_Up || key == Qt::Key_Down) && ctrl);
        if (changes && !Modified()) {
            TwColumn *column = Column();
            if (!column || !column->EditCanModify()) {
                event->accept();
                Beep();
                return;
            }
        }
        const bool wasNull = IsNull();
        TwCustomDateEdit::keyPressEvent(event);
        if (wasNull != IsNull() && !m_setting)
            MarkModified();
        return;
    }
    TwCustomDateEdit::keyPressEvent(event);
}
