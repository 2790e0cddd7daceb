#pragma once

// Internal: the grid's in-place editor classes, one per edit kind family. Not installed;
// the grid reaches them through TwInEditor.

#include "grid/core/ineditors.h"
#include "grid/uxdedit.h"
#include "grid/uxedits.h"
#include "grid/uxlists.h"
#include "grid/uxnedit.h"
#include "grid/uxutils.h"

class QKeyEvent;

/// A key that types a character (not a shortcut with Ctrl or Alt).
bool TwIsPrintableKey(const QKeyEvent *event);

#include <QPlainTextEdit>
#include <QWidget>

class TwInCombo;

/// The ellipsis button at the right edge of the current cell of a column with EditButton;
/// one per grid. A click raises the grid's EditButtonClick.
class TwEditButton : public QWidget
{
    Q_OBJECT

public:
    explicit TwEditButton(TwCustomGrid *grid);

    /// Hides unless the column has EditButton; else sits at the right edge of the cell
    /// (clipped like the editor) and shows.
    void Move(TwColumn *column, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TwCustomGrid *m_grid;
    bool m_tracking = false;
    bool m_down = false;
};

/// Where a text editor's caret stands, for the keys that leave it.
struct TwCaretPlace
{
    bool AtLeft = false;
    bool AtRight = false;
    bool FirstLine = true;
    bool LastLine = true;
};

/// The single-line text editor on the mask edit.
class QValidator;

class TwInEdit : public TwCustomMaskEdit, public TwInEditor
{
    Q_OBJECT

public:
    explicit TwInEdit(TwCustomGrid *grid);

    QWidget *Widget() override { return this; }
    void SetColumn(TwColumn *column) override;
    QVariant Value() const override;
    void SetValue(const QVariant &value) override;
    void SelectAll() override { selectAll(); }
    void Deselect() override;
    void HideEditor() override;

protected:
    void ApplyColumn() override;
    /// The list editors close an open list before a key leaves the text.
    virtual void LeavingText() {}
    /// A list editor's own keys (Enter, Escape, Alt+Up/Down); true when consumed.
    virtual bool ListKey(QKeyEvent *) { return false; }
    /// Asks the column before the first change since the value was set; beeps on refusal.

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

    bool m_setting = false;

private:
    TwCaretPlace CaretPlace() const;

    bool m_selectToggle = false;
    qint64 m_lastPress = 0;
    /// Holds the text to the column's limit in code page 949 bytes; none without a limit.
    QValidator *m_byteLimit = nullptr;
};

/// The multi-line text editor.
class TwInMultiEdit : public QPlainTextEdit, public TwInEditor
{
    Q_OBJECT

public:
    explicit TwInMultiEdit(TwCustomGrid *grid);

    QWidget *Widget() override { return this; }
    QVariant Value() const override;
    void SetValue(const QVariant &value) override;
    void SelectAll() override { selectAll(); }
    void Deselect() override;

protected:
    void ApplyColumn() override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:

    bool m_setting = false;
};

/// The number editor shared by the number and spin-edit kinds.
class TwInNumEdit : public TwCustomNumEdit, public TwInEditor
{
    Q_OBJECT

public:
    explicit TwInNumEdit(TwCustomGrid *grid);

    QWidget *Widget() override { return this; }
    void SetColumn(TwColumn *column) override;
    QVariant Value() const override;
    void SetValue(const QVariant &value) override;
    void SelectAll() override { TwCustomNumEdit::SelectAll(); }
    void Deselect() override;

protected:
    void ApplyColumn() override;
    void ErrBeep() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_setting = false;
};

/// The date editor (null allowed); the time editor is the same in its time kind.
class TwInDateEdit : public TwCustomDateEdit, public TwInEditor
{
    Q_OBJECT

public:
    TwInDateEdit(TwCustomGrid *grid, TwDateTimeKind kind);

    QWidget *Widget() override { return this; }
    QVariant Value() const override;
    void SetValue(const QVariant &value) override;
    void SelectAll() override;
    void Deselect() override;
    void CompleteText() override;

protected:
    void ApplyColumn() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_setting = false;
    bool m_completing = false;
    // The whole value last given, for the part the editor does not show.
    TDateTime m_kept = 0;
};

class TwInTimeEdit : public TwInDateEdit
{
    Q_OBJECT

public:
    explicit TwInTimeEdit(TwCustomGrid *grid)
        : TwInDateEdit(grid, dtkTime)
    {
    }
};

/// The list the combo editors drop down; it reports its close to the editor.
class TwInComboList : public TwItemList
{
    Q_OBJECT

public:
    explicit TwInComboList(TwInCombo *combo);

protected:
    void CloseUp(bool accept) override;

private:
    TwInCombo *m_combo;
};

/// A text editor with a drop-down list.
class TwInCombo : public TwInEdit
{
    Q_OBJECT

public:
    explicit TwInCombo(TwCustomGrid *grid);

    bool DroppedDown() const { return m_droppedDown; }
    virtual void DropDown();
    /// Closes the list; `accept` takes the highlighted line.
    virtual void CloseUp(bool accept);
    void HideEditor() override;

protected:
    QRect GetCustomRect() const override;
    void DrawCustom(QPainter *canvas, const QRect &rect) override;
    void LeavingText() override;
    bool ListKey(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void CloseList();

    TwInComboList *m_list = nullptr;
    bool m_droppedDown = false;
    QString m_dropDownText;
};

/// The pick list: chooses one of the column's Values.
class TwInPickList : public TwInCombo
{
    Q_OBJECT

public:
    explicit TwInPickList(TwCustomGrid *grid);

    QVariant Value() const override;
    void SetValue(const QVariant &value) override;
    void DropDown() override;
    void CloseUp(bool accept) override;

private:
    /// The text shown for a Values line: the line, or in items mode its Items field.
    QString ShownText(int index) const;
    void TypedText();
    void RestoreText();

    int m_itemIndex = -1;
    int m_dropDownIndex = -1;
};

/// A custom-painted editor without a caret: check boxes, booleans and radio groups.
class TwInSpecial : public QWidget, public TwInEditor
{
    Q_OBJECT

public:
    explicit TwInSpecial(TwCustomGrid *grid);

    QWidget *Widget() override { return this; }

protected:
    /// Asks the column before a change; beeps on refusal.
    bool CanModify();
    /// Keys that always go to the grid: true when handed over.
    bool CommonKey(QKeyEvent *event);
    void SetChanged();
};

class TwInCheckEdit : public TwInSpecial
{
    Q_OBJECT

public:
    explicit TwInCheckEdit(TwCustomGrid *grid);

    QVariant Value() const override;
    void SetValue(const QVariant &value) override;
    /// false or null become true, true becomes false.
    void Toggle();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

    QVariant m_value;
};

class TwInBoolEdit : public TwInCheckEdit
{
    Q_OBJECT

public:
    explicit TwInBoolEdit(TwCustomGrid *grid);

protected:
    void paintEvent(QPaintEvent *event) override;
};

class TwInRadioGroup : public TwInSpecial
{
    Q_OBJECT

public:
    explicit TwInRadioGroup(TwCustomGrid *grid);

    QVariant Value() const override;
    void SetValue(const QVariant &value) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int Count() const;
    int Columns() const;
    void Choose(int index);

    int m_index = -1;
};
