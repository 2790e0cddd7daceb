// The walks from cell to cell in group mode: what Left, Right, Home, End, Up and Down and
// the Enter-to-tab move reach.

#include "grid/groups.h"
#include "grid/core/groups_p.h"

#include "grid/columns.h"
#include "grid/core/gridowner_p.h"
#include "grid/drawobjects.h"

namespace {

const TwCell NoCell{-1, -1, -1};

int FirstLevelWithColumns(const TwGroup &group)
{
    for (int level = 0; level < group.Levels(); ++level) {
        if (group.GetColCount(level) > 0)
            return level;
    }
    return -1;
}

int LastLevelWithColumns(const TwGroup &group)
{
    for (int level = group.Levels() - 1; level >= 0; --level) {
        if (group.GetColCount(level) > 0)
            return level;
    }
    return -1;
}

} // namespace

TwCell TwGroup::FirstCell() const
{
    const int level = FirstLevelWithColumns(*this);
    return level < 0 ? NoCell : WCell(VIndex(), level, 0);
}

TwCell TwGroup::LastCell() const
{
    const int level = LastLevelWithColumns(*this);
    return level < 0 ? NoCell : WCell(VIndex(), level, GetColCount(level) - 1);
}

TwCell TwGroup::VerticalCell(const TwCell &cell, int step, bool selectable) const
{
    if (cell.Level < 0 || cell.Level >= d->m_levels || cell.Index < 0 || cell.Index >= GetColCount(cell.Level))
        return cell;
    const int left = GetColumns(cell.Level, cell.Index)->LeftOffset();
    for (int level = cell.Level + step; level >= 0 && level < d->m_levels; level += step) {
        const int count = GetColCount(level);
        for (int index = 0; index < count; ++index) {
            const TwColumn *column = GetColumns(level, index);
            if (left < column->LeftOffset() || left >= column->RightOffset())
                continue;
            if (!selectable || column->CanSelect())
                return WCell(cell.Group, level, index);
            // The nearest selectable column of that level, to the left first.
            for (int i = index - 1; i >= 0; --i) {
                if (GetColumns(level, i)->CanSelect())
                    return WCell(cell.Group, level, i);
            }
            for (int i = index + 1; i < count; ++i) {
                if (GetColumns(level, i)->CanSelect())
                    return WCell(cell.Group, level, i);
            }
            return cell;
        }
    }
    return cell;
}

TwCell TwGroup::LowerCell(const TwCell &cell) const
{
    return VerticalCell(cell, 1, false);
}

TwCell TwGroup::UpperCell(const TwCell &cell) const
{
    return VerticalCell(cell, -1, false);
}

TwCell TwGroup::LowerSelectCell(const TwCell &cell) const
{
    return VerticalCell(cell, 1, true);
}

TwCell TwGroup::UpperSelectCell(const TwCell &cell) const
{
    return VerticalCell(cell, -1, true);
}

int TwGroups::FirstWalkGroup() const
{
    const TwGridOwner *grid = d->m_owner;
    if (!grid || grid->FixedStyle().Options().Has(wfxSelecting))
        return 0;
    return grid->FixedCount();
}

bool TwGroups::Selectable(const TwCell &cell) const
{
    return ValidCell(cell) && GetVItems(cell.Group)->GetColumns(cell.Level, cell.Index)->CanSelect();
}

TwCell TwGroups::FirstCell() const
{
    for (int g = FirstWalkGroup(); g < GetVCount(); ++g) {
        const TwCell cell = GetVItems(g)->FirstCell();
        if (TXValidCell(cell))
            return cell;
    }
    return NoCell;
}

TwCell TwGroups::LastCell() const
{
    for (int g = GetVCount() - 1; g >= FirstWalkGroup(); --g) {
        const TwCell cell = GetVItems(g)->LastCell();
        if (TXValidCell(cell))
            return cell;
    }
    return NoCell;
}

TwCell TwGroups::NextCell(const TwCell &cell) const
{
    if (!ValidCell(cell))
        return cell;
    const TwGroup *group = GetVItems(cell.Group);
    if (cell.Index + 1 < group->GetColCount(cell.Level))
        return WCell(cell.Group, cell.Level, cell.Index + 1);
    for (int level = cell.Level + 1; level < group->Levels(); ++level) {
        if (group->GetColCount(level) > 0)
            return WCell(cell.Group, level, 0);
    }
    for (int g = qMax(cell.Group + 1, FirstWalkGroup()); g < GetVCount(); ++g) {
        const TwCell first = GetVItems(g)->FirstCell();
        if (TXValidCell(first))
            return first;
    }
    return cell;
}

TwCell TwGroups::PrevCell(const TwCell &cell) const
{
    if (!ValidCell(cell))
        return cell;
    const TwGroup *group = GetVItems(cell.Group);
    if (cell.Index > 0)
        return WCell(cell.Group, cell.Level, cell.Index - 1);
    for (int level = cell.Level - 1; level >= 0; --level) {
        if (group->GetColCount(level) > 0)
            return WCell(cell.Group, level, group->GetColCount(level) - 1);
    }
    for (int g = cell.Group - 1; g >= FirstWalkGroup(); --g) {
        const TwCell last = GetVItems(g)->LastCell();
        if (TXValidCell(last))
            return last;
    }
    return cell;
}

TwCell TwGroups::FirstSelectCell() const
{
    for (TwCell cell = FirstCell(); TXValidCell(cell);) {
        if (Selectable(cell))
            return cell;
        const TwCell next = NextCell(cell);
        if (next == cell)
            break;
        cell = next;
    }
    return FirstCell();
}

TwCell TwGroups::LastSelectCell() const
{
    const TwCell first = FirstCell();
    for (TwCell cell = LastCell(); TXValidCell(cell);) {
        if (Selectable(cell))
            return cell;
        const TwCell prev = PrevCell(cell);
        if (prev == cell || cell == first)
            break;
        cell = prev;
    }
    return LastCell();
}

TwCell TwGroups::NextSelectCell(const TwCell &cell) const
{
    if (!d->m_owner || !d->m_owner->Options().Has(wgoSkipReadOnly))
        return NextCell(cell);
    const TwCell last = LastSelectCell();
    if (!Selectable(last))
        return cell; // nothing can be selected
    for (TwCell at = cell; at != last;) {
        const TwCell next = NextCell(at);
        if (next == at)
            break;
        if (Selectable(next))
            return next;
        at = next;
    }
    return cell;
}

TwCell TwGroups::PrevSelectCell(const TwCell &cell) const
{
    if (!d->m_owner || !d->m_owner->Options().Has(wgoSkipReadOnly))
        return PrevCell(cell);
    const TwCell first = FirstSelectCell();
    if (!Selectable(first))
        return cell;
    for (TwCell at = cell; at != first;) {
        const TwCell prev = PrevCell(at);
        if (prev == at)
            break;
        if (Selectable(prev))
            return prev;
        at = prev;
    }
    return cell;
}
