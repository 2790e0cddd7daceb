// Creates a grid and a label from the installed libraries; exit status 0 when both work.
#include "grid/tabrix.h"
#include "gridex/uxlabels.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TTabrix grid;
    grid.SetDesign(QStringLiteral(R"({"Columns":[{"Title":{"Caption":"A"}},{"Title":{"Caption":"B"}}]})"));
    grid.SetRowCount(2);
    TwLabel label;
    label.SetCaption(QStringLiteral("합계"));
    if (grid.Columns().Count() != 2 || grid.GetRowCount() != 2 || label.Caption() != QStringLiteral("합계"))
        return 1;
    return 0;
}
