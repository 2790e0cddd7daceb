// Editing input of the grid core: the keys that open or clear the current cell (F2, Delete,
// Ctrl+F2), characters and input-method compositions typed while the grid itself has the
// focus (they open the in-place editor and continue there), and the keys the grid claims
// from its window (Enter and Escape) while it edits.

#include "grid/customgrid.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/core/ineditors_p.h"
#include "grid/uxutils.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {

// The widget inside an editor that takes its focus and its keys.
QWidget *FocusTarget(QWidget *editor)
{
    QWidget *target = editor;
    while (target && target->focusProxy())
        target = target->focusProxy();
    return target;
}

bool HasEditorFocus(QWidget *editor)
{
    const QWidget *target = FocusTarget(editor);
    return target && target->hasFocus();
}

// The kinds whose editor takes a null value from the Delete key.
bool NullableKind(TwEditKind kind)
{
    return kind >= wekText && kind <= wekLookupList;
}

} // namespace

bool TwCustomGrid::EditOptions() const
{
    return d->m_options.Has(wgoEditing) || d->m_options.Has(wgoInserting);
}

bool TwCustomGrid::IsCharKey(const QKeyEvent *event)
{
    // Decided by the key and its modifiers: shortcuts (Ctrl+V) carry a text too, and some
    // keys arrive without one. Shift and the keypad leave a key a character.
    const Qt::KeyboardModifiers shortcut = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (event->modifiers() & shortcut)
        return false;
    const int key = event->key();
    if (key == Qt::Key_Backspace)
        return true;
    if (key >= Qt::Key_Space && key < Qt::Key_Escape)
        return true;
    // Keys Qt has no code for (Key_unknown) are characters when they bring one.
    return (key == 0 || key == Qt::Key_unknown) && !event->text().isEmpty() && event->text().at(0) >= QLatin1Char(' ');
}

QChar TwCustomGrid::KeyChar(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace)
        return QChar(0x08);
    const QString text = event->text();
    if (!text.isEmpty())
        return text.at(0);
    // A Latin key without its text: the key code is its capital letter.
    const QChar key(event->key());
    return event->modifiers() & Qt::ShiftModifier ? key : key.toLower();
}

void TwCustomGrid::DeleteKey()
{
    TwColumn *column = SelectedColumn();
    if (!column)
        return;
    ShowEditor();
    if (!EditorShowing() || !NullableKind(column->GetEditKind()))
        return;
    // Asked only now: it starts editing the row.
    if (column->EditCanModify())
        SetEditorValue(QVariant());
}

void TwCustomGrid::F2Key()
{
    if (GetRowCount() < 1 && d->m_options.Has(wgoInserting))
        InsertFirst();
    if (ShowMemoDlg() || ShowImageDlg())
        return;
    ShowEditor();
    if (!EditorShowing())
        return;
    FocusEditor();
    DeselectEditor();
}

void TwCustomGrid::FocusEditor()
{
    QWidget *target = FocusTarget(ActiveEditor());
    if (!target || !target->isVisible() || target->hasFocus())
        return;
    // Moving the focus would end a composition under way in the grid (Qt commits the input
    // method of a widget losing the focus); the editor continues it instead.
    target->setAttribute(Qt::WA_InputMethodEnabled, ImeOn(CurrentImeMode()));
    const bool inputMethod = testAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    target->setFocus(Qt::OtherFocusReason);
    setAttribute(Qt::WA_InputMethodEnabled, inputMethod);
}

bool TwCustomGrid::CharKey(QKeyEvent *event)
{
    TwColumn *column = SelectedColumn();
    if (!column || !EditOptions())
        return false;
    if (!column->IsValidChar(KeyChar(event))) {
        TXErrBeep();
        return true;
    }
    if (GetRowCount() < 1)
        InsertFirst();
    ShowEditor();
    QWidget *target = EditorShowing() ? FocusTarget(ActiveEditor()) : nullptr;
    if (target) {
        FocusEditor();
        SelectEditor();
    }
    // Asked only now, just before the change: it starts editing the row.
    if (!target || !column->EditCanModify()) {
        TXErrBeep();
        return true;
    }
    // The editor gets the key itself, once: its selected content gives way to it. A key
    // the editor refuses comes back up to the grid, which then lets it pass.
    const QString text = event->key() == Qt::Key_Backspace || !event->text().isEmpty() ? event->text()
                                                                                          : QString(KeyChar(event));
    QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), event->nativeScanCode(),
                   event->nativeVirtualKey(), event->nativeModifiers(), text, event->isAutoRepeat(),
                   event->count());
    const QScopedValueRollback forwarding(d->m_forwardingKey, true);
    QCoreApplication::sendEvent(target, &copy);
    return true;
}

bool TwCustomGrid::EditKeyPress(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Delete:
        if (ctrl)
            return false;
        DeleteKey();
        return true;
    case Qt::Key_F2:
        if (ctrl) {
            const TwColumn *column = SelectedColumn();
            if (column && column->EditButton() && d->m_editButton && d->m_editButton->isVisible())
                EditButtonClick();
            return true;
        }
        F2Key();
        return true;
    default:
        break;
    }
    // A character coming back up from the editor (one it left unaccepted) is not typed
    // again: while the editor shows, only the grid's own focus makes a key the grid's.
    if (!IsCharKey(event) || d->m_forwardingKey || (EditorShowing() && !hasFocus()))
        return false;
    return CharKey(event);
}

void TwCustomGrid::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept();
    TwColumn *column = SelectedColumn();
    if (!column || !EditOptions())
        return;
    const QString composed = event->commitString().isEmpty() ? event->preeditString() : event->commitString();
    QWidget *target = FocusTarget(ActiveEditor());
    if (!(EditorShowing() && HasEditorFocus(ActiveEditor()))) {
        // The start of a composition (no text yet) is swallowed; its first text opens the
        // editor like a typed character.
        if (composed.isEmpty())
            return;
        if (!column->IsValidChar(composed.at(0))) {
            TXErrBeep();
            return;
        }
        if (GetRowCount() < 1)
            InsertFirst();
        ShowEditor();
        target = EditorShowing() ? FocusTarget(ActiveEditor()) : nullptr;
        if (!target) {
            TXErrBeep();
            return;
        }
        FocusEditor();
        SelectEditor();
    }
    if (!composed.isEmpty() && !column->EditCanModify()) {
        TXErrBeep();
        return;
    }
    // The composition continues inside the editor: it gets this step of it, and the input
    // method talks to it from now on.
    QCoreApplication::sendEvent(target, event);
}

QVariant TwCustomGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return testAttribute(Qt::WA_InputMethodEnabled);
    case Qt::ImHints:
        return static_cast<int>(inputMethodHints());
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle: {
        // The composition window goes where the editor will show: the current cell.
        if (IsNullGrid() || GetRowCount() < 1)
            return QRect();
        const QRect cell = d->m_groupMode ? d->m_extents->GetCellBound(d->m_curCell, CurRow())
                                          : d->m_extents->GetColBound(d->m_curCol, CurRow());
        return QRect(viewport()->mapTo(this, cell.topLeft()), cell.size());
    }
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
    case Qt::ImTextBeforeCursor:
    case Qt::ImTextAfterCursor:
        return QString();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return 0;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

bool TwCustomGrid::ClaimsKey(const QKeyEvent *event) const
{
    // The copy and paste keys copy and paste the grid's cells, not what a window's shortcut
    // would.
    if (TXCopyKey(event) != TwCopyKey::None && hasFocus())
        return true;
    // While the grid edits, Enter and Escape are its own: a window's shortcut or a dialog's
    // default button must not take them from it or its editor.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EditOptions() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    case Qt::Key_Escape:
        return GetGridMode() == wgmEdit || GetGridMode() == wgmInsert || EditorShowing();
    default:
        return false;
    }
}
