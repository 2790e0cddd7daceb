#include "imgbank.h"
#include "sharemem.h"

#include <QImage>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

TEST(ImageBank, EachNumberTheSuiteUsesYieldsAPictureAndOthersNothing)
{
    const struct {
        int number;
        QSize size;
    } held[] = {{3, {64, 64}},    {109, {24, 24}},  {120, {30, 28}}, {121, {30, 28}},
                {122, {30, 28}}, {1203, {20, 20}}, {1209, {20, 20}}};
    for (const auto &h : held) {
        int size = -1;
        const unsigned char *stream = GET_ASTREAM(h.number, &size);
        ASSERT_NE(stream, nullptr) << h.number;
        QImage picture;
        ASSERT_TRUE(picture.loadFromData(stream, size, "PNG")) << h.number;
        EXPECT_EQ(picture.size(), h.size) << h.number;
        EXPECT_EQ(GET_ASTREAM(h.number, &size), stream) << "the stream is kept by the library";
    }
    for (int missing : {0, 1, 2, 108, 119, 123, 1204, -5}) {
        int size = -1;
        EXPECT_EQ(GET_ASTREAM(missing, &size), nullptr) << missing;
        EXPECT_EQ(size, 0);
    }
}

TEST(ImageBank, TheCloseGlyphIsARedDiscWithAWhiteCross)
{
    int size = 0;
    const unsigned char *stream = GET_ASTREAM(109, &size);
    QImage glyph;
    ASSERT_TRUE(glyph.loadFromData(stream, size, "PNG"));
    const QColor rim = glyph.pixelColor(5, 12);
    EXPECT_GT(rim.red(), rim.blue() + 80);
    const QColor centre = glyph.pixelColor(12, 12);
    EXPECT_GT(centre.lightness(), 200) << "the cross crosses the centre";
    EXPECT_EQ(glyph.pixelColor(0, 0).alpha(), 0) << "corners are transparent";
}

namespace {

// The relative luminance of a colour and the contrast ratio of two, as accessibility
// guidelines define them.
double Luminance(const QColor &colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double Contrast(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// The favourites dialog writes its title and its save caption in white over picture 3.
TEST(ImageBank, RegressionWhiteTextReadsOnTheBackgroundBand)
{
    int size = 0;
    const unsigned char *stream = GET_ASTREAM(3, &size);
    QImage band;
    ASSERT_TRUE(band.loadFromData(stream, size, "PNG"));
    double worst = 21;
    for (int y = 0; y < band.height(); ++y)
        for (int x = 0; x < band.width(); ++x)
            worst = std::min(worst, Contrast(band.pixelColor(x, y), Qt::white));
    EXPECT_GE(worst, 4.5);
}

TEST(ShareMem, InitialisationJustReturns)
{
    const int before = smInitCount();
    smInitValues();
    EXPECT_EQ(smInitCount(), before + 1);
}
