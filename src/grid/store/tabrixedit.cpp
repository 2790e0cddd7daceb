#include "grid/tabrix.h"
#include "grid/store/tabrix_p.h"

// The record-editing cycle of the complete grid: a row is browsed, edited or inserted; the
// values being edited live in the columns' edit buffers until Post stores them in the pools
// (with the row's state) or Cancel drops them. Deleting the current row or the selection,
// and removing rows marked deleted, in one pass over the pools.

#include "grid/support/notify_p.h"
#include "platform/texception.h"

#include <QApplication>
#include <QFocusEvent>

#include <algorithm>

TwGridMode TTabrix::GetGridMode() const
{
    return d->m_gridMode;
}

bool TTabrix::Modified() const
{
    return d->m_modified;
}

int TTabrix::StoredRow(int row) const
{
    if (d->m_gridMode != wgmInsert)
        return row;
    const int current = CurRow();
    if (row == current)
        return -1;
    return row > current ? row - 1 : row;
}

bool TTabrix::Edit()
{
    if (d->m_gridMode != wgmBrowse)
        return true;
    if (Designing())
        return false;
    if (GetRowCount() == 0) {
        // An empty grid is edited by adding its first row (when rows may be added).
        Insert(false);
        return d->m_gridMode != wgmBrowse;
    }
    if (!Options().Has(wgoEditing) || d->m_rowInfos.State(CurRow()) == wrDeleted)
        return false;
    emit OnBeforeEdit();
    // The handler may have removed rows or started the edit itself: the buffers come from
    // the row that is current now.
    if (d->m_gridMode != wgmBrowse)
        return true;
    const int row = CurRow();
    if (row < 0 || row >= GetRowCount() || d->m_rowInfos.State(row) == wrDeleted)
        return false;
    for (int i = 0; i < Columns().Count(); ++i) {
        TwMemColumn *column = GetMemColumn(i);
        column->LoadBuffer(row);
        column->SaveValue();
    }
    d->m_gridMode = wgmEdit;
    InvalidateRow(row, true);
    d->m_modified = false;
    emit OnAfterEdit();
    return true;
}

void TTabrix::Insert(bool append)
{
    if (!Options().Has(wgoInserting) || Designing())
        return;
    if (d->m_maxRowCount > 0 && GetRowCount() >= d->m_maxRowCount)
        return;
    SetEditValue();
    Post();
    const int before = GetRowCount();
    emit OnBeforeInsert(append);
    for (int i = 0; i < Columns().Count(); ++i) {
        TwMemColumn *column = GetMemColumn(i);
        column->LoadDefaults();
        column->SaveValue();
    }
    d->m_gridMode = wgmInsert;
    if (append || before == 0)
        AssignCurRow(before);
    emit OnNewRow();
    d->m_modified = false;
    emit OnAfterInsert(append);
    if (append)
        HideEditor();
    else
        ResetEditor();
    UpdateScrollRange();
    ScrollInView(CurRow());
    InvalidateData();
    if (Options().Has(wgoAlwaysShowEditor)) {
        ShowEditor();
        SelectEditor();
    }
    if (t_twNotificationsHeld == 0)
        emit RowCountChanged(GetRowCount());
}

void TTabrix::Post()
{
    if (d->m_gridMode == wgmBrowse)
        return;
    SetEditValue();
    emit OnBeforePost();
    const int columns = Columns().Count();
    for (int i = 0; i < columns; ++i) {
        const TwMemColumn *column = GetMemColumn(i);
        if (column->Required() && column->GetNull())
            throw TException(QStringLiteral("Column '%1' must have a value.").arg(column->Title().Caption()));
    }
    const int row = CurRow();
    const bool inserting = d->m_gridMode == wgmInsert;
    if (inserting) {
        // A pool that cannot grow leaves every pool and the row bytes as they were, and the
        // grid inserting.
        d->m_rowInfos.Insert(row);
        int grown = 0;
        try {
            for (; grown < columns; ++grown)
                GetMemColumn(grown)->Pool().Insert(row);
        } catch (...) {
            while (grown > 0)
                GetMemColumn(--grown)->Pool().Delete(row);
            d->m_rowInfos.Delete(row);
            throw;
        }
    }
    bool changed = false;
    for (int i = 0; i < columns; ++i) {
        TwMemColumn *column = GetMemColumn(i);
        column->StoreBuffer(row);
        if (!inserting && !column->EqualValues())
            changed = true;
    }
    if (inserting) {
        if (d->m_checkRowState)
            d->m_rowInfos.SetState(row, wrInserted);
    } else {
        if (changed)
            d->m_rowInfos.SetChanged(row, true);
        if (d->m_checkRowState && d->m_rowInfos.State(row) == wrNormal)
            d->m_rowInfos.SetState(row, wrUpdated);
    }
    d->m_gridMode = wgmBrowse;
    d->m_modified = false;
    UpdateScrollRange();
    InvalidateRow(row, true);
    emit OnAfterPost();
    DataChanged();
    FollowEditor();
}

void TTabrix::Cancel()
{
    if (d->m_gridMode == wgmBrowse)
        return;
    emit OnBeforeCancel();
    HideEditor();
    const bool inserting = d->m_gridMode == wgmInsert;
    d->m_gridMode = wgmBrowse;
    d->m_modified = false;
    if (inserting) {
        // A new row after the stored rows leaves the current row on the last stored row.
        if (CurRow() >= d->m_rowInfos.Count() && CurRow() > 0)
            AssignCurRow(CurRow() - 1);
        UpdateScrollRange();
        SetTopRow(GetTopRow());
        InvalidateGrid();
        if (t_twNotificationsHeld == 0)
            emit RowCountChanged(GetRowCount());
    } else {
        InvalidateRow(CurRow(), true);
    }
    if (Options().Has(wgoAlwaysShowEditor)) {
        ShowEditor();
        SelectEditor();
    }
    emit OnAfterCancel();
}

void TTabrix::FollowEditor()
{
    if (EditorShowing())
        ResetEditor();
    else if (Options().Has(wgoAlwaysShowEditor))
        ShowEditor();
}

void TTabrix::CalcColumns()
{
    emit OnCalcColumns();
}

void TTabrix::DataChanged()
{
    if (d->m_autoCalcFooters)
        CalcFooters();
    emit OnDataChanged();
}

// Deleting.

void TTabrix::RemoveRows(const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    // The row bytes check the list for all: a list they refuse changes nothing.
    d->m_rowInfos.DeleteRows(rows);
    for (int i = 0; i < Columns().Count(); ++i)
        GetMemColumn(i)->Pool().DeleteRows(rows);
    // The range's anchor may be gone with its row: the next Shift move starts a new one.
    d->m_selection.EndRange();
    UpdateScrollRange();
    SetTopRow(GetTopRow());
    AssignCurRow(qBound(0, CurRow(), qMax(0, d->m_rowInfos.Count() - 1)));
    if (t_twNotificationsHeld == 0)
        emit RowCountChanged(GetRowCount());
}

void TTabrix::Delete()
{
    if (d->m_gridMode == wgmInsert) {
        Cancel();
        return;
    }
    if (GetRowCount() == 0)
        return;
    Cancel();
    emit OnBeforeDelete();
    const int row = CurRow();
    if (d->m_softDeleting) {
        d->m_rowInfos.SetState(row, wrDeleted);
        InvalidateRow(row, true);
    } else {
        HideEditor();
        const bool selected = d->m_rowInfos.Selected(row);
        RemoveRows({row});
        InvalidateData();
        if (selected)
            SelectionChanged();
    }
    FinishDelete(!d->m_softDeleting);
}

void TTabrix::DeleteSelection()
{
    if (GetSelectedCount() == 0)
        return;
    Cancel();
    emit OnBeforeDelete();
    const TUpdateScope update(*this);
    // Every selected row is asked first, from the last to the first, and the accepted ones
    // then go in one pass.
    std::vector<int> accepted;
    for (int row = d->m_rowInfos.Count() - 1; row >= 0; --row) {
        if (!d->m_rowInfos.Selected(row))
            continue;
        bool accept = true;
        emit OnDeleteRow(row, accept);
        if (accept)
            accepted.push_back(row);
    }
    std::reverse(accepted.begin(), accepted.end());
    if (d->m_softDeleting) {
        for (const int row : accepted)
            d->m_rowInfos.SetState(row, wrDeleted);
    } else if (!accepted.empty()) {
        HideEditor();
        RemoveRows(accepted);
        SelectionChanged();
    }
    FinishDelete(!d->m_softDeleting && !accepted.empty());
}

// What follows every deletion: the events and footers, the editor back on the current cell,
// and the row-changed notice when rows went.
void TTabrix::FinishDelete(bool removed)
{
    emit OnAfterDelete();
    DataChanged();
    if (Options().Has(wgoAlwaysShowEditor))
        ShowEditor();
    ResetEditor();
    SelectEditor();
    if (removed)
        RowChanged(true);
}

void TTabrix::DeleteMarkedRows()
{
    if (d->m_gridMode != wgmBrowse)
        throw TException(QStringLiteral("Can't DeleteMarkedRow in Editing"));
    std::vector<int> marked;
    const int count = d->m_rowInfos.Count();
    for (int row = 0; row < count; ++row) {
        if (d->m_rowInfos.State(row) == wrDeleted)
            marked.push_back(row);
    }
    if (marked.empty())
        return;
    RemoveRows(marked);
    if (!Updating())
        InvalidateGrid();
}

// Row states of grid rows.

TwRowState TTabrix::RowState(int row) const
{
    const int stored = StoredRow(row);
    return stored < 0 ? wrNormal : d->m_rowInfos.State(stored);
}

bool TTabrix::Changed(int row) const
{
    const int stored = StoredRow(row);
    return stored >= 0 && d->m_rowInfos.Changed(stored);
}

void TTabrix::SetRowState(int row, TwRowState state)
{
    const int stored = StoredRow(row);
    if (stored < 0)
        return;
    d->m_rowInfos.SetState(stored, state);
    InvalidateRow(row, true); // the marker and indicator strips too
}

void TTabrix::SetChanged(int row, bool value)
{
    const int stored = StoredRow(row);
    if (stored < 0)
        return;
    d->m_rowInfos.SetChanged(stored, value);
    InvalidateRow(row, true); // the marker and indicator strips too
}

TwRowType TTabrix::RowType(int row) const
{
    const int stored = StoredRow(row);
    return stored < 0 ? TwRowType(0) : d->m_rowInfos.RowType(stored);
}

void TTabrix::SetRowType(int row, int type)
{
    const int stored = StoredRow(row);
    if (stored < 0) {
        // The row being inserted has no byte yet; a bad type is still a bad type.
        if (type < 0 || type > 7)
            throw TException(QStringLiteral("Invalid TwRowType Value(%1)").arg(type));
        return;
    }
    d->m_rowInfos.SetRowType(stored, type);
    InvalidateRow(row, true); // the marker and indicator strips too
}

int TTabrix::StateCount(TwRowState state) const
{
    return d->m_rowInfos.GetStateCount(state);
}

int TTabrix::ChangedCount() const
{
    return d->m_rowInfos.GetChangedCount();
}

int TTabrix::TypeCount(int type) const
{
    return d->m_rowInfos.GetTypeCount(type);
}

void TTabrix::ClearChanged(bool repaint)
{
    d->m_rowInfos.ClearChanged();
    RowBytesCleared(repaint);
}

void TTabrix::ClearRowStates(bool repaint)
{
    d->m_rowInfos.ClearState();
    RowBytesCleared(repaint);
}

void TTabrix::ClearRowTypes(bool repaint)
{
    d->m_rowInfos.ClearType();
    RowBytesCleared(repaint);
}

void TTabrix::RowBytesCleared(bool repaint)
{
    if (repaint && Markers().Visible() && !Updating())
        Markers().Update(-1); // the whole marker strip
}

// Focus.

void TTabrix::focusOutEvent(QFocusEvent *event)
{
    // A popup takes the focus only for a while, and the grid's own editor is part of it.
    const QWidget *next = QApplication::focusWidget();
    const bool staying = event->reason() == Qt::PopupFocusReason || (next && next != this && isAncestorOf(next));
    if (!staying) {
        if (EditorShowing()) {
            SetEditValue();
            HideEditor();
        }
        if (Options().Has(wgoCancelOnExit) && d->m_gridMode == wgmInsert && !d->m_modified)
            Cancel();
    }
    TwCustomGrid::focusOutEvent(event);
}
