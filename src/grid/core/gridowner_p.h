#pragma once

// Internal: what the grid's parts (columns, groups, headers, footers, indicators, markers
// and their draw objects) may tell the grid, and the few states they read. Not installed.
//
// A part changes itself and says what changed; the grid keeps its own current cell, editor,
// geometry and painting in order in its reaction, as a view does when its header reports
// sections inserted or moved. The grid is the one implementation.

#include "grid/gridenums.h"
#include "grid/uxtypes.h"

#include <QString>

#include <exception>
#include <memory>

class TwColumn;
class TwColumns;
class TwCustomGrid;
class TwFixedStyle;
class TwGridFooters;
class TwGridHeaders;
class TwGroup;
class TwGroups;

/// What changed in a part that is drawn across the grid.
enum class TwPartChange : std::uint8_t {
    Look, ///< something drawn: the grid repaints
    Layout, ///< a size or a band: the geometry is recomputed, the editor follows, the grid repaints
    Footers, ///< the content of the footer band
    FooterRows, ///< the footer rows themselves: their count, order or visibility
    ScrollRange, ///< what the scroll bars span
    Editor, ///< where or how the in-place editor of the current cell is placed
};

class TwGridOwner
{
public:
    // The states a part reads.
    virtual bool Loading() const = 0;
    virtual bool Designing() const = 0;
    virtual bool Updating() const = 0;
    virtual bool GroupMode() const = 0;
    /// A row is being edited or inserted.
    virtual bool Editing() const = 0;
    virtual TwGridOptions Options() const = 0;
    virtual int FixedCount() const = 0;
    virtual const TwFixedStyle &FixedStyle() const = 0;
    virtual int GrpRowHeight() const = 0;
    /// The defaults that parts inherit until they are assigned their own.
    virtual TwFont GridFont() const = 0;
    virtual TwImeMode ImeMode() const = 0;
    virtual QString ImeName() const = 0;
    /// The sibling parts.
    virtual TwColumns &Columns() = 0;
    virtual TwGroups &Groups() = 0;
    virtual TwGridHeaders &Headers() = 0;
    virtual TwGridFooters &Footers() = 0;

    // What a part tells.
    virtual void PartChanged(TwPartChange change) = 0;
    /// Brackets a bulk change: the grid reacts once, when the outermost bracket ends.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    /// One column's or one group's strip needs painting.
    virtual void ColumnChanged(const TwColumn *column) = 0;
    virtual void GroupChanged(const TwGroup *group) = 0;
    /// The marker cell of one row needs painting (every row: -1).
    virtual void MarkerChanged(int row) = 0;
    /// The collection as a whole changed (a column or group added or deleted, a visible
    /// list rebuilt, a bracket closed).
    virtual void ColumnsChanged() = 0;
    virtual void GroupsChanged() = 0;
    /// A visible column entered the visible list at `position`, or left it from there:
    /// in column mode the current cell stays on what it showed.
    virtual void VisibleColumnInserted(int position) = 0;
    virtual void VisibleColumnRemoved(int position) = 0;
    /// A column is about to move, and has moved (see TwColumnMove): the current cell stays
    /// on it. A move within the group structure (`TwColumnMove::Place`) concerns the current
    /// cell of group mode and only when `column` holds it; a move among the visible columns
    /// (`TwColumnMove::Visible`, `column` null: whichever holds it) the current column of
    /// column mode. `repair` false: the move ended by an exception, nothing follows it.
    enum class MoveKind : std::uint8_t { Place, Visible };
    virtual void ColumnMoving(const TwColumn *column, MoveKind kind) = 0;
    virtual void ColumnMoved(bool repair) = 0;
    /// Groups are about to appear, vanish or move among the visible groups, and have (see
    /// TwGroupMove): the current cell stays in its group, or goes to the first cell when its
    /// group is gone (and the editor shows again there with wgoAlwaysShowEditor when
    /// `showEditor`).
    virtual void GroupsMoving(bool showEditor) = 0;
    virtual void GroupsMoved(bool repair) = 0;
    /// A column's editor settings changed (its border or colour).
    virtual void ColumnEditorChanged(const TwColumn *column) = 0;
    /// Sizes, raised on as the grid's events.
    virtual void ColumnWidthChanged(TwColumn *column, int oldWidth) = 0;
    virtual void GroupWidthChanged(TwGroup *group, int oldWidth) = 0;
    virtual void LevelHeightChanged(TwGroup *group, int level, int oldHeight) = 0;
    virtual void HeaderHeightChanged(int oldHeight) = 0;
    /// Whether a column's cell may be modified now: the grid is editing, or OnEdit grants it.
    virtual bool MayModify(TwColumn *column) = 0;
    /// The column of the grid's own class.
    virtual std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) = 0;

protected:
    ~TwGridOwner() = default;
};

/// The owner behind a grid; null for none.
TwGridOwner *TwOwnerOf(const TwCustomGrid *grid);

/// Tells the owner that a column moves, for the scope's life. The owner's repair may raise
/// the grid's events, whose handlers may throw: the exception leaves the scope, as it would
/// leave a setter; a scope left by an exception only ends the move.
class TwColumnMove
{
public:
    using Kind = TwGridOwner::MoveKind;
    static constexpr Kind Place = Kind::Place;
    static constexpr Kind Visible = Kind::Visible;

    TwColumnMove(TwGridOwner *owner, const TwColumn *column, Kind kind)
        : m_owner(owner)
        , m_exceptions(std::uncaught_exceptions())
    {
        if (m_owner)
            m_owner->ColumnMoving(column, kind);
    }
    ~TwColumnMove() noexcept(false)
    {
        if (m_owner)
            m_owner->ColumnMoved(std::uncaught_exceptions() == m_exceptions);
    }
    TwColumnMove(const TwColumnMove &) = delete;
    TwColumnMove &operator=(const TwColumnMove &) = delete;

private:
    TwGridOwner *m_owner;
    int m_exceptions;
};

/// Tells the owner that visible groups change, for the scope's life; left by an exception,
/// it only ends the change (see TwColumnMove).
class TwGroupMove
{
public:
    TwGroupMove(TwGridOwner *owner, bool showEditor)
        : m_owner(owner)
        , m_exceptions(std::uncaught_exceptions())
    {
        if (m_owner)
            m_owner->GroupsMoving(showEditor);
    }
    ~TwGroupMove() noexcept(false)
    {
        if (m_owner)
            m_owner->GroupsMoved(std::uncaught_exceptions() == m_exceptions);
    }
    TwGroupMove(const TwGroupMove &) = delete;
    TwGroupMove &operator=(const TwGroupMove &) = delete;

private:
    TwGridOwner *m_owner;
    int m_exceptions;
};
