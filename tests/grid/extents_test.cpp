#include "platform/texception.h"
#include "testgrid.h"
#include "testsupport.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

// A grid of `count` columns of `width`, laid out in a client of 300 × 200.
class ExtentsTest : public ::testing::Test
{
protected:
    void Columns(int count, int width)
    {
        for (int i = 0; i < count; ++i)
            m_grid.AddColumn(QString::number(i), width);
    }

    void Read(int width = 300, int height = 200) { m_grid.Extents().ReadInfo(QRect(0, 0, width, height)); }

    TestGrid m_grid;
};

} // namespace

TEST_F(ExtentsTest, RowsShownAndTheDataBottom)
{
    Columns(2, 50);
    m_grid.Footers().Add();
    m_grid.RowCount = 3;
    m_grid.TopRow = 1;
    Read();
    const TwGridExtents &e = m_grid.Extents();
    EXPECT_EQ(e.GetHeadBottom(), 21);
    EXPECT_EQ(e.FooterTop(), 179);
    EXPECT_EQ(e.RowsShown(), 9);
    EXPECT_EQ(e.RowsFullyShown(), 8);
    EXPECT_EQ(e.DataRect().top() + e.DataRect().height(), 21 + 2 * 18) << "two rows from the top row on";
    EXPECT_EQ(e.MouseToRow(21 + 18 + 1), 2);
    EXPECT_EQ(e.MouseToRow(21 + 2 * 18), -1) << "below the last row";
    EXPECT_EQ(e.MouseToRow(20), -1);
    EXPECT_EQ(e.MouseToFootRow(180), 0);

    m_grid.RowCount = 0;
    m_grid.TopRow = 0;
    Read();
    EXPECT_EQ(m_grid.Extents().DataRect().top() + m_grid.Extents().DataRect().height(), 21 + 18)
        << "an empty grid reserves one row";
}

TEST_F(ExtentsTest, StripEdgesFollowTheIndicatorAndMarkerStrips)
{
    Columns(3, 50);
    m_grid.Indicators().SetVisible(false);
    m_grid.Markers().SetVisible(true);
    Read();
    const TwGridExtents &e = m_grid.Extents();
    EXPECT_EQ(e.GetLefts(0), 15) << "strip 0 starts at the marker width";
    EXPECT_EQ(e.GetLefts(-1), 0);
    EXPECT_EQ(e.GetRights(2), 165);
    EXPECT_EQ(e.MouseToCol(14), -1);
    EXPECT_EQ(e.MouseToCol(15), 0);
    EXPECT_EQ(e.MouseToCol(164), 2);
    EXPECT_EQ(e.MouseToCol(165), -1);
    EXPECT_EQ(e.GetColRect(0, 0), QRect(15, 21, 49, 17)) << "less the grid's line widths";
}

TEST_F(ExtentsTest, FixedStripsHideWhatScrollsBeneathThem)
{
    Columns(6, 100);
    m_grid.SetFixedCount(1);
    Read();
    m_grid.SetLeftPos(60);
    Read();
    const TwGridExtents &e = m_grid.Extents();
    EXPECT_EQ(e.ScrollingLeft(), 21 + 100);
    EXPECT_EQ(e.GetLefts(1), 121 - 60);
    EXPECT_EQ(e.MouseToCol(70), 0) << "the fixed strip, not the scrolled one under it";
    EXPECT_EQ(e.MouseToCol(130), 1);
    EXPECT_EQ(m_grid.GetLeftCol(), 1);
    m_grid.SetLeftCol(0);
    EXPECT_EQ(m_grid.LeftPos(), 0) << "an index inside the fixed area scrolls to the start";
    m_grid.SetLeftCol(3);
    EXPECT_EQ(m_grid.LeftPos(), 200);
}

TEST_F(ExtentsTest, ScrollWidthAdvancesStripByStripPlusAnOverhang)
{
    Columns(2, 100);
    Read();
    EXPECT_EQ(m_grid.Extents().GetScrollWidth(), 0) << "everything fits";
    m_grid.Columns().Items(1)->SetWidth(500);
    Read();
    // 279 pixels for 600: the first strip scrolls away, then the last overhangs by 221.
    EXPECT_EQ(m_grid.Extents().GetScrollWidth(), 100 + 500 - 279);
    m_grid.SetLeftPos(10000);
    EXPECT_EQ(m_grid.LeftPos(), 321) << "clamped to the range";
    m_grid.SetLeftPos(-5);
    EXPECT_EQ(m_grid.LeftPos(), 0);

    TestGrid empty;
    empty.Extents().ReadInfo(QRect(0, 0, 300, 200));
    EXPECT_EQ(empty.Extents().GetScrollWidth(), 0);
    EXPECT_TRUE(empty.IsNullGrid());
}

TEST_F(ExtentsTest, GroupCellsAreFoundThroughLevelsAndColumns)
{
    TwGroup *group = m_grid.Groups().Add();
    group->SetLevels(2);
    group->SetWidth(100);
    TestColumn *a = m_grid.AddColumn(QStringLiteral("A"));
    TestColumn *b = m_grid.AddColumn(QStringLiteral("B"));
    TestColumn *c = m_grid.AddColumn(QStringLiteral("C"));
    group->InsertItem(0, 0, a);
    group->InsertItem(0, 1, b);
    group->InsertItem(1, 0, c);
    m_grid.SetGroupMode(true);
    m_grid.RowCount = 5;
    Read();
    const TwGridExtents &e = m_grid.Extents();
    EXPECT_EQ(e.GetCellBound(WCell(0, 0, 1), 0), QRect(21 + 50, 42, 50, 18));
    EXPECT_EQ(e.MouseToCell(21 + 60, 42 + 5, 0), WCell(0, 0, 1));
    EXPECT_EQ(e.MouseToCell(21 + 60, 42 + 20, 0), WCell(0, 1, 0));
    EXPECT_EQ(e.MouseToHeadCell(21 + 10, 25), WCell(0, 0, 0));
    EXPECT_EQ(e.MouseToGroupTitle(21 + 10, 10), 0);
    EXPECT_EQ(e.MouseToGroupTitle(21 + 10, 25), -1);
    // Inside a line the right line is the cell line; the last column uses the vertical line.
    EXPECT_EQ(e.GetCellRect(WCell(0, 0, 0), 0).width(), 50 - m_grid.Lines().CellWidth());
    EXPECT_EQ(m_grid.ColumnByVCell(WCell(0, 1, 0)), c);
    EXPECT_TRUE(m_grid.InGroupCells(21 + 60, 42 + 36 + 20));
    EXPECT_EQ(m_grid.MouseCell(), WCell(0, 1, 0)) << "second row, second level";
    EXPECT_EQ(m_grid.ColumnByVCell(WCell(0, 1, 1)), nullptr);
}

TEST_F(ExtentsTest, GridPredicatesRememberTheHitStripOrCell)
{
    Columns(2, 50);
    m_grid.Markers().SetVisible(true);
    m_grid.RowCount = 2;
    Read();
    EXPECT_TRUE(m_grid.InIndicators(0));
    EXPECT_FALSE(m_grid.InIndicators(21));
    EXPECT_TRUE(m_grid.InMarkers(21));
    EXPECT_FALSE(m_grid.InMarkers(36));
    const int x = 21 + 15 + 60; // the second column
    EXPECT_EQ(m_grid.InRows(x, 21 + 20), 1);
    EXPECT_EQ(m_grid.InRows(x, 21 + 40), -1) << "below the rows";
    EXPECT_EQ(m_grid.InRows(250, 30), -1) << "right of the data area";
    EXPECT_TRUE(m_grid.InColCells(x, 30));
    EXPECT_EQ(m_grid.MouseCol(), 1);
    EXPECT_FALSE(m_grid.InGroupCells(x, 30)) << "not in group mode";
    m_grid.SetDesigning(true);
    EXPECT_EQ(m_grid.InRows(x, 30), -1);
}

TEST_F(ExtentsTest, RegressionSizesClampToTheLargestPixelSizeAndSumsNeverWrap)
{
    constexpr int huge = std::numeric_limits<int>::max();
    Columns(3, 50);
    m_grid.Footers().Add();
    TwGroup *group = m_grid.Groups().Add();
    struct Case
    {
        const char *Name;
        std::function<void(int)> Set;
        std::function<int()> Get;
    };
    const Case cases[] = {
        {"column width", [&](int v) { m_grid.Columns().Items(0)->SetWidth(v); }, [&] { return m_grid.Columns().Items(0)->ColWidth(); }},
        {"group width", [&](int v) { group->SetWidth(v); }, [&] { return group->Width(); }},
        {"row height", [&](int v) { m_grid.SetRowHeight(v); }, [&] { return m_grid.RowHeight(); }},
        {"header height", [&](int v) { m_grid.Headers().SetHeight(v); }, [&] { return m_grid.Headers().Height(); }},
        {"footer height", [&](int v) { m_grid.Footers().Items(0)->SetHeight(v); }, [&] { return m_grid.Footers().Items(0)->Height(); }},
        {"indicator width", [&](int v) { m_grid.Indicators().SetWidth(v); }, [&] { return m_grid.Indicators().Width(); }},
        {"marker width", [&](int v) { m_grid.Markers().SetWidth(v); }, [&] { return m_grid.Markers().Width(); }},
    };
    for (const Case &c : cases) {
        c.Set(huge);
        EXPECT_EQ(c.Get(), TwMaxPixels) << c.Name;
    }
    for (int i = 1; i < 3; ++i)
        m_grid.Columns().Items(i)->SetWidth(huge);
    m_grid.RowCount = 1'000'000;
    Read();
    const TwGridExtents &e = m_grid.Extents();
    EXPECT_EQ(e.ScrollWidthTotal(), 3 * TwMaxPixels);
    EXPECT_GT(e.GetRights(2), e.GetLefts(2));
    EXPECT_GT(e.DataHeight(), 0) << "a million rows of the largest height do not wrap";
    EXPECT_GT(e.GetBottoms(999'999), e.GetTops(0));
}

namespace {

// A grid whose click handling fails, as an application handler on a grid may.
class FailingClickGrid : public TestGrid
{
public:
    using TwCustomGrid::event;
    using TwCustomGrid::viewportEvent;

protected:
    void mousePressEvent(QMouseEvent *) override { throw TException(QStringLiteral("행 번호가 범위를 벗어났습니다.")); }
};

} // namespace

TEST(GridEvents, AFailureWhileTheGridHandlesAnEventIsReportedByTheGridItself)
{
    MessageBoxRecorder boxes;
    FailingClickGrid grid;
    grid.resize(200, 100);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    // Called directly, past the application object: the grid catches on its own.
    EXPECT_NO_THROW(grid.viewportEvent(&press));
    EXPECT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls().front().Text, QStringLiteral("행 번호가 범위를 벗어났습니다."));
}
