#include "common/fixedfield.h"
#include "common/utypes.h"
#include "platform/cp949.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

TLoginInfo Zeroed()
{
    TLoginInfo info;
    std::memset(&info, 0, sizeof info);
    return info;
}

QByteArray FieldBytes(const char *field, std::size_t width)
{
    return QByteArray(field, static_cast<qsizetype>(width));
}

} // namespace

TEST(FixedField, CopyTrimsAndStopsAtTheLimitLeavingTheClosingZero)
{
    TLoginInfo info = Zeroed();
    CopyFixed(info.UserId, QStringLiteral("  123456789  "), 8);
    EXPECT_EQ(FieldBytes(info.UserId, 9), QByteArray("12345678\0", 9));
    EXPECT_EQ(ReadFixed(info.UserId), QStringLiteral("12345678"));
    EXPECT_EQ(info.Password[0], 0) << "the neighbouring field stays untouched";
}

TEST(FixedField, KoreanTextFillsToTheLimitWithoutSplittingACharacter)
{
    TLoginInfo info = Zeroed();
    CopyFixed(info.UserNm, QStringLiteral("가나다라마바"), 10); // 12 bytes
    EXPECT_EQ(ReadFixed(info.UserNm), QStringLiteral("가나다라마"));
    EXPECT_EQ(info.UserNm[10], 0);

    TLoginInfo odd = Zeroed();
    CopyFixed(odd.UserNm, QStringLiteral("A가나다라마"), 10); // 1 + 10 bytes: the 5th syllable would be cut
    EXPECT_EQ(ReadFixed(odd.UserNm), QStringLiteral("A가나다라"));
    EXPECT_EQ(FieldBytes(odd.UserNm, 11).mid(9), QByteArray(2, '\0'));
}

TEST(FixedField, EmptyOrBlankTextLeavesTheFieldAsItWas)
{
    TLoginInfo info = Zeroed();
    std::memcpy(info.UserSect, "01", 2);
    CopyFixed(info.UserSect, QStringLiteral("   "), 2);
    EXPECT_EQ(ReadFixed(info.UserSect), QStringLiteral("01"));
}

TEST(FixedField, ReadStopsAtTheFirstZeroOrTheFieldsEnd)
{
    const char noZero[3] = {'a', 'b', 'c'};
    EXPECT_EQ(ReadFixed(noZero), QStringLiteral("abc"));
    const char early[6] = {' ', 'x', 0, 'y', 'z', 0};
    EXPECT_EQ(ReadFixed(early), QStringLiteral("x"));
}
