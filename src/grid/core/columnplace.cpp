// Where a column stands: its group, level and place in the level, its place among the
// visible columns, its widths in both modes. A move tells the grid, which keeps its current
// cell on what it showed.

#include "grid/columns.h"
#include "grid/core/columns_p.h"
#include "grid/support/notify_p.h"

#include "grid/core/gridowner_p.h"
#include "grid/core/moveitem_p.h"
#include "grid/groups.h"

#include <algorithm>

TwGroup *TwColumn::GroupObject() const
{
    TwGridOwner *owner = GridOwner();
    if (!owner || d->m_group < 0 || d->m_group >= owner->Groups().Count())
        return nullptr;
    return owner->Groups().Items(d->m_group);
}

int TwColumn::Width() const
{
    const TwGridOwner *owner = GridOwner();
    return owner && owner->GroupMode() ? d->m_grpWidth : d->m_colWidth;
}

void TwColumn::SetWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Width(); }, [this] { emit WidthChanged(Width()); });
    value = std::clamp(value, 4, TwMaxPixels);
    TwGridOwner *owner = GridOwner();
    if (owner && owner->GroupMode()) {
        if (TwGroup *group = GroupObject())
            group->ResetItemWidth(this, value);
        return;
    }
    const int old = d->m_colWidth;
    d->m_colWidth = value;
    if (owner && old != value)
        owner->ColumnWidthChanged(this, old);
}

int TwColumn::Weight() const
{
    const TwGroup *group = GroupObject();
    return group ? group->GetLevelWeight(d->m_level) : 1;
}

void TwColumn::SetWeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Weight(); }, [this] { emit WeightChanged(Weight()); });
    if (TwGroup *group = GroupObject())
        group->SetLevelWeight(d->m_level, value);
}

TwCell TwColumn::GetCell() const
{
    return WCell(d->m_group, d->m_level, d->m_levelIndex);
}

TwCell TwColumn::GetVCell() const
{
    const TwGroup *group = GroupObject();
    return WCell(group ? group->VIndex() : -1, d->m_level, d->m_levelIndex);
}

void TwColumn::SetGroup(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Group(); }, [this] { emit GroupChanged(Group()); });
    if (value == d->m_group)
        return;
    TwGridOwner *owner = GridOwner();
    const TwColumnMove move(owner, this, TwColumnMove::Place);
    if (TwGroup *old = GroupObject())
        old->RemoveItem(this);
    d->m_group = -1;
    if (owner && value >= 0 && value < owner->Groups().Count())
        owner->Groups().Items(value)->InsertItem(d->m_level, d->m_levelIndex, this);
}

void TwColumn::SetLevel(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Level(); }, [this] { emit LevelChanged(Level()); });
    TwGroup *group = GroupObject();
    if (!group) {
        d->m_level = qMax(0, value);
        return;
    }
    if (value == d->m_level)
        return;
    const TwColumnMove move(GridOwner(), this, TwColumnMove::Place);
    const int index = d->m_levelIndex;
    group->RemoveItem(this);
    group->InsertItem(value, index, this);
}

void TwColumn::SetLevelIndex(int value)
{
    const auto notify = TwNotifyOnChange([this] { return LevelIndex(); }, [this] { emit LevelIndexChanged(LevelIndex()); });
    TwGroup *group = GroupObject();
    if (!group) {
        d->m_levelIndex = qMax(0, value);
        return;
    }
    if (value == d->m_levelIndex)
        return;
    const TwColumnMove move(GridOwner(), this, TwColumnMove::Place);
    group->MoveItem(this, value);
}

void TwColumn::SetCell(const TwCell &cell)
{
    if (cell.Group != d->m_group) {
        d->m_level = qMax(0, cell.Level);
        d->m_levelIndex = qMax(0, cell.Index);
        SetGroup(cell.Group);
        return;
    }
    SetLevel(cell.Level);
    SetLevelIndex(cell.Index);
}

int TwColumn::VIndex() const
{
    return d->m_collection ? d->m_collection->IndexOfVisible(this) : -1;
}

void TwColumn::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    if (value == d->m_visible)
        return;
    TwGridOwner *owner = GridOwner();
    const int position = VIndex();
    d->m_visible = value;
    if (!owner || owner->Loading() || owner->Designing()) {
        if (d->m_collection)
            d->m_collection->Update(nullptr);
        return;
    }
    if (value) {
        const int at = qMin(d->m_lastVIndex, d->m_collection->GetVCount());
        d->m_collection->InsertVisible(this, at);
        owner->VisibleColumnInserted(at);
    } else {
        d->m_lastVIndex = position;
        d->m_collection->RemoveVisible(this);
        owner->VisibleColumnRemoved(position);
    }
    d->m_collection->Update(nullptr);
}

void TwColumn::SetVIndex(int value)
{
    value = qMax(-1, value);
    TwGridOwner *owner = GridOwner();
    if ((owner && owner->Loading()) || value == VIndex())
        return;
    if (value < 0) {
        SetVisible(false);
        return;
    }
    if (!d->m_visible || VIndex() < 0) {
        d->m_lastVIndex = qMin(value, d->m_collection->GetVCount());
        SetVisible(true);
        return;
    }
    {
        const TwColumnMove move(owner, nullptr, TwColumnMove::Visible);
        d->m_collection->MoveVisible(this, qMin(value, d->m_collection->GetVCount() - 1));
    }
    d->m_collection->Update(nullptr);
}

void TwColumn::SetIndex(int value)
{
    if (!d->m_collection)
        return;
    // The visible list follows the new order where it is rebuilt from it (design time).
    if (!TwMoveItem(d->m_collection->d->m_items, d->m_index, value))
        return;
    const TwColumnMove move(GridOwner(), nullptr, TwColumnMove::Visible);
    d->m_collection->Renumber();
    d->m_collection->Update(nullptr);
}
