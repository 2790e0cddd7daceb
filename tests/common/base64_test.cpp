#include "common/base64.h"
#include "platform/texception.h"
#include "testsupport.h"

#include <gtest/gtest.h>

TEST(Base64, DecodesBothPaddingFormsAndFullGroups)
{
    EXPECT_EQ(Base64Decode("TWFu"), QByteArray("Man"));
    EXPECT_EQ(Base64Decode("TWE="), QByteArray("Ma"));
    EXPECT_EQ(Base64Decode("TQ=="), QByteArray("M"));
    EXPECT_EQ(Base64Decode(""), QByteArray());
    EXPECT_EQ(Base64Decode("UHJvdmlkZXI9U1FMaXRl"), QByteArray("Provider=SQLite"));
}

TEST(Base64, CharactersOutsideTheAlphabetDecodeAs63)
{
    // '/' is 63; '*', '-' and '=' in the middle count the same, '+' stays 62.
    EXPECT_EQ(Base64Decode("////"), Base64Decode("*-*-"));
    EXPECT_EQ(Base64Decode("A=A="), Base64Decode("A/A="));
    EXPECT_EQ(Base64Decode("++++"), QByteArray("\xfb\xef\xbe"));
}

TEST(Base64, LengthNotAMultipleOfFourFailsWithTheFormatText)
{
    for (const char *bad : {"A", "AB", "ABC", "ABCDE", "12"}) {
        try {
            Base64Decode(bad);
            ADD_FAILURE() << bad << " decoded";
        } catch (const TException &error) {
            EXPECT_EQ(error.Message(), QStringLiteral("Base64: Incorrect string format"));
        }
    }
}

TEST(Base64, EncodingPadsAndRoundTripsEveryLength)
{
    EXPECT_EQ(Base64Encode("M"), QByteArray("TQ=="));
    EXPECT_EQ(Base64Encode("Ma"), QByteArray("TWE="));
    EXPECT_EQ(Base64Encode("Man"), QByteArray("TWFu"));
    EXPECT_EQ(Base64Encode(""), QByteArray());
    QByteArray all;
    for (int i = 0; i < 256; ++i) {
        all.append(static_cast<char>(i));
        ASSERT_EQ(Base64Decode(Base64Encode(all)), all) << "length " << all.size();
        ASSERT_EQ(Base64Encode(all), all.toBase64());
    }
}

TEST(Base64, KoreanTextTravelsAsCp949Bytes)
{
    const QString text = QStringLiteral("/업데이트/경로");
    EXPECT_EQ(DecodeBase64Text(EncodeBase64Text(text)), text);
    EXPECT_EQ(EncodeBase64Text(QStringLiteral("가")), QStringLiteral("sKE="));
}

TEST(Base64, TextTheCodePageCannotHoldIsRefusedNotStoredAsQuestionMarks)
{
    EXPECT_NE(ErrorOf([] { EncodeBase64Text(QStringLiteral("pass😀word")); }), QStringLiteral("(no error)"));
    EXPECT_EQ(DecodeBase64Text(EncodeBase64Text(QStringLiteral("sub\\똠"))), QStringLiteral("sub\\똠"));
}
