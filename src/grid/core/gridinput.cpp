// Navigation and input of the grid core: the current column or cell and its exit and
// enter events, the moves the complete grid asks for, the keys the core handles, focus
// and the options that change what shows. Rows move in the complete grid, which gets
// them through SetCurRow and DoInRow; the mouse is in gridmouse.cpp.

#include "grid/customgrid.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridaccessible_p.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/support/notify_p.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QCursor>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace {

// The input method hints standing for a mode: the modes that ask for Latin input prefer
// it, the others leave the choice to the input method.
Qt::InputMethodHints ImeHints(TwImeMode mode)
{
    switch (mode) {
    case imClose:
    case imSAlpha:
    case imAlpha:
        return Qt::ImhPreferLatin;
    default:
        return Qt::ImhNone;
    }
}

} // namespace

bool TwCustomGrid::ImeOn(TwImeMode mode)
{
    // Input methods are either on or off here: the modes asking for direct Latin input
    // (closed, alphanumeric) turn them off like imDisable.
    switch (mode) {
    case imDisable:
    case imClose:
    case imSAlpha:
    case imAlpha:
        return false;
    default:
        return true;
    }
}

TwImeMode TwCustomGrid::CurrentImeMode() const
{
    const TwColumn *column = SelectedColumn();
    return column ? column->ImeMode() : d->m_imeMode;
}

// Current position

int TwCustomGrid::FitCol(int col) const
{
    const int count = Columns().GetVCount();
    col = qBound(0, col, qMax(0, count - 1));
    if (col < FixedCount() && !d->m_fixedStyle->Options().Has(wfxSelecting))
        col = qMin(FixedCount(), qMax(0, count - 1));
    return col;
}

TwCell TwCustomGrid::FitCell(const TwCell &cell) const
{
    if (TXValidCell(cell) && cell.Group < FixedCount() && !d->m_fixedStyle->Options().Has(wfxSelecting))
        return Groups().FirstCell();
    return cell;
}

void TwCustomGrid::ExitCell()
{
    // A handler that moves the position itself moves it without a second exit event.
    if (d->m_inCellExit)
        return;
    const QScopedValueRollback guard(d->m_inCellExit, true);
    CellExit();
}

void TwCustomGrid::SetCurCol(int value)
{
    value = FitCol(value);
    if (value == d->m_curCol)
        return;
    if (d->m_loading || d->m_groupMode) {
        d->m_curCol = value;
        return;
    }
    SetEditValue();
    const int old = d->m_curCol;
    ExitCell();
    if (d->m_curCol != old)
        return; // the exit handler moved on: its move stands
    HideEditor();
    InvalidateCurrent();
    d->m_curCol = value;
    CheckInCol(value);
    UpdateEditor();
    if (d->m_options.Has(wgoAlwaysShowEditor))
        ShowEditor();
    InvalidateCurrent();
    CellEnter();
}

void TwCustomGrid::SetCurCell(const TwCell &cell)
{
    // Outside group mode (and for an address that names no cell) the cell is only kept, so
    // that it follows its group while the other mode is shown.
    if (d->m_loading || !d->m_groupMode || !ValidCell(cell)) {
        if (cell == d->m_curCell)
            return;
        d->m_curCell = cell;
        InvalidateGrid();
        return;
    }
    const TwCell target = FitCell(cell);
    if (target == d->m_curCell || !ValidCell(target))
        return;
    SetEditValue();
    const TwCell old = d->m_curCell;
    ExitCell();
    if (d->m_curCell != old)
        return;
    HideEditor();
    InvalidateCurrent();
    d->m_curCell = target;
    CheckInCell(target);
    UpdateEditor();
    if (d->m_options.Has(wgoAlwaysShowEditor))
        ShowEditor();
    InvalidateCurrent();
    CellEnter();
}

void TwCustomGrid::InvalidateCurrent()
{
    if (d->m_updateCount > 0 || d->m_loading || IsNullGrid())
        return;
    if (d->m_groupMode) {
        if (ValidCell(d->m_curCell))
            viewport()->update(d->m_extents->GetCellBound(d->m_curCell, CurRow()));
        return;
    }
    viewport()->update(d->m_extents->GetColBound(d->m_curCol, CurRow()));
}

void TwCustomGrid::CellExit()
{
    emit OnCellExit();
}

void TwCustomGrid::CellEnter()
{
    if (!d->m_designing)
        ApplyImeSettings();
    emit OnCellEnter();
    TXAccessibleCurrentMoved(this);
}

void TwCustomGrid::CellClicked()
{
    // The memo and picture dialogs come with editing; the in-place editor opens here.
    if (CanEditShow())
        ShowEditor();
}

void TwCustomGrid::ApplyImeSettings()
{
    // The platform has no input method names a window could choose; the mode becomes
    // whether input methods are on and what input they should prefer. The editor follows
    // when it takes the focus.
    const TwImeMode mode = CurrentImeMode();
    // Compositions are typed into the cell, so they need editing.
    setAttribute(Qt::WA_InputMethodEnabled, ImeOn(mode) && EditOptions());
    setInputMethodHints(ImeHints(mode));
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

TwColumn *TwCustomGrid::GetSelectedColumn() const
{
    return SelectedColumn();
}

void TwCustomGrid::SetSelectedColumn(TwColumn *column)
{
    if (!column || column->Grid() != this)
        return;
    if (d->m_groupMode) {
        const TwCell cell = column->GetVCell();
        if (ValidCell(cell))
            SetCurCell(cell);
        return;
    }
    if (column->VIndex() >= 0)
        SetCurCol(column->VIndex());
}

int TwCustomGrid::GetSelectedIndex() const
{
    const TwColumn *column = SelectedColumn();
    return column ? column->Index() : -1;
}

void TwCustomGrid::SetSelectedIndex(int index)
{
    if (index >= 0 && index < Columns().Count())
        SetSelectedColumn(Columns().Items(index));
}

void TwCustomGrid::MoveCurrent(int col, int row)
{
    const QScopedValueRollback nesting(d->m_moveCount, d->m_moveCount + 1);
    col = FitCol(col);
    const int count = GetRowCount();
    row = qBound(0, row, qMax(0, count - 1));
    if (count > 0 && row != CurRow()) {
        const QScopedValueRollback moving(d->m_rowMoving, col != d->m_curCol);
        SetCurRow(row);
    }
    if (!d->m_rowMoving)
        SetCurCol(col);
    if (d->m_options.Has(wgoAlwaysShowEditor))
        ShowEditor();
}

void TwCustomGrid::MoveCurrent(const TwCell &cell, int row)
{
    const QScopedValueRollback nesting(d->m_moveCount, d->m_moveCount + 1);
    const TwCell target = FitCell(cell);
    const int count = GetRowCount();
    row = qBound(0, row, qMax(0, count - 1));
    if (count > 0 && row != CurRow()) {
        const QScopedValueRollback moving(d->m_rowMoving, target != d->m_curCell);
        SetCurRow(row);
    }
    if (!d->m_rowMoving)
        SetCurCell(target);
    if (d->m_options.Has(wgoAlwaysShowEditor))
        ShowEditor();
}

void TwCustomGrid::MoveNext()
{
    const QScopedValueRollback nesting(d->m_moveCount, d->m_moveCount + 1);
    // A cell with no selectable cell after it (a read-only last cell, say) is an end too:
    // otherwise Enter would stay on it for good.
    const bool atEnd = d->m_groupMode
        ? Groups().IsLastSelectCell(d->m_curCell) || Groups().NextSelectCell(d->m_curCell) == d->m_curCell
        : d->m_curCol >= Columns().LastCol();
    if (!atEnd) {
        if (d->m_groupMode)
            SetCurCell(Groups().NextSelectCell(d->m_curCell));
        else
            SetCurCol(Columns().NextCol(d->m_curCol));
        return;
    }
    // The complete grid moves the rows: it gets the Down key as if the user pressed it.
    const QScopedValueRollback moving(d->m_rowMoving, true);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    keyPressEvent(&down);
}

bool TwCustomGrid::RowMoving() const
{
    return d->m_rowMoving;
}

int TwCustomGrid::MoveCount() const
{
    return d->m_moveCount;
}

TwGridState TwCustomGrid::GridState() const
{
    return d->m_gridState;
}

void TwCustomGrid::SetOptions(TwGridOptions value)
{
    const auto notify = TwNotifyOnChange([this] { return d->m_options; }, [this] { emit OptionsChanged(d->m_options); });
    if (d->m_loading || d->m_updateCount > 0) {
        d->m_options = value;
        return;
    }
    if (d->m_options.Has(wgoMultiSelect) && !value.Has(wgoMultiSelect))
        ClearSelection();
    d->m_options = value;
    if (value.Has(wgoAlwaysShowEditor) && !EditorShowing())
        ShowEditor();
    if (EditorShowing() && !EditOptions())
        HideEditor();
    if (!d->m_designing)
        ApplyImeSettings();
    InvalidateGrid();
}

// Keys and focus

bool TwCustomGrid::focusNextPrevChild(bool next)
{
    // Tab leaves the grid only when Enter does the grid's tabbing; otherwise the grid keeps
    // it and its key handler gets it.
    if (!d->m_options.Has(wgoEnterToTab))
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TwCustomGrid::keyPressEvent(QKeyEvent *event)
{
    // F2, Delete, Ctrl+F2 and characters open, clear or fill the current cell.
    if (EditKeyPress(event)) {
        event->accept();
        return;
    }
    // The copy keys copy cells when the grid itself has the keyboard; an open editor's own
    // copy keys that reach the grid unhandled copy nothing.
    if (const TwCopyKey copy = TXCopyKey(event);
        (copy == TwCopyKey::Copy || copy == TwCopyKey::CopyWithTitles) && hasFocus()) {
        CopyToClipboard(copy == TwCopyKey::CopyWithTitles);
        event->accept();
        return;
    }
    const bool groupMode = d->m_groupMode;
    switch (event->key()) {
    case Qt::Key_Left:
        if (groupMode)
            SetCurCell(Groups().PrevSelectCell(d->m_curCell));
        else
            SetCurCol(Columns().PrevCol(d->m_curCol));
        return;
    case Qt::Key_Right:
        if (groupMode)
            SetCurCell(Groups().NextSelectCell(d->m_curCell));
        else
            SetCurCol(Columns().NextCol(d->m_curCol));
        return;
    case Qt::Key_Home:
        if (groupMode)
            SetCurCell(Groups().FirstSelectCell());
        else
            SetCurCol(Columns().FirstCol());
        return;
    case Qt::Key_End:
        if (groupMode)
            SetCurCell(Groups().LastSelectCell());
        else
            SetCurCol(Columns().LastCol());
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return; // the rows are the complete grid's; the arrows never leave the grid
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return; // here only when the grid keeps Tab
    case Qt::Key_Escape:
        if (IsSizingState(d->m_gridState) || IsMovingState(d->m_gridState)) {
            CancelMouseState();
            const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
            UpdateCursor(pointer.x(), pointer.y());
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (d->m_options.Has(wgoEditing) || d->m_options.Has(wgoInserting))
            return;
        break;
    case Qt::Key_Delete:
        if (event->modifiers() & Qt::ControlModifier) {
            DeleteRows();
            return;
        }
        break;
    default:
        break;
    }
    event->ignore();
}

void TwCustomGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    UpdateScrollRange();
    if (!d->m_designing)
        ApplyImeSettings();
    // A shown editor takes the keyboard on: the grid passes the focus to it. The focus an
    // editor hands back while it hides leaves it hidden: the grid is moving it (to another
    // row, say) and shows it again where it belongs.
    if (!d->m_hidingEditor) {
        UpdateEditor();
        if (d->m_options.Has(wgoAlwaysShowEditor))
            ShowEditor();
        if (EditorShowing()) {
            SelectEditor();
            FocusEditor();
        }
    }
    if (GetRowCount() == 0)
        InvalidateGrid();
    else
        InvalidateSelection();
}

void TwCustomGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    // Whatever takes the focus takes the mouse too: a drag or title press under way ends
    // unapplied.
    CancelMouseState();
    // A popup (a menu, a drop-down list) takes the focus only for a while.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    // The grid's own editor is a child of the grid: the focus going there stays in the grid.
    const QWidget *next = QApplication::focusWidget();
    if (next && next != this && isAncestorOf(next))
        return;
    setInputMethodHints(Qt::ImhNone);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    SetEditValue();
    HideEditor();
    InvalidateSelection();
}

void TwCustomGrid::DeleteRows()
{
    if (!EnableDeleting())
        return;
    const bool selection = GetSelectedCount() > 0;
    if (d->m_options.Has(wgoConfirmDelete)) {
        const QString question = selection ? QStringLiteral("선택된 자료를 모두 삭제하시겠습니까?")
                                           : QStringLiteral("자료를 삭제하시겠습니까?");
        if (Platform::ShowMessageBox(this, question, QStringLiteral("삭제"), Platform::TMsgIcon::Question,
                                     Platform::mbYes | Platform::mbNo, Platform::mbNo)
            != Platform::mbYes)
            return;
    }
    if (selection)
        DeleteSelection();
    else
        Delete();
}
