// Removing rows and posting an edit on a complete grid of 1,000,000 rows (a long, a float
// and a string column). Removal of the rows marked deleted (1 %, 50 % and all of them) and
// of the selected rows (1 %) against erase-remove of the same rows from a
// std::vector<double> of the same size (goal: 50 ms each); the footers recomputed after one
// posted edit (a sum, an average and a conditional count over the float column) against a
// plain loop summing a std::vector<double> of the same size (goal: 10 ms).

#include "benchtiming.h"
#include "grid/tabrix.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

namespace {

using Bench::Best;
using Bench::Seconds;

constexpr int Rows = 1000000;
constexpr int Runs = 3;

void BuildGrid(TTabrix &grid)
{
    const TwDataType types[] = {wdtLong, wdtFloat, wdtString};
    for (const TwDataType type : types)
        static_cast<TwMemColumn *>(grid.Columns().Add())->SetDataType(type);
    grid.Footers().Add();
    grid.Footers().Add();
    grid.Footers().Add();
    TwMemColumnFooter &footer = grid.GetMemColumn(1)->MemFooter();
    footer.SetMethod(0, wfmeSum);
    footer.SetMethod(1, wfmeAverage);
    footer.SetStyle(2, wfmeCount, 0, wfopGT, QStringLiteral("500"));
    grid.SetOptions({wgoEditing, wgoDeleting, wgoMultiSelect});
}

void Fill(TTabrix &grid)
{
    grid.SetRowCount(0);
    grid.SetRowCount(Rows);
    TwMemPool &longs = grid.GetMemColumn(0)->Pool();
    TwMemPool &floats = grid.GetMemColumn(1)->Pool();
    TwMemPool &texts = grid.GetMemColumn(2)->Pool();
    for (int row = 0; row < Rows; ++row) {
        longs.SetLong(row, row % 1000);
        floats.SetFloat(row, row * 0.25);
        texts.SetString(row, QStringLiteral("품목%1").arg(row % 5000));
    }
}

// Seconds of the fastest of the runs of `remove`, each on a freshly filled grid whose rows
// `chosen` picks were marked by `mark`.
double TimeRemoval(TTabrix &grid, const std::function<bool(int)> &chosen,
                   const std::function<void(TTabrix &, int)> &mark, const std::function<void(TTabrix &)> &remove)
{
    double best = 1e30;
    for (int run = 0; run < Runs; ++run) {
        Fill(grid);
        for (int row = 0; row < Rows; ++row) {
            if (chosen(row))
                mark(grid, row);
        }
        best = std::min(best, Seconds([&] { remove(grid); }));
    }
    return best;
}

double TimePeerRemoval(const std::function<bool(int)> &chosen)
{
    double best = 1e30;
    for (int run = 0; run < Runs; ++run) {
        std::vector<double> values(Rows);
        std::iota(values.begin(), values.end(), 0.0);
        best = std::min(best, Seconds([&] {
                            values.erase(std::remove_if(values.begin(), values.end(),
                                                        [&chosen](double v) { return chosen(static_cast<int>(v)); }),
                                         values.end());
                        }));
        if (values.size() > Rows)
            std::printf("edit_bench: the peer kept too many values\n");
    }
    return best;
}

void Report(const char *what, double seconds, const char *peer, double peerSeconds, double goalMs)
{
    std::printf("edit_bench: %-44s %8.2f ms  %s %7.2f ms  ratio %6.1f  goal <= %.0f ms %s\n", what, seconds * 1e3,
                peer, peerSeconds * 1e3, seconds / peerSeconds, goalMs, seconds * 1e3 <= goalMs ? "met" : "MISSED");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TTabrix grid;
    BuildGrid(grid);

    const auto markDeleted = [](TTabrix &g, int row) { g.RowInfos().SetState(row, wrDeleted); };
    const auto markSelected = [](TTabrix &g, int row) { g.RowInfos().SetSelected(row, true); };
    const auto deleteMarked = [](TTabrix &g) { g.DeleteMarkedRows(); };
    const auto deleteSelection = [](TTabrix &g) { g.DeleteSelection(); };
    struct Case
    {
        const char *Name;
        std::function<bool(int)> Chosen;
        std::function<void(TTabrix &, int)> Mark;
        std::function<void(TTabrix &)> Remove;
        int Expected;
    };
    const Case cases[] = {
        {"DeleteMarkedRows, 1% of 1M rows", [](int r) { return r % 100 == 0; }, markDeleted, deleteMarked, Rows - Rows / 100},
        {"DeleteMarkedRows, 50% of 1M rows", [](int r) { return r % 2 == 0; }, markDeleted, deleteMarked, Rows / 2},
        {"DeleteMarkedRows, all of 1M rows", [](int) { return true; }, markDeleted, deleteMarked, 0},
        {"DeleteSelection, 1% of 1M rows", [](int r) { return r % 100 == 0; }, markSelected, deleteSelection,
         Rows - Rows / 100},
    };
    for (const Case &c : cases) {
        const double ours = TimeRemoval(grid, c.Chosen, c.Mark, c.Remove);
        if (grid.GetRowCount() != c.Expected)
            std::printf("edit_bench: %s left %d rows, not %d\n", c.Name, grid.GetRowCount(), c.Expected);
        Report(c.Name, ours, "erase-remove vector<double>", TimePeerRemoval(c.Chosen), 50);
    }

    // One edit posted: the footers follow.
    Fill(grid);
    grid.CalcFooters();
    grid.SetCurRow(Rows / 2);
    double value = 0;
    const double post = Best(5, [&] {
        grid.Edit();
        grid.Cells(1, Rows / 2).SetFloat(++value);
        grid.Post();
    });
    std::vector<double> values(Rows);
    std::iota(values.begin(), values.end(), 0.0);
    double sum = 0;
    const double loop = Best(5, [&] {
        sum = 0;
        for (const double v : values)
            sum += v;
    });
    if (sum <= 0 || grid.GetMemColumn(1)->Footer().GetValues(0).isEmpty())
        std::printf("edit_bench: no sum\n");
    Report("Post with 3 footers over 1M rows", post, "summing loop vector<double>", loop, 10);
    return 0;
}
