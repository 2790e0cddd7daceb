// Moving through the rows of the complete grid as a user does: the row events and their
// order, the delayed row-change notification, the wheel, range selection, and rows counted
// in rows, not pixels, up to 2^31-1.

#include "demo/demogrid.h"
#include "grid/gridstream.h"
#include "grid/core/extents.h"
#include "opengrid.h"
#include "testsupport.h"

#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <limits>

namespace {

class TabrixTest : public ::testing::Test
{
protected:
    TabrixTest()
    {
        for (int i = 0; i < 2; ++i)
            static_cast<TwMemColumn *>(m_grid.Columns().Add())->SetDataType(wdtLong);
        m_grid.resize(300, 200);
        m_grid.show();
        m_grid.SetRowCount(100);
        const auto record = [this](const char *what) {
            return [this, what] { m_events << QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(m_grid.CurRow()); };
        };
        QObject::connect(&m_grid, &TTabrix::OnRowExit, &m_grid, record("exit"));
        QObject::connect(&m_grid, &TTabrix::OnRowEnter, &m_grid, record("enter"));
        QObject::connect(&m_grid, &TTabrix::OnRowChange, &m_grid, record("change"));
    }

    void Wheel(int delta)
    {
        QWheelEvent event(QPointF(50, 50), m_grid.viewport()->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_grid.viewport(), &event);
    }

    QString Events() const { return m_events.join(QLatin1Char('|')); }

    OpenTabrix m_grid;
    QStringList m_events;
};

} // namespace

TEST_F(TabrixTest, RowMovesRaiseExitEnterThenOneDelayedChange)
{
    m_grid.SetChangeDelay(20);
    QSignalSpy changes(&m_grid, &TTabrix::OnRowChange);
    m_grid.SetCurRow(3);
    EXPECT_EQ(Events(), QStringLiteral("exit 0|enter 3")) << "the change waits for the delay";
    ASSERT_TRUE(changes.wait(1000));
    EXPECT_EQ(Events(), QStringLiteral("exit 0|enter 3|change 3"));

    m_events.clear();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&m_grid, Qt::Key_Down);
    EXPECT_EQ(m_grid.CurRow(), 8);
    ASSERT_TRUE(changes.wait(1000));
    QTest::qWait(60);
    EXPECT_EQ(changes.count(), 2) << "five quick moves, one change";

    // A row-exit handler that moves the row itself decides where the grid goes.
    m_events.clear();
    const auto connection = QObject::connect(&m_grid, &TTabrix::OnRowExit, &m_grid, [this] { m_grid.SetCurRow(50); });
    m_grid.SetCurRow(9);
    QObject::disconnect(connection);
    ASSERT_TRUE(changes.wait(1000));
    EXPECT_EQ(Events(), QStringLiteral("exit 8|enter 50|change 50"));
    EXPECT_EQ(m_grid.CurRow(), 50);

    m_grid.SetChangeDelay(0);
    m_events.clear();
    QTest::keyClick(&m_grid, Qt::Key_Up);
    QTest::qWait(60);
    EXPECT_EQ(Events(), QStringLiteral("exit 50|enter 49")) << "no change event with a delay of 0";
}

TEST_F(TabrixTest, WheelTurnsAddUpToWholeRows)
{
    m_grid.SetTopRow(10);
    for (int i = 0; i < 3; ++i)
        Wheel(30);
    EXPECT_EQ(m_grid.TopRow(), 10) << "three quarters of a notch";
    Wheel(30);
    EXPECT_EQ(m_grid.TopRow(), 9);
    Wheel(-240);
    EXPECT_EQ(m_grid.TopRow(), 11);
    EXPECT_EQ(m_grid.verticalScrollBar()->value(), 11) << "the scroll bar counts rows";
}

TEST_F(TabrixTest, ShiftWithArrowsSelectsARangeThatAPlainMoveTurnsIntoMarks)
{
    m_grid.SetOptions({wgoMultiSelect});
    m_grid.SetCurRow(4);
    QTest::keyClick(&m_grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&m_grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&m_grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(m_grid.CurRow(), 5);
    EXPECT_EQ(m_grid.GetSelectedCount(), 2);
    EXPECT_TRUE(m_grid.GetSelected(4) && m_grid.GetSelected(5) && !m_grid.GetSelected(6));
    EXPECT_EQ(m_grid.GetIndiState(5), windiSelArrow);
    QTest::keyClick(&m_grid, Qt::Key_Down);
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);
    EXPECT_TRUE(m_grid.RowInfos().Checked(4) && m_grid.RowInfos().Checked(5)) << "the range is kept as marks";
    EXPECT_EQ(ErrorOf([this] { m_grid.SetSelected(100, true); }), QStringLiteral("Bound Error in SetSelected(100)"));
}

TEST(TabrixRows, TopRowAndTheScrollBarCountRowsUpToTheLargestCount)
{
    TabrixDemo::TGeneratedGrid grid;
    TabrixDemo::BuildGrid(grid, false);
    grid.resize(600, 400);
    grid.show();
    constexpr int Most = std::numeric_limits<int>::max();
    grid.SetRowCount(Most);
    const int visible = grid.VisibleRowCount();
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), Most - visible);
    grid.SetTopRow(Most);
    EXPECT_EQ(grid.TopRow(), Most - visible);
    grid.resize(600, 600);
    QApplication::sendPostedEvents();
    EXPECT_GT(grid.VisibleRowCount(), visible);
    EXPECT_EQ(grid.TopRow(), Most - grid.VisibleRowCount()) << "a taller window leaves no empty rows at the end";
    QTest::keyClick(&grid, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(grid.CurRow(), Most - 1);
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.TopRow());
    EXPECT_EQ(grid.GetIndiState(Most - 1), windiArrow);
    const QImage shot = grid.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    QTest::keyClick(&grid, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(grid.CurRow(), 0);
    EXPECT_EQ(grid.TopRow(), 0);
}

TEST(TabrixRows, TheRowCountAndCellsCheckTheirBounds)
{
    OpenTabrix grid;
    grid.SetRowCount(5);
    EXPECT_EQ(grid.GetRowCount(), 0) << "no columns, no rows";
    static_cast<TwMemColumn *>(grid.Columns().Add())->SetDataType(wdtLong);
    grid.SetRowCount(5);
    grid.Cells(0, 4).SetLong(7);
    EXPECT_EQ(grid.GetDisplayText(grid.GetMemColumn(0), 4), QStringLiteral("7"));
    EXPECT_EQ(ErrorOf([&grid] { grid.Cells(1, 0); }), QStringLiteral("Cells col bounds error[1]"));
    EXPECT_EQ(ErrorOf([&grid] { grid.Cells(0, 5); }), QStringLiteral("Cells row bounds error[5]"));
    grid.SetCurRow(4);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.CurRow(), 1) << "the current row follows a shrinking count";
    EXPECT_TRUE(grid.CheckNull(grid.GetMemColumn(0), 1));
}

// Scrolling by one row moves the data band's pixels and paints the uncovered row only: what
// the screen shows then must match a full repaint, headers and footers untouched.
TEST(TabrixRows, ScrollingByOneRowShowsWhatAFullRepaintShows)
{
    OpenTabrix grid;
    for (int i = 0; i < 2; ++i)
        static_cast<TwMemColumn *>(grid.Columns().Add())->SetDataType(wdtLong);
    grid.Footers().Add();
    grid.Indicators().SetShowRowNo(true);
    grid.resize(240, 200);
    grid.SetRowCount(50);
    for (int row = 0; row < 50; ++row)
        grid.Cells(0, row).SetLong(row * 11);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const int visible = grid.VisibleRowCount();
    grid.SetCurRow(visible - 1);
    QTest::qWait(20);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.TopRow(), 2);
    QTest::qWait(20);
    const QImage screen = grid.screen()->grabWindow(grid.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = grid.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), fresh.size());
    const QPoint origin = grid.viewport()->mapTo(&grid, QPoint(0, 0));
    const TwGridExtents &extents = grid.Extents();
    int differing = 0;
    for (int x : {extents.GetLefts(-2) + 12, extents.GetLefts(0) + 20, extents.GetLefts(0) + 40}) {
        for (int y = 0; y < grid.viewport()->height(); ++y)
            differing += screen.pixel(origin.x() + x, origin.y() + y) != fresh.pixel(origin.x() + x, origin.y() + y);
    }
    EXPECT_EQ(differing, 0);
}

TEST(TabrixRows, EqualValuesShowOnceBelowTheTopRowAndAWheelWithoutRowsToScrollWalksColumns)
{
    OpenTabrix grid;
    for (int i = 0; i < 10; ++i) {
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(wdtLong);
        column->SetWidth(60);
    }
    grid.GetMemColumn(0)->SetEqualBlank(true);
    grid.resize(300, 200);
    grid.show();
    grid.SetRowCount(3);
    for (int row = 0; row < 3; ++row)
        grid.Cells(0, row).SetLong(5);
    TwColumn *column = grid.GetMemColumn(0);
    const QStringList texts{grid.GetDisplayText(column, 0), grid.GetDisplayText(column, 1), grid.GetDisplayText(column, 2)};
    EXPECT_EQ(texts.join(QLatin1Char('|')), QStringLiteral("5||"));

    QWheelEvent towards(QPointF(50, 50), grid.viewport()->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &towards);
    EXPECT_EQ(grid.GetLeftCol(), 1) << "all rows show: the next column comes in";
    EXPECT_EQ(grid.TopRow(), 0);
    grid.horizontalScrollBar()->setValue(0);
    EXPECT_EQ(grid.LeftPos(), 0) << "the bar brings the first column back";
}

TEST(TabrixRows, ADesignLoadsWithItsRowsEmptyAndItsSettings)
{
    TTabrix designed;
    static_cast<TwMemColumn *>(designed.Columns().Add())->SetDataType(wdtLong);
    designed.SetRowCount(3);
    designed.Cells(0, 1).SetLong(9);
    designed.SetSoftDeleting(true);
    designed.SetMaxRowCount(-4);
    EXPECT_EQ(designed.MaxRowCount(), 0) << "negative counts store 0";

    TTabrix loaded;
    QSignalSpy rowCounts(&loaded, &TTabrix::RowCountChanged);
    TwGridStream::Read(loaded, TwGridStream::Write(designed));
    EXPECT_EQ(loaded.GetRowCount(), 3);
    EXPECT_TRUE(loaded.SoftDeleting());
    EXPECT_TRUE(loaded.Cells(0, 1).Null()) << "a design keeps the count, not the values";
    EXPECT_EQ(rowCounts.count(), 1);
}

TEST_F(TabrixTest, AnExitHandlerThatTakesRowsAwayLeavesTheCurrentRowAmongTheRest)
{
    const auto connection = QObject::connect(&m_grid, &TTabrix::OnRowExit, &m_grid, [this] { m_grid.SetRowCount(3); });
    m_grid.SetCurRow(50);
    QObject::disconnect(connection);
    EXPECT_EQ(m_grid.CurRow(), 2);
    EXPECT_EQ(Events(), QStringLiteral("exit 0|enter 2"));
}

TEST_F(TabrixTest, TheScrollBarMovesTheRowsAfterKeysMovedThem)
{
    m_grid.SetCurRow(m_grid.VisibleRowCount() + 10);
    ASSERT_GT(m_grid.TopRow(), 0);
    m_grid.verticalScrollBar()->setValue(0);
    EXPECT_EQ(m_grid.TopRow(), 0);
    m_grid.verticalScrollBar()->setValue(20);
    EXPECT_EQ(m_grid.TopRow(), 20);
}

TEST(TabrixRows, RowsShownAtDesignTimeTakeFocusAndShiftKeysWithoutRowBytes)
{
    OpenTabrix grid;
    static_cast<TwMemColumn *>(grid.Columns().Add())->SetDataType(wdtLong);
    grid.SetDesigning(true);
    grid.SetOptions({wgoMultiSelect});
    grid.resize(300, 200);
    grid.show();
    grid.SetRowCount(5);
    EXPECT_NO_THROW(grid.InvalidateSelection());
    EXPECT_NO_THROW(QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier));
    EXPECT_EQ(grid.CurRow(), 1);
}
