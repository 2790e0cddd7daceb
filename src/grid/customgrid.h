#pragma once

// The grid control without data: it owns the column model, the groups, the header and
// footer bands, the indicator and marker strips and the geometry, and asks its
// descendant (the complete grid) for every row, value and state.

#include "grid/columns.h"
#include "grid/gridparts.h"
#include "grid/groups.h"
#include "grid/tabrixmeta.h"

#include <QAbstractScrollArea>
#include <QVariant>

#include <concepts>
#include <memory>

class QMenu;
class QMimeData;
class TwCustomGridPrivate;
class TwGridExtents;
class TwGridOwner;

/// A widget: its Qt parent owns it. It owns all of its parts for its whole life; the
/// references its accessors return stay valid as long as the grid lives.
class TABRIX_EXPORT TwCustomGrid : public QAbstractScrollArea
{
    Q_OBJECT
    // The published settings. Each setter keeps its value in range (out-of-range values are
    // clamped, never refused) and its notification is emitted once per real change.
    // The design text comes first: a form file sets it before the single settings that
    // follow it, and it carries the columns, groups and footers no other property holds.
    Q_PROPERTY(QString Design READ Design WRITE SetDesign)
    Q_PROPERTY(bool Designing READ Designing WRITE SetDesigning DESIGNABLE false STORED false)
    Q_PROPERTY(int ChangeDelay READ ChangeDelay WRITE SetChangeDelay NOTIFY ChangeDelayChanged)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(TColor NullColor READ NullColor WRITE SetNullColor NOTIFY NullColorChanged)
    Q_PROPERTY(TColor SelBgColor READ SelBgColor WRITE SetSelBgColor NOTIFY SelBgColorChanged)
    Q_PROPERTY(TColor SelFgColor READ SelFgColor WRITE SetSelFgColor NOTIFY SelFgColorChanged)
    Q_PROPERTY(TwGridOptions Options READ Options WRITE SetOptions NOTIFY OptionsChanged DESIGNABLE false)
    Q_PROPERTY(bool GroupMode READ GroupMode WRITE SetGroupMode NOTIFY GroupModeChanged)
    Q_PROPERTY(int RowHeight READ RowHeight WRITE SetRowHeight NOTIFY RowHeightsChanged)
    Q_PROPERTY(int ColRowHeight READ ColRowHeight WRITE SetColRowHeight NOTIFY RowHeightsChanged)
    Q_PROPERTY(int GrpRowHeight READ GrpRowHeight WRITE SetGrpRowHeight NOTIFY RowHeightsChanged)
    Q_PROPERTY(int FixedCount READ FixedCount WRITE SetFixedCount NOTIFY FixedCountsChanged)
    Q_PROPERTY(int ColFixedCount READ ColFixedCount WRITE SetColFixedCount NOTIFY FixedCountsChanged)
    Q_PROPERTY(int GrpFixedCount READ GrpFixedCount WRITE SetGrpFixedCount NOTIFY FixedCountsChanged)
    Q_PROPERTY(TwImeMode ImeMode READ ImeMode WRITE SetImeMode NOTIFY ImeModeChanged DESIGNABLE false)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName NOTIFY ImeNameChanged)
    Q_PROPERTY(TwFont GridFont READ GridFont WRITE SetGridFont NOTIFY GridFontChanged)
    // Options and ImeMode again, as registered Qt flags and enums, for Designer's property
    // editor and the forms it saves; both names set the same settings.
    Q_PROPERTY(Tw::GridOptions options READ metaOptions WRITE setOptions NOTIFY OptionsChanged)
    Q_PROPERTY(Tw::ImeMode imeMode READ metaImeMode WRITE setImeMode NOTIFY ImeModeChanged)

public:
    explicit TwCustomGrid(QWidget *parent = nullptr);
    ~TwCustomGrid() override;

    // Parts.
    TwColumns &Columns();
    const TwColumns &Columns() const;
    TwGroups &Groups();
    const TwGroups &Groups() const;
    TwGridFooters &Footers();
    const TwGridFooters &Footers() const;
    TwGridHeaders &Headers();
    const TwGridHeaders &Headers() const;
    TwIndicators &Indicators();
    const TwIndicators &Indicators() const;
    TwMarkers &Markers();
    const TwMarkers &Markers() const;
    TwFixedStyle &FixedStyle();
    const TwFixedStyle &FixedStyle() const;
    TwGridLinesEx &Lines();
    const TwGridLinesEx &Lines() const;
    TwGridLines &EndLines();
    const TwGridLines &EndLines() const;

    // The clipboard. A copy takes the selected rows, else the current row where rows are
    // selected whole (wgoRowSelect), else the current cell: the texts the grid shows, in
    // reading order (in group mode level by level), as tab-separated text with CRLF rows
    // and as an HTML table, with a row of column titles first when asked. Ctrl+C and
    // Ctrl+Insert copy without titles, Ctrl+Shift+C with them.
    /// False when there is nothing to copy (no rows, no visible columns); fails with a
    /// message on more than 10,000,000 cells.
    bool CopyToClipboard(bool withTitles = false);
    /// What CopyToClipboard puts on the clipboard; null when there is nothing to copy.
    std::unique_ptr<QMimeData> CopyData(bool withTitles = false);
    /// The menu a right click opens on the grid (복사, 제목과 함께 복사); a program that
    /// shows a menu of its own can start from it.
    std::unique_ptr<QMenu> CreateStandardContextMenu();

    // Settings.
    TwFont GridFont() const;
    void SetGridFont(const TwFont &font);
    TwImeMode ImeMode() const;
    void SetImeMode(TwImeMode value);
    QString ImeName() const;
    void SetImeName(const QString &value);
    int ChangeDelay() const;
    void SetChangeDelay(int value);
    TColor Color() const;
    void SetColor(TColor value);
    void SetColor(const QColor &value);
    TColor NullColor() const;
    void SetNullColor(TColor value);
    void SetNullColor(const QColor &value);
    TColor SelBgColor() const;
    void SetSelBgColor(TColor value);
    void SetSelBgColor(const QColor &value);
    TColor SelFgColor() const;
    void SetSelFgColor(TColor value);
    void SetSelFgColor(const QColor &value);
    TwGridOptions Options() const;
    virtual void SetOptions(TwGridOptions value);
    bool Designing() const;
    void SetDesigning(bool value);
    /// The grid's design as compact JSON text (TwGridStream).
    QString Design() const;
    /// Reads a design text; an empty text is the empty design. A text that is not a JSON
    /// object or that the design reader refuses leaves the grid as it was and is reported
    /// with a warning: form loaders set it through the property system, which an exception
    /// must not cross.
    void SetDesign(const QString &text);
    bool Loading() const;

    // Modes and mode-dependent sizes.
    bool GroupMode() const;
    bool ColumnMode() const;
    void SetGroupMode(bool value);
    void SetColumnMode(bool value) { SetGroupMode(!value); }
    int RowHeight() const;
    void SetRowHeight(int value);
    int ColRowHeight() const;
    int GrpRowHeight() const;
    /// The row height of one mode; the grid follows when it is the current mode.
    void SetColRowHeight(int value);
    void SetGrpRowHeight(int value);
    int FixedCount() const;
    void SetFixedCount(int value);
    int ColFixedCount() const;
    int GrpFixedCount() const;
    /// The fixed count of one mode; the grid follows when it is the current mode.
    void SetColFixedCount(int value);
    void SetGrpFixedCount(int value);
    static int MinSize(bool groupMode) { return groupMode ? 8 : 4; }

    // Strips.
    int GetVGroupCount() const;
    TwGroup *GetVGroups(int index) const;
    int GetGroupCount() const;
    int GetVColCount() const;
    TwColumn *GetVColumns(int index) const;
    int GetColCount() const;
    /// Visible columns (column mode) or visible groups (group mode).
    int StripCount() const;
    /// The width of strip k.
    int StripWidth(int strip) const;
    bool IsNullGrid() const;
    bool ValidCell(const TwCell &cell) const;
    TwColumn *ColumnByCell(const TwCell &cell) const;
    TwColumn *ColumnByVCell(const TwCell &cell) const;

    // Hit tests against the current geometry.
    bool InIndicators(int x) const;
    bool InMarkers(int x) const;
    /// The row under y, or -1 (empty grid, design time, x beside the data area).
    int InRows(int x, int y) const;
    /// Column mode: a cell under the point; it becomes the mouse strip.
    bool InColCells(int x, int y);
    /// Group mode: a valid cell under the point; it becomes the mouse cell.
    bool InGroupCells(int x, int y);
    int MouseCol() const;
    TwCell MouseCell() const;

    // Current position: a strip in column mode, a visible cell in group mode.
    int CurCol() const;
    void SetCurCol(int value);
    TwCell CurCell() const;
    void SetCurCell(const TwCell &cell);
    /// The current data row; the complete grid moves it with SetCurRow.
    int CurRow() const;
    TwColumn *SelectedColumn() const;
    TwCell FirstSelectCell() const;

    // Navigation: moves of the current position, the column at it and the mouse state.
    TwCell GetCurCell() const { return CurCell(); }
    /// The column at the current position (column mode: the current column, group mode:
    /// the column of the current cell) and its collection index; -1 or null when none.
    TwColumn *GetSelectedColumn() const;
    void SetSelectedColumn(TwColumn *column);
    int GetSelectedIndex() const;
    void SetSelectedIndex(int index);
    /// Moves to a column (cell) of a row: the complete grid's SetCurRow runs first when the
    /// row changes, then the column (cell) is set.
    void MoveCurrent(int col, int row);
    void MoveCurrent(const TwCell &cell, int row);
    /// The move of Enter as Tab: the next column (cell); from the last one the grid's own key
    /// handler gets a Down key, and the complete grid moves to (or appends) the next row.
    void MoveNext();
    /// True while MoveNext or MoveCurrent hands a row change to the complete grid; MoveCurrent
    /// leaves the column as it is meanwhile.
    bool RowMoving() const;
    /// How deeply MoveNext and MoveCurrent calls are nested.
    int MoveCount() const;
    TwGridState GridState() const;
    static bool IsSizingState(TwGridState state) { return state >= wgsIndiSizing && state <= wgsLevelSizing; }
    static bool IsMovingState(TwGridState state) { return state == wgsColMoving || state == wgsCellMoving; }
    static bool IsClickingState(TwGridState state) { return state >= wgsHeaderTitle && state <= wgsCellTitle; }
    /// Ends a sizing or moving drag without applying it.
    void CancelMouseState();
    /// Ctrl+Delete: asks (with wgoConfirmDelete), then deletes the selected rows, or the
    /// current row when none is selected. Nothing unless EnableDeleting.
    void DeleteRows();
signals:
    void OnCellExit();
    void OnCellEnter();

public:
    // Horizontal scrolling.
    int LeftPos() const;
    void SetLeftPos(int value);
    int GetLeftCol() const;
    void SetLeftCol(int strip);
    void CheckInCol(int strip);
    void CheckInCell(const TwCell &cell);
    // Update brackets.
    void BeginUpdate();
    void EndUpdate(bool repaint = true);
    bool Updating() const;
    /// Loading a stored design: notifications are held back until it ends.
    void BeginLoading();
    void EndLoading();

    // The rows, as the complete grid keeps them.
    virtual void SetCurRow(int row) = 0;
    virtual int GetRowCount() const = 0;
    virtual void SetRowCount(int count) = 0;
    virtual TwGridMode GetGridMode() const = 0;
    virtual int GetTopRow() const { return 0; }
    virtual void SetTopRow(int) {}

    /// Design properties a descendant grid adds to the core's (the complete grid's row
    /// count and flags), written and read by the design stream after the core's own with
    /// the same rules as the column classes'. None here.
    virtual void WriteDesign(TwDesignWriter &out) const;
    virtual void ReadDesign(const TwDesignReader &in);


protected:
    /// The geometry: strips, bands and hit rectangles (internal to the library).
    TwGridExtents &Extents();
    const TwGridExtents &Extents() const;
    /// The current position is left: raises OnCellExit. Runs once per move.
    virtual void CellExit();
    /// The current position was entered: applies the column's input method settings and
    /// raises OnCellEnter.
    virtual void CellEnter();
    /// The cell of the current row is clicked again: opens it for editing.
    virtual void CellClicked();

    void UpdateScrollRange();
    // Repainting of parts.
    /// A strip, band or line changed size: recompute the geometry, move the editor, repaint.
    void LayoutChanged();
    void InvalidateGrid();
    void InvalidateStrip(int strip);
    void InvalidateFooters();
    // The smallest rectangles: each does nothing before the window shows and never erases.
    void InvalidateData();
    /// A row from the first strip, or from the client's left edge with `wholeWidth`.
    void InvalidateRow(int row, bool wholeWidth = false);
    /// The data part of a strip, or its cell in one row.
    void InvalidateCol(int strip);
    void InvalidateCol(int strip, int row);
    /// A column-mode cell (strip, row) or a group-mode cell (visible cell, row).
    void InvalidateCell(int strip, int row);
    void InvalidateCell(const TwCell &cell, int row);
    void InvalidateHeaders(bool withTitle = true);
    void InvalidateHeadCell(int strip);
    void InvalidateHeadCell(const TwCell &cell);
    void InvalidateFootRow(int footer, bool wholeWidth = true);
    void InvalidateFootCol(int strip);
    void InvalidateFootCell(int strip, int footer);
    void InvalidateFootCell(const TwCell &cell, int footer);
    void InvalidateMovingRect();
    /// The row-change notification: `delayed` coalesces quick moves into one OnRowChange
    /// after ChangeDelay milliseconds; ChangeDelay 0 raises none.
    void RowChanged(bool delayed);
    // In-place editing. One editor per edit kind, made on first use and reused for every
    // cell of that kind; at most one shows, over the editing cell.
    /// The shown editor and the edit button follow the geometry (the editor hides while its
    /// row is out of view and shows again when the row returns, keeping what it holds).
    virtual void UpdateEditor();
    /// Hides the editor keeping its text; never stores its value (SetEditValue does).
    virtual void HideEditor();
    /// Shows the editor over the current cell with the cell's value, when it may.
    virtual void ShowEditor();
    /// Places the shown editor over its cell.
    virtual void MoveEditor();
    /// The in-place editor shows.
    virtual bool EditorShowing() const;
    /// The shown editor holds a value other than its cell's.
    virtual bool EditorChanged() const;
    /// Selects the editor's whole content.
    virtual void SelectEditor();
    /// Puts the editor's caret at the end of its content.
    virtual void DeselectEditor();
    /// Gives the shown editor its cell's value again.
    virtual void ResetEditor();
    /// The active editor's value (null when none); a date still being typed is completed first.
    QVariant GetEditVal();
    /// The editor that shows or showed last; null before the first one.
    QWidget *ActiveEditor() const;
    /// The column and row the shown editor edits (null and -1 when none shows).
    TwColumn *EditingColumn() const;
    int EditingRow() const;
    /// Puts a value into the shown editor as if typed (the Delete key puts null).
    void SetEditorValue(const QVariant &value);
    /// Hands a key or input-method event to the shown editor; false when none shows.
    bool SendToEditor(QEvent *event);
    /// A key the editor hands back: the grid's key handler runs with the same key and
    /// modifiers. True when the handler consumed it.
    bool EditorKeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// An editor refused a key or a change: the system's error beep.
    virtual void EditorBeep();
    /// The memo or picture popup over the selected cell; false when it did not open.
    bool ShowMemoDlg();
    bool ShowImageDlg();
    /// The edit button follows the selected column and current row, or hides.
    void UpdateButton();
    void HideButton();
    /// Asked before the first modification of a cell: raises OnEdit; true without a handler.
    bool DoEdit(TwColumn *column);
    /// True while a date editor's text is being completed before it is read.
    bool CompletingEdit() const;
    /// Where an editor of the column sits over the current cell in `row` (viewport
    /// coordinates): inside the lines, clipped to the data area and short of the edit button.
    QRect EditorRect(TwColumn *column, int row, bool multiLine) const;
    /// A list editor's list opened, or closed with or without acceptance.
    virtual void DoDropDown();
    virtual void DoCloseUp(bool accept);

    // Operations the complete grid supplies: the data, the row moves and the editing cycle.
    virtual void InvalidateSelection();
    virtual void SetEditValue();
    virtual int GetImageIndex(TwColumn *column, int row) = 0;
    virtual bool EnableDeleting() = 0;
    virtual bool CheckNull(TwColumn *column, int row) = 0;
    virtual bool CheckBool(TwColumn *column, int row) = 0;
    virtual int CheckList(TwColumn *column, int row) = 0;
    virtual void DoInRow(Qt::KeyboardModifiers modifiers) = 0;
    virtual QString GetDisplayText(TwColumn *column, int row) = 0;
    virtual QPixmap GetDisplayImage(TwColumn *column, int row) = 0;
    virtual QVariant GetEditValue(TwColumn *column) = 0;
    virtual TwIndiState GetIndiState(int row) = 0;
    virtual int GetVertRange() = 0;
    virtual bool EnableRowNo() = 0;
    virtual bool IsLastRow(int row) = 0;
    /// Starts editing the current row (or inserts the first one); false when it may not.
    virtual bool Edit() = 0;
    virtual void Delete() = 0;
    virtual void InsertFirst() = 0;
    virtual QWidget *CreateDataListEditor() = 0;
    virtual QWidget *CreateLookupListEditor() = 0;
    virtual void MemoDlgOk(const QString &text) = 0;
    virtual void ImgDlgOk(const QPixmap &image) = 0;
    virtual int GetRowNo(int row) = 0;
    virtual bool GetSelected(int) const { return false; }
    virtual void SetSelected(int, bool) {}
    virtual int GetSelectedCount() const { return 0; }
    virtual void ClearSelection() = 0;
    virtual void DeleteSelection() = 0;


    // Notifications and hooks, each with a body here; the notifications forward to signals.
    virtual void UpdateRowCount() {}
    virtual void MarkerClick(int row);
    virtual void ColumnTitleClick(TwColumn *column);
    virtual void GroupTitleClick(TwGroup *group);
    virtual void HeaderTitleClick();
    virtual void FooterTitleClick(int footer);
    /// Whether the in-place editor may show for the selected column.
    virtual bool CanEditShow() const;
    /// Makes the in-place editor of the column's edit kind when its slot is empty; returns
    /// the kind's editor (null for kinds edited without one).
    virtual QWidget *CreateEditor(TwColumn *column);
    /// The edit button of the selected column was clicked (or Ctrl+F2): raises OnEditButtonClick.
    virtual void EditButtonClick();
    virtual void SelectionChanged();
    virtual void ColumnSizing(TwColumn *column, bool &allow);
    virtual void GroupSizing(TwGroup *group, bool &allow);
    virtual void LevelSizing(TwGroup *group, int level, bool &allow);
    virtual void ColumnWidthChanged(TwColumn *column, int oldWidth);
    virtual void GroupWidthChanged(TwGroup *group, int oldWidth);
    virtual void LevelHeightChanged(TwGroup *group, int level, int oldHeight);
    virtual void HeaderHeightChanged(int oldHeight);
    virtual void RowHeightChanged(int oldHeight);

signals:
    // Notifications of the published settings.
    void ChangeDelayChanged(int value);
    void ColorChanged(TColor value);
    void NullColorChanged(TColor value);
    void SelBgColorChanged(TColor value);
    void SelFgColorChanged(TColor value);
    void OptionsChanged(TwGridOptions value);
    void GroupModeChanged(bool value);
    /// The row height of either mode changed.
    void RowHeightsChanged();
    /// The fixed count of either mode changed.
    void FixedCountsChanged();
    void ImeModeChanged(TwImeMode value);
    void ImeNameChanged(const QString &value);
    void GridFontChanged(const TwFont &value);

    // Events.
    void OnMarkerClick(int row);
    void OnColumnTitleClick(TwColumn *column);
    void OnGroupTitleClick(TwGroup *group);
    void OnHeaderTitleClick();
    void OnFooterTitleClick(int footer);
    void OnEditButtonClick();
    /// A cell of `column` is about to be modified; a handler clears `accept` to refuse.
    /// Needs a direct connection.
    void OnEdit(TwColumn *column, bool &accept);
    void OnDropDown();
    void OnCloseUp(bool accept);
    void OnSelectionChanged();
    /// The sizing events hand `allow` by reference: a handler clears it to refuse. They need
    /// a direct connection (Qt::DirectConnection, or Qt::AutoConnection to a receiver in the
    /// grid's thread); a queued handler could not answer. Debug builds check that they are
    /// connected and emitted in the grid's thread.
    void OnColumnSizing(TwColumn *column, bool &allow);
    void OnGroupSizing(TwGroup *group, bool &allow);
    void OnLevelSizing(TwGroup *group, int level, bool &allow);
    void OnColumnWidthChanged(TwColumn *column, int oldWidth);
    void OnGroupWidthChanged(TwGroup *group, int oldWidth);
    void OnLevelHeightChanged(TwGroup *group, int level, int oldHeight);
    void OnHeaderHeightChanged(int oldHeight);
    void OnRowHeightChanged(int oldHeight);
    /// The current row changed (delayed by ChangeDelay, see RowChanged).
    void OnRowChange();
    /// The drawing events hand their values by reference, for the handler to change; like
    /// the sizing events they need a direct connection. They are raised only while rows
    /// exist, and only when connected. `style` holds the font's bold, italic, underline
    /// and strike-out.
    void OnDrawRow(int row, TColor &bgColor, TColor &fgColor, TwFontStyles &style);
    void OnDrawCell(TwColumn *column, int row, QString &text, TColor &bgColor, TColor &fgColor, TwFontStyles &style);
    void OnDrawIndicator(int row, QString &text, TColor &bgColor, TColor &fgColor, TwFontStyles &style);
    void OnDrawMarker(int row, QString &text, TColor &bgColor, TColor &fgColor, TwFontStyles &style, int &imageIndex,
                      bool &value);
    /// The image of a cell of a column with an image list; the handler may choose another.
    void OnGetImageIndex(TwColumn *column, int row, int &index);
    /// `row` is the footer row's index.
    void OnDrawFooter(TwColumnFooter *footer, int row, QString &text, TColor &bgColor, TColor &fgColor,
                      TwFontStyles &style);

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void connectNotify(const QMetaMethod &signal) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    /// Factories of the column and group collections, each called once, on the first use of
    /// Columns() or Groups() (never from a constructor), so a descendant's override counts.
    /// The grid owns what they return for its lifetime: the collections are never replaced,
    /// so pointers into them stay valid until their items are deleted.
    virtual std::unique_ptr<TwColumns> CreateColumns();
    virtual std::unique_ptr<TwGroups> CreateGroups();
    /// A new column of the grid's column class (the complete grid's data column); the
    /// collection takes ownership.
    virtual std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) = 0;
    /// Stores the current row only: no event, no repaint (SetCurRow does those).
    void AssignCurRow(int row);
    /// Called once a stored design has been read and the grid rebuilt.
    virtual void Loaded() {}
    void timerEvent(QTimerEvent *event) override;

    // Painting, from the clip rectangle only: no row or strip outside it is visited.
    /// One data row: its indicator and marker when asked, then strips first .. last.
    virtual void DrawRow(QPainter &painter, int row, bool drawIndicator, bool drawMarker, int first, int last);
    /// One data cell at `bound` (lines included); the row and cell events take part when asked.
    virtual void DrawCell(QPainter &painter, TwColumn *column, int row, const QRect &bound, bool current,
                          bool focused, bool rowEvents, bool cellEvents);
    void DrawHeaders(QPainter &painter, bool drawTitle, int first, int last);
    void DrawHeaderTitle(QPainter &painter);
    void DrawColumnHeader(QPainter &painter, int strip);
    void DrawGroupHeader(QPainter &painter, int strip);
    void DrawColumn(QPainter &painter, int strip, int row, bool rowEvents);
    void DrawGroup(QPainter &painter, int strip, int row, bool rowEvents);
    void DrawCellLines(QPainter &painter, TwColumn *column, const QRect &bound);
    void DrawIndicator(QPainter &painter, int row, const QRect &bound, bool withEvent);
    void DrawMarker(QPainter &painter, int row, const QRect &bound, bool withEvent);
    void DrawFooters(QPainter &painter, int footer, const QRect &rect, bool withEvent, int first, int last,
                     bool drawTitle);
    void DrawColumnFooter(QPainter &painter, int strip, int footer, bool withEvent);
    void DrawGroupFooter(QPainter &painter, int strip, int footer, bool withEvent);
    void DrawFooterCell(QPainter &painter, TwColumnFooter &cellFooter, int index, const QRect &inner, int clipLeft,
                        bool withEvent);
    void DrawFooterTitle(QPainter &painter, int footer);
    void DrawMovingRect(QPainter &painter);
    void DrawSizingLine(QPainter &painter);
    void DrawMovingLine(QPainter &painter);

private:
    // Editing input (gridtyping.cpp).
    /// wgoEditing or wgoInserting is set.
    bool EditOptions() const;
    /// Whether a key types a character: decided by the key and its modifiers.
    static bool IsCharKey(const QKeyEvent *event);
    static QChar KeyChar(const QKeyEvent *event);
    /// Delete, F2, Ctrl+F2 and characters; false when the key is not one of them.
    bool EditKeyPress(QKeyEvent *event);
    void DeleteKey();
    void F2Key();
    bool CharKey(QKeyEvent *event);
    void FocusEditor();
    /// Whether an input method mode lets compositions in.
    static bool ImeOn(TwImeMode mode);
    /// The input method mode of the selected column, else the grid's.
    TwImeMode CurrentImeMode() const;
    /// The keys the grid keeps from its window's shortcuts and default buttons.
    bool ClaimsKey(const QKeyEvent *event) const;
    int FitCol(int col) const;
    TwCell FitCell(const TwCell &cell) const;
    void ExitCell();
    void InvalidateCurrent();
    void ApplyImeSettings();
    bool EditorRowInView() const;
    void DeleteEditors();
    QRect PopupCellRect() const;
    /// The sizing zone under the point; with `start` the sizing events are raised and a
    /// zone found begins the drag.
    TwGridState SizingZone(int x, int y, bool start);
    TwGridState StripSizingZone(int x, bool start);
    TwGridState CellSizingZone(int x, int y, bool start);
    TwGridState LevelSizingZone(int x, int y, bool inHeader, bool start);
    TwGridState BeginSizing(TwGridState state, int edge, int pointer, bool start);
    TwGridState CheckMovingState(int x, int y, bool ctrl);
    TwGridState CheckClickingState(int x, int y);
    void DragSizing(int x, int y);
    void EndSizingState();
    void DragMoving(int x, int y);
    void EndMovingState();
    void EndClickingState();
    /// A press on a cell whose check box, boolean or radio editor it opened is handed on.
    void PressIntoEditor(TwColumn *column, int row, QMouseEvent *event);
    QRect PressedTitleRect() const;
    void SetSizingLine(int value);
    void SetMovingFeedback(int line, const QRect &frame);
    void UpdateCursor(int x, int y);
    // The parts tell the grid what changed through its owner interface; the grid reacts.
    friend class TwGridReactions;
    friend TwGridOwner *TwOwnerOf(const TwCustomGrid *grid);
    // The core's own helpers: the in-place editors hand keys and refusals back, the edit
    // button raises its click, the focus watch takes the value when an editor loses the focus.
    friend class TwInEditor;
    friend class TwEditButton;
    friend class TwEditorFocusWatch;
    // What assistive technology reads of the grid: its texts, geometry and position.
    friend class TwGridAccessible;
    static bool IsAnswerSignal(const QMetaMethod &signal);
    void CheckDirectEmit() const;
    int ModeIndex() const;
    void RebuildAfterLoad();
    // Painting helpers (gridpaint.cpp).
    bool IsFixedStrip(int strip) const;
    void PrepareCellPaint(int first, int last);
    void PrepareColumnPaint(TwColumn *column, int strip, const TwCell &cell);
    void PaintEmptyGrid(QPainter &painter);
    void EraseOutside(QPainter &painter, const QRect &clip);
    void DrawTitle(QPainter &painter, const TwTitle &title, const QRect &bound, TwDrawInfo info, TwSortMark mark,
                   bool pressed, int clipLeft, int clipBottom);
    void PaintCellContent(QPainter &painter, TwColumn *column, int row, const QRect &bound, TwDrawInfo info,
                          const QString &text, bool current);

    Q_DECLARE_PRIVATE_D(d, TwCustomGrid)
    std::unique_ptr<TwCustomGridPrivate> d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setDesign(const QString &value) { SetDesign(value); }
    void setDesigning(bool value) { SetDesigning(value); }
    void setChangeDelay(int value) { SetChangeDelay(value); }
    void setColor(TColor value) { SetColor(value); }
    void setNullColor(TColor value) { SetNullColor(value); }
    void setSelBgColor(TColor value) { SetSelBgColor(value); }
    void setSelFgColor(TColor value) { SetSelFgColor(value); }
    void setOptions(TwGridOptions value) { SetOptions(value); }
    // Only the registered flags go here: a braced list of published options stays theirs.
    template<typename F>
        requires std::same_as<F, Tw::GridOptions> || std::same_as<F, Tw::GridOption>
    void setOptions(F value)
    {
        SetOptions(Tw::FromFlags(value));
    }
    void setGroupMode(bool value) { SetGroupMode(value); }
    void setRowHeight(int value) { SetRowHeight(value); }
    void setColRowHeight(int value) { SetColRowHeight(value); }
    void setGrpRowHeight(int value) { SetGrpRowHeight(value); }
    void setFixedCount(int value) { SetFixedCount(value); }
    void setColFixedCount(int value) { SetColFixedCount(value); }
    void setGrpFixedCount(int value) { SetGrpFixedCount(value); }
    void setImeMode(TwImeMode value) { SetImeMode(value); }
    void setImeMode(Tw::ImeMode value) { SetImeMode(static_cast<TwImeMode>(value)); }
    void setImeName(const QString &value) { SetImeName(value); }
    void setGridFont(const TwFont &value) { SetGridFont(value); }

private:
    Tw::GridOptions metaOptions() const { return Tw::ToFlags(Options()); }
    Tw::ImeMode metaImeMode() const { return static_cast<Tw::ImeMode>(ImeMode()); }
};

/// Holds a grid's painting and notifications back for a bulk change (BeginUpdate), and
/// ends that bracket however the scope ends, also by an exception.
class TUpdateScope
{
public:
    explicit TUpdateScope(TwCustomGrid &grid)
        : m_grid(grid)
    {
        m_grid.BeginUpdate();
    }
    ~TUpdateScope() { m_grid.EndUpdate(true); }
    TUpdateScope(const TUpdateScope &) = delete;
    TUpdateScope &operator=(const TUpdateScope &) = delete;

private:
    TwCustomGrid &m_grid;
};
