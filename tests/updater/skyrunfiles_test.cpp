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
    unsigned IniMode() const
    {
        struct stat status = {};
        return ::stat(QFile::encodeName(Path(SkyrunIniName)).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
    }
    static TServerInfo Info(const char *host, const QString &password = {})
    {
        return {QString::fromLatin1(host), QStringLiteral("21"), false, QStringLiteral("/"), {}, password, QStringLiteral("FTP"), {}};
    }

    QTemporaryDir m_dir;
};

// Missing settings, and empty stored values before decoding, take the defaults.
TEST_F(SkyrunFilesTest, ReadingTakesDefaultsAndChecksValues)
{
    EXPECT_EQ(ReadServerInfo(Folder()), Info(""));
    WriteIni("IP=\r\nPORT=\r\nPATH=\r\nTRANSTYPE=\r\nPSVT=\r\n");
    EXPECT_EQ(ReadServerInfo(Folder()), Info(""));
    // Only PSVT=1 means passive.
    const std::pair<QByteArray, bool> cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"2", false}, {"01", false}};
    for (const auto &[stored, passive] : cases) {
        WriteIni("PSVT=" + stored + "\r\n");
        EXPECT_EQ(ReadServerInfo(Folder()).Passive, passive) << stored.constData();
    }
    WriteIni("TRANSTYPE=sftp\r\n");
    EXPECT_EQ(ReadServerInfo(Folder()).TransType, QStringLiteral("SFTP"));
    // Plain digits for a port are no base64.
    WriteIni("PORT=21\r\n");
    EXPECT_EQ(ErrorOf([&] { ReadServerInfo(Folder()); }), QStringLiteral("Base64: Incorrect string format"));
}

TEST_F(SkyrunFilesTest, WritesEveryKeyInOrderAsBase64OfCp949)
{
    const TServerInfo info{QStringLiteral("ftp.tovel.co.kr"), QStringLiteral("2121"), true,
                          QStringLiteral("/upd;+bin"), QStringLiteral("업데이트"), QStringLiteral("pw!"),
                          QStringLiteral("SFTP"), {}};
    WriteServerInfo(info, Folder());
    const QByteArray id = Platform::ToCp949(QStringLiteral("업데이트")).toBase64();
    EXPECT_EQ(ReadFileBytes(Path(SkyrunIniName)),
              "[FILESERVER]\r\nIP=ZnRwLnRvdmVsLmNvLmty\r\nPORT=MjEyMQ==\r\nPATH=L3VwZDsrYmlu\r\nID=" + id
                  + "\r\nPW=cHch\r\nPSVT=1\r\nTRANSTYPE=SFTP\r\n");
    EXPECT_EQ(ReadServerInfo(Folder()), info);
    // Empty texts round-trip as empty values.
    WriteServerInfo(Info(""), Folder());
    EXPECT_EQ(ReadServerInfo(Folder()), Info(""));
}

// The file holds the server password: nobody but its owner may read it.
TEST_F(SkyrunFilesTest, CreatedSettingsAreReadableByTheOwnerOnly)
{
    TServerInfo first = Info("host", QStringLiteral("secret"));
    first.ID = QStringLiteral("user");
    WriteServerInfo(first, Folder());
    EXPECT_EQ(IniMode(), 0600u);
    // A second write replaces the file and keeps its mode.
    WriteServerInfo(Info("other"), Folder());
    EXPECT_EQ(IniMode(), 0600u);
    // A file others could read is closed to them before the password goes in.
    ASSERT_EQ(::chmod(QFile::encodeName(Path(SkyrunIniName)).constData(), 0644), 0);
    WriteServerInfo(Info("other", QStringLiteral("secret")), Folder());
    EXPECT_EQ(IniMode(), 0600u);
}

TEST_F(SkyrunFilesTest, TextOutsideTheCodePageWritesNothing)
{
    WriteIni("IP=b2xk\r\n");
    const QByteArray before = ReadFileBytes(Path(SkyrunIniName));
    EXPECT_NE(ErrorOf([&] { WriteServerInfo(Info("new", QStringLiteral("😀")), Folder()); }), QStringLiteral("(no error)"));
    EXPECT_EQ(ReadFileBytes(Path(SkyrunIniName)), before);
}

// Path list, skyrun2.cfg (nullptr: none) and the folders they give.
TEST_F(SkyrunFilesTest, DirectoryListsOfThePathSyntax)
{
    const std::tuple<const char *, const char *, const char *> cases[] = {
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
    for (const auto &[pathList, cfg, expected] : cases) {
        QFile::remove(Path(SkyrunCfgName));
        if (cfg)
            WriteFileBytes(Path(SkyrunCfgName), cfg);
        EXPECT_EQ(BuildDirectoryList(QString::fromUtf8(pathList), Folder()).join(QLatin1Char('|')),
                  QString::fromUtf8(expected))
            << pathList << " / " << (cfg ? cfg : "(no cfg)");
    }
    // Quoted entries keep separators and doubled quotes.
    EXPECT_EQ(SplitPathList(QStringLiteral("\"a;b\" \"c\"\"d\";\"\";e")).join(QLatin1Char('|')),
              QStringLiteral("a;b|c\"d||e"));
}

// Stamps have seventeen digits with minutes after hours; keys join folder and name with backslashes.
TEST(SkyrunLog, StampsAndKeys)
{
    EXPECT_EQ(FormatStamp(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9, 45))), QStringLiteral("20240305070809045"));
    EXPECT_EQ(FormatStamp(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999))), QStringLiteral("20241231235959999"));
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

// The message lines of a failed run, saved without any window.
TEST(RunLog, TheMessageLinesInCp949WithCrLf)
{
    QTemporaryDir folder;
    const QStringList lines = {QStringLiteral("FTP Connection Error: 530 Authentication failed."),
                               QStringLiteral("[J900E.so]파일을 반영하지 못했습니다.[disk full]")};
    const QDateTime now(QDate(2024, 3, 5), QTime(7, 8, 9, 45));
    const QString written = WriteRunLog(folder.path(), lines, now);
    EXPECT_EQ(written, folder.filePath(QStringLiteral("Log/upd_240305070809045.log")));
    EXPECT_EQ(ReadFileBytes(written), "FTP Connection Error: 530 Authentication failed.\r\n"
                                          + Platform::ToCp949(QStringLiteral("[J900E.so]파일을 반영하지 못했습니다.[disk full]"))
                                          + "\r\n");
    // Each failed run adds a file.
    WriteRunLog(folder.path(), lines, now.addMSecs(1));
    EXPECT_EQ(QDir(folder.filePath(QStringLiteral("Log"))).entryList(QDir::Files).size(), 2);
    // A log that cannot be saved is skipped.
    QTemporaryDir blocked;
    WriteFileBytes(blocked.filePath(QStringLiteral("Log")), "a file where the folder would be");
    EXPECT_EQ(WriteRunLog(blocked.path(), lines), QString());
}

} // namespace
