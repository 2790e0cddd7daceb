#include "platform/cp949.h"

#include <gtest/gtest.h>

using namespace Platform;

TEST(Cp949, KoreanTextRoundTripsAsTwoBytesPerSyllable)
{
    const QString text = QStringLiteral("기본정보 ㈜Tovel");
    const QByteArray bytes = ToCp949(text);
    EXPECT_EQ(bytes.toHex(), QByteArray("b1e2babbc1a4bab820a2df546f76656c"));
    EXPECT_EQ(FromCp949(bytes), text);
}

TEST(Cp949, FitNeverEndsInsideADoubleByteCharacter)
{
    const QByteArray bytes = ToCp949(QStringLiteral("A가나")); // 41 b0a1 b3aa
    const struct { qsizetype limit, expected; } cases[] = {
        {0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 5}, {99, 5},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Cp949Fit(bytes, c.limit), c.expected) << "limit " << c.limit;
}

TEST(Cp949, TrimBlanksRemovesSpacesAndControlCharactersOnly)
{
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \t a b \r\n")), QStringLiteral("a b"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), QString());
    EXPECT_EQ(TrimBlanks(QStringLiteral("\u3000가\u3000")), QStringLiteral("\u3000가\u3000"));
}

// Qt's "CP949" is IBM's table: it read 5C as the won sign and wrote "\" as 82, so a key
// folder\name written by the suite was never found again.
TEST(Cp949, BackslashAndWonSignKeepTheWindowsBytes)
{
    EXPECT_EQ(ToCp949(QStringLiteral("sub\\name")).toHex(' '), QByteArray("73 75 62 5c 6e 61 6d 65"));
    EXPECT_EQ(FromCp949("sub\\name"), QStringLiteral("sub\\name"));
    EXPECT_EQ(ToCp949(QStringLiteral("\uFFE6")).toHex(), QByteArray("a3dc")) << "the won sign of the code page";
    EXPECT_EQ(FromCp949(QByteArray::fromHex("a3dc")), QStringLiteral("\uFFE6"));
}

TEST(Cp949, ExtendedSyllablesRoundTripToTheWindowsBytes)
{
    const struct {
        const char16_t *text;
        const char *hex;
    } cases[] = {
        {u"똠", "8c63"}, {u"햏", "c164"}, {u"뷁", "94ee"}, {u"쒯", "9d46"}, {u"갂", "8141"}, {u"샾", "98de"},
        {u"sub\\name 똠햏", "7375625c6e616d65208c63c164"},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        bool exact = false;
        EXPECT_EQ(ToCp949(text, &exact).toHex(), QByteArray(c.hex)) << text.toStdString();
        EXPECT_TRUE(exact);
        EXPECT_EQ(FromCp949(QByteArray::fromHex(c.hex)), text);
    }
}

TEST(Cp949, BytesTheTableCannotMapStayVisible)
{
    const struct {
        const char *hex;
        const char16_t *text;
    } cases[] = {
        {"41a1", u"A\uFFFD"},         // a lone lead byte at the end
        {"a1", u"\uFFFD"},
        {"812041", u"\uFFFD A"},      // a lead byte before an invalid trail byte
        {"fe41b0a1", u"\uFFFD가"},    // a pair the table leaves unassigned
        {"b0a1a1", u"가\uFFFD"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FromCp949(QByteArray::fromHex(c.hex)), QString::fromUtf16(c.text)) << c.hex;
    // A fault leaves nothing behind for the next conversion.
    EXPECT_EQ(FromCp949(QByteArray::fromHex("a1")), QStringLiteral("\uFFFD"));
    EXPECT_EQ(FromCp949(QByteArray::fromHex("a1a1")), QStringLiteral("\u3000"));
}

TEST(Cp949, CharactersTheCodePageLacksAreReported)
{
    const struct {
        QString text;
        const char *bytes;
    } cases[] = {
        {QStringLiteral("a😀b"), "a?b"},
        {QStringLiteral("\u20A9"), "?"},
        {QString(QChar(0xD800)) + QStringLiteral("x"), "?x"},
        {QStringLiteral("가\u00E9"), "\xB0\xA1?"},
    };
    for (const auto &c : cases) {
        bool exact = true;
        EXPECT_EQ(ToCp949(c.text, &exact), QByteArray(c.bytes)) << c.text.toStdString();
        EXPECT_FALSE(exact) << c.text.toStdString();
    }
    bool exact = false;
    EXPECT_EQ(ToCp949(QStringLiteral("가"), &exact).toHex(), QByteArray("b0a1"));
    EXPECT_TRUE(exact) << "a clean conversion after faulty ones";
}
