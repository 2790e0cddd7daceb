#include "grid/memcolumn.h"

#include "common/texception.h"
#include "grid/customgrid.h"

#include <QRegularExpression>

TwStoreOwner::~TwStoreOwner() = default;

QString TwStoreOwner::StoreGetText(TwMemColumn *, int, const QString &text)
{
    return text;
}

void TwStoreOwner::StoreSort(TwMemColumn *, bool, bool)
{
}

namespace {

// "Column" and one more than the largest N of the other columns' "…COLUMN<N>…" captions.
QString NextColumnCaption(const TwColumns &columns, const TwColumn *self)
{
    static const QRegularExpression numbered(QStringLiteral("COLUMN(\\d+)"));
    int largest = 0;
    for (int i = 0; i < columns.Count(); ++i) {
        const TwColumn *column = columns.Items(i);
        if (column == self)
            continue;
        const auto match = numbered.match(column->Title().Caption().toUpper());
        if (match.hasMatch())
            largest = qMax(largest, match.captured(1).toInt());
    }
    return QStringLiteral("Column%1").arg(largest + 1);
}

bool Running(const TwCustomGrid *grid)
{
    return grid && !grid->Loading() && !grid->Designing();
}

} // namespace

// TwMemColumn

TwMemColumn::TwMemColumn(TwColumns *collection)
    : TwColumn(collection)
    , m_pool(wdtString, 16)
    , m_edit(wdtString, 16)
    , m_saved(wdtString, 16)
{
    CreateParts();
    m_edit.SetCount(1);
    m_saved.SetCount(1);
    if (collection)
        Title().SetCaption(NextColumnCaption(*collection, this));
    TwCustomGrid *grid = Grid();
    if (Running(grid)) {
        m_pool.Init();
        if (const TwStoreOwner *owner = Owner())
            m_pool.SetCount(owner->StoreRowCount());
    }
}

TwMemColumn::~TwMemColumn() = default;

std::unique_ptr<TwColumnFooter> TwMemColumn::CreateFooter()
{
    return std::make_unique<TwMemColumnFooter>(this);
}

TwStoreOwner *TwMemColumn::Owner() const
{
    return dynamic_cast<TwStoreOwner *>(Grid());
}

TwEditKind TwMemColumn::GetEditKind() const
{
    if (m_dataType == wdtGraphic)
        return wekGraphic;
    TwEditKind kind = wekText;
    switch (m_dataType) {
    case wdtBool:
        kind = wekCheckBox;
        break;
    case wdtDate:
    case wdtDateTime:
        kind = wekDate;
        break;
    case wdtTime:
        kind = wekTime;
        break;
    default:
        kind = TXIsNumericType(m_dataType) ? wekNumber : wekText;
        break;
    }
    const qsizetype values = Values().size();
    if (values > 0 && kind != wekCheckBox)
        kind = wekPickList;
    const bool strings = TXIsStringType(m_dataType);
    const bool numeric = TXIsNumericType(m_dataType);
    switch (EditStyle()) {
    case wesText:
        return wekText;
    case wesMultiText:
        return strings ? wekMultiText : kind;
    case wesMemo:
        return strings ? wekMemo : kind;
    case wesCheckBox:
        return m_dataType == wdtBool || values >= 2 ? wekCheckBox : kind;
    case wesBoolean:
        return m_dataType == wdtBool || values >= 2 ? wekBoolean : kind;
    case wesRadioGroup:
        return m_dataType == wdtBool || values > 0 ? wekRadioGroup : kind;
    case wesNumber:
        return numeric ? wekNumber : kind;
    case wesSpinEdit:
        return numeric ? wekSpinEdit : kind;
    case wesDate:
        return m_dataType == wdtDate || m_dataType == wdtDateTime ? wekDate : kind;
    case wesTime:
        return m_dataType == wdtTime || m_dataType == wdtDateTime ? wekTime : kind;
    case wesPickList:
        return values > 0 ? wekPickList : kind;
    default:
        return kind;
    }
}

int TwMemColumn::GetEditLimit() const
{
    const TwEditKind kind = GetEditKind();
    if ((kind == wekPickList && ItemsMode()) || kind == wekLookupList)
        return 0;
    if ((m_dataType == wdtString && m_dataWidth > 0) || m_dataType == wdtChar) {
        const int width = m_dataType == wdtChar ? qBound(1, m_dataWidth, 255) : m_dataWidth;
        return MaxLength() > 0 ? qMin(width, MaxLength()) : width;
    }
    return MaxLength();
}

int TwMemColumn::GetDefWidth() const
{
    if (m_dataType == wdtChar)
        return qBound(1, m_dataWidth, 255);
    if (m_dataType == wdtString)
        return m_dataWidth > 0 ? m_dataWidth : 16;
    return 10;
}

bool TwMemColumn::IsGraphic() const
{
    return GetEditKind() == wekGraphic;
}

bool TwMemColumn::IsNumeric() const
{
    return TXIsNumericType(m_dataType);
}

bool TwMemColumn::IsValidChar(QChar key) const
{
    if (GetEditKind() == wekPickList)
        return true;
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    const bool sign = key == QLatin1Char('+') || key == QLatin1Char('-');
    switch (m_dataType) {
    case wdtShort:
    case wdtSmall:
    case wdtLong:
        return digit || sign;
    case wdtByte:
    case wdtWord:
        return digit;
    case wdtFloat:
        return digit || sign || key == QLatin1Char('.') || key == QLatin1Char('E') || key == QLatin1Char('e');
    case wdtDate:
        return digit || key == TwLocale::Current().DateSeparator;
    case wdtTime:
        return digit || key == TwLocale::Current().TimeSeparator;
    case wdtGraphic:
        return false;
    default:
        return true;
    }
}

bool TwMemColumn::CanSelect() const
{
    return !m_calculated && TwColumn::CanSelect();
}

bool TwMemColumn::EditCanModify() const
{
    return !m_calculated && !ReadOnly();
}

void TwMemColumn::SetCalculated(bool value)
{
    m_calculated = value;
    Changed();
}

void TwMemColumn::Relayout()
{
    const int width = m_dataType == wdtString || m_dataType == wdtChar ? m_dataWidth : 0;
    if (Running(Grid()))
        m_pool.ColumnChanged(m_dataType, width);
    else
        m_pool = TwMemPool(m_dataType, width);
    m_edit = NewBuffer();
    m_saved = NewBuffer();
    m_savedValid = false;
}

void TwMemColumn::SetDataType(TwDataType value)
{
    if (value == m_dataType)
        return;
    m_dataType = value;
    if (!Grid() || !Grid()->Loading())
        m_defaults.clear();
    Relayout();
    Changed();
}

int TwMemColumn::DataWidth() const
{
    if (TXIsStringType(m_dataType))
        return m_dataWidth;
    const int size = TXTypeSize(m_dataType, 0);
    return size;
}

void TwMemColumn::SetDataWidth(int value)
{
    value = qBound(0, value, 65535);
    if (!TXIsStringType(m_dataType) || value == m_dataWidth)
        return;
    m_dataWidth = value;
    // A character field is re-laid; a text width only limits texts written from now on.
    Relayout();
    Changed();
}

void TwMemColumn::SetDefaults(const QString &value)
{
    m_defaults = value;
}

void TwMemColumn::SetDisplayFormat(const QString &value)
{
    m_displayFormat = value;
    Changed();
}

TwMemPool TwMemColumn::NewBuffer() const
{
    TwMemPool buffer(m_dataType, TXIsStringType(m_dataType) ? m_dataWidth : 0);
    buffer.SetCount(1);
    return buffer;
}

void TwMemColumn::Store(const TwMemPool &next)
{
    if (m_edit.GetNull(0) == next.GetNull(0) && m_edit.SameValue(0, next, 0))
        return;
    TwStoreOwner *owner = Owner();
    const bool editing = owner && owner->StoreEditing();
    if (editing)
        owner->StoreValueChanging(this, next.GetValue(0));
    m_edit.CopyRow(next, 0, 0);
    if (editing)
        owner->StoreValueChanged(this);
}

void TwMemColumn::SetNull()
{
    TwMemPool next = NewBuffer();
    Store(next);
}

QString TwMemColumn::GetString() const
{
    return m_edit.GetString(0);
}

void TwMemColumn::SetString(const QString &value)
{
    TwMemPool next = NewBuffer();
    next.SetString(0, value);
    Store(next);
}

bool TwMemColumn::GetBool() const
{
    return m_edit.GetBool(0);
}

void TwMemColumn::SetBool(bool value)
{
    TwMemPool next = NewBuffer();
    next.SetBool(0, value);
    Store(next);
}

qint32 TwMemColumn::GetLong() const
{
    return m_edit.GetLong(0);
}

void TwMemColumn::SetLong(qint32 value)
{
    TwMemPool next = NewBuffer();
    next.SetLong(0, value);
    Store(next);
}

double TwMemColumn::GetFloat() const
{
    return m_edit.GetFloat(0);
}

void TwMemColumn::SetFloat(double value)
{
    TwMemPool next = NewBuffer();
    next.SetFloat(0, value);
    Store(next);
}

TDateTime TwMemColumn::GetDateTime() const
{
    return m_edit.GetDateTime(0);
}

void TwMemColumn::SetDateTime(TDateTime value)
{
    TwMemPool next = NewBuffer();
    next.SetDateTime(0, value);
    Store(next);
}

QVariant TwMemColumn::GetValue() const
{
    const TwStoreOwner *owner = Owner();
    if (!owner || !owner->StoreEditing())
        return {};
    return m_edit.GetValue(0);
}

void TwMemColumn::SetValue(const QVariant &value)
{
    TwMemPool next = NewBuffer();
    next.SetValue(0, value);
    Store(next);
}

void TwMemColumn::LoadBuffer(int row)
{
    m_edit.CopyRow(m_pool, row, 0);
}

void TwMemColumn::StoreBuffer(int row)
{
    m_pool.CopyRow(m_edit, 0, row);
}

void TwMemColumn::SaveValue()
{
    m_saved.CopyRow(m_edit, 0, 0);
    m_savedValid = true;
}

QVariant TwMemColumn::GetOldValue() const
{
    return m_savedValid ? m_saved.GetValue(0) : QVariant();
}

bool TwMemColumn::EqualValues() const
{
    return m_edit.SameValue(0, m_saved, 0);
}

QString TwMemColumn::ItemText(const QString &text, bool *found) const
{
    *found = false;
    if (!ItemsMode() || ListOption().ValuesIndex == 0)
        return text;
    const qsizetype at = Values().indexOf(text);
    if (at < 0 || at >= Items().size())
        return text;
    *found = true;
    return Items().at(at).section(ListOption().Separator, 0, 0);
}

QString TwMemColumn::DisplayText(int row) const
{
    const TwStoreOwner *owner = Owner();
    const auto finish = [&](const QString &text) {
        return owner ? const_cast<TwStoreOwner *>(owner)->StoreGetText(const_cast<TwMemColumn *>(this), row, text) : text;
    };
    if (m_dataType == wdtGraphic) {
        const TwCustomGrid *grid = Grid();
        if (m_displayFormat.isEmpty() && grid && grid->Designing() && row == grid->GetTopRow())
            return QStringLiteral("[bitmap]");
        return m_displayFormat;
    }
    if (m_pool.GetNull(row))
        return {};
    if (m_dataType == wdtBool)
        return finish(GetBoolText(m_pool.GetBool(row)));
    QString text = m_pool.GetString(row);
    bool found = false;
    text = ItemText(text, &found);
    if (found)
        return finish(text);
    if (!m_displayFormat.isEmpty()) {
        if (TXIsStringType(m_dataType))
            text = TXFormatText(m_displayFormat, text);
        else if (TXIsNumericType(m_dataType))
            text = TXFormatFloat(m_displayFormat, m_pool.GetFloat(row));
        else if (TXIsDateType(m_dataType))
            text = TXFormatDateTime(m_displayFormat, m_pool.GetDateTime(row));
    } else if (!EditFormat().isEmpty()) {
        if (TXIsStringType(m_dataType))
            text = TXFormatMaskText(EditFormat(), text);
        else if (TXIsDateType(m_dataType))
            text = TXFormatDateTime(EditFormat(), m_pool.GetDateTime(row));
    }
    return finish(text);
}

QString TwMemColumn::Formatted(const QString &text) const
{
    const auto parseDate = [this, &text] {
        return m_dataType == wdtDate ? TXTextToDate(text) : m_dataType == wdtTime ? TXTextToTime(text) : TXTextToDateTime(text);
    };
    if (!m_displayFormat.isEmpty()) {
        if (TXIsStringType(m_dataType))
            return TXFormatText(m_displayFormat, text);
        if (TXIsNumericType(m_dataType))
            return TXFormatFloat(m_displayFormat, TXTextToFloat(text));
        if (TXIsDateType(m_dataType))
            return TXFormatDateTime(m_displayFormat, parseDate());
        return text;
    }
    if (!EditFormat().isEmpty()) {
        if (TXIsStringType(m_dataType))
            return TXFormatMaskText(EditFormat(), text);
        if (TXIsDateType(m_dataType))
            return TXFormatDateTime(EditFormat(), parseDate());
    }
    return text;
}

QString TwMemColumn::_GetText(const QString &text) const
{
    if (m_dataType == wdtGraphic)
        return m_displayFormat;
    if (text.isEmpty())
        return {};
    if (m_dataType == wdtBool) {
        if (text.compare(GetBoolStr(false), Qt::CaseInsensitive) == 0)
            return GetBoolText(false);
        if (text.compare(GetBoolStr(true), Qt::CaseInsensitive) == 0)
            return GetBoolText(true);
        return text;
    }
    bool found = false;
    const QString item = ItemText(text, &found);
    if (found)
        return item;
    return Formatted(text);
}

void TwMemColumn::Sort(bool descending, bool showMark)
{
    if (TwStoreOwner *owner = Owner())
        owner->StoreSort(this, descending, showMark);
}

// TwMemColumnFooter

TwMemColumnFooter::TwMemColumnFooter(TwColumn *column)
    : TwColumnFooter(column)
{
}

void TwMemColumnFooter::Changed()
{
    if (!m_quiet)
        TwColumnFooter::Changed();
}

QString TwMemColumnFooter::Entry(int row) const
{
    QString entry = row >= 0 && row < m_styles.size() ? m_styles.at(row) : QString::fromUtf16(DefaultStyle);
    if (entry.size() < 6)
        entry = QString::fromUtf16(DefaultStyle);
    return entry;
}

void TwMemColumnFooter::SetStyles(const QStringList &styles)
{
    m_styles = styles;
    Changed();
}

TwFooterMethod TwMemColumnFooter::GetMethod(int row) const
{
    return static_cast<TwFooterMethod>(qBound(0, Entry(row).at(0).unicode() - '0', static_cast<int>(wfmeMin)));
}

int TwMemColumnFooter::GetOpColumn(int row) const
{
    const int column = Entry(row).mid(1, 4).toInt();
    return column == 9999 ? -1 : column;
}

TwFooterOperator TwMemColumnFooter::GetOperator(int row) const
{
    return static_cast<TwFooterOperator>(qBound(0, Entry(row).at(5).unicode() - '0', static_cast<int>(wfopNEQ)));
}

QString TwMemColumnFooter::GetOperand(int row) const
{
    return Entry(row).mid(6);
}

void TwMemColumnFooter::Rewrite(int row, TwFooterMethod method, int column, TwFooterOperator op, const QString &operand)
{
    if (row < 0)
        return;
    while (m_styles.size() <= row)
        m_styles << QString::fromUtf16(DefaultStyle);
    const QString columnText = column < 0 ? QStringLiteral("9999") : QString::number(qMin(column, 9998)).rightJustified(4, QLatin1Char('0'));
    m_styles[row] = QString::number(method) + columnText + QString::number(op) + operand;
}

void TwMemColumnFooter::SetMethod(int row, TwFooterMethod method)
{
    Rewrite(row, method, GetOpColumn(row), GetOperator(row), GetOperand(row));
    Changed();
}

void TwMemColumnFooter::SetOpColumn(int row, int column)
{
    Rewrite(row, GetMethod(row), column, GetOperator(row), GetOperand(row));
    Changed();
}

void TwMemColumnFooter::SetOperator(int row, TwFooterOperator op)
{
    Rewrite(row, GetMethod(row), GetOpColumn(row), op, GetOperand(row));
    Changed();
}

void TwMemColumnFooter::SetOperand(int row, const QString &operand)
{
    Rewrite(row, GetMethod(row), GetOpColumn(row), GetOperator(row), operand);
    Changed();
}

void TwMemColumnFooter::SetStyle(int row, TwFooterMethod method, int column, TwFooterOperator op, const QString &operand)
{
    m_quiet = true;
    Rewrite(row, method, column, op, operand);
    m_quiet = false;
    Changed();
}

void TwMemColumnFooter::AssignStyles(const TwMemColumnFooter &other)
{
    m_styles = other.m_styles;
    Changed();
}

bool TwMemColumnFooter::Footering(int row)
{
    return GetMethod(row) != wfmeNone;
}

void TwMemColumnFooter::FootersChanged()
{
    const TwCustomGrid *grid = GetGrid();
    const int lines = grid ? grid->Footers().Count() : 0;
    while (m_styles.size() < lines)
        m_styles << QString::fromUtf16(DefaultStyle);
    for (qsizetype i = lines; i < m_styles.size(); ++i)
        m_styles[i] = QString::fromUtf16(DefaultStyle);
}

QString TwMemColumnFooter::MethodLabel(TwFooterMethod method)
{
    static const char *const labels[] = {"", "Custom", "Cnt", "Sum", "Avg", "Max", "Min"};
    return QString::fromLatin1(labels[qBound(0, static_cast<int>(method), 6)]);
}

QString TwMemColumnFooter::OperatorSymbol(TwFooterOperator op)
{
    static const char *const symbols[] = {"All", "==", ">", ">=", "<", "<=", "!="};
    return QString::fromLatin1(symbols[qBound(0, static_cast<int>(op), 6)]);
}

QString TwMemColumnFooter::GetText(int row) const
{
    const TwCustomGrid *grid = GetGrid();
    const TwFooterMethod method = GetMethod(row);
    if (grid && grid->Designing()) {
        QString text = MethodLabel(method);
        if (method < wfmeCount)
            return text;
        const TwFooterOperator op = GetOperator(row);
        const int column = GetOpColumn(row);
        text += QStringLiteral(" (");
        if (op != wfopAll && column >= 0) {
            if (column < grid->Columns().Count())
                text += grid->Columns().Items(column)->Title().Caption() + QLatin1Char(' ');
            else
                text += QLatin1Char('"') + QString::number(column) + QStringLiteral("\" ");
        }
        text += OperatorSymbol(op);
        if (op != wfopAll)
            text += QLatin1Char(' ') + GetOperand(row);
        return text + QLatin1Char(')');
    }
    if (method >= wfmeCount) {
        if (const auto *column = dynamic_cast<const TwMemColumn *>(Column()))
            return column->_GetText(GetValues(row));
    }
    return TwColumnFooter::GetText(row);
}

// TwCells

TwCells::TwCells(TwCustomGrid *grid)
    : m_grid(grid)
{
}

TwCells &TwCells::At(int column, int row)
{
    if (column < 0 || column >= m_grid->Columns().Count())
        throw TException(QStringLiteral("Cells col bounds error[%1]").arg(column));
    if (row < 0 || row >= m_grid->GetRowCount())
        throw TException(QStringLiteral("Cells row bounds error[%1]").arg(row));
    m_column = column;
    m_row = row;
    const TwStoreOwner *owner = dynamic_cast<const TwStoreOwner *>(m_grid);
    m_editing = owner && owner->StoreEditing() && row == owner->StoreCurrentRow();
    return *this;
}

TwMemColumn *TwCells::Column() const
{
    return static_cast<TwMemColumn *>(m_grid->Columns().Items(m_column));
}

void TwCells::Written()
{
    if (auto *owner = dynamic_cast<TwStoreOwner *>(m_grid))
        owner->StoreInvalidateCell(Column(), m_row);
}

bool TwCells::Null() const
{
    return m_editing ? Column()->GetNull() : Column()->Pool().GetNull(m_row);
}

void TwCells::SetNull()
{
    if (m_editing)
        return Column()->SetNull();
    Column()->Pool().SetNull(m_row);
    Written();
}

QString TwCells::String() const
{
    return m_editing ? Column()->GetString() : Column()->Pool().GetString(m_row);
}

void TwCells::SetString(const QString &value)
{
    if (m_editing)
        return Column()->SetString(value);
    Column()->Pool().SetString(m_row, value);
    Written();
}

bool TwCells::Bool() const
{
    return m_editing ? Column()->GetBool() : Column()->Pool().GetBool(m_row);
}

void TwCells::SetBool(bool value)
{
    if (m_editing)
        return Column()->SetBool(value);
    Column()->Pool().SetBool(m_row, value);
    Written();
}

qint32 TwCells::Long() const
{
    return m_editing ? Column()->GetLong() : Column()->Pool().GetLong(m_row);
}

void TwCells::SetLong(qint32 value)
{
    if (m_editing)
        return Column()->SetLong(value);
    Column()->Pool().SetLong(m_row, value);
    Written();
}

double TwCells::Float() const
{
    return m_editing ? Column()->GetFloat() : Column()->Pool().GetFloat(m_row);
}

void TwCells::SetFloat(double value)
{
    if (m_editing)
        return Column()->SetFloat(value);
    Column()->Pool().SetFloat(m_row, value);
    Written();
}

TDateTime TwCells::DateTime() const
{
    return m_editing ? Column()->GetDateTime() : Column()->Pool().GetDateTime(m_row);
}

void TwCells::SetDateTime(TDateTime value)
{
    if (m_editing)
        return Column()->SetDateTime(value);
    Column()->Pool().SetDateTime(m_row, value);
    Written();
}

QVariant TwCells::Value() const
{
    return m_editing ? Column()->GetValue() : Column()->Pool().GetValue(m_row);
}

void TwCells::SetValue(const QVariant &value)
{
    if (m_editing)
        return Column()->SetValue(value);
    Column()->Pool().SetValue(m_row, value);
    Written();
}

int TwCells::Index() const
{
    return static_cast<int>(Column()->Values().indexOf(String()));
}

QString TwCells::Text() const
{
    return m_editing ? Column()->_GetText(Column()->GetString()) : Column()->DisplayText(m_row);
}

// TwRowSelection

TwRowSelection::TwRowSelection(TwRowInfos &rows)
    : m_rows(rows)
{
}

void TwRowSelection::ClearSelection()
{
    if (m_rows.SelectedCount() > 0) {
        m_rows.ClearChecked();
        m_rows.SelectionToChecked();
        m_rows.ClearSelection();
    }
    m_selecting = false;
}

void TwRowSelection::SetRange(int anchor, int end)
{
    ClearSelection();
    anchor = qMax(0, anchor);
    end = qMin(end, m_rows.Count() - 1);
    for (int row = qMin(anchor, end); row <= qMax(anchor, end); ++row)
        m_rows.SetSelected(row, true);
    m_anchor = anchor;
    m_end = end;
    m_selecting = true;
}

void TwRowSelection::MoveRangeEnd(int end)
{
    if (end == m_end)
        return;
    end = qBound(0, end, m_rows.Count() - 1);
    const int oldLow = qMin(m_anchor, m_end);
    const int oldHigh = qMax(m_anchor, m_end);
    const int low = qMin(m_anchor, end);
    const int high = qMax(m_anchor, end);
    for (int row = oldLow; row <= oldHigh; ++row) {
        if ((row < low || row > high) && row >= 0 && row < m_rows.Count())
            m_rows.SetSelected(row, false);
    }
    for (int row = low; row <= high; ++row)
        m_rows.SetSelected(row, true);
    m_end = end;
}

void TwRowSelection::Click(int currentRow, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        m_selecting = false;
        const bool selected = !m_rows.Selected(currentRow);
        m_rows.SetSelected(currentRow, selected);
        if (selected) {
            m_selecting = true;
            m_anchor = m_end = currentRow;
        }
        return;
    }
    if (!(modifiers & Qt::ShiftModifier) || !m_selecting) {
        SetRange(currentRow, currentRow);
        return;
    }
    MoveRangeEnd(currentRow);
}
