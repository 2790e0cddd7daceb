// The group collection: the owned groups, the visible ones in display order, the filling of
// the group lines from the columns' addresses, and the collection's update.

#include "grid/groups.h"
#include "grid/core/groups_p.h"

#include "grid/columns.h"
#include "grid/core/columns_p.h"
#include "grid/core/gridowner_p.h"
#include "platform/texception.h"

#include <algorithm>

namespace {

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

TwGroups::TwGroups(TwCustomGrid *grid)
    : d(std::make_unique<TwGroupsPrivate>())
{
    d->m_grid = grid;
    d->m_owner = TwOwnerOf(grid);
}

TwGroups::~TwGroups() = default;

TwGridOwner *TwGroups::Owner() const
{
    return d->m_owner;
}

TwGroup *TwGroups::Add()
{
    auto group = std::make_unique<TwGroup>(this);
    TwGroup *added = group.get();
    added->d->m_index = Count();
    added->d->m_lastVIndex = added->d->m_index;
    d->m_items.push_back(std::move(group));
    added->d->m_title->SetCaption(NextGroupCaption(*this, added));
    if (!d->m_owner->Loading() && !d->m_owner->Designing()) {
        const TwGroupMove move(d->m_owner, true);
        d->m_visible.insert(d->m_visible.begin() + qMin(added->d->m_index, GetVCount()), added);
    }
    Update(nullptr);
    return added;
}

void TwGroups::Delete(int index)
{
    TwGroup *group = Items(index);
    for (int level = 0; level < group->Levels(); ++level) {
        for (TwColumn *column : group->GetLines(level)) {
            if (column)
                column->d->m_group = -1;
        }
    }
    {
        // A deleted current group leaves the editor to its next use.
        const TwGroupMove move(d->m_owner, false);
        d->m_visible.erase(std::remove(d->m_visible.begin(), d->m_visible.end(), group), d->m_visible.end());
        d->m_items.erase(d->m_items.begin() + index);
        Renumber();
    }
    Update(nullptr);
}

void TwGroups::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

void TwGroups::Renumber()
{
    for (std::size_t i = 0; i < d->m_items.size(); ++i) {
        d->m_items[i]->d->m_index = static_cast<int>(i);
        for (int level = 0; level < d->m_items[i]->Levels(); ++level)
            d->m_items[i]->Renumber(level);
    }
}

TwGroup *TwGroups::GetVItems(int index) const
{
    if (index < 0 || index >= GetVCount())
        throw TException(QStringLiteral("TwGroups Bounds Error in GetVItems(%1)").arg(index));
    return d->m_visible[static_cast<std::size_t>(index)];
}

int TwGroups::IndexOfVisible(const TwGroup *group) const
{
    const auto found = std::find(d->m_visible.begin(), d->m_visible.end(), group);
    return found == d->m_visible.end() ? -1 : static_cast<int>(found - d->m_visible.begin());
}

void TwGroups::InitVIndices()
{
    d->m_visible.clear();
    for (const auto &group : d->m_items) {
        if (group->d->m_visible)
            d->m_visible.push_back(group.get());
        group->d->m_lastVIndex = group->d->m_index;
    }
}

void TwGroups::Init(TwColumns &columns)
{
    for (const auto &group : d->m_items) {
        for (auto &line : group->d->m_lines)
            line.clear();
    }
    for (int i = 0; i < columns.Count(); ++i) {
        TwColumn *column = columns.Items(i);
        if (column->d->m_group < 0 || column->d->m_group >= Count()) {
            column->d->m_group = -1;
            continue;
        }
        TwGroup *group = Items(column->d->m_group);
        const int level = std::clamp(column->d->m_level, 0, group->d->m_levels - 1);
        auto &line = group->d->m_lines[static_cast<std::size_t>(level)];
        const auto at = static_cast<std::size_t>(qMax(0, column->d->m_levelIndex));
        if (line.size() <= at)
            line.resize(at + 1, nullptr);
        if (line[at]) // two columns claim one place: the later one follows it
            line.insert(line.begin() + static_cast<std::ptrdiff_t>(at) + 1, column);
        else
            line[at] = column;
    }
    for (const auto &group : d->m_items) {
        for (int level = 0; level < group->d->m_levels; ++level) {
            auto &line = group->d->m_lines[static_cast<std::size_t>(level)];
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
    for (const auto &group : d->m_items)
        group->Title().SetFont(d->m_owner->GridFont());
}

void TwGroups::Update(TwGroup *group)
{
    if (d->m_owner->Loading())
        return;
    if (group) {
        d->m_owner->GroupChanged(group);
        return;
    }
    if (d->m_owner->Updating())
        return;
    if (d->m_owner->Designing())
        InitVIndices();
    Renumber();
    d->m_owner->GroupsChanged();
}

TwCustomGrid *TwGroups::Grid() const
{
    return d->m_grid;
}

int TwGroups::Count() const
{
    return static_cast<int>(d->m_items.size());
}

TwGroup *TwGroups::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw TException(QStringLiteral("TwGroups Bounds Error in Items(%1)").arg(index));
    return d->m_items[static_cast<std::size_t>(index)].get();
}

int TwGroups::GetVCount() const
{
    return static_cast<int>(d->m_visible.size());
}
