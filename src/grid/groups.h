#pragma once

// Groups: blocks of one to sixteen lines (levels) of columns that share a width.

#include "grid/drawobjects.h"

#include <array>
#include <memory>
#include <vector>

class TwColumns;
class TwDesignReader;
class TwDesignWriter;
class TwGridOwner;
class TwGroup;
class TwGroups;
class TwGroupTitlePrivate;
class TwGroupPrivate;
class TwGroupsPrivate;

/// The title band of a group, owned by the group.
class TABRIX_EXPORT TwGroupTitle : public TwTitle
{
    Q_OBJECT
    Q_PROPERTY(int Height READ Height WRITE SetHeight NOTIFY HeightChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)

public:
    explicit TwGroupTitle(TwGroup *group);
    ~TwGroupTitle() override;
    void Changed() override;
    TwCustomGrid *GetGrid() const override;

    int Height() const;
    /// Clamped to 0 .. the group-mode header height less 4 per level of the group.
    void SetHeight(int value);
    bool Visible() const;
    /// Refused (stays true) while the group hides its columns' titles.
    void SetVisible(bool value);

signals:
    void HeightChanged(int value);
    void VisibleChanged(bool value);

private:

    Q_DECLARE_PRIVATE_D(d, TwGroupTitle)
    std::unique_ptr<TwGroupTitlePrivate> d;
};

/// A block of one to sixteen levels of columns. Owned by its collection; it points at the
/// columns placed in it without owning them (a deleted column leaves its group first).
/// A QObject only for its published properties: it has no QObject parent, never delete it.
class TABRIX_EXPORT TwGroup : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Levels READ Levels WRITE SetLevels NOTIFY LevelsChanged)
    Q_PROPERTY(bool NoColTitles READ NoColTitles WRITE SetNoColTitles NOTIFY NoColTitlesChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)
    Q_PROPERTY(int Weight READ Weight WRITE SetWeight NOTIFY WeightChanged)
    Q_PROPERTY(int Width READ Width WRITE SetWidth NOTIFY WidthChanged)

public:
    static constexpr int MaxLevels = 16;

    explicit TwGroup(TwGroups *collection);
    ~TwGroup();
    TwGroup(const TwGroup &) = delete;
    TwGroup &operator=(const TwGroup &) = delete;

    TwGroups *Collection() const;
    TwCustomGrid *Grid() const;
    int Index() const;

    int Levels() const;
    /// 1 .. 16; removing levels that still hold columns fails and changes nothing.
    void SetLevels(int value);
    bool NoColTitles() const;
    void SetNoColTitles(bool value);
    TwGroupTitle &Title();
    const TwGroupTitle &Title() const;
    bool Visible() const;
    void SetVisible(bool value);
    int VIndex() const;
    void SetVIndex(int value);
    int Weight() const;
    void SetWeight(int value);
    int Width() const;
    void SetWidth(int value);

    const std::vector<TwColumn *> &GetLines(int level) const;
    int GetColCount(int level) const;
    TwColumn *GetColumns(int level, int index) const;
    int GetCount() const;
    int GetMaxCount() const;
    int GetLevelWeight(int level) const;
    void SetLevelWeight(int level, int weight);
    const std::array<std::uint8_t, MaxLevels> &Weights() const;

    // Cell walks inside the group. Cells are visible addresses: the group part is the
    // group's visible position. Each answers (-1, -1, -1) when the group has no column,
    // and the cell it was given when there is nowhere to go.
    /// Index 0 of the first level that has columns.
    TwCell FirstCell() const;
    /// The last column of the last level that has columns.
    TwCell LastCell() const;
    /// The first cell on a lower level (levels downward, columns left to right) whose
    /// horizontal span holds the left edge of `cell`.
    TwCell LowerCell(const TwCell &cell) const;
    /// The same upward.
    TwCell UpperCell(const TwCell &cell) const;
    /// As LowerCell / UpperCell; a column found that cannot be selected gives way to the
    /// nearest selectable one of its level, to its left first, then to its right.
    TwCell LowerSelectCell(const TwCell &cell) const;
    TwCell UpperSelectCell(const TwCell &cell) const;
    /// Moves the group to another place in its collection (its collection index); the
    /// columns follow it. The order a stored design keeps.
    void SetIndex(int value);

    void InsertItem(int level, int index, TwColumn *column);
    void RemoveItem(TwColumn *column);
    bool MoveItem(TwColumn *column, int index);
    void ResetItemWidth(TwColumn *column, int width);

    /// Computes the vertical offsets of the levels and the horizontal extents of the columns.
    void ReadExtents();
    /// Tops of the levels relative to a row (level 0 .. Levels).
    int GetBTops(int level) const;
    /// Tops within the header band (level -1 .. Levels).
    int GetHTops(int level) const;
    /// Tops within visible footer row `footer` (level 0 .. Levels).
    int GetFTops(int footer, int level) const;

    /// Repaints the group's strip.
    void Changed();

    /// Design properties: written when they differ from their defaults, read back through
    /// the setters; a value a setter would not keep fails with the property's name.
    void WriteDesign(TwDesignWriter &out) const;
    void ReadDesign(const TwDesignReader &in);

signals:
    void LevelsChanged(int value);
    void NoColTitlesChanged(bool value);
    void VisibleChanged(bool value);
    void WeightChanged(int value);
    void WidthChanged(int value);

private:
    friend class TwGroups;
    friend class TwGroupTitle;
    /// What the group tells its grid, and asks it; null outside a grid.
    TwGridOwner *Owner() const;
    void Renumber(int level);
    void StretchLine(int level);
    TwCell VerticalCell(const TwCell &cell, int step, bool selectable) const;

    Q_DECLARE_PRIVATE_D(d, TwGroup)
    std::unique_ptr<TwGroupPrivate> d;
};

/// The owned groups of a grid and the visible ones in display order. Owned by the grid for
/// its whole life: made once by the grid's CreateGroups and never replaced. Items() and
/// GetVItems() fail with the library's exception outside their range.
class TABRIX_EXPORT TwGroups
{
public:
    explicit TwGroups(TwCustomGrid *grid);
    ~TwGroups();

    TwCustomGrid *Grid() const;
    TwGroup *Add();
    void Delete(int index);
    void Clear();
    int Count() const;
    TwGroup *Items(int index) const;

    int GetVCount() const;
    TwGroup *GetVItems(int index) const;
    int IndexOfVisible(const TwGroup *group) const;
    void InitVIndices();
    /// Fills the group lines from the columns' Group, Level and LevelIndex.
    void Init(TwColumns &columns);
    /// The visible address names an existing column.
    bool ValidCell(const TwCell &cell) const;

    // Cell walks over the visible groups (visible addresses, rows aside). The fixed groups
    // take part only when the fixed style allows selecting them.
    TwCell FirstCell() const;
    TwCell LastCell() const;
    /// The next index of the level, else the first cell of the next level that has columns,
    /// else of the next group that has columns, else `cell` itself.
    TwCell NextCell(const TwCell &cell) const;
    TwCell PrevCell(const TwCell &cell) const;
    /// With wgoSkipReadOnly only cells whose column can be selected count, and the walk never
    /// passes the last (first) of them; without it, NextCell and PrevCell.
    TwCell NextSelectCell(const TwCell &cell) const;
    TwCell PrevSelectCell(const TwCell &cell) const;
    /// The first / last cell whose column can be selected; the first / last cell when none can.
    TwCell FirstSelectCell() const;
    TwCell LastSelectCell() const;
    bool IsFirstCell(const TwCell &cell) const { return cell == FirstCell(); }
    bool IsLastCell(const TwCell &cell) const { return cell == LastCell(); }
    bool IsFirstSelectCell(const TwCell &cell) const { return cell == FirstSelectCell(); }
    bool IsLastSelectCell(const TwCell &cell) const { return cell == LastSelectCell(); }

    void RestoreFonts();
    void Update(TwGroup *group);

private:
    friend class TwGroup;
    void Renumber();
    TwGridOwner *Owner() const;
    /// The first visible group the walks may enter.
    int FirstWalkGroup() const;
    bool Selectable(const TwCell &cell) const;

    Q_DECLARE_PRIVATE_D(d, TwGroups)
    std::unique_ptr<TwGroupsPrivate> d;
};
