// Sorting a complete grid of 1,000,000 rows × 4 columns (an id, an amount, a Korean item
// name and a date) by one column, every pool and the row bytes rearranged:
// - by the float amount against std::stable_sort of (amount, row) pairs of the same values
//   (goal: ratio <= 2.0);
// - by the Korean text against a QCollator-keyed sort: the collation key of every text made
//   once, then std::stable_sort of (key, row) pairs (goal: ratio <= 2.0);
// - by a text of mixed-case Latin names, which the collation does not keep in code unit
//   order, against the same QCollator-keyed sort (goal: ratio <= 2.0);
// - by the float amount against QStandardItemModel::sort of the same 4 columns (printed;
//   the grid should be far faster).
// Collation is Korean, as on the users' machines.

#include "benchtiming.h"
#include "grid/tabrix.h"

#include <QApplication>
#include <QCollator>
#include <QRandomGenerator>
#include <QStandardItemModel>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

using Bench::Seconds;

constexpr int Rows = 1000000;
constexpr int Runs = 2;

struct Data
{
    std::vector<double> Amounts;
    std::vector<QString> Names;
    std::vector<QString> LatinNames;
    std::vector<double> Dates;
};

Data MakeData()
{
    static const char16_t syllables[] = u"가나다라마바사아자차카타파하강남동서울부산대구인천광주";
    constexpr int syllableCount = sizeof syllables / sizeof syllables[0] - 1;
    static const char *const parts[] = {"Kim", "lee", "Park", "choi", "Jung", "kang", "Cho", "yoon", "Jang", "lim",
                                        "Han", "oh", "Seo", "shin", "Kwon", "hwang", "Ahn", "song", "-", " "};
    constexpr int partCount = sizeof parts / sizeof parts[0];
    QRandomGenerator random(2026);
    Data data;
    data.Amounts.reserve(Rows);
    data.Names.reserve(Rows);
    data.LatinNames.reserve(Rows);
    data.Dates.reserve(Rows);
    for (int row = 0; row < Rows; ++row) {
        // Amounts in won with many ties, as sales amounts have.
        data.Amounts.push_back(static_cast<double>(random.bounded(200000)) * 50.0);
        QString name;
        for (int i = 0; i < 3 + static_cast<int>(random.bounded(3)); ++i)
            name += QChar(syllables[random.bounded(syllableCount)]);
        data.Names.push_back(name);
        QString latin;
        for (int i = 0; i < 2 + static_cast<int>(random.bounded(3)); ++i)
            latin += QLatin1String(parts[random.bounded(partCount)]);
        data.LatinNames.push_back(latin);
        data.Dates.push_back(45000.0 + random.bounded(365));
    }
    return data;
}

void Fill(TTabrix &grid, const Data &data, const std::vector<QString> &texts)
{
    grid.SetRowCount(0);
    grid.SetRowCount(Rows);
    TwMemPool &ids = grid.GetMemColumn(0)->Pool();
    TwMemPool &amounts = grid.GetMemColumn(1)->Pool();
    TwMemPool &names = grid.GetMemColumn(2)->Pool();
    TwMemPool &dates = grid.GetMemColumn(3)->Pool();
    for (int row = 0; row < Rows; ++row) {
        ids.SetLong(row, row);
        amounts.SetFloat(row, data.Amounts[static_cast<std::size_t>(row)]);
        names.SetString(row, texts[static_cast<std::size_t>(row)]);
        dates.SetFloat(row, data.Dates[static_cast<std::size_t>(row)]);
    }
}

// Seconds of the fastest of the runs of sorting a freshly filled grid by `col`, the text
// column holding `texts`.
double TimeGridSort(TTabrix &grid, const Data &data, const std::vector<QString> &texts, int col, bool &ordered)
{
    double best = 1e30;
    for (int run = 0; run < Runs; ++run) {
        Fill(grid, data, texts);
        best = std::min(best, Seconds([&] { grid.Sort(col, false, false); }));
    }
    const TwMemPool &pool = grid.GetMemColumn(col)->Pool();
    ordered = true;
    for (int row = 1; row < Rows && ordered; row += 997)
        ordered = pool.Compare(row - 1, row) <= 0;
    return best;
}

template<typename Key, typename MakeKey>
double TimePairSort(MakeKey makeKey)
{
    double best = 1e30;
    for (int run = 0; run < Runs; ++run) {
        std::vector<std::pair<Key, int>> pairs;
        best = std::min(best, Seconds([&] {
                            pairs.reserve(Rows);
                            for (int row = 0; row < Rows; ++row)
                                pairs.emplace_back(makeKey(row), row);
                            std::stable_sort(pairs.begin(), pairs.end(),
                                             [](const auto &a, const auto &b) { return a.first < b.first; });
                        }));
    }
    return best;
}

double TimeModelSort(const Data &data)
{
    // Left to the process exit: after a sort the model's teardown looks every item's index
    // up one at a time, which takes minutes for a million rows.
    auto &model = *new QStandardItemModel(Rows, 4);
    for (int row = 0; row < Rows; ++row) {
        model.setItem(row, 0, new QStandardItem(QString::number(row)));
        auto *amount = new QStandardItem;
        amount->setData(data.Amounts[static_cast<std::size_t>(row)], Qt::DisplayRole);
        model.setItem(row, 1, amount);
        model.setItem(row, 2, new QStandardItem(data.Names[static_cast<std::size_t>(row)]));
        auto *date = new QStandardItem;
        date->setData(data.Dates[static_cast<std::size_t>(row)], Qt::DisplayRole);
        model.setItem(row, 3, date);
    }
    return Seconds([&] { model.sort(1); });
}

int Report(const char *what, double seconds, const char *peer, double peerSeconds, double goal, bool ordered)
{
    const double ratio = seconds / peerSeconds;
    const bool met = ordered && (goal <= 0 || ratio <= goal);
    std::printf("sort_bench: %-34s %8.1f ms  %-28s %8.1f ms  ratio %5.2f  %s%s\n", what, seconds * 1e3, peer,
                peerSeconds * 1e3, ratio, goal > 0 ? (met ? "goal met" : "GOAL MISSED") : "",
                ordered ? "" : " (rows out of order)");
    return met ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    const Data data = MakeData();
    TTabrix grid;
    for (const TwDataType type : {wdtLong, wdtFloat, wdtString, wdtDate})
        static_cast<TwMemColumn *>(grid.Columns().Add())->SetDataType(type);

    int status = 0;
    bool ordered = false;
    const double byAmount = TimeGridSort(grid, data, data.Names, 1, ordered);
    const double amountPeer = TimePairSort<double>([&](int row) { return data.Amounts[static_cast<std::size_t>(row)]; });
    status |= Report("1M rows x 4 by a float column", byAmount, "stable_sort (amount, row)", amountPeer, 2.0, ordered);

    const QCollator collator;
    const double byName = TimeGridSort(grid, data, data.Names, 2, ordered);
    const double namePeer = TimePairSort<QCollatorSortKey>(
        [&](int row) { return collator.sortKey(data.Names[static_cast<std::size_t>(row)]); });
    status |= Report("1M rows x 4 by a Korean text column", byName, "QCollator keys + stable_sort", namePeer, 2.0, ordered);
    const double byLatin = TimeGridSort(grid, data, data.LatinNames, 2, ordered);
    const double latinPeer = TimePairSort<QCollatorSortKey>(
        [&](int row) { return collator.sortKey(data.LatinNames[static_cast<std::size_t>(row)]); });
    status |= Report("1M rows x 4 by a Latin text column", byLatin, "QCollator keys + stable_sort", latinPeer, 2.0, ordered);

    const double model = TimeModelSort(data);
    Report("1M rows x 4 by a float column", byAmount, "QStandardItemModel::sort", model, 0, true);
    std::printf("sort_bench: QStandardItemModel::sort takes %.1f times the grid's sort\n", model / byAmount);
    return status;
}
