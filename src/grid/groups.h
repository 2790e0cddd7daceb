#pragma once

// Groups: blocks of one to sixteen lines (levels) of columns that share a width.

#include "grid/drawobjects.h"

#include <array>
#include <memory>
#include <vector>

class TwColumns;
class TwGroup;
class TwGroups;

/// The title band of a group.
class TABRIX_EXPORT TwGroupTitle : public TwTitle
{
public:
    explicit TwGroupTitle(TwGroup *group);
    void Changed() override;
    TwCustomGrid *GetGrid() const override;

    int Height() const { return m_height; }
    void SetHeight(int value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

private:
    friend class TwGridStream;
    TwGroup *m_group;
    int m_height = 19;
    bool m_visible = true;
};

class TABRIX_EXPORT TwGroup
{
public:
    static constexpr int MaxLevels = 16;

    explicit TwGroup(TwGroups *collection);
    ~TwGroup();

    TwGroups *Collection() const { return m_collection; }
    TwCustomGrid *Grid() const;
    int Index() const;

    int Levels() const { return m_levels; }
    /// 1 .. 16; removing levels that still hold columns fails and changes nothing.
    void SetLevels(int value);
    bool NoColTitles() const { return m_noColTitles; }
    void SetNoColTitles(bool value);
    TwGroupTitle &Title() { return *m_title; }
    const TwGroupTitle &Title() const { return *m_title; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    int VIndex() const;
    void SetVIndex(int value);
    int Weight() const { return m_weight; }
    void SetWeight(int value);
    int Width() const { return m_width; }
    void SetWidth(int value);

    const std::vector<TwColumn *> &GetLines(int level) const { return m_lines.at(static_cast<std::size_t>(level)); }
    int GetColCount(int level) const;
    TwColumn *GetColumns(int level, int index) const;
    int GetCount() const;
    int GetMaxCount() const;
    int GetLevelWeight(int level) const;
    void SetLevelWeight(int level, int weight);
    const std::array<std::uint8_t, MaxLevels> &Weights() const { return m_weights; }

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

private:
    friend class TwGroups;
    friend class TwGridStream;
    void Renumber(int level);
    void StretchLine(int level);

    TwGroups *m_collection;
    int m_index = -1;
    int m_levels = 1;
    bool m_noColTitles = false;
    std::unique_ptr<TwGroupTitle> m_title;
    bool m_visible = true;
    int m_weight = 1;
    int m_width = 64;
    std::vector<std::vector<TwColumn *>> m_lines;
    std::array<std::uint8_t, MaxLevels> m_weights;
    int m_lastVIndex = 0;
    std::vector<int> m_bTops;
    std::vector<int> m_hTops;
    std::vector<std::vector<int>> m_fTops;
};

class TABRIX_EXPORT TwGroups
{
public:
    explicit TwGroups(TwCustomGrid *grid);
    ~TwGroups();

    TwCustomGrid *Grid() const { return m_grid; }
    TwGroup *Add();
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    TwGroup *Items(int index) const { return m_items.at(static_cast<std::size_t>(index)).get(); }

    int GetVCount() const { return static_cast<int>(m_visible.size()); }
    TwGroup *GetVItems(int index) const;
    int IndexOfVisible(const TwGroup *group) const;
    void InitVIndices();
    /// Fills the group lines from the columns' Group, Level and LevelIndex.
    void Init(TwColumns &columns);
    /// The visible address names an existing column.
    bool ValidCell(const TwCell &cell) const;
    void RestoreFonts();
    void Update(TwGroup *group);

private:
    friend class TwGroup;
    void Renumber();
    /// The visible group holding the grid's current cell, or none.
    const TwGroup *CurrentGroup() const;
    /// Points the current cell at `current`'s visible position again after the list changed.
    void KeepCurrent(const TwGroup *current);

    TwCustomGrid *m_grid;
    std::vector<std::unique_ptr<TwGroup>> m_items;
    std::vector<TwGroup *> m_visible;
};
