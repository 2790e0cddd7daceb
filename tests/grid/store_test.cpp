#include "grid/memcolumn.h"
#include "platform/texception.h"
#include "storegrid.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

QString Texts(const TwMemPool &pool)
{
    QStringList texts;
    for (int row = 0; row < pool.GetCount(); ++row)
        texts << (pool.GetNull(row) ? QStringLiteral("null") : pool.GetString(row));
    return texts.join(QLatin1Char(','));
}

} // namespace

TEST(MemPool, NewRowsAreNullAndEmptyTextsMakeRowsNull)
{
    for (TwDataType type : {wdtString, wdtChar, wdtBool, wdtShort, wdtByte, wdtSmall, wdtWord, wdtLong, wdtFloat, wdtDate,
                            wdtTime, wdtDateTime}) {
        TwMemPool pool = Pool(type, 8, 2);
        EXPECT_TRUE(pool.GetNull(1)) << int(type);
        EXPECT_EQ(pool.GetString(1), QString()) << int(type);
        EXPECT_EQ(pool.GetLong(1), 0) << int(type);
        EXPECT_FALSE(pool.GetValue(1).isValid()) << int(type);
        const QString text = type == wdtDate || type == wdtDateTime ? QStringLiteral("2024-01-01")
            : type == wdtTime                                        ? QStringLiteral("12:00")
                                                                     : QStringLiteral("1");
        pool.SetString(0, text);
        EXPECT_FALSE(pool.GetNull(0)) << int(type);
        pool.SetString(0, QString());
        EXPECT_TRUE(pool.GetNull(0)) << "an empty text makes the row null, type " << int(type);
    }
}

TEST(MemPool, WidthsCutTextsAndCharFieldsClampTheirWidth)
{
    TwMemPool limited = Pool(wdtString, 3);
    limited.SetString(0, QStringLiteral("abcdef"));
    EXPECT_EQ(limited.GetString(0), QStringLiteral("abc"));
    TwMemPool unlimited = Pool(wdtString, 0);
    unlimited.SetString(0, QStringLiteral("abcdef"));
    EXPECT_EQ(unlimited.GetString(0), QStringLiteral("abcdef"));

    TwMemPool narrow = Pool(wdtChar, 0);
    EXPECT_EQ(narrow.RecordSize(), 1 + 2);
    narrow.SetString(0, QStringLiteral("xyz"));
    EXPECT_EQ(narrow.GetString(0), QStringLiteral("x"));
    TwMemPool wide = Pool(wdtChar, 300);
    EXPECT_EQ(wide.RecordSize(), 1 + 256);
    TwMemPool korean = Pool(wdtChar, 5);
    korean.SetString(0, QStringLiteral("가나다"));
    EXPECT_EQ(korean.GetString(0), QStringLiteral("가나")) << "five bytes hold two syllables, never half of one";
}

TEST(MemPool, IntegersRoundHalfToEvenKeepTheirLowBitsAndValuesTravelAsVariantsOfTheirType)
{
    TwMemPool longs = Pool(wdtLong);
    longs.SetFloat(0, 2.5);
    longs.SetFloat(1, 3.5);
    longs.SetFloat(2, -2.5);
    EXPECT_EQ(Texts(longs), QStringLiteral("2,4,-2"));
    TwMemPool shorts = Pool(wdtShort);
    shorts.SetLong(0, 300);
    shorts.SetString(1, QStringLiteral("-129"));
    EXPECT_EQ(Texts(shorts).left(8), QStringLiteral("44,127,n"));
    TwMemPool floats = Pool(wdtFloat);
    floats.SetString(0, QStringLiteral("2.5"));
    EXPECT_EQ(floats.GetLong(0), 2);
    floats.SetFloat(1, 1.0 / 3.0);
    EXPECT_EQ(floats.GetString(1), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(ErrorOf([&floats] { floats.SetString(2, QStringLiteral("abc")); }),
              QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_TRUE(floats.GetNull(2)) << "a failed parse writes nothing";

    TwMemPool dates = Pool(wdtDate);
    dates.SetString(0, QStringLiteral("2024-02-29"));
    EXPECT_EQ(dates.GetString(0), QStringLiteral("2024-02-29"));
    EXPECT_TRUE(TXIsDateVariant(dates.GetValue(0)));
    EXPECT_EQ(TXDateToInt(dates.GetValue(0).value<TwDateValue>().Serial), 20240229);
    TwMemPool texts = Pool(wdtString);
    texts.SetValue(0, dates.GetValue(0));
    EXPECT_EQ(texts.GetString(0), QStringLiteral("2024-02-29"));
    texts.SetValue(1, true);
    EXPECT_EQ(texts.GetString(1), QStringLiteral("1"));
    TwMemPool words = Pool(wdtWord);
    words.SetValue(0, QStringLiteral("65537"));
    EXPECT_EQ(words.GetValue(0).metaType(), QMetaType::fromType<quint16>());
    EXPECT_EQ(words.GetValue(0).toInt(), 1);
    words.SetValue(1, QVariant());
    EXPECT_TRUE(words.GetNull(1));
    TwMemPool stamps = Pool(wdtDateTime);
    stamps.SetString(0, QStringLiteral("2024-02-29 13:45:00"));
    EXPECT_EQ(stamps.GetString(0), QStringLiteral("2024-02-29 13:45:00"));
    stamps.SetString(1, QStringLiteral("2024-03-01"));
    EXPECT_EQ(stamps.GetString(1), QStringLiteral("2024-03-01")) << "midnight leaves the time out";
}

TEST(MemPool, RowsInsertDeleteMoveAndExchangeWithTheirTexts)
{
    TwMemPool pool = Pool(wdtString, 0, 6);
    for (int row = 0; row < 6; ++row)
        pool.SetString(row, QString(QChar(u'a' + row)));
    pool.Delete(1, 3);
    EXPECT_EQ(pool.GetCount(), 3);
    EXPECT_EQ(Texts(pool), QStringLiteral("a,e,f"));
    pool.Insert(1);
    EXPECT_EQ(Texts(pool), QStringLiteral("a,null,e,f"));
    pool.Move(0, 3);
    EXPECT_EQ(Texts(pool), QStringLiteral("null,e,f,a"));
    pool.Exchange(0, 2);
    EXPECT_EQ(Texts(pool), QStringLiteral("f,e,null,a"));

    TwMemPool numbers = Pool(wdtFloat, 0, 4);
    for (int row = 0; row < 4; ++row)
        numbers.SetFloat(row, row + 0.5);
    numbers.Move(3, 0);
    EXPECT_EQ(Texts(numbers), QStringLiteral("3.5,0.5,1.5,2.5"));
    EXPECT_EQ(ErrorOf([&numbers] { numbers.Delete(3, 2); }), QStringLiteral("Pool row bounds error[3]"));
}

TEST(MemPool, ComparisonsPutNullFirst)
{
    TwMemPool pool = Pool(wdtLong, 0, 4);
    pool.SetLong(0, -100);
    pool.SetLong(2, 5);
    EXPECT_EQ(pool.Compare(1, 0), -1) << "null before the smallest value";
    EXPECT_EQ(pool.Compare(0, 1), 1);
    EXPECT_EQ(pool.Compare(1, 3), 0) << "two nulls are equal";
    EXPECT_EQ(pool.Compare(2, 0), 1);
    EXPECT_EQ(pool.Compare(2, QString()), 1) << "a value against an empty text";
    EXPECT_EQ(pool.Compare(1, QString()), -1) << "a null against anything";
    EXPECT_EQ(pool.Compare(2, QStringLiteral("5")), 0);
    EXPECT_EQ(pool.Compare(2, QStringLiteral("10")), -1);
    pool.SetLong(3, 0);
    EXPECT_FALSE(pool.SameValue(1, pool, 3)) << "a null never equals a present zero";
    EXPECT_FALSE(pool.SameValue(3, pool, 1));
    pool.SetNull(3);
    EXPECT_TRUE(pool.SameValue(1, pool, 3));

    TwMemPool texts = Pool(wdtString, 0, 2);
    texts.SetString(0, QStringLiteral("b"));
    texts.SetString(1, QStringLiteral("B"));
    EXPECT_NE(texts.Compare(0, 1), 0) << "case counts";
    EXPECT_EQ(texts.Compare(0, QStringLiteral("b")), 0);
}

TEST(MemPool, ATypeChangeRelaysTheRecords)
{
    TwMemPool pool = Pool(wdtLong, 0, 3);
    pool.SetLong(0, 7);
    pool.SetLong(2, 9);
    pool.ColumnChanged(wdtString, 0);
    EXPECT_EQ(Texts(pool), QStringLiteral("null,null,null"));
    pool.SetString(1, QStringLiteral("x"));
    pool.ColumnChanged(wdtSmall, 0);
    EXPECT_EQ(Texts(pool), QStringLiteral("null,null,null"));
    pool.SetSmall(0, 513);
    pool.SetSmall(2, 3);
    pool.ColumnChanged(wdtByte, 0);
    EXPECT_EQ(Texts(pool), QStringLiteral("1,null,3")) << "a narrower record keeps its leading bytes";
    pool.ColumnChanged(wdtLong, 0);
    EXPECT_FALSE(pool.GetNull(0)) << "a wider record keeps its presence";
    EXPECT_TRUE(pool.GetNull(1));
}

TEST(RowInfos, StatesTypesAndSelectionCounts)
{
    TwRowInfos rows;
    rows.Init();
    rows.SetCount(4);
    rows.SetState(0, wrDeleted);
    rows.SetState(1, wrUpdated);
    rows.SetState(2, wrInserted);
    EXPECT_EQ(rows.GetStateCount(wrNormal), 1);
    EXPECT_EQ(rows.GetStateCount(wrUpdated), 2);
    EXPECT_EQ(rows.GetStateCount(wrInserted), 2);
    EXPECT_EQ(rows.GetStateCount(wrDeleted), 1);
    rows.SetChanged(3, true);
    rows.SetRowType(3, 7);
    EXPECT_EQ(rows.GetChangedCount(), 1);
    EXPECT_EQ(rows.GetTypeCount(7), 1);
    EXPECT_EQ(rows.GetTypeCount(0), 3);
    EXPECT_EQ(ErrorOf([&rows] { rows.SetRowType(3, 8); }), QStringLiteral("Invalid TwRowType Value(8)"));
    EXPECT_EQ(rows.RowType(3), 7);
    EXPECT_TRUE(rows.Changed(3)) << "the other bits are kept";
    rows.ClearState();
    EXPECT_EQ(rows.GetStateCount(wrNormal), 4);

    int notified = 0;
    TwRowInfos selection([&notified] { ++notified; });
    selection.Init();
    selection.SetCount(40);
    for (int row : {1, 5, 30, 35, 5})
        selection.SetSelected(row, true);
    EXPECT_EQ(notified, 4) << "setting the present value tells nobody";
    selection.Delete(4, 2);
    EXPECT_EQ(selection.SelectedCount(), 3);
    selection.SetCount(32);
    EXPECT_EQ(selection.SelectedCount(), 2) << "row 33 (was 35) went";
    selection.SetCount(3);
    EXPECT_EQ(selection.SelectedCount(), 1);
}

TEST(RowSelection, ClicksRangesAndClearingIntoCheckedMarks)
{
    TwRowInfos rows;
    rows.Init();
    rows.SetCount(10);
    TwRowSelection selection(rows);
    const auto selected = [&rows] {
        QStringList list;
        for (int row = 0; row < rows.Count(); ++row)
            if (rows.Selected(row))
                list << QString::number(row);
        return list.join(QLatin1Char(','));
    };
    selection.Click(3, Qt::NoModifier);
    selection.Click(6, Qt::ShiftModifier);
    EXPECT_EQ(selected(), QStringLiteral("3,4,5,6"));
    selection.Click(8, Qt::ControlModifier);
    EXPECT_EQ(selected(), QStringLiteral("3,4,5,6,8"));
    selection.MoveRangeEnd(9);
    EXPECT_EQ(selected(), QStringLiteral("3,4,5,6,8,9")) << "the range now runs from 8";
    selection.MoveRangeEnd(7);
    EXPECT_EQ(selected(), QStringLiteral("3,4,5,6,7,8"));
    selection.Click(7, Qt::ControlModifier);
    EXPECT_EQ(selected(), QStringLiteral("3,4,5,6,8"));
    EXPECT_FALSE(selection.Selecting()) << "a Ctrl-click that deselects leaves no range";
    selection.Click(1, Qt::ShiftModifier);
    EXPECT_EQ(selected(), QStringLiteral("1")) << "without a range Shift starts one";
    rows.SetSelected(5, true);
    rows.SetChecked(7, true);
    selection.ClearSelection();
    EXPECT_TRUE(rows.Checked(1));
    EXPECT_TRUE(rows.Checked(5));
    EXPECT_FALSE(rows.Checked(7));
    EXPECT_EQ(rows.SelectedCount(), 0);
}

TEST(Footers, SummariesOverThePool)
{
    TwMemPool empty = Pool(wdtLong, 0, 0);
    for (TwFooterMethod method : {wfmeCount, wfmeSum, wfmeAverage, wfmeMax, wfmeMin})
        EXPECT_EQ(empty.CalcFooter(method, &empty, wfopAll, {}), QString()) << int(method);

    TwMemPool values = Pool(wdtLong, 0, 3);
    values.SetLong(0, 3);
    values.SetLong(2, 6);
    EXPECT_EQ(values.CalcFooter(wfmeAverage, &values, wfopAll, {}), QStringLiteral("3"));
    EXPECT_EQ(values.CalcFooter(wfmeSum, &values, wfopAll, {}), QStringLiteral("9"));
    EXPECT_EQ(values.CalcFooter(wfmeMax, &values, wfopAll, {}), QStringLiteral("6"));
    EXPECT_EQ(values.CalcFooter(wfmeMin, &values, wfopAll, {}), QString()) << "the null row is the smallest";
    EXPECT_EQ(values.CalcFooter(wfmeCustom, &values, wfopAll, {}), QString());
    EXPECT_EQ(values.CalcFooter(wfmeCount, nullptr, wfopAll, {}), QString());

    TwMemPool amounts = Pool(wdtLong, 0, 5);
    const int data[] = {5, 11, 20, 10};
    for (int row = 0; row < 4; ++row)
        amounts.SetLong(row, data[row]);
    EXPECT_EQ(amounts.CalcCount(&amounts, wfopGT, QStringLiteral("10")), QStringLiteral("2")) << "null rows never exceed";
    EXPECT_EQ(amounts.CalcCount(&amounts, wfopEQ, QString()), QStringLiteral("0"));
    EXPECT_EQ(amounts.CalcCount(&amounts, wfopLT, QStringLiteral("10")), QStringLiteral("2")) << "5 and the null row";
    EXPECT_EQ(amounts.CalcSum(&amounts, wfopGTE, QStringLiteral("10")), QStringLiteral("41"));

    TwMemPool names = Pool(wdtString, 0, 2);
    names.SetString(0, QStringLiteral("x"));
    EXPECT_EQ(names.CalcSum(&names, wfopAll, {}), QString());
    EXPECT_EQ(names.CalcCount(&names, wfopAll, {}), QStringLiteral("2"));
    EXPECT_EQ(names.CalcCount(&amounts, wfopGT, QStringLiteral("10")), QStringLiteral("1"))
        << "a condition on another pool, over this pool's rows";
}

TEST(Footers, StyleEntriesAndLines)
{
    StoreGrid grid;
    grid.Footers().Add();
    grid.Footers().Add();
    TwMemColumn *column = grid.AddMemColumn(wdtLong);
    TwMemColumnFooter &footer = column->MemFooter();
    EXPECT_EQ(footer.Styles(), (QStringList{QStringLiteral("099990"), QStringLiteral("099990")}));
    footer.SetOpColumn(0, -5);
    EXPECT_EQ(footer.Styles().at(0), QStringLiteral("099990"));
    EXPECT_EQ(footer.GetOpColumn(0), -1);
    footer.SetStyle(1, wfmeCount, 12, wfopGTE, QStringLiteral("10"));
    EXPECT_EQ(footer.Styles().at(1), QStringLiteral("20012310"));
    EXPECT_TRUE(footer.Footering(1));
    EXPECT_FALSE(footer.Footering(0));

    grid.Footers().Add();
    EXPECT_EQ(footer.Styles().value(2), QStringLiteral("099990"));
    footer.SetMethod(2, wfmeSum);
    grid.Footers().Delete(2);
    EXPECT_EQ(footer.Styles().size(), 3) << "the list keeps its length";
    EXPECT_EQ(footer.Styles().at(2), QStringLiteral("099990")) << "but the line beyond is reset";
}

TEST(Footers, DesignTimeLabelsAndRunTimeFormatting)
{
    StoreGrid grid;
    grid.Footers().Add();
    TwMemColumn *qty = grid.AddMemColumn(wdtLong);
    qty->Title().SetCaption(QStringLiteral("Qty"));
    TwMemColumn *amount = grid.AddMemColumn(wdtFloat);
    amount->SetDisplayFormat(QStringLiteral("#,##0.00"));
    TwMemColumnFooter &footer = amount->MemFooter();
    footer.SetValues(0, QStringLiteral("1234.5"));
    footer.SetStyle(0, wfmeSum, -1, wfopAll, {});
    EXPECT_EQ(footer.GetText(0), QStringLiteral("1,234.50")) << "formatted like the cells at run time";
    grid.SetDesigning(true);
    EXPECT_EQ(footer.GetText(0), QStringLiteral("Sum (All)"));
    footer.SetStyle(0, wfmeCount, 0, wfopGT, QStringLiteral("10"));
    EXPECT_EQ(footer.GetText(0), QStringLiteral("Cnt (Qty > 10)"));
    footer.SetStyle(0, wfmeMax, -1, wfopEQ, QStringLiteral("A"));
    EXPECT_EQ(footer.GetText(0), QStringLiteral("Max (== A)"));
    footer.SetStyle(0, wfmeMin, 40, wfopNEQ, QStringLiteral("0"));
    EXPECT_EQ(footer.GetText(0), QStringLiteral("Min (\"40\" != 0)"));
    footer.SetStyle(0, wfmeCustom, -1, wfopAll, {});
    EXPECT_EQ(footer.GetText(0), QStringLiteral("Custom"));
}

TEST(Footers, RegressionNumericResultsNeverShowAsItems)
{
    struct Case
    {
        TwFooterMethod Method;
        const char *Format;
        const char *Value;
        const char *Text;
    };
    const Case cases[] = {
        {wfmeCount, "", "3", "3"},
        {wfmeSum, "", "3", "3"},
        {wfmeAverage, "", "2", "2"},
        {wfmeCount, "#,##0.00", "3", "3.00"},
        {wfmeSum, "#,##0", "1234", "1,234"},
        {wfmeAverage, "0.0", "2.25", "2.3"},
        {wfmeMax, "", "3", "Three"}, // a value of the column reads like its cells
        {wfmeMin, "", "1", "One"},
    };
    for (const Case &c : cases) {
        StoreGrid grid;
        grid.Footers().Add();
        TwMemColumn *column = grid.AddMemColumn(wdtLong);
        column->SetValues({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
        column->SetItems({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        column->ListOption().SetValuesIndex(1);
        column->SetDisplayFormat(QString::fromLatin1(c.Format));
        TwMemColumnFooter &footer = column->MemFooter();
        footer.SetStyle(0, c.Method, -1, wfopAll, {});
        footer.SetValues(0, QString::fromLatin1(c.Value));
        EXPECT_EQ(footer.GetText(0), QString::fromLatin1(c.Text)) << int(c.Method) << " " << c.Format;
    }
}

TEST(MemColumns, EditKindsLimitsAndValidCharacters)
{
    StoreGrid grid;
    TwMemColumn *text = grid.AddMemColumn(wdtString, 10);
    EXPECT_EQ(text->Title().Caption(), QStringLiteral("Column1"));
    text->Title().SetCaption(QStringLiteral("MyColumn7x"));
    EXPECT_EQ(text->GetEditKind(), wekText);
    text->SetMaxLength(4);
    EXPECT_EQ(text->GetEditLimit(), 4);
    text->SetEditStyle(wesMemo);
    EXPECT_EQ(text->GetEditKind(), wekMemo);
    text->SetValues({QStringLiteral("A")});
    text->SetEditStyle(wesDefault);
    EXPECT_EQ(text->GetEditKind(), wekPickList);

    TwMemColumn *flag = grid.AddMemColumn(wdtBool);
    EXPECT_EQ(flag->Title().Caption(), QStringLiteral("Column8")) << "numbered after the largest";
    flag->SetValues({QStringLiteral("N"), QStringLiteral("Y")});
    EXPECT_EQ(flag->GetEditKind(), wekCheckBox) << "a check box stays one with values";
    flag->SetEditStyle(wesRadioGroup);
    EXPECT_EQ(flag->GetEditKind(), wekRadioGroup);

    TwMemColumn *number = grid.AddMemColumn(wdtSmall);
    EXPECT_EQ(number->GetEditKind(), wekNumber);
    number->SetEditStyle(wesDate);
    EXPECT_EQ(number->GetEditKind(), wekNumber) << "the type does not allow a date editor";
    EXPECT_TRUE(number->IsNumeric());
    EXPECT_EQ(number->Alignment(), taRightJustify);
    EXPECT_TRUE(number->IsValidChar(QLatin1Char('-')));
    EXPECT_FALSE(number->IsValidChar(QLatin1Char('.')));
    EXPECT_FALSE(grid.AddMemColumn(wdtWord)->IsValidChar(QLatin1Char('-')));
    EXPECT_TRUE(grid.AddMemColumn(wdtFloat)->IsValidChar(QLatin1Char('e')));

    TwMemColumn *chars = grid.AddMemColumn(wdtChar, 6);
    EXPECT_EQ(chars->GetEditLimit(), 6);
    EXPECT_EQ(chars->GetDefWidth(), 6);
    TwMemColumn *picture = grid.AddMemColumn(wdtGraphic);
    EXPECT_TRUE(picture->IsGraphic());
    EXPECT_EQ(picture->Alignment(), taCenter);
    picture->SetCalculated(true);
    EXPECT_FALSE(picture->CanSelect());
}

TEST(MemColumns, TheEditBufferRaisesValueEventsOnlyForRealChanges)
{
    StoreGrid grid;
    TwMemColumn *name = grid.AddMemColumn(wdtString);
    name->Title().SetCaption(QStringLiteral("name"));
    grid.SetRows(2);
    name->Pool().SetString(0, QStringLiteral("old"));
    grid.Editing = true;
    name->LoadBuffer(0);
    name->SaveValue();
    EXPECT_TRUE(name->EqualValues());
    name->SetString(QStringLiteral("old"));
    EXPECT_TRUE(grid.Events.isEmpty()) << "an unchanged value does nothing";
    name->SetString(QStringLiteral("new"));
    EXPECT_EQ(grid.Events.join(QLatin1Char('|')), QStringLiteral("changing name=new|changed name"));
    EXPECT_FALSE(name->EqualValues());
    EXPECT_EQ(name->GetOldValue().toString(), QStringLiteral("old"));
    EXPECT_EQ(name->GetValue().toString(), QStringLiteral("new"));
    name->StoreBuffer(0);
    EXPECT_EQ(name->Pool().GetString(0), QStringLiteral("new"));

    grid.Editing = false;
    grid.Events.clear();
    name->SetString(QStringLiteral("quiet"));
    EXPECT_TRUE(grid.Events.isEmpty()) << "no events outside editing";
    EXPECT_FALSE(name->GetValue().isValid()) << "and no value to read";
}

TEST(MemColumns, CellsRouteToTheBufferOfTheEditedRowAndRejectBadAddresses)
{
    StoreGrid grid;
    TwMemColumn *qty = grid.AddMemColumn(wdtLong);
    qty->Title().SetCaption(QStringLiteral("qty"));
    grid.SetRows(3);
    TwCells cells(&grid.Columns(), &grid);
    cells.At(0, 1).SetLong(5);
    EXPECT_EQ(grid.Events.join(QLatin1Char('|')), QStringLiteral("repaint qty:1"));
    EXPECT_EQ(qty->Pool().GetLong(1), 5);

    grid.Editing = true;
    grid.CurrentRow = 2;
    grid.Events.clear();
    cells.At(0, 2).SetLong(9);
    EXPECT_EQ(grid.Events.join(QLatin1Char('|')), QStringLiteral("changing qty=9|changed qty"));
    EXPECT_TRUE(qty->Pool().GetNull(2)) << "the pool waits for the post";
    EXPECT_EQ(cells.At(0, 2).Long(), 9);
    EXPECT_EQ(cells.At(0, 1).Long(), 5);

    EXPECT_EQ(ErrorOf([&cells] { cells.At(1, 0); }), QStringLiteral("Cells col bounds error[1]"));
    EXPECT_EQ(ErrorOf([&cells] { cells.At(0, 3); }), QStringLiteral("Cells row bounds error[3]"));
}

TEST(MemColumns, DisplayTextsFollowItemsFormatsAndBooleanTexts)
{
    StoreGrid grid;
    TwMemColumn *code = grid.AddMemColumn(wdtString);
    TwMemColumn *amount = grid.AddMemColumn(wdtFloat);
    TwMemColumn *flag = grid.AddMemColumn(wdtBool);
    TwMemColumn *day = grid.AddMemColumn(wdtDate);
    TwMemColumn *phone = grid.AddMemColumn(wdtString);
    grid.SetRows(2);
    code->SetValues({QStringLiteral("1"), QStringLiteral("2")});
    code->SetItems({QStringLiteral("경매;auction"), QStringLiteral("수의매;private")});
    code->ListOption().SetValuesIndex(1);
    code->Pool().SetString(0, QStringLiteral("2"));
    EXPECT_EQ(code->DisplayText(0), QStringLiteral("수의매"));
    code->Pool().SetString(1, QStringLiteral("9"));
    EXPECT_EQ(code->DisplayText(1), QStringLiteral("9")) << "a code not in the list shows itself";

    amount->SetDisplayFormat(QStringLiteral("#,##0.00;(#,##0.00)"));
    amount->Pool().SetFloat(0, 1234567.891);
    amount->Pool().SetFloat(1, -5);
    EXPECT_EQ(amount->DisplayText(0), QStringLiteral("1,234,567.89"));
    EXPECT_EQ(amount->DisplayText(1), QStringLiteral("(5.00)"));
    EXPECT_EQ(amount->_GetText(QStringLiteral("0.5")), QStringLiteral("0.50"));

    flag->SetValues({QStringLiteral("N"), QStringLiteral("Y")});
    flag->SetItems({QStringLiteral("아니오"), QStringLiteral("예")});
    flag->Pool().SetBool(0, true);
    EXPECT_EQ(flag->DisplayText(0), QStringLiteral("예"));
    EXPECT_EQ(flag->_GetText(QStringLiteral("n")), QStringLiteral("아니오"));

    day->SetDisplayFormat(QStringLiteral("yyyy\"년\" m\"월\" d\"일\""));
    day->Pool().SetString(0, QStringLiteral("2024-02-29"));
    EXPECT_EQ(day->DisplayText(0), QStringLiteral("2024년 2월 29일"));
    EXPECT_EQ(day->DisplayText(1), QString());

    phone->SetEditFormat(QStringLiteral("000-0000-0000;0;_"));
    phone->Pool().SetString(0, QStringLiteral("01012345678"));
    EXPECT_EQ(phone->DisplayText(0), QStringLiteral("010-1234-5678"));
}

TEST(GridLocale, TheLocaleObjectDecidesSeparatorsAndFormats)
{
    TwLocale &locale = TwLocale::Current();
    const TwLocale saved = locale;
    locale.DecimalSeparator = QLatin1Char(',');
    locale.ThousandSeparator = QLatin1Char('.');
    locale.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    locale.DateSeparator = QLatin1Char('.');
    EXPECT_EQ(TXFloatToText(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(TXTextToFloat(QStringLiteral("2,5")), 2.5);
    EXPECT_EQ(TXFormatFloat(QStringLiteral("#,##0.00"), 1234.5), QStringLiteral("1.234,50"));
    EXPECT_EQ(TXDateToText(TXIntToDate(20240229)), QStringLiteral("29.02.2024"));
    locale = saved;
    EXPECT_EQ(TXFloatToText(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(TXFloatToText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(TXTimeToText(TXIntToTime(93005)), QStringLiteral("09:30:05"));
}
