#pragma once

// What every in-place editor of the grid offers: a widget laid over one cell, given the
// cell's value, read back by the grid, selected, and hidden without losing what it holds.

#include "grid/gridenums.h"

#include <QRect>
#include <QWidget>
#include <QVariant>


class QInputMethodEvent;
class QKeyEvent;
class TwColumn;
class TwCustomGrid;

class TABRIX_EXPORT TwInEditor
{
public:
    explicit TwInEditor(TwCustomGrid *grid);
    virtual ~TwInEditor();
    TwInEditor(const TwInEditor &) = delete;
    TwInEditor &operator=(const TwInEditor &) = delete;

    /// The control itself.
    virtual QWidget *Widget() = 0;
    TwCustomGrid *Grid() const;
    /// The column the editor edits now.
    TwColumn *Column() const;
    /// Takes the column's settings (font, colours, limits, items).
    virtual void SetColumn(TwColumn *column);

    /// The value shown; null for an empty editor that allows null.
    virtual QVariant Value() const = 0;
    /// Shows a value (null clears it) and marks the editor unchanged.
    virtual void SetValue(const QVariant &value) = 0;
    /// The value was changed since the last SetValue.
    bool Modified() const;
    void MarkModified() { SetModified(true); }
    void SetModified(bool value);

    /// Selects the whole content; nothing for editors without text.
    virtual void SelectAll() {}
    /// Puts the caret at the end of the content.
    virtual void Deselect() {}
    /// Places the editor (grid viewport coordinates), applies the column's look, and shows it.
    virtual void Move(const QRect &rect, bool show);
    /// Hides the control keeping its content; the grid gets the focus back when the editor had it.
    virtual void HideEditor();
    /// A date still being typed parses its text (the grid asks before reading the value).
    virtual void CompleteText() {}

protected:
    /// Column look: border, font, colour and alignment.
    virtual void ApplyColumn();
    /// Asks the column once per value whether the user may change it; beeps on refusal.
    bool CanModify();
    /// A new value is asked about again.
    void ForgetModifyAnswer();
    /// A key that would change the text (typing, Backspace, paste, cut) but may not: the column
    /// refuses the character or the change (with a beep). Consumed by the caller.
    bool RefusesTypedChange(const QKeyEvent *event);
    /// A composition on a column that may not change; consumed by the caller.
    bool RefusesComposition(const QInputMethodEvent *event);

    // What an editor tells its grid.
    /// A key handed back: the grid's key handler runs with it; true when it consumed it.
    bool KeyToGrid(int key, Qt::KeyboardModifiers modifiers) const;
    /// A key or a change refused: the error beep.
    void Beep() const;
    /// A list editor's list opened, or closed with or without acceptance.
    void ListDroppedDown() const;
    void ListClosedUp(bool accept) const;
    /// The grid has a date's text completed before it reads the value.
    bool GridCompleting() const;
    /// The grid shows its editor over `row` of `column` (a key handed to the grid may have
    /// moved it on).
    bool StillEditing(const TwColumn *column, int row) const;
    /// The row the shown editor edits, -1 when none shows.
    int EditingRow() const;

private:
    struct Private;
    std::unique_ptr<Private> const d;
};

/// The grid's editor for an edit kind (number and spin edits share one; list kinds other
/// than the pick list come from the grid's own factories); null for kinds without one.
TABRIX_EXPORT TwInEditor *TwCreateInEditor(TwEditKind kind, TwCustomGrid *grid);
