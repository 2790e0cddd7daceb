#include "grid/uxgraphics.h"
#include "grid/uxutils.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Canvas(int width, int height, const QColor &fill = Qt::white)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

TwDrawInfo Info()
{
    TwDrawInfo info;
    TXInitDrawInfo(info);
    return info;
}

bool IsDark(const QColor &color)
{
    return color.lightness() < 100;
}

// Whether any pixel inside `area` is dark (text, marks).
bool AnyDark(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsDark(image.pixelColor(x, y)))
                return true;
    return false;
}

} // namespace

TEST(GridUtils, TokensFieldsAndDateIntegers)
{
    EXPECT_EQ(TXGetTocken(QStringLiteral("a;b;c"), QLatin1Char(';'), 0), QStringLiteral("a"));
    EXPECT_EQ(TXGetTocken(QStringLiteral("a;b;c"), QLatin1Char(';'), 1), QStringLiteral("b"));
    EXPECT_EQ(TXGetTocken(QStringLiteral("a;b;c"), QLatin1Char(';'), 2), QStringLiteral("c"));
    EXPECT_EQ(TXGetTocken(QStringLiteral("a;b;c"), QLatin1Char(';'), 3), QString());

    int position = 1;
    EXPECT_EQ(TXExtractField(QStringLiteral("x;y"), position), QStringLiteral("x"));
    EXPECT_EQ(position, 3);
    EXPECT_EQ(TXExtractField(QStringLiteral("x;y"), position), QStringLiteral("y"));

    const TDateTime leap = TXIntToDate(20240229);
    EXPECT_EQ(TXDateFrom(leap), QDate(2024, 2, 29));
    EXPECT_EQ(TXDateToInt(leap), 20240229);
    EXPECT_EQ(TXDateOf(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(TXTimeToInt(TXIntToTime(235959)), 235959);
    TDateTime date = 0;
    TDateTime time = 0;
    TXDecodeDateTime(TXEncodeDateTime(leap, TXIntToTime(123000)), date, time);
    EXPECT_EQ(TXDateToInt(date), 20240229);
    EXPECT_EQ(TXTimeToInt(time), 123000);
}

TEST(GridGraphics, ContentAreaLosesEdgesButtonAndMargins)
{
    TwDrawInfo info = Info();
    info.BackState = wbkSunken;
    const QRect content = TXContentRect(QSize(100, 20), info, wbtnCombo);
    EXPECT_EQ(content, QRect(1, 1, 98 - TXButtonWidth(), 18));

    info.BackState = wbkDown;
    info.BottomLineWidth = 1;
    info.RightLineWidth = 3;
    info.Margins[0] = 4;
    EXPECT_EQ(TXContentRect(QSize(100, 20), info, wbtnNone), QRect(2 + 4, 1, 97 - 2 - 4, 19 - 1));

    info.Margins[0] = 200;
    EXPECT_TRUE(TXContentRect(QSize(100, 20), info, wbtnNone).isEmpty());
}

TEST(GridGraphics, TextCellPaintsBackgroundLinesAndTextWhereTheInfoSays)
{
    QImage image = Canvas(120, 24, Qt::gray);
    {
        QPainter p(&image);
        p.setBrush(QColor(Qt::yellow));
        p.setPen(Qt::black);
        TwDrawInfo info = Info();
        info.Alignment = taRightJustify;
        info.Layout = tlCenter;
        info.BottomLineWidth = 1;
        info.BottomLineColor = clBlack;
        info.RightLineWidth = 2;
        info.RightLineColor = 0x0000FFu; // red
        TXDrawText(&p, QRect(10, 0, 100, 24), QStringLiteral("1,234"), info, wbtnNone, wbtsNone);
    }
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::gray)) << "nothing outside the cell";
    EXPECT_EQ(image.pixelColor(12, 3), QColor(Qt::yellow)) << "background from the brush";
    EXPECT_TRUE(IsDark(image.pixelColor(50, 23))) << "bottom line on the last row";
    EXPECT_EQ(image.pixelColor(109, 10), QColor(Qt::red)) << "a right line two pixels wide";
    EXPECT_EQ(image.pixelColor(108, 10), QColor(Qt::red));
    EXPECT_TRUE(AnyDark(image, QRect(70, 4, 37, 16))) << "right-aligned text at the right";
    EXPECT_FALSE(AnyDark(image, QRect(12, 2, 40, 18))) << "and nothing at the left";
}

TEST(GridGraphics, AnEmptyContentAreaPaintsOnlyBackgroundLinesAndEdges)
{
    QImage image = Canvas(60, 20);
    {
        QPainter p(&image);
        p.setBrush(QColor(Qt::cyan));
        p.setPen(Qt::black);
        TwDrawInfo info = Info();
        info.Margins[0] = 40;
        info.Margins[2] = 40;
        info.BackState = wbkRaised;
        TXDrawText(&p, QRect(0, 0, 60, 20), QStringLiteral("WWWWWWWW"), info, wbtnNone, wbtsNone);
    }
    EXPECT_FALSE(AnyDark(image, QRect(1, 1, 58, 17))) << "no text";
    EXPECT_EQ(image.pixelColor(30, 10), QColor(Qt::cyan));
    EXPECT_NE(image.pixelColor(0, 10), QColor(Qt::cyan)) << "the raised edge is drawn";
}

TEST(GridGraphics, ClippingCutsTheCellHorizontally)
{
    QImage image = Canvas(100, 10, Qt::white);
    {
        QPainter p(&image);
        p.setBrush(QColor(Qt::blue));
        TwDrawInfo info = Info();
        info.ClipLeft = 30;
        info.ClipRight = 60;
        TXDrawBox(&p, QRect(10, 0, 80, 10), info, wbtnNone, wbtsNone);
    }
    EXPECT_EQ(image.pixelColor(20, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 5), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(59, 5), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(60, 5), QColor(Qt::white));
}

TEST(GridGraphics, ChecksRadiosAndButtons)
{
    QImage image = Canvas(200, 40);
    {
        QPainter p(&image);
        TXDrawCheckBox(&p, QRect(0, 0, 40, 20), true, false, QString(), taLeftJustify, tlTop, true, true);
        TXDrawCheckBox(&p, QRect(40, 0, 40, 20), false, false, QString(), taLeftJustify, tlTop, true, true);
        TXDrawRadioGroup(&p, QRect(80, 0, 120, 40), {QStringLiteral("가"), QStringLiteral("나")}, 2, 1, taLeftJustify,
                         tlTop, true, true);
        TXDrawEllipsis(&p, QRect(0, 20, 21, 20), false);
    }
    EXPECT_TRUE(AnyDark(image, QRect(3, 3, 7, 7))) << "the check mark";
    EXPECT_FALSE(AnyDark(image, QRect(43, 3, 7, 7))) << "an empty box";
    const QRect second = TXRadioItemRect(QFont(), QRect(80, 0, 120, 40), 2, 2, 1, tlTop);
    EXPECT_EQ(second.left(), 140);
    EXPECT_TRUE(IsDark(image.pixelColor(second.left() + 6, second.top() + (second.height() - 13) / 2 + 6)))
        << "the chosen radio item is filled";
    // Three dots of width 21/7 = 3, two dot-widths apart, centred.
    const int dotY = 20 + (20 - 2) / 2;
    EXPECT_TRUE(IsDark(image.pixelColor(3, dotY)));
    EXPECT_TRUE(IsDark(image.pixelColor(9, dotY)));
    EXPECT_TRUE(IsDark(image.pixelColor(15, dotY)));
    EXPECT_FALSE(IsDark(image.pixelColor(6, dotY)));
}

TEST(GridGraphics, AnXorLineDrawnTwiceLeavesNoTraceAndBuffersOnlyGrow)
{
    QImage image = Canvas(50, 50, QColor(10, 200, 30));
    const QImage before = image;
    {
        QPainter p(&image);
        TXVertXorLine(&p, 10, 0, 49, 2, clWhite);
        EXPECT_NE(image, before);
        TXVertXorLine(&p, 10, 0, 49, 2, clWhite);
    }
    EXPECT_EQ(image, before);

    QImage target = Canvas(300, 300);
    QPainter p(&target);
    TXDrawBox(&p, QRect(0, 0, 250, 40), Info(), wbtnNone, wbtsNone);
    const QSize grown = TXCellBufferSize();
    TXDrawBox(&p, QRect(0, 0, 20, 10), Info(), wbtnNone, wbtsNone);
    EXPECT_EQ(TXCellBufferSize(), grown);
    EXPECT_GE(grown.width(), 250);
}
