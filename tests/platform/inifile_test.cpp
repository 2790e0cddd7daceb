#include "platform/cp949.h"
#include "platform/inifile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("gp.ini")); }
    QByteArray Bytes() const { return ReadFileBytes(Path()); }
    void Put(const QByteArray &bytes) { WriteFileBytes(Path(), bytes); }

    QTemporaryDir m_dir;
};

const QString UserSection = QStringLiteral("기본정보");

} // namespace

TEST_F(IniFileTest, MissingFileOrKeyGivesTheDefault)
{
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(UserSection, QStringLiteral("user_id"), QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("a"), QStringLiteral("b"), 7), 7);
    EXPECT_FALSE(ini.SectionExists(UserSection));
    EXPECT_FALSE(QFile::exists(Path())) << "reading must not create the file";
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileInCp949WithCrlf)
{
    TIniFile ini(Path());
    ASSERT_TRUE(ini.WriteString(UserSection, QStringLiteral("user_nm"), QStringLiteral("홍길동")));
    EXPECT_EQ(Bytes(), Platform::ToCp949(QStringLiteral("[기본정보]\r\nuser_nm=홍길동\r\n")));
    EXPECT_EQ(ini.ReadString(UserSection, QStringLiteral("user_nm")), QStringLiteral("홍길동"));
}

TEST_F(IniFileTest, NamesCompareCaseInsensitivelyAndBlanksAroundAreIgnored)
{
    Put("[FileServer]\nIp = 10.0.0.1 \n  port=\"21\"\nEMPTY=\n");
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("FILESERVER"), QStringLiteral("IP")), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("fileserver"), QStringLiteral("PORT")), QStringLiteral("21"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("fileserver"), QStringLiteral("port"), 0), 21);
    EXPECT_EQ(ini.ReadString(QStringLiteral("fileserver"), QStringLiteral("empty"), QStringLiteral("d")), QString());
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("FileServer"), QStringLiteral("empty")));
    EXPECT_EQ(ini.ReadSection(QStringLiteral("fileserver")).join(QLatin1Char(',')), QStringLiteral("Ip,port,EMPTY"));
}

TEST_F(IniFileTest, WriteChangesOnlyItsOwnLineAndKeepsEveryOtherByte)
{
    const QByteArray before = Platform::ToCp949(QStringLiteral(
        "; written by hand\n[기본정보]\r\nuser_id = 1001  \r\nforeign=값 with  spaces\t\n\n[DBCONNECTION]\nCONNSTRING=abcd"));
    Put(before);
    TIniFile ini(Path());
    ASSERT_TRUE(ini.WriteString(QStringLiteral("기본정보"), QStringLiteral("USER_ID"), QStringLiteral("2002")));
    QByteArray expected = before;
    expected.replace("user_id = 1001  ", "user_id=2002");
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(IniFileTest, NewKeyGoesAfterTheSectionsLastLineAndNewSectionAtTheEnd)
{
    Put("[a]\r\nx=1\r\n\r\n[b]\r\ny=2");
    TIniFile ini(Path());
    ASSERT_TRUE(ini.WriteString(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("3")));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("c"), QStringLiteral("w"), QStringLiteral("4")));
    EXPECT_EQ(Bytes(), QByteArray("[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n[c]\r\nw=4\r\n"));
}

TEST_F(IniFileTest, MalformedLinesAreSkippedOnReadingAndKeptOnWriting)
{
    const QByteArray before("[broken\r\nuser_id=fromBroken\r\n[ok]\r\ngarbage line\r\nk=v\r\n");
    Put(before);
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("ok"), QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("broken"), QStringLiteral("user_id"), QStringLiteral("-")), QStringLiteral("-"));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("ok"), QStringLiteral("k"), QStringLiteral("w")));
    EXPECT_EQ(Bytes(), QByteArray("[broken\r\nuser_id=fromBroken\r\n[ok]\r\ngarbage line\r\nk=w\r\n"));
}

TEST_F(IniFileTest, TwoObjectsOnOneFileSeeEachOthersWrites)
{
    TIniFile first(Path());
    TIniFile second(Path());
    ASSERT_TRUE(first.WriteString(UserSection, QStringLiteral("user_id"), QStringLiteral("A")));
    EXPECT_EQ(second.ReadString(UserSection, QStringLiteral("user_id")), QStringLiteral("A"));
    ASSERT_TRUE(second.WriteString(UserSection, QStringLiteral("user_nm"), QStringLiteral("이름")));
    ASSERT_TRUE(first.WriteString(UserSection, QStringLiteral("user_id"), QStringLiteral("B")));
    EXPECT_EQ(second.ReadString(UserSection, QStringLiteral("user_id")), QStringLiteral("B"));
    EXPECT_EQ(first.ReadString(UserSection, QStringLiteral("user_nm")), QStringLiteral("이름"));
}

TEST_F(IniFileTest, WritesThatWouldBreakTheLineStructureAreRefusedAndChangeNothing)
{
    Put("[s]\r\nk=v\r\n");
    TIniFile ini(Path());
    EXPECT_FALSE(ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v\r\n[evil]\r\nx=1")));
    EXPECT_FALSE(ini.WriteString(QStringLiteral("s"), QStringLiteral("a=b"), QStringLiteral("1")));
    EXPECT_FALSE(ini.WriteString(QStringLiteral("s]"), QStringLiteral("a"), QStringLiteral("1")));
    EXPECT_FALSE(ini.WriteString(QStringLiteral("s"), QStringLiteral(" "), QStringLiteral("1")));
    EXPECT_EQ(Bytes(), QByteArray("[s]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, UnwritableLocationReportsFailure)
{
    TIniFile ini(m_dir.filePath(QStringLiteral("no/such/folder/gp.ini")));
    EXPECT_FALSE(ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
}

TEST_F(IniFileTest, DeleteKeyAndEraseSection)
{
    Put("[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
    TIniFile ini(Path());
    ASSERT_TRUE(ini.DeleteKey(QStringLiteral("A"), QStringLiteral("X")));
    ASSERT_TRUE(ini.EraseSection(QStringLiteral("b")));
    EXPECT_EQ(Bytes(), QByteArray("[a]\r\ny=2\r\n"));
    EXPECT_EQ(ini.ReadSections().join(QLatin1Char(',')), QStringLiteral("a"));
}
