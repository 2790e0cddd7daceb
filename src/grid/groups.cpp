#include "grid/groups.h"

#include "grid/customgrid.h"
#include "platform/texception.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace {

int LevelBoundsCheck(int level, int levels)
{
    if (level < 0 || level >= levels)
        throw TException(QStringLiteral("Level bounds error in GetLevelWeight(%1)").arg(level));
    return level;
}

// The caption of a new group: "Group" and one more than the largest number that follows
// "Group" in the captions of the others.
QString NextGroupCaption(const TwGroups &groups, const TwGroup *self)
{
    int next = 0;
    for (int i = 0; i < groups.Count(); ++i) {
        const TwGroup *group = groups.Items(i);
        if (group == self)
            continue;
        const QString caption = group->Title().Caption();
        if (!caption.contains(QLatin1String("GROUP"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int number = caption.mid(5).toInt(&ok);
        if (ok)
            next = qMax(next, number + 1);
    }
    return QStringLiteral("Group%1").arg(next);
}

} // namespace

// TwGroupTitle

TwGroupTitle::TwGroupTitle(TwGroup *group)
    : m_group(group)
{
}

void TwGroupTitle::Changed()
{
    if (m_group)
        m_group->Changed();
}

TwCustomGrid *TwGroupTitle::GetGrid() const
{
    return m_group ? m_group->Grid() : nullptr;
}

void TwGroupTitle::SetHeight(int value)
{
    TwCustomGrid *grid = GetGrid();
    const int limit = grid ? grid->Headers().GrpHeight - 4 * m_group->Levels() : value;
    value = std::clamp(value, 0, qMax(0, limit));
    if (value == m_height)
        return;
    const int old = m_height;
    m_height = value;
    Changed();
    if (grid) {
        grid->UpdateEditor();
        grid->LevelHeightChanged(m_group, -1, old);
    }
}

void TwGroupTitle::SetVisible(bool value)
{
    if (!value && m_group && m_group->NoColTitles())
        return;
    m_visible = value;
    Changed();
}

// TwGroup

TwGroup::TwGroup(TwGroups *collection)
    : m_collection(collection)
    , m_title(std::make_unique<TwGroupTitle>(this))
    , m_lines(1)
{
    m_weights.fill(1);
}

TwGroup::~TwGroup() = default;

TwCustomGrid *TwGroup::Grid() const
{
    return m_collection ? m_collection->Grid() : nullptr;
}

int TwGroup::Index() const
{
    return m_index;
}

void TwGroup::Changed()
{
    if (m_collection)
        m_collection->Update(this);
}

void TwGroup::SetLevels(int value)
{
    value = std::clamp(value, 1, MaxLevels);
    if (value == m_levels)
        return;
    for (int level = value; level < m_levels; ++level) {
        const auto &line = m_lines[static_cast<std::size_t>(level)];
        if (std::any_of(line.begin(), line.end(), [](const TwColumn *c) { return c != nullptr; }))
            throw TException(QStringLiteral("Level %1에는 연결된 컬럼들이 존재합니다\r\n이들과의 연결을 먼저 끊어야합니다")
                                 .arg(level));
    }
    m_lines.resize(static_cast<std::size_t>(value));
    m_levels = value;
    const TwCustomGrid *grid = Grid();
    if (!grid || !grid->Loading()) {
        m_weight = m_levels;
        m_weights.fill(1);
    }
    Changed();
}

void TwGroup::SetNoColTitles(bool value)
{
    if (!m_title->Visible())
        return;
    m_noColTitles = value;
    Changed();
}

void TwGroup::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    TwCustomGrid *grid = Grid();
    const int position = VIndex();
    m_visible = value;
    if (!grid || grid->Loading() || grid->Designing() || !m_collection) {
        if (m_collection)
            m_collection->Update(nullptr);
        return;
    }
    auto &visible = m_collection->m_visible;
    const TwGroup *current = m_collection->CurrentGroup();
    if (value) {
        const int at = std::clamp(m_lastVIndex, 0, static_cast<int>(visible.size()));
        visible.insert(visible.begin() + at, this);
    } else {
        m_lastVIndex = position;
        visible.erase(std::remove(visible.begin(), visible.end(), this), visible.end());
        if (grid->GroupMode() && current == this && !visible.empty()) {
            grid->SetCurCell(grid->FirstSelectCell());
            if (grid->Options().Has(wgoAlwaysShowEditor))
                grid->ShowEditor();
        }
    }
    if (current != this)
        m_collection->KeepCurrent(current);
    m_collection->Update(nullptr);
}

const TwGroup *TwGroups::CurrentGroup() const
{
    const int position = m_grid ? m_grid->CurCell().Group : -1;
    return position >= 0 && position < GetVCount() ? m_visible[static_cast<std::size_t>(position)] : nullptr;
}

void TwGroups::KeepCurrent(const TwGroup *current)
{
    // The current cell names its group by visible position: when groups before it appear,
    // vanish or move, it moves with its group.
    if (!current || !m_grid)
        return;
    const int position = current->VIndex();
    TwCell cell = m_grid->CurCell();
    if (position < 0 || position == cell.Group)
        return;
    cell.Group = position;
    m_grid->SetCurCell(cell);
}

int TwGroup::VIndex() const
{
    return m_collection ? m_collection->IndexOfVisible(this) : -1;
}

void TwGroup::SetVIndex(int value)
{
    value = qMax(-1, value);
    if ((Grid() && Grid()->Loading()) || value == VIndex() || !m_collection)
        return;
    if (value < 0) {
        SetVisible(false);
        return;
    }
    auto &visible = m_collection->m_visible;
    if (VIndex() < 0) {
        m_lastVIndex = qMin(value, static_cast<int>(visible.size()));
        SetVisible(true);
        return;
    }
    const TwGroup *current = m_collection->CurrentGroup();
    visible.erase(std::remove(visible.begin(), visible.end(), this), visible.end());
    const int at = qMin(value, static_cast<int>(visible.size()));
    visible.insert(visible.begin() + at, this);
    m_collection->KeepCurrent(current);
    m_collection->Update(nullptr);
}

void TwGroup::SetWeight(int value)
{
    if (m_levels <= 1)
        return;
    value = std::clamp(value, m_levels, 3 * m_levels);
    if (value == m_levels) {
        m_weights.fill(1);
        m_weight = value;
    } else if (value > m_weight) {
        m_weights[0] = static_cast<std::uint8_t>(m_weights[0] + (value - m_weight));
        m_weight = value;
    } else if (value < m_weight) {
        int remaining = m_weight - value;
        for (int i = 0; i < m_levels && remaining > 0; ++i) {
            const int take = qMin(remaining, m_weights[static_cast<std::size_t>(i)] - 1);
            m_weights[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(m_weights[static_cast<std::size_t>(i)] - take);
            remaining -= take;
        }
        m_weight = value + remaining;
    }
    Changed();
}

int TwGroup::GetLevelWeight(int level) const
{
    return m_weights[static_cast<std::size_t>(LevelBoundsCheck(level, m_levels))];
}

void TwGroup::SetLevelWeight(int level, int weight)
{
    LevelBoundsCheck(level, m_levels);
    const bool allOnes = std::all_of(m_weights.begin(), m_weights.begin() + m_levels, [](std::uint8_t w) { return w == 1; });
    if (allOnes && m_weight == m_levels)
        return;
    weight = qMax(1, weight);
    const auto old = m_weights;
    const auto at = static_cast<std::size_t>(level);
    const int current = m_weights[at];
    if (weight < current) {
        const std::size_t partner = level + 1 < m_levels ? at + 1 : at - 1;
        m_weights[partner] = static_cast<std::uint8_t>(m_weights[partner] + (current - weight));
        m_weights[at] = static_cast<std::uint8_t>(weight);
    } else if (weight > current) {
        int wanted = weight - current;
        const auto take = [&](std::size_t i) {
            const int got = qMin(wanted, m_weights[i] - 1);
            m_weights[i] = static_cast<std::uint8_t>(m_weights[i] - got);
            wanted -= got;
        };
        for (int i = level + 1; i < m_levels && wanted > 0; ++i)
            take(static_cast<std::size_t>(i));
        for (int i = 0; i < level && wanted > 0; ++i)
            take(static_cast<std::size_t>(i));
        m_weights[at] = static_cast<std::uint8_t>(weight - wanted);
    }
    Changed();
    if (TwCustomGrid *grid = Grid()) {
        for (int i = 0; i < m_levels; ++i) {
            if (old[static_cast<std::size_t>(i)] != m_weights[static_cast<std::size_t>(i)])
                grid->LevelHeightChanged(this, i, old[static_cast<std::size_t>(i)]);
        }
    }
}

int TwGroup::GetColCount(int level) const
{
    return level >= 0 && level < m_levels ? static_cast<int>(m_lines[static_cast<std::size_t>(level)].size()) : 0;
}

TwColumn *TwGroup::GetColumns(int level, int index) const
{
    if (index < 0 || index >= GetColCount(level))
        return nullptr;
    return m_lines[static_cast<std::size_t>(level)][static_cast<std::size_t>(index)];
}

int TwGroup::GetCount() const
{
    int count = 0;
    for (int level = 0; level < m_levels; ++level)
        count += GetColCount(level);
    return count;
}

int TwGroup::GetMaxCount() const
{
    int most = 1;
    for (int level = 0; level < m_levels; ++level)
        most = qMax(most, GetColCount(level));
    return most;
}

void TwGroup::SetWidth(int value)
{
    TwCustomGrid *grid = Grid();
    if (grid && grid->Loading()) {
        m_width = std::min(value, TwMaxPixels);
        return;
    }
    value = std::min(qMax(value, 4 * GetMaxCount()), TwMaxPixels);
    const int old = m_width;
    for (auto &line : m_lines) {
        for (TwColumn *column : line)
            if (column)
                column->m_savedGrpWidth = column->m_grpWidth;
    }
    for (auto &line : m_lines) {
        const int n = static_cast<int>(line.size());
        if (n == 1) {
            line[0]->m_grpWidth = value;
            continue;
        }
        int used = 0;
        for (int i = 0; i + 1 < n; ++i) {
            TwColumn *column = line[static_cast<std::size_t>(i)];
            if (value >= old)
                column->m_grpWidth = column->m_savedGrpWidth + (value - old) / n;
            else
                column->m_grpWidth = old > 0 ? column->m_savedGrpWidth * (value - 4 * n) / old + 4 : 4;
            used += column->m_grpWidth;
        }
        if (n > 1)
            line.back()->m_grpWidth = value - used;
    }
    m_width = value;
    if (!grid || grid->Updating())
        return;
    grid->GroupWidthChanged(this, old);
    grid->UpdateEditor();
    for (auto &line : m_lines) {
        for (TwColumn *column : line) {
            if (column && column->m_grpWidth != column->m_savedGrpWidth)
                grid->ColumnWidthChanged(column, column->m_savedGrpWidth);
        }
    }
    Changed();
}

void TwGroup::Renumber(int level)
{
    auto &line = m_lines[static_cast<std::size_t>(level)];
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!line[i])
            continue;
        line[i]->m_group = m_index;
        line[i]->m_level = level;
        line[i]->m_levelIndex = static_cast<int>(i);
    }
}

void TwGroup::InsertItem(int level, int index, TwColumn *column)
{
    level = std::clamp(level, 0, m_levels - 1);
    auto &line = m_lines[static_cast<std::size_t>(level)];
    index = std::clamp(index, 0, static_cast<int>(line.size()));
    line.insert(line.begin() + index, column);
    Renumber(level);
    if (line.size() == 1) {
        column->m_grpWidth = m_width;
    } else {
        const std::size_t at = static_cast<std::size_t>(index);
        TwColumn *neighbour = at + 1 < line.size() ? line[at + 1] : line[at - 1];
        if (neighbour->m_grpWidth >= 8) {
            column->m_grpWidth = neighbour->m_grpWidth / 2;
            neighbour->m_grpWidth -= column->m_grpWidth;
        } else {
            m_width += 8 - neighbour->m_grpWidth;
            neighbour->m_grpWidth = 4;
            column->m_grpWidth = 4;
        }
    }
    Changed();
}

void TwGroup::StretchLine(int level)
{
    auto &line = m_lines[static_cast<std::size_t>(level)];
    const int count = static_cast<int>(line.size());
    if (count == 0)
        return;
    int sum = 0;
    for (const TwColumn *column : line)
        sum += column->m_grpWidth;
    const int gain = (m_width - sum) / count;
    int used = 0;
    for (int i = 0; i + 1 < count; ++i) {
        line[static_cast<std::size_t>(i)]->m_grpWidth += gain;
        used += line[static_cast<std::size_t>(i)]->m_grpWidth;
    }
    line.back()->m_grpWidth = m_width - used;
}

void TwGroup::RemoveItem(TwColumn *column)
{
    for (int level = 0; level < m_levels; ++level) {
        auto &line = m_lines[static_cast<std::size_t>(level)];
        const auto found = std::find(line.begin(), line.end(), column);
        if (found == line.end())
            continue;
        line.erase(found);
        column->m_group = -1;
        Renumber(level);
        StretchLine(level);
        Changed();
        return;
    }
}

bool TwGroup::MoveItem(TwColumn *column, int index)
{
    if (column->m_group != m_index || column->m_level < 0 || column->m_level >= m_levels)
        return false;
    auto &line = m_lines[static_cast<std::size_t>(column->m_level)];
    const auto found = std::find(line.begin(), line.end(), column);
    if (found == line.end() || index < 0 || index >= static_cast<int>(line.size()))
        return false;
    line.erase(found);
    line.insert(line.begin() + index, column);
    Renumber(column->m_level);
    Changed();
    return true;
}

void TwGroup::ResetItemWidth(TwColumn *column, int width)
{
    if (column->m_level < 0 || column->m_level >= m_levels)
        return;
    auto &line = m_lines[static_cast<std::size_t>(column->m_level)];
    const auto found = std::find(line.begin(), line.end(), column);
    if (line.size() < 2 || found == line.end() || width == column->m_grpWidth)
        return;
    const std::size_t at = static_cast<std::size_t>(found - line.begin());
    TwColumn *partner = at + 1 < line.size() ? line[at + 1] : line[at - 1];
    const int oldColumn = column->m_grpWidth;
    const int oldPartner = partner->m_grpWidth;
    if (width < column->m_grpWidth) {
        partner->m_grpWidth += column->m_grpWidth - width;
        column->m_grpWidth = width;
    } else {
        const int take = qMin(width - column->m_grpWidth, partner->m_grpWidth - 4);
        column->m_grpWidth += take;
        partner->m_grpWidth -= take;
    }
    if (TwCustomGrid *grid = Grid()) {
        grid->ColumnWidthChanged(column, oldColumn);
        grid->ColumnWidthChanged(partner, oldPartner);
    }
    Changed();
}

void TwGroup::ReadExtents()
{
    const TwCustomGrid *grid = Grid();
    if (!grid)
        return;
    const int levels = m_levels;
    const int total = qMax(1, m_weight);
    const auto weight = [this](int i) { return static_cast<int>(m_weights[static_cast<std::size_t>(i)]); };

    const int headerHeight = grid->Headers().GrpHeight;
    const int titleHeight = m_title->Visible() ? m_title->Height() : 0;
    m_hTops.assign(static_cast<std::size_t>(levels + 2), 0);
    m_hTops[1] = titleHeight;
    const int rest = headerHeight - titleHeight;
    for (int i = 1; i < levels; ++i)
        m_hTops[static_cast<std::size_t>(i + 1)] = m_hTops[static_cast<std::size_t>(i)] + weight(i - 1) * rest / total;
    m_hTops[static_cast<std::size_t>(levels + 1)] = headerHeight;

    // Levels only exist in group mode: its sizes apply whatever the current mode.
    const int rowHeight = grid->GrpRowHeight();
    m_bTops.assign(static_cast<std::size_t>(levels + 1), 0);
    for (int i = 1; i < levels; ++i)
        m_bTops[static_cast<std::size_t>(i)] = m_bTops[static_cast<std::size_t>(i - 1)] + weight(i - 1) * rowHeight / total;
    m_bTops[static_cast<std::size_t>(levels)] = rowHeight;

    const TwGridFooters &footers = grid->Footers();
    m_fTops.assign(static_cast<std::size_t>(footers.GetVCount()), {});
    for (int f = 0; f < footers.GetVCount(); ++f) {
        const int height = footers.GetVItems(f)->GrpHeight;
        auto &tops = m_fTops[static_cast<std::size_t>(f)];
        tops.assign(static_cast<std::size_t>(levels + 1), 0);
        for (int i = 1; i < levels; ++i)
            tops[static_cast<std::size_t>(i)] = tops[static_cast<std::size_t>(i - 1)] + weight(i - 1) * height / total + 1;
        tops[static_cast<std::size_t>(levels)] = height;
    }

    for (auto &line : m_lines) {
        int left = 0;
        for (TwColumn *column : line) {
            if (!column)
                continue;
            column->m_left = left;
            column->m_right = left + column->m_grpWidth;
            left = column->m_right;
        }
        if (!line.empty() && line.back())
            line.back()->m_right = m_width;
    }
}

int TwGroup::GetBTops(int level) const
{
    return level >= 0 && level < static_cast<int>(m_bTops.size()) ? m_bTops[static_cast<std::size_t>(level)] : 0;
}

int TwGroup::GetHTops(int level) const
{
    const int at = level + 1;
    return at >= 0 && at < static_cast<int>(m_hTops.size()) ? m_hTops[static_cast<std::size_t>(at)] : 0;
}

int TwGroup::GetFTops(int footer, int level) const
{
    if (footer < 0 || footer >= static_cast<int>(m_fTops.size()))
        return 0;
    const auto &tops = m_fTops[static_cast<std::size_t>(footer)];
    return level >= 0 && level < static_cast<int>(tops.size()) ? tops[static_cast<std::size_t>(level)] : 0;
}

// TwGroups

TwGroups::TwGroups(TwCustomGrid *grid)
    : m_grid(grid)
{
}

TwGroups::~TwGroups() = default;

TwGroup *TwGroups::Add()
{
    auto group = std::make_unique<TwGroup>(this);
    TwGroup *added = group.get();
    added->m_index = Count();
    added->m_lastVIndex = added->m_index;
    m_items.push_back(std::move(group));
    added->m_title->SetCaption(NextGroupCaption(*this, added));
    if (!m_grid->Loading() && !m_grid->Designing())
        m_visible.insert(m_visible.begin() + qMin(added->m_index, GetVCount()), added);
    Update(nullptr);
    return added;
}

void TwGroups::Delete(int index)
{
    TwGroup *group = Items(index);
    for (int level = 0; level < group->Levels(); ++level) {
        for (TwColumn *column : group->GetLines(level)) {
            if (column)
                column->m_group = -1;
        }
    }
    const TwGroup *current = CurrentGroup();
    const bool deletingCurrent = current == group;
    m_visible.erase(std::remove(m_visible.begin(), m_visible.end(), group), m_visible.end());
    m_items.erase(m_items.begin() + index);
    Renumber();
    // The current cell names its group by visible position: it follows its group, or moves
    // to the first selectable cell when its own group is gone.
    if (!deletingCurrent)
        KeepCurrent(current);
    else if (m_grid && m_grid->GroupMode() && !m_visible.empty())
        m_grid->SetCurCell(m_grid->FirstSelectCell());
    Update(nullptr);
}

void TwGroups::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

void TwGroups::Renumber()
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_items[i]->m_index = static_cast<int>(i);
        for (int level = 0; level < m_items[i]->Levels(); ++level)
            m_items[i]->Renumber(level);
    }
}

TwGroup *TwGroups::GetVItems(int index) const
{
    if (index < 0 || index >= GetVCount())
        return nullptr;
    return m_visible[static_cast<std::size_t>(index)];
}

int TwGroups::IndexOfVisible(const TwGroup *group) const
{
    const auto found = std::find(m_visible.begin(), m_visible.end(), group);
    return found == m_visible.end() ? -1 : static_cast<int>(found - m_visible.begin());
}

void TwGroups::InitVIndices()
{
    m_visible.clear();
    for (const auto &group : m_items) {
        if (group->m_visible)
            m_visible.push_back(group.get());
        group->m_lastVIndex = group->m_index;
    }
}

void TwGroups::Init(TwColumns &columns)
{
    for (const auto &group : m_items) {
        for (auto &line : group->m_lines)
            line.clear();
    }
    for (int i = 0; i < columns.Count(); ++i) {
        TwColumn *column = columns.Items(i);
        if (column->m_group < 0 || column->m_group >= Count()) {
            column->m_group = -1;
            continue;
        }
        TwGroup *group = Items(column->m_group);
        const int level = std::clamp(column->m_level, 0, group->m_levels - 1);
        auto &line = group->m_lines[static_cast<std::size_t>(level)];
        const auto at = static_cast<std::size_t>(qMax(0, column->m_levelIndex));
        if (line.size() <= at)
            line.resize(at + 1, nullptr);
        if (line[at]) // two columns claim one place: the later one follows it
            line.insert(line.begin() + static_cast<std::ptrdiff_t>(at) + 1, column);
        else
            line[at] = column;
    }
    for (const auto &group : m_items) {
        for (int level = 0; level < group->m_levels; ++level) {
            auto &line = group->m_lines[static_cast<std::size_t>(level)];
            line.erase(std::remove(line.begin(), line.end(), nullptr), line.end());
            group->Renumber(level);
        }
    }
}

bool TwGroups::ValidCell(const TwCell &cell) const
{
    if (!TXValidCell(cell) || cell.Group >= GetVCount())
        return false;
    const TwGroup *group = GetVItems(cell.Group);
    return cell.Level < group->Levels() && cell.Index < group->GetColCount(cell.Level);
}

void TwGroups::RestoreFonts()
{
    for (const auto &group : m_items)
        group->Title().SetFont(m_grid->GridFont());
}

void TwGroups::Update(TwGroup *group)
{
    if (m_grid->Loading())
        return;
    if (group) {
        if (m_grid->GroupMode() && !m_grid->Updating())
            m_grid->InvalidateStrip(group->VIndex());
        return;
    }
    if (m_grid->Updating())
        return;
    if (m_grid->Designing())
        InitVIndices();
    Renumber();
    if (m_grid->GroupMode() && GetVCount() == 0) {
        m_grid->SetGroupMode(false);
        return;
    }
    if (m_grid->GroupMode()) {
        m_grid->SetFixedCount(m_grid->FixedCount());
        m_grid->UpdateScrollRange();
        m_grid->InvalidateGrid();
    }
}
