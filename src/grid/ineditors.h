#pragma once

// What every in-place editor of the grid offers: a widget laid over one cell, given the
// cell's value, read back by the grid, selected, and hidden without losing what it holds.

#include "grid/gridenums.h"

#include <QRect>
#include <QWidget>
#include <QVariant>


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
    TwCustomGrid *Grid() const { return m_grid; }
    /// The column the editor edits now.
    TwColumn *Column() const { return m_column; }
    /// Takes the column's settings (font, colours, limits, items).
    virtual void SetColumn(TwColumn *column) { m_column = column; }

    /// The value shown; null for an empty editor that allows null.
    virtual QVariant Value() const = 0;
    /// Shows a value (null clears it) and marks the editor unchanged.
    virtual void SetValue(const QVariant &value) = 0;
    /// The value was changed since the last SetValue.
    bool Modified() const { return m_modified; }
    void MarkModified() { m_modified = true; }

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

private:
    TwCustomGrid *m_grid;
    TwColumn *m_column = nullptr;

protected:
    /// Cleared by SetValue, set by every change the user makes.
    bool m_modified = false;
};

/// The ellipsis button at the right edge of the current cell of a column with EditButton;
/// one per grid. A click raises the grid's EditButtonClick.
class TABRIX_EXPORT TwEditButton : public QWidget
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

/// The grid's editor for an edit kind (number and spin edits share one; list kinds other
/// than the pick list come from the grid's own factories); null for kinds without one.
TABRIX_EXPORT TwInEditor *TwCreateInEditor(TwEditKind kind, TwCustomGrid *grid);
