// Repaint of the grid's viewport at 1920x1080 against QTableView over a QAbstractTableModel
// of the same twelve columns of cells, in the same run. Each figure is the median over
// scroll positions from the top to the bottom of the rows of one full viewport paint into
// an image. Goal: our time / QTableView's time at most 1.0 with a million rows, and our
// time the same at 1,000, 1,000,000 and 2^31-1 rows (painting never walks the rows).

#include "benchtiming.h"
#include "demo/demogrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <vector>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Positions = 40;

class TDemoModel : public QAbstractTableModel
{
public:
    explicit TDemoModel(int rows)
        : m_rows(rows)
    {
    }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : TabrixDemo::ColumnCount;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return TabrixDemo::CellText(index.column(), index.row());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? QVariant(TabrixDemo::Caption(section)) : QVariant(section + 1);
    }

private:
    int m_rows;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int PositionOf(int i, int maximum)
{
    return static_cast<int>(static_cast<qint64>(maximum) * i / (Positions - 1));
}

// One widget under measure: its viewport, and how it scrolls to the i-th position.
struct TSubject
{
    QWidget *viewport;
    std::function<void(int)> scrollTo;
    std::vector<double> times{};
};

// The median time of one full paint of each subject's viewport over the scroll positions.
// The subjects take turns at every position, so that a change in the machine's load
// during the run weighs on all of them alike.
void MeasureRepaints(std::vector<TSubject> &subjects)
{
    std::vector<QImage> images;
    for (TSubject &subject : subjects) {
        images.emplace_back(subject.viewport->size(), QImage::Format_ARGB32_Premultiplied);
        subject.scrollTo(0);
        subject.viewport->render(&images.back()); // warm the fonts and buffers
    }
    for (int i = 0; i < Positions; ++i) {
        for (std::size_t k = 0; k < subjects.size(); ++k) {
            TSubject &subject = subjects[k];
            subject.scrollTo(i);
            subject.times.push_back(Bench::Best(3, [&] { subject.viewport->render(&images[k]); }));
        }
    }
}

TSubject GridSubject(TTabrix &grid)
{
    grid.resize(Width, Height);
    grid.show(); // lays the grid out at its size: the rows it shows are known
    const int maximum = std::max(0, grid.GetRowCount() - grid.VisibleRowCount());
    return {grid.viewport(), [&grid, maximum](int i) { grid.SetTopRow(PositionOf(i, maximum)); }};
}

TSubject TableSubject(QTableView &view)
{
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(20);
    for (int i = 0; i < TabrixDemo::ColumnCount; ++i)
        view.setColumnWidth(i, i == 2 || i == 5 ? 160 : 80);
    view.resize(Width, Height);
    view.show();
    const int maximum = view.verticalScrollBar()->maximum();
    return {view.viewport(), [&view, maximum](int i) { view.verticalScrollBar()->setValue(PositionOf(i, maximum)); }};
}

double Alone(TTabrix &grid)
{
    std::vector<TSubject> subjects{GridSubject(grid)};
    MeasureRepaints(subjects);
    return Median(subjects[0].times);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    constexpr int Million = 1000000;
    TDemoModel model(Million);
    QTableView view;
    view.setModel(&model);
    TTabrix columns;
    TabrixDemo::BuildGrid(columns, false);
    TabrixDemo::FillRows(columns, Million);
    TTabrix groups;
    TabrixDemo::BuildGrid(groups, true);
    TabrixDemo::FillRows(groups, Million);
    std::vector<TSubject> subjects{TableSubject(view), GridSubject(columns), GridSubject(groups)};
    MeasureRepaints(subjects);
    const double table = Median(subjects[0].times);
    const double column = Median(subjects[1].times);
    const double group = Median(subjects[2].times);
    std::printf("grid_bench: viewport repaint %dx%d, median of %d scroll positions, 1,000,000 rows\n", Width, Height,
                Positions);
    std::printf("  QTableView (12 columns, one line a row)     %8.2f ms\n", table * 1e3);
    std::printf("  TTabrix column mode (the same cells)         %8.2f ms  ratio %.2f (goal <= 1.0)\n", column * 1e3,
                column / table);
    std::printf("  TTabrix demo grid (group mode, 3 levels)     %8.2f ms  ratio %.2f\n", group * 1e3, group / table);

    TTabrix thousand;
    TabrixDemo::BuildGrid(thousand, true);
    TabrixDemo::FillRows(thousand, 1000);
    TabrixDemo::TGeneratedGrid most;
    TabrixDemo::BuildGrid(most, true);
    most.SetRowCount(std::numeric_limits<int>::max());
    std::printf("  demo grid repaint at 1,000 rows              %8.2f ms\n", Alone(thousand) * 1e3);
    std::printf("  demo grid repaint at 1,000,000 rows          %8.2f ms\n", group * 1e3);
    std::printf("  generated grid repaint at 2,147,483,647 rows %8.2f ms\n", Alone(most) * 1e3);
    return 0;
}
