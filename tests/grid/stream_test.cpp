#include "grid/gridstream.h"
#include "testgrid.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

TEST(GridStream, AGridWithThreeGroupsComesBackExactly)
{
    TestGrid grid;
    grid.Footers().Add()->Title().SetCaption(QStringLiteral("합계"));
    grid.Footers().Add()->SetVisible(false);
    for (int g = 0; g < 3; ++g) {
        TwGroup *group = grid.Groups().Add();
        group->SetLevels(g + 1);
        group->SetWidth(80 + 20 * g);
        for (int level = 0; level < group->Levels(); ++level) {
            for (int i = 0; i <= level; ++i) {
                TestColumn *column = grid.AddColumn(QStringLiteral("%1-%2-%3").arg(g).arg(level).arg(i));
                group->InsertItem(level, i, column);
            }
        }
    }
    TwGroup *third = grid.Groups().Items(2);
    third->SetWeight(7);
    third->SetLevelWeight(1, 3);
    third->Title().SetHeight(15);
    third->Title().SetAlignment(taLeftJustify);
    grid.Groups().Items(1)->SetVisible(false);
    TwColumn *column = grid.Columns().Items(1);
    column->SetColor(0x00FFCC00u);
    column->SetEditFormat(QStringLiteral("#,##0.00"));
    column->SetItems({QStringLiteral("가"), QStringLiteral("나")});
    column->SetValues({QStringLiteral("A"), QStringLiteral("B")});
    column->Title().SetSortMark(wsmDesc);
    column->Footer().SetValues(0, QStringLiteral("=SUM"));
    column->SetReadOnly(true);
    column->SetWidth(77);
    grid.Columns().Items(2)->SetVisible(false);
    grid.SetRowHeight(25);
    grid.SetFixedCount(1);
    grid.SetOptions({wgoSkipReadOnly, wgoColSizing});
    grid.Headers().ColHeight = 30;
    grid.Indicators().SetWidth(30);
    grid.Markers().SetVisible(true);
    grid.Lines().CellColor = 0x123456u;
    grid.FixedStyle().SetOptions({wfxSelecting});
    grid.SetGroupMode(true);

    const QJsonObject first = TwGridStream::Write(grid);
    TestGrid copy;
    TwGridStream::Read(copy, first);
    const QJsonObject second = TwGridStream::Write(copy);
    EXPECT_EQ(QJsonDocument(second).toJson().toStdString(), QJsonDocument(first).toJson().toStdString());

    EXPECT_TRUE(copy.GroupMode());
    EXPECT_EQ(copy.Groups().Count(), 3);
    EXPECT_EQ(copy.Groups().GetVCount(), 2);
    const TwGroup *thirdCopy = copy.Groups().Items(2);
    EXPECT_EQ(thirdCopy->Weight(), 7);
    EXPECT_EQ(thirdCopy->GetLevelWeight(1), third->GetLevelWeight(1));
    EXPECT_EQ(thirdCopy->GetColCount(2), 3);
    EXPECT_EQ(thirdCopy->GetColumns(2, 1)->Title().Caption(), QStringLiteral("2-2-1"));
    EXPECT_EQ(thirdCopy->Title().Height(), 15);
    const TwColumn *columnCopy = copy.Columns().Items(1);
    EXPECT_EQ(columnCopy->ColWidth(), 77);
    EXPECT_EQ(columnCopy->Footer().GetValues(0), QStringLiteral("=SUM"));
    EXPECT_EQ(columnCopy->Title().SortMark(), wsmDesc);
    EXPECT_FALSE(copy.Columns().Items(2)->Visible());
    EXPECT_EQ(copy.Columns().GetVCount(), grid.Columns().Count() - 1);
    EXPECT_EQ(copy.GrpFixedCount(), grid.GrpFixedCount());
    EXPECT_EQ(copy.ColRowHeight(), 25);
    EXPECT_EQ(copy.Footers().GetVCount(), 1);
}

TEST(GridStream, AFreshGridWritesNothingButItsStructure)
{
    TestGrid grid;
    grid.AddColumn();
    const QJsonObject json = TwGridStream::Write(grid);
    // The indicators' font is set when they are created, so it counts as assigned.
    EXPECT_EQ(json.keys().join(QLatin1Char(',')), QStringLiteral("Columns,Indicators"));
    EXPECT_EQ(json.value(QStringLiteral("Columns")).toArray().at(0).toObject(), QJsonObject());
    EXPECT_EQ(json.value(QStringLiteral("Indicators")).toObject().keys(), QStringList{QStringLiteral("Font")});
}
