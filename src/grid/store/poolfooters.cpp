#include "grid/mempool.h"
#include "grid/store/mempool_p.h"

// The footer summaries of a pool: count, sum, average, maximum and minimum over the rows
// that meet a condition on another (or the same) pool.

#include "grid/store/poolbytes.h"

using namespace TwPoolBytes;

namespace {

// Calls f with a loader that reads the value bytes of `type` as a double, so that the row
// loops are compiled once per type instead of switching on it for every row. Types held
// outside the record never come here; they would read as one byte.
template<typename F>
void WithLoader(TwDataType type, F &&f)
{
    const auto withHeld = [&f]<typename Held>(Held) {
        f([](const std::uint8_t *p) { return static_cast<double>(Load<Held>(p)); });
    };
    WithPackedType(type, withHeld, [&withHeld] { withHeld(quint8{}); });
}

// Calls f with the operator's test on (value − operand), chosen once outside the row loop.
template<typename F>
void WithTest(TwFooterOperator op, F &&f)
{
    switch (op) {
    case wfopEQ:
        return f([](double d) { return d == 0; });
    case wfopGT:
        return f([](double d) { return d > 0; });
    case wfopGTE:
        return f([](double d) { return d >= 0; });
    case wfopLT:
        return f([](double d) { return d < 0; });
    case wfopLTE:
        return f([](double d) { return d <= 0; });
    case wfopNEQ:
        return f([](double d) { return d != 0; });
    default:
        return f([](double) { return true; });
    }
}

// The operator's test on one comparison result (-1, 0 or 1).
bool Holds(TwFooterOperator op, int comparison)
{
    bool held = true;
    WithTest(op, [&held, comparison](auto test) { held = test(comparison); });
    return held;
}

} // namespace

template<typename Visit>
void TwMemPool::ForEachMeeting(const TwMemPool *condition, TwFooterOperator op, const QString &operand, Visit visit) const
{
    if (op == wfopAll) {
        for (int row = 0; row < d->m_count; ++row)
            visit(row);
        return;
    }
    const int rows = qMin(d->m_count, condition->d->m_count);
    if (TXIsStringType(condition->d->m_type) || condition->d->m_type == wdtGraphic || operand.isEmpty()) {
        for (int row = 0; row < rows; ++row) {
            if (Holds(op, condition->Compare(row, operand)))
                visit(row);
        }
        return;
    }
    // The operand is parsed once, as the condition column's type reads it.
    const double number = TXTextToNumber(condition->d->m_type, operand);
    const std::uint8_t *base = condition->d->m_data.Data();
    const std::size_t size = static_cast<std::size_t>(condition->d->m_recordSize);
    const bool nullMeets = Holds(op, -1);
    WithLoader(condition->d->m_type, [&](auto load) {
        WithTest(op, [&](auto test) {
            for (int row = 0; row < rows; ++row) {
                const std::uint8_t *record = base + static_cast<std::size_t>(row) * size;
                if (record[0] ? test(load(record + 1) - number) : nullMeets)
                    visit(row);
            }
        });
    });
}

QString TwMemPool::CalcFooter(TwFooterMethod method, const TwMemPool *condition, TwFooterOperator op,
                              const QString &operand) const
{
    if (!condition || d->m_count == 0)
        return {};
    switch (method) {
    case wfmeCount:
        return CalcCount(condition, op, operand);
    case wfmeSum:
        return CalcSum(condition, op, operand);
    case wfmeAverage:
        return CalcAverage(condition, op, operand);
    case wfmeMax:
        return CalcMax(condition, op, operand);
    case wfmeMin:
        return CalcMin(condition, op, operand);
    default:
        return {};
    }
}

QString TwMemPool::CalcCount(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const
{
    int count = 0;
    ForEachMeeting(condition, op, operand, [&count](int) { ++count; });
    return QString::number(count);
}

QString TwMemPool::CalcSum(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const
{
    if (!TXIsNumericType(d->m_type))
        return {};
    long double sum = 0;
    const std::uint8_t *base = d->m_data.Data();
    const std::size_t size = static_cast<std::size_t>(d->m_recordSize);
    if (condition == this && op != wfopAll && !operand.isEmpty()) {
        // The column's own values decide: one pass reads each value once.
        const double number = TXTextToFloat(operand); // sums are only of numeric columns
        WithLoader(d->m_type, [&](auto load) {
            WithTest(op, [&](auto test) {
                // Locals stay in registers; the record bytes could alias captured ones.
                long double local = 0;
                const double against = number;
                const int rows = d->m_count;
                for (int row = 0; row < rows; ++row) {
                    const std::uint8_t *record = base + static_cast<std::size_t>(row) * size;
                    if (!record[0])
                        continue; // a null row adds nothing
                    const double value = load(record + 1);
                    if (test(value - against))
                        local += value;
                }
                sum = local;
            });
        });
        return TXFloatToText(static_cast<double>(sum));
    }
    if (op == wfopAll) {
        WithLoader(d->m_type, [&](auto load) {
            long double local = 0;
            for (int row = 0; row < d->m_count; ++row) {
                const std::uint8_t *record = base + static_cast<std::size_t>(row) * size;
                if (record[0])
                    local += load(record + 1);
            }
            sum = local;
        });
        return TXFloatToText(static_cast<double>(sum));
    }
    WithLoader(d->m_type, [&](auto load) {
        ForEachMeeting(condition, op, operand, [&](int row) {
            const std::uint8_t *record = base + static_cast<std::size_t>(row) * size;
            if (record[0])
                sum += load(record + 1);
        });
    });
    return TXFloatToText(static_cast<double>(sum));
}

QString TwMemPool::CalcAverage(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const
{
    const QString sum = CalcSum(condition, op, operand);
    if (sum.isEmpty())
        return {};
    const QString count = CalcCount(condition, op, operand);
    if (count == QLatin1String("0"))
        return {};
    return TXFloatToText(TXTextToFloat(sum) / static_cast<double>(TXTextToInt(count)));
}

QString TwMemPool::CalcExtreme(const TwMemPool *condition, TwFooterOperator op, const QString &operand, int side) const
{
    // The first of equal extremes is kept.
    int best = -1;
    ForEachMeeting(condition, op, operand, [&](int row) {
        if (best < 0 || Compare(row, best) == side)
            best = row;
    });
    return best < 0 ? QString() : GetString(best);
}

QString TwMemPool::CalcMax(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const
{
    return CalcExtreme(condition, op, operand, 1);
}

QString TwMemPool::CalcMin(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const
{
    return CalcExtreme(condition, op, operand, -1);
}

