// The grid's reactions to what its parts report: the current cell follows the columns and
// groups it showed, the editor and the geometry follow sizes, and what changed is repainted.

#include "grid/customgrid.h"
#include "grid/core/customgrid_p.h"

TwGridOwner *TwOwnerOf(const TwCustomGrid *grid)
{
    return grid ? &grid->d->m_reactions : nullptr;
}

// What the parts read.

bool TwGridReactions::Loading() const
{
    return m_grid.Loading();
}

bool TwGridReactions::Designing() const
{
    return m_grid.Designing();
}

bool TwGridReactions::Updating() const
{
    return m_grid.Updating();
}

bool TwGridReactions::GroupMode() const
{
    return m_grid.GroupMode();
}

bool TwGridReactions::Editing() const
{
    return m_grid.GetGridMode() != wgmBrowse;
}

TwGridOptions TwGridReactions::Options() const
{
    return m_grid.Options();
}

int TwGridReactions::FixedCount() const
{
    return m_grid.FixedCount();
}

const TwFixedStyle &TwGridReactions::FixedStyle() const
{
    return m_grid.FixedStyle();
}

int TwGridReactions::GrpRowHeight() const
{
    return m_grid.GrpRowHeight();
}

TwFont TwGridReactions::GridFont() const
{
    return m_grid.GridFont();
}

TwImeMode TwGridReactions::ImeMode() const
{
    return m_grid.ImeMode();
}

QString TwGridReactions::ImeName() const
{
    return m_grid.ImeName();
}

TwColumns &TwGridReactions::Columns()
{
    return m_grid.Columns();
}

TwGroups &TwGridReactions::Groups()
{
    return m_grid.Groups();
}

TwGridHeaders &TwGridReactions::Headers()
{
    return m_grid.Headers();
}

TwGridFooters &TwGridReactions::Footers()
{
    return m_grid.Footers();
}

// What the parts tell.

void TwGridReactions::PartChanged(TwPartChange change)
{
    switch (change) {
    case TwPartChange::Look:
        m_grid.InvalidateGrid();
        return;
    case TwPartChange::Layout:
        m_grid.LayoutChanged();
        return;
    case TwPartChange::Footers:
        m_grid.InvalidateFooters();
        return;
    case TwPartChange::FooterRows:
        m_grid.UpdateRowCount();
        m_grid.LayoutChanged();
        return;
    case TwPartChange::ScrollRange:
        m_grid.UpdateScrollRange();
        return;
    case TwPartChange::Editor:
        m_grid.UpdateEditor();
        return;
    }
}

void TwGridReactions::BeginUpdate()
{
    m_grid.BeginUpdate();
}

void TwGridReactions::EndUpdate()
{
    m_grid.EndUpdate();
}

void TwGridReactions::ColumnChanged(const TwColumn *column)
{
    if (!m_grid.GroupMode()) {
        m_grid.InvalidateStrip(column->VIndex());
        return;
    }
    if (const TwGroup *group = column->GroupObject(); group && group->Visible())
        m_grid.InvalidateStrip(group->VIndex());
}

void TwGridReactions::GroupChanged(const TwGroup *group)
{
    if (m_grid.GroupMode() && !m_grid.Updating())
        m_grid.InvalidateStrip(group->VIndex());
}

void TwGridReactions::MarkerChanged(int row)
{
    if (row < 0) {
        m_grid.InvalidateStrip(-1);
        return;
    }
    if (m_grid.Updating())
        return;
    const TwGridExtents &extents = m_grid.Extents();
    const int top = m_grid.GetTopRow();
    if (row >= top && row < top + extents.RowsShown() && row < m_grid.GetRowCount())
        m_grid.viewport()->update(extents.GetColBound(-1, row));
}

void TwGridReactions::ColumnsChanged()
{
    m_grid.UpdateRowCount();
    if (!m_grid.GroupMode()) {
        m_grid.SetFixedCount(m_grid.FixedCount());
        m_grid.UpdateScrollRange();
        const int last = m_grid.Columns().LastCol();
        if (m_grid.CurCol() > last)
            m_grid.SetCurCol(qMax(0, last));
    }
    m_grid.InvalidateGrid();
}

void TwGridReactions::GroupsChanged()
{
    if (!m_grid.GroupMode())
        return;
    if (m_grid.Groups().GetVCount() == 0) {
        m_grid.SetGroupMode(false);
        return;
    }
    m_grid.SetFixedCount(m_grid.FixedCount());
    m_grid.UpdateScrollRange();
    m_grid.InvalidateGrid();
}

void TwGridReactions::VisibleColumnInserted(int position)
{
    // In column mode the current cell is a visible position: it moves with its column.
    if (!m_grid.GroupMode() && position <= m_grid.CurCol() && m_grid.Columns().GetVCount() > 1)
        m_grid.SetCurCol(m_grid.CurCol() + 1);
    m_grid.UpdateEditor();
}

void TwGridReactions::VisibleColumnRemoved(int position)
{
    if (!m_grid.GroupMode() && position == m_grid.CurCol()) {
        // The current column went: the one that took its place becomes current.
        m_grid.HideEditor();
        m_grid.SetCurCol(position);
        if (m_grid.Options().Has(wgoAlwaysShowEditor))
            m_grid.ShowEditor();
    } else if (!m_grid.GroupMode() && position < m_grid.CurCol()) {
        m_grid.SetCurCol(qMax(m_grid.Columns().FirstCol(), m_grid.CurCol() - 1));
    }
    m_grid.UpdateEditor();
}

void TwGridReactions::ColumnMoving(const TwColumn *column, MoveKind kind)
{
    if (m_columnMoves++ > 0)
        return;
    const TwColumn *selected = m_grid.SelectedColumn();
    m_movingColumn = !column || column == selected ? selected : nullptr;
    m_moveKind = kind;
}

void TwGridReactions::ColumnMoved(bool repair)
{
    if (--m_columnMoves > 0)
        return;
    const TwColumn *column = m_movingColumn;
    m_movingColumn = nullptr;
    if (!repair)
        return;
    if (m_moveKind == MoveKind::Visible) {
        // Column mode names the current column by its visible position.
        if (column && !m_grid.GroupMode() && column->VIndex() >= 0)
            m_grid.SetCurCol(column->VIndex());
        return;
    }
    // Group mode names the current cell by its visible address.
    if (column && m_grid.GroupMode() && m_grid.ValidCell(column->GetVCell()))
        m_grid.SetCurCell(column->GetVCell());
    m_grid.InvalidateGrid();
}

void TwGridReactions::GroupsMoving(bool showEditor)
{
    if (m_groupMoves++ > 0)
        return;
    // The current cell names its group by visible position.
    const TwGroups &groups = m_grid.Groups();
    const int position = m_grid.CurCell().Group;
    m_currentGroup = position >= 0 && position < groups.GetVCount() ? groups.GetVItems(position) : nullptr;
    m_hadCurrentGroup = m_currentGroup != nullptr;
    m_showEditor = showEditor;
}

void TwGridReactions::GroupsMoved(bool repair)
{
    if (--m_groupMoves > 0)
        return;
    const bool hadCurrent = m_hadCurrentGroup;
    const TwGroup *group = m_currentGroup;
    m_currentGroup = nullptr;
    m_hadCurrentGroup = false;
    if (!repair || !hadCurrent)
        return;
    const int position = group ? group->VIndex() : -1;
    if (position < 0) {
        // Its group went: the first cell that may be selected becomes current.
        if (m_grid.GroupMode() && m_grid.Groups().GetVCount() > 0) {
            m_grid.SetCurCell(m_grid.FirstSelectCell());
            if (m_showEditor && m_grid.Options().Has(wgoAlwaysShowEditor))
                m_grid.ShowEditor();
        }
        return;
    }
    TwCell cell = m_grid.CurCell();
    if (position == cell.Group)
        return;
    cell.Group = position;
    m_grid.SetCurCell(cell);
}

void TwGridReactions::ColumnEditorChanged(const TwColumn *column)
{
    if (m_grid.SelectedColumn() == column)
        m_grid.UpdateEditor();
}

void TwGridReactions::ColumnWidthChanged(TwColumn *column, int oldWidth)
{
    m_grid.ColumnWidthChanged(column, oldWidth);
}

void TwGridReactions::GroupWidthChanged(TwGroup *group, int oldWidth)
{
    m_grid.GroupWidthChanged(group, oldWidth);
}

void TwGridReactions::LevelHeightChanged(TwGroup *group, int level, int oldHeight)
{
    m_grid.LevelHeightChanged(group, level, oldHeight);
}

void TwGridReactions::HeaderHeightChanged(int oldHeight)
{
    m_grid.HeaderHeightChanged(oldHeight);
}

bool TwGridReactions::MayModify(TwColumn *column)
{
    return Editing() || m_grid.DoEdit(column);
}

std::unique_ptr<TwColumn> TwGridReactions::NewColumn(TwColumns *collection)
{
    return m_grid.NewColumn(collection);
}
