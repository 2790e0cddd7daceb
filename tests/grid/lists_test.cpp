#include "grid/drawobjects.h"
#include "grid/uxgraphics.h"
#include "grid/uxlists.h"
#include "grid/uxutils.h"
#include "testsupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

const QStringList Codes{QStringLiteral("A;Apple"), QStringLiteral("B;Banana")};

// Every cell of the list, a row per line: "1|A|Apple\n2|B|Banana".
QString Cells(const TwItemList &list)
{
    QStringList rows;
    for (int row = 0; row < list.GetRowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.GetColCount(); ++column)
            cells << list.GetColText(row, column);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

QStringList Numbered(int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("item %1").arg(i);
    return rows;
}

TEST(ListOption, AssignCopiesValuesAndWhichFontsAreAssigned)
{
    TwItemListOption source;
    source.SetSeparator(QLatin1Char('|'));
    source.SetValuesIndex(2);
    source.SetTitles(QStringLiteral("a|b"));
    source.SetWidth(-1);
    TwFont font;
    font.Font.setItalic(true);
    source.SetTitleFont(font);
    TwItemListOption copy;
    TwFont mine;
    mine.Font.setBold(true);
    copy.SetFont(mine);
    QSignalSpy changed(&copy, &TwItemListOption::ValuesIndexChanged);
    copy.Assign(source);
    EXPECT_EQ(copy.Separator(), QLatin1Char('|'));
    EXPECT_EQ(copy.ValuesIndex(), 2);
    EXPECT_EQ(copy.Titles(), QStringLiteral("a|b"));
    EXPECT_EQ(copy.Width(), -1);
    EXPECT_TRUE(copy.TitleFontAssigned());
    EXPECT_TRUE(copy.TitleFont() == font);
    EXPECT_FALSE(copy.FontAssigned()) << "the owner's font again, as in the source";
    EXPECT_EQ(changed.count(), 1);
    TwListoption plain;
    plain.SetItemCount(3);
    copy.Assign(plain);
    EXPECT_EQ(copy.ItemCount(), 3);
    EXPECT_EQ(copy.ValuesIndex(), 2) << "a plain option has no value column to copy";
}

struct ItemListTest : ::testing::Test
{
    QLineEdit owner;
    TwItemListOption option;
    TwItemList list{&owner};

    void SetUp() override
    {
        owner.resize(120, 22);
        owner.show();
        option.SetCharWidth(10); // columns of a known width whatever the font
    }
};

TEST_F(ItemListTest, ColumnsComeFromTheItemsAndTheValueColumn)
{
    list.SetOptions(&option, Codes, {}, nullptr, true);
    EXPECT_EQ(Cells(list), QStringLiteral("A|Apple\nB|Banana"));
    option.SetValuesIndex(0);
    list.SetOptions(&option, Codes, {QStringLiteral("1"), QStringLiteral("2")}, nullptr, true);
    EXPECT_EQ(Cells(list), QStringLiteral("1|A|Apple\n2|B|Banana"));
    option.SetValuesIndex(1);
    option.SetTitles(QStringLiteral("Code;Value;Name"));
    list.SetOptions(&option, Codes, {QStringLiteral("1"), QStringLiteral("2")}, nullptr, true);
    EXPECT_EQ(Cells(list), QStringLiteral("A|1|Apple\nB|2|Banana"));
    EXPECT_EQ(list.GetTitle(2), QStringLiteral("Name"));
    option.SetValuesIndex(5);
    list.SetOptions(&option, Codes, {QStringLiteral("1"), QStringLiteral("2")}, nullptr, true);
    EXPECT_EQ(Cells(list), QStringLiteral("A|Apple|1\nB|Banana|2")) << "past the items the values come last";

    // Values alone: no items, or fewer items than values.
    list.SetOptions(&option, {}, {QStringLiteral("x"), QStringLiteral("y")}, nullptr, true);
    EXPECT_TRUE(list.ValuesMode());
    EXPECT_EQ(Cells(list), QStringLiteral("x\ny"));
    list.SetOptions(&option, {QStringLiteral("A;Apple")}, {QStringLiteral("x"), QStringLiteral("y")}, nullptr, true);
    EXPECT_EQ(Cells(list), QStringLiteral("x\ny"));
    list.SetOptions(&option, {}, {}, nullptr, true);
    EXPECT_EQ(list.GetColCount(), 0);
}

TEST_F(ItemListTest, RegressionRowsWithoutAValueShowNoValue)
{
    option.SetValuesIndex(0);
    list.SetOptions(&option, {QStringLiteral("A;Apple"), QStringLiteral("B;Banana"), QStringLiteral("C;Cherry")},
                    {QStringLiteral("1")}, nullptr, true);
    EXPECT_EQ(Cells(list), QStringLiteral("1|A|Apple\n|B|Banana\n|C|Cherry"));
    EXPECT_EQ(list.GetColText(3, 0), QString());
    EXPECT_EQ(list.GetColText(0, 3), QString());
    EXPECT_EQ(list.GetColText(-1, 0), QString());
}

TEST_F(ItemListTest, WidthFollowsTheOptionAndTheOwner)
{
    list.SetOptions(&option, Codes, {}, nullptr, false);
    // One and six characters of 10 pixels, a gap of 2, the frame of 1 on each side and 1.
    EXPECT_EQ(list.GetColWidth(0), 12);
    EXPECT_EQ(list.GetColWidth(1), 60);
    EXPECT_EQ(list.ColumnsWidth(), 12 + 60 + 2 + 1);
    EXPECT_EQ(list.width(), 120) << "the owner's width";
    EXPECT_EQ(list.height(), 2 + 2 * list.RowHeight() + 1);

    option.SetWidth(-1);
    list.SetOptions(&option, Codes, {}, nullptr, false);
    EXPECT_EQ(list.width(), 75);
    option.SetWidth(-2);
    list.SetOptions(&option, Codes, {}, nullptr, false);
    EXPECT_EQ(list.width(), 120) << "never narrower than the owner";
    owner.resize(60, 22);
    list.ResetBounds();
    EXPECT_EQ(list.width(), 75);
    option.SetWidth(70);
    list.SetOptions(&option, Codes, {}, nullptr, false);
    EXPECT_EQ(list.width(), 70);

    // More rows than ItemCount: a scroll bar, and its width counts.
    option.SetWidth(-1);
    option.SetItemCount(3);
    list.SetOptions(&option, Numbered(10), {}, nullptr, true);
    EXPECT_EQ(list.VisibleRowCount(), 3);
    EXPECT_EQ(list.ColumnsWidth(), 60 + 4 + 1 + TXButtonWidth());
    EXPECT_FALSE(list.ScrollBar()->isHidden());
    list.SetOptions(&option, {}, {}, nullptr, true);
    EXPECT_EQ(list.size(), QSize(60, 12)) << "an empty list";
}

// The font's average width undersizes texts of wide glyphs: digits and capitals must not be
// clipped by the next column.
TEST_F(ItemListTest, AverageWidthColumnsHoldTheirWidestText)
{
    option.SetCharWidth(0);
    option.SetShowTitle(true);
    option.SetTitles(QStringLiteral("No;Name"));
    list.SetOptions(&option, {QStringLiteral("10;WWW"), QStringLiteral("20;MMMMMM")}, {}, nullptr, true);
    const QFontMetrics metrics(option.Font().Font);
    EXPECT_GE(list.GetColWidth(0), metrics.horizontalAdvance(QStringLiteral("10")) + 3) << "text margins 2 and 1";
    EXPECT_GE(list.GetColWidth(1), metrics.horizontalAdvance(QStringLiteral("MMMMMM")) + 3);
    option.SetWidth(-1);
    list.SetOptions(&option, {QStringLiteral("10;WWW"), QStringLiteral("20;MMMMMM")}, {}, nullptr, true);
    EXPECT_EQ(list.width(), list.GetColWidth(0) + list.GetColWidth(1) + 2 * list.FrameWidth() + 1);
}

TEST_F(ItemListTest, KeysMoveTheSelectionAndOthersGoToTheOwner)
{
    option.SetItemCount(4);
    list.SetOptions(&option, Numbered(10), {}, nullptr, true);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.ItemIndex(), 0) << "without a selection a key selects the top row";
    QTest::keyClick(&list, Qt::Key_PageDown);
    EXPECT_EQ(list.ItemIndex(), 4);
    EXPECT_EQ(list.TopRow(), 1) << "scrolled to show it at the bottom";
    QTest::keyClick(&list, Qt::Key_PageDown);
    QTest::keyClick(&list, Qt::Key_PageDown);
    EXPECT_EQ(list.ItemIndex(), 9) << "Page Down on the last page selects the last row";
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(list.TopRow(), 0);
    QTest::keyClick(&list, Qt::Key_End);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.ItemIndex(), 8);
    list.SetItemIndex(-1);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.ItemIndex(), 8) << "the last highlighted row";
    list.SetItemIndex(42);
    EXPECT_EQ(list.ItemIndex(), 9);

    // Shown, the list takes the keys typed in the owner's window and hands back the others.
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy enter(&owner, &QLineEdit::returnPressed);
    QWindow *window = owner.windowHandle();
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(list.ItemIndex(), 8);
    QTest::keyClick(window, Qt::Key_A, Qt::NoModifier);
    QTest::keyClick(window, Qt::Key_B, Qt::NoModifier);
    QTest::keyClick(window, Qt::Key_Backspace);
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(owner.text(), QStringLiteral("a"));
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(list.ItemIndex(), 8);
}

TEST_F(ItemListTest, LocateFindsTheFirstBeginningWithOrWithoutCase)
{
    list.SetOptions(&option, {QStringLiteral("apple"), QStringLiteral("Banana"), QStringLiteral("banjo")}, {},
                    nullptr, true);
    EXPECT_EQ(list.Locate(QStringLiteral("BAN"), false), 1);
    EXPECT_EQ(list.ItemIndex(), -1);
    option.SetCaseSensitive(true);
    EXPECT_EQ(list.Locate(QStringLiteral("ban"), true), 2);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.Locate(QStringLiteral("Apple"), true), -1);
    list.SetOptions(&option, {}, {QStringLiteral("10"), QStringLiteral("20")}, nullptr, true);
    EXPECT_EQ(list.Locate(QStringLiteral("2"), true), 1) << "the values in values mode";
}

TEST_F(ItemListTest, MouseSelectsAcceptsAndCancels)
{
    list.SetOptions(&option, Numbered(5), {}, nullptr, true);
    list.move(owner.mapToGlobal(QPoint(0, owner.height())));
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy closeUp(&list, &TwItemList::OnCloseUp);
    const int y = list.FrameWidth() + list.HeaderHeight() + 2 * list.RowHeight() + 2;
    QTest::mouseMove(&list, QPoint(20, y));
    EXPECT_SOON(list.ItemIndex() == 2);
    EXPECT_EQ(list.MouseToRow(20, y), 2);
    QTest::mouseRelease(&list, Qt::LeftButton, {}, QPoint(20, y));
    ASSERT_EQ(closeUp.count(), 1);
    EXPECT_TRUE(closeUp.at(0).at(1).toBool());

    // Held above the rows, the selection climbs one row per move.
    QTest::mousePress(&list, Qt::LeftButton, {}, QPoint(20, y));
    QTest::mouseMove(&list, QPoint(20, 0));
    EXPECT_SOON(list.ItemIndex() == 1);
    QTest::mouseRelease(&list, Qt::LeftButton, {}, QPoint(20, -30));
    EXPECT_EQ(closeUp.count(), 1) << "a release outside the list chooses nothing";

    // A press on the owner's window reaches the list, which holds the pointer, and closes it.
    QTest::mousePress(owner.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(owner.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(closeUp.count(), 2);
    EXPECT_FALSE(closeUp.at(1).at(1).toBool());
    EXPECT_FALSE(list.isVisible());
}

// A combo opens its list on the press of its button: the drag to a row and the release
// there choose the row, and a release back on the button chooses nothing.
struct DropButton : QLineEdit
{
    TwItemList *list = nullptr;
    void mousePressEvent(QMouseEvent *) override
    {
        list->move(mapToGlobal(QPoint(0, height())));
        list->show();
    }
};

TEST(ItemListDrag, APressOnTheOwnerThenADragAndAReleaseOnARowChooseIt)
{
    DropButton owner;
    owner.resize(120, 22);
    TwItemList list(&owner);
    owner.list = &list;
    TwItemListOption option;
    list.SetOptions(&option, Numbered(5), {}, nullptr, true);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QSignalSpy closeUp(&list, &TwItemList::OnCloseUp);
    QWindow *window = owner.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(list.isVisible());
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(closeUp.count(), 0) << "released on the button: the list stays open";
    ASSERT_TRUE(list.isVisible());

    // The list holds the pointer: the window system sends it the clicks and drags.
    QWindow *popup = list.windowHandle();
    const auto rowPoint = [&](int row) {
        return QPoint(20, list.FrameWidth() + list.HeaderHeight() + row * list.RowHeight() + 2);
    };
    QTest::mousePress(popup, Qt::LeftButton, {}, rowPoint(3));
    EXPECT_EQ(list.ItemIndex(), 3);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, rowPoint(3));
    ASSERT_EQ(closeUp.count(), 1);
    EXPECT_TRUE(closeUp.at(0).at(1).toBool());

    list.hide();
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(list.isVisible());
    QTest::mouseMove(popup, rowPoint(1));
    EXPECT_EQ(list.ItemIndex(), 1);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, rowPoint(1));
    ASSERT_EQ(closeUp.count(), 2);
    EXPECT_TRUE(closeUp.at(1).at(1).toBool());
}

TEST_F(ItemListTest, PaintsTitlesHighlightLinesAndImages)
{
    TwImageList images(QSize(12, 12));
    for (const QColor color : {QColor(Qt::red), QColor(Qt::darkGreen), QColor(Qt::blue)}) {
        QPixmap image(12, 12);
        image.fill(color);
        images.Add(image);
    }
    option.SetCharWidth(0);
    option.SetShowTitle(true);
    option.SetTitles(QStringLiteral("Code;Name"));
    option.SetTitleColor(TColor(0x00FFFFu)); // yellow
    option.SetColor(clWhite);
    option.SetColLines(true);
    option.SetRowLines(true);
    option.SetLineColor(TColor(0x0000FFu)); // red
    option.SetWidth(-2);
    list.SetOptions(&option, {QStringLiteral("A;Apple"), QStringLiteral("B;Banana"), QStringLiteral("C;Cherry")}, {},
                    &images, true);
    list.SetItemIndex(1);
    const QImage picture = list.grab().toImage();
    picture.save(PicturePath(QStringLiteral("itemlist.png")));

    const int frame = list.FrameWidth();
    const int right = list.width() - frame - 3;
    EXPECT_EQ(picture.pixelColor(right, frame + 1), QColor(Qt::yellow)) << "the title row";
    const int row1 = frame + list.HeaderHeight() + list.RowHeight();
    EXPECT_EQ(picture.pixelColor(right, row1 + 2), TXColor(clHighlight)) << "the selected row";
    EXPECT_EQ(picture.pixelColor(right, row1 - 1), QColor(Qt::red)) << "the line under the first row";
    EXPECT_EQ(picture.pixelColor(frame + list.GetColWidth(0) - 1, row1 + 2), QColor(Qt::red)) << "the column line";
    EXPECT_EQ(picture.pixelColor(frame + 2 + 6, frame + list.HeaderHeight() + list.RowHeight() / 2), QColor(Qt::red))
        << "the first row's image";
    EXPECT_EQ(picture.pixelColor(frame + 2 + 6, row1 + list.RowHeight() / 2), QColor(Qt::darkGreen));
}

} // namespace
