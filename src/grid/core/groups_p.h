#pragma once

// Internal: the state of the groups and their collection. Not installed.

#include "grid/groups.h"

#include <array>
#include <memory>
#include <vector>

class TwGroupTitlePrivate
{
public:
    TwGroup *m_group = nullptr;
    int m_height = 19;
    bool m_visible = true;
};

class TwGroupPrivate
{
public:
    TwGroups *m_collection = nullptr;
    int m_index = -1;
    int m_levels = 1;
    bool m_noColTitles = false;
    std::unique_ptr<TwGroupTitle> m_title;
    bool m_visible = true;
    int m_weight = 1;
    int m_width = 64;
    std::vector<std::vector<TwColumn *>> m_lines;
    std::array<std::uint8_t, TwGroup::MaxLevels> m_weights;
    int m_lastVIndex = 0;
    std::vector<int> m_bTops;
    std::vector<int> m_hTops;
    std::vector<std::vector<int>> m_fTops;
};

class TwGroupsPrivate
{
public:
    TwCustomGrid *m_grid = nullptr;
    TwGridOwner *m_owner = nullptr;
    std::vector<std::unique_ptr<TwGroup>> m_items;
    std::vector<TwGroup *> m_visible;
};

