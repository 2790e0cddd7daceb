#pragma once

// The grid control without data: it owns the column model, the groups, the header and
// footer bands, the indicator and marker strips and the geometry, and asks its
// descendant (the complete grid) for every row, value and state.

#include "grid/columns.h"
#include "grid/extents.h"
#include "grid/gridparts.h"
#include "grid/groups.h"

#include <QAbstractScrollArea>
#include <QVariant>

#include <array>
#include <memory>

class TABRIX_EXPORT TwCustomGrid : public QAbstractScrollArea
{
    Q_OBJECT
    Q_PROPERTY(int ChangeDelay READ ChangeDelay WRITE SetChangeDelay)
    Q_PROPERTY(bool GroupMode READ GroupMode WRITE SetGroupMode)
    Q_PROPERTY(int RowHeight READ RowHeight WRITE SetRowHeight)
    Q_PROPERTY(int FixedCount READ FixedCount WRITE SetFixedCount)

public:
    explicit TwCustomGrid(QWidget *parent = nullptr);
    ~TwCustomGrid() override;

    // Parts.
    TwColumns &Columns() { return *m_columns; }
    const TwColumns &Columns() const { return *m_columns; }
    TwGroups &Groups() { return *m_groups; }
    const TwGroups &Groups() const { return *m_groups; }
    TwGridFooters &Footers() { return *m_footers; }
    const TwGridFooters &Footers() const { return *m_footers; }
    TwGridHeaders &Headers() { return *m_headers; }
    const TwGridHeaders &Headers() const { return *m_headers; }
    TwIndicators &Indicators() { return *m_indicators; }
    const TwIndicators &Indicators() const { return *m_indicators; }
    TwMarkers &Markers() { return *m_markers; }
    const TwMarkers &Markers() const { return *m_markers; }
    TwFixedStyle &FixedStyle() { return *m_fixedStyle; }
    const TwFixedStyle &FixedStyle() const { return *m_fixedStyle; }
    TwGridExtents &Extents() { return *m_extents; }
    const TwGridExtents &Extents() const { return *m_extents; }
    TwGridLinesEx &Lines() { return m_lines; }
    const TwGridLinesEx &Lines() const { return m_lines; }
    TwGridLines &EndLines() { return m_endLines; }
    const TwGridLines &EndLines() const { return m_endLines; }

    // Settings.
    TwFont GridFont() const { return m_font; }
    void SetGridFont(const TwFont &font);
    TwImeMode ImeMode() const { return m_imeMode; }
    void SetImeMode(TwImeMode value) { m_imeMode = value; }
    QString ImeName() const { return m_imeName; }
    void SetImeName(const QString &value) { m_imeName = value; }
    int ChangeDelay() const { return m_changeDelay; }
    void SetChangeDelay(int value) { m_changeDelay = qMax(0, value); }
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TColor NullColor() const { return m_nullColor; }
    void SetNullColor(TColor value);
    TColor SelBgColor() const { return m_selBgColor; }
    void SetSelBgColor(TColor value);
    TColor SelFgColor() const { return m_selFgColor; }
    void SetSelFgColor(TColor value);
    TwGridOptions Options() const { return m_options; }
    virtual void SetOptions(TwGridOptions value);
    bool Designing() const { return m_designing; }
    void SetDesigning(bool value) { m_designing = value; }
    bool Loading() const { return m_loading; }

    // Modes and mode-dependent sizes.
    bool GroupMode() const { return m_groupMode; }
    bool ColumnMode() const { return !m_groupMode; }
    void SetGroupMode(bool value);
    void SetColumnMode(bool value) { SetGroupMode(!value); }
    int RowHeight() const { return m_rowHeights[ModeIndex()]; }
    void SetRowHeight(int value);
    int ColRowHeight() const { return m_rowHeights[0]; }
    int GrpRowHeight() const { return m_rowHeights[1]; }
    int FixedCount() const { return m_fixedCounts[ModeIndex()]; }
    void SetFixedCount(int value);
    int ColFixedCount() const { return m_fixedCounts[0]; }
    int GrpFixedCount() const { return m_fixedCounts[1]; }
    static int MinSize(bool groupMode) { return groupMode ? 8 : 4; }

    // Strips.
    int GetVGroupCount() const { return m_groups->GetVCount(); }
    TwGroup *GetVGroups(int index) const { return m_groups->GetVItems(index); }
    int GetGroupCount() const { return m_groups->Count(); }
    int GetVColCount() const { return m_columns->GetVCount(); }
    TwColumn *GetVColumns(int index) const { return m_columns->GetVItems(index); }
    int GetColCount() const { return m_columns->Count(); }
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
    int MouseCol() const { return m_mouseCol; }
    TwCell MouseCell() const { return m_mouseCell; }

    // Current position: a strip in column mode, a visible cell in group mode.
    int CurCol() const { return m_curCol; }
    void SetCurCol(int value);
    TwCell CurCell() const { return m_curCell; }
    void SetCurCell(const TwCell &cell);
    TwColumn *SelectedColumn() const;
    TwCell FirstSelectCell() const;

    // Horizontal scrolling.
    int LeftPos() const { return m_leftPos; }
    void SetLeftPos(int value);
    int GetLeftCol() const;
    void SetLeftCol(int strip);
    void CheckInCol(int strip);
    void CheckInCell(const TwCell &cell);
    void UpdateScrollRange();

    // Update brackets.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate(bool repaint = true);
    bool Updating() const { return m_updateCount > 0; }
    /// Loading a stored design: notifications are held back until it ends.
    void BeginLoading() { m_loading = true; }
    void EndLoading();

    // Repainting of parts.
    /// A strip, band or line changed size: recompute the geometry, move the editor, repaint.
    void LayoutChanged();
    void InvalidateGrid();
    void InvalidateStrip(int strip);
    void InvalidateFooters();
    /// The in-place editor and its button follow the geometry (nothing shows yet).
    virtual void UpdateEditor() {}
    virtual void HideEditor() {}
    virtual void ShowEditor() {}

    // Operations the complete grid supplies.
    virtual void InvalidateSelection();
    virtual void CreateColumns();
    virtual void DrawRow(QPainter &painter, int row);
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
    virtual void Edit() = 0;
    virtual void Delete() = 0;
    virtual void InsertFirst() = 0;
    virtual QWidget *CreateDataListEditor() = 0;
    virtual QWidget *CreateLookupListEditor() = 0;
    virtual void MemoDlgOk(const QString &text) = 0;
    virtual void ImgDlgOk(const QPixmap &image) = 0;
    virtual void SetCurRow(int row) = 0;
    virtual int GetRowCount() const = 0;
    virtual void SetRowCount(int count) = 0;
    virtual int GetRowNo(int row) = 0;
    virtual TwGridMode GetGridMode() const = 0;
    virtual int GetTopRow() const { return 0; }
    virtual void SetTopRow(int) {}
    virtual bool GetSelected(int) const { return false; }
    virtual void SetSelected(int, bool) {}
    virtual int GetSelectedCount() const { return 0; }
    virtual void ClearSelection() = 0;
    virtual void DeleteSelection() = 0;
    /// A new column of the grid's column class (the complete grid's data column).
    virtual std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) = 0;

    // Notifications and hooks, each with a body here; the notifications forward to signals.
    virtual void CreateGroups();
    virtual void UpdateRowCount() {}
    virtual void DrawCell(QPainter &painter, const QRect &rect, TwColumn *column, int row);
    virtual void MarkerClick(int row);
    virtual void ColumnTitleClick(TwColumn *column);
    virtual void GroupTitleClick(TwGroup *group);
    virtual void HeaderTitleClick();
    virtual void FooterTitleClick(int footer);
    /// Whether the in-place editor may show for the selected column.
    virtual bool CanEditShow() const;
    /// The in-place editor for a column's edit kind; none in the core.
    virtual QWidget *CreateEditor(TwColumn *column);
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
    /// Design properties a descendant grid adds to the core's (the complete grid's row
    /// count and flags), written and read by the design stream after the core's own with
    /// the same rules as the column classes'. None here.
    virtual void WriteDesign(TwDesignWriter &out) const;
    virtual void ReadDesign(const TwDesignReader &in);

signals:
    void OnMarkerClick(int row);
    void OnColumnTitleClick(TwColumn *column);
    void OnGroupTitleClick(TwGroup *group);
    void OnHeaderTitleClick();
    void OnFooterTitleClick(int footer);
    void OnEditButtonClick();
    void OnSelectionChanged();
    void OnColumnSizing(TwColumn *column, bool &allow);
    void OnGroupSizing(TwGroup *group, bool &allow);
    void OnLevelSizing(TwGroup *group, int level, bool &allow);
    void OnColumnWidthChanged(TwColumn *column, int oldWidth);
    void OnGroupWidthChanged(TwGroup *group, int oldWidth);
    void OnLevelHeightChanged(TwGroup *group, int level, int oldHeight);
    void OnHeaderHeightChanged(int oldHeight);
    void OnRowHeightChanged(int oldHeight);

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    /// Builds the collections; a descendant calls it from its own constructor so that
    /// its column class is used.
    void CreateParts();

private:
    friend class TwGridStream;
    int ModeIndex() const { return m_groupMode ? 1 : 0; }
    void RebuildAfterLoad();

    std::unique_ptr<TwColumns> m_columns;
    std::unique_ptr<TwGroups> m_groups;
    std::unique_ptr<TwGridFooters> m_footers;
    std::unique_ptr<TwGridHeaders> m_headers;
    std::unique_ptr<TwIndicators> m_indicators;
    std::unique_ptr<TwMarkers> m_markers;
    std::unique_ptr<TwFixedStyle> m_fixedStyle;
    std::unique_ptr<TwGridExtents> m_extents;
    TwGridLinesEx m_lines;
    TwGridLines m_endLines;
    QPixmap m_paintBitmap;

    TwFont m_font;
    TwImeMode m_imeMode = imDontCare;
    QString m_imeName;
    int m_changeDelay = 200;
    TColor m_color = clBtnShadow;
    TColor m_nullColor = clBtnShadow;
    TColor m_selBgColor = clBlack;
    TColor m_selFgColor = clWhite;
    TwGridOptions m_options;
    bool m_designing = false;
    bool m_loading = false;
    bool m_groupMode = false;
    std::array<int, 2> m_rowHeights{18, 36};
    std::array<int, 2> m_fixedCounts{0, 0};
    int m_curCol = 0;
    TwCell m_curCell{0, 0, 0};
    int m_leftPos = 0;
    int m_mouseCol = -1;
    TwCell m_mouseCell{-1, -1, -1};
    int m_updateCount = 0;
    bool m_inScrollRange = false;
};
