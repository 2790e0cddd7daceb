#include "grid/mempool.h"
#include "grid/store/mempool_p.h"

#include "grid/store/poolbytes.h"
#include "grid/store/rowpermutation_p.h"
#include "grid/support/cp949text_p.h"
#include "platform/cp949.h"
#include "platform/texception.h"

#include <QCollator>

#include <algorithm>
#include <array>
#include <utility>
#include <cmath>
#include <cstring>
#include <string_view>
#include <limits>
#include <type_traits>

using namespace TwPoolBytes;

namespace {

constexpr int PoolGrowStep = 16;

[[noreturn]] void RowBoundsError(int row)
{
    throw TException(QStringLiteral("Pool row bounds error[%1]").arg(row));
}

} // namespace

int TXTypeSize(TwDataType type, int dataWidth)
{
    switch (type) {
    case wdtString:
    case wdtGraphic:
        return 0;
    case wdtChar:
        return TXCharWidth(dataWidth) + 1;
    case wdtBool:
    case wdtShort:
    case wdtByte:
        return 1;
    case wdtSmall:
    case wdtWord:
        return 2;
    case wdtLong:
        return 4;
    default:
        return 8;
    }
}

bool TXIsNumericType(TwDataType type)
{
    return type >= wdtShort && type <= wdtFloat;
}

bool TXIsDateType(TwDataType type)
{
    return type == wdtDate || type == wdtTime || type == wdtDateTime;
}

bool TXIsStringType(TwDataType type)
{
    return type == wdtString || type == wdtChar;
}

double TXTextToNumber(TwDataType type, const QString &text)
{
    switch (type) {
    case wdtDate:
        return TXTextToDate(text);
    case wdtTime:
        return TXTextToTime(text);
    case wdtDateTime:
        return TXTextToDateTime(text);
    default:
        return TXTextToFloat(text);
    }
}

TwMemPool::TwMemPool(TwDataType type, int dataWidth)
    : d(std::make_unique<TwMemPoolPrivate>())
{
    d->m_type = type;
    d->m_width = type == wdtChar ? TXCharWidth(dataWidth) : dataWidth;
}

TwMemPool::~TwMemPool() = default;

TwMemPool::TwMemPool(TwMemPool &&other) noexcept = default;
TwMemPool &TwMemPool::operator=(TwMemPool &&other) noexcept = default;

void TwMemPool::LayRecords()
{
    d->m_recordSize = 1 + TXTypeSize(d->m_type, d->m_width);
    d->m_hasStrings = d->m_type == wdtString;
    d->m_scratch.assign(static_cast<std::size_t>(d->m_recordSize), 0);
}

void TwMemPool::Init()
{
    LayRecords();
    d->m_count = 0;
    Reserve(PoolGrowStep);
    Clear();
}

void TwMemPool::Reserve(int capacity)
{
    d->m_capacity = capacity;
    d->m_data.Resize(static_cast<std::size_t>(capacity) * static_cast<std::size_t>(d->m_recordSize));
}

std::size_t TwMemPool::BytesReserved() const
{
    return d->m_data.Reserved() + d->m_strings.capacity() * sizeof(QString) + d->m_scratch.capacity();
}

void TwMemPool::Clear()
{
    d->m_count = 0;
    d->m_strings.clear();
}

void TwMemPool::ClearData()
{
    if (d->m_count > 0)
        std::memset(d->m_data.Data(), 0, Offset(d->m_count));
    // The texts go too: a null row never holds one.
    for (QString &text : d->m_strings)
        text = QString();
}

void TwMemPool::CheckRow(int row) const
{
    if (row < 0 || row >= d->m_count)
        RowBoundsError(row);
}

void TwMemPool::SetCount(int count)
{
    count = qMax(0, count);
    // The capacity rounds up to the next step: a count that leaves no room for it is refused.
    if (count > std::numeric_limits<int>::max() - PoolGrowStep)
        throw TException(QStringLiteral("Pool row count error[%1]").arg(count));
    if (d->m_capacity == 0)
        Init();
    if (count > d->m_capacity)
        Reserve(count - count % PoolGrowStep + PoolGrowStep);
    if (d->m_hasStrings)
        d->m_strings.resize(static_cast<std::size_t>(count));
    if (count > d->m_count)
        std::memset(Record(d->m_count), 0, Offset(count - d->m_count));
    d->m_count = count;
}

void TwMemPool::Insert(int row)
{
    if (row < 0 || row > d->m_count)
        RowBoundsError(row);
    if (d->m_capacity == 0)
        Init();
    if (d->m_count == d->m_capacity)
        Reserve(d->m_capacity + PoolGrowStep);
    std::memmove(Record(row + 1), Record(row), Offset(d->m_count - row));
    std::memset(Record(row), 0, static_cast<std::size_t>(d->m_recordSize));
    if (d->m_hasStrings)
        d->m_strings.insert(d->m_strings.begin() + row, QString());
    ++d->m_count;
}

void TwMemPool::Delete(int row, int count)
{
    if (count <= 0)
        return;
    if (row < 0 || row > d->m_count || count > d->m_count - row) // written so that it cannot overflow
        RowBoundsError(row);
    std::memmove(Record(row), Record(row + count), Offset(d->m_count - row - count));
    if (d->m_hasStrings)
        d->m_strings.erase(d->m_strings.begin() + row, d->m_strings.begin() + row + count);
    d->m_count -= count;
}

void TwMemPool::DeleteRows(const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    const int count = d->m_count;
    if (rows.front() < 0 || rows.back() >= count)
        RowBoundsError(rows.front() < 0 ? rows.front() : rows.back());
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i] <= rows[i - 1])
            RowBoundsError(rows[i]);
    }
    // Every kept run between two removed rows moves down once, to where the kept rows end.
    int kept = rows.front();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int from = rows[i] + 1;
        const int to = i + 1 < rows.size() ? rows[i + 1] : count;
        if (from >= to)
            continue;
        std::memmove(Record(kept), Record(from), Offset(to - from));
        if (d->m_hasStrings)
            std::move(d->m_strings.begin() + from, d->m_strings.begin() + to, d->m_strings.begin() + kept);
        kept += to - from;
    }
    if (d->m_hasStrings)
        d->m_strings.erase(d->m_strings.begin() + kept, d->m_strings.end());
    d->m_count = kept;
}

void TwMemPool::Move(int from, int to)
{
    CheckRow(from);
    CheckRow(to);
    if (from == to)
        return;
    const std::size_t size = static_cast<std::size_t>(d->m_recordSize);
    std::memcpy(d->m_scratch.data(), Record(from), size);
    if (from < to)
        std::memmove(Record(from), Record(from + 1), Offset(to - from));
    else
        std::memmove(Record(to + 1), Record(to), Offset(from - to));
    std::memcpy(Record(to), d->m_scratch.data(), size);
    if (d->m_hasStrings) {
        QString text = std::move(d->m_strings[static_cast<std::size_t>(from)]);
        d->m_strings.erase(d->m_strings.begin() + from);
        d->m_strings.insert(d->m_strings.begin() + to, std::move(text));
    }
}

void TwMemPool::Exchange(int a, int b)
{
    CheckRow(a);
    CheckRow(b);
    const std::size_t size = static_cast<std::size_t>(d->m_recordSize);
    std::memcpy(d->m_scratch.data(), Record(a), size);
    std::memcpy(Record(a), Record(b), size);
    std::memcpy(Record(b), d->m_scratch.data(), size);
    if (d->m_hasStrings)
        std::swap(d->m_strings[static_cast<std::size_t>(a)], d->m_strings[static_cast<std::size_t>(b)]);
}

void TwMemPool::Assign(const TwMemPool &source)
{
    for (int row = 0; row < d->m_count && row < source.GetCount(); ++row)
        SetValue(row, source.GetValue(row));
}

namespace {

// A packed value as an unsigned key in the same order: integers offset past the sign,
// floating values with the sign flipped (and every bit of a negative one), so that
// comparing keys compares values. Zero and negative zero give one key.
template<typename Held>
std::uint64_t OrderKey(Held value)
{
    if constexpr (std::is_floating_point_v<Held>) {
        const double number = value == 0 ? 0.0 : static_cast<double>(value);
        std::uint64_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t(1) << 63);
    } else {
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(value)) ^ (std::uint64_t(1) << 63);
    }
}

struct TKeyedRow
{
    std::uint64_t Key;
    std::uint32_t Row;
};

// Stable least-significant-digit radix sort of keyed rows by their keys, a byte a pass;
// a byte every key shares takes no pass. Rows keep their order among equal keys.
void RadixSort(std::vector<TKeyedRow> &rows)
{
    constexpr int Passes = 8;
    std::vector<std::array<std::uint32_t, 256>> counts(Passes);
    for (auto &count : counts)
        count.fill(0);
    for (const TKeyedRow &row : rows) {
        for (int pass = 0; pass < Passes; ++pass)
            ++counts[static_cast<std::size_t>(pass)][(row.Key >> (8 * pass)) & 0xFF];
    }
    std::vector<TKeyedRow> other(rows.size());
    for (int pass = 0; pass < Passes; ++pass) {
        std::array<std::uint32_t, 256> &count = counts[static_cast<std::size_t>(pass)];
        if (std::any_of(count.begin(), count.end(), [&](std::uint32_t n) { return n == rows.size(); }))
            continue;
        std::uint32_t start = 0;
        for (std::uint32_t &n : count)
            start += std::exchange(n, start);
        const int shift = 8 * pass;
        for (const TKeyedRow &row : rows)
            other[count[(row.Key >> shift) & 0xFF]++] = row;
        rows.swap(other);
    }
}

// The rows in the stable order of their keys.
std::vector<int> RankedOrder(std::vector<TKeyedRow> &keyed)
{
    RadixSort(keyed);
    std::vector<int> order(keyed.size());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = static_cast<int>(keyed[i].Row);
    return order;
}

// A text to be ranked: its UTF-16 code units, its first four units as one number (compared
// first, so most comparisons never read the text itself) and its row.
struct TTextEntry
{
    std::uint64_t Prefix;
    const char16_t *Units;
    std::uint32_t Length;
    std::uint32_t Row;

    QStringView View() const { return {Units, static_cast<qsizetype>(Length)}; }
};

TTextEntry MakeTextEntry(QStringView text, std::uint32_t row)
{
    std::uint64_t prefix = 0;
    for (qsizetype i = 0; i < 4; ++i)
        prefix = (prefix << 16) | (i < text.size() ? text[i].unicode() : 0u);
    return {prefix, text.utf16(), static_cast<std::uint32_t>(text.size()), row};
}

// UTF-16 code unit order. A text and its prefix number agree: a shorter text pads with 0,
// the smallest unit, so a smaller number always means a smaller text.
bool UnitsLess(const TTextEntry &a, const TTextEntry &b)
{
    if (a.Prefix != b.Prefix)
        return a.Prefix < b.Prefix;
    return std::u16string_view(a.Units, a.Length) < std::u16string_view(b.Units, b.Length);
}

// Ranks (from 1) of the entries' texts in the order Compare gives them, by row, for the rows
// of the entries; texts that compare equal share a rank.
//
// The entries are sorted by code units, which puts equal texts side by side and, in the C
// locale, is Compare's order. For the scripts business columns mostly hold (Hangul syllables,
// digits) it is also the collation's order: one collator comparison of every two neighbouring
// distinct texts confirms that, in a linear pass. Where the collation orders two neighbours
// the other way (mixed-case Latin, punctuation), the distinct texts are ordered by their
// collation keys, one key a text.
void RankTexts(std::vector<TTextEntry> &entries, const QCollator *collator, std::vector<std::uint32_t> &rankOfRow)
{
    std::sort(entries.begin(), entries.end(), UnitsLess);
    std::vector<std::uint32_t> firsts; // the first entry of every distinct text
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || UnitsLess(entries[i - 1], entries[i]))
            firsts.push_back(static_cast<std::uint32_t>(i));
    }
    std::vector<std::uint32_t> ranks(firsts.size());
    std::uint32_t rank = 0;
    bool collated = true;
    for (std::size_t k = 0; k < firsts.size(); ++k) {
        if (k > 0 && collator != nullptr) {
            const int order = collator->compare(entries[firsts[k - 1]].View(), entries[firsts[k]].View());
            if (order > 0) {
                collated = false;
                break;
            }
            if (order == 0) {
                ranks[k] = rank;
                continue;
            }
        }
        ranks[k] = ++rank;
    }
    if (!collated) {
        std::vector<std::pair<QCollatorSortKey, std::uint32_t>> keyed;
        keyed.reserve(firsts.size());
        for (std::size_t k = 0; k < firsts.size(); ++k) {
            const TTextEntry &entry = entries[firsts[k]];
            const QString text = QString::fromRawData(reinterpret_cast<const QChar *>(entry.Units), entry.Length);
            keyed.emplace_back(collator->sortKey(text), static_cast<std::uint32_t>(k));
        }
        const auto less = [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; };
        std::sort(keyed.begin(), keyed.end(), less);
        rank = 0;
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            if (i == 0 || less(keyed[i - 1], keyed[i]))
                ++rank;
            ranks[keyed[i].second] = rank;
        }
    }
    for (std::size_t k = 0; k < firsts.size(); ++k) {
        const std::size_t end = k + 1 < firsts.size() ? firsts[k + 1] : entries.size();
        for (std::size_t i = firsts[k]; i < end; ++i)
            rankOfRow[entries[i].Row] = ranks[k];
    }
}

} // namespace

std::vector<int> TwMemPool::SortOrder(bool descending) const
{
    const int count = d->m_count;
    const std::uint8_t *presence = d->m_data.Data();
    const auto stride = static_cast<std::size_t>(d->m_recordSize);
    if (count == 0)
        return {};
    std::vector<TKeyedRow> keyed(static_cast<std::size_t>(count));
    if (TXIsStringType(d->m_type)) {
        // Compare orders texts by the default collation (by code units in the C locale):
        // every text gets the rank of its place in that order, and the rows are then ordered
        // by rank. Texts of fixed width are made once; free texts are read where they are.
        std::vector<QString> made;
        if (d->m_type != wdtString) {
            made.resize(static_cast<std::size_t>(count));
            for (int row = 0; row < count; ++row) {
                if (presence[static_cast<std::size_t>(row) * stride] != 0)
                    made[static_cast<std::size_t>(row)] = ValueText(row);
            }
        }
        const std::vector<QString> &texts = d->m_type == wdtString ? d->m_strings : made;
        std::vector<TTextEntry> entries;
        entries.reserve(static_cast<std::size_t>(count));
        for (int row = 0; row < count; ++row) {
            if (presence[static_cast<std::size_t>(row) * stride] != 0)
                entries.push_back(MakeTextEntry(texts[static_cast<std::size_t>(row)], static_cast<std::uint32_t>(row)));
        }
        const QCollator collator;
        std::vector<std::uint32_t> ranks(static_cast<std::size_t>(count), 0);
        RankTexts(entries, collator.locale().language() == QLocale::C ? nullptr : &collator, ranks);
        for (int row = 0; row < count; ++row) {
            const std::uint64_t key = ranks[static_cast<std::size_t>(row)]; // 0: null
            keyed[static_cast<std::size_t>(row)] = {descending ? ~key : key, static_cast<std::uint32_t>(row)};
        }
        return RankedOrder(keyed);
    }
    // Packed values (and pictures, which only have presence): nulls are the smallest key,
    // and a descending order is the ascending order of the complemented keys, so one stable
    // radix sort gives both orders with ties in row order.
    WithPackedType(
        d->m_type,
        [&]<typename Held>(Held) {
            for (int row = 0; row < count; ++row) {
                const std::uint8_t *record = presence + static_cast<std::size_t>(row) * stride;
                // No finite value maps to 0, the null key, or to the largest key.
                const std::uint64_t key = record[0] == 0 ? 0 : OrderKey(Load<Held>(record + 1));
                keyed[static_cast<std::size_t>(row)] = {descending ? ~key : key, static_cast<std::uint32_t>(row)};
            }
        },
        [&] {
            for (int row = 0; row < count; ++row) {
                const std::uint64_t key = presence[static_cast<std::size_t>(row) * stride] == 0 ? 0 : 1;
                keyed[static_cast<std::size_t>(row)] = {descending ? ~key : key, static_cast<std::uint32_t>(row)};
            }
        });
    return RankedOrder(keyed);
}

void TwMemPool::Permute(const std::vector<int> &order)
{
    const int count = d->m_count;
    TXCheckRowOrder(order, count);
    // The records (and texts) are set aside in one sequential copy and gathered back in the
    // new order into the pool's own memory. Gathering reads land all over the copy: asking
    // for the ones a few rows ahead early keeps several misses in flight.
    constexpr std::size_t Ahead = 16;
    const auto rows = static_cast<std::size_t>(count);
    const auto size = static_cast<std::size_t>(d->m_recordSize);
    std::vector<std::uint8_t> records(Record(0), Record(count));
    std::uint8_t *target = Record(0);
    for (std::size_t i = 0; i < rows; ++i) {
        if (i + Ahead < rows)
            __builtin_prefetch(records.data() + static_cast<std::size_t>(order[i + Ahead]) * size);
        std::memcpy(target, records.data() + static_cast<std::size_t>(order[i]) * size, size);
        target += size;
    }
    if (d->m_hasStrings) {
        std::vector<QString> texts(std::make_move_iterator(d->m_strings.begin()), std::make_move_iterator(d->m_strings.end()));
        for (std::size_t i = 0; i < rows; ++i) {
            if (i + Ahead < rows)
                __builtin_prefetch(&texts[static_cast<std::size_t>(order[i + Ahead])]);
            d->m_strings[i] = std::move(texts[static_cast<std::size_t>(order[i])]);
        }
    }
}

void TwMemPool::ColumnChanged(TwDataType type, int dataWidth)
{
    const int oldSize = d->m_recordSize;
    const bool hadStrings = d->m_hasStrings;
    d->m_type = type;
    d->m_width = type == wdtChar ? TXCharWidth(dataWidth) : dataWidth;
    LayRecords();
    if (d->m_capacity == 0)
        return;
    if (hadStrings != d->m_hasStrings || (oldSize == 1) != (d->m_recordSize == 1)) {
        // Texts and packed values do not convert: every row becomes null.
        d->m_strings.clear();
        if (d->m_hasStrings)
            d->m_strings.resize(static_cast<std::size_t>(d->m_count));
        d->m_data.Resize(0);
        Reserve(d->m_capacity);
    } else if (d->m_recordSize < oldSize) {
        for (int row = 0; row < d->m_count; ++row)
            std::memmove(d->m_data.Data() + Offset(row), d->m_data.Data() + static_cast<std::size_t>(row) * oldSize,
                         static_cast<std::size_t>(d->m_recordSize));
        Reserve(d->m_capacity);
        if (d->m_type == wdtChar)
            CutCharRecords();
    } else if (d->m_recordSize > oldSize) {
        Reserve(d->m_capacity);
        for (int row = d->m_count - 1; row >= 0; --row) {
            std::uint8_t *target = d->m_data.Data() + Offset(row);
            std::memmove(target, d->m_data.Data() + static_cast<std::size_t>(row) * oldSize, static_cast<std::size_t>(oldSize));
            std::memset(target + oldSize, 0, static_cast<std::size_t>(d->m_recordSize - oldSize));
        }
    }
}

void TwMemPool::CutCharRecords()
{
    // A narrower field keeps the leading bytes of each text: the cut ends on a character
    // boundary and the field gets its terminator again.
    for (int row = 0; row < d->m_count; ++row) {
        auto *bytes = reinterpret_cast<char *>(Record(row) + 1);
        // The byte after the new width tells whether the last one kept starts a character
        // that the cut would split.
        const qsizetype length = static_cast<qsizetype>(qstrnlen(bytes, static_cast<std::size_t>(d->m_width + 1)));
        const qsizetype kept = Platform::Cp949Fit(QByteArrayView(bytes, length), d->m_width);
        std::memset(bytes + kept, 0, static_cast<std::size_t>(d->m_width + 1 - kept));
    }
}

bool TwMemPool::GetNull(int row) const
{
    CheckRow(row);
    return Record(row)[0] == 0;
}

void TwMemPool::SetNull(int row, bool isNull)
{
    CheckRow(row);
    if (!isNull) {
        Record(row)[0] = Present;
        return;
    }
    std::memset(Record(row), 0, static_cast<std::size_t>(d->m_recordSize));
    if (d->m_hasStrings)
        d->m_strings[static_cast<std::size_t>(row)].clear();
}

int TwMemPool::GetCount() const
{
    return d->m_count;
}

int TwMemPool::Capacity() const
{
    return d->m_capacity;
}

int TwMemPool::RecordSize() const
{
    return d->m_recordSize;
}

TwDataType TwMemPool::DataType() const
{
    return d->m_type;
}

int TwMemPool::Width() const
{
    return d->m_width;
}

const std::uint8_t *TwMemPool::ValueBytes(int row) const
{
    return d->m_data.Data() + Offset(row) + 1;
}



