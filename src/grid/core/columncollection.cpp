// The column collection: the owned columns, the visible ones in display order, the moves
// over them, and the collection-wide restores.

#include "grid/columns.h"
#include "grid/core/columns_p.h"

#include "grid/core/gridowner_p.h"
#include "grid/groups.h"
#include "grid/uxutils.h"
#include "platform/texception.h"

#include <algorithm>

TwColumns::TwColumns(TwCustomGrid *grid)
    : d(std::make_unique<TwColumnsPrivate>())
{
    d->m_grid = grid;
    d->m_owner = TwOwnerOf(grid);
}

TwColumns::~TwColumns()
{
    d->m_visible.clear();
    d->m_items.clear();
}

TwColumn *TwColumns::Add()
{
    std::unique_ptr<TwColumn> column = d->m_owner->NewColumn(this);
    TwColumn *added = column.get();
    added->d->m_index = Count();
    added->d->m_lastVIndex = added->d->m_index;
    d->m_items.push_back(std::move(column));
    if (!d->m_owner->Loading() && !d->m_owner->Designing())
        InsertVisible(added, qMin(added->d->m_index, GetVCount()));
    if (!d->m_owner->Loading() && !Updating())
        added->Footer().FootersChanged();
    Update(nullptr);
    return added;
}

void TwColumns::Delete(int index)
{
    TwColumn *column = Items(index);
    if (TwGroup *group = column->GroupObject())
        group->RemoveItem(column);
    RemoveVisible(column);
    d->m_items.erase(d->m_items.begin() + index);
    Renumber();
    Update(nullptr);
}

void TwColumns::Clear()
{
    BeginUpdate();
    while (Count() > 0)
        Delete(Count() - 1);
    EndUpdate();
}

void TwColumns::Renumber()
{
    for (std::size_t i = 0; i < d->m_items.size(); ++i)
        d->m_items[i]->d->m_index = static_cast<int>(i);
}

TwColumn *TwColumns::GetVItems(int index) const
{
    if (index < 0 || index >= GetVCount())
        throw TException(QStringLiteral("TwColumns Bounds Error in GetVItems(%1)").arg(index));
    return d->m_visible[static_cast<std::size_t>(index)];
}

int TwColumns::IndexOfVisible(const TwColumn *column) const
{
    const auto found = std::find(d->m_visible.begin(), d->m_visible.end(), column);
    return found == d->m_visible.end() ? -1 : static_cast<int>(found - d->m_visible.begin());
}

void TwColumns::InsertVisible(TwColumn *column, int position)
{
    if (IndexOfVisible(column) >= 0)
        return;
    position = std::clamp(position, 0, GetVCount());
    d->m_visible.insert(d->m_visible.begin() + position, column);
}

void TwColumns::RemoveVisible(TwColumn *column)
{
    const int position = IndexOfVisible(column);
    if (position >= 0)
        d->m_visible.erase(d->m_visible.begin() + position);
}

void TwColumns::MoveVisible(TwColumn *column, int position)
{
    RemoveVisible(column);
    InsertVisible(column, position);
}

void TwColumns::InitVIndices()
{
    d->m_visible.clear();
    for (const auto &column : d->m_items) {
        if (column->d->m_visible)
            d->m_visible.push_back(column.get());
        column->d->m_lastVIndex = column->d->m_index;
    }
}

int TwColumns::FirstCol() const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return 0;
    for (int i = 0; i < count; ++i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return count - 1;
}

int TwColumns::LastCol() const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return count - 1;
    for (int i = count - 1; i >= 1; --i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return 0;
}

int TwColumns::NextCol(int position) const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return qMin(position + 1, count - 1);
    const int start = qMin(position, count - 1);
    for (int i = start + 1; i < count; ++i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return start;
}

int TwColumns::PrevCol(int position) const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return qMax(position - 1, 0);
    const int start = qMax(qMin(position, count - 1), 0);
    for (int i = start - 1; i >= 0; --i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return start;
}

void TwColumns::RestoreWidths()
{
    if (d->m_owner->GroupMode())
        return;
    d->m_owner->BeginUpdate();
    for (const auto &column : d->m_items) {
        const int titleWidth = TXGetCharWidth(column->Title().Font().Font)
            * static_cast<int>(column->Title().Caption().size());
        const int dataWidth = column->GetDefWidth() * TXGetCharWidth(column->Font().Font);
        column->SetWidth(qMax(titleWidth, dataWidth) + column->MarginLeft() + column->MarginRight());
    }
    d->m_owner->EndUpdate();
}

void TwColumns::RestoreColumnsFonts()
{
    d->m_owner->BeginUpdate();
    for (const auto &column : d->m_items)
        column->SetFont(d->m_owner->GridFont());
    d->m_owner->EndUpdate();
}

void TwColumns::RestoreFonts()
{
    d->m_owner->BeginUpdate();
    for (const auto &column : d->m_items)
        column->SetFont(d->m_owner->GridFont());
    for (const auto &column : d->m_items)
        column->Title().SetFont(column->Font());
    d->m_owner->EndUpdate();
}

void TwColumns::EndUpdate()
{
    if (d->m_updateCount > 0 && --d->m_updateCount == 0)
        Update(nullptr);
}

void TwColumns::Update(TwColumn *column)
{
    if (d->m_owner->Loading() || d->m_owner->Updating() || Updating())
        return;
    if (column) {
        d->m_owner->ColumnChanged(column);
        return;
    }
    if (d->m_owner->Designing())
        InitVIndices();
    d->m_owner->ColumnsChanged();
}

TwGridOwner *TwColumns::Owner() const
{
    return d->m_owner;
}

TwCustomGrid *TwColumns::Grid() const
{
    return d->m_grid;
}

int TwColumns::Count() const
{
    return static_cast<int>(d->m_items.size());
}

TwColumn *TwColumns::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw TException(QStringLiteral("TwColumns Bounds Error in Items(%1)").arg(index));
    return d->m_items[static_cast<std::size_t>(index)].get();
}

int TwColumns::GetVCount() const
{
    return static_cast<int>(d->m_visible.size());
}

void TwColumns::BeginUpdate()
{
    ++d->m_updateCount;
}

bool TwColumns::Updating() const
{
    return d->m_updateCount > 0;
}
