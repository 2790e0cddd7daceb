// The grid core's in-place editing: which editor serves the selected cell, where it sits,
// and how its value travels between the cell and the editor.

#include "grid/customgrid.h"
#include "grid/core/extents.h"

#include "grid/core/customgrid_p.h"
#include "grid/core/ineditors_p.h"
#include "grid/uxdlgimg.h"
#include "grid/uxdlgmemo.h"
#include "grid/uxutils.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {

bool IsDateKind(TwEditKind kind)
{
    return kind == wekDate || kind == wekTime;
}

// The slot an edit kind's editor lives in: number and spin edits share one.
int EditorSlot(TwEditKind kind)
{
    return kind == wekSpinEdit ? wekNumber : kind;
}

} // namespace

// Watches an editor's focus: when it goes outside the grid (not to a popup of the editor's
// own, such as its list or calendar), the grid takes the value and hides the editor, as it
// does when it loses the focus itself.
class TwEditorFocusWatch : public QObject
{
public:
    explicit TwEditorFocusWatch(TwCustomGrid *grid)
        : QObject(grid)
        , m_grid(grid)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FocusOut || m_grid->ActiveEditor() != watched || !m_grid->EditorShowing())
            return false;
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
            return false;
        const QWidget *next = QApplication::focusWidget();
        if (next && (next == m_grid || m_grid->isAncestorOf(next)))
            return false;
        m_grid->SetEditValue();
        m_grid->HideEditor();
        m_grid->InvalidateSelection();
        return false;
    }

private:
    TwCustomGrid *m_grid;
};


void TwCustomGrid::DeleteEditors()
{
    d->m_editorShowing = false;
    d->m_activeEditor = nullptr;
    delete d->m_editorFocusWatch;
    d->m_editorFocusWatch = nullptr;
    for (TwInEditor *&editor : d->m_editors) {
        delete editor;
        editor = nullptr;
    }
}

bool TwCustomGrid::EditorShowing() const
{
    return d->m_editorShowing;
}

QWidget *TwCustomGrid::ActiveEditor() const
{
    return d->m_activeEditor ? d->m_activeEditor->Widget() : nullptr;
}

TwColumn *TwCustomGrid::EditingColumn() const
{
    return d->m_editorShowing ? d->m_editingColumn.data() : nullptr;
}

int TwCustomGrid::EditingRow() const
{
    return d->m_editorShowing ? d->m_editingRow : -1;
}

QWidget *TwCustomGrid::CreateEditor(TwColumn *column)
{
    if (!column)
        return nullptr;
    const TwEditKind kind = column->GetEditKind();
    if (kind == wekNull || kind == wekMemo || kind == wekGraphic)
        return nullptr;
    TwInEditor *&slot = d->m_editors[EditorSlot(kind)];
    if (!slot) {
        if (kind == wekDataList || kind == wekLookupList) {
            QWidget *made = kind == wekDataList ? CreateDataListEditor() : CreateLookupListEditor();
            slot = dynamic_cast<TwInEditor *>(made);
            if (!slot) {
                delete made;
                return nullptr;
            }
        } else {
            slot = TwCreateInEditor(kind, this);
        }
        if (!slot)
            return nullptr;
        QWidget *widget = slot->Widget();
        widget->hide();
        widget->setParent(viewport());
        if (!d->m_editorFocusWatch)
            d->m_editorFocusWatch = new TwEditorFocusWatch(this);
        widget->installEventFilter(d->m_editorFocusWatch);
    }
    return slot->Widget();
}

void TwCustomGrid::ShowEditor()
{
    if (d->m_moveCount > 0 || d->m_editorShowing)
        return;
    TwColumn *column = SelectedColumn();
    if (!column)
        return;
    const TwEditKind kind = column->GetEditKind();
    if (kind == wekMemo || kind == wekGraphic)
        return;
    const int strip = d->m_groupMode ? d->m_curCell.Group : d->m_curCol;
    if (IsFixedStrip(strip) && !FixedStyle().Options().Has(wfxEditing))
        return;
    if (!CanEditShow() || !column->CanEditShow())
        return;
    if (!CreateEditor(column))
        return;
    TwInEditor *editor = d->m_editors[EditorSlot(kind)];
    editor->SetColumn(column);
    editor->SetValue(GetEditValue(column));
    d->m_activeEditor = editor;
    d->m_editingColumn = column;
    d->m_editingRow = CurRow();
    d->m_editorShowing = true;
    d->m_editorParked = false;
    MoveEditor();
}

QRect TwCustomGrid::EditorRect(TwColumn *column, int row, bool multiLine) const
{
    const TwGridExtents &extents = *d->m_extents;
    const int strip = d->m_groupMode ? d->m_curCell.Group : d->m_curCol;
    QRect rect;
    if (multiLine)
        rect = (d->m_groupMode ? extents.GetCellBound(d->m_curCell, row) : extents.GetColBound(strip, row))
                   .adjusted(0, 0, 0, -1);
    else
        rect = d->m_groupMode ? extents.GetCellRect(d->m_curCell, row) : extents.GetColRect(strip, row);
    if (!IsFixedStrip(strip))
        rect.setLeft(std::max(rect.left(), extents.ScrollingLeft()));
    rect.setTop(std::max(rect.top(), extents.GetHeadBottom()));
    rect.setRight(std::min(rect.right(), extents.Client().right()));
    // Nothing of the editor may cover the footers.
    rect.setBottom(std::min(rect.bottom(), extents.FooterTop() - 1));
    if (column && column->EditButton())
        rect.setRight(rect.right() - TXButtonWidth());
    return rect;
}

bool TwCustomGrid::EditorRowInView() const
{
    const int row = d->m_editingRow;
    return row >= GetTopRow() && row < GetRowCount() && d->m_extents->GetTops(row) < d->m_extents->FooterTop();
}

void TwCustomGrid::MoveEditor()
{
    if (!d->m_editorShowing || !d->m_activeEditor)
        return;
    TwColumn *column = d->m_editingColumn;
    const QRect rect = EditorRect(column, d->m_editingRow, column && column->GetEditKind() == wekMultiText);
    // A row scrolled out of view hides the control only; it shows again when the row returns.
    d->m_editorParked = !EditorRowInView() || rect.width() <= 0 || rect.height() <= 0;
    if (d->m_editorParked) {
        QWidget *widget = d->m_activeEditor->Widget();
        if (widget->hasFocus())
            setFocus(Qt::OtherFocusReason);
        widget->hide();
        return;
    }
    const bool focus = hasFocus();
    d->m_activeEditor->Move(rect, true);
    if (focus)
        d->m_activeEditor->Widget()->setFocus(Qt::OtherFocusReason);
}

void TwCustomGrid::UpdateEditor()
{
    MoveEditor();
    UpdateButton();
}

void TwCustomGrid::HideEditor()
{
    if (!d->m_editorShowing)
        return;
    d->m_editorShowing = false;
    d->m_editorParked = false;
    if (d->m_activeEditor) {
        const QScopedValueRollback hiding(d->m_hidingEditor, true);
        d->m_activeEditor->HideEditor();
    }
}

bool TwCustomGrid::EditorChanged() const
{
    return d->m_editorShowing && d->m_activeEditor && d->m_activeEditor->Modified();
}

void TwCustomGrid::SelectEditor()
{
    if (d->m_editorShowing && d->m_activeEditor)
        d->m_activeEditor->SelectAll();
}

void TwCustomGrid::DeselectEditor()
{
    if (d->m_editorShowing && d->m_activeEditor)
        d->m_activeEditor->Deselect();
}

QVariant TwCustomGrid::GetEditVal()
{
    TwInEditor *editor = d->m_activeEditor;
    if (!editor)
        return {};
    if (editor->Column() && IsDateKind(editor->Column()->GetEditKind()) && !d->m_completingEdit) {
        d->m_completingEdit = true;
        editor->CompleteText();
        d->m_completingEdit = false;
    }
    return editor->Value();
}

bool TwCustomGrid::CompletingEdit() const
{
    return d->m_completingEdit;
}

void TwCustomGrid::ResetEditor()
{
    if (!d->m_editorShowing || !d->m_activeEditor)
        return;
    TwColumn *column = SelectedColumn();
    if (!column || column != d->m_editingColumn || d->m_editingRow != CurRow())
        return;
    d->m_activeEditor->SetValue(GetEditValue(column));
    SetEditValue();
}

void TwCustomGrid::SetEditorValue(const QVariant &value)
{
    if (!d->m_editorShowing || !d->m_activeEditor)
        return;
    TwColumn *column = d->m_editingColumn;
    if (!column)
        return;
    if (!column->EditCanModify()) {
        EditorBeep();
        return;
    }
    d->m_activeEditor->SetValue(value);
    d->m_activeEditor->MarkModified();
}

bool TwCustomGrid::SendToEditor(QEvent *event)
{
    if (!d->m_editorShowing || !d->m_activeEditor)
        return false;
    QWidget *widget = d->m_activeEditor->Widget();
    if (!widget->isVisible())
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    QApplication::sendEvent(widget, event);
    return true;
}

bool TwCustomGrid::EditorKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    event.accept();
    keyPressEvent(&event);
    return event.isAccepted();
}

void TwCustomGrid::EditorBeep()
{
    TXErrBeep();
}

bool TwCustomGrid::DoEdit(TwColumn *column)
{
    bool accept = true;
    emit OnEdit(column, accept);
    return accept;
}

void TwCustomGrid::DoDropDown()
{
    emit OnDropDown();
}

void TwCustomGrid::DoCloseUp(bool accept)
{
    emit OnCloseUp(accept);
}

void TwCustomGrid::UpdateButton()
{
    TwColumn *column = SelectedColumn();
    if (!d->m_editButton && !(column && column->EditButton()))
        return;
    if (!d->m_editButton)
        d->m_editButton = new TwEditButton(this);
    d->m_editButton->Move(column, CurRow());
}

void TwCustomGrid::HideButton()
{
    if (d->m_editButton)
        d->m_editButton->hide();
}

QRect TwCustomGrid::PopupCellRect() const
{
    const int row = CurRow();
    const QRect bound = d->m_groupMode ? d->m_extents->GetCellBound(d->m_curCell, row)
                                       : d->m_extents->GetColBound(d->m_curCol, row);
    return bound.adjusted(0, 0, 0, -1);
}

bool TwCustomGrid::ShowMemoDlg()
{
    TwColumn *column = SelectedColumn();
    if (!column || column->GetEditKind() != wekMemo || !CanEditShow() || !column->CanEditShow())
        return false;
    TwInDlgMemo dialog(this);
    dialog.SetOnOk([this](const QString &text) { MemoDlgOk(text); });
    dialog.ShowDlg(PopupCellRect(), viewport(), GetEditValue(column), column->GetEditLimit());
    setFocus(Qt::OtherFocusReason);
    return true;
}

bool TwCustomGrid::ShowImageDlg()
{
    TwColumn *column = SelectedColumn();
    if (!column || column->GetEditKind() != wekGraphic || !CanEditShow() || !column->CanEditShow())
        return false;
    TwInDlgImg dialog(this);
    dialog.SetOnOk([this](const QPixmap &image) { ImgDlgOk(image); });
    dialog.ShowDlg(PopupCellRect(), viewport(), GetEditValue(column).value<QPixmap>());
    setFocus(Qt::OtherFocusReason);
    return true;
}
