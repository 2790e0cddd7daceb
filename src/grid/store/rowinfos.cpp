#include "grid/rowinfos.h"
#include "grid/store/rowinfos_p.h"

#include "grid/store/rowpermutation_p.h"
#include "platform/texception.h"

#include <cstring>
#include <limits>

namespace {

constexpr std::uint8_t TypeBits = 0x07;
constexpr std::uint8_t ChangedBit = 0x08;
constexpr std::uint8_t StateBits = 0x30;
constexpr std::uint8_t UpdatedBit = 0x10;
constexpr std::uint8_t InsertedBit = 0x20;
constexpr std::uint8_t SelectedBit = 0x40;
constexpr std::uint8_t CheckedBit = 0x80;
constexpr int RowGrowStep = 16;

void SetBit(std::uint8_t &byte, std::uint8_t bit, bool value)
{
    byte = value ? (byte | bit) : (byte & ~bit);
}

} // namespace

TwRowInfos::TwRowInfos(std::function<void()> selectionChanged)
    : d(std::make_unique<TwRowInfosPrivate>())
{
    d->m_selectionChanged = std::move(selectionChanged);
}

TwRowInfos::~TwRowInfos() = default;

void TwRowInfos::Reserve(int capacity)
{
    d->m_capacity = capacity;
    d->m_bytes.Resize(static_cast<std::size_t>(capacity));
}

void TwRowInfos::Init()
{
    Reserve(RowGrowStep);
    Clear();
}

void TwRowInfos::Clear()
{
    if (d->m_count > 0)
        std::memset(d->m_bytes.Data(), 0, static_cast<std::size_t>(d->m_count));
    d->m_selectedCount = 0;
}

std::uint8_t &TwRowInfos::Byte(int row)
{
    if (row < 0 || row >= d->m_count)
        throw TException(QStringLiteral("Row bounds error[%1]").arg(row));
    return d->m_bytes.Data()[row];
}

std::uint8_t TwRowInfos::Byte(int row) const
{
    if (row < 0 || row >= d->m_count)
        throw TException(QStringLiteral("Row bounds error[%1]").arg(row));
    return d->m_bytes.Data()[row];
}

void TwRowInfos::SetCount(int count)
{
    count = qMax(0, count);
    // The capacity rounds up to the next step: a count that leaves no room for it is refused.
    if (count > std::numeric_limits<int>::max() - RowGrowStep)
        throw TException(QStringLiteral("Row count error[%1]").arg(count));
    if (d->m_capacity == 0)
        Init();
    if (count > d->m_capacity)
        Reserve(count - count % RowGrowStep + RowGrowStep);
    if (count > d->m_count) {
        std::memset(d->m_bytes.Data() + d->m_count, 0, static_cast<std::size_t>(count - d->m_count));
    } else if (count < d->m_count && d->m_selectedCount > 0) {
        // Count whichever range is shorter: the rows kept or the rows dropped.
        if (count < d->m_count - count)
            d->m_selectedCount = GetSelectedCount(0, count - 1);
        else
            d->m_selectedCount -= GetSelectedCount(count, d->m_count - 1);
    }
    d->m_count = count;
}

void TwRowInfos::Insert(int row)
{
    if (row < 0 || row > d->m_count)
        throw TException(QStringLiteral("Row bounds error[%1]").arg(row));
    if (d->m_capacity == 0)
        Init();
    if (d->m_count == d->m_capacity)
        Reserve(d->m_capacity + RowGrowStep);
    std::memmove(d->m_bytes.Data() + row + 1, d->m_bytes.Data() + row, static_cast<std::size_t>(d->m_count - row));
    d->m_bytes.Data()[row] = 0;
    ++d->m_count;
}

void TwRowInfos::Delete(int row, int count)
{
    if (count <= 0)
        return;
    if (row < 0 || row > d->m_count || count > d->m_count - row) // written so that it cannot overflow
        throw TException(QStringLiteral("Row bounds error[%1]").arg(row));
    d->m_selectedCount -= GetSelectedCount(row, row + count - 1);
    std::memmove(d->m_bytes.Data() + row, d->m_bytes.Data() + row + count, static_cast<std::size_t>(d->m_count - row - count));
    d->m_count -= count;
}

void TwRowInfos::DeleteRows(const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    const int count = d->m_count;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] < 0 || rows[i] >= count || (i > 0 && rows[i] <= rows[i - 1]))
            throw TException(QStringLiteral("Row bounds error[%1]").arg(rows[i]));
    }
    std::uint8_t *bytes = d->m_bytes.Data();
    int kept = rows.front();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (bytes[rows[i]] & SelectedBit)
            --d->m_selectedCount;
        const int from = rows[i] + 1;
        const int to = i + 1 < rows.size() ? rows[i + 1] : count;
        if (from >= to)
            continue;
        std::memmove(bytes + kept, bytes + from, static_cast<std::size_t>(to - from));
        kept += to - from;
    }
    d->m_count = kept;
}

void TwRowInfos::Move(int from, int to)
{
    const std::uint8_t moved = Byte(from);
    Byte(to);
    if (from < to)
        std::memmove(d->m_bytes.Data() + from, d->m_bytes.Data() + from + 1, static_cast<std::size_t>(to - from));
    else if (from > to)
        std::memmove(d->m_bytes.Data() + to + 1, d->m_bytes.Data() + to, static_cast<std::size_t>(from - to));
    d->m_bytes.Data()[to] = moved;
}

void TwRowInfos::Exchange(int a, int b)
{
    std::swap(Byte(a), Byte(b));
}

void TwRowInfos::Permute(const std::vector<int> &order)
{
    TXCheckRowOrder(order, d->m_count);
    std::vector<std::uint8_t> bytes(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        bytes[i] = d->m_bytes.Data()[order[i]];
    if (!bytes.empty())
        std::memcpy(d->m_bytes.Data(), bytes.data(), bytes.size());
}

bool TwRowInfos::Checked(int row) const
{
    return Byte(row) & CheckedBit;
}

void TwRowInfos::SetChecked(int row, bool value)
{
    SetBit(Byte(row), CheckedBit, value);
}

bool TwRowInfos::Selected(int row) const
{
    return Byte(row) & SelectedBit;
}

void TwRowInfos::SetSelected(int row, bool value)
{
    std::uint8_t &byte = Byte(row);
    if (static_cast<bool>(byte & SelectedBit) == value)
        return;
    SetBit(byte, SelectedBit, value);
    d->m_selectedCount += value ? 1 : -1;
    if (d->m_selectionChanged)
        d->m_selectionChanged();
}

TwRowState TwRowInfos::State(int row) const
{
    return static_cast<TwRowState>((Byte(row) & StateBits) >> 4);
}

void TwRowInfos::SetState(int row, TwRowState state)
{
    std::uint8_t &byte = Byte(row);
    byte = static_cast<std::uint8_t>((byte & ~StateBits) | (static_cast<std::uint8_t>(state) << 4 & StateBits));
}

bool TwRowInfos::Changed(int row) const
{
    return Byte(row) & ChangedBit;
}

void TwRowInfos::SetChanged(int row, bool value)
{
    SetBit(Byte(row), ChangedBit, value);
}

TwRowType TwRowInfos::RowType(int row) const
{
    return Byte(row) & TypeBits;
}

void TwRowInfos::SetRowType(int row, int type)
{
    if (type < 0 || type > 7)
        throw TException(QStringLiteral("Invalid TwRowType Value(%1)").arg(type));
    std::uint8_t &byte = Byte(row);
    byte = static_cast<std::uint8_t>((byte & ~TypeBits) | type);
}

int TwRowInfos::CountWhere(const std::function<bool(std::uint8_t)> &test) const
{
    int count = 0;
    for (int row = 0; row < d->m_count; ++row)
        count += test(d->m_bytes.Data()[row]) ? 1 : 0;
    return count;
}

int TwRowInfos::GetStateCount(TwRowState state) const
{
    switch (state) {
    case wrNormal:
        return CountWhere([](std::uint8_t b) { return (b & StateBits) == 0; });
    case wrUpdated:
        return CountWhere([](std::uint8_t b) { return (b & UpdatedBit) != 0; });
    case wrInserted:
        return CountWhere([](std::uint8_t b) { return (b & InsertedBit) != 0; });
    case wrDeleted:
        return CountWhere([](std::uint8_t b) { return (b & StateBits) == StateBits; });
    }
    return 0;
}

int TwRowInfos::GetChangedCount() const
{
    return CountWhere([](std::uint8_t b) { return (b & ChangedBit) != 0; });
}

int TwRowInfos::GetTypeCount(int type) const
{
    return CountWhere([type](std::uint8_t b) { return (b & TypeBits) == type; });
}

int TwRowInfos::GetSelectedCount(int first, int last) const
{
    int count = 0;
    for (int row = qMax(0, first); row <= last && row < d->m_count; ++row)
        count += (d->m_bytes.Data()[row] & SelectedBit) ? 1 : 0;
    return count;
}

void TwRowInfos::ClearBits(std::uint8_t mask)
{
    for (int row = 0; row < d->m_count; ++row)
        d->m_bytes.Data()[row] &= static_cast<std::uint8_t>(~mask);
}

void TwRowInfos::ClearChecked()
{
    ClearBits(CheckedBit);
}

void TwRowInfos::ClearSelection()
{
    if (d->m_selectedCount <= 0)
        return;
    ClearBits(SelectedBit);
    d->m_selectedCount = 0;
    if (d->m_selectionChanged)
        d->m_selectionChanged();
}

void TwRowInfos::ClearState()
{
    ClearBits(StateBits);
}

void TwRowInfos::ClearChanged()
{
    ClearBits(ChangedBit);
}

void TwRowInfos::ClearType()
{
    ClearBits(TypeBits);
}

void TwRowInfos::SelectionToChecked()
{
    for (int row = 0; row < d->m_count; ++row) {
        if (d->m_bytes.Data()[row] & SelectedBit)
            d->m_bytes.Data()[row] |= CheckedBit;
    }
}

int TwRowInfos::Count() const
{
    return d->m_count;
}

int TwRowInfos::Capacity() const
{
    return d->m_capacity;
}

int TwRowInfos::SelectedCount() const
{
    return d->m_selectedCount;
}

std::size_t TwRowInfos::BytesReserved() const
{
    return d->m_bytes.Reserved();
}
