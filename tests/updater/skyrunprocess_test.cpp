// The Skyrun program as the login program starts it, in processes of its own: exit
// status, the follow-up command, the hand-off of its own file to Velmoro, and runs killed
// at random points.

#include "testsupport.h"

#include "servedfolder.h"

#include "updater/release/releasemanifest.h"
#include "updater/skyrunlib.h"
#include "updater/skyrunlog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <utime.h>

namespace {

QString Bin(const char *program) { return Env("TOVEL_PROGRAM_BIN") + QLatin1Char('/') + Q(program); }

class SkyrunProcessTest : public ProgramFolderTest
{
protected:
    void Serve(const QString &name, const QByteArray &bytes, qint64 time) const
    {
        ServedFolderTest::Serve(name, bytes, QDateTime::fromSecsSinceEpoch(time));
    }

    // Skyrun of `folder` (a copy of the program folder, or the build's with this test's
    // program folder named by the environment), started with `arguments`.
    void Start(QProcess &process, const QStringList &arguments, const QString &program = Bin("Skyrun")) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (arguments == QStringList{Q("config")})
            environment.insert(Q("TOVEL_CLOSE_WHEN_SHOWN"), Q("1"));
        environment.insert(Q("TOVEL_PROGRAM_DIR"), m_folder);
        environment.insert(Q("QT_QPA_PLATFORM"), Q("offscreen"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    int RunToEnd(const QStringList &arguments, const QString &program = Bin("Skyrun")) const
    {
        QProcess process;
        Start(process, arguments, program);
        EXPECT_TRUE(process.waitForFinished(60000));
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // A follow-up command that leaves a mark in the program folder.
    QString MarkingCommand(const char *mark) const
    {
        const QString script = m_folder + Q("mark.sh");
        WriteFileBytes(script, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/$1\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return Q(mark);
    }

    static bool WaitFor(const std::function<bool()> &condition, int ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > ms)
                return false;
            QThread::msleep(50);
        }
        return true;
    }

    void KilledRuns(int kills, const TKeyPair *release);
};

TEST_F(SkyrunProcessTest, RunsThenStartsTheFollowUpAlsoAfterAFailure)
{
    Serve(Q("a.dll"), "a", 1700000000);
    const QString mark = MarkingCommand("done");
    // The login program's command line, with a window on the offscreen display.
    EXPECT_EQ(RunToEnd({Q("run"), m_folder + Q("mark.sh"), mark, Q("1001"), QString()}), 0);
    EXPECT_EQ(ReadFileBytes(m_folder + Q("a.dll")), "a");
    EXPECT_TRUE(WaitFor([&] { return QFileInfo::exists(m_folder + mark); }, 5000));
    EXPECT_EQ(ReadFileBytes(m_folder + mark), "done 1001\n");
    EXPECT_FALSE(QFileInfo::exists(m_folder + Q("Log")));

    // A server that is not there: the run fails silently, writes its log and still
    // starts the follow-up.
    QFile::remove(m_folder + mark);
    Settings(QLatin1Char('/') + m_name, Q("1"));
    EXPECT_EQ(RunToEnd({Q("run"), m_folder + Q("mark.sh"), mark, Q("-sc")}), 1);
    EXPECT_TRUE(WaitFor([&] { return QFileInfo::exists(m_folder + mark); }, 5000));
    const QStringList logs = QDir(m_folder + Q("Log")).entryList(QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(ReadFileBytes(m_folder + Q("Log/") + logs.front()).contains("\r\nFTP Connection Error: "));

    // Not "run": no update, but the follow-up; "run" alone: neither.
    QFile::remove(m_folder + mark);
    EXPECT_EQ(RunToEnd({Q("x"), m_folder + Q("mark.sh"), mark}), 0);
    EXPECT_TRUE(WaitFor([&] { return QFileInfo::exists(m_folder + mark); }, 5000));
    EXPECT_EQ(RunToEnd({Q("run")}), 0);
    EXPECT_EQ(QDir(m_folder + Q("Log")).entryList(QDir::Files).size(), 1);
    // The settings window, closed as soon as it is shown, ends the program normally.
    EXPECT_EQ(RunToEnd({Q("config")}), 0);
}

TEST_F(SkyrunProcessTest, ItsOwnFileIsHandedToVelmoroAndInPlaceAfterItEnds)
{
    // A program folder of its own, with the updater and the rename helper in it.
    for (const char *program : {"Skyrun", "Velmoro", "libTovelPlatform.so"})
        ASSERT_TRUE(QFile::copy(Bin(program), m_folder + Q(program))) << program;
    QByteArray newer = ReadFileBytes(Bin("Skyrun"));
    newer.append("a newer build");
    Serve(Q("Skyrun"), newer, QDateTime::currentSecsSinceEpoch() + 3600);

    QProcess process;
    Start(process, {Q("run"), Q("alone"), Q("-sc")}, m_folder + Q("Skyrun"));
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(m_folder + Q("Skyrun")) == newer; }, 10000));
    EXPECT_FALSE(QFileInfo::exists(m_folder + Q("Skyrun.download")));
    EXPECT_TRUE(QFileInfo(m_folder + Q("Skyrun")).isExecutable());
    EXPECT_NE(TSkyrunLog(m_folder).ReadStamp(Q("Skyrun")), Q(NoRecordStamp));
}

// Version `version` of file `index`: its name and version first, then filler up to a size
// that differs from version to version, so a cut or mixed copy is told apart.
QByteArray Content(int index, int version)
{
    QByteArray bytes = QByteArrayLiteral("file %1 version %2\n").replace("%1", QByteArray::number(index)).replace("%2", QByteArray::number(version));
    const int size = 2000 + (index * 7919 + version * 104729) % 60000;
    while (bytes.size() < size)
        bytes.append(static_cast<char>('a' + (bytes.size() * 31 + version) % 26));
    return bytes;
}

// Kills runs at random points, `kills` times, while the served files change to a new
// version every 25 kills; with `release` the program folder trusts a release key and
// each version is signed as release version + 1. After every kill each target holds
// either its old or its new bytes, never a record ahead of what the file holds, a
// pending file only with a version's whole bytes, and a recorded release only when every
// file holds it. A last whole run brings everything up to date.
void SkyrunProcessTest::KilledRuns(int kills, const TKeyPair *release)
{
    constexpr int Files = 200;
    constexpr qint64 FirstTime = 1700000000;
    const auto name = [](int index) { return QStringLiteral("d%1/f%2.dat").arg(index % 3).arg(index); };
    const QString publicKey = release ? QString::fromLatin1(release->PublicKey.toBase64()) : QString();
    Settings(QStringLiteral("/%1;+d0;+d1;+d2").arg(m_name), Env("TOVEL_FTP_PORT"), publicKey);
    QHash<QString, int> versionOfStamp;
    int version = 0;
    const auto serveVersion = [&](int v) {
        const qint64 time = FirstTime + v * 3600;
        versionOfStamp.insert(FormatStamp(QDateTime::fromSecsSinceEpoch(time)), v);
        for (int i = 0; i < Files; ++i)
            Serve(name(i), Content(i, v), time);
        if (!release)
            return;
        TReleaseManifest manifest;
        manifest.Sequence = static_cast<quint64>(v) + 1;
        manifest.Expires = QDateTime::currentDateTimeUtc().addDays(1);
        manifest.Expires.setTime(QTime(manifest.Expires.time().hour(), 0));
        manifest.Files = ScanReleaseFolder(m_served);
        WriteFileBytes(m_served + Q("/SKYRUN.MANIFEST"), SignManifest(manifest, release->SecretKey));
    };
    // The version a file's bytes are, from their first line; -1 for anything else.
    const auto versionOf = [](const QByteArray &bytes) {
        const QList<QByteArray> head = bytes.left(bytes.indexOf('\n')).split(' ');
        return head.size() == 4 ? head[3].toInt() : -1;
    };
    serveVersion(0);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunToEnd({Q("run"), Q("alone"), Q("-sc")}), 0);
    const int wholeRunMs = std::max<int>(200, static_cast<int>(timer.elapsed()));

    auto *random = QRandomGenerator::global();
    int checked = 0;
    int killedMidRun = 0;
    for (int kill = 0; kill < kills; ++kill) {
        if (kill % 25 == 0)
            serveVersion(++version);
        QProcess process;
        Start(process, {Q("run"), Q("alone"), Q("-sc")});
        // Each run goes on where the last one was killed, so kills early in a run reach
        // every part of it.
        QThread::msleep(random->bounded(wholeRunMs / 2));
        killedMidRun += process.state() == QProcess::Running;
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished();

        TSkyrunLog log(m_folder);
        const quint64 accepted = log.AcceptedRelease();
        for (int i = 0; i < Files; ++i) {
            const QString path = m_folder + name(i);
            const QByteArray bytes = ReadFileBytes(path);
            const int held = versionOf(bytes);
            ASSERT_EQ(bytes, Content(i, held)) << "kill " << kill << ", " << name(i).toStdString();
            const QString key = RecordKey(name(i).section(QLatin1Char('/'), 0, 0), name(i).section(QLatin1Char('/'), 1));
            const int recorded = versionOfStamp.value(log.ReadStamp(key), -1);
            ASSERT_LE(recorded, held) << "kill " << kill << ", " << name(i).toStdString();
            if (release) {
                ASSERT_GE(held + 1, static_cast<int>(accepted)) << "kill " << kill << ", " << name(i).toStdString();
                if (QFileInfo::exists(path + Q(".download"))) {
                    const QByteArray pending = ReadFileBytes(path + Q(".download"));
                    ASSERT_EQ(pending, Content(i, versionOf(pending))) << "kill " << kill << ", " << name(i).toStdString();
                }
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, Files * kills);
    EXPECT_GT(killedMidRun, kills * 3 / 4);
    ASSERT_EQ(RunToEnd({Q("run"), Q("alone"), Q("-sc")}), 0);
    for (int i = 0; i < Files; ++i)
        ASSERT_EQ(ReadFileBytes(m_folder + name(i)), Content(i, version)) << name(i).toStdString();
    if (release) {
        EXPECT_EQ(TSkyrunLog(m_folder).AcceptedRelease(), static_cast<quint64>(version) + 1);
    }
}

// The program folder in memory: what is tested is the order of the steps, which a killed
// process leaves in the page cache as much as on disk; the flushes to disk that a real
// folder pays would only slow the runs down. Fewer kills in the sanitized build, where
// every start costs several times as much.
TEST_F(SkyrunProcessTest, KilledRunsLeaveWholeFilesAndNoRecordAheadOfItsContent)
{
    QTemporaryDir memory(QStringLiteral("/dev/shm/skyrun-kill-XXXXXX"));
    if (memory.isValid())
        m_folder = memory.path() + QLatin1Char('/');
    KilledRuns(200 / SanitizerSlowdown, nullptr);
}

TEST_F(SkyrunProcessTest, KilledSignedRunsNeverRecordAReleaseTheyDidNotFinish)
{
    QTemporaryDir memory(QStringLiteral("/dev/shm/skyrun-kill-XXXXXX"));
    if (memory.isValid())
        m_folder = memory.path() + QLatin1Char('/');
    const TKeyPair key = MakeKeyPair();
    KilledRuns(60 / SanitizerSlowdown, &key);
}

// The release engineer's tool as a process: a key pair, a signed folder, its check, and
// a workstation trusting the key that updates from it.
TEST_F(SkyrunProcessTest, SkyrunSignMakesKeysAndSignsAFolderAWorkstationTakes)
{
    QTemporaryDir keys;
    const QString secret = keys.filePath(Q("release.key"));
    const auto sign = [](const QStringList &arguments, QByteArray *output = nullptr) {
        QProcess process;
        process.start(Bin("SkyrunSign"), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        if (output)
            *output = process.readAllStandardOutput();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QByteArray printed;
    ASSERT_EQ(sign({Q("keygen"), secret}, &printed), 0);
    const QString publicKey = QString::fromLatin1(ReadFileBytes(secret + Q(".pub")).trimmed());
    EXPECT_TRUE(printed.contains("public key: " + publicKey.toLatin1() + '\n')) << printed.toStdString();
    EXPECT_EQ(sign({Q("keygen"), secret}), 1) << "an existing key is kept";

    Serve(Q("a.dll"), "a", 1700000000);
    Serve(Q("한글.dll"), "k", 1700000000);
    // The sequence is the time of signing, and at least one more than the folder's last.
    const auto release = [&printed] {
        const QRegularExpression line(QStringLiteral("release (\\d+), 2 files"));
        return line.match(QString::fromLocal8Bit(printed)).captured(1).toULongLong();
    };
    ASSERT_EQ(sign({Q("sign"), Q("--key"), secret, m_served}, &printed), 0);
    const quint64 first = release();
    EXPECT_GE(first, QDateTime::currentDateTimeUtc().addSecs(-60).toString(Q("yyyyMMddHHmmss")).toULongLong())
        << printed.toStdString();
    ASSERT_EQ(sign({Q("sign"), Q("--key"), secret, Q("--valid-days"), Q("30"), m_served}, &printed), 0);
    const quint64 second = release();
    EXPECT_GT(second, first) << printed.toStdString();
    EXPECT_EQ(sign({Q("sign"), Q("--key"), secret, Q("--sequence"), Q("10000000000000000000"), m_served}), 1);
    EXPECT_EQ(sign({Q("verify"), Q("--public-key"), publicKey, m_served}), 0);
    Serve(Q("a.dll"), "changed", 1700000000);
    ASSERT_EQ(sign({Q("verify"), Q("--public-key"), publicKey, m_served}, &printed), 1);
    EXPECT_TRUE(printed.contains("changed: a.dll")) << printed.toStdString();
    Serve(Q("a.dll"), "a", 1700000000);
    EXPECT_EQ(sign({Q("sign"), m_served}), 2) << "no key given";

    Settings(QLatin1Char('/') + m_name, {}, publicKey);
    EXPECT_EQ(RunToEnd({Q("run"), Q("alone"), Q("-sc")}), 0);
    EXPECT_EQ(ReadFileBytes(m_folder + Q("한글.dll")), "k");
    EXPECT_EQ(TSkyrunLog(m_folder).AcceptedRelease(), second);
    // The served folder changed behind the signature: the run refuses that file.
    Serve(Q("a.dll"), "tampered", 1800000000);
    EXPECT_EQ(RunToEnd({Q("run"), Q("alone"), Q("-sc")}), 1);
    EXPECT_EQ(ReadFileBytes(m_folder + Q("a.dll")), "a");
}

} // namespace
