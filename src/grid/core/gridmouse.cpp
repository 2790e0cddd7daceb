// The grid core's mouse: presses that move the current position, sizing drags of strips,
// bands, rows and levels, moves of columns, groups and cells, title clicks and the
// pointer's shape. The drag feedback lives in the grid's state; painting draws it.

#include "grid/customgrid.h"
#include "grid/core/extents.h"
#include "grid/core/customgrid_p.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <limits>

namespace {

bool VerticalLine(TwGridState state)
{
    return state == wgsIndiSizing || state == wgsMarkSizing || state == wgsColSizing || state == wgsCellSizing;
}

// An edge is hit from two pixels before it up to the edge itself.
bool OnEdge(int position, int edge)
{
    return edge - 2 <= position && position <= edge;
}

using TwRect::BottomOf;
using TwRect::RightOf;

} // namespace

// Sizing zones

TwGridState TwCustomGrid::BeginSizing(TwGridState state, int edge, int pointer, bool start)
{
    // On a press the drag begins with its line one pixel before the edge, and keeps its
    // distance from the pointer.
    if (start) {
        d->m_gridState = state;
        d->m_sizingStart = edge - 1;
        d->m_sizingOffset = d->m_sizingStart - pointer;
        SetSizingLine(d->m_sizingStart);
    }
    return state;
}

TwGridState TwCustomGrid::SizingZone(int x, int y, bool start)
{
    const TwGridExtents &e = *d->m_extents;
    const bool designing = d->m_designing;
    const bool inHeader = d->m_headers->Visible() && e.MouseInHeaders(y);
    const int firstRowTop = e.GetHeadBottom();
    const bool inFirstRow = firstRowTop <= y && y < firstRowTop + RowHeight();
    const int dataRight = RightOf(e.DataRect());

    if (d->m_indicators->Visible() && (d->m_indicators->Sizing() || designing)
        && (d->m_markers->Visible() ? inFirstRow : inHeader) && OnEdge(x, e.GetRights(-2)))
        return BeginSizing(wgsIndiSizing, e.GetRights(-2), x, start);
    if (d->m_markers->Visible() && (d->m_markers->Sizing() || designing) && inHeader && OnEdge(x, e.GetRights(-1)))
        return BeginSizing(wgsMarkSizing, e.GetRights(-1), x, start);
    if (d->m_headers->Visible() && (d->m_headers->Sizing() || designing) && x < dataRight
        && OnEdge(y, e.GetHeadBottom()))
        return BeginSizing(wgsHeaderSizing, e.GetHeadBottom(), y, start);
    for (int f = 0; f < d->m_footers->GetVCount(); ++f) {
        const int top = e.GetFootTops(f);
        if ((d->m_footers->GetVItems(f)->Sizing() || designing) && top <= y && y <= top + 1) {
            if (start)
                d->m_sizingFooter = f;
            return BeginSizing(wgsFooterSizing, top, y, start);
        }
    }
    if ((d->m_options.Has(wgoRowSizing) || designing) && x < dataRight && OnEdge(y, firstRowTop + RowHeight()))
        return BeginSizing(wgsRowSizing, firstRowTop + RowHeight(), y, start);
    // Strips, cells and levels are sized in the header, or in the first row without one.
    if (!(d->m_headers->Visible() ? inHeader : inFirstRow))
        return wgsNormal;
    if (d->m_options.Has(wgoColSizing) || designing) {
        if (const TwGridState state = StripSizingZone(x, start); state != wgsNormal)
            return state;
    }
    if (!d->m_groupMode)
        return wgsNormal;
    if (d->m_options.Has(wgoCellSizing) || designing) {
        if (const TwGridState state = CellSizingZone(x, y, start); state != wgsNormal)
            return state;
    }
    if (d->m_options.Has(wgoLevelSizing) || designing)
        return LevelSizingZone(x, y, inHeader, start);
    return wgsNormal;
}

TwGridState TwCustomGrid::StripSizingZone(int x, bool start)
{
    const TwGridExtents &e = *d->m_extents;
    const bool fixedToo = d->m_designing || d->m_fixedStyle->Options().Has(wfxSizing);
    for (int k = fixedToo ? 0 : FixedCount(); k < StripCount(); ++k) {
        const int edge = e.GetRights(k);
        // A scrolled strip hidden under the fixed ones has no edge to grab.
        if (!OnEdge(x, edge) || (k >= FixedCount() && edge <= e.ScrollingLeft()))
            continue;
        bool allow = true;
        if (start && d->m_groupMode)
            GroupSizing(Groups().GetVItems(k), allow);
        else if (start)
            ColumnSizing(Columns().GetVItems(k), allow);
        if (!allow)
            return wgsNormal;
        if (start)
            d->m_sizingStrip = k;
        return BeginSizing(wgsColSizing, edge, x, start);
    }
    return wgsNormal;
}

TwGridState TwCustomGrid::CellSizingZone(int x, int y, bool start)
{
    const TwGridExtents &e = *d->m_extents;
    for (int g = 0; g < StripCount(); ++g) {
        const TwGroup *group = Groups().GetVItems(g);
        for (int level = 0; level < group->Levels(); ++level) {
            // The last column of a line has the group's edge, sized with the group.
            for (int index = 0; index + 1 < group->GetColCount(level); ++index) {
                const TwCell cell = WCell(g, level, index);
                const QRect bound = d->m_headers->Visible() ? e.GetHeadCellBound(cell) : e.GetCellBound(cell, GetTopRow());
                if (y < bound.top() || y >= BottomOf(bound) || !OnEdge(x, RightOf(bound)))
                    continue;
                // A cell scrolled under the fixed groups has no edge to grab.
                if (g >= FixedCount() && RightOf(bound) <= e.ScrollingLeft())
                    continue;
                TwColumn *column = group->GetColumns(level, index);
                bool allow = true;
                if (start)
                    ColumnSizing(column, allow);
                if (!allow)
                    return wgsNormal;
                if (start) {
                    d->m_sizingStrip = g;
                    d->m_sizingColumn = column;
                }
                return BeginSizing(wgsCellSizing, RightOf(bound), x, start);
            }
        }
    }
    return wgsNormal;
}

TwGridState TwCustomGrid::LevelSizingZone(int x, int y, bool inHeader, bool start)
{
    const TwGridExtents &e = *d->m_extents;
    // The geometry may still count a group hidden since it was last read: no group then.
    const int strip = e.MouseToCol(x);
    TwGroup *group = GetVGroups(strip);
    if (!group)
        return wgsNormal;
    // The lower edges of the title band (level -1) and, where the weights leave room to
    // shift, of every level but the last.
    const int top = inHeader ? e.GetHeadTop() : e.GetHeadBottom();
    for (int level = -1; level < group->Levels() - 1; ++level) {
        if (level < 0 && !(inHeader && group->Title().Visible()))
            continue;
        if (level >= 0 && group->Weight() <= group->Levels())
            break;
        const int edge = top + (inHeader ? group->GetHTops(level + 1) : group->GetBTops(level + 1));
        if (!OnEdge(y, edge))
            continue;
        bool allow = true;
        if (start)
            LevelSizing(group, level, allow);
        if (!allow)
            return wgsNormal;
        if (start) {
            d->m_sizingStrip = strip;
            d->m_sizingLevel = level;
        }
        return BeginSizing(wgsLevelSizing, edge, y, start);
    }
    return wgsNormal;
}

void TwCustomGrid::SetSizingLine(int value)
{
    if (value == d->m_sizingLine)
        return;
    const QRect client = viewport()->rect();
    const bool vertical = VerticalLine(d->m_gridState);
    for (const int line : {d->m_sizingLine, value}) {
        if (line < 0)
            continue;
        viewport()->update(vertical ? QRect(line - 1, client.top(), 3, client.height())
                                    : QRect(client.left(), line - 1, client.width(), 3));
    }
    d->m_sizingLine = value;
}

void TwCustomGrid::DragSizing(int x, int y)
{
    const TwGridExtents &e = *d->m_extents;
    const int dataRight = RightOf(e.DataRect());
    int low = std::numeric_limits<int>::min();
    int high = std::numeric_limits<int>::max();
    switch (d->m_gridState) {
    case wgsIndiSizing:
        low = e.Client().left() + 3;
        high = dataRight;
        break;
    case wgsMarkSizing:
        low = e.GetLefts(-1) + 1;
        high = dataRight;
        break;
    case wgsColSizing:
    case wgsCellSizing:
        low = (d->m_sizingStrip < FixedCount() ? e.StripsLeft() : e.ScrollingLeft()) + 3;
        high = RightOf(e.Client());
        break;
    default:
        break;
    }
    const int line = (VerticalLine(d->m_gridState) ? x : y) + d->m_sizingOffset;
    if (line >= low && line <= high)
        SetSizingLine(line);
}

void TwCustomGrid::EndSizingState()
{
    const TwGridState state = d->m_gridState;
    const int delta = d->m_sizingLine - d->m_sizingStart;
    const int strip = d->m_sizingStrip;
    const int footer = d->m_sizingFooter;
    const int level = d->m_sizingLevel;
    TwColumn *column = d->m_sizingColumn;
    CancelMouseState();
    if (delta == 0)
        return;
    switch (state) {
    case wgsIndiSizing:
        d->m_indicators->SetWidth(d->m_indicators->Width() + delta);
        break;
    case wgsMarkSizing:
        d->m_markers->SetWidth(d->m_markers->Width() + delta);
        break;
    case wgsHeaderSizing:
        d->m_headers->SetHeight(d->m_headers->Height() + delta);
        break;
    case wgsFooterSizing:
        // The footer's upper edge moves: dragged up it grows.
        if (footer >= 0 && footer < d->m_footers->GetVCount())
            d->m_footers->GetVItems(footer)->SetHeight(d->m_footers->GetVItems(footer)->Height() - delta);
        break;
    case wgsRowSizing:
        SetRowHeight(RowHeight() + delta);
        break;
    case wgsColSizing:
        if (strip < 0 || strip >= StripCount())
            break;
        if (d->m_groupMode)
            Groups().GetVItems(strip)->SetWidth(Groups().GetVItems(strip)->Width() + delta);
        else
            Columns().GetVItems(strip)->SetWidth(Columns().GetVItems(strip)->Width() + delta);
        break;
    case wgsCellSizing:
        if (column)
            column->SetWidth(column->Width() + delta);
        break;
    case wgsLevelSizing: {
        TwGroup *group = strip >= 0 && strip < GetVGroupCount() ? Groups().GetVItems(strip) : nullptr;
        if (!group)
            break;
        if (level < 0)
            group->Title().SetHeight(group->Title().Height() + delta);
        else if (level < group->Levels())
            group->SetLevelWeight(level, group->GetLevelWeight(level) + (delta > 0 ? 1 : -1));
        break;
    }
    default:
        break;
    }
    LayoutChanged();
}

// Moving

TwGridState TwCustomGrid::CheckMovingState(int x, int y, bool ctrl)
{
    const TwGridExtents &e = *d->m_extents;
    if (!d->m_headers->Visible() || !e.MouseInHeaders(y))
        return wgsNormal;
    const bool designing = d->m_designing;
    // A title that reacts to clicks moves only with Ctrl held: a plain press clicks it.
    const auto movable = [&](const TwTitle &title) { return designing || ctrl || !title.Clicking(); };
    const bool colMoving = d->m_options.Has(wgoColMoving) || designing;
    if (!d->m_groupMode) {
        const int strip = e.MouseToCol(x);
        if (!colMoving || strip < FixedCount() || strip < 0 || !movable(Columns().GetVItems(strip)->Title()))
            return wgsNormal;
        d->m_gridState = wgsColMoving;
        d->m_moveFrom = d->m_moveTo = strip;
        SetMovingFeedback(e.GetLefts(strip), {});
        return wgsColMoving;
    }
    const int titled = e.MouseToGroupTitle(x, y);
    if (colMoving && titled >= FixedCount() && movable(Groups().GetVItems(titled)->Title())) {
        d->m_gridState = wgsColMoving;
        d->m_moveFrom = d->m_moveTo = titled;
        SetMovingFeedback(e.GetLefts(titled), {});
        return wgsColMoving;
    }
    if (titled >= 0 || (!d->m_options.Has(wgoCellMoving) && !designing))
        return wgsNormal;
    const TwCell cell = e.MouseToHeadCell(x, y);
    if (!ValidCell(cell) || (cell.Group < FixedCount() && !d->m_fixedStyle->Options().Has(wfxMoving))
        || !movable(ColumnByVCell(cell)->Title()))
        return wgsNormal;
    d->m_gridState = wgsCellMoving;
    d->m_moveFromCell = d->m_moveToCell = cell;
    SetMovingFeedback(-1, e.GetHeadCellBound(cell));
    return wgsCellMoving;
}

void TwCustomGrid::SetMovingFeedback(int line, const QRect &frame)
{
    if (line == d->m_movingLine && frame == d->m_movingFrame)
        return;
    const QRect client = viewport()->rect();
    for (const int x : {d->m_movingLine, line}) {
        if (x >= 0)
            viewport()->update(QRect(x - 2, client.top(), 5, client.height()));
    }
    for (const QRect &rect : {d->m_movingFrame, frame}) {
        if (!rect.isEmpty())
            viewport()->update(rect.adjusted(-2, -2, 2, 2));
    }
    d->m_movingLine = line;
    d->m_movingFrame = frame;
}

void TwCustomGrid::DragMoving(int x, int y)
{
    const TwGridExtents &e = *d->m_extents;
    if (d->m_gridState == wgsColMoving) {
        const int strip = e.MouseToCol(x);
        if (strip < FixedCount() || strip < 0)
            return;
        d->m_moveTo = strip;
        // The line marks where the strip lands: before the target when it moves left.
        SetMovingFeedback(strip <= d->m_moveFrom ? e.GetLefts(strip) : e.GetRights(strip) - 1, {});
        return;
    }
    if (!e.MouseInHeaders(y))
        return;
    const TwCell cell = e.MouseToHeadCell(x, y);
    const TwGroup *group = GetVGroups(cell.Group);
    if (!group || y < e.GetHeadTop() + group->GetHTops(0))
        return;
    if (cell.Group < FixedCount() && !d->m_fixedStyle->Options().Has(wfxMoving))
        return;
    // An empty line is entered at its end.
    if (!ValidCell(cell) && cell.Index != group->GetColCount(cell.Level))
        return;
    d->m_moveToCell = cell;
    SetMovingFeedback(-1, e.GetHeadCellBound(cell));
}

void TwCustomGrid::EndMovingState()
{
    const TwGridState state = d->m_gridState;
    const int from = d->m_moveFrom;
    const int to = d->m_moveTo;
    const TwCell fromCell = d->m_moveFromCell;
    TwCell toCell = d->m_moveToCell;
    CancelMouseState();
    if (state == wgsColMoving && from != to && from >= 0 && to >= 0 && qMax(from, to) < StripCount()) {
        // At design time the collection order changes, so that a stored design keeps it.
        if (d->m_groupMode && d->m_designing)
            Groups().GetVItems(from)->SetIndex(Groups().GetVItems(to)->Index());
        else if (d->m_groupMode)
            Groups().GetVItems(from)->SetVIndex(to);
        else if (d->m_designing)
            Columns().GetVItems(from)->SetIndex(Columns().GetVItems(to)->Index());
        else
            Columns().GetVItems(from)->SetVIndex(to);
        return;
    }
    if (state != wgsCellMoving || fromCell == toCell || !ValidCell(fromCell))
        return;
    const TwGroup *target = GetVGroups(toCell.Group);
    if (!target)
        return;
    // Within its own line a column moves to a place inside the line.
    if (toCell.Group == fromCell.Group && toCell.Level == fromCell.Level)
        toCell.Index = qMin(toCell.Index, target->GetColCount(toCell.Level) - 1);
    if (toCell == fromCell)
        return;
    ColumnByVCell(fromCell)->SetCell(WCell(target->Index(), toCell.Level, toCell.Index));
}

// Title clicks

TwGridState TwCustomGrid::CheckClickingState(int x, int y)
{
    const TwGridExtents &e = *d->m_extents;
    const bool inHeader = d->m_headers->Visible() && e.MouseInHeaders(y);
    const bool leftStrips = x < e.StripsLeft() && (d->m_indicators->Visible() || d->m_markers->Visible());
    TwGridState state = wgsNormal;
    if (inHeader && leftStrips) {
        if (d->m_headers->Title().Clicking())
            state = wgsHeaderTitle;
    } else if (inHeader && !d->m_groupMode) {
        const int strip = e.MouseToCol(x);
        if (strip >= 0 && Columns().GetVItems(strip)->Title().Clicking()) {
            state = wgsColTitle;
            d->m_pressedStrip = strip;
        }
    } else if (inHeader) {
        const int titled = e.MouseToGroupTitle(x, y);
        const TwCell cell = titled < 0 ? e.MouseToHeadCell(x, y) : TwCell{};
        if (titled >= 0 && Groups().GetVItems(titled)->Title().Clicking()) {
            state = wgsGroupTitle;
            d->m_pressedStrip = titled;
        } else if (ValidCell(cell) && ColumnByVCell(cell)->Title().Clicking()) {
            state = wgsCellTitle;
            d->m_pressedCell = cell;
        }
    } else if (leftStrips && y >= e.FooterTop()) {
        for (int f = 0; f < d->m_footers->GetVCount(); ++f) {
            if (e.GetFootTops(f) <= y && y < e.GetFootBottoms(f) && d->m_footers->GetVItems(f)->Title().Clicking()) {
                state = wgsFooterTitle;
                d->m_pressedFooter = f;
            }
        }
    }
    if (state == wgsNormal)
        return state;
    d->m_gridState = state;
    d->m_titleDown = true;
    viewport()->update(PressedTitleRect());
    return state;
}

QRect TwCustomGrid::PressedTitleRect() const
{
    const TwGridExtents &e = *d->m_extents;
    const int left = e.Client().left();
    switch (d->m_gridState) {
    case wgsHeaderTitle:
        return QRect(left, e.GetHeadTop(), e.StripsLeft() - left, e.GetHeadBottom() - e.GetHeadTop());
    case wgsFooterTitle:
        if (d->m_pressedFooter < 0 || d->m_pressedFooter >= d->m_footers->GetVCount())
            return {};
        return QRect(left, e.GetFootTops(d->m_pressedFooter), e.StripsLeft() - left,
                     e.GetFootBottoms(d->m_pressedFooter) - e.GetFootTops(d->m_pressedFooter));
    case wgsColTitle:
        return e.GetHeadColBound(d->m_pressedStrip);
    case wgsGroupTitle:
        return e.GetHeadLevelBound(d->m_pressedStrip, -1);
    case wgsCellTitle:
        return e.GetHeadCellBound(d->m_pressedCell);
    default:
        return {};
    }
}

void TwCustomGrid::EndClickingState()
{
    const TwGridState state = d->m_gridState;
    const bool down = d->m_titleDown;
    const int strip = d->m_pressedStrip;
    const int footer = d->m_pressedFooter;
    const TwCell cell = d->m_pressedCell;
    CancelMouseState();
    if (!down)
        return;
    switch (state) {
    case wgsHeaderTitle:
        HeaderTitleClick();
        break;
    case wgsFooterTitle:
        if (footer >= 0 && footer < d->m_footers->GetVCount())
            FooterTitleClick(d->m_footers->IndexOf(d->m_footers->GetVItems(footer)));
        break;
    case wgsColTitle:
        if (strip >= 0 && strip < GetVColCount())
            ColumnTitleClick(Columns().GetVItems(strip));
        break;
    case wgsGroupTitle:
        if (strip >= 0 && strip < GetVGroupCount())
            GroupTitleClick(Groups().GetVItems(strip));
        break;
    case wgsCellTitle:
        if (TwColumn *column = ColumnByVCell(cell))
            ColumnTitleClick(column);
        break;
    default:
        break;
    }
}

void TwCustomGrid::CancelMouseState()
{
    if (IsClickingState(d->m_gridState) && d->m_titleDown) {
        d->m_titleDown = false;
        viewport()->update(PressedTitleRect());
    }
    SetSizingLine(-1);
    SetMovingFeedback(-1, {});
    d->m_gridState = wgsNormal;
    d->m_titleDown = false;
    d->m_pressedStrip = -1;
    d->m_pressedCell = WCell(-1, -1, -1);
    d->m_pressedFooter = -1;
    d->m_sizingStart = -1;
    d->m_sizingOffset = 0;
    d->m_sizingStrip = -1;
    d->m_sizingFooter = -1;
    d->m_sizingLevel = -1;
    d->m_sizingColumn = nullptr;
    d->m_moveFrom = d->m_moveTo = -1;
    d->m_moveFromCell = d->m_moveToCell = WCell(-1, -1, -1);
}

// Events

void TwCustomGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (!d->m_designing) {
        setFocus(Qt::MouseFocusReason);
        // Another control kept the focus (its value did not validate): the grid stays put.
        if (isActiveWindow() && !hasFocus()) {
            QAbstractScrollArea::mousePressEvent(event);
            return;
        }
    }
    CancelMouseState();
    if (IsNullGrid() || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    d->m_extents->ReadInfo(viewport()->rect());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (SizingZone(at.x(), at.y(), true) != wgsNormal || CheckMovingState(at.x(), at.y(), ctrl) != wgsNormal
        || CheckClickingState(at.x(), at.y()) != wgsNormal)
        return;
    const int row = InRows(at.x(), at.y());
    if (row < 0)
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (InIndicators(at.x()) || InMarkers(at.x())) {
        SetCurRow(row);
        DoInRow(modifiers);
        if (InMarkers(at.x()) && d->m_markers->Clicking()) {
            d->m_markers->Update(row);
            MarkerClick(row);
        }
        return;
    }
    const bool rows = GetRowCount() > 0 && row == CurRow();
    TwColumn *pressed = nullptr;
    if (!d->m_groupMode && InColCells(at.x(), at.y())) {
        pressed = d->m_mouseCol >= 0 && d->m_mouseCol < GetVColCount() ? Columns().GetVItems(d->m_mouseCol) : nullptr;
        if (rows && d->m_mouseCol == d->m_curCol) {
            CellClicked();
        } else {
            MoveCurrent(d->m_mouseCol, row);
            DoInRow(modifiers);
        }
    } else if (d->m_groupMode && InGroupCells(at.x(), at.y())) {
        pressed = ColumnByVCell(d->m_mouseCell);
        if (rows && d->m_mouseCell == d->m_curCell) {
            CellClicked();
        } else {
            MoveCurrent(d->m_mouseCell, row);
            DoInRow(modifiers);
        }
    }
    PressIntoEditor(pressed, row, event);
}

void TwCustomGrid::PressIntoEditor(TwColumn *column, int row, QMouseEvent *event)
{
    // A check box, a boolean or a radio group opened by the press toggles or picks at once,
    // as if the press had landed on its editor.
    if (!column || Options().Has(wgoNoClickEdit) || EditingColumn() != column || EditingRow() != row)
        return;
    const TwEditKind kind = column->GetEditKind();
    if (kind != wekCheckBox && kind != wekBoolean && kind != wekRadioGroup)
        return;
    QWidget *editor = ActiveEditor();
    if (!editor || !editor->isVisible())
        return;
    const QPointF global = event->globalPosition();
    QMouseEvent press(QEvent::MouseButtonPress, editor->mapFromGlobal(global), global, event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(editor, &press);
}

void TwCustomGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // The release went elsewhere (a popup or another window took the mouse meanwhile): the
    // drag or title press ends unapplied instead of following a pointer with no button.
    if (d->m_gridState != wgsNormal && !(event->buttons() & Qt::LeftButton))
        CancelMouseState();
    const TwGridState state = d->m_gridState;
    if (IsSizingState(state))
        DragSizing(at.x(), at.y());
    else if (IsMovingState(state))
        DragMoving(at.x(), at.y());
    else if (IsClickingState(state)) {
        const bool down = PressedTitleRect().contains(at);
        if (down != d->m_titleDown) {
            d->m_titleDown = down;
            viewport()->update(PressedTitleRect());
        }
    }
    UpdateCursor(at.x(), at.y());
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TwCustomGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const TwGridState state = d->m_gridState;
    if (event->button() != Qt::LeftButton || state == wgsNormal) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    if (IsSizingState(state))
        EndSizingState();
    else if (IsMovingState(state))
        EndMovingState();
    else
        EndClickingState();
    UpdateCursor(event->position().toPoint().x(), event->position().toPoint().y());
}

void TwCustomGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void TwCustomGrid::UpdateCursor(int x, int y)
{
    TwGridState state = d->m_gridState;
    if (state == wgsNormal && !IsNullGrid())
        state = SizingZone(x, y, false);
    if (!IsSizingState(state)) {
        viewport()->unsetCursor();
        return;
    }
    viewport()->setCursor(VerticalLine(state) ? Qt::SplitHCursor : Qt::SplitVCursor);
}
