#include "platform/cp949.h"
#include "platform/inifile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

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

namespace {

const QString Stamps = QStringLiteral("LATESTFDATE");

// A state file as a Windows workstation writes it: CP949 with backslashes between
// folder and name, one extended syllable, a comment and a foreign section.
QByteArray WindowsStateFile()
{
    return QByteArray("; kept by the updater\r\n[LATESTFDATE]\r\nTovelMain.exe=20240102030405006\r\n")
        + "sub\\" + QByteArray::fromHex("c6c4c0cf8c63") + ".dll=20231231235959999\r\n"
        + "[OTHER]\r\nname=" + QByteArray::fromHex("c8abb1e6b5bf") + "\r\n";
}

} // namespace

TEST_F(IniFileTest, AFileWrittenOnWindowsReadsBackExactlyAndAWriteKeepsEveryOtherByte)
{
    const QByteArray before = WindowsStateFile();
    Put(before);
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(Stamps, QStringLiteral("sub\\파일똠.dll")), QStringLiteral("20231231235959999"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("other"), QStringLiteral("NAME")), QStringLiteral("홍길동"));
    ASSERT_TRUE(ini.WriteString(Stamps, QStringLiteral("TovelMain.exe"), QStringLiteral("20250101000000000")));
    QByteArray expected = before;
    expected.replace("20240102030405006", "20250101000000000");
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(IniFileTest, ABackslashKeyIsFoundAgainAfterItWasWritten)
{
    TIniFile ini(Path());
    const QString key = QStringLiteral("sub\\파일똠.dll");
    ASSERT_TRUE(ini.WriteString(Stamps, key, QStringLiteral("20240101000000000")));
    ASSERT_TRUE(ini.WriteString(Stamps, key, QStringLiteral("20240202000000000")));
    EXPECT_EQ(Bytes(), QByteArray("[LATESTFDATE]\r\nsub\\") + QByteArray::fromHex("c6c4c0cf8c63")
                           + ".dll=20240202000000000\r\n")
        << "one line for the key, not two";
    EXPECT_EQ(TIniFile(Path()).ReadString(Stamps, key), QStringLiteral("20240202000000000"));
}

TEST_F(IniFileTest, AnotherProgramsWriteBetweenTwoLookupsIsSeen)
{
    Put("[s]\r\nk=first\r\n");
    const TIniFile ini(Path());
    ASSERT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("first"));

    // Written in place by another process: the same file, another size.
    QProcess writer;
    writer.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '[s]\\r\\nk=second!\\r\\n' > \"$0\""), Path()});
    ASSERT_TRUE(writer.waitForFinished());
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("second!"));

    // Replaced by a rename: the same size and time, another file.
    const QString other = m_dir.filePath(QStringLiteral("other.ini"));
    WriteFileBytes(other, "[s]\r\nk=third!!\r\n");
    writer.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("touch -r \"$1\" \"$0\" && mv \"$0\" \"$1\""), other, Path()});
    ASSERT_TRUE(writer.waitForFinished());
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("third!!"));

    QFile::remove(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("gone")), QStringLiteral("gone"));
}

TEST_F(IniFileTest, ReadSectionValuesGivesEachKeyOnceInFileOrder)
{
    Put("[a]\r\nx=1\r\n; note\r\nY = \"2\"\r\nx=dup\r\n[b]\r\nz=3\r\n[A]\r\nw=4\r\n");
    const TIniFile ini(Path());
    const QList<TIniEntry> expected{{QStringLiteral("x"), QStringLiteral("1")}, {QStringLiteral("Y"), QStringLiteral("2")}};
    EXPECT_EQ(ini.ReadSectionValues(QStringLiteral("A")), expected);
    EXPECT_TRUE(ini.ReadSectionValues(QStringLiteral("none")).isEmpty());
    EXPECT_EQ(ini.ReadString(QStringLiteral("a"), QStringLiteral("w"), QStringLiteral("-")), QStringLiteral("-"))
        << "a second header of the same name is not searched";
}

TEST_F(IniFileTest, SeveralKeysAreWrittenInOneCommitOrNotAtAll)
{
    Put("[s]\r\nb=old\r\n");
    TIniFile ini(Path());
    ASSERT_TRUE(ini.WriteStrings(QStringLiteral("s"), {{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("B"), QStringLiteral("2")}}));
    ASSERT_TRUE(ini.WriteStrings(QStringLiteral("new"), {{QStringLiteral("x"), QStringLiteral("1")}, {QStringLiteral("y"), {}}}));
    const QByteArray written("[s]\r\nb=2\r\na=1\r\n[new]\r\nx=1\r\ny=\r\n");
    EXPECT_EQ(Bytes(), written);

    // One entry that cannot be stored refuses the whole write.
    EXPECT_FALSE(ini.WriteStrings(QStringLiteral("s"), {{QStringLiteral("a"), QStringLiteral("9")}, {QStringLiteral("c"), QStringLiteral("x\ny")}}));
    EXPECT_FALSE(ini.WriteStrings(QStringLiteral("s"), {{QStringLiteral("a"), QStringLiteral("9")}, {QStringLiteral("c"), QStringLiteral("😀")}}));
    EXPECT_EQ(Bytes(), written);
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("a")), QStringLiteral("1"));
}

TEST_F(IniFileTest, AReadOnlyFileIsNeverWrittenAndKeepsBeingRead)
{
    Put("[s]\r\nk=v\r\n");
    QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    TIniFile ini(Path());
    EXPECT_FALSE(ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("w")));
    EXPECT_FALSE(ini.WriteStrings(QStringLiteral("s"), {{QStringLiteral("n"), QStringLiteral("1")}}));
    EXPECT_FALSE(ini.DeleteKey(QStringLiteral("s"), QStringLiteral("k")));
    EXPECT_EQ(Bytes(), QByteArray("[s]\r\nk=v\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("v"));
}

TEST_F(IniFileTest, AFailedWriteLeavesTheParsedCopyAsTheFileIs)
{
    Put("[s]\r\nk=v\r\n");
    TIniFile ini(Path());
    ASSERT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("v"));
    // No file may grow past 4 bytes: the new file cannot be written, whoever we are.
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = previous;
    tiny.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("changed"));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(Bytes(), QByteArray("[s]\r\nk=v\r\n"));
}

// The object answers from its parsed copy; after any mix of writes that copy must say
// exactly what a fresh reading of the file says.
TEST_F(IniFileTest, TheParsedCopyAgreesWithAFreshReadingAfterWrites)
{
    Put("[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n[S]\r\nc=hidden\r\n");
    TIniFile ini(Path());
    ASSERT_TRUE(ini.WriteString(QStringLiteral(" s "), QStringLiteral(" k "), QStringLiteral("v")));
    ASSERT_TRUE(ini.WriteStrings(QStringLiteral("t"), {{QStringLiteral("x"), QStringLiteral("1")}, {QStringLiteral("y"), QStringLiteral("2")}}));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("u"), QStringLiteral("z"), QStringLiteral("3")));
    ASSERT_TRUE(ini.DeleteKey(QStringLiteral("S"), QStringLiteral("a")));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("s"), QStringLiteral("c"), QStringLiteral("seen")));
    EXPECT_EQ(Bytes(), QByteArray("[s]\r\nk=v\r\nc=seen\r\n\r\n[t]\r\nb=2\r\nx=1\r\ny=2\r\n[S]\r\nc=hidden\r\n[u]\r\nz=3\r\n"));

    const TIniFile fresh(Path());
    for (const QString &section : {QStringLiteral("s"), QStringLiteral("t"), QStringLiteral("u")}) {
        EXPECT_EQ(ini.ReadSectionValues(section), fresh.ReadSectionValues(section)) << section.toStdString();
        EXPECT_EQ(ini.ReadSection(section), fresh.ReadSection(section)) << section.toStdString();
        for (const QString &key : fresh.ReadSection(section))
            EXPECT_EQ(ini.ReadString(section, key, QStringLiteral("-")), fresh.ReadString(section, key, QStringLiteral("-")));
    }
    EXPECT_EQ(ini.ReadSections(), fresh.ReadSections());
}
