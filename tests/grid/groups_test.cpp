#include "platform/texception.h"
#include "testgrid.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

QString Weights(const TwGroup &group)
{
    QStringList weights;
    for (int level = 0; level < group.Levels(); ++level)
        weights << QString::number(group.GetLevelWeight(level));
    return weights.join(QLatin1Char(',')) + QStringLiteral(" =") + QString::number(group.Weight());
}

QString Widths(const TwGroup &group, int level)
{
    QStringList widths;
    for (int i = 0; i < group.GetColCount(level); ++i)
        widths << QString::number(group.GetColumns(level, i)->GrpWidth());
    return widths.join(QLatin1Char(','));
}


} // namespace

TEST(Groups, WeightsShareOutAndMoveBetweenLevels)
{
    TestGrid grid;
    TwGroup *group = grid.Groups().Add();
    group->SetLevels(3);
    EXPECT_EQ(Weights(*group), QStringLiteral("1,1,1 =3"));
    group->SetWeight(5);
    EXPECT_EQ(Weights(*group), QStringLiteral("3,1,1 =5"));
    group->SetWeight(4);
    EXPECT_EQ(Weights(*group), QStringLiteral("2,1,1 =4"));
    group->SetWeight(20);
    EXPECT_EQ(Weights(*group), QStringLiteral("7,1,1 =9")) << "clamped to three times the levels";
    group->SetWeight(5);
    EXPECT_EQ(Weights(*group), QStringLiteral("3,1,1 =5"));

    group->SetLevelWeight(0, 1);
    EXPECT_EQ(Weights(*group), QStringLiteral("1,3,1 =5"));
    group->SetLevelWeight(2, 3);
    EXPECT_EQ(Weights(*group), QStringLiteral("1,1,3 =5"));

    EXPECT_EQ(ErrorOf([group] { group->GetLevelWeight(3); }), QStringLiteral("Level bounds error in GetLevelWeight(3)"));
    EXPECT_EQ(ErrorOf([group] { group->SetLevelWeight(-1, 2); }), QStringLiteral("Level bounds error in GetLevelWeight(-1)"));
    group->SetWeight(3);
    group->SetLevelWeight(1, 3);
    EXPECT_EQ(Weights(*group), QStringLiteral("1,1,1 =3")) << "all ones at the level count: nothing to move";
}

TEST(Groups, LevelsClampAndRefuseToDropLevelsWithColumns)
{
    TestGrid grid;
    TwGroup *group = grid.Groups().Add();
    group->SetLevels(0);
    EXPECT_EQ(group->Levels(), 1);
    group->SetLevels(20);
    EXPECT_EQ(group->Levels(), 16);
    group->SetLevels(3);
    group->InsertItem(2, 0, grid.AddColumn());
    EXPECT_EQ(ErrorOf([group] { group->SetLevels(2); }),
              QStringLiteral("Level 2에는 연결된 컬럼들이 존재합니다\r\n이들과의 연결을 먼저 끊어야합니다"));
    EXPECT_EQ(group->Levels(), 3);
}

TEST(Groups, HeaderBodyAndFooterOffsetsFollowTheWeights)
{
    TestGrid grid;
    grid.Footers().Add();
    TwGroup *group = grid.Groups().Add();
    group->SetLevels(2);
    grid.Footers().CalcVItems();
    group->ReadExtents();
    EXPECT_EQ(group->GetHTops(-1), 0);
    EXPECT_EQ(group->GetHTops(0), 19);
    EXPECT_EQ(group->GetHTops(1), 30);
    EXPECT_EQ(group->GetHTops(2), 42);
    EXPECT_EQ(group->GetBTops(1), 18);
    EXPECT_EQ(group->GetBTops(2), 36);
    EXPECT_EQ(group->GetFTops(0, 1), 22) << "one more pixel per level in footers";
    EXPECT_EQ(group->GetFTops(0, 2), 42);
}

TEST(Groups, InsertingAndRemovingColumnsKeepsTheLineFilled)
{
    TestGrid grid;
    TwGroup *group = grid.Groups().Add();
    TestColumn *first = grid.AddColumn();
    group->InsertItem(0, 0, first);
    EXPECT_EQ(first->GrpWidth(), 64);
    TestColumn *second = grid.AddColumn();
    group->InsertItem(0, 5, second);
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("32,32"));
    EXPECT_EQ(second->LevelIndex(), 1);
    TestColumn *third = grid.AddColumn();
    group->InsertItem(0, 0, third);
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("16,16,32")) << "takes half of its right neighbour";
    EXPECT_EQ(first->LevelIndex(), 1);

    group->RemoveItem(first);
    EXPECT_EQ(first->Group(), -1);
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("24,40"));
    EXPECT_TRUE(group->MoveItem(second, 0));
    EXPECT_EQ(third->LevelIndex(), 1);
    EXPECT_FALSE(group->MoveItem(first, 0)) << "not in this group";
}

TEST(Groups, ANarrowNeighbourWidensTheGroup)
{
    TestGrid grid;
    TwGroup *group = grid.Groups().Add();
    group->InsertItem(0, 0, grid.AddColumn());
    group->SetWidth(6);
    EXPECT_EQ(group->Width(), 6);
    group->InsertItem(0, 1, grid.AddColumn());
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("4,4"));
    EXPECT_EQ(group->Width(), 8);
    group->SetWidth(3);
    EXPECT_EQ(group->Width(), 8) << "at least 4 × the widest line";
}

TEST(Groups, GroupWidthSharesGrowthAndShrinkAmongTheColumns)
{
    TestGrid grid;
    TwGroup *group = grid.Groups().Add();
    group->SetWidth(90);
    for (int i = 0; i < 3; ++i)
        group->InsertItem(0, i, grid.AddColumn());
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("45,23,22"));
    group->SetWidth(120);
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("55,33,32")) << "each gains (120-90)/3, the last the rest";
    group->SetWidth(60);
    // saved × (60 − 12) / 120 + 4 for all but the last.
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("26,17,17"));

    TwColumn *middle = group->GetColumns(0, 1);
    grid.SetGroupMode(true);
    middle->SetWidth(30);
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("26,30,4")) << "the partner gives at most down to 4";
    middle->SetWidth(10);
    EXPECT_EQ(Widths(*group, 0), QStringLiteral("26,10,24"));
}

TEST(Groups, GroupModeNeedsAVisibleGroupAndCaptionsAreNumbered)
{
    TestGrid grid;
    grid.SetGroupMode(true);
    EXPECT_FALSE(grid.GroupMode());
    TwGroup *a = grid.Groups().Add();
    EXPECT_EQ(a->Title().Caption(), QStringLiteral("Group0"));
    a->Title().SetCaption(QStringLiteral("GROUP7"));
    TwGroup *b = grid.Groups().Add();
    EXPECT_EQ(b->Title().Caption(), QStringLiteral("Group8"));
    b->Title().SetCaption(QStringLiteral("Group x"));
    EXPECT_EQ(grid.Groups().Add()->Title().Caption(), QStringLiteral("Group8"));

    grid.SetGroupMode(true);
    EXPECT_TRUE(grid.GroupMode());
    for (int i = 0; i < grid.Groups().Count(); ++i)
        grid.Groups().Items(i)->SetVisible(false);
    EXPECT_FALSE(grid.GroupMode()) << "the last visible group gone: back to column mode";
}

// Regression: a strip past the last group had no width in column mode but threw in group mode.
TEST(Groups, RegressionAStripOutsideTheGroupsHasNoWidth)
{
    TestGrid grid;
    grid.Groups().Add();
    grid.SetGroupMode(true);
    ASSERT_TRUE(grid.GroupMode());
    EXPECT_EQ(grid.StripWidth(grid.StripCount()), 0);
    EXPECT_EQ(grid.StripWidth(-1), 0);
}

// Regression: a property handler that throws ended the program (the notification ran in a
// destructor); now its exception leaves the setter, which keeps the new value.
TEST(Groups, RegressionAThrowingPropertyHandlerLeavesTheSetter)
{
    TestGrid grid;
    QObject::connect(&grid, &TwCustomGrid::ColorChanged, &grid, [] { throw TException(QStringLiteral("handler")); });
    EXPECT_EQ(ErrorOf([&] { grid.SetColor(0x123456); }), QStringLiteral("handler"));
    EXPECT_EQ(grid.Color(), 0x123456u);
}

TEST(Groups, RegressionCurrentCellFollowsItsGroupWhenAnEarlierGroupIsHidden)
{
    TestGrid grid;
    for (int g = 0; g < 3; ++g)
        grid.Groups().Add()->InsertItem(0, 0, grid.AddColumn(QStringLiteral("c%1").arg(g)));
    grid.SetGroupMode(true);
    grid.SetCurCell(WCell(2, 0, 0));
    ASSERT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("c2"));

    grid.Groups().Items(0)->SetVisible(false);
    EXPECT_EQ(grid.CurCell().Group, 1);
    ASSERT_NE(grid.SelectedColumn(), nullptr);
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("c2"));

    grid.Groups().Items(0)->SetVisible(true);
    EXPECT_EQ(grid.CurCell().Group, 2) << "an earlier group shown again pushes the current cell on";
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("c2"));

    grid.Groups().Items(2)->SetVIndex(0);
    EXPECT_EQ(grid.CurCell().Group, 0) << "the current group moved to the front";
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("c2"));

    grid.Groups().Items(2)->SetVisible(false);
    ASSERT_NE(grid.SelectedColumn(), nullptr) << "hiding the current group moves to the first selectable cell";
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("c0"));
}

TEST(Groups, RegressionCurrentCellFollowsItsGroupWhenAGroupIsDeleted)
{
    struct Case
    {
        int Deleted;
        const char *Selected; // caption of the selected column afterwards
        int Group;            // its visible position
    };
    const Case cases[] = {
        {0, "c2", 1}, // an earlier group goes: the current cell moves back with its group
        {1, "c2", 1},
        {2, "c0", 0}, // the current group goes: the first selectable cell
    };
    for (const Case &c : cases) {
        TestGrid grid;
        for (int g = 0; g < 3; ++g)
            grid.Groups().Add()->InsertItem(0, 0, grid.AddColumn(QStringLiteral("c%1").arg(g)));
        grid.SetGroupMode(true);
        grid.SetCurCell(WCell(2, 0, 0));
        grid.Groups().Delete(c.Deleted);
        EXPECT_EQ(grid.CurCell().Group, c.Group) << c.Deleted;
        ASSERT_NE(grid.SelectedColumn(), nullptr) << c.Deleted;
        EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QString::fromLatin1(c.Selected)) << c.Deleted;
    }
}

// The grid follows a move of the current column or group by moving its current cell, which
// raises the cell events. A handler that throws ends the move with its exception, as it ends
// a setter, and the grid goes on working; it never ends the program.
TEST(Groups, RegressionAThrowingCellHandlerLeavesAMoveAndTheGridGoesOn)
{
    TestGrid grid;
    for (int g = 0; g < 3; ++g) {
        TwGroup *group = grid.Groups().Add();
        group->SetLevels(2);
        group->InsertItem(0, 0, grid.AddColumn(QStringLiteral("c%1").arg(g)));
    }
    grid.SetGroupMode(true);
    grid.SetCurCell(WCell(1, 0, 0));
    bool refuse = true;
    QObject::connect(&grid, &TwCustomGrid::OnCellExit, &grid, [&refuse] {
        if (refuse)
            throw TException(QStringLiteral("not now"));
    });
    TwColumn *current = grid.SelectedColumn();
    ASSERT_EQ(current->Title().Caption(), QStringLiteral("c1"));
    EXPECT_EQ(ErrorOf([current] { current->SetLevel(1); }), QStringLiteral("not now"));
    EXPECT_EQ(ErrorOf([&grid] { grid.Groups().Items(1)->SetVisible(false); }), QStringLiteral("not now"));

    refuse = false;
    grid.Groups().Items(1)->SetVisible(true);
    grid.SetCurCell(WCell(2, 0, 0));
    grid.Groups().Items(0)->SetVisible(false);
    EXPECT_EQ(grid.CurCell().Group, 1) << "the next move is followed again";
    EXPECT_EQ(grid.SelectedColumn()->Title().Caption(), QStringLiteral("c2"));
}
