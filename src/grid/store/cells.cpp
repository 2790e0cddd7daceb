#include "grid/memcolumn.h"

// The cell router and the multi-row selection ranges of the store.

#include "grid/columns.h"
#include "platform/texception.h"

// TwCells

TwCells::TwCells(const TwColumns *columns, TwStoreOwner *owner)
    : m_columns(columns)
    , m_owner(owner)
{
    Q_ASSERT_X(columns && owner, "TwCells", "the cells of a grid's columns, with the grid as their owner");
}

TwCells TwCells::At(int column, int row) const
{
    if (column < 0 || column >= m_columns->Count())
        throw TException(QStringLiteral("Cells col bounds error[%1]").arg(column));
    if (row < 0 || row >= m_owner->StoreRowCount())
        throw TException(QStringLiteral("Cells row bounds error[%1]").arg(row));
    TwCells cell(m_columns, m_owner);
    cell.m_column = column;
    cell.m_row = row;
    cell.m_editing = m_owner->StoreEditing() && row == m_owner->StoreCurrentRow();
    cell.m_stored = m_owner->StoreRow(row);
    return cell;
}

TwMemColumn *TwCells::Column() const
{
    return static_cast<TwMemColumn *>(m_columns->Items(m_column));
}

void TwCells::Written()
{
    m_owner->StoreInvalidateCell(Column(), m_row);
}

template<typename Result>
Result TwCells::Read(Result (TwMemColumn::*fromBuffer)() const, Result (TwMemPool::*fromPool)(int) const) const
{
    const TwMemColumn *column = Column();
    return m_editing ? (column->*fromBuffer)() : (column->Pool().*fromPool)(m_stored);
}

template<typename Arg>
void TwCells::Write(void (TwMemColumn::*toBuffer)(Arg), void (TwMemPool::*toPool)(int, Arg),
                    std::type_identity_t<Arg> value)
{
    TwMemColumn *column = Column();
    if (m_editing)
        return (column->*toBuffer)(value);
    (column->Pool().*toPool)(m_stored, value);
    Written();
}

bool TwCells::Null() const
{
    return Read(&TwMemColumn::GetNull, &TwMemPool::GetNull);
}

void TwCells::SetNull()
{
    if (m_editing)
        return Column()->SetNull();
    Column()->Pool().SetNull(m_stored);
    Written();
}

QString TwCells::String() const
{
    return Read(&TwMemColumn::GetString, &TwMemPool::GetString);
}

void TwCells::SetString(const QString &value)
{
    Write(&TwMemColumn::SetString, &TwMemPool::SetString, value);
}

bool TwCells::Bool() const
{
    return Read(&TwMemColumn::GetBool, &TwMemPool::GetBool);
}

void TwCells::SetBool(bool value)
{
    Write(&TwMemColumn::SetBool, &TwMemPool::SetBool, value);
}

qint32 TwCells::Long() const
{
    return Read(&TwMemColumn::GetLong, &TwMemPool::GetLong);
}

void TwCells::SetLong(qint32 value)
{
    Write(&TwMemColumn::SetLong, &TwMemPool::SetLong, value);
}

double TwCells::Float() const
{
    return Read(&TwMemColumn::GetFloat, &TwMemPool::GetFloat);
}

void TwCells::SetFloat(double value)
{
    Write(&TwMemColumn::SetFloat, &TwMemPool::SetFloat, value);
}

TDateTime TwCells::DateTime() const
{
    return Read(&TwMemColumn::GetDateTime, &TwMemPool::GetDateTime);
}

void TwCells::SetDateTime(TDateTime value)
{
    Write(&TwMemColumn::SetDateTime, &TwMemPool::SetDateTime, value);
}

QVariant TwCells::Value() const
{
    return Read(&TwMemColumn::GetValue, &TwMemPool::GetValue);
}

void TwCells::SetValue(const QVariant &value)
{
    Write(&TwMemColumn::SetValue, &TwMemPool::SetValue, value);
}

int TwCells::Index() const
{
    return static_cast<int>(Column()->Values().indexOf(String()));
}

QString TwCells::Text() const
{
    return m_editing ? Column()->EditDisplayText(m_row) : Column()->RowText(m_stored, m_row);
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
