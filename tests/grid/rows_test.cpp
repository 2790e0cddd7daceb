// Row operations of the complete grid: inserting, moving, exchanging and deleting stored
// rows with their states, emptying the grid, copying another grid, loading and saving one
// column as texts, finding rows, and the stable sort against a plain insertion sort.

#include "grid/tabrix.h"
#include "opengrid.h"
#include "grid/core/extents.h"
#include "platform/texception.h"
#include "testsupport.h"

#include <QPaintEvent>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class RowsTest : public ::testing::Test
{
protected:
    RowsTest()
    {
        AddColumn(m_grid, wdtLong, "Id");
        AddColumn(m_grid, wdtString, "Name");
    }

    static TwMemColumn *AddColumn(TTabrix &grid, TwDataType type, const char *caption, int width = 0)
    {
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(type);
        column->SetDataWidth(width);
        column->Title().SetCaption(QString::fromLatin1(caption));
        return column;
    }

    void Fill(int rows)
    {
        m_grid.SetRowCount(rows);
        for (int row = 0; row < rows; ++row) {
            m_grid.Cells(0, row).SetLong(row);
            m_grid.Cells(1, row).SetString(QStringLiteral("n%1").arg(row));
        }
    }

    QString Ids()
    {
        QStringList texts;
        for (int row = 0; row < m_grid.GetRowCount(); ++row)
            texts << m_grid.GetMemColumn(0)->Pool().GetString(row);
        return texts.join(QLatin1Char(','));
    }

    QString States()
    {
        QString text;
        for (int row = 0; row < m_grid.RowInfos().Count(); ++row)
            text += QString::number(m_grid.RowInfos().State(row));
        return text;
    }

    /// Collects what the grid's viewport repaints.
    struct PaintSpy : QObject
    {
        QRegion painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    };

    /// Shows the grid, lets its first paint pass, then has `spy` watch what it repaints.
    bool ShowAndWatch(PaintSpy &spy)
    {
        m_grid.resize(300, 200);
        m_grid.show();
        if (!QTest::qWaitForWindowExposed(&m_grid))
            return false;
        QApplication::processEvents();
        m_grid.viewport()->installEventFilter(&spy);
        return true;
    }

    OpenTabrix m_grid;
};

template<typename Call>
QString Failure(Call call)
{
    try {
        call();
    } catch (const TException &e) {
        return e.Message();
    }
    return {};
}

TEST_F(RowsTest, InsertMoveExchangeAndDeleteKeepStatesWithTheirRows)
{
    Fill(5);
    m_grid.GetMemColumn(1)->SetDefaults(QStringLiteral("new"));
    int newRows = 0;
    QObject::connect(&m_grid, &TTabrix::OnNewRow, &m_grid, [&] { ++newRows; });
    m_grid.RowInfos().SetState(3, wrUpdated);
    m_grid.RowInfos().SetChecked(3, true);

    m_grid.InsertRow(1, true, true, true);
    EXPECT_EQ(Ids(), QStringLiteral("0,,1,2,3,4"));
    EXPECT_EQ(m_grid.Cells(1, 1).String(), QStringLiteral("new"));
    EXPECT_EQ(States(), QStringLiteral("020010"));
    EXPECT_TRUE(m_grid.RowInfos().Checked(4));
    EXPECT_EQ(newRows, 1);
    EXPECT_EQ(m_grid.CurRow(), 0);

    m_grid.AddRow();
    EXPECT_EQ(m_grid.GetRowCount(), 7);
    EXPECT_TRUE(m_grid.Cells(1, 6).Null());

    m_grid.MoveRow(4, 0);
    EXPECT_EQ(Ids(), QStringLiteral("3,0,,1,2,4,"));
    EXPECT_EQ(States(), QStringLiteral("1020000"));
    EXPECT_TRUE(m_grid.RowInfos().Checked(0));
    m_grid.ExchangeRows(0, 6);
    EXPECT_EQ(Ids(), QStringLiteral(",0,,1,2,4,3"));
    EXPECT_EQ(States(), QStringLiteral("0020001"));

    m_grid.SetCurRow(6);
    m_grid.DeleteRow(2, -1, false);
    EXPECT_EQ(m_grid.GetRowCount(), 2);
    EXPECT_EQ(m_grid.CurRow(), 1);
    EXPECT_EQ(Ids(), QStringLiteral(",0"));

    EXPECT_EQ(Failure([&] { m_grid.InsertRow(3); }), QStringLiteral("TTabrix - Row Bounds Error(3) in InsertRow"));
    EXPECT_EQ(Failure([&] { m_grid.MoveRow(0, 2); }), QStringLiteral("TTabrix - Row Bounds Error(2) in MoveRow.NewRow"));
    EXPECT_EQ(Failure([&] { m_grid.MoveRow(-1, 0); }), QStringLiteral("TTabrix - Row Bounds Error(-1) in MoveRow.CurRow"));
    EXPECT_EQ(Failure([&] { m_grid.ExchangeRows(5, 0); }), QStringLiteral("TTabrix - Row Bounds Error(5) in ExchangesRows.Row1"));
    EXPECT_EQ(Failure([&] { m_grid.DeleteRow(2); }), QStringLiteral("TTabrix - Row Bounds Error(2) in DeleteRow"));
    m_grid.DeleteRow(5, 0); // nothing to delete: no bounds check either

    m_grid.SetOptions({wgoEditing, wgoInserting});
    m_grid.Insert(false);
    EXPECT_EQ(Failure([&] { m_grid.AddRow(); }), QStringLiteral("Can't InsertRow in Editing"));
    EXPECT_EQ(Failure([&] { m_grid.MoveRow(0, 1); }), QStringLiteral("Can't MoveRow in Editing"));
    EXPECT_EQ(Failure([&] { m_grid.ExchangeRows(0, 1); }), QStringLiteral("Can't ExchangeRows in Editing"));
    EXPECT_EQ(Failure([&] { m_grid.DeleteRow(0); }), QStringLiteral("Can't DeleteRow in Editing"));
    EXPECT_EQ(m_grid.RowInfos().Count(), 2);
}

TEST_F(RowsTest, MaxRowCountBoundsOnlyTheUsersNewRows)
{
    Fill(3);
    m_grid.SetOptions({wgoEditing, wgoInserting});
    m_grid.SetMaxRowCount(3);
    m_grid.Insert(true);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
    m_grid.AddRow();
    EXPECT_EQ(m_grid.GetRowCount(), 4);
}

TEST_F(RowsTest, ClearClearDataAndReset)
{
    Fill(4);
    m_grid.RowInfos().SetState(1, wrInserted);
    m_grid.SetSelected(2, true);
    m_grid.SetCurRow(3);
    m_grid.ClearData();
    EXPECT_EQ(m_grid.GetRowCount(), 4);
    EXPECT_EQ(Ids(), QStringLiteral(",,,"));
    EXPECT_EQ(States(), QStringLiteral("0000"));
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);
    m_grid.Reset();
    EXPECT_EQ(m_grid.CurRow(), 0);
    m_grid.Clear();
    EXPECT_EQ(m_grid.GetRowCount(), 0);
    m_grid.Reset(); // nothing to do without rows
    m_grid.AddRow();
    EXPECT_TRUE(m_grid.Cells(1, 0).Null()); // no text of the cleared rows comes back
}

// Reset stores an open edit on its own row and brings the first row into view; an editor
// always shown follows the rows that InsertRow and DeleteRow shift under it.
TEST_F(RowsTest, ResetAndRowChangesKeepTheEditAndTheEditorOnTheirRows)
{
    Fill(30);
    m_grid.SetOptions({wgoEditing, wgoInserting, wgoAlwaysShowEditor});
    m_grid.resize(300, 200);
    m_grid.SetCurRow(25);
    m_grid.show();
    m_grid.activateWindow();
    m_grid.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_grid));
    ASSERT_EQ(m_grid.EditingRow(), 25);

    ASSERT_TRUE(m_grid.Edit());
    m_grid.Cells(0, 25).SetLong(99);
    m_grid.Reset();
    EXPECT_EQ(m_grid.Cells(0, 25).Long(), 99);
    EXPECT_EQ(m_grid.Cells(0, 0).Long(), 0);
    EXPECT_EQ(m_grid.CurRow(), 0);
    EXPECT_EQ(m_grid.TopRow(), 0);
    EXPECT_EQ(m_grid.EditingRow(), 0);

    m_grid.Insert(false);
    m_grid.Reset(); // an untouched new row is dropped
    EXPECT_EQ(m_grid.RowInfos().Count(), 30);

    const auto editorShows = [this](int row, int id) {
        EXPECT_EQ(m_grid.CurRow(), row);
        EXPECT_EQ(m_grid.EditingRow(), row);
        EXPECT_EQ(m_grid.GetEditVal().toInt(), id);
        EXPECT_TRUE(m_grid.ActiveEditor()->isVisible());
    };
    m_grid.SetCurRow(4);
    m_grid.DeleteRow(0);
    editorShows(4, 5);
    m_grid.InsertRow(1);
    m_grid.Cells(0, 1).SetLong(-1);
    editorShows(4, 4);
    m_grid.DeleteRow(2, -1);
    editorShows(1, -1);
}

// A column blanking repeated values shows a row by the one above it: exchanged rows repaint
// the rows under them as well.
TEST_F(RowsTest, ExchangeRowsRepaintsTheRowsUnderRepeatedValues)
{
    Fill(4);
    for (const int row : {0, 1, 3})
        m_grid.Cells(1, row).SetString(QStringLiteral("A"));
    m_grid.Cells(1, 2).SetString(QStringLiteral("B"));
    m_grid.GetMemColumn(1)->SetEqualBlank(true);
    PaintSpy spy;
    ASSERT_TRUE(ShowAndWatch(spy));
    m_grid.ExchangeRows(1, 2); // A B A A: the last row turns blank
    QApplication::processEvents();
    const int row3 = (m_grid.Extents().GetTops(3) + m_grid.Extents().GetBottoms(3)) / 2;
    EXPECT_TRUE(spy.painted.contains(QPoint(m_grid.Extents().StripsLeft() + 5, row3)));
}

TEST_F(RowsTest, AssignDataCopiesStoredValuesWithClearRowBytes)
{
    TTabrix source;
    AddColumn(source, wdtString, "Id"); // a text column feeding an integer column
    AddColumn(source, wdtString, "Name");
    AddColumn(source, wdtFloat, "Extra");
    source.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        source.Cells(0, row).SetString(QString::number(row + 10));
        source.Cells(1, row).SetString(QStringLiteral("이름%1").arg(row));
    }
    source.SetOptions({wgoEditing, wgoInserting});
    source.Insert(true); // a row not stored yet: not copied

    Fill(5);
    m_grid.RowInfos().SetState(0, wrDeleted);
    m_grid.RowInfos().SetChecked(1, true);
    m_grid.AssignData(&source);
    EXPECT_EQ(Ids(), QStringLiteral("10,11,12"));
    EXPECT_EQ(m_grid.Cells(1, 2).String(), QStringLiteral("이름2"));
    EXPECT_EQ(States(), QStringLiteral("000"));
    EXPECT_FALSE(m_grid.RowInfos().Checked(1));

    // A value the grid cannot take changes nothing.
    source.Cancel();
    source.Cells(0, 1).SetString(QStringLiteral("x"));
    EXPECT_EQ(Failure([&] { m_grid.AssignData(&source); }), QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(Ids(), QStringLiteral("10,11,12"));
    m_grid.AssignData(nullptr);
    EXPECT_EQ(m_grid.GetRowCount(), 3);
}

TEST_F(RowsTest, LoadFromListConvertsEverythingFirstAndSaveToListReadsStoredRows)
{
    Fill(2);
    QStringList list{QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")};
    m_grid.LoadFromList(0, &list, 2, true); // no room and no appending: nothing, no error
    EXPECT_EQ(Ids(), QStringLiteral("0,1"));
    m_grid.GetMemColumn(1)->SetDefaults(QStringLiteral("d"));
    m_grid.LoadFromList(0, &list, 1, false);
    EXPECT_EQ(Ids(), QStringLiteral("0,7,8,9"));
    EXPECT_EQ(m_grid.Cells(1, 3).String(), QStringLiteral("d"));
    EXPECT_EQ(States(), QStringLiteral("0000"));

    const QStringList bad{QStringLiteral("1"), QStringLiteral("zwei"), QStringLiteral("3")};
    EXPECT_EQ(Failure([&] { m_grid.LoadFromList(0, &bad, 0, false); }), QStringLiteral("'zwei' is not a valid integer value"));
    EXPECT_EQ(Ids(), QStringLiteral("0,7,8,9"));
    EXPECT_EQ(Failure([&] { m_grid.LoadFromList(2, &bad); }), QStringLiteral("Bounds error in TTabrix.LoadFromList(2)."));
    EXPECT_EQ(Failure([&] { m_grid.LoadFromList(0, &bad, 5); }), QStringLiteral("Row bounds error in TTabrix.LoadFromList(5)."));

    // A row being inserted is stored first: the load then counts it as a row.
    m_grid.SetOptions({wgoEditing, wgoInserting});
    m_grid.Insert(true);
    m_grid.Cells(0, 4).SetLong(40);
    m_grid.LoadFromList(0, &list, 5, false);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
    EXPECT_EQ(Ids(), QStringLiteral("0,7,8,9,40,7,8,9"));

    QStringList saved;
    m_grid.SaveToList(0, &saved, 3, 2);
    EXPECT_EQ(saved.join(QLatin1Char(',')), QStringLiteral("9,40"));
    m_grid.SaveToList(0, &saved, 8);
    EXPECT_TRUE(saved.isEmpty());
    m_grid.SetCurRow(0);
    m_grid.Insert(false);
    m_grid.Cells(0, 0).SetLong(-1);
    m_grid.SaveToList(0, &saved, 6, -1);
    EXPECT_EQ(saved.join(QLatin1Char(',')), QStringLiteral("7,8,9"));
    EXPECT_EQ(m_grid.RowInfos().Count(), 9);
    EXPECT_EQ(Failure([&] { m_grid.SaveToList(0, &saved, -1); }), QStringLiteral("Row bounds error in TTabrix.SaveToList(-1)."));
}

TEST_F(RowsTest, FindByValueAndByTextOnStoredRows)
{
    Fill(3);
    m_grid.Cells(1, 1).SetString(QStringLiteral("Seoul"));
    m_grid.Cells(1, 2).SetString(QStringLiteral("seoul station"));
    EXPECT_EQ(m_grid.Find(0, QVariant(2)), 2);
    EXPECT_EQ(m_grid.Find(0, QVariant(9)), -1);
    EXPECT_EQ(m_grid.Find(1, QStringLiteral("seoul"), {}), -1);
    EXPECT_EQ(m_grid.Find(1, QStringLiteral("seoul"), {wfoCaseInsensitive}), 1);
    EXPECT_EQ(m_grid.Find(1, QStringLiteral("seoul"), {wfoPartialKey}), 2);
    EXPECT_EQ(m_grid.Find(1, QStringLiteral("SEOUL S"), {wfoPartialKey, wfoCaseInsensitive}), 2);
    EXPECT_EQ(Failure([&] { m_grid.Find(5, QVariant()); }), QStringLiteral("Bounds error in TTabrix.Find(5)."));

    // While a row is inserted before them, rows are found where they are stored.
    m_grid.SetOptions({wgoEditing, wgoInserting});
    m_grid.Insert(false);
    m_grid.Cells(0, 0).SetLong(100);
    EXPECT_EQ(m_grid.Find(1, QStringLiteral("Seoul"), {}), 2);
    EXPECT_EQ(m_grid.Find(0, QVariant(100)), 0);
}

TEST_F(RowsTest, SortIsStableWithNullsAndCarriesRowBytes)
{
    Fill(4);
    const QVariant values[] = {2, QVariant(), 1, 2};
    auto *key = AddColumn(m_grid, wdtFloat, "Key");
    for (int row = 0; row < 4; ++row)
        key->Pool().SetValue(row, values[row]);
    m_grid.RowInfos().SetState(3, wrUpdated);
    m_grid.SetSelected(0, true);
    m_grid.Sort(2, false, true);
    EXPECT_EQ(Ids(), QStringLiteral("1,2,0,3"));
    EXPECT_EQ(States(), QStringLiteral("0001"));
    EXPECT_TRUE(m_grid.GetSelected(2));
    EXPECT_EQ(key->Title().SortMark(), wsmAsc);
    m_grid.Sort(2, true, true);
    EXPECT_EQ(Ids(), QStringLiteral("0,3,2,1"));
    EXPECT_EQ(key->Title().SortMark(), wsmDesc);
    m_grid.Sort(0, false, true);
    EXPECT_EQ(key->Title().SortMark(), wsmNone);
    EXPECT_EQ(m_grid.GetMemColumn(0)->Title().SortMark(), wsmAsc);

    // An edit is stored before the rows move.
    m_grid.SetOptions({wgoEditing, wgoInserting});
    m_grid.Insert(true);
    m_grid.Cells(0, 4).SetLong(-7);
    m_grid.Sort(0, false, false);
    EXPECT_EQ(Ids(), QStringLiteral("-7,0,1,2,3"));
    EXPECT_EQ(States(), QStringLiteral("20001"));
    EXPECT_FALSE(Failure([&] { m_grid.Sort(3); }).isEmpty());
}

// The sort's result is the one of the plain insertion sort that moves a row in front of
// the first row before it holding a greater value (a smaller one descending), for every
// kind of value, with ties and nulls. Texts are sorted in the C locale and in Korean: with
// Hangul and digits only (where the collation keeps the code unit order) and mixed with
// Latin in both cases and punctuation (where it does not).
TEST_F(RowsTest, SortMatchesTheInsertionSortOnRandomData)
{
    const QStringList mixed = {QStringLiteral("가나"), QStringLiteral("가"), QStringLiteral("하늘"), QStringLiteral("apple"),
                               QStringLiteral("Apple"), QStringLiteral("Zebra"), QStringLiteral("서울"), QStringLiteral("부산"),
                               QStringLiteral("a-b"), QStringLiteral("ab"), QStringLiteral("_z")};
    const QStringList hangul = {QStringLiteral("가나"), QStringLiteral("가"), QStringLiteral("각"), QStringLiteral("가나다"),
                                QStringLiteral("하늘"), QStringLiteral("서울1"), QStringLiteral("서울10"), QStringLiteral("서울 2"),
                                QStringLiteral("12"), QStringLiteral("")};
    const struct Case { TwDataType type; int width; QLocale locale; QStringList words; } cases[] = {
        {wdtFloat, 0, QLocale::c(), {}}, {wdtLong, 0, QLocale::c(), {}}, {wdtShort, 0, QLocale::c(), {}},
        {wdtDate, 0, QLocale::c(), {}}, {wdtBool, 0, QLocale::c(), {}},
        {wdtString, 0, QLocale::c(), mixed}, {wdtChar, 6, QLocale::c(), mixed},
        {wdtString, 0, QLocale(QLocale::Korean, QLocale::SouthKorea), mixed},
        {wdtChar, 6, QLocale(QLocale::Korean, QLocale::SouthKorea), mixed},
        {wdtString, 0, QLocale(QLocale::Korean, QLocale::SouthKorea), hangul},
        {wdtString, 0, QLocale(QLocale::English, QLocale::UnitedStates), hangul + mixed}};
    const QLocale previous;
    QRandomGenerator random(20261208);
    for (const Case &test : cases) {
        QLocale::setDefault(test.locale);
        TTabrix grid;
        AddColumn(grid, wdtLong, "Id");
        TwMemColumn *key = AddColumn(grid, test.type, "Key", test.width);
        const int rows = 300;
        grid.SetRowCount(rows);
        for (int row = 0; row < rows; ++row) {
            grid.Cells(0, row).SetLong(row);
            const int kinds = TXIsStringType(test.type) ? static_cast<int>(test.words.size()) : 8;
            const int pick = static_cast<int>(random.bounded(kinds + 1));
            if (pick == kinds)
                continue; // null
            if (TXIsStringType(test.type))
                key->Pool().SetString(row, test.words[pick]);
            else
                key->Pool().SetFloat(row, test.type == wdtFloat ? pick * 0.25 - 1 : pick - 3 + (test.type == wdtDate ? 40000 : 0));
        }
        for (const bool descending : {false, true}) {
            std::vector<int> expected(rows);
            for (int row = 0; row < rows; ++row)
                expected[static_cast<std::size_t>(row)] = row;
            const int wanted = descending ? -1 : 1;
            for (int i = 1; i < rows; ++i) {
                for (int j = 0; j < i; ++j) {
                    if (key->Pool().Compare(expected[static_cast<std::size_t>(j)], expected[static_cast<std::size_t>(i)]) == wanted) {
                        const int moved = expected[static_cast<std::size_t>(i)];
                        expected.erase(expected.begin() + i);
                        expected.insert(expected.begin() + j, moved);
                        break;
                    }
                }
            }
            TTabrix sorted;
            AddColumn(sorted, wdtLong, "Id");
            AddColumn(sorted, test.type, "Key", test.width);
            sorted.AssignData(&grid);
            sorted.Sort(1, descending, false);
            for (int row = 0; row < rows; ++row) {
                ASSERT_EQ(sorted.Cells(0, row).Long(), expected[static_cast<std::size_t>(row)])
                    << "type " << static_cast<int>(test.type) << " in " << qPrintable(test.locale.name()) << (descending ? " descending" : " ascending")
                    << " at row " << row;
            }
        }
    }
    QLocale::setDefault(previous);
}

TEST_F(RowsTest, NaNAndInfinityAreNoFloatValues)
{
    TwMemPool pool(wdtFloat);
    pool.SetCount(1);
    EXPECT_THROW(pool.SetFloat(0, std::numeric_limits<double>::quiet_NaN()), TException);
    EXPECT_THROW(pool.SetValue(0, QVariant(std::numeric_limits<double>::infinity())), TException);
    for (const char *text : {"nan", "inf", "-inf", "1e999"})
        EXPECT_THROW(pool.SetString(0, QString::fromLatin1(text)), TException) << text;
    EXPECT_TRUE(pool.GetNull(0));
    pool.SetString(0, QStringLiteral("1e300"));
    EXPECT_EQ(pool.GetFloat(0), 1e300);
    TwMemPool integers(wdtLong);
    integers.SetCount(1);
    EXPECT_THROW(integers.SetFloat(0, std::numeric_limits<double>::infinity()), TException);
    EXPECT_TRUE(integers.GetNull(0));
}

// Cleared texts stay gone: a row made present again holds no old text.
TEST_F(RowsTest, ClearedTextsStayGone)
{
    Fill(3);
    m_grid.ClearData();
    m_grid.GetMemColumn(1)->Pool().SetNull(0, false);
    EXPECT_EQ(m_grid.GetMemColumn(1)->Pool().GetString(0), QString());
}

} // namespace

// A column's own Sort sorts the grid by that column, with its mark.
TEST_F(RowsTest, RegressionAColumnsSortSortsTheGridByIt)
{
    Fill(3);
    m_grid.GetMemColumn(0)->Sort(true, true);
    EXPECT_EQ(Ids(), QStringLiteral("2,1,0"));
    EXPECT_EQ(m_grid.GetMemColumn(0)->Title().SortMark(), wsmDesc);
    m_grid.GetMemColumn(1)->Sort(false, false);
    EXPECT_EQ(Ids(), QStringLiteral("0,1,2"));
    EXPECT_EQ(m_grid.GetMemColumn(1)->Title().SortMark(), wsmNone);
}

// The grid's row-state members address display rows: while a row is inserted, the rows
// after it are stored one lower and the new row itself reads as a plain row that ignores
// writes. The clearing members repaint the marker column.
TEST_F(RowsTest, RegressionRowStatesOfTheGridMapDisplayRowsAndRepaintTheMarkers)
{
    Fill(4);
    m_grid.SetRowType(1, 5);
    m_grid.SetRowState(2, wrUpdated);
    m_grid.SetChanged(2, true);
    m_grid.SetRowType(3, 5);
    EXPECT_EQ(m_grid.TypeCount(5), 2);
    EXPECT_EQ(m_grid.ChangedCount(), 1);
    EXPECT_EQ(Failure([&] { m_grid.SetRowType(0, 8); }), QStringLiteral("Invalid TwRowType Value(8)"));

    m_grid.SetOptions({wgoEditing, wgoInserting});
    m_grid.SetCurRow(1);
    m_grid.Insert(false); // shown at row 1; stored rows 1.. show one lower
    ASSERT_EQ(m_grid.GridMode(), wgmInsert);
    EXPECT_EQ(m_grid.RowType(1), 0);
    EXPECT_EQ(m_grid.RowType(2), 5);
    EXPECT_EQ(m_grid.RowState(3), wrUpdated);
    EXPECT_TRUE(m_grid.Changed(3));
    m_grid.SetRowType(1, 7);
    m_grid.SetRowState(1, wrDeleted);
    m_grid.SetChanged(1, true);
    m_grid.SetRowType(4, 2);
    m_grid.Cancel();
    EXPECT_EQ(States(), QStringLiteral("0010"));
    EXPECT_EQ(m_grid.RowType(1), 5);
    EXPECT_EQ(m_grid.RowType(3), 2);

    m_grid.Markers().SetVisible(true);
    PaintSpy spy;
    ASSERT_TRUE(ShowAndWatch(spy));
    const QPoint marker = m_grid.Extents().GetColBound(-1, 2).center();
    const auto repainted = [&](auto clear, bool repaint) {
        spy.painted = {};
        clear(repaint);
        QApplication::processEvents();
        return spy.painted.contains(marker);
    };
    EXPECT_FALSE(repainted([&](bool r) { m_grid.ClearChanged(r); }, false));
    EXPECT_EQ(m_grid.ChangedCount(), 0);
    EXPECT_TRUE(repainted([&](bool r) { m_grid.ClearRowStates(r); }, true));
    EXPECT_EQ(m_grid.StateCount(wrNormal), 4);
    m_grid.BeginUpdate();
    EXPECT_FALSE(repainted([&](bool r) { m_grid.ClearRowTypes(r); }, true)) << "not inside an update bracket";
    m_grid.EndUpdate(false);
    EXPECT_EQ(m_grid.TypeCount(0), 4);
}
