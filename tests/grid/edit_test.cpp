// Editing rows of the complete grid as a user does: the events of editing, posting and
// cancelling in their order, new rows by Insert and by Down on the last row, required
// values, deleting the current row or the selection (Ctrl+Delete with its question), and
// removing many rows at once.

#include "grid/tabrix.h"
#include "testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace {

class EditTest : public ::testing::Test
{
protected:
    EditTest()
    {
        for (const char *caption : {"Code", "Qty"}) {
            auto *column = static_cast<TwMemColumn *>(m_grid.Columns().Add());
            column->SetDataType(wdtLong);
            column->Title().SetCaption(QString::fromLatin1(caption));
        }
        m_grid.Footers().Add();
        m_grid.GetMemColumn(1)->MemFooter().SetMethod(0, wfmeSum);
        m_grid.SetOptions({wgoEditing, wgoInserting, wgoDeleting, wgoMultiSelect});
        m_grid.resize(300, 240);
        m_grid.show();
        m_grid.SetRowCount(5);
        for (int row = 0; row < 5; ++row) {
            m_grid.Cells(0, row).SetLong(row * 10);
            m_grid.Cells(1, row).SetLong(1);
        }
        Record(&TTabrix::OnRowExit, "RowExit");
        Record(&TTabrix::OnRowEnter, "RowEnter");
        Record(&TTabrix::OnBeforeEdit, "BeforeEdit");
        Record(&TTabrix::OnAfterEdit, "AfterEdit");
        Record(&TTabrix::OnNewRow, "NewRow");
        Record(&TTabrix::OnBeforePost, "BeforePost");
        Record(&TTabrix::OnAfterPost, "AfterPost");
        Record(&TTabrix::OnBeforeCancel, "BeforeCancel");
        Record(&TTabrix::OnAfterCancel, "AfterCancel");
        Record(&TTabrix::OnBeforeDelete, "BeforeDelete");
        Record(&TTabrix::OnAfterDelete, "AfterDelete");
        Record(&TTabrix::OnDataChanged, "DataChanged");
        QObject::connect(&m_grid, &TTabrix::OnBeforeInsert, &m_grid, [this](bool append) {
            m_events << QStringLiteral("BeforeInsert %1").arg(append);
        });
        QObject::connect(&m_grid, &TTabrix::OnValueChanged, &m_grid, [this] { m_events << QStringLiteral("ValueChanged"); });
        QObject::connect(&m_grid, &TTabrix::OnDeleteRow, &m_grid,
                         [this](int row, bool &) { m_events << QStringLiteral("DeleteRow %1").arg(row); });
    }

    template<typename Signal>
    void Record(Signal signal, const char *name)
    {
        QObject::connect(&m_grid, signal, &m_grid, [this, name] { m_events << QLatin1String(name); });
    }

    QString Events()
    {
        const QString joined = m_events.join(QLatin1Char('|'));
        m_events.clear();
        return joined;
    }

    QString Column(int col)
    {
        QStringList texts;
        for (int row = 0; row < m_grid.GetRowCount(); ++row)
            texts << m_grid.GetDisplayText(m_grid.GetMemColumn(col), row);
        return texts.join(QLatin1Char(','));
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&m_grid, static_cast<Qt::Key>(key), modifiers);
    }

    TTabrix m_grid;
    QStringList m_events;
};

} // namespace

TEST_F(EditTest, AnEditIsPostedWhenTheRowChangesAndTheFootersFollow)
{
    m_grid.SetCurRow(1);
    m_grid.CalcFooters();
    EXPECT_EQ(m_grid.GetMemColumn(1)->Footer().GetValues(0), QStringLiteral("5"));
    Events();

    ASSERT_TRUE(m_grid.Edit());
    m_grid.Cells(1, 1).SetLong(7);
    EXPECT_EQ(Events(), QStringLiteral("BeforeEdit|AfterEdit|ValueChanged"));
    EXPECT_TRUE(m_grid.Modified());
    EXPECT_EQ(m_grid.GetIndiState(1), windiEdit);
    EXPECT_EQ(m_grid.GetMemColumn(1)->Pool().GetLong(1), 1) << "the pool waits for the post";

    Key(Qt::Key_Down);
    EXPECT_EQ(Events(), QStringLiteral("RowExit|BeforePost|AfterPost|DataChanged|RowEnter"));
    EXPECT_EQ(m_grid.CurRow(), 2);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
    EXPECT_EQ(m_grid.RowState(1), wrUpdated);
    EXPECT_TRUE(m_grid.Changed(1));
    EXPECT_EQ(m_grid.GetMemColumn(1)->Footer().GetValues(0), QStringLiteral("11"));

    // An edit that changes nothing still marks the row updated, not changed.
    ASSERT_TRUE(m_grid.Edit());
    m_grid.Post();
    EXPECT_EQ(m_grid.RowState(2), wrUpdated);
    EXPECT_FALSE(m_grid.Changed(2));

    // Escape drops an edit; F3 copies the cell above into the current one, editing the row.
    ASSERT_TRUE(m_grid.Edit());
    m_grid.Cells(0, 2).SetLong(555);
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
    EXPECT_EQ(m_grid.Cells(0, 2).Long(), 20);
    m_grid.SetSelectedColumn(m_grid.GetMemColumn(0));
    Key(Qt::Key_F3);
    EXPECT_EQ(m_grid.GridMode(), wgmEdit);
    EXPECT_EQ(m_grid.Cells(0, 2).Long(), 10);
}

TEST_F(EditTest, DownOnTheLastRowAppendsAndUpDropsTheUntouchedRow)
{
    m_grid.GetMemColumn(1)->SetDefaults(QStringLiteral("3"));
    m_grid.SetCurRow(4);
    Events();
    Key(Qt::Key_Down);
    EXPECT_EQ(Events(), QStringLiteral("BeforeInsert 1|NewRow"));
    EXPECT_EQ(m_grid.GridMode(), wgmInsert);
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    EXPECT_EQ(m_grid.CurRow(), 5);
    EXPECT_EQ(Column(1), QStringLiteral("1,1,1,1,1,3")) << "the new row shows its defaults";
    EXPECT_EQ(m_grid.GetIndiState(5), windiInsert);

    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.GetRowCount(), 6) << "Down on an untouched last new row stays";
    EXPECT_EQ(m_grid.GridMode(), wgmInsert);

    Key(Qt::Key_Up);
    EXPECT_EQ(Events(), QStringLiteral("BeforeCancel|AfterCancel"));
    EXPECT_EQ(m_grid.GetRowCount(), 5);
    EXPECT_EQ(m_grid.CurRow(), 4);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);

    // Down posts a touched new row and appends the next one.
    Key(Qt::Key_Down);
    m_grid.Cells(0, 5).SetLong(50);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.GetRowCount(), 7);
    EXPECT_EQ(m_grid.RowState(5), wrInserted);
    EXPECT_EQ(m_grid.CurRow(), 6);

    // No new row beyond MaxRowCount, nor without wgoInserting.
    m_grid.Cancel();
    m_grid.SetMaxRowCount(6);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    m_grid.SetMaxRowCount(0);
    m_grid.SetOptions({wgoEditing});
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
}

TEST_F(EditTest, ARowInsertedInTheMiddleShowsTheRowsAfterItOneLower)
{
    m_grid.SetSelected(3, true);
    m_grid.RowInfos().SetState(2, wrUpdated);
    m_grid.SetCurRow(2);
    m_grid.Insert(false);
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    EXPECT_EQ(m_grid.CurRow(), 2);
    EXPECT_EQ(Column(0), QStringLiteral("0,10,,20,30,40"));
    EXPECT_EQ(m_grid.Cells(0, 3).Long(), 20);
    EXPECT_TRUE(m_grid.CheckNull(m_grid.GetMemColumn(0), 2));
    EXPECT_FALSE(m_grid.CheckNull(m_grid.GetMemColumn(0), 5));
    EXPECT_EQ(m_grid.RowState(3), wrUpdated);
    EXPECT_EQ(m_grid.RowState(2), wrNormal) << "the new row has no state yet";
    EXPECT_TRUE(m_grid.GetSelected(4));
    EXPECT_FALSE(m_grid.GetSelected(3));
    EXPECT_EQ(m_grid.GetIndiState(4), windiSelect);

    m_grid.Cells(0, 2).SetLong(15);
    Events();
    m_grid.Post();
    EXPECT_EQ(Events(), QStringLiteral("BeforePost|AfterPost|DataChanged"));
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    EXPECT_EQ(Column(0), QStringLiteral("0,10,15,20,30,40"));
    EXPECT_EQ(m_grid.RowState(2), wrInserted);
    EXPECT_EQ(m_grid.RowState(3), wrUpdated);
    EXPECT_TRUE(m_grid.GetSelected(4));
    EXPECT_EQ(m_grid.GetMemColumn(1)->Footer().GetValues(0), QStringLiteral("5")) << "the new row's Qty is null";

    // Editing an inserted row keeps it inserted.
    ASSERT_TRUE(m_grid.Edit());
    m_grid.Cells(1, 2).SetLong(2);
    m_grid.Post();
    EXPECT_EQ(m_grid.RowState(2), wrInserted);
    EXPECT_TRUE(m_grid.Changed(2));

    // Leaving an untouched new row for a row below it lands on the row chosen, which moved
    // up with the new row gone.
    m_grid.Insert(false);
    m_grid.SetCurRow(4);
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    EXPECT_EQ(m_grid.CurRow(), 3);
    EXPECT_EQ(m_grid.Cells(0, 3).Long(), 20);
}

TEST_F(EditTest, ARequiredNullRefusesThePostAndTheMove)
{
    m_grid.GetMemColumn(1)->SetRequired(true);
    m_grid.Insert(false);
    m_grid.Cells(0, 0).SetLong(1);
    const QString message = QStringLiteral("Column 'Qty' must have a value.");
    EXPECT_EQ(ErrorOf([this] { m_grid.Post(); }), message);
    EXPECT_EQ(m_grid.GridMode(), wgmInsert);
    EXPECT_EQ(ErrorOf([this] { m_grid.SetCurRow(3); }), message);
    EXPECT_EQ(m_grid.CurRow(), 0);
    EXPECT_EQ(m_grid.GridMode(), wgmInsert);
    EXPECT_EQ(m_grid.GetRowCount(), 6);

    m_grid.Cells(1, 0).SetLong(4);
    m_grid.SetCurRow(3);
    EXPECT_EQ(m_grid.CurRow(), 3);
    EXPECT_EQ(Column(0), QStringLiteral("1,0,10,20,30,40"));
}

TEST_F(EditTest, DeletingMarksOrRemovesTheCurrentRowAndOnlyCancelsANewOne)
{
    m_grid.SetSoftDeleting(true);
    m_grid.SetCurRow(1);
    Events();
    m_grid.Delete();
    EXPECT_EQ(Events(), QStringLiteral("BeforeDelete|AfterDelete|DataChanged"));
    EXPECT_EQ(m_grid.RowState(1), wrDeleted);
    EXPECT_EQ(m_grid.GetRowCount(), 5);
    EXPECT_FALSE(m_grid.Edit()) << "a deleted row is not edited";
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
    EXPECT_EQ(Events(), QString());

    m_grid.Insert(false);
    Events();
    m_grid.Delete();
    EXPECT_EQ(Events(), QStringLiteral("BeforeCancel|AfterCancel"));
    EXPECT_EQ(m_grid.GetRowCount(), 5);

    m_grid.SetSoftDeleting(false);
    m_grid.SetCurRow(4);
    m_grid.Delete();
    EXPECT_EQ(m_grid.GetRowCount(), 4);
    EXPECT_EQ(m_grid.CurRow(), 3) << "deleting the last row leaves the row above current";
    EXPECT_EQ(m_grid.GetMemColumn(1)->Footer().GetValues(0), QStringLiteral("4"));
}

TEST(EditFocus, LeavingTheGridDropsAnUntouchedNewRowWithCancelOnExit)
{
    QWidget form;
    auto *grid = new TTabrix(&form);
    auto *other = new QLineEdit(&form);
    other->move(0, 210);
    static_cast<TwMemColumn *>(grid->Columns().Add())->SetDataType(wdtLong);
    grid->resize(200, 200);
    grid->SetRowCount(2);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    grid->SetOptions({wgoEditing, wgoInserting, wgoCancelOnExit});
    grid->setFocus();
    grid->Insert(true);
    other->setFocus();
    EXPECT_EQ(grid->GridMode(), wgmBrowse);
    EXPECT_EQ(grid->GetRowCount(), 2);

    grid->setFocus();
    grid->Insert(true);
    grid->Cells(0, 2).SetLong(1);
    other->setFocus();
    EXPECT_EQ(grid->GridMode(), wgmInsert) << "a touched row stays";
}

TEST_F(EditTest, CtrlDeleteAsksThenDeletesTheSelectionFromTheLastRow)
{
    m_grid.SetOptions({wgoEditing, wgoInserting, wgoDeleting, wgoMultiSelect, wgoConfirmDelete});
    for (const int row : {1, 2, 4})
        m_grid.SetSelected(row, true);
    {
        const MessageBoxRecorder boxes(Platform::mbNo);
        Key(Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(m_grid.GetRowCount(), 5) << "No keeps the rows";
    }
    const MessageBoxRecorder boxes(Platform::mbYes);
    Events();
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(boxes.Summary(), QStringLiteral("삭제|선택된 자료를 모두 삭제하시겠습니까?|question"));
    ASSERT_EQ(boxes.Calls().size(), 1U);
    EXPECT_EQ(boxes.Calls()[0].Buttons, Platform::mbYes | Platform::mbNo);
    EXPECT_EQ(boxes.Calls()[0].DefaultButton, Platform::mbNo);
    EXPECT_EQ(Events(), QStringLiteral("BeforeDelete|DeleteRow 4|DeleteRow 2|DeleteRow 1|AfterDelete|DataChanged"));
    EXPECT_EQ(Column(0), QStringLiteral("0,30"));
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);

    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(boxes.Calls().back().Text, QStringLiteral("자료를 삭제하시겠습니까?"));
    EXPECT_EQ(m_grid.GetRowCount(), 1);
}

TEST(EditBulk, RemovingManyRowsKeepsTheRightRowsWithTheirStatesAndMarks)
{
    TTabrix grid;
    auto *code = static_cast<TwMemColumn *>(grid.Columns().Add());
    code->SetDataType(wdtLong);
    auto *name = static_cast<TwMemColumn *>(grid.Columns().Add());
    name->SetDataType(wdtString);
    grid.SetOptions({wgoEditing, wgoDeleting, wgoMultiSelect});
    grid.resize(300, 200);
    grid.show();
    constexpr int Rows = 1000;
    grid.SetRowCount(Rows);
    TwRowInfos &infos = grid.RowInfos();
    for (int row = 0; row < Rows; ++row) {
        grid.Cells(0, row).SetLong(row);
        grid.Cells(1, row).SetString(QStringLiteral("r%1").arg(row));
        infos.SetChecked(row, row % 7 == 0);
        infos.SetRowType(row, row % 8);
        infos.SetState(row, row % 3 == 0 ? wrDeleted : row % 5 == 0 ? wrUpdated : wrNormal);
        infos.SetSelected(row, row % 2 == 0);
    }
    grid.SetCurRow(Rows - 2);
    ASSERT_TRUE(grid.Edit());
    EXPECT_EQ(ErrorOf([&grid] { grid.DeleteMarkedRows(); }), QStringLiteral("Can't DeleteMarkedRow in Editing"));
    grid.Cancel();

    grid.DeleteMarkedRows();
    ASSERT_EQ(grid.GetRowCount(), Rows - (Rows + 2) / 3);
    EXPECT_EQ(grid.CurRow(), grid.GetRowCount() - 1);
    int selected = 0;
    for (int row = 0, kept = 0; row < Rows; ++row) {
        if (row % 3 == 0)
            continue;
        ASSERT_EQ(grid.Cells(0, kept).Long(), row);
        ASSERT_EQ(grid.Cells(1, kept).String(), QStringLiteral("r%1").arg(row));
        ASSERT_EQ(infos.Checked(kept), row % 7 == 0);
        ASSERT_EQ(infos.RowType(kept), row % 8);
        ASSERT_EQ(infos.State(kept), row % 5 == 0 ? wrUpdated : wrNormal);
        selected += row % 2 == 0;
        ++kept;
    }
    EXPECT_EQ(grid.GetSelectedCount(), selected);

    // The selection, with a handler keeping every row whose code ends in 0.
    QObject::connect(&grid, &TTabrix::OnDeleteRow, &grid,
                     [&grid](int row, bool &accept) { accept = grid.Cells(0, row).Long() % 10 != 0; });
    grid.DeleteSelection();
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        const int value = grid.Cells(0, row).Long();
        ASSERT_TRUE(value % 2 != 0 || value % 10 == 0) << value;
        ASSERT_EQ(grid.GetSelected(row), value % 10 == 0);
    }
    EXPECT_EQ(grid.CurRow(), grid.GetRowCount() - 1);

    // Everything: no row is left to read and the grid still paints.
    for (int row = 0; row < infos.Count(); ++row)
        infos.SetState(row, wrDeleted);
    grid.DeleteMarkedRows();
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.CurRow(), 0);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.grab().isNull());
}

// OnEdit is asked once, before the first change of a row that is browsed: not again for the
// later keys of the same edit, and not for a row that is being inserted, so a handler that
// refuses changes outside an edit still lets the user type into a new row.
TEST_F(EditTest, RegressionOnEditIsAskedOnceBeforeTheFirstChange)
{
    bool refuse = false;
    QObject::connect(&m_grid, &TwCustomGrid::OnEdit, &m_grid, [this, &refuse](TwColumn *, bool &accept) {
        m_events << QStringLiteral("Edit?");
        accept = !refuse;
    });
    // Keys go where the keyboard is, as a user's do: the grid, then the editor it opened.
    const auto type = [this](const char *text) {
        for (const char *c = text; *c; ++c) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &m_grid, *c);
            QApplication::processEvents();
        }
    };
    m_grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_grid));
    m_grid.setFocus();
    m_grid.SetCurRow(1);
    Events();
    type("78");
    EXPECT_EQ(Events(), QStringLiteral("Edit?|BeforeEdit|AfterEdit"));
    m_grid.setFocus();
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.Cells(0, 1).Long(), 78);
    Events();

    refuse = true;
    type("5");
    EXPECT_EQ(Events(), QStringLiteral("Edit?"));
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse) << "refused outside an edit";

    m_grid.Insert(false);
    ASSERT_EQ(m_grid.GridMode(), wgmInsert);
    Events();
    type("42");
    m_grid.Post();
    EXPECT_FALSE(Events().contains(QStringLiteral("Edit?"))) << "a new row is already being edited";
    EXPECT_EQ(m_grid.Cells(0, 2).Long(), 42);
    EXPECT_EQ(m_grid.RowState(2), wrInserted);
}

// An OnBeforeEdit handler may remove rows; the edit then holds the values of the row that is
// current after it, not those of the row that was current before.
TEST_F(EditTest, RegressionEditAfterABeforeEditHandlerRemovedRowsLoadsTheCurrentRow)
{
    m_grid.SetCurRow(4);
    bool once = true;
    QObject::connect(&m_grid, &TTabrix::OnBeforeEdit, &m_grid, [this, &once] {
        if (std::exchange(once, false))
            m_grid.DeleteRow(2, -1);
    });
    ASSERT_TRUE(m_grid.Edit());
    EXPECT_EQ(m_grid.GetRowCount(), 2);
    EXPECT_EQ(m_grid.CurRow(), 1);
    EXPECT_EQ(m_grid.GetMemColumn(0)->GetLong(), 10) << "the buffers hold row 1";
    m_grid.GetMemColumn(1)->SetLong(9);
    m_grid.Post();
    EXPECT_EQ(Column(0), QStringLiteral("0,10"));
    EXPECT_EQ(Column(1), QStringLiteral("1,9"));

    // A handler that leaves no row: nothing to edit.
    QObject::connect(&m_grid, &TTabrix::OnBeforeEdit, &m_grid, [this] { m_grid.DeleteRow(0, -1); });
    EXPECT_FALSE(m_grid.Edit());
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
}
