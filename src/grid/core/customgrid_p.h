#pragma once

// Internal: the state of the grid core. Not installed.

#include "grid/customgrid.h"
#include "grid/core/extents.h"
#include "grid/core/gridowner_p.h"

#include <QBasicTimer>
#include <QList>
#include <QPointer>
#include <QVariant>

#include <array>
#include <memory>
#include <vector>

class TwEditButton;
class TwInEditor;

/// The grid's side of its parts' owner interface: it answers their questions and repairs
/// its current cell, editor, geometry and painting after what they report.
class TwGridReactions final : public TwGridOwner
{
public:
    explicit TwGridReactions(TwCustomGrid &grid)
        : m_grid(grid)
    {
    }

    bool Loading() const override;
    bool Designing() const override;
    bool Updating() const override;
    bool GroupMode() const override;
    bool Editing() const override;
    TwGridOptions Options() const override;
    int FixedCount() const override;
    const TwFixedStyle &FixedStyle() const override;
    int GrpRowHeight() const override;
    TwFont GridFont() const override;
    TwImeMode ImeMode() const override;
    QString ImeName() const override;
    TwColumns &Columns() override;
    TwGroups &Groups() override;
    TwGridHeaders &Headers() override;
    TwGridFooters &Footers() override;

    void PartChanged(TwPartChange change) override;
    void BeginUpdate() override;
    void EndUpdate() override;
    void ColumnChanged(const TwColumn *column) override;
    void GroupChanged(const TwGroup *group) override;
    void MarkerChanged(int row) override;
    void ColumnsChanged() override;
    void GroupsChanged() override;
    void VisibleColumnInserted(int position) override;
    void VisibleColumnRemoved(int position) override;
    void ColumnMoving(const TwColumn *column, MoveKind kind) override;
    void ColumnMoved(bool repair) override;
    void GroupsMoving(bool showEditor) override;
    void GroupsMoved(bool repair) override;
    void ColumnEditorChanged(const TwColumn *column) override;
    void ColumnWidthChanged(TwColumn *column, int oldWidth) override;
    void GroupWidthChanged(TwGroup *group, int oldWidth) override;
    void LevelHeightChanged(TwGroup *group, int level, int oldHeight) override;
    void HeaderHeightChanged(int oldHeight) override;
    bool MayModify(TwColumn *column) override;
    std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) override;

private:
    TwCustomGrid &m_grid;
    // The column and the group that held the current cell when a move began; the move's
    // outermost scope counts.
    QPointer<const TwColumn> m_movingColumn;
    MoveKind m_moveKind = MoveKind::Place;
    int m_columnMoves = 0;
    QPointer<const TwGroup> m_currentGroup;
    bool m_hadCurrentGroup = false;
    bool m_showEditor = false;
    int m_groupMoves = 0;
};

class TwCustomGridPrivate
{
public:
    explicit TwCustomGridPrivate(TwCustomGrid &grid)
        : m_reactions(grid)
    {
    }

    // Made first: the parts find it while they are made.
    TwGridReactions m_reactions;
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
    // The published properties of the grid and its parts when a load began, to notify
    // once for each that the load changed.
    struct TLoadSnapshot
    {
        QPointer<QObject> object;
        QVariantList values;
    };
    QList<TLoadSnapshot> m_loadSnapshot;
    bool m_groupMode = false;
    std::array<int, 2> m_rowHeights{18, 36};
    std::array<int, 2> m_fixedCounts{0, 0};
    int m_curCol = 0;
    TwCell m_curCell{0, 0, 0};
    int m_curRow = 0;
    int m_leftPos = 0;
    int m_mouseCol = -1;
    TwCell m_mouseCell{-1, -1, -1};
    int m_updateCount = 0;
    bool m_inScrollRange = false;

    // The mouse state: the input code keeps it, the painting code draws from it.
    TwGridState m_gridState = wgsNormal;
    // The title a clicking state holds: the strip (column or group title), the header cell
    // (cell title) or the footer (footer title); drawn pressed while the pointer stays on it.
    int m_pressedStrip = -1;
    TwCell m_pressedCell{-1, -1, -1};
    int m_pressedFooter = -1;
    bool m_titleDown = false;
    // The sizing line while a sizing drag runs, in viewport coordinates: an x for the
    // vertical line of indicator, marker, strip and cell sizing, a y for the others; -1
    // when none shows.
    int m_sizingLine = -1;
    // The feedback of a move drag: the x of the moving line (strip moves) or the frame
    // around the target slot (cell moves); -1 and empty when none shows.
    int m_movingLine = -1;
    QRect m_movingFrame;

    // Navigation.
    bool m_inCellExit = false;
    bool m_rowMoving = false;
    int m_moveCount = 0;
    // A key typed into the grid is being handed to the editor.
    bool m_forwardingKey = false;
    // A sizing drag: the line where it began, the pointer's distance from the line, and
    // what is sized (a strip, a visible footer, a group's level with -1 for its title band,
    // a column for cell sizing).
    int m_sizingStart = -1;
    int m_sizingOffset = 0;
    int m_sizingStrip = -1;
    int m_sizingFooter = -1;
    int m_sizingLevel = -1;
    QPointer<TwColumn> m_sizingColumn;
    // A move drag: the source and target strip or cell.
    int m_moveFrom = -1;
    int m_moveTo = -1;
    TwCell m_moveFromCell{-1, -1, -1};
    TwCell m_moveToCell{-1, -1, -1};
    // The draw information of each column for the paint under way (its lines by mode and
    // place, its clip edge and cell style), by collection index; prepared for the strips
    // that meet the clip rectangle only.
    struct TCellPaint
    {
        TwDrawInfo Info{};
        bool Fixed = false;
        bool LastLevel = true;
    };
    std::vector<TCellPaint> m_cellPaint;
    // The grid is the active control during the paint under way.
    bool m_paintFocused = false;

    // The delayed row-change notification and its guard.
    QBasicTimer m_rowChangeTimer;
    bool m_inRowChange = false;

    // In-place editing: one editor per edit kind (children of the viewport, made on first
    // use), the one in use, whether it shows, and the cell it edits (fixed when shown).
    std::array<TwInEditor *, wekGraphic + 1> m_editors{};
    TwInEditor *m_activeEditor = nullptr;
    bool m_editorShowing = false;
    // The editor's row is out of view: its control is hidden, its content kept.
    bool m_editorParked = false;
    // The editor is hiding: the focus it hands back to the grid must not show it again.
    bool m_hidingEditor = false;
    QPointer<TwColumn> m_editingColumn;
    int m_editingRow = -1;
    TwEditButton *m_editButton = nullptr;
    QObject *m_editorFocusWatch = nullptr;
    // A date editor's text is being completed before it is read.
    bool m_completingEdit = false;
};

