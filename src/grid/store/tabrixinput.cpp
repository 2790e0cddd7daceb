#include "grid/tabrix.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/store/tabrix_p.h"

// The complete grid's keys and mouse wheel: moving between rows (posting the row left, or
// dropping an untouched new one), extending a range of selected rows with Shift, new rows,
// Enter and Escape with the in-place editor, and scrolling by whole rows.

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr int WheelNotch = 120;

} // namespace

namespace {

// Group mode: Up and Down first go to the level above or below in the current group (the
// nearest column of that level); false when there is none, and the row changes instead.
bool MoveToLevel(TTabrix &grid, int step)
{
    const TwCell cell = grid.CurCell();
    const TwGroup *group = grid.GetVGroups(cell.Group);
    const int level = cell.Level + step;
    if (!group || level < 0 || level >= group->Levels() || group->GetColCount(level) == 0)
        return false;
    grid.SetCurCell(WCell(cell.Group, level, qMin(cell.Index, group->GetColCount(level) - 1)));
    return true;
}

} // namespace

void TTabrix::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+V and Shift+Insert paste rows when the grid itself has the keyboard (an open
    // editor pastes into itself); a refused paste is reported by the grid's event handling.
    if (TXCopyKey(event) == TwCopyKey::Paste && hasFocus()) {
        event->accept();
        // A grid that neither edits nor adds rows takes no paste.
        if (Options().Has(wgoEditing) || Options().Has(wgoInserting))
            PasteFromClipboard();
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Down:
        MoveDown(1, modifiers, true);
        break;
    case Qt::Key_Up:
        MoveUp(1, modifiers);
        break;
    case Qt::Key_PageDown:
        MoveDown(ctrl ? GetRowCount() : VisibleRowCount(), modifiers, false);
        break;
    case Qt::Key_PageUp:
        MoveUp(ctrl ? GetRowCount() : VisibleRowCount(), modifiers);
        break;
    case Qt::Key_Insert:
        if (modifiers != Qt::NoModifier) {
            TwCustomGrid::keyPressEvent(event);
            return;
        }
        Insert(false);
        break;
    case Qt::Key_F3:
        CopyAbove();
        break;
    case Qt::Key_Escape:
        // Escape first ends a sizing or moving drag of the core, and does only that.
        if (IsSizingState(GridState()) || IsMovingState(GridState())) {
            TwCustomGrid::keyPressEvent(event);
            return;
        }
        EscapeKey();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Options().Has(wgoEnterToTab))
            MoveNext();
        else
            EnterKey();
        break;
    default:
        TwCustomGrid::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TTabrix::CopyAbove()
{
    const int current = CurRow();
    TwColumn *column = SelectedColumn();
    if (GetRowCount() < 2 || current == 0 || !column)
        return;
    // May the column be modified: this starts editing the row.
    if (column->EditCanModify())
        Cells(column->Index(), current).SetValue(Cells(column->Index(), current - 1).Value());
    if (EditorShowing())
        ResetEditor();
    else
        ShowEditor();
    SelectEditor();
}

void TTabrix::EnterKey()
{
    if (EditorShowing()) {
        if (Options().Has(wgoAlwaysShowEditor))
            return;
        SetEditValue();
        HideEditor();
        return;
    }
    ShowEditor();
    SelectEditor();
}

void TTabrix::EscapeKey()
{
    if (d->m_gridMode == wgmBrowse)
        ClearSelection();
    bool editorChanged = false;
    if (EditorShowing()) {
        // The first Escape undoes what the editor holds, the next one the row's edit.
        editorChanged = EditorChanged();
        if (editorChanged)
            ResetEditor();
        if (!Options().Has(wgoAlwaysShowEditor))
            HideEditor();
    }
    if (!editorChanged)
        Cancel();
}

void TTabrix::MoveDown(int count, Qt::KeyboardModifiers modifiers, bool downKey)
{
    SetEditValue();
    const int rows = GetRowCount();
    const int current = CurRow();
    if (d->m_gridMode == wgmInsert && !d->m_modified) {
        // An untouched new row goes, unless it is the last row: there Down stays on it.
        if (!IsLastRow(current))
            Cancel();
        return;
    }
    if (modifiers == Qt::ShiftModifier && Options().Has(wgoMultiSelect) && rows > 0) {
        Post();
        if (!IsLastRow(current)) {
            const int target = static_cast<int>(qMin<qint64>(static_cast<qint64>(current) + count, rows - 1));
            ExtendRange(target);
            SetCurRow(target);
        }
        return;
    }
    ClearSelection();
    if (GroupMode() && count == 1 && MoveToLevel(*this, +1))
        return;
    if (rows == 0) {
        Insert(false);
        return;
    }
    if (downKey && IsLastRow(current)) {
        Insert(true);
        return;
    }
    SetCurRow(static_cast<int>(qMin<qint64>(static_cast<qint64>(current) + count, rows - 1)));
}

void TTabrix::MoveUp(int count, Qt::KeyboardModifiers modifiers)
{
    SetEditValue();
    const int rows = GetRowCount();
    const int current = CurRow();
    if (d->m_gridMode == wgmInsert && !d->m_modified) {
        Cancel();
        return;
    }
    if (modifiers == Qt::ShiftModifier && Options().Has(wgoMultiSelect) && rows > 0 && current > 0) {
        Post();
        const int target = qMax(0, current - count);
        ExtendRange(target);
        SetCurRow(target);
        return;
    }
    ClearSelection();
    if (GroupMode() && count == 1 && MoveToLevel(*this, -1))
        return;
    if (rows > 1 && current > 0) {
        SetCurRow(qMax(0, current - count));
        return;
    }
    if (d->m_gridMode != wgmBrowse)
        Post();
}

void TTabrix::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (!viewport()->rect().contains(event->position().toPoint()))
        return;
    d->m_wheelDelta += event->angleDelta().y();
    const int notches = d->m_wheelDelta / WheelNotch;
    if (notches == 0)
        return;
    d->m_wheelDelta -= notches * WheelNotch;
    if (GetRowCount() <= VisibleRowCount()) {
        // Every row shows: the wheel walks the columns instead.
        for (int i = 0; i < qAbs(notches); ++i) {
            const int leftCol = GetLeftCol();
            if (notches > 0)
                SetLeftCol(leftCol - 1);
            else if (leftCol >= StripCount() - 1)
                SetLeftPos(horizontalScrollBar()->maximum());
            else
                SetLeftCol(leftCol + 1);
        }
        return;
    }
    const qint64 top = static_cast<qint64>(GetTopRow()) - notches;
    SetTopRow(static_cast<int>(qBound(qint64(0), top, qint64(GetRowCount()))));
}
