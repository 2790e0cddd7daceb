#pragma once

// The self-painted drop-down list shown under a combo or a pick-list cell: rows of items
// split into columns at the option's separator, an optional title row, lines between rows
// and columns, an image per row, and a value list that either adds a visible column or
// stands alone.

#include "grid/uxlistoption.h"
#include "grid/uxtypes.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QEvent;
class QKeyEvent;
class QScrollBar;
class TwImageList;
class TwListoption;
class TwItemListPrivate;

/// A top-level popup window (Qt::Popup): while it shows, Qt sends it every mouse and key
/// event of the application. It is shown without activating a window of its own.
///
/// Keys the list keeps (without Alt): Up, Down, Page Up, Page Down, Home and End move the
/// selection. Every other key — typed characters, Backspace, Delete, Enter, Escape, Alt with
/// Up or Down, Tab — and every input-method event goes to the owner widget through
/// ForwardToOwner, so that typing continues in the edit under the list and the owner decides
/// when the list closes.
///
/// Mouse: moving over the rows selects the row under the pointer; with a button held above
/// or below the rows the selection moves one row per move. Releasing the button inside the
/// list calls CloseUp(true); a press outside it calls CloseUp(false) (a press on the owner
/// is not passed on to the owner, so the owner's drop-down button closes the list rather
/// than opening it again). A press on the scroll bar scrolls.
class TABRIX_EXPORT TwItemList : public QWidget
{
    Q_OBJECT

public:
    /// `owner` is the widget the list drops down from: its width sizes the list and it
    /// receives the keys the list does not use.
    explicit TwItemList(QWidget *owner);
    ~TwItemList() override;

    QWidget *Owner() const;
    void SetOwner(QWidget *owner);

    /// Whether the list keeps a key itself (the moving keys above, without Alt).
    static bool KeepsKey(const QKeyEvent *event);

    /// Binds the list to its data and recomputes the geometry. `option` may be a
    /// TwItemListOption (separator, value column, titles) or a plain TwListoption; the list
    /// follows later changes of the option only at the next SetOptions or CalcExtents.
    /// `images` may be null; it must outlive the binding. `ctl3d`: sunken 2-pixel frame
    /// instead of a flat 1-pixel one.
    void SetOptions(const TwListoption *option, const QStringList &items, const QStringList &values,
                    const TwImageList *images, bool ctl3d);
    const TwListoption *Option() const;
    const QStringList &Items() const;
    const QStringList &Values() const;
    const TwImageList *Images() const;
    bool Ctl3D() const;

    /// The list works from the value list alone: no items, or fewer items than values.
    bool ValuesMode() const;

    /// The selected row, -1 none.
    int ItemIndex() const;
    /// Clamped to the last row (-1 and lower select nothing); a row outside the visible
    /// rows is scrolled into view.
    void SetItemIndex(int row);
    int TopRow() const;
    void SetTopRow(int row);
    /// Rows that fit in the list (at most the option's ItemCount).
    int VisibleRowCount() const;

    int GetRowCount() const;
    int GetColCount() const;
    /// The text of one cell; an empty text for a row or column that does not exist.
    QString GetColText(int row, int column) const;
    QString GetTitle(int column) const;
    /// Width of a column in pixels.
    int GetColWidth(int column) const;
    int RowHeight() const;
    /// Height of the title row, or 1 without titles.
    int HeaderHeight() const;
    /// The row at a point of the list (its own coordinates), -1 where no row lies.
    int MouseToRow(int x, int y) const;
    /// The first row, from 0, whose item (or value in values mode) begins with `text`;
    /// -1 when none does. With `select` the found row becomes the selected row.
    int Locate(const QString &text, bool select);

    /// The image shown in a row; the row number unless a descendant chooses otherwise.
    virtual int GetImageIndex(int row) const;

    /// Recomputes column widths, row and title heights and the visible row count, then
    /// the list's size and the scroll range.
    void CalcExtents();
    /// Sizes the list from the computed extents and the owner's width.
    void ResetBounds();
    void InvalidateRow(int row);
    void InvalidateData();
    void UpdateScrollRange();
    QScrollBar *ScrollBar() const;
    /// Width of the frame on each side: 2 with the 3-D look, else 1.
    int FrameWidth() const;
    /// The width of all columns with frame and scroll bar, as computed by CalcExtents.
    int ColumnsWidth() const;

signals:
    /// Raised by the default CloseUp.
    void OnCloseUp(TwItemList *sender, bool accept);

protected:
    /// The list asks to close: a choice made (accept) or abandoned. Raises OnCloseUp; a
    /// combo's list calls its combo instead.
    virtual void CloseUp(bool accept);
    /// Sends a key or input-method event the list does not use to the owner.
    virtual void ForwardToOwner(QEvent *event);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    /// Qt closes a popup on its own when the application loses the activation: the list
    /// then asks to close without a choice.
    void closeEvent(QCloseEvent *event) override;

private:
    Q_DECLARE_PRIVATE_D(d, TwItemList)
    std::unique_ptr<TwItemListPrivate> d;
};
