#include "testsupport.h"

#include "servedfolder.h"

#include "platform/cp949.h"
#include "updater/release/releasemanifest.h"
#include "updater/skyrun.h"
#include "updater/skyrunapply.h"
#include "updater/skyrunlib.h"
#include "updater/skyrunlog.h"
#include "updater/skyrunmessages.h"
#include "updater/skyrunoptions.h"
#include "updater/updateprogress.h"
#include "updater/updaterun.h"

#include <QDir>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

namespace {

// The options of a start as one line: mode, silent, transport, times, unpack, skip list,
// follow-up.
QString Describe(const TRunOptions &o)
{
    const char *modes[] = {"none", "config", "run"};
    const char *transports[] = {"default", "ftp", "sftp"};
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(QString::fromLatin1(modes[static_cast<int>(o.Mode)]))
        .arg(o.Silent)
        .arg(QString::fromLatin1(transports[static_cast<int>(o.Transport)]))
        .arg(o.PreserveTimes)
        .arg(o.Extract)
        .arg(o.SkipList.mid(2).join(QLatin1Char(',')))
        .arg(o.FollowUp);
}

TEST(SkyrunOptions, CommandLineTable)
{
    const QString folder = QDir::tempPath();
    const struct
    {
        QStringList args;
        const char *expected;
    } cases[] = {
        {{}, "none|0|default|0|1||"},
        {{Q("config")}, "config|0|default|0|1||"},
        {{Q("Config")}, "none|0|default|0|1||"},
        {{Q("run")}, "none|0|default|0|1||"},
        {{Q("x"), Q("TovelMain")}, "none|0|default|0|1||TovelMain"},
        // The login program's call: the empty argument ends the list.
        {{Q("run"), Q("TovelMain"), Q("run"), Q("1001"), QString(), Q("-sc")}, "run|0|default|0|1||TovelMain run 1001"},
        {{Q("run"), Q("alone"), Q("-SC"), Q("-sftp"), Q("-ftp"), Q("-PFT"), Q("-UZ")}, "run|1|ftp|1|0||"},
        {{Q("run"), Q("-sub\\old.dll"), Q("-c:new.ini"), Q("-a/b/"), Q("-"), Q("main")}, "run|0|default|0|1|OLD.DLL,NEW.INI|main"},
        {{Q("run"), Q("/cr"), Q("/no/such/folder"), Q("main"), Q("/CR")}, "run|0|default|0|1||main"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Describe(ParseRunOptions(c.args, folder)), Q(c.expected)) << c.args.join(QLatin1Char(' ')).toStdString();

    QTemporaryDir other;
    const TRunOptions moved = ParseRunOptions({Q("run"), Q("/cr"), other.path(), Q("alone")}, folder);
    EXPECT_EQ(moved.LocalBase, other.path() + QLatin1Char('/'));
    EXPECT_EQ(moved.FollowUp, QString());
    EXPECT_EQ(ParseRunOptions({Q("run"), Q("x")}, folder).LocalBase, QDir::tempPath() + QLatin1Char('/'));
}

TEST(UpdateRun, LocalFoldersAndKeys)
{
    QTemporaryDir base;
    const QString local = base.path();
    EXPECT_EQ(TUpdateRun::LocalFolderOf(Q("/upd/"), Q("/upd/"), 0, local), QString());
    EXPECT_EQ(TUpdateRun::LocalFolderOf(Q("/upd/"), Q("/upd/"), 1, local), QString());
    EXPECT_EQ(TUpdateRun::LocalFolderOf(Q("/upd/bin/x/"), Q("/upd/"), 1, local), Q("bin/x"));
    EXPECT_TRUE(QFileInfo(local + Q("/bin/x")).isDir());
    // The base is taken off only in front: a directory that merely holds it elsewhere lies
    // outside the base.
    const QString outside = local + Q("/upd/in");
    EXPECT_EQ(TUpdateRun::LocalFolderOf(outside + Q("/"), Q("/upd/"), 2, local), outside);
    EXPECT_TRUE(QFileInfo(outside).isDir());

    for (const char *bad : {"a=b.dll", ";a.dll", "[a].dll", " a.dll", "a.dll ", "a\tb"})
        EXPECT_FALSE(TUpdateRun::IsRecordableKey(Q(bad))) << bad;
    for (const char *good : {"a.dll", "sub\\[a].dll", "sub\\;a", "한글.dll"})
        EXPECT_TRUE(TUpdateRun::IsRecordableKey(Q(good))) << good;
}

TEST(UpdateRun, ArchiveListingAndPaths)
{
    const QByteArray listing = "Path = a.zip\nType = zip\n\n----------\nPath = sub\nFolder = +\nAttributes = D drwxr-xr-x\n\n"
                               "Path = sub/x.dll\nFolder = -\nAttributes =  -rw-r--r--\n\n"
                               "Path = link\r\nFolder = -\r\nAttributes =  lrwxrwxrwx\r\n";
    const QList<TArchiveEntry> entries = ParseArchiveListing(listing);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_TRUE(entries[0].Folder && !entries[0].Link);
    EXPECT_TRUE(!entries[1].Folder && !entries[1].Link && entries[1].Path == Q("sub/x.dll"));
    EXPECT_TRUE(entries[2].Link);
    EXPECT_TRUE(ParseArchiveListing("Path = only.zip\nType = zip\n").isEmpty());
    for (const char *bad : {"", "/etc/passwd", "\\x", "../x", "a/../../x", "a\\..\\x", "c:x"})
        EXPECT_FALSE(IsSafeArchivePath(Q(bad))) << bad;
    for (const char *good : {"x", "a/b/x", "a..b/x", "..x"})
        EXPECT_TRUE(IsSafeArchivePath(Q(good))) << good;
}

QDateTime At(const char *text)
{
    return QDateTime::fromString(Q(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void Touch(const QString &path, const QDateTime &time)
{
    const utimbuf times{time.toSecsSinceEpoch(), time.toSecsSinceEpoch()};
    ::utime(QFile::encodeName(path).constData(), &times);
}

// A program folder against a served folder of the loopback FTP (or SSH) server of this
// run; each test serves from a folder of its own.
class UpdateRunTest : public ProgramFolderTest
{
protected:
    void Serve(const QString &name, const QByteArray &bytes, const QDateTime &time = At("2024-03-01 10:00:00")) const
    {
        ServedFolderTest::Serve(name, bytes, time);
    }

    QString Local(const QString &name) const { return m_folder + name; }

    // One run as Skyrun performs it, without a window; returns its messages but the FTP
    // client's connection lines.
    QStringList Run(const QStringList &extra = {})
    {
        const TRunOptions options = ParseRunOptions(QStringList{Q("run"), Q("alone")} + extra, m_folder);
        TSilentProgress progress;
        TUpdateRun run(options, m_folder, progress);
        run.ShowStep();
        run.RunUpdate();
        m_failed = run.Failed();
        QStringList lines = progress.Messages().filter(QRegularExpression(QStringLiteral("^(?!Connect|Disconnect)")));
        return lines;
    }

    QString Record(const QString &key) const { return TSkyrunLog(m_folder).ReadStamp(key); }

    bool m_failed = false;
};

TEST_F(UpdateRunTest, FetchesWhatChangedAndASecondRunNothing)
{
    Settings(QStringLiteral("/%1;+sub").arg(m_name));
    Serve(Q("a.dll"), "new a");
    Serve(Q("sub/b.dll"), "new b");
    Serve(Q("c.ini.once"), "once");
    Serve(Q("d.dat.sync"), "sync", At("2024-03-01 10:00:07")); // odd seconds
    Serve(Q("SkyrunLog.ini"), "never");
    Serve(Q("e.dll.download"), "never");
    Serve(Q("skipped.dll"), "never");
    Serve(Q("한글.dll"), "korean");
    // A server that answers the size query with 0 still hands the file over whole.
    Serve(Q("zerosize.dll"), "whole although the size was 0");
    WriteFileBytes(Local(Q("c.ini")), "old once");
    // A local file without a record that is newer than the server's is adopted, not fetched.
    WriteFileBytes(Local(Q("kept.dll")), "local");
    Serve(Q("kept.dll"), "server");

    EXPECT_EQ(Run({Q("-skipped.dll")}), QStringList());
    EXPECT_FALSE(m_failed);
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "new a");
    EXPECT_EQ(ReadFileBytes(Local(Q("sub/b.dll"))), "new b");
    EXPECT_EQ(ReadFileBytes(Local(Q("c.ini"))), "once");
    EXPECT_EQ(ReadFileBytes(Local(Q("d.dat"))), "sync");
    EXPECT_EQ(ReadFileBytes(Local(Q("한글.dll"))), "korean");
    EXPECT_EQ(ReadFileBytes(Local(Q("zerosize.dll"))), "whole although the size was 0");
    EXPECT_EQ(ReadFileBytes(Local(Q("kept.dll"))), "local");
    for (const char *absent : {"SkyrunLog.ini", "e.dll.download", "e.dll", "skipped.dll", "c.ini.once", "a.dll.download"})
        EXPECT_FALSE(QFileInfo::exists(Local(Q(absent)))) << absent;
    EXPECT_EQ(QFileInfo(Local(Q("d.dat"))).lastModified(), At("2024-03-01 10:00:07"));
    EXPECT_EQ(Record(Q("sub\\b.dll")), FormatStamp(At("2024-03-01 10:00:00")));
    EXPECT_EQ(Record(Q("kept.dll")), FormatStamp(QFileInfo(Local(Q("kept.dll"))).lastModified()).left(14) + Q("000"));

    // Nothing changed: nothing is fetched, no file or record is touched; a ".sync" file
    // whose server time has odd seconds has settled.
    const QByteArray state = ReadFileBytes(Local(Q("skyrunlog.ini")));
    Touch(Local(Q("a.dll")), At("2020-01-01 00:00:00"));
    EXPECT_EQ(Run({Q("-skipped.dll")}), QStringList());
    EXPECT_EQ(QString::fromUtf8(ReadFileBytes(Local(Q("skyrunlog.ini")))), QString::fromUtf8(state));
    EXPECT_EQ(QFileInfo(Local(Q("a.dll"))).lastModified(), At("2020-01-01 00:00:00"));
    EXPECT_EQ(ReadFileBytes(Local(Q("c.ini"))), "once");

    // A newer server copy is fetched over the old one; a ".once" file again.
    Serve(Q("a.dll"), "newer a", At("2024-03-02 10:00:00"));
    Serve(Q("c.ini.once"), "once more", At("2024-03-02 10:00:00"));
    EXPECT_EQ(Run({Q("-skipped.dll")}), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "newer a");
    EXPECT_EQ(ReadFileBytes(Local(Q("c.ini"))), "once more");
}

TEST_F(UpdateRunTest, AFailedFileKeepsItsOldCopyAndRecord)
{
    Settings(QStringLiteral("/%1;+later").arg(m_name));
    const QString recorded = FormatStamp(At("2024-03-01 10:00:00"));
    QDir().mkpath(Local(Q("later")));
    // Cut short, or longer than the size the server gave, both ending with 226.
    for (const char *name : {"cutshort.dll", "oversize.dll", "blocked.dll"}) {
        WriteFileBytes(Local(Q("later/") + Q(name)), QByteArray(4000, 'x'));
        TSkyrunLog(m_folder).WriteStamp(Q("later\\") + Q(name), recorded);
        Serve(Q("later/") + Q(name), QByteArray(4000, 'y'), At("2024-03-05 10:00:00"));
    }
    // A target that cannot be replaced: a folder that holds something.
    QFile::remove(Local(Q("later/blocked.dll")));
    QDir().mkpath(Local(Q("later/blocked.dll/inner")));
    Serve(Q("later/b.dll"), "b");
    // Names the state file cannot keep, or that leave no file name, are reported and
    // skipped; the walk goes on to the next folder.
    const QStringList unusable = {Q("sub=x.dll"), Q(";x.dll"), Q("[x].dll"), Q("\U0001F600.dll"), Q("..once")};
    for (const QString &name : unusable)
        Serve(name, "x");

    const QStringList messages = Run();
    EXPECT_TRUE(m_failed);
    for (const QString &name : unusable + QStringList{Q("cutshort.dll"), Q("oversize.dll")})
        EXPECT_EQ(messages.filter(Q("[%1]파일을 반영하지 못했습니다.[").arg(name)).size(), 1) << name.toStdString();
    // A target that cannot be removed has the fixed line, with nothing after it.
    EXPECT_EQ(messages.filter(Q("[blocked.dll]")), QStringList{Q("[blocked.dll]파일을 반영하지 못했습니다.")});
    EXPECT_EQ(messages.size(), unusable.size() + 3) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messages.filter(Q("[oversize.dll]")).value(0), Q("[oversize.dll]파일을 반영하지 못했습니다.[oversize.dll: received 4010 of 4000 bytes]"));
    // Neither wrong count replaced the whole copy, nor did anything the folder; the other
    // file went on.
    EXPECT_EQ(ReadFileBytes(Local(Q("later/cutshort.dll"))), QByteArray(4000, 'x'));
    EXPECT_EQ(ReadFileBytes(Local(Q("later/oversize.dll"))), QByteArray(4000, 'x'));
    EXPECT_TRUE(QFileInfo::exists(Local(Q("later/blocked.dll/inner"))));
    for (const char *name : {"cutshort.dll", "oversize.dll", "blocked.dll"}) {
        EXPECT_EQ(Record(Q("later\\") + Q(name)), recorded) << name;
        EXPECT_FALSE(QFileInfo::exists(Local(Q("later/") + Q(name)) + Q(".download"))) << name;
    }
    EXPECT_EQ(ReadFileBytes(Local(Q("later/b.dll"))), "b");
}

TEST_F(UpdateRunTest, ADirectoryTheServerRefusesStopsTheWalk)
{
    Settings(QStringLiteral("/%1;/nowhere;+later").arg(m_name));
    Serve(Q("later/a.dll"), "a");
    EXPECT_EQ(Run(), QStringList{Q("FTP 경로 탐색 오류: /nowhere")});
    EXPECT_TRUE(m_failed);
    EXPECT_FALSE(QFileInfo::exists(Local(Q("later/a.dll"))));
}

// A failed run reports the same lines to a silent sink as to the window, the FTP client's
// among them, and saves them as its log without any window.
TEST_F(UpdateRunTest, ASilentRunKeepsTheWindowsLinesAndSavesThemAsItsLog)
{
    Settings(QStringLiteral("/%1;/nowhere").arg(m_name));
    Serve(Q(";x.dll"), "x");
    const TRunOptions options = ParseRunOptions({Q("run"), Q("alone"), Q("-sc")}, m_folder);
    TForm1 window;
    TUpdateRun shown(options, m_folder, window);
    shown.ShowStep();
    shown.ActivationStep();
    // Read now: two runs in one millisecond write one log name.
    const QByteArray shownLog = ReadFileBytes(shown.LogFile());
    TSilentProgress silent;
    TUpdateRun run(options, m_folder, silent);
    run.ShowStep();
    run.ActivationStep();

    EXPECT_TRUE(run.Failed());
    const QStringList lines = silent.Messages();
    EXPECT_EQ(lines, window.Messages());
    const QRegularExpression connection(QStringLiteral("^(Connecting to |Connected\\.$|Disconnected\\.$)"));
    EXPECT_EQ(lines.filter(connection).size(), 3) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines.filter(Q("[;x.dll]파일을 반영하지 못했습니다.[")).size(), 1);
    EXPECT_TRUE(lines.contains(Q("FTP 경로 탐색 오류: /nowhere")));
    QByteArray saved;
    for (const QString &line : lines)
        saved += Platform::ToCp949(line) + "\r\n";
    ASSERT_FALSE(run.LogFile().isEmpty());
    EXPECT_EQ(ReadFileBytes(run.LogFile()), saved);
    EXPECT_EQ(shownLog, saved);

    // A run that went well leaves no log.
    Settings(QLatin1Char('/') + m_name);
    QFile::remove(m_served + Q("/;x.dll"));
    TSilentProgress well;
    TUpdateRun again(options, m_folder, well);
    again.ShowStep();
    again.ActivationStep();
    EXPECT_FALSE(again.Failed());
    EXPECT_EQ(again.LogFile(), QString());
    EXPECT_EQ(QDir(m_folder + Q("Log")).entryList(QDir::Files).size(), 2);
}

QByteArray Zip(const QString &folder, const QStringList &names, bool links = false)
{
    const QString archive = folder + Q("/out.zip");
    QProcess zip;
    zip.setWorkingDirectory(folder);
    zip.start(Q("7z"), QStringList{Q("a"), Q("-tzip"), archive} + (links ? QStringList{Q("-snl")} : QStringList()) + names);
    zip.waitForFinished();
    return ReadFileBytes(archive);
}

TEST_F(UpdateRunTest, ArchivesUnpackOnlyInsideTheirFolder)
{
    QTemporaryDir work;
    QDir().mkpath(work.filePath(Q("tools")));
    WriteFileBytes(work.filePath(Q("tools/t.dll")), "tool");
    WriteFileBytes(work.filePath(Q("SKYRUNLOG.INI")), "[LATESTFDATE]\r\n");
    QFile::link(Q("/etc"), work.filePath(Q("etc")));
    Serve(Q("___pack.zip"), Zip(work.path(), {Q("tools")}));
    WriteFileBytes(work.filePath(Q("out.zip")), {});
    QFile::remove(work.filePath(Q("out.zip")));
    Serve(Q("state.zip"), Zip(work.path(), {Q("SKYRUNLOG.INI")}));
    QFile::remove(work.filePath(Q("out.zip")));
    Serve(Q("linked.zip"), Zip(work.path(), {Q("etc")}, true));
    Serve(Q("___.zip"), ReadFileBytes(m_served + Q("/___pack.zip")));
    Serve(Q("broken.7z"), "7z\xbc\xaf\x27\x1c but nothing more");
    // Entries that climb out of the folder or start from the root, as a crafted archive has them.
    QProcess::execute(Q("python3"), {Q("-c"), Q("import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w')\n"
                                                "z.writestr('../up.txt','x')\nz.writestr('/abs.txt','y')\nz.close()"),
                                     m_served + Q("/climbing.zip")});

    const QStringList messages = Run();
    EXPECT_TRUE(m_failed);
    EXPECT_EQ(ReadFileBytes(Local(Q("pack/tools/t.dll"))), "tool");
    // An archive that holds the state file is kept and recorded, not unpacked.
    EXPECT_EQ(ReadFileBytes(Local(Q("SKYRUNLOG.INI"))), QByteArray());
    EXPECT_NE(Record(Q("state.zip")), Q(NoRecordStamp));
    // A link, a folder of its own named "..", a broken archive: reported, nothing lands
    // outside, and the archive is fetched again next time.
    EXPECT_FALSE(QFileInfo(Local(Q("etc"))).exists());
    EXPECT_FALSE(QFileInfo::exists(m_program.path() + Q("/../tools")));
    EXPECT_FALSE(QFileInfo::exists(m_program.path() + Q("/../up.txt")));
    EXPECT_FALSE(QFileInfo::exists(Local(Q("up.txt"))));
    for (const char *failed : {"linked.zip", "___.zip", "broken.7z", "climbing.zip"}) {
        EXPECT_EQ(messages.filter(QStringLiteral("[%1]").arg(Q(failed))).size(), 1) << failed;
        EXPECT_EQ(Record(Q(failed)), Q(NoRecordStamp)) << failed;
        EXPECT_FALSE(QFileInfo::exists(Local(Q(failed)))) << failed;
    }
    EXPECT_EQ(messages.size(), 4) << messages.join(QLatin1Char('\n')).toStdString();
}

// 7-Zip is asked for names, not for text that merely holds one; when it fails or hangs
// while unpacking, the archive fails.
TEST(UpdateRun, ArchiveToolNamesFailuresAndHangs)
{
    QTemporaryDir folder;
    WriteFileBytes(folder.filePath(Q("NOTSKYRUNLOG.INI")), "x");
    WriteFileBytes(folder.filePath(Q("skyrunlog.ini.bak")), "y");
    const QStringList skip = {Q("SKYRUNLOG.INI"), Q("Error:")};
    Zip(folder.path(), {Q("NOTSKYRUNLOG.INI"), Q("skyrunlog.ini.bak")});
    const QString archive = folder.filePath(Q("out.zip"));
    QDir().mkpath(folder.filePath(Q("to")));
    QFile::rename(archive, folder.filePath(Q("to/names.zip")));
    EXPECT_EQ(ExtractArchive(folder.filePath(Q("to/names.zip")), {}, folder.path(), skip), TExtractResult::Extracted);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(Q("to/NOTSKYRUNLOG.INI"))));

    // A tool of the program folder that lists like 7-Zip but fails, or hangs, unpacking.
    WriteFileBytes(folder.filePath(Q("7z")), "#!/bin/sh\n[ \"$1\" = l ] && exec 7z \"$@\"\n"
                                             "[ -f \"$(dirname \"$0\")/hang\" ] && exec sleep 30\nexit 2\n");
    QFile::setPermissions(folder.filePath(Q("7z")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString names = folder.filePath(Q("to/names.zip"));
    EXPECT_TRUE(ErrorOf([&] { ExtractArchive(names, {}, folder.path(), skip); }).contains(Q("(2)")));
    WriteFileBytes(folder.filePath(Q("hang")), {});
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(ErrorOf([&] { ExtractArchive(names, {}, folder.path(), skip, 500); }).contains(Q("timed out")));
    EXPECT_LT(timer.elapsed(), 10000);
}

// A copy of `program` at `path`, started with `arguments`.
std::unique_ptr<QProcess> StartCopy(const QString &program, const QString &path, const QStringList &arguments)
{
    QFile::copy(program, path);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    auto process = std::make_unique<QProcess>();
    process->start(path, arguments);
    process->waitForStarted();
    return process;
}

TEST_F(UpdateRunTest, ARunningProgramIsEndedAndReplacedButNotItsNamesake)
{
    QTemporaryDir elsewhere;
    auto inFolder = StartCopy(Q("/bin/sleep"), Local(Q("tool")), {Q("60")});
    auto namesake = StartCopy(Q("/bin/sleep"), elsewhere.filePath(Q("tool")), {Q("60")});
    WriteFileBytes(Local(Q("plain")), "old");
    QFile::setPermissions(Local(Q("plain")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Serve(Q("tool"), "#!/bin/sh\necho new\n", QDateTime::currentDateTime().addDays(1));
    Serve(Q("plain"), "new", QDateTime::currentDateTime().addDays(1));
    Serve(Q("fresh"), "#!/bin/sh\n");

    const QString exe = Local(Q("tool"));
    EXPECT_EQ(Run(), (QStringList{Q("실행중인 파일: [%1]").arg(exe), Q("실행중인 파일 종료 성공: [%1]").arg(exe)}));
    EXPECT_TRUE(inFolder->state() == QProcess::NotRunning || inFolder->waitForFinished(5000));
    EXPECT_EQ(namesake->state(), QProcess::Running);
    EXPECT_EQ(ReadFileBytes(exe), "#!/bin/sh\necho new\n");
    // Replaced files keep their permissions; a new program becomes executable.
    EXPECT_TRUE(QFileInfo(exe).isExecutable());
    EXPECT_TRUE(QFileInfo(Local(Q("plain"))).isExecutable());
    EXPECT_TRUE(QFileInfo(Local(Q("fresh"))).isExecutable());
    namesake->kill();
    namesake->waitForFinished();
}

TEST_F(UpdateRunTest, TheSameOverSftp)
{
    if (Env("TOVEL_SFTP_PORT").isEmpty())
        GTEST_SKIP() << "no SSH server was started for this run";
    const QString served = Env("TOVEL_SFTP_ROOT") + QLatin1Char('/') + m_name;
    QDir(served).removeRecursively();
    QDir().mkpath(served + Q("/sub"));
    WriteFileBytes(served + Q("/a.dll"), "a");
    WriteFileBytes(served + Q("/sub/b.dll"), QByteArray(100000, 'b'));
    WriteFileBytes(served + Q("/c.dat.sync"), "c");
    Touch(served + Q("/c.dat.sync"), At("2024-03-01 10:00:07"));
    QProcess::execute(Q("chown"), {Q("-R"), Env("TOVEL_SFTP_USER"), served});
    // The server names "/x/" as "/x": that is the directory asked for.
    WriteServerInfo({Env("TOVEL_SFTP_HOST"), Env("TOVEL_SFTP_PORT"), false, served + Q("/;+sub"), Env("TOVEL_SFTP_USER"),
                     Env("TOVEL_SFTP_PASSWORD"), Q("sftp"), {}},
                    m_folder);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_FALSE(m_failed);
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a");
    EXPECT_EQ(ReadFileBytes(Local(Q("sub/b.dll"))), QByteArray(100000, 'b'));
    EXPECT_EQ(ReadFileBytes(Local(Q("c.dat"))), "c");
    const QByteArray state = ReadFileBytes(Local(Q("skyrunlog.ini")));
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("skyrunlog.ini"))), state);
}

// A program folder that trusts a release key, against a served folder signed with it.
class SignedReleaseTest : public UpdateRunTest
{
protected:
    void SetUp() override
    {
        UpdateRunTest::SetUp();
        if (IsSkipped())
            return;
        m_key = MakeKeyPair();
        Settings(QStringLiteral("/%1;+sub").arg(m_name), {}, QString::fromLatin1(m_key.PublicKey.toBase64()));
    }

    // Signs the served folder as it is now as release `sequence`, valid for `seconds`.
    QByteArray Sign(quint64 sequence, qint64 seconds = 3600, const TKeyPair *key = nullptr) const
    {
        TReleaseManifest manifest;
        manifest.Sequence = sequence;
        const QDateTime expires = QDateTime::currentDateTimeUtc().addSecs(seconds);
        manifest.Expires = QDateTime::fromSecsSinceEpoch(expires.toSecsSinceEpoch(), Qt::UTC);
        manifest.Files = ScanReleaseFolder(m_served);
        const QByteArray text = SignManifest(manifest, (key ? *key : m_key).SecretKey);
        WriteFileBytes(m_served + Q("/SKYRUN.MANIFEST"), text);
        return text;
    }

    quint64 Accepted() const { return TSkyrunLog(m_folder).AcceptedRelease(); }

    TKeyPair m_key;
};

TEST_F(SignedReleaseTest, AGoodReleaseUpdatesAndTamperedOrUnlistedFilesAreRefused)
{
    Serve(Q("a.dll"), "a");
    Serve(Q("sub/b.dll"), "b");
    Serve(Q("c.dll"), "c version 1");
    Sign(5);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_FALSE(m_failed);
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a");
    EXPECT_EQ(ReadFileBytes(Local(Q("sub/b.dll"))), "b");
    EXPECT_FALSE(QFileInfo::exists(Local(Q("SKYRUN.MANIFEST")))) << "the manifest is not a file of the release";
    EXPECT_EQ(Accepted(), 5u);
    const QString recorded = Record(Q("c.dll"));

    // Release 6 changes c.dll and a tools archive; then, on the server, one byte of each
    // changes and a file nobody signed appears.
    QTemporaryDir work;
    WriteFileBytes(work.filePath(Q("t.dll")), "tool");
    Serve(Q("tools.zip"), Zip(work.path(), {Q("t.dll")}), At("2024-03-02 10:00:00"));
    Serve(Q("c.dll"), "c version 2", At("2024-03-02 10:00:00"));
    Serve(Q("sub/b.dll"), "b2", At("2024-03-02 10:00:00"));
    Sign(6);
    Serve(Q("c.dll"), "c versiOn 2", At("2024-03-02 10:00:00"));
    QByteArray zip = ReadFileBytes(m_served + Q("/tools.zip"));
    zip[zip.size() / 2] = static_cast<char>(zip[zip.size() / 2] ^ 0x20);
    Serve(Q("tools.zip"), zip, At("2024-03-02 10:00:00"));
    Serve(Q("sub/extra.dll"), "nobody signed this");
    const QStringList messages = Run();
    EXPECT_TRUE(m_failed);
    EXPECT_EQ(messages,
              (QStringList{Q("[c.dll]파일을 반영하지 못했습니다.[c.dll: the SHA-256 of the received bytes is not the one "
                             "the signed release lists]"),
                           Q("[tools.zip]파일을 반영하지 못했습니다.[tools.zip: the SHA-256 of the received bytes is not "
                             "the one the signed release lists]"),
                           Q("[extra.dll]파일을 반영하지 못했습니다.[not listed in the signed release]")}));
    // The refused files keep their old copy and record; the rest of the release is in place.
    EXPECT_EQ(ReadFileBytes(Local(Q("c.dll"))), "c version 1");
    EXPECT_EQ(Record(Q("c.dll")), recorded);
    EXPECT_FALSE(QFileInfo::exists(Local(Q("tools.zip"))));
    EXPECT_FALSE(QFileInfo::exists(Local(Q("t.dll")))) << "a tampered archive is never unpacked";
    EXPECT_FALSE(QFileInfo::exists(Local(Q("sub/extra.dll"))));
    EXPECT_EQ(ReadFileBytes(Local(Q("sub/b.dll"))), "b2");
    for (const char *name : {"c.dll.download", "tools.zip.download", "c.dll.download.part"})
        EXPECT_FALSE(QFileInfo::exists(Local(Q(name)))) << name;
    EXPECT_EQ(Accepted(), 6u) << "every listed file was placed or refused";

    // The server mended: the next run takes them.
    Serve(Q("c.dll"), "c version 2", At("2024-03-02 10:00:00"));
    QFile::remove(m_served + Q("/sub/extra.dll"));
    QFile::remove(m_served + Q("/tools.zip"));
    Sign(7);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("c.dll"))), "c version 2");
    EXPECT_EQ(Accepted(), 7u);

    // Release 8 changes c.dll but the server keeps its old time: the signed bytes decide,
    // so no server holds a file back (or mixes in an old one) by its time.
    Serve(Q("c.dll"), "c version 3", At("2024-03-02 10:00:00"));
    Sign(8);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("c.dll"))), "c version 3");
    // A file the release lists that the listing leaves out is reported and counts as
    // refused (its old copy stays); names starting with "." are left to servers that hide
    // them.
    Serve(Q("sub/b.dll"), "b3", At("2024-03-03 10:00:00"));
    Serve(Q(".hidden"), "h");
    Sign(9);
    QFile::remove(m_served + Q("/a.dll"));
    QFile::remove(m_served + Q("/.hidden"));
    EXPECT_EQ(Run(), QStringList{Q("[a.dll]파일을 반영하지 못했습니다.[listed in the signed release but not on the server]")});
    EXPECT_EQ(ReadFileBytes(Local(Q("sub/b.dll"))), "b3");
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a");
    EXPECT_EQ(Accepted(), 9u);

    // An unsigned run in between (the key taken away) leaves no signed hash behind, so a
    // signed release that brings the old bytes back with their old time is not mistaken
    // for what is in place.
    Serve(Q("a.dll"), "a", At("2024-03-01 10:00:00"));
    Sign(10);
    EXPECT_EQ(Run(), QStringList());
    Settings(QStringLiteral("/%1;+sub").arg(m_name));
    Serve(Q("a.dll"), "a hotfix", At("2024-04-01 10:00:00"));
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a hotfix");
    EXPECT_EQ(TSkyrunLog(m_folder).ReadHash(Q("a.dll")), QString());
    Settings(QStringLiteral("/%1;+sub").arg(m_name), {}, QString::fromLatin1(m_key.PublicKey.toBase64()));
    Serve(Q("a.dll"), "a", At("2024-03-01 10:00:00"));
    Sign(11);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a");
}

// A folder brought up to date before the key was configured: files that hold the signed
// bytes are kept and their hashes recorded; others are fetched whatever the times say.
// Directories named absolutely under the base find their files under the right path.
TEST_F(SignedReleaseTest, AFolderFromBeforeTheKeyAndDirectoriesNamedAbsolutely)
{
    Settings(QStringLiteral("/%1;/%1/bin").arg(m_name), {}, QString::fromLatin1(m_key.PublicKey.toBase64()));
    Serve(Q("same.dll"), "same");
    Serve(Q("other.dll"), "signed");
    Serve(Q("bin/der.dll"), "REAL-DER");
    Serve(Q("binder.dll"), "BINDER");
    Serve(Q("d.dat.sync"), "synced", At("2024-03-01 10:00:00"));
    WriteFileBytes(Local(Q("d.dat")), "synced");
    Touch(Local(Q("d.dat")), At("2024-03-01 10:00:00"));
    for (const char *name : {"same.dll", "other.dll"})
        TSkyrunLog(m_folder).WriteStamp(Q(name), FormatStamp(At("2025-01-01 00:00:00")));
    WriteFileBytes(Local(Q("same.dll")), "same");
    WriteFileBytes(Local(Q("other.dll")), "local");
    Sign(1);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("other.dll"))), "signed");
    EXPECT_EQ(ReadFileBytes(Local(Q("bin/der.dll"))), "REAL-DER");
    EXPECT_EQ(TSkyrunLog(m_folder).ReadHash(Q("same.dll")),
              QString::fromLatin1(QCryptographicHash::hash("same", QCryptographicHash::Sha256).toHex()));
    EXPECT_EQ(TSkyrunLog(m_folder).ReadHash(Q("d.dat.sync")),
              QString::fromLatin1(QCryptographicHash::hash("synced", QCryptographicHash::Sha256).toHex()))
        << "a \".sync\" file is adopted by its target";
    EXPECT_EQ(Accepted(), 1u);
    // One signed file's bytes served under another signed name are refused.
    Serve(Q("bin/der.dll"), "BINDER", At("2024-03-09 10:00:00"));
    EXPECT_EQ(Run(), QStringList{Q("[der.dll]파일을 반영하지 못했습니다.[der.dll: received 6 of 8 bytes]")});
    EXPECT_EQ(ReadFileBytes(Local(Q("bin/der.dll"))), "REAL-DER");
}

// A server that knows no size query still hands over the manifest and the files; a file
// that runs on past its signed size is cut off there and refused.
TEST_F(SignedReleaseTest, AServerWithoutSizeQueries)
{
    Serve(Q("a.dll"), "a");
    Serve(Q("oversize.dll"), "12345");
    Serve(Q("한글.dll"), "k");
    Sign(1);
    WriteServerInfo({Env("TOVEL_FTP_HOST"), Env("TOVEL_FTP_PORT"), true, QLatin1Char('/') + m_name, Q("nosize"),
                     Env("TOVEL_FTP_PASSWORD"), Q("FTP"), QString::fromLatin1(m_key.PublicKey.toBase64())},
                    m_folder);
    EXPECT_EQ(Run(), QStringList{Q("[oversize.dll]파일을 반영하지 못했습니다.[oversize.dll: more than 5 bytes]")});
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a");
    EXPECT_EQ(ReadFileBytes(Local(Q("한글.dll"))), "k") << "the client serves on after cutting a transfer off";
    EXPECT_FALSE(QFileInfo::exists(Local(Q("oversize.dll"))));
    EXPECT_EQ(Accepted(), 1u);
}

// With a release key, a pending file of a protected name goes to the rename helper only
// with the hash recorded when a signed release deferred it.
TEST(SignedHandOff, OnlyRecordedBytesAreHandedOn)
{
    QTemporaryDir folder;
    const QString dir = folder.path() + QLatin1Char('/');
    WriteFileBytes(dir + Q("Velmoro"), "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/handed\"\n");
    QFile::setPermissions(dir + Q("Velmoro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteFileBytes(dir + Q("Skyrun.download"), "new skyrun");
    WriteFileBytes(dir + Q("cl64.dll.download"), "left from before");
    WriteServerInfo({Q("host"), Q("21"), false, Q("/"), {}, {}, Q("FTP"), QString::fromLatin1(MakeKeyPair().PublicKey.toBase64())},
                    dir);
    TSkyrunLog(dir).WriteHashes({{Q("Skyrun"), QString::fromLatin1(QCryptographicHash::hash("new skyrun", QCryptographicHash::Sha256).toHex())},
                                 {Q("cl64.dll"), QString(64, QLatin1Char('0'))}});
    TSkyrunLog(dir).WriteStamp(Q("cl64.dll"), Q("20240301100000000"));
    EXPECT_EQ(HandOffPendingFiles(dir, Q("Skyrun")), 1);
    EXPECT_FALSE(QFileInfo::exists(dir + Q("cl64.dll.download")));
    EXPECT_EQ(TSkyrunLog(dir).ReadHash(Q("cl64.dll")), QString()) << "fetched again next time";
    EXPECT_EQ(TSkyrunLog(dir).ReadStamp(Q("cl64.dll")), Q(NoRecordStamp));
    EXPECT_TRUE(QFileInfo::exists(dir + Q("Skyrun.download")));
}

// A release that is not the trusted one, or older than the last taken, or expired, or
// broken (the manifest's own tests go through every way of breaking it): the run stops
// with one line and fetches nothing.
TEST_F(SignedReleaseTest, RefusedReleasesFetchNothing)
{
    Settings(QStringLiteral("/%1").arg(m_name), {}, QString::fromLatin1(m_key.PublicKey.toBase64()));
    Serve(Q("a.dll"), "a1");
    Sign(7);
    EXPECT_EQ(Run(), QStringList());
    const QString recorded = Record(Q("a.dll"));
    const QByteArray replayed = Sign(6);
    Serve(Q("a.dll"), "a2", At("2024-03-05 10:00:00"));
    Serve(Q("new.dll"), "new");
    const TKeyPair other = MakeKeyPair();
    const QByteArray good = Sign(8);
    const QByteArray refusedLine = "서명된 릴리스를 받지 않았습니다: ";
    const struct
    {
        QByteArray manifest;
        const char *reason;
    } cases[] = {
        {Sign(8, 3600, &other), "SKYRUN.MANIFEST was not signed with the release key this workstation trusts"},
        {replayed, "release 6 is older than release 7, which this workstation has already taken (an old folder put back?)"},
        {Sign(8, -60), "release 8 expired at "},
        {good.left(good.size() - 20), "SKYRUN.MANIFEST line 6: the manifest is cut short (its last line has no end)"},
        {QByteArray(), "Cannot fetch SKYRUN.MANIFEST from /RefusedReleasesFetchNothing/: "},
    };
    for (const auto &c : cases) {
        if (c.manifest.isEmpty())
            QFile::remove(m_served + Q("/SKYRUN.MANIFEST"));
        else
            WriteFileBytes(m_served + Q("/SKYRUN.MANIFEST"), c.manifest);
        const QStringList messages = Run();
        EXPECT_TRUE(m_failed) << c.reason;
        ASSERT_EQ(messages.size(), 1) << messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(refusedLine))) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(Q(c.reason))) << messages[0].toStdString();
        EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a1") << c.reason;
        EXPECT_FALSE(QFileInfo::exists(Local(Q("new.dll")))) << c.reason;
        EXPECT_EQ(Record(Q("a.dll")), recorded) << c.reason;
        EXPECT_EQ(Accepted(), 7u) << c.reason;
    }
    WriteFileBytes(m_served + Q("/SKYRUN.MANIFEST"), good);
    EXPECT_EQ(Run(), QStringList());
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a2");
    EXPECT_EQ(ReadFileBytes(Local(Q("new.dll"))), "new");
    EXPECT_EQ(Accepted(), 8u);
    // The same release again is no rollback; a key that is no key stops the run as well.
    EXPECT_EQ(Run(), QStringList());
    Settings(QStringLiteral("/%1").arg(m_name), {}, Q("c2hvcnQ="));
    EXPECT_TRUE(Run().value(0).contains(Q("keygen")));
}

TEST_F(SignedReleaseTest, TheSameOverSftp)
{
    if (Env("TOVEL_SFTP_PORT").isEmpty())
        GTEST_SKIP() << "no SSH server was started for this run";
    m_served = Env("TOVEL_SFTP_ROOT") + QLatin1Char('/') + m_name;
    QDir(m_served).removeRecursively();
    Serve(Q("a.dll"), "a");
    Serve(Q("sub/b.dll"), QByteArray(100000, 'b'));
    Sign(3);
    Serve(Q("sub/b.dll"), QByteArray(99999, 'b') + 'B');
    Serve(Q("sub/unlisted.dll"), "u");
    QProcess::execute(Q("chown"), {Q("-R"), Env("TOVEL_SFTP_USER"), m_served});
    WriteServerInfo({Env("TOVEL_SFTP_HOST"), Env("TOVEL_SFTP_PORT"), false, m_served + Q("/;+sub"), Env("TOVEL_SFTP_USER"),
                     Env("TOVEL_SFTP_PASSWORD"), Q("sftp"), QString::fromLatin1(m_key.PublicKey.toBase64())},
                    m_folder);
    QStringList messages = Run();
    messages.sort();
    EXPECT_EQ(messages, (QStringList{Q("[b.dll]파일을 반영하지 못했습니다.[b.dll: the SHA-256 of the received bytes is not "
                                       "the one the signed release lists]"),
                                     Q("[unlisted.dll]파일을 반영하지 못했습니다.[not listed in the signed release]")}));
    EXPECT_EQ(ReadFileBytes(Local(Q("a.dll"))), "a");
    EXPECT_FALSE(QFileInfo::exists(Local(Q("sub/b.dll"))));
    EXPECT_FALSE(QFileInfo::exists(Local(Q("sub/unlisted.dll"))));
    EXPECT_EQ(Accepted(), 3u);
}

} // namespace
