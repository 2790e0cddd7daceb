// What the grid paints, read back from pixels of grab(): highlight colours, the null mark,
// footer lines, indicator numbers, the empty grid's row, row selection and fixed colours.

#include "grid/tabrix.h"
#include "opengrid.h"
#include "grid/core/extents.h"

#include <QImage>

#include <functional>

#include <gtest/gtest.h>

namespace {

constexpr TColor Red = 0x0000FFu;   // colours are stored as 0x00BBGGRR
constexpr TColor Green = 0x00FF00u;
constexpr TColor Blue = 0xFF0000u;

class PaintTest : public ::testing::Test
{
protected:
    PaintTest()
    {
        for (int i = 0; i < 3; ++i) {
            auto *column = static_cast<TwMemColumn *>(m_grid.Columns().Add());
            column->SetDataType(wdtString);
            column->SetWidth(60);
            column->Title().SetCaption(QStringLiteral("C%1").arg(i));
        }
        m_grid.resize(320, 220);
        m_grid.SetSelBgColor(Red);
        m_grid.SetOptions({wgoAlwaysShowSelection});
    }

    void Rows(int count)
    {
        m_grid.SetRowCount(count);
        for (int row = 0; row < count; ++row) {
            for (int col = 0; col < 3; ++col)
                m_grid.Cells(col, row).SetString(QStringLiteral("r%1c%2").arg(row).arg(col));
        }
    }

    QImage Shot()
    {
        m_image = m_grid.viewport()->grab().toImage();
        m_grid.Extents().ReadInfo(m_grid.viewport()->rect());
        return m_image;
    }

    // The middle of a cell's inner area, away from lines, edges and text.
    QRgb CellPixel(int strip, int row) const
    {
        const QRect bound = m_grid.Extents().GetColBound(strip, row);
        return m_image.pixel(bound.right() - 4, bound.top() + 2);
    }

    int PixelsIn(const QRect &rect, const std::function<bool(QRgb)> &test) const
    {
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                count += test(m_image.pixel(x, y)) ? 1 : 0;
        }
        return count;
    }

    static QRgb Rgb(TColor color) { return TXColor(color).rgb(); }

    OpenTabrix m_grid;
    QImage m_image;
};

} // namespace

TEST_F(PaintTest, TheCurrentCellAndASelectedRowTakeTheSelectionColours)
{
    Rows(4);
    m_grid.SetSelected(2, true);
    Shot();
    EXPECT_EQ(CellPixel(0, 0), Rgb(Red)) << "the current cell";
    EXPECT_EQ(CellPixel(1, 0), Rgb(clWindow)) << "its neighbour";
    EXPECT_EQ(CellPixel(2, 2), Rgb(Red)) << "a selected row";
    EXPECT_EQ(CellPixel(1, 1), Rgb(clWindow));

    m_grid.SetOptions({wgoAlwaysShowSelection, wgoRowSelect});
    Shot();
    const auto red = [this](int strip) {
        return CellPixel(strip, 0) == Rgb(Red) ? QStringLiteral("red") : QStringLiteral("-");
    };
    EXPECT_EQ(QStringList({red(0), red(1), red(2)}).join(QLatin1Char(' ')), QStringLiteral("red red red"))
        << "row selection highlights the whole current row";
    EXPECT_EQ(CellPixel(1, 1), Rgb(clWindow));

    m_grid.SetOptions({});
    Shot();
    EXPECT_EQ(CellPixel(0, 0), Rgb(clWindow)) << "an inactive grid hides its selection";
}

TEST_F(PaintTest, ANullCellShowsTheSilverMarkOnlyWithTheOption)
{
    Rows(3);
    m_grid.Cells(1, 1).SetNull();
    const auto silver = [](QRgb pixel) { return qRed(pixel) == 0xC0 && qGreen(pixel) == 0xC0 && qBlue(pixel) == 0xC0; };
    Shot();
    const QRect inner = m_grid.Extents().GetColRect(1, 1).adjusted(1, 1, -1, -1);
    EXPECT_EQ(PixelsIn(inner, silver), 0);
    m_grid.SetOptions({wgoAlwaysShowSelection, wgoNullMark});
    Shot();
    EXPECT_GT(PixelsIn(inner, silver), 10) << "the text null in silver";
    EXPECT_EQ(PixelsIn(m_grid.Extents().GetColRect(2, 1).adjusted(1, 1, -1, -1), silver), 0) << "a cell with a value";
}

TEST_F(PaintTest, FootersIndicatorsAndTheEmptyGrid)
{
    m_grid.Footers().Add();
    m_grid.EndLines().SetHorzColor(Blue);
    m_grid.Indicators().SetShowRowNo(true);
    Rows(0);
    Shot();
    const TwGridExtents &extents = m_grid.Extents();
    const int x = extents.GetLefts(1) + 10;
    EXPECT_EQ(m_image.pixel(x, extents.FooterTop()), qRgb(0, 0, 0)) << "black along the footer's top";
    EXPECT_EQ(m_image.pixel(x, extents.FooterTop() + 1), qRgb(255, 255, 255)) << "white just below";
    const int rowBottom = extents.GetBottoms(0) - 1;
    EXPECT_EQ(m_image.pixel(x, rowBottom), Rgb(Blue)) << "one row of empty boxes with the end line";
    EXPECT_EQ(m_image.pixel(x, rowBottom - 4), Rgb(clWindow));
    EXPECT_EQ(m_image.pixel(x, rowBottom + 3), Rgb(m_grid.Color())) << "nothing below it";

    const auto dark = [](QRgb pixel) { return qGray(pixel) < 64; };
    const QRect noNumber = extents.GetColRect(-2, 0).adjusted(2, 2, -2, -2);
    EXPECT_EQ(PixelsIn(noNumber, dark), 0) << "no row number without rows";
    Rows(3);
    Shot();
    EXPECT_GT(PixelsIn(m_grid.Extents().GetColRect(-2, 2).adjusted(2, 2, -2, -2), dark), 5) << "the number 3";
    m_grid.Indicators().SetShowRowNo(false);
    Shot();
    EXPECT_EQ(PixelsIn(m_grid.Extents().GetColRect(-2, 2).adjusted(2, 2, -2, -2), dark), 0);
}

TEST_F(PaintTest, AFixedColumnKeepsItsColourOnlyWithColumnColor)
{
    Rows(3);
    m_grid.SetFixedCount(1);
    m_grid.GetMemColumn(0)->SetColor(Green);
    m_grid.FixedStyle().SetSelBgColor(Blue);
    Shot();
    EXPECT_EQ(CellPixel(0, 1), Rgb(m_grid.FixedStyle().Color())) << "the fixed style's colour";
    m_grid.FixedStyle().SetOptions({wfxColumnColor, wfxSelecting});
    m_grid.SetCurCol(0);
    Shot();
    EXPECT_EQ(CellPixel(0, 1), Rgb(Green)) << "its own colour";
    EXPECT_EQ(CellPixel(0, 0), Rgb(Red)) << "highlighted in the grid's colour, not the fixed style's";
}

TEST_F(PaintTest, DrawEventsChangeColoursAndGroupsFillTheirEmptyLevels)
{
    Rows(3);
    QObject::connect(&m_grid, &TwCustomGrid::OnDrawCell, &m_grid,
                     [](TwColumn *column, int row, QString &text, TColor &background, TColor &, TwFontStyles &) {
                         if (row == 1 && column->Index() == 2) {
                             background = Green;
                             text.clear();
                         }
                     });
    Shot();
    EXPECT_EQ(CellPixel(2, 1), Rgb(Green));
    EXPECT_EQ(CellPixel(1, 1), Rgb(clWindow));

    TwGroup *group = m_grid.Groups().Add();
    group->SetLevels(2);
    group->SetWidth(120);
    group->InsertItem(0, 0, m_grid.GetMemColumn(0));
    m_grid.SetGroupMode(true);
    m_grid.SetNullColor(Blue);
    Shot();
    const QRect empty = m_grid.Extents().GetLevelBound(0, 1, 2);
    EXPECT_EQ(m_image.pixel(empty.center()), Rgb(Blue)) << "a level without columns";
    EXPECT_EQ(m_image.pixel(m_grid.Extents().GetLevelBound(0, 0, 2).center() + QPoint(30, 0)), Rgb(clWindow));
}

TEST_F(PaintTest, ASortMarkPointsItsWayAndAPlainFooterCellStaysEmpty)
{
    Rows(2);
    m_grid.Footers().Add();
    const auto dark = [](QRgb pixel) { return qGray(pixel) < 64; };
    // The widths of the mark's topmost and bottommost dark rows, in the title's right part.
    const auto markShape = [&] {
        const QRect title = m_grid.Extents().GetHeadColRect(1);
        QList<int> widths;
        for (int y = title.top() + 2; y < title.bottom() - 1; ++y) {
            const int count = PixelsIn(QRect(title.right() - 16, y, 14, 1), dark);
            if (count > 0)
                widths << count;
        }
        return widths.isEmpty() ? QStringLiteral("none")
                                : widths.first() > widths.last() ? QStringLiteral("down")
                                                                 : QStringLiteral("up");
    };
    Shot();
    EXPECT_EQ(markShape(), QStringLiteral("none"));
    m_grid.GetMemColumn(1)->Title().SetSortMark(wsmDesc);
    Shot();
    EXPECT_EQ(markShape(), QStringLiteral("down"));
    m_grid.GetMemColumn(1)->Title().SetSortMark(wsmAsc);
    Shot();
    EXPECT_EQ(markShape(), QStringLiteral("up"));

    const QRect footerCell = m_grid.Extents().GetFootColRect(1, 0).adjusted(2, 3, -2, -2);
    const QRgb band = Rgb(m_grid.Footers().Items(0)->Color());
    EXPECT_EQ(PixelsIn(footerCell, [band](QRgb pixel) { return pixel != band; }), 0) << "nothing to compute";
}
