// The Skyrun program as the login program starts it, in processes of its own: exit
// status, the follow-up command, the hand-off of its own file to Velmoro, and runs killed
// at random points.

#include "testsupport.h"

#include "servedfolder.h"

#include "updater/skyrunlib.h"
#include "updater/skyrunlog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
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

// Killed at any point, a run leaves every target with either its old or its new bytes and
// never a record ahead of what the file holds; a last whole run brings everything up to date.
TEST_F(SkyrunProcessTest, KilledRunsLeaveWholeFilesAndNoRecordAheadOfItsContent)
{
    constexpr int Files = 200;
    // Fewer kills in the sanitized build, where every start costs several times as much.
    constexpr int Kills = 200 / SanitizerSlowdown;
    constexpr qint64 FirstTime = 1700000000;
    // The program folder in memory: what is tested is the order of the steps, which a
    // killed process leaves in the page cache as much as on disk; the flushes to disk
    // that a real folder pays would only slow the runs down.
    QTemporaryDir memory(QStringLiteral("/dev/shm/skyrun-kill-XXXXXX"));
    if (memory.isValid())
        m_folder = memory.path() + QLatin1Char('/');
    const auto name = [](int index) { return QStringLiteral("d%1/f%2.dat").arg(index % 3).arg(index); };
    Settings(QStringLiteral("/%1;+d0;+d1;+d2").arg(m_name), Env("TOVEL_FTP_PORT"));
    QHash<QString, int> versionOfStamp;
    int version = 0;
    const auto serveVersion = [&](int v) {
        const qint64 time = FirstTime + v * 3600;
        versionOfStamp.insert(FormatStamp(QDateTime::fromSecsSinceEpoch(time)), v);
        for (int i = 0; i < Files; ++i)
            Serve(name(i), Content(i, v), time);
    };
    serveVersion(0);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunToEnd({Q("run"), Q("alone"), Q("-sc")}), 0);
    const int wholeRunMs = std::max<int>(200, static_cast<int>(timer.elapsed()));

    auto *random = QRandomGenerator::global();
    int checked = 0;
    int killedMidRun = 0;
    for (int kill = 0; kill < Kills; ++kill) {
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
        for (int i = 0; i < Files; ++i) {
            const QByteArray bytes = ReadFileBytes(m_folder + name(i));
            const QList<QByteArray> head = bytes.left(bytes.indexOf('\n')).split(' ');
            const int held = head.size() == 4 ? head[3].toInt() : -1;
            ASSERT_EQ(bytes, Content(i, held)) << "kill " << kill << ", " << name(i).toStdString();
            const QString key = RecordKey(name(i).section(QLatin1Char('/'), 0, 0), name(i).section(QLatin1Char('/'), 1));
            const int recorded = versionOfStamp.value(log.ReadStamp(key), -1);
            ASSERT_LE(recorded, held) << "kill " << kill << ", " << name(i).toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, Files * Kills);
    EXPECT_GT(killedMidRun, Kills * 3 / 4);
    ASSERT_EQ(RunToEnd({Q("run"), Q("alone"), Q("-sc")}), 0);
    for (int i = 0; i < Files; ++i)
        ASSERT_EQ(ReadFileBytes(m_folder + name(i)), Content(i, version)) << name(i).toStdString();
}

} // namespace
