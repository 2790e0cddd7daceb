// The grid's data store against what a Qt program would otherwise use. Fills 1,000,000 rows
// of four columns (long, float, string, date) row by row, computes a sum, an average and a
// conditional count as the footers do, compares neighbouring rows, and does the same with
// a QStandardItemModel holding the same values. Also: a conditional sum over a million
// floats against a plain loop over std::vector<double>, and 1M against 4M rows to show
// that growing by 16 rows at a time stays linear. Last, the display text the painter asks
// for, per cell, for every stored type (goal: under 1 µs per numeric cell, under 2 µs per
// date).

#include "benchtiming.h"
#include "grid/memcolumn.h"
#include "grid/mempool.h"
#include "grid/rowinfos.h"

#include <QCoreApplication>
#include <QStandardItemModel>

#include <chrono>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

using Bench::Best;
using Bench::Seconds;

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct Store
{
    TwRowInfos rows;
    TwMemPool longs{wdtLong, 0};
    TwMemPool floats{wdtFloat, 0};
    TwMemPool texts{wdtString, 0};
    TwMemPool dates{wdtDate, 0};

    Store()
    {
        rows.Init();
        for (TwMemPool *pool : {&longs, &floats, &texts, &dates})
            pool->Init();
    }

    void Fill(int count)
    {
        const double firstDay = TXIntToDate(20240101);
        for (int row = 0; row < count; ++row) {
            rows.Insert(row);
            longs.Insert(row);
            floats.Insert(row);
            texts.Insert(row);
            dates.Insert(row);
            longs.SetLong(row, row % 1000);
            floats.SetFloat(row, row * 0.25 - 1000.0);
            texts.SetString(row, QStringLiteral("품목%1").arg(row % 5000));
            dates.SetDateTime(row, firstDay + row % 365);
        }
    }
};

void FillModel(QStandardItemModel &model, int count)
{
    const QDate firstDay(2024, 1, 1);
    for (int row = 0; row < count; ++row) {
        QList<QStandardItem *> items;
        items.reserve(4);
        auto *number = new QStandardItem;
        number->setData(row % 1000, Qt::DisplayRole);
        auto *amount = new QStandardItem;
        amount->setData(row * 0.25 - 1000.0, Qt::DisplayRole);
        auto *name = new QStandardItem(QStringLiteral("품목%1").arg(row % 5000));
        auto *day = new QStandardItem;
        day->setData(firstDay.addDays(row % 365), Qt::DisplayRole);
        items << number << amount << name << day;
        model.appendRow(items);
    }
}

// The display text of every row of a column, as the painter asks for it: seconds per cell.
double DisplayCost(TwDataType type, const QString &format, const std::function<void(TwMemPool &, int)> &fill)
{
    constexpr int Rows = 100000;
    TwMemColumn column(nullptr, nullptr); // a column of no grid: its pool alone
    column.SetDataType(type);
    column.SetDisplayFormat(format);
    column.Pool().SetCount(Rows);
    for (int row = 0; row < Rows; ++row)
        fill(column.Pool(), row);
    qsizetype length = 0;
    const double seconds = Best(3, [&] {
        for (int row = 0; row < Rows; ++row)
            length += column.DisplayText(row).size();
    });
    if (length == 0)
        std::printf("store_bench: no display text for type %d\n", static_cast<int>(type));
    return seconds / Rows;
}

void PrintDisplayCosts()
{
    const double firstDay = TXIntToDate(20240101);
    struct Case
    {
        const char *Name;
        TwDataType Type;
        const char *Format;
        std::function<void(TwMemPool &, int)> Fill;
    };
    const Case cases[] = {
        {"short", wdtShort, "", [](TwMemPool &p, int r) { p.SetShort(r, static_cast<qint8>(r % 256 - 128)); }},
        {"byte", wdtByte, "", [](TwMemPool &p, int r) { p.SetByte(r, static_cast<quint8>(r % 256)); }},
        {"small", wdtSmall, "", [](TwMemPool &p, int r) { p.SetSmall(r, static_cast<qint16>(r % 65536 - 32768)); }},
        {"word", wdtWord, "", [](TwMemPool &p, int r) { p.SetWord(r, static_cast<quint16>(r % 65536)); }},
        {"bool", wdtBool, "", [](TwMemPool &p, int r) { p.SetBool(r, r % 2 == 0); }},
        {"char", wdtChar, "", [](TwMemPool &p, int r) { p.SetString(r, QString(QChar(u'A' + r % 26))); }},
        {"string", wdtString, "", [](TwMemPool &p, int r) { p.SetString(r, QStringLiteral("item %1").arg(r)); }},
        {"long", wdtLong, "", [](TwMemPool &p, int r) { p.SetLong(r, r * 37 - 1000000); }},
        {"long #,##0 (half negative)", wdtLong, "#,##0", [](TwMemPool &p, int r) { p.SetLong(r, r * 37 - 1850000); }},
        {"float", wdtFloat, "", [](TwMemPool &p, int r) { p.SetFloat(r, r * 0.25 - 1000.0); }},
        {"float #,##0.00 (half negative)", wdtFloat, "#,##0.00",
         [](TwMemPool &p, int r) { p.SetFloat(r, r * 1.125 - 56250.0); }},
        {"date", wdtDate, "", [&](TwMemPool &p, int r) { p.SetDateTime(r, firstDay + r % 365); }},
        {"date yyyy/mm/dd", wdtDate, "yyyy/mm/dd", [&](TwMemPool &p, int r) { p.SetDateTime(r, firstDay + r % 365); }},
        {"datetime", wdtDateTime, "",
         [&](TwMemPool &p, int r) { p.SetDateTime(r, firstDay + r % 365 + (r % 1440) / 1440.0); }},
    };
    std::printf("store_bench: display text per cell (goal < 1 us numeric, < 2 us date):");
    for (const Case &c : cases)
        std::printf(" %s %.3f us;", c.Name, DisplayCost(c.Type, QString::fromLatin1(c.Format), c.Fill) * 1e6);
    std::printf("\n");

    // Reading date texts back, as a date column's Compare and footers with a date operand do.
    constexpr int Texts = 100000;
    QStringList texts;
    for (int i = 0; i < Texts; ++i)
        texts << TXDateToText(firstDay + i % 365);
    double total = 0;
    const double parse = Best(3, [&] {
        for (const QString &text : texts)
            total += TXTextToDate(text);
    });
    std::printf("store_bench: date text parse: %.3f us per text (goal < 2 us) (%.0f)\n", parse / Texts * 1e6, total);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PrintDisplayCosts();
    constexpr int Rows = 1000000;
    constexpr double Cells = 4.0 * Rows;

    // Filling, and what it holds.
    std::size_t storeBytes = 0;
    double storeFill = 0;
    auto store = std::make_unique<Store>();
    storeFill = Seconds([&] { store->Fill(Rows); });
    storeBytes = store->longs.BytesReserved() + store->floats.BytesReserved();
    const double numericCell = static_cast<double>(storeBytes) / (2.0 * Rows)
        + static_cast<double>(store->rows.BytesReserved()) / (4.0 * Rows);

    const std::size_t heapBefore = HeapInUse();
    auto model = std::make_unique<QStandardItemModel>(0, 4);
    const double modelFill = Seconds([&] { FillModel(*model, Rows); });
    const double modelCell = static_cast<double>(HeapInUse() - heapBefore) / Cells;

    std::printf("store_bench: fill 1M rows x 4 columns: Tabrix %.1f Mcells/s, QStandardItemModel %.1f Mcells/s, "
                "ratio %.1fx (target >= 5)\n",
                Cells / storeFill / 1e6, Cells / modelFill / 1e6, modelFill / storeFill);
    std::printf("store_bench: bytes per numeric cell: Tabrix %.2f (target <= 10), QStandardItemModel %.0f per cell\n",
                numericCell, modelCell);

    // Footers as the grid computes them, and row comparisons.
    QString sum;
    QString average;
    QString count;
    const double storeFooters = Best(3, [&] {
        sum = store->floats.CalcFooter(wfmeSum, &store->floats, wfopAll, {});
        average = store->longs.CalcFooter(wfmeAverage, &store->longs, wfopAll, {});
        count = store->longs.CalcFooter(wfmeCount, &store->longs, wfopGT, QStringLiteral("500"));
    });
    double modelSum = 0;
    double modelAverage = 0;
    int modelCount = 0;
    const double modelFooters = Best(3, [&] {
        modelSum = 0;
        double longs = 0;
        modelCount = 0;
        for (int row = 0; row < Rows; ++row) {
            modelSum += model->item(row, 1)->data(Qt::DisplayRole).toDouble();
            const int value = model->item(row, 0)->data(Qt::DisplayRole).toInt();
            longs += value;
            modelCount += value > 500 ? 1 : 0;
        }
        modelAverage = longs / Rows;
    });
    std::printf("store_bench: sum, average and conditional count: Tabrix %.1f ms, QStandardItemModel %.1f ms, ratio %.1fx "
                "(sum %s / %.15g, avg %s / %.15g, count %s / %d)\n",
                storeFooters * 1e3, modelFooters * 1e3, modelFooters / storeFooters, qPrintable(sum), modelSum,
                qPrintable(average), modelAverage, qPrintable(count), modelCount);

    long long storeOrder = 0;
    const double storeCompare = Best(3, [&] {
        storeOrder = 0;
        for (int row = 0; row + 1 < Rows; ++row)
            storeOrder += store->longs.Compare(row, row + 1) + store->floats.Compare(row, row + 1)
                + store->dates.Compare(row, row + 1);
    });
    long long modelOrder = 0;
    const double modelCompare = Best(3, [&] {
        modelOrder = 0;
        for (int row = 0; row + 1 < Rows; ++row) {
            for (int column : {0, 1, 3}) {
                const QPartialOrdering order = QVariant::compare(model->item(row, column)->data(Qt::DisplayRole),
                                                                 model->item(row + 1, column)->data(Qt::DisplayRole));
                modelOrder += order == QPartialOrdering::Less ? -1 : order == QPartialOrdering::Greater ? 1 : 0;
            }
        }
    });
    std::printf("store_bench: comparing neighbouring rows (3 columns): Tabrix %.1f ms, QStandardItemModel %.1f ms, "
                "ratio %.1fx (%lld / %lld)\n",
                storeCompare * 1e3, modelCompare * 1e3, modelCompare / storeCompare, storeOrder, modelOrder);
    model.reset();

    // A conditional sum against the plainest possible loop.
    std::vector<double> plain(Rows);
    for (int row = 0; row < Rows; ++row)
        plain[static_cast<std::size_t>(row)] = store->floats.GetFloat(row);
    double plainSum = 0;
    const double plainTime = Best(5, [&] {
        double total = 0;
        for (double value : plain)
            if (value > 0)
                total += value;
        plainSum = total;
    });
    QString conditional;
    const double storeConditional = Best(5, [&] {
        conditional = store->floats.CalcSum(&store->floats, wfopGT, QStringLiteral("0"));
    });
    std::printf("store_bench: conditional sum over 1M floats: Tabrix %.2f ms, std::vector<double> loop %.2f ms, "
                "ratio %.2fx (target <= 3) (%s / %.15g)\n",
                storeConditional * 1e3, plainTime * 1e3, storeConditional / plainTime, qPrintable(conditional), plainSum);

    // Growth stays linear: four times the rows take about four times as long.
    store.reset();
    const double oneMillion = Best(2, [] { Store s; s.Fill(Rows); });
    const double fourMillion = Best(1, [] { Store s; s.Fill(4 * Rows); });
    std::printf("store_bench: fill 1M rows %.0f ms, 4M rows %.0f ms: 4M / (4 x 1M) = %.2f (linear = 1)\n",
                oneMillion * 1e3, fourMillion * 1e3, fourMillion / (4 * oneMillion));
    return 0;
}
