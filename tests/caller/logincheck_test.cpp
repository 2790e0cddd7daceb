#include "callerlibrary.h"

#include "platform/cp949.h"
#include "platform/inifile.h"

#include <QFile>

#include <cstring>

using TLoginCheck = CallerTest;

TEST_P(TLoginCheck, AcceptedUserWritesTheSixKeysInCp949AndKeepsForeignKeys)
{
    TIniFile(IniPath()).WriteString(QStringLiteral("기본정보"), QStringLiteral("server_name"), QStringLiteral("본사서버"));
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '0');
    EXPECT_EQ(m_boxes->Summary(), QString());
    EXPECT_EQ(UserKeys(), QStringLiteral("1001|홍길동|01|10|영업1부|서울지점"));
    const QByteArray bytes = ReadFileBytes(IniPath());
    EXPECT_TRUE(bytes.contains(Platform::ToCp949(QStringLiteral("server_name=본사서버\r\n"))));
    EXPECT_TRUE(bytes.contains(Platform::ToCp949(QStringLiteral("user_sect_nm=영업1부\r\nuser_place_nm=서울지점\r\n"))));
    EXPECT_TRUE(bytes.contains("CONNSTRING=")) << "the connection key stays";
}

TEST_P(TLoginCheck, UnknownUserAndWrongPasswordAnswerWithTheirMessages)
{
    const struct {
        const char16_t *id;
        const char16_t *password;
        char expected;
        const char16_t *box;
    } cases[] = {
        {u"7777", u"1234", '1', u"사용자정보|등록되지 않은 사용자입니다|error"},
        {u"1002", u"secret", '2', u"사용자정보|비밀번호 오류입니다.|error"},
        {u"1002", u"SECRET", '2', u"사용자정보|비밀번호 오류입니다.|error"},
        {u"1001", u"123", '2', u"사용자정보|비밀번호 오류입니다.|error"},
    };
    for (const auto &c : cases) {
        m_boxes->Clear();
        EXPECT_EQ(Check(QString::fromUtf16(c.id), QString::fromUtf16(c.password)), c.expected)
            << QString::fromUtf16(c.id).toStdString();
        EXPECT_EQ(m_boxes->Summary(), QString::fromUtf16(c.box));
    }
    EXPECT_EQ(Check(QStringLiteral("1002"), QStringLiteral("Secret")), '0');
}

TEST_P(TLoginCheck, BlanksAroundEitherPasswordAreIgnored)
{
    // 1003's stored password is " pw3 "; the typed one arrives with blanks in the record.
    LoadedCaller caller;
    TLoginInfo info;
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.UserId, " 1003 ", 6);
    std::memcpy(info.Password, " pw3  ", 6);
    EXPECT_EQ(caller.CheckLoginInfo()(info), '0');
    EXPECT_EQ(UserKeys(), QStringLiteral("1003|박철수|02|30|영업2부|"))
        << "an organisation row without a name gives an empty place name";
}

TEST_P(TLoginCheck, AQuoteInTheEmployeeNumberIsAnOrdinaryCharacter)
{
    EXPECT_EQ(Check(QStringLiteral("10'01"), QStringLiteral("1234")), '1');
    EXPECT_EQ(Check(QStringLiteral("'OR''='"), QStringLiteral("1234")), '1');
    EXPECT_EQ(m_boxes->Calls().size(), 2u);
    EXPECT_EQ(UserKeys(), QStringLiteral("|||||"));
}

TEST_P(TLoginCheck, DepartmentNamesComeFromTheCodeTable)
{
    const struct {
        const char *id;
        const char *password;
        const char16_t *keys;
    } cases[] = {
        {"9901", "admin9", u"9901|이관리|99|10|업무부|본사"},
        {"4001", "pw4001", u"4001|최사원|04|40|영업부|"},
        {"5001", "pw5001", u"5001|정무소속|||영업부|"},
        {"5002", "pw5002", u"5002|가나다라마|||영업부|"}, // the name is cut to 10 bytes
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Check(QString::fromLatin1(c.id), QString::fromLatin1(c.password)), '0') << c.id;
        EXPECT_EQ(UserKeys(), QString::fromUtf16(c.keys));
    }
}

TEST_P(TLoginCheck, AFailedCheckLeavesThePreviousUserInTheFile)
{
    ASSERT_EQ(Check(QStringLiteral("9901"), QStringLiteral("admin9")), '0');
    const QByteArray before = ReadFileBytes(IniPath());
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("wrong")), '2');
    EXPECT_EQ(Check(QStringLiteral("8888"), QStringLiteral("wrong")), '1');
    EXPECT_EQ(ReadFileBytes(IniPath()), before);
}

TEST_P(TLoginCheck, ADatabaseErrorDuringTheQueryIsShownAndAnswersNine)
{
    ASSERT_EQ(m_db->Reset({QStringLiteral("DROP TABLE SAAORGAT")}), QString());
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '9');
    ASSERT_EQ(m_boxes->Calls().size(), 1u);
    EXPECT_EQ(m_boxes->Calls()[0].Caption, QStringLiteral("사용자정보"));
    EXPECT_TRUE(m_boxes->Calls()[0].Text.contains(QLatin1String("SAAORGAT"), Qt::CaseInsensitive))
        << m_boxes->Calls()[0].Text.toStdString();
}

// The main program takes its user from gp.ini: a login that could not record itself
// once answered '0' silently and the suite opened as the previous user.
TEST_P(TLoginCheck, ALoginThatCannotRecordItsUserAnswersNineWithAMessage)
{
    ASSERT_EQ(Check(QStringLiteral("9901"), QStringLiteral("admin9")), '0');
    const QByteArray before = ReadFileBytes(IniPath());
    ASSERT_TRUE(QFile::setPermissions(IniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    m_boxes->Clear();
    EXPECT_EQ(Check(QStringLiteral("1001"), QStringLiteral("1234")), '9');
    QFile::setPermissions(IniPath(), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(m_boxes->Calls().size(), 1u);
    EXPECT_EQ(m_boxes->Calls()[0].Caption, QStringLiteral("사용자정보"));
    EXPECT_TRUE(m_boxes->Calls()[0].Text.contains(IniPath())) << m_boxes->Calls()[0].Text.toStdString();
    EXPECT_EQ(ReadFileBytes(IniPath()), before);
}

TOVEL_INSTANTIATE_BACKENDS(TLoginCheck);
