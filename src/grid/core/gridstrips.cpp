// The strips of the grid core (visible columns in column mode, visible groups in group
// mode), the hit tests against them, and horizontal scrolling.

#include "grid/customgrid.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/extents.h"

#include <QScrollBar>

#include <algorithm>

int TwCustomGrid::StripCount() const
{
    return d->m_groupMode ? Groups().GetVCount() : Columns().GetVCount();
}

int TwCustomGrid::StripWidth(int strip) const
{
    if (d->m_groupMode)
        return strip >= 0 && strip < Groups().GetVCount() ? Groups().GetVItems(strip)->Width() : 0;
    return strip >= 0 && strip < Columns().GetVCount() ? Columns().GetVItems(strip)->Width() : 0;
}

bool TwCustomGrid::IsNullGrid() const
{
    return StripCount() == 0;
}

bool TwCustomGrid::ValidCell(const TwCell &cell) const
{
    return Groups().ValidCell(cell);
}

TwColumn *TwCustomGrid::ColumnByCell(const TwCell &cell) const
{
    if (cell.Group < 0 || cell.Group >= Groups().Count())
        return nullptr;
    const TwGroup *group = Groups().Items(cell.Group);
    if (cell.Index < 0 || cell.Index >= group->GetColCount(cell.Level))
        return nullptr;
    return group->GetColumns(cell.Level, cell.Index);
}

TwColumn *TwCustomGrid::ColumnByVCell(const TwCell &cell) const
{
    if (!ValidCell(cell))
        return nullptr;
    return Groups().GetVItems(cell.Group)->GetColumns(cell.Level, cell.Index);
}

bool TwCustomGrid::InIndicators(int x) const
{
    return d->m_indicators->Visible() && d->m_extents->GetLefts(-2) <= x && x < d->m_extents->GetRights(-2);
}

bool TwCustomGrid::InMarkers(int x) const
{
    return d->m_markers->Visible() && d->m_extents->GetLefts(-1) <= x && x < d->m_extents->GetRights(-1);
}

int TwCustomGrid::InRows(int x, int y) const
{
    const QRect data = d->m_extents->DataRect();
    if (IsNullGrid() || d->m_designing || x < data.left() || x > data.right())
        return -1;
    return d->m_extents->MouseToRow(y);
}

bool TwCustomGrid::InColCells(int x, int y)
{
    if (d->m_groupMode)
        return false;
    const int strip = d->m_extents->MouseToCol(x);
    if (strip < 0 || InRows(x, y) < 0)
        return false;
    d->m_mouseCol = strip;
    return true;
}

bool TwCustomGrid::InGroupCells(int x, int y)
{
    const int row = InRows(x, y);
    if (!d->m_groupMode || row < 0)
        return false;
    const TwCell cell = d->m_extents->MouseToCell(x, y, row);
    if (!ValidCell(cell))
        return false;
    d->m_mouseCell = cell;
    return true;
}

TwColumn *TwCustomGrid::SelectedColumn() const
{
    if (d->m_groupMode)
        return ColumnByVCell(d->m_curCell);
    return d->m_curCol >= 0 && d->m_curCol < Columns().GetVCount() ? Columns().GetVItems(d->m_curCol) : nullptr;
}

TwCell TwCustomGrid::FirstSelectCell() const
{
    const int start = d->m_fixedStyle->Options().Has(wfxSelecting) ? 0 : FixedCount();
    const bool skip = d->m_options.Has(wgoSkipReadOnly);
    TwCell first = WCell(-1, -1, -1);
    for (int g = start; g < Groups().GetVCount(); ++g) {
        const TwGroup *group = Groups().GetVItems(g);
        for (int level = 0; level < group->Levels(); ++level) {
            for (int index = 0; index < group->GetColCount(level); ++index) {
                if (!TXValidCell(first))
                    first = WCell(g, level, index);
                if (!skip || group->GetColumns(level, index)->CanSelect())
                    return WCell(g, level, index);
            }
        }
    }
    return first;
}

void TwCustomGrid::SetLeftPos(int value)
{
    const int width = d->m_extents->GetScrollWidth();
    value = width > 0 ? qBound(0, value, width) : 0;
    if (value == d->m_leftPos)
        return;
    d->m_leftPos = value;
    if (horizontalScrollBar()->value() != value) {
        const QSignalBlocker block(horizontalScrollBar());
        horizontalScrollBar()->setValue(value);
    }
    viewport()->update();
    UpdateEditor();
}

int TwCustomGrid::GetLeftCol() const
{
    const int fixed = FixedCount();
    int found = fixed - 1;
    for (int k = fixed; k < StripCount(); ++k) {
        if (d->m_extents->GetLefts(k) <= d->m_extents->ScrollingLeft())
            found = k;
    }
    return found;
}

void TwCustomGrid::SetLeftCol(int strip)
{
    const int fixed = FixedCount();
    strip = qBound(fixed, strip, qMax(fixed, StripCount() - 1));
    int position = 0;
    for (int k = fixed; k < strip; ++k)
        position += StripWidth(k);
    SetLeftPos(position);
}

void TwCustomGrid::CheckInCol(int strip)
{
    if (d->m_options.Has(wgoNoScroll) || strip < 0 || strip >= StripCount())
        return;
    const int leftCol = GetLeftCol();
    if (strip <= leftCol) {
        SetLeftCol(strip);
        return;
    }
    const int clientRight = d->m_extents->Client().left() + d->m_extents->Client().width();
    int start = leftCol;
    int right = d->m_extents->GetRights(strip);
    while (right > clientRight && start < StripCount() - 1) {
        right -= StripWidth(start);
        ++start;
    }
    SetLeftCol(start);
}

void TwCustomGrid::CheckInCell(const TwCell &cell)
{
    if (d->m_options.Has(wgoNoScroll) || !ValidCell(cell))
        return;
    const QRect bound = d->m_extents->GetCellBound(cell, GetTopRow());
    const int clientRight = d->m_extents->Client().left() + d->m_extents->Client().width();
    if (bound.left() < d->m_extents->ScrollingLeft() && cell.Group >= FixedCount()) {
        int position = 0;
        for (int g = FixedCount(); g < cell.Group; ++g)
            position += StripWidth(g);
        position += ColumnByVCell(cell)->LeftOffset();
        SetLeftPos(position);
    } else if (bound.left() + bound.width() > clientRight) {
        SetLeftPos(d->m_leftPos + bound.left() + bound.width() - clientRight);
    }
}

void TwCustomGrid::UpdateScrollRange()
{
    if (d->m_loading || d->m_inScrollRange)
        return;
    d->m_inScrollRange = true;
    for (int pass = 0; pass < 2; ++pass) {
        const QSize before = viewport()->size();
        d->m_extents->ReadInfo(viewport()->rect());
        const QSignalBlocker blockH(horizontalScrollBar());
        const QSignalBlocker blockV(verticalScrollBar());
        horizontalScrollBar()->setRange(0, d->m_extents->GetScrollWidth());
        horizontalScrollBar()->setPageStep(qMax(1, viewport()->width() - d->m_extents->ScrollingLeft()));
        verticalScrollBar()->setRange(0, qMax(0, GetVertRange()));
        verticalScrollBar()->setPageStep(qMax(1, d->m_extents->RowsFullyShown()));
        if (viewport()->size() == before)
            break;
    }
    d->m_inScrollRange = false;
}
