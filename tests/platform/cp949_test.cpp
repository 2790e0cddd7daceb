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
