#include "grid/tabrix.h"
#include "grid/core/gridaccessible_p.h"
#include "grid/store/tabrix_p.h"

// Row operations of the complete grid on its stored rows: insert, move, exchange and
// delete rows, empty the grid, copy another grid's values, move one column to and from a
// list of texts, find rows and sort. They work on the value pools and the row bytes
// together, so every row keeps its values and its state; none raises row-state or value
// events, and a failure leaves the data as it was.

#include "grid/support/notify_p.h"
#include "platform/texception.h"

#include <QStringList>

namespace {

// Fails unless 0 <= row < end, naming the operation and argument in `where`.
void CheckRowBounds(int row, int end, const char *where)
{
    if (row >= 0 && row < end)
        return;
    throw TException(QStringLiteral("TTabrix - Row Bounds Error(%1) in %2").arg(row).arg(QLatin1String(where)));
}

} // namespace

void TTabrix::CheckBrowsing(const char *operation) const
{
    if (d->m_gridMode != wgmBrowse)
        throw TException(QStringLiteral("Can't %1 in Editing").arg(QLatin1String(operation)));
}

void TTabrix::CheckListColumn(int col, const char *operation) const
{
    if (col < 0 || col >= Columns().Count())
        throw TException(QStringLiteral("Bounds error in TTabrix.%1(%2).").arg(QLatin1String(operation)).arg(col));
}

void TTabrix::PostPending()
{
    SetEditValue();
    Post();
}

void TTabrix::RowCountApplied(int before)
{
    TXAccessibleReset(this);
    UpdateScrollRange();
    SetTopRow(GetTopRow());
    AssignCurRow(qBound(0, CurRow(), qMax(0, GetRowCount() - 1)));
    if (!Updating())
        InvalidateGrid();
    if (GetRowCount() > 0 && Options().Has(wgoAlwaysShowEditor)) {
        // Other rows may now lie under the editor, or its row may be gone: it moves to the
        // current row and shows that row's value.
        if (EditorShowing() && EditingRow() != CurRow())
            HideEditor();
        ShowEditor();
        ResetEditor();
        UpdateEditor();
    } else {
        HideEditor();
    }
    if (GetRowCount() != before && t_twNotificationsHeld == 0)
        emit RowCountChanged(GetRowCount());
}

void TTabrix::InsertRow(int row, bool defaults, bool inserted, bool newRow)
{
    CheckBrowsing("InsertRow");
    const int count = d->m_rowInfos.Count();
    CheckRowBounds(row, count + 1, "InsertRow");
    const int columns = Columns().Count();
    // A pool that cannot take the row or its default takes the row out again, and every
    // pool before it too.
    int grown = 0;
    try {
        for (; grown < columns; ++grown) {
            TwMemColumn *column = GetMemColumn(grown);
            column->Pool().Insert(row);
            if (defaults && !column->Defaults().isEmpty()) {
                try {
                    column->Pool().SetString(row, column->Defaults());
                } catch (...) {
                    column->Pool().Delete(row);
                    throw;
                }
            }
        }
        d->m_rowInfos.Insert(row);
    } catch (...) {
        while (grown > 0)
            GetMemColumn(--grown)->Pool().Delete(row);
        throw;
    }
    if (inserted)
        d->m_rowInfos.SetState(row, wrInserted);
    // A Shift range's rows have moved: the next one starts afresh.
    d->m_selection.EndRange();
    if (newRow) {
        const TUpdateScope update(*this);
        emit OnNewRow();
    }
    UpdateScrollRange();
    if (!Updating()) {
        if (row == count)
            InvalidateRow(row, true);
        else
            InvalidateGrid();
    }
    // A row inserted at or above the current row pushes the editor's row down: the editor
    // shows the row now current.
    if (EditorShowing())
        ResetEditor();
    else if (Options().Has(wgoAlwaysShowEditor))
        ShowEditor();
    if (t_twNotificationsHeld == 0)
        emit RowCountChanged(GetRowCount());
}

void TTabrix::AddRow(bool defaults, bool inserted, bool newRow)
{
    InsertRow(GetRowCount(), defaults, inserted, newRow);
}

void TTabrix::MoveRow(int curRow, int newRow)
{
    CheckBrowsing("MoveRow");
    if (curRow == newRow)
        return;
    const int count = d->m_rowInfos.Count();
    CheckRowBounds(curRow, count, "MoveRow.CurRow");
    CheckRowBounds(newRow, count, "MoveRow.NewRow");
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().Move(curRow, newRow);
    d->m_rowInfos.Move(curRow, newRow);
    d->m_selection.EndRange();
    ResetEditor();
    if (!Updating())
        InvalidateData();
}

void TTabrix::ExchangeRows(int row1, int row2)
{
    CheckBrowsing("ExchangeRows");
    if (row1 == row2)
        return;
    const int count = d->m_rowInfos.Count();
    CheckRowBounds(row1, count, "ExchangesRows.Row1");
    CheckRowBounds(row2, count, "ExchangesRows.Row2");
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().Exchange(row1, row2);
    d->m_rowInfos.Exchange(row1, row2);
    d->m_selection.EndRange();
    // The rows under them too: a column blanking repeated values shows them by the row above.
    for (const int row : {row1, row2}) {
        InvalidateRow(row, true);
        InvalidateRow(row + 1, true);
    }
    ResetEditor();
}

void TTabrix::DeleteRow(int row, int count, bool dataChanged)
{
    CheckBrowsing("DeleteRow");
    if (count == 0)
        return;
    const int rows = d->m_rowInfos.Count();
    CheckRowBounds(row, rows, "DeleteRow");
    count = count < 0 ? rows - row : qMin(count, rows - row);
    const bool selected = d->m_rowInfos.GetSelectedCount(row, row + count - 1) > 0;
    d->m_rowInfos.Delete(row, count);
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().Delete(row, count);
    // The range's anchor may be gone with its rows.
    d->m_selection.EndRange();
    RowCountApplied(rows);
    if (selected)
        SelectionChanged();
    if (dataChanged)
        DataChanged();
}

void TTabrix::Clear()
{
    HideEditor();
    Cancel();
    const int before = GetRowCount();
    const bool selected = d->m_rowInfos.SelectedCount() > 0;
    d->m_rowInfos.ClearSelection();
    d->m_rowInfos.SetCount(0);
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().SetCount(0);
    d->m_selection.EndRange();
    RowCountApplied(before);
    if (selected)
        SelectionChanged();
}

void TTabrix::ClearData()
{
    HideEditor();
    Cancel();
    const int count = d->m_rowInfos.Count();
    const bool selected = d->m_rowInfos.SelectedCount() > 0;
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().ClearData();
    d->m_rowInfos.ClearSelection();
    d->m_rowInfos.SetCount(0);
    d->m_rowInfos.SetCount(count);
    d->m_selection.EndRange();
    if (count > 0 && Options().Has(wgoAlwaysShowEditor))
        ShowEditor();
    if (!Updating())
        InvalidateGrid();
    if (selected)
        SelectionChanged();
}

void TTabrix::Reset()
{
    if (GetRowCount() == 0)
        return;
    // The edit buffers belong to the current row: they are stored there (an untouched new
    // row is dropped) before the first row becomes current.
    SetEditValue();
    if (d->m_gridMode == wgmInsert && !d->m_modified)
        Cancel();
    else
        Post();
    if (GetRowCount() == 0)
        return;
    const int old = CurRow();
    if (old != 0) {
        // The row changes before the editor hides: an editor handing the focus back to the
        // grid may be shown again at once, and then on the first row.
        AssignCurRow(0);
        HideEditor();
        ScrollInView(0);
        if (Options().Has(wgoAlwaysShowEditor))
            ShowEditor();
        UpdateEditor();
        InvalidateRow(old, true);
        InvalidateRow(0, true);
    }
    RowChanged(false);
}

void TTabrix::AssignData(TTabrix *source)
{
    if (source == nullptr || source == this)
        return;
    Cancel();
    // The source's stored rows: a row it is inserting has not been stored yet.
    const int count = source->d->m_rowInfos.Count();
    const int columns = qMin(Columns().Count(), source->Columns().Count());
    // Every column's new values are made aside first: a value one column cannot take
    // leaves this grid as it was.
    std::vector<TwMemPool> pools;
    pools.reserve(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        const TwMemPool &from = source->GetMemColumn(i)->Pool();
        const TwMemPool &own = GetMemColumn(i)->Pool();
        TwMemPool &pool = pools.emplace_back(own.DataType(), own.Width());
        pool.SetCount(count);
        const bool alike = from.DataType() == own.DataType() && from.Width() == own.Width();
        for (int row = 0; row < count; ++row) {
            if (alike)
                pool.CopyRow(from, row, row);
            else
                pool.SetValue(row, from.GetValue(row));
        }
    }
    const TUpdateScope update(*this);
    const int before = GetRowCount();
    const bool selected = d->m_rowInfos.SelectedCount() > 0;
    for (int i = 0; i < Columns().Count(); ++i) {
        TwMemPool &own = GetMemColumn(i)->Pool();
        if (i < columns)
            own = std::move(pools[static_cast<std::size_t>(i)]);
        else
            own.SetCount(count);
    }
    // The new values come without the old rows' states and marks.
    d->m_rowInfos.ClearSelection();
    d->m_rowInfos.SetCount(0);
    d->m_rowInfos.SetCount(count);
    d->m_selection.EndRange();
    RowCountApplied(before);
    if (selected)
        SelectionChanged();
}

void TTabrix::LoadFromList(int col, const QStringList *list, int startRow, bool noAppend)
{
    if (list == nullptr)
        return;
    CheckListColumn(col, "LoadFromList");
    // An open edit is stored first (a refused post loads nothing), so the rows counted are
    // the stored ones.
    PostPending();
    const int count = d->m_rowInfos.Count();
    if (startRow < 0 || startRow > count)
        throw TException(QStringLiteral("Row bounds error in TTabrix.LoadFromList(%1).").arg(startRow));
    const int items = noAppend ? qMin(static_cast<int>(list->size()), count - startRow) : static_cast<int>(list->size());
    if (items <= 0)
        return;
    // Every text is converted before anything is written: a text the column cannot take
    // fails the load with the grid as it was.
    TwMemColumn *column = GetMemColumn(col);
    TwMemPool converted(column->Pool().DataType(), column->Pool().Width());
    converted.SetCount(items);
    for (int i = 0; i < items; ++i)
        converted.SetString(i, list->at(i));
    const TUpdateScope update(*this);
    const int added = startRow + items - count;
    if (added > 0) {
        // New rows take the columns' defaults, made aside first like the texts.
        const int columns = Columns().Count();
        std::vector<TwMemPool> defaults;
        defaults.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i) {
            const TwMemColumn *other = GetMemColumn(i);
            TwMemPool &pool = defaults.emplace_back(other->Pool().DataType(), other->Pool().Width());
            pool.SetCount(1);
            if (!other->Defaults().isEmpty())
                pool.SetString(0, other->Defaults());
        }
        for (int i = 0; i < columns; ++i) {
            TwMemPool &pool = GetMemColumn(i)->Pool();
            pool.SetCount(count + added);
            for (int row = count; row < count + added; ++row)
                pool.CopyRow(defaults[static_cast<std::size_t>(i)], 0, row);
        }
        d->m_rowInfos.SetCount(count + added);
    }
    TwMemPool &pool = column->Pool();
    for (int i = 0; i < items; ++i)
        pool.CopyRow(converted, i, startRow + i);
    RowCountApplied(count);
}

void TTabrix::SaveToList(int col, QStringList *list, int startRow, int count)
{
    CheckListColumn(col, "SaveToList");
    if (startRow < 0)
        throw TException(QStringLiteral("Row bounds error in TTabrix.SaveToList(%1).").arg(startRow));
    if (list == nullptr)
        return;
    PostPending();
    list->clear();
    const int rows = d->m_rowInfos.Count();
    if (startRow >= rows)
        return;
    const int last = count < 0 ? rows - 1 : static_cast<int>(qMin<qint64>(rows - 1, qint64(startRow) + count - 1));
    const TwMemPool &pool = GetMemColumn(col)->Pool();
    list->reserve(qMax(0, last - startRow + 1));
    for (int row = startRow; row <= last; ++row)
        list->append(pool.GetString(row));
}

int TTabrix::Find(int col, const QVariant &value)
{
    CheckListColumn(col, "Find");
    PostPending();
    const TwMemPool &pool = GetMemColumn(col)->Pool();
    const int rows = d->m_rowInfos.Count();
    for (int row = 0; row < rows; ++row) {
        if (pool.GetValue(row) == value)
            return row;
    }
    return -1;
}

int TTabrix::Find(int col, const QString &text, TwFindOptions options)
{
    CheckListColumn(col, "Find");
    PostPending();
    const TwMemPool &pool = GetMemColumn(col)->Pool();
    const int rows = d->m_rowInfos.Count();
    const bool partial = options.Has(wfoPartialKey);
    const bool anyCase = options.Has(wfoCaseInsensitive);
    const QString upper = text.toUpper();
    for (int row = 0; row < rows; ++row) {
        const QString cell = pool.GetString(row);
        bool found;
        if (partial && anyCase)
            found = cell.toUpper().startsWith(upper);
        else if (partial)
            found = cell.startsWith(text);
        else if (anyCase)
            found = cell.compare(text, Qt::CaseInsensitive) == 0;
        else
            found = cell == text;
        if (found)
            return row;
    }
    return -1;
}

void TTabrix::Sort(int col, bool descending, bool mark)
{
    CheckListColumn(col, "Sort");
    PostPending();
    const TUpdateScope update(*this);
    // One stable order of the rows by the column, then every pool and the row bytes are
    // rearranged to it once: states, changed, selected and checked marks go with their rows.
    const std::vector<int> order = GetMemColumn(col)->Pool().SortOrder(descending);
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().Permute(order);
    d->m_rowInfos.Permute(order);
    d->m_selection.EndRange();
    if (mark) {
        // One column shows the order the rows are in.
        for (int i = 0; i < Columns().Count(); ++i)
            GetMemColumn(i)->Title().SetSortMark(i == col ? (descending ? wsmDesc : wsmAsc) : wsmNone);
    }
    ResetEditor();
}
