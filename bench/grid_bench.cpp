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

// The median time of one full paint of `viewport` over the scroll positions; `scrollTo`
// moves to the i-th of them.
double MedianRepaint(QWidget *viewport, const std::function<void(int)> &scrollTo)
{
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    scrollTo(0);
    viewport->render(&image); // warm the fonts and buffers
    std::vector<double> times;
    for (int i = 0; i < Positions; ++i) {
        scrollTo(i);
        times.push_back(Bench::Best(3, [&] { viewport->render(&image); }));
    }
    return Median(times);
}

int PositionOf(int i, int maximum)
{
    return static_cast<int>(static_cast<qint64>(maximum) * i / (Positions - 1));
}

double OurRepaint(TTabrix &grid)
{
    grid.resize(Width, Height);
    grid.show();
    grid.UpdateScrollRange();
    const int maximum = grid.GetVertRange();
    return MedianRepaint(grid.viewport(), [&](int i) { grid.SetTopRow(PositionOf(i, maximum)); });
}

double TableViewRepaint(int rows)
{
    TDemoModel model(rows);
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(20);
    for (int i = 0; i < TabrixDemo::ColumnCount; ++i)
        view.setColumnWidth(i, i == 2 || i == 5 ? 160 : 80);
    view.resize(Width, Height);
    view.show();
    const int maximum = view.verticalScrollBar()->maximum();
    return MedianRepaint(view.viewport(), [&](int i) { view.verticalScrollBar()->setValue(PositionOf(i, maximum)); });
}

double DemoRepaint(int rows, bool groupMode)
{
    TTabrix grid;
    TabrixDemo::BuildGrid(grid, groupMode);
    TabrixDemo::FillRows(grid, rows);
    return OurRepaint(grid);
}

double GeneratedRepaint(int rows)
{
    TabrixDemo::TGeneratedGrid grid;
    TabrixDemo::BuildGrid(grid, true);
    grid.SetRowCount(rows);
    return OurRepaint(grid);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    constexpr int Million = 1000000;
    const double table = TableViewRepaint(Million);
    const double columns = DemoRepaint(Million, false);
    const double groups = DemoRepaint(Million, true);
    std::printf("grid_bench: viewport repaint %dx%d, median of %d scroll positions, 1,000,000 rows\n", Width, Height,
                Positions);
    std::printf("  QTableView (12 columns, one line a row)     %8.2f ms\n", table * 1e3);
    std::printf("  TTabrix column mode (the same cells)         %8.2f ms  ratio %.2f (goal <= 1.0)\n", columns * 1e3,
                columns / table);
    std::printf("  TTabrix demo grid (group mode, 3 levels)     %8.2f ms  ratio %.2f\n", groups * 1e3, groups / table);
    const double thousand = DemoRepaint(1000, true);
    const double most = GeneratedRepaint(std::numeric_limits<int>::max());
    std::printf("  demo grid repaint at 1,000 rows              %8.2f ms\n", thousand * 1e3);
    std::printf("  demo grid repaint at 1,000,000 rows          %8.2f ms\n", groups * 1e3);
    std::printf("  generated grid repaint at 2,147,483,647 rows %8.2f ms\n", most * 1e3);
    return 0;
}
