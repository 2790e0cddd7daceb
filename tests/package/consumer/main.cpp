// Creates a grid, a label, a combo with its item list and the popup dialogs from the
// installed libraries; exit status 0 when they work.
#include "grid/drawobjects.h"
#include "grid/tabrix.h"
#include "grid/uxdlgimg.h"
#include "grid/uxdlgmemo.h"
#include "grid/uxlists.h"
#include "grid/uxmfootstyles.h"
#include "gridex/uxcombos.h"
#include "gridex/uxlabels.h"

#include <QApplication>
#include <QPlainTextEdit>

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

    TwCombo combo;
    combo.SetItems({QStringLiteral("하나"), QStringLiteral("둘")});
    combo.SetValues({QStringLiteral("1"), QStringLiteral("2")});
    combo.SetValueIndex(1);
    TwItemListOption option;
    TwItemList list(&combo);
    list.SetOptions(&option, combo.Items(), combo.Values(), nullptr, true);
    if (combo.GetInteger() != 2 || list.GetRowCount() != 2)
        return 2;

    TwInDlgMemo memo;
    memo.SetOnOk([](const QString &) {});
    TwInDlgImg image;
    image.SetOnOk([](const QPixmap &) {});
    // A grid without footer lines opens no style dialog.
    if (memo.Memo() == nullptr || image.Picture().isNull() == false
        || EditMFootStyles(&grid.GetMemColumn(0)->MemFooter()))
        return 3;
    return 0;
}
