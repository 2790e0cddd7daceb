#include "grid/gridstream.h"
#include "grid/uxutils.h"
#include "platform/texception.h"
#include "testgrid.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {


QString VisibleCaptions(const TestGrid &grid)
{
    QStringList captions;
    for (int i = 0; i < grid.Columns().GetVCount(); ++i)
        captions << grid.Columns().GetVItems(i)->Title().Caption();
    return captions.join(QLatin1Char(','));
}

} // namespace

TEST(Columns, AlignmentFollowsTheDataUntilAssignedAndTheDefaultIsNeverStored)
{
    TestGrid grid;
    TestColumn *column = grid.AddColumn(QStringLiteral("금액"));
    EXPECT_EQ(column->Alignment(), taLeftJustify);
    column->Numeric = true;
    EXPECT_EQ(column->Alignment(), taRightJustify);
    column->Numeric = false;
    column->Graphic = true;
    EXPECT_EQ(column->Alignment(), taCenter);

    column->SetAlignment(taCenter); // the default, assigned explicitly
    EXPECT_TRUE(column->AssignedValues().Has(wcvAlignment));
    const QJsonObject stored = TwGridStream::Write(grid).value(QStringLiteral("Columns")).toArray().at(0).toObject();
    EXPECT_FALSE(stored.contains(QStringLiteral("Alignment")));
    column->Graphic = false;
    EXPECT_EQ(column->Alignment(), taCenter) << "an assigned value no longer follows the data";
}

TEST(Columns, WidthsPrecisionAndBooleanTexts)
{
    TestGrid grid;
    TestColumn *column = grid.AddColumn();
    column->SetWidth(2);
    EXPECT_EQ(column->Width(), 4);

    const struct {
        const char *format;
        int precision;
        bool thousands;
    } formats[] = {{"#,##0.00", 2, true}, {"0", 0, false}, {"0.#0#;-0.0", 3, false}, {"#,##0", 0, true}, {"0.x00", 0, false}};
    for (const auto &f : formats) {
        column->SetEditFormat(QString::fromLatin1(f.format));
        EXPECT_EQ(column->GetPrecision(), f.precision) << f.format;
        EXPECT_EQ(column->HasThousandSep(), f.thousands) << f.format;
    }

    EXPECT_EQ(column->GetBoolStr(true), QStringLiteral("True"));
    column->SetValues({QStringLiteral("N"), QStringLiteral("Y")});
    EXPECT_EQ(column->GetBoolStr(true), QStringLiteral("Y"));
    EXPECT_FALSE(column->ItemsMode());
    column->SetItems({QStringLiteral("아니오"), QStringLiteral("예")});
    EXPECT_TRUE(column->ItemsMode());
    EXPECT_EQ(column->GetBoolText(false), QStringLiteral("아니오"));

    column->SetMinValue(QStringLiteral("-12.5"));
    EXPECT_EQ(column->GetMinNum(), -12.5);
    EXPECT_EQ(column->GetMaxNum(), 0.0);
    column->SetMaxValue(QStringLiteral("2024-02-29"));
    EXPECT_EQ(column->GetMaxDate(), QDate(2024, 2, 29));
}

TEST(Columns, FooterRowsAndVisibleItemsRejectIndexesOutOfBounds)
{
    TestGrid grid;
    TestColumn *column = grid.AddColumn();
    for (int i = 0; i < 3; ++i)
        grid.Footers().Add();
    column->Footer().SetValues(2, QStringLiteral("합계"));
    EXPECT_EQ(column->Footer().GetValues(2), QStringLiteral("합계"));
    EXPECT_EQ(column->Footer().GetValues(0), QString());
    EXPECT_EQ(column->Footer().GetText(7), QString());
    EXPECT_EQ(ErrorOf([column] { column->Footer().SetValues(3, QStringLiteral("x")); }),
              QStringLiteral("Bound Error in TwColumnFooter.SetValues(3)"));
    EXPECT_EQ(ErrorOf([&grid] { grid.Columns().GetVItems(1); }), QStringLiteral("TwColumns Bounds Error in GetVItems(1)"));
    EXPECT_EQ(ErrorOf([&grid] { grid.Columns().GetVItems(-1); }), QStringLiteral("TwColumns Bounds Error in GetVItems(-1)"));
}

TEST(Columns, FirstAndLastSelectableColumnsWithSkipReadOnly)
{
    TestGrid grid;
    for (int i = 0; i < 4; ++i)
        grid.AddColumn(QString::number(i))->SetReadOnly(true);
    EXPECT_EQ(grid.Columns().FirstCol(), 0);
    EXPECT_EQ(grid.Columns().LastCol(), 3);
    grid.SetOptions({wgoSkipReadOnly});
    EXPECT_EQ(grid.Columns().FirstCol(), 3) << "none selectable: the last position";
    EXPECT_EQ(grid.Columns().LastCol(), 0) << "none selectable: 0";
    EXPECT_EQ(grid.Columns().NextCol(1), 1);

    grid.Columns().Items(2)->SetReadOnly(false);
    EXPECT_EQ(grid.Columns().FirstCol(), 2);
    EXPECT_EQ(grid.Columns().LastCol(), 2);
    EXPECT_EQ(grid.Columns().NextCol(0), 2);
    EXPECT_EQ(grid.Columns().PrevCol(3), 2);
    EXPECT_EQ(grid.Columns().PrevCol(2), 2) << "nothing before: stays";
}

TEST(Columns, HidingTheCurrentColumnMovesToTheOneThatTookItsPlace)
{
    TestGrid grid;
    for (const char *caption : {"A", "B", "C", "D"})
        grid.AddColumn(QString::fromLatin1(caption));
    grid.SetCurCol(1);
    grid.Columns().Items(1)->SetVisible(false);
    EXPECT_EQ(VisibleCaptions(grid), QStringLiteral("A,C,D"));
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("C"));

    grid.SetCurCol(2); // D
    grid.Columns().Items(0)->SetVisible(false);
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("D")) << "a column before it goes";

    grid.Columns().Items(1)->SetVisible(true);
    EXPECT_EQ(VisibleCaptions(grid), QStringLiteral("C,B,D")) << "back at the position it left";
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("D"));

    grid.Columns().Items(3)->SetVIndex(0);
    EXPECT_EQ(VisibleCaptions(grid), QStringLiteral("D,C,B"));
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("D")) << "the current cell follows its column";
}

TEST(Columns, RestoreWidthsAndFontsMarkTheirValuesAssigned)
{
    TestGrid grid;
    TestColumn *column = grid.AddColumn(QStringLiteral("품목명칭"));
    column->DefWidth = 1;
    grid.Columns().RestoreWidths();
    const int charWidth = TXGetCharWidth(column->Title().Font().Font);
    EXPECT_EQ(column->Width(), 4 * charWidth + 2);

    grid.Columns().RestoreFonts();
    EXPECT_TRUE(column->AssignedValues().Has(wcvFont));
    EXPECT_TRUE(column->Title().IsAssigned(wovFont));
    EXPECT_EQ(column->Title().Font(), grid.GridFont());
}

TEST(Columns, RegressionMarginSideOutsideTheFourSidesFails)
{
    TestGrid grid;
    TestColumn *column = grid.AddColumn();
    column->SetMargin(3, 7);
    EXPECT_EQ(column->Margin(3), 7);
    EXPECT_EQ(column->MarginBottom(), 7);
    for (int side : {4, -1, 1000}) {
        EXPECT_EQ(ErrorOf([column, side] { column->SetMargin(side, 2); }), QStringLiteral("Margin side bounds error[%1]").arg(side));
        EXPECT_EQ(ErrorOf([column, side] { column->Margin(side); }), QStringLiteral("Margin side bounds error[%1]").arg(side));
    }
    EXPECT_EQ(column->MarginLeft(), 1) << "nothing written on a refused side";
}
