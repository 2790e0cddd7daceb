#include "grid/groups.h"
#include "grid/core/extents.h"
#include "grid/core/groups_p.h"
#include "grid/core/moveitem_p.h"
#include "grid/support/notify_p.h"

#include "grid/core/columns_p.h"

#include "grid/columns.h"
#include "grid/core/gridowner_p.h"
#include "grid/gridparts.h"
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

} // namespace

// TwGroupTitle

TwGroupTitle::TwGroupTitle(TwGroup *group)
    : d(std::make_unique<TwGroupTitlePrivate>())
{
    d->m_group = group;
}

TwGroupTitle::~TwGroupTitle() = default;

void TwGroupTitle::Changed()
{
    if (d->m_group)
        d->m_group->Changed();
}

TwCustomGrid *TwGroupTitle::GetGrid() const
{
    return d->m_group ? d->m_group->Grid() : nullptr;
}

void TwGroupTitle::SetHeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Height(); }, [this] { emit HeightChanged(Height()); });
    TwGridOwner *owner = d->m_group ? d->m_group->Owner() : nullptr;
    const int limit = owner ? owner->Headers().GrpHeight() - 4 * d->m_group->Levels() : value;
    value = std::clamp(value, 0, qMax(0, limit));
    if (value == d->m_height)
        return;
    const int old = d->m_height;
    d->m_height = value;
    Changed();
    if (owner) {
        owner->PartChanged(TwPartChange::Editor);
        owner->LevelHeightChanged(d->m_group, -1, old);
    }
}

void TwGroupTitle::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    if (!value && d->m_group && d->m_group->NoColTitles())
        return;
    d->m_visible = value;
    Changed();
}

// TwGroup

TwGroup::TwGroup(TwGroups *collection)
    : d(std::make_unique<TwGroupPrivate>())
{
    d->m_collection = collection;
    d->m_title = std::make_unique<TwGroupTitle>(this);
    d->m_lines.resize(1);
    d->m_weights.fill(1);
}

TwGroup::~TwGroup() = default;

TwCustomGrid *TwGroup::Grid() const
{
    return d->m_collection ? d->m_collection->Grid() : nullptr;
}

TwGridOwner *TwGroup::Owner() const
{
    return d->m_collection ? d->m_collection->Owner() : nullptr;
}

int TwGroup::Index() const
{
    return d->m_index;
}

void TwGroup::Changed()
{
    if (d->m_collection)
        d->m_collection->Update(this);
}

void TwGroup::SetLevels(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Levels(); }, [this] { emit LevelsChanged(Levels()); });
    const auto notifyWeight = TwNotifyOnChange([this] { return Weight(); }, [this] { emit WeightChanged(Weight()); });
    value = std::clamp(value, 1, MaxLevels);
    if (value == d->m_levels)
        return;
    for (int level = value; level < d->m_levels; ++level) {
        const auto &line = d->m_lines[static_cast<std::size_t>(level)];
        if (std::any_of(line.begin(), line.end(), [](const TwColumn *c) { return c != nullptr; }))
            throw TException(QStringLiteral("Level %1에는 연결된 컬럼들이 존재합니다\r\n이들과의 연결을 먼저 끊어야합니다")
                                 .arg(level));
    }
    d->m_lines.resize(static_cast<std::size_t>(value));
    d->m_levels = value;
    const TwGridOwner *owner = Owner();
    if (!owner || !owner->Loading()) {
        d->m_weight = d->m_levels;
        d->m_weights.fill(1);
    }
    Changed();
}

void TwGroup::SetNoColTitles(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return NoColTitles(); }, [this] { emit NoColTitlesChanged(NoColTitles()); });
    if (!d->m_title->Visible())
        return;
    d->m_noColTitles = value;
    Changed();
}

void TwGroup::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    if (value == d->m_visible)
        return;
    TwGridOwner *owner = Owner();
    const int position = VIndex();
    d->m_visible = value;
    if (!owner || owner->Loading() || owner->Designing() || !d->m_collection) {
        if (d->m_collection)
            d->m_collection->Update(nullptr);
        return;
    }
    {
        const TwGroupMove move(owner, true);
        auto &visible = d->m_collection->d->m_visible;
        if (value) {
            const int at = std::clamp(d->m_lastVIndex, 0, static_cast<int>(visible.size()));
            visible.insert(visible.begin() + at, this);
        } else {
            d->m_lastVIndex = position;
            visible.erase(std::remove(visible.begin(), visible.end(), this), visible.end());
        }
    }
    d->m_collection->Update(nullptr);
}

int TwGroup::VIndex() const
{
    return d->m_collection ? d->m_collection->IndexOfVisible(this) : -1;
}

void TwGroup::SetVIndex(int value)
{
    value = qMax(-1, value);
    if ((Owner() && Owner()->Loading()) || value == VIndex() || !d->m_collection)
        return;
    if (value < 0) {
        SetVisible(false);
        return;
    }
    auto &visible = d->m_collection->d->m_visible;
    if (VIndex() < 0) {
        d->m_lastVIndex = qMin(value, static_cast<int>(visible.size()));
        SetVisible(true);
        return;
    }
    {
        const TwGroupMove move(Owner(), true);
        visible.erase(std::remove(visible.begin(), visible.end(), this), visible.end());
        const int at = qMin(value, static_cast<int>(visible.size()));
        visible.insert(visible.begin() + at, this);
    }
    d->m_collection->Update(nullptr);
}

void TwGroup::SetWeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Weight(); }, [this] { emit WeightChanged(Weight()); });
    if (d->m_levels <= 1)
        return;
    value = std::clamp(value, d->m_levels, 3 * d->m_levels);
    if (value == d->m_levels) {
        d->m_weights.fill(1);
        d->m_weight = value;
    } else if (value > d->m_weight) {
        d->m_weights[0] = static_cast<std::uint8_t>(d->m_weights[0] + (value - d->m_weight));
        d->m_weight = value;
    } else if (value < d->m_weight) {
        int remaining = d->m_weight - value;
        for (int i = 0; i < d->m_levels && remaining > 0; ++i) {
            const int take = qMin(remaining, d->m_weights[static_cast<std::size_t>(i)] - 1);
            d->m_weights[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(d->m_weights[static_cast<std::size_t>(i)] - take);
            remaining -= take;
        }
        d->m_weight = value + remaining;
    }
    Changed();
}

int TwGroup::GetLevelWeight(int level) const
{
    return d->m_weights[static_cast<std::size_t>(LevelBoundsCheck(level, d->m_levels))];
}

void TwGroup::SetLevelWeight(int level, int weight)
{
    LevelBoundsCheck(level, d->m_levels);
    const bool allOnes = std::all_of(d->m_weights.begin(), d->m_weights.begin() + d->m_levels, [](std::uint8_t w) { return w == 1; });
    if (allOnes && d->m_weight == d->m_levels)
        return;
    weight = qMax(1, weight);
    const auto old = d->m_weights;
    const auto at = static_cast<std::size_t>(level);
    const int current = d->m_weights[at];
    if (weight < current) {
        const std::size_t partner = level + 1 < d->m_levels ? at + 1 : at - 1;
        d->m_weights[partner] = static_cast<std::uint8_t>(d->m_weights[partner] + (current - weight));
        d->m_weights[at] = static_cast<std::uint8_t>(weight);
    } else if (weight > current) {
        int wanted = weight - current;
        const auto take = [&](std::size_t i) {
            const int got = qMin(wanted, d->m_weights[i] - 1);
            d->m_weights[i] = static_cast<std::uint8_t>(d->m_weights[i] - got);
            wanted -= got;
        };
        for (int i = level + 1; i < d->m_levels && wanted > 0; ++i)
            take(static_cast<std::size_t>(i));
        for (int i = 0; i < level && wanted > 0; ++i)
            take(static_cast<std::size_t>(i));
        d->m_weights[at] = static_cast<std::uint8_t>(weight - wanted);
    }
    Changed();
    if (TwGridOwner *owner = Owner()) {
        for (int i = 0; i < d->m_levels; ++i) {
            if (old[static_cast<std::size_t>(i)] != d->m_weights[static_cast<std::size_t>(i)])
                owner->LevelHeightChanged(this, i, old[static_cast<std::size_t>(i)]);
        }
    }
}

int TwGroup::GetColCount(int level) const
{
    return level >= 0 && level < d->m_levels ? static_cast<int>(d->m_lines[static_cast<std::size_t>(level)].size()) : 0;
}

TwColumn *TwGroup::GetColumns(int level, int index) const
{
    if (index < 0 || index >= GetColCount(level))
        throw TException(QStringLiteral("TwGroup Bounds Error in GetColumns(%1, %2)").arg(level).arg(index));
    return d->m_lines[static_cast<std::size_t>(level)][static_cast<std::size_t>(index)];
}

int TwGroup::GetCount() const
{
    int count = 0;
    for (int level = 0; level < d->m_levels; ++level)
        count += GetColCount(level);
    return count;
}

int TwGroup::GetMaxCount() const
{
    int most = 1;
    for (int level = 0; level < d->m_levels; ++level)
        most = qMax(most, GetColCount(level));
    return most;
}

namespace {

// The widths of a group's columns as they read before an operation that shares out the
// group's width; each column whose width then reads differently notifies once.
class TwColumnWidths
{
public:
    explicit TwColumnWidths(const std::vector<std::vector<TwColumn *>> &lines)
        : m_exceptions(std::uncaught_exceptions())
    {
        for (const auto &line : lines) {
            for (TwColumn *column : line)
                if (column)
                    m_before.emplace_back(column, column->Width());
        }
    }
    ~TwColumnWidths() noexcept(false)
    {
        if (t_twNotificationsHeld != 0 || std::uncaught_exceptions() != m_exceptions)
            return;
        for (const auto &[column, width] : m_before) {
            if (column->Width() != width)
                emit column->WidthChanged(column->Width());
        }
    }
    TwColumnWidths(const TwColumnWidths &) = delete;
    TwColumnWidths &operator=(const TwColumnWidths &) = delete;

private:
    std::vector<std::pair<TwColumn *, int>> m_before;
    int m_exceptions;
};

} // namespace

void TwGroup::SetWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Width(); }, [this] { emit WidthChanged(Width()); });
    TwGridOwner *owner = Owner();
    if (owner && owner->Loading()) {
        d->m_width = std::min(value, TwMaxPixels);
        return;
    }
    value = std::min(qMax(value, 4 * GetMaxCount()), TwMaxPixels);
    const int old = d->m_width;
    const TwColumnWidths widths(d->m_lines);
    for (auto &line : d->m_lines) {
        for (TwColumn *column : line)
            if (column)
                column->d->m_savedGrpWidth = column->d->m_grpWidth;
    }
    for (auto &line : d->m_lines) {
        const int n = static_cast<int>(line.size());
        if (n == 1) {
            line[0]->d->m_grpWidth = value;
            continue;
        }
        int used = 0;
        for (int i = 0; i + 1 < n; ++i) {
            TwColumn *column = line[static_cast<std::size_t>(i)];
            if (value >= old)
                column->d->m_grpWidth = column->d->m_savedGrpWidth + (value - old) / n;
            else
                column->d->m_grpWidth = old > 0 ? column->d->m_savedGrpWidth * (value - 4 * n) / old + 4 : 4;
            used += column->d->m_grpWidth;
        }
        if (n > 1)
            line.back()->d->m_grpWidth = value - used;
    }
    d->m_width = value;
    if (!owner || owner->Updating())
        return;
    owner->GroupWidthChanged(this, old);
    owner->PartChanged(TwPartChange::Editor);
    for (auto &line : d->m_lines) {
        for (TwColumn *column : line) {
            if (column && column->d->m_grpWidth != column->d->m_savedGrpWidth)
                owner->ColumnWidthChanged(column, column->d->m_savedGrpWidth);
        }
    }
    Changed();
}

void TwGroup::Renumber(int level)
{
    auto &line = d->m_lines[static_cast<std::size_t>(level)];
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!line[i])
            continue;
        line[i]->d->m_group = d->m_index;
        line[i]->d->m_level = level;
        line[i]->d->m_levelIndex = static_cast<int>(i);
    }
}

void TwGroup::InsertItem(int level, int index, TwColumn *column)
{
    level = std::clamp(level, 0, d->m_levels - 1);
    auto &line = d->m_lines[static_cast<std::size_t>(level)];
    index = std::clamp(index, 0, static_cast<int>(line.size()));
    line.insert(line.begin() + index, column);
    Renumber(level);
    if (line.size() == 1) {
        column->d->m_grpWidth = d->m_width;
    } else {
        const std::size_t at = static_cast<std::size_t>(index);
        TwColumn *neighbour = at + 1 < line.size() ? line[at + 1] : line[at - 1];
        if (neighbour->d->m_grpWidth >= 8) {
            column->d->m_grpWidth = neighbour->d->m_grpWidth / 2;
            neighbour->d->m_grpWidth -= column->d->m_grpWidth;
        } else {
            d->m_width += 8 - neighbour->d->m_grpWidth;
            neighbour->d->m_grpWidth = 4;
            column->d->m_grpWidth = 4;
        }
    }
    Changed();
}

void TwGroup::StretchLine(int level)
{
    auto &line = d->m_lines[static_cast<std::size_t>(level)];
    const int count = static_cast<int>(line.size());
    if (count == 0)
        return;
    int sum = 0;
    for (const TwColumn *column : line)
        sum += column->d->m_grpWidth;
    const int gain = (d->m_width - sum) / count;
    int used = 0;
    for (int i = 0; i + 1 < count; ++i) {
        line[static_cast<std::size_t>(i)]->d->m_grpWidth += gain;
        used += line[static_cast<std::size_t>(i)]->d->m_grpWidth;
    }
    line.back()->d->m_grpWidth = d->m_width - used;
}

void TwGroup::RemoveItem(TwColumn *column)
{
    for (int level = 0; level < d->m_levels; ++level) {
        auto &line = d->m_lines[static_cast<std::size_t>(level)];
        const auto found = std::find(line.begin(), line.end(), column);
        if (found == line.end())
            continue;
        line.erase(found);
        column->d->m_group = -1;
        Renumber(level);
        StretchLine(level);
        Changed();
        return;
    }
}

bool TwGroup::MoveItem(TwColumn *column, int index)
{
    if (column->d->m_group != d->m_index || column->d->m_level < 0 || column->d->m_level >= d->m_levels)
        return false;
    auto &line = d->m_lines[static_cast<std::size_t>(column->d->m_level)];
    const auto found = std::find(line.begin(), line.end(), column);
    if (found == line.end() || index < 0 || index >= static_cast<int>(line.size()))
        return false;
    line.erase(found);
    line.insert(line.begin() + index, column);
    Renumber(column->d->m_level);
    Changed();
    return true;
}

void TwGroup::ResetItemWidth(TwColumn *column, int width)
{
    if (column->d->m_level < 0 || column->d->m_level >= d->m_levels)
        return;
    auto &line = d->m_lines[static_cast<std::size_t>(column->d->m_level)];
    const auto found = std::find(line.begin(), line.end(), column);
    if (line.size() < 2 || found == line.end() || width == column->d->m_grpWidth)
        return;
    const std::size_t at = static_cast<std::size_t>(found - line.begin());
    TwColumn *partner = at + 1 < line.size() ? line[at + 1] : line[at - 1];
    // The column's own width notifies through its setter; the partner's here.
    const auto notify =
        TwNotifyOnChange([partner] { return partner->Width(); }, [partner] { emit partner->WidthChanged(partner->Width()); });
    const int oldColumn = column->d->m_grpWidth;
    const int oldPartner = partner->d->m_grpWidth;
    if (width < column->d->m_grpWidth) {
        partner->d->m_grpWidth += column->d->m_grpWidth - width;
        column->d->m_grpWidth = width;
    } else {
        const int take = qMin(width - column->d->m_grpWidth, partner->d->m_grpWidth - 4);
        column->d->m_grpWidth += take;
        partner->d->m_grpWidth -= take;
    }
    if (TwGridOwner *owner = Owner()) {
        owner->ColumnWidthChanged(column, oldColumn);
        owner->ColumnWidthChanged(partner, oldPartner);
    }
    Changed();
}

void TwGroup::ReadExtents()
{
    TwGridOwner *owner = Owner();
    if (!owner)
        return;
    const int levels = d->m_levels;
    const int total = qMax(1, d->m_weight);
    const auto weight = [this](int i) { return static_cast<int>(d->m_weights[static_cast<std::size_t>(i)]); };

    const int headerHeight = owner->Headers().GrpHeight();
    const int titleHeight = d->m_title->Visible() ? d->m_title->Height() : 0;
    d->m_hTops.assign(static_cast<std::size_t>(levels + 2), 0);
    d->m_hTops[1] = titleHeight;
    const int rest = headerHeight - titleHeight;
    for (int i = 1; i < levels; ++i)
        d->m_hTops[static_cast<std::size_t>(i + 1)] = d->m_hTops[static_cast<std::size_t>(i)] + weight(i - 1) * rest / total;
    d->m_hTops[static_cast<std::size_t>(levels + 1)] = headerHeight;

    // Levels only exist in group mode: its sizes apply whatever the current mode.
    const int rowHeight = owner->GrpRowHeight();
    d->m_bTops.assign(static_cast<std::size_t>(levels + 1), 0);
    for (int i = 1; i < levels; ++i)
        d->m_bTops[static_cast<std::size_t>(i)] = d->m_bTops[static_cast<std::size_t>(i - 1)] + weight(i - 1) * rowHeight / total;
    d->m_bTops[static_cast<std::size_t>(levels)] = rowHeight;

    const TwGridFooters &footers = owner->Footers();
    d->m_fTops.assign(static_cast<std::size_t>(footers.GetVCount()), {});
    for (int f = 0; f < footers.GetVCount(); ++f) {
        const int height = footers.GetVItems(f)->GrpHeight();
        auto &tops = d->m_fTops[static_cast<std::size_t>(f)];
        tops.assign(static_cast<std::size_t>(levels + 1), 0);
        for (int i = 1; i < levels; ++i)
            tops[static_cast<std::size_t>(i)] = tops[static_cast<std::size_t>(i - 1)] + weight(i - 1) * height / total + 1;
        tops[static_cast<std::size_t>(levels)] = height;
    }

    for (auto &line : d->m_lines) {
        int left = 0;
        for (TwColumn *column : line) {
            if (!column)
                continue;
            column->d->m_left = left;
            column->d->m_right = left + column->d->m_grpWidth;
            left = column->d->m_right;
        }
        if (!line.empty() && line.back())
            line.back()->d->m_right = d->m_width;
    }
}

int TwGroup::GetBTops(int level) const
{
    return level >= 0 && level < static_cast<int>(d->m_bTops.size()) ? d->m_bTops[static_cast<std::size_t>(level)] : 0;
}

int TwGroup::GetHTops(int level) const
{
    const int at = level + 1;
    return at >= 0 && at < static_cast<int>(d->m_hTops.size()) ? d->m_hTops[static_cast<std::size_t>(at)] : 0;
}

int TwGroup::GetFTops(int footer, int level) const
{
    if (footer < 0 || footer >= static_cast<int>(d->m_fTops.size()))
        return 0;
    const auto &tops = d->m_fTops[static_cast<std::size_t>(footer)];
    return level >= 0 && level < static_cast<int>(tops.size()) ? tops[static_cast<std::size_t>(level)] : 0;
}

// TwGroups

int TwGroupTitle::Height() const
{
    return d->m_height;
}

bool TwGroupTitle::Visible() const
{
    return d->m_visible;
}

TwGroups *TwGroup::Collection() const
{
    return d->m_collection;
}

void TwGroup::SetIndex(int value)
{
    if (!d->m_collection)
        return;
    const TwGroupMove move(Owner(), true);
    if (!TwMoveItem(d->m_collection->d->m_items, d->m_index, value))
        return;
    // Renumbering gives the columns their group's new index; the visible list follows the
    // collection order where it is rebuilt from it (design time).
    d->m_collection->Renumber();
    d->m_collection->Update(nullptr);
}

int TwGroup::Levels() const
{
    return d->m_levels;
}

bool TwGroup::NoColTitles() const
{
    return d->m_noColTitles;
}

TwGroupTitle &TwGroup::Title()
{
    return *d->m_title;
}

const TwGroupTitle &TwGroup::Title() const
{
    return *d->m_title;
}

bool TwGroup::Visible() const
{
    return d->m_visible;
}

int TwGroup::Weight() const
{
    return d->m_weight;
}

int TwGroup::Width() const
{
    return d->m_width;
}

const std::vector<TwColumn *> &TwGroup::GetLines(int level) const
{
    if (level < 0 || level >= d->m_levels)
        throw TException(QStringLiteral("Level bounds error in GetLines(%1)").arg(level));
    return d->m_lines[static_cast<std::size_t>(level)];
}

const std::array<std::uint8_t, TwGroup::MaxLevels> &TwGroup::Weights() const
{
    return d->m_weights;
}
