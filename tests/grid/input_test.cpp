#include "grid/gridstream.h"
#include "grid/core/extents.h"
#include "testgrid.h"
#include "testsupport.h"

#include <QApplication>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>

namespace {

// A grid whose rows are a count; it records what the core hands to the complete grid.
class InputGrid : public TestGrid
{
public:
    QStringList Log;

    void SetCurRow(int row) override
    {
        Log << QStringLiteral("row%1").arg(row);
        AssignCurRow(row);
    }
    void DoInRow(Qt::KeyboardModifiers) override { Log << QStringLiteral("inrow"); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Down)
            Log << (RowMoving() ? QStringLiteral("down(moving)") : QStringLiteral("down"));
        TwCustomGrid::keyPressEvent(event);
    }
};

// Four columns 60 wide and five rows in a shown window, beside an edit that can take the
// focus. Strip 0 begins right of the 21-pixel indicators, below the 21-pixel header.
class InputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&m_window);
        m_grid = new InputGrid;
        m_edit = new QLineEdit;
        layout->addWidget(m_grid);
        layout->addWidget(m_edit);
        for (int i = 0; i < 4; ++i)
            m_grid->AddColumn(QString::number(i), 60);
        m_grid->RowCount = 5;
        m_window.resize(420, 300);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        QObject::connect(m_grid, &TwCustomGrid::OnCellExit, [this] { m_grid->Log << QStringLiteral("exit%1").arg(PositionText()); });
        QObject::connect(m_grid, &TwCustomGrid::OnCellEnter, [this] { m_grid->Log << QStringLiteral("enter%1").arg(PositionText()); });
    }

    QString PositionText() const
    {
        if (m_grid->ColumnMode())
            return QString::number(m_grid->CurCol());
        const TwCell cell = m_grid->CurCell();
        return QStringLiteral("(%1,%2,%3)").arg(cell.Group).arg(cell.Level).arg(cell.Index);
    }
    std::string Position() const { return PositionText().toStdString(); }

    std::string TakeLog() { return std::exchange(m_grid->Log, {}).join(u'|').toStdString(); }

    QWidget *Port() const { return m_grid->viewport(); }
    static QPoint Cell(int column, int row) { return QPoint(21 + 60 * column + 30, 21 + 18 * row + 9); }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(Port(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(Port(), to);
        QTest::mouseRelease(Port(), Qt::LeftButton, modifiers, to);
    }

    // Group mode with one group of two levels holding one column each.
    TwGroup *TwoLevelGroup()
    {
        TwGroup *group = m_grid->Groups().Add();
        group->SetLevels(2);
        m_grid->Columns().Items(0)->SetCell(WCell(0, 0, 0));
        m_grid->Columns().Items(1)->SetCell(WCell(0, 1, 0));
        m_grid->SetGroupMode(true);
        return group;
    }

    QWidget m_window;
    InputGrid *m_grid = nullptr;
    QLineEdit *m_edit = nullptr;
};

std::string Weights(const TwGroup &group)
{
    QStringList weights;
    for (int level = 0; level < group.Levels(); ++level)
        weights << QString::number(group.GetLevelWeight(level));
    return weights.join(u',').toStdString();
}

} // namespace

TEST_F(InputTest, ACellMoveLeavesThenEntersAndAnExitHandlerMayRedirectIt)
{
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::NoModifier, Cell(2, 1));
    EXPECT_EQ(TakeLog(), "row1|exit0|enter2|inrow") << "the row first, then the cell";
    QTest::keyClick(m_grid, Qt::Key_Right);
    EXPECT_EQ(TakeLog(), "exit2|enter3");

    // The handler moves to column 0 itself: no second exit, and the Left that caused it stops.
    bool redirect = true;
    QObject::connect(m_grid, &TwCustomGrid::OnCellExit, [&] {
        if (std::exchange(redirect, false))
            m_grid->SetCurCol(0);
    });
    QTest::keyClick(m_grid, Qt::Key_Left);
    EXPECT_EQ(TakeLog(), "exit3|enter0");
    EXPECT_EQ(m_grid->CurCol(), 0);

    // Enter as Tab: the next column, and from the last one a Down key for the rows.
    m_grid->MoveNext();
    EXPECT_EQ(TakeLog(), "exit0|enter1");
    m_grid->SetCurCol(3);
    TakeLog();
    m_grid->MoveNext();
    EXPECT_EQ(TakeLog(), "down(moving)");
    EXPECT_EQ(m_grid->CurCol(), 3);
}

TEST_F(InputTest, TheLeftStripsSelectRowsAndAMarkerClicks)
{
    m_grid->Markers().SetVisible(true);
    m_grid->Markers().SetClicking(true);
    QSignalSpy marks(m_grid, &TwCustomGrid::OnMarkerClick);
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 21 + 18 * 2 + 5));
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(28, 21 + 18 * 3 + 5));
    EXPECT_EQ(TakeLog(), "row2|inrow|row3|inrow") << "the current column stays";
    ASSERT_EQ(marks.count(), 1);
    EXPECT_EQ(marks[0][0].toInt(), 3);
}

TEST_F(InputTest, KeysMoveWithinTheSelectableColumnsAndOutOfTheFixedArea)
{
    m_grid->SetOptions({wgoSkipReadOnly});
    for (int i = 0; i < 4; ++i)
        m_grid->Columns().Items(i)->SetReadOnly(true);
    m_grid->SetCurCol(1);
    QTest::keyClick(m_grid, Qt::Key_Right);
    EXPECT_EQ(m_grid->CurCol(), 1) << "no column can be selected";

    m_grid->Columns().Items(0)->SetCell(WCell(m_grid->Groups().Add()->Index(), 0, 0));
    m_grid->Columns().Items(1)->SetCell(WCell(0, 0, 1));
    m_grid->SetGroupMode(true);
    m_grid->SetCurCell(WCell(0, 0, 0));
    QTest::keyClick(m_grid, Qt::Key_Right);
    EXPECT_EQ(Position(), "(0,0,0)");

    m_grid->SetGroupMode(false);
    m_grid->SetOptions({});
    m_grid->SetFixedCount(1);
    m_grid->SetCurCol(2);
    m_grid->SetCurCol(0);
    EXPECT_EQ(m_grid->CurCol(), 1) << "the fixed column is not selected";
    m_grid->FixedStyle().SetOptions({wfxSelecting});
    m_grid->SetCurCol(0);
    EXPECT_EQ(m_grid->CurCol(), 0);
}

TEST_F(InputTest, GroupModeWalksFromGroupToGroupAndLevelToLevel)
{
    TwGroup *first = TwoLevelGroup();
    TwGroup *second = m_grid->Groups().Add();
    m_grid->Columns().Items(2)->SetCell(WCell(second->Index(), 0, 0));
    m_grid->SetCurCell(WCell(0, 0, 0));
    TakeLog();
    QTest::keyClick(m_grid, Qt::Key_Right);
    QTest::keyClick(m_grid, Qt::Key_Right);
    QTest::keyClick(m_grid, Qt::Key_Right);
    EXPECT_EQ(TakeLog(), "exit(0,0,0)|enter(0,1,0)|exit(0,1,0)|enter(1,0,0)") << "the last cell stays";
    QTest::keyClick(m_grid, Qt::Key_Home);
    EXPECT_EQ(Position(), "(0,0,0)");
    EXPECT_EQ(m_grid->GetSelectedIndex(), 0);
    EXPECT_EQ(first->LowerCell(WCell(0, 0, 0)), WCell(0, 1, 0));
    EXPECT_EQ(first->UpperCell(WCell(0, 1, 0)), WCell(0, 0, 0));

    // Enter as Tab on a read-only last cell hands the move to the rows.
    m_grid->Columns().Items(2)->SetReadOnly(true);
    m_grid->SetCurCell(WCell(1, 0, 0));
    TakeLog();
    m_grid->MoveNext();
    EXPECT_EQ(TakeLog(), "down(moving)");
}

TEST_F(InputTest, SizingDragsResizeWhatTheyHold)
{
    m_grid->SetOptions({wgoColSizing});
    TwGridFooter *footer = m_grid->Footers().Add();
    footer->SetSizing(true);

    // The right edge of column 0 in the header, dragged 20 pixels right.
    QTest::mouseMove(Port(), QPoint(80, 10));
    EXPECT_EQ(Port()->cursor().shape(), Qt::SplitHCursor);
    Drag(QPoint(80, 10), QPoint(100, 10));
    EXPECT_EQ(m_grid->Columns().Items(0)->Width(), 80);
    EXPECT_EQ(TwGridStream::Write(*m_grid)[QStringLiteral("Columns")].toArray()[0].toObject()[QStringLiteral("ColWidth")].toInt(), 80);

    // The footer's upper edge dragged up by 10 pixels.
    const int top = m_grid->Extents().FooterTop();
    Drag(QPoint(100, top), QPoint(100, top - 10));
    EXPECT_EQ(footer->Height(), 31);

    // Escape ends a drag without applying it (column 1 now ends at 21 + 80 + 60).
    QTest::mousePress(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(160, 10));
    QTest::mouseMove(Port(), QPoint(190, 10));
    EXPECT_EQ(m_grid->GridState(), wgsColSizing);
    QTest::keyClick(m_grid, Qt::Key_Escape);
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(190, 10));
    EXPECT_EQ(m_grid->GridState(), wgsNormal);
    EXPECT_EQ(m_grid->Columns().Items(1)->Width(), 60);
}

TEST_F(InputTest, ALevelBoundaryMovesOneWeightByDragDirection)
{
    TwGroup *group = TwoLevelGroup();
    m_grid->SetOptions({wgoLevelSizing});
    group->SetWeight(3);
    group->SetLevelWeight(0, 1);
    ASSERT_EQ(Weights(*group), "1,2");
    // Header 42 high, title 19: level 0 ends 19 + 23 / 3 pixels down.
    const QPoint edge(40, 19 + 23 / 3 - 1);
    Drag(edge, edge);
    EXPECT_EQ(Weights(*group), "1,2") << "no movement, no change";
    Drag(edge, edge + QPoint(0, 1));
    EXPECT_EQ(Weights(*group), "2,1");
}

TEST_F(InputTest, AHeaderCellDraggedToAnotherLevelTakesThatPlace)
{
    TwoLevelGroup();
    m_grid->SetOptions({wgoCellMoving});
    TwColumn *upper = m_grid->Columns().Items(0);
    TwColumn *lower = m_grid->Columns().Items(1);
    // Title 0 .. 19, level 0 down to 19 + 23 / 2, level 1 down to 42.
    Drag(QPoint(40, 36), QPoint(40, 24));
    EXPECT_EQ(lower->GetCell(), WCell(0, 0, 0));
    EXPECT_EQ(upper->GetCell(), WCell(0, 0, 1));
}

TEST_F(InputTest, TitlesWithClickingMoveOnlyWithCtrlAndClickOtherwise)
{
    m_grid->SetOptions({wgoColMoving});
    TwColumn *column = m_grid->Columns().Items(0);
    column->Title().SetClicking(true);
    QSignalSpy clicks(m_grid, &TwCustomGrid::OnColumnTitleClick);

    Drag(QPoint(51, 10), QPoint(171, 10), Qt::ControlModifier);
    EXPECT_EQ(column->VIndex(), 2);
    EXPECT_EQ(clicks.count(), 0);

    // A plain drag: the title lifts while the pointer is off it and clicks when back on it.
    QTest::mousePress(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(171, 10));
    QTest::mouseMove(Port(), QPoint(51, 10));
    EXPECT_EQ(m_grid->GridState(), wgsColTitle);
    QTest::mouseMove(Port(), QPoint(175, 12));
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(175, 12));
    EXPECT_EQ(column->VIndex(), 2);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].value<TwColumn *>(), column);

    // In a form designer the collection order changes, so that the design stores it.
    m_grid->SetDesigning(true);
    TwColumn *first = m_grid->Columns().Items(1);
    Drag(QPoint(51, 10), QPoint(111, 10));
    EXPECT_EQ(first->Index(), 2) << "it takes the place of the column it was dropped on";
    EXPECT_EQ(first->VIndex(), 2) << "the visible order is the collection's";
}

TEST_F(InputTest, TabLeavesTheGridOnlyWhenEnterTabs)
{
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    m_grid->SetOptions({wgoArrowMove, wgoConfirmDelete, wgoEnterToTab, wgoFocusRect});
    m_grid->setFocus();
    QTest::keyClick(m_grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), m_edit);

    m_grid->SetOptions({});
    m_grid->setFocus();
    QTest::keyClick(m_grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), m_grid);
}

TEST_F(InputTest, ADragEndsUnappliedWhenTheMouseOrTheFocusIsTakenAway)
{
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    m_grid->SetOptions({wgoColSizing});
    const TwColumn *column = m_grid->Columns().Items(0);

    // The button came up over another widget: the grid sees the pointer again with no button.
    QTest::mousePress(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
    QTest::mouseMove(Port(), QPoint(120, 10));
    QTest::mouseRelease(m_edit, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(Port(), QPoint(140, 10));
    EXPECT_EQ(m_grid->GridState(), wgsNormal);
    EXPECT_EQ(column->Width(), 60);

    // Another control takes the focus in mid-drag: the release changes nothing.
    QTest::mousePress(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
    QTest::mouseMove(Port(), QPoint(120, 10));
    m_edit->setFocus();
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 10));
    EXPECT_EQ(m_grid->GridState(), wgsNormal);
    EXPECT_EQ(column->Width(), 60);
}

TEST_F(InputTest, NoSizingZoneWhereNoEdgeShows)
{
    m_grid->Columns().Items(0)->SetCell(WCell(m_grid->Groups().Add()->Index(), 0, 0));
    TwGroup *wide = m_grid->Groups().Add();
    TwColumn *hidden = m_grid->Columns().Items(1);
    hidden->SetCell(WCell(1, 0, 0));
    m_grid->Columns().Items(2)->SetCell(WCell(1, 0, 1));
    m_grid->SetGroupMode(true);
    m_grid->SetFixedCount(1);
    wide->SetWidth(600);
    hidden->SetWidth(250);
    m_grid->SetOptions({wgoCellSizing, wgoLevelSizing});
    m_grid->SetLeftPos(1000);
    const int scrollingLeft = m_grid->Extents().ScrollingLeft();
    const QRect bound = m_grid->Extents().GetHeadCellBound(WCell(1, 0, 0));
    const QPoint edge(bound.left() + bound.width() - 1, bound.center().y());
    ASSERT_LT(edge.x(), scrollingLeft) << "the edge lies under the fixed group";

    // A cell edge scrolled under the fixed group.
    QTest::mouseMove(Port(), edge);
    EXPECT_NE(Port()->cursor().shape(), Qt::SplitHCursor);
    Drag(edge, QPoint(scrollingLeft + 20, edge.y()));
    EXPECT_EQ(hidden->Width(), 250);

    // The title band edge of a group hidden in an update, before the geometry is read again.
    m_grid->BeginUpdate();
    wide->SetVisible(false);
    m_grid->EndUpdate();
    MessageBoxRecorder boxes;
    QTest::mouseMove(Port(), QPoint(scrollingLeft + 20, wide->Title().Height() - 1));
    EXPECT_EQ(boxes.Summary(), QString());
}
