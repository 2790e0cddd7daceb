#include "testsupport.h"

#include "platform/cp949.h"
#include "updater/skyrunlib.h"
#include "updater/skyrunlog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class SkyrunFilesTest : public ::testing::Test
{
protected:
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }
    void WriteIni(const QByteArray &body) const { WriteFileBytes(Path(SkyrunIniName), "[FILESERVER]\r\n" + body); }

    QTemporaryDir m_dir;
};

TEST_F(SkyrunFilesTest, MissingSettingsGiveTheDefaults)
{
    const TServerInfo info = ReadServerInfo(Folder());
    EXPECT_EQ(info, (TServerInfo{{}, QStringLiteral("21"), false, QStringLiteral("/"), {}, {}, QStringLiteral("FTP")}));
}

TEST_F(SkyrunFilesTest, EmptyStoredValuesTakeTheDefaultsBeforeDecoding)
{
    WriteIni("IP=\r\nPORT=\r\nPATH=\r\nTRANSTYPE=\r\nPSVT=\r\n");
    const TServerInfo info = ReadServerInfo(Folder());
    EXPECT_EQ(info.Port, QStringLiteral("21"));
    EXPECT_EQ(info.Path, QStringLiteral("/"));
    EXPECT_EQ(info.TransType, QStringLiteral("FTP"));
}

TEST_F(SkyrunFilesTest, OnlyPsvtOneMeansPassive)
{
    const std::pair<QByteArray, bool> cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"2", false}, {"01", false}};
    for (const auto &[stored, passive] : cases) {
        WriteIni("PSVT=" + stored + "\r\n");
        EXPECT_EQ(ReadServerInfo(Folder()).Passive, passive) << stored.constData();
    }
}

TEST_F(SkyrunFilesTest, TransferTypeIsReadInUpperCase)
{
    WriteIni("TRANSTYPE=sftp\r\n");
    EXPECT_EQ(ReadServerInfo(Folder()).TransType, QStringLiteral("SFTP"));
}

TEST_F(SkyrunFilesTest, PlainDigitsForAPortFailWithTheFormatText)
{
    WriteIni("PORT=21\r\n");
    EXPECT_EQ(ErrorOf([&] { ReadServerInfo(Folder()); }), QStringLiteral("Base64: Incorrect string format"));
}

TEST_F(SkyrunFilesTest, WritesEveryKeyInOrderAsBase64OfCp949)
{
    const TServerInfo info{QStringLiteral("ftp.tovel.co.kr"), QStringLiteral("2121"), true,
                          QStringLiteral("/upd;+bin"), QStringLiteral("업데이트"), QStringLiteral("pw!"),
                          QStringLiteral("SFTP")};
    WriteServerInfo(info, Folder());
    const QByteArray id = Platform::ToCp949(QStringLiteral("업데이트")).toBase64();
    EXPECT_EQ(ReadFileBytes(Path(SkyrunIniName)),
              "[FILESERVER]\r\nIP=ZnRwLnRvdmVsLmNvLmty\r\nPORT=MjEyMQ==\r\nPATH=L3VwZDsrYmlu\r\nID=" + id
                  + "\r\nPW=cHch\r\nPSVT=1\r\nTRANSTYPE=SFTP\r\n");
    EXPECT_EQ(ReadServerInfo(Folder()), info);
}

TEST_F(SkyrunFilesTest, EmptyTextsRoundTripAsEmptyValues)
{
    const TServerInfo info{{}, QStringLiteral("21"), false, QStringLiteral("/"), {}, {}, QStringLiteral("FTP")};
    WriteServerInfo(info, Folder());
    EXPECT_EQ(ReadServerInfo(Folder()), info);
}

// The file holds the server password: nobody but its owner may read it.
TEST_F(SkyrunFilesTest, CreatedSettingsAreReadableByTheOwnerOnly)
{
    WriteServerInfo(TServerInfo{QStringLiteral("host"), QStringLiteral("21"), false, QStringLiteral("/"),
                                QStringLiteral("user"), QStringLiteral("secret"), QStringLiteral("FTP")},
                    Folder());
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(Path(SkyrunIniName)).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    // A second write replaces the file and keeps its mode.
    WriteServerInfo(TServerInfo{QStringLiteral("other"), QStringLiteral("21"), false, QStringLiteral("/"), {}, {},
                                QStringLiteral("FTP")},
                    Folder());
    ASSERT_EQ(::stat(QFile::encodeName(Path(SkyrunIniName)).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    // A file others could read is closed to them before the password goes in.
    ASSERT_EQ(::chmod(QFile::encodeName(Path(SkyrunIniName)).constData(), 0644), 0);
    WriteServerInfo(TServerInfo{QStringLiteral("other"), QStringLiteral("21"), false, QStringLiteral("/"), {},
                                QStringLiteral("secret"), QStringLiteral("FTP")},
                    Folder());
    ASSERT_EQ(::stat(QFile::encodeName(Path(SkyrunIniName)).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(SkyrunFilesTest, TextOutsideTheCodePageWritesNothing)
{
    WriteIni("IP=b2xk\r\n");
    const QByteArray before = ReadFileBytes(Path(SkyrunIniName));
    TServerInfo info{QStringLiteral("new"), QStringLiteral("21"), false, QStringLiteral("/"), {},
                     QStringLiteral("😀"), QStringLiteral("FTP")};
    EXPECT_NE(ErrorOf([&] { WriteServerInfo(info, Folder()); }), QStringLiteral("(no error)"));
    EXPECT_EQ(ReadFileBytes(Path(SkyrunIniName)), before);
}

struct PathCase
{
    const char *pathList;
    const char *cfg; // nullptr: no skyrun2.cfg
    const char *expected;
};

TEST_F(SkyrunFilesTest, DirectoryListsOfThePathSyntax)
{
    const PathCase cases[] = {
        {"upd", nullptr, "/upd/"},
        {"/upd;+bin;+/doc;other", nullptr, "/upd/|/upd/bin/|/upd/doc/|/other"},
        {"upd\\sub", nullptr, "/upd/sub/"},
        {"a b", nullptr, "/a/|/b"},
        {"\"a b\"", nullptr, "/a_b/"},
        {"/", nullptr, "/"},
        {"", nullptr, ""},
        {" ; \t ;", nullptr, ""},
        // Each rewrite is one pass: "+//x//" only loses one slash after the "+".
        {"upd;+;+\\\\x\\\\", nullptr, "/upd/|/upd//x/"},
        {"upd//sub", nullptr, "/upd/sub/"},
        {"up+d;/abs/;+/+x", nullptr, "/up+d/|/abs/|/up+d/+x/"},
        {"upd", "/upd\r\nupd\r\n+bin\r\n/other\r\n", "/upd/|/upd/bin/|/other"},
        {"upd;+bin", "+bin", "/upd/|/upd/bin/|/upd/bin/"},
        {"upd", "  ; a comment\n\n   +lib  \n\"my docs\"", "/upd/|/upd/lib/|/my_docs"},
        {"upd", "/upd/\n+", "/upd/"},
        {"", "+bin\n/other", ""},
    };
    for (const PathCase &c : cases) {
        QFile::remove(Path(SkyrunCfgName));
        if (c.cfg)
            WriteFileBytes(Path(SkyrunCfgName), c.cfg);
        EXPECT_EQ(BuildDirectoryList(QString::fromUtf8(c.pathList), Folder()).join(QLatin1Char('|')),
                  QString::fromUtf8(c.expected))
            << c.pathList << " / " << (c.cfg ? c.cfg : "(no cfg)");
    }
}

TEST_F(SkyrunFilesTest, QuotedEntriesKeepSeparatorsAndDoubledQuotes)
{
    EXPECT_EQ(SplitPathList(QStringLiteral("\"a;b\" \"c\"\"d\";\"\";e")).join(QLatin1Char('|')),
              QStringLiteral("a;b|c\"d||e"));
}

TEST(SkyrunLog, StampsHaveSeventeenDigitsWithMinutesAfterHours)
{
    EXPECT_EQ(FormatStamp(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9, 45))), QStringLiteral("20240305070809045"));
    EXPECT_EQ(FormatStamp(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999))),
              QStringLiteral("20241231235959999"));
}

TEST(SkyrunLog, KeysJoinFolderAndNameWithBackslashes)
{
    EXPECT_EQ(RecordKey({}, QStringLiteral("report.dll")), QStringLiteral("report.dll"));
    EXPECT_EQ(RecordKey(QStringLiteral("sub"), QStringLiteral("report.dll")), QStringLiteral("sub\\report.dll"));
    EXPECT_EQ(RecordKey(QStringLiteral("sub/deep/"), QStringLiteral("a.once")), QStringLiteral("sub\\deep\\a.once"));
    EXPECT_EQ(RecordKey(QStringLiteral("sub\\deep\\"), QStringLiteral("a")), QStringLiteral("sub\\deep\\a"));
}

TEST(SkyrunLog, RecordsRoundTripAndMissingOnesReadAsTheNoRecordStamp)
{
    QTemporaryDir dir;
    TSkyrunLog log(dir.path());
    EXPECT_EQ(log.ReadStamp(QStringLiteral("sub\\a.dll")), QStringLiteral("19900101000001000"));
    log.WriteStamp(QStringLiteral("sub\\a.dll"), QStringLiteral("20240101120000000"));
    log.WriteStamp(QStringLiteral("한글.dll"), QStringLiteral("20240102120000000"));
    EXPECT_EQ(TSkyrunLog(dir.path()).ReadStamp(QStringLiteral("SUB\\A.DLL")), QStringLiteral("20240101120000000"));
    EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("skyrunlog.ini"))),
              "[LATESTFDATE]\r\nsub\\a.dll=20240101120000000\r\n" + Platform::ToCp949(QStringLiteral("한글.dll"))
                  + "=20240102120000000\r\n");
    WriteFileBytes(dir.filePath(QStringLiteral("skyrunlog.ini")), "[LATESTFDATE]\r\nb.dll=\r\n");
    EXPECT_EQ(log.ReadStamp(QStringLiteral("b.dll")), QStringLiteral("19900101000001000"));
}

} // namespace
