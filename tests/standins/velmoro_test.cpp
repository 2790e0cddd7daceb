#include "testsupport.h"

#include "velmoro.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray NewBytes = "#!/bin/sh\necho new\n";

class VelmoroTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_target = m_dir.filePath(QStringLiteral("Skyrun"));
        m_pending = m_target + QLatin1String(PendingSuffix);
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), m_target));
        m_old = ReadFileBytes(m_target);
        WriteFileBytes(m_pending, NewBytes); // not executable: the target's bits must carry over
    }

    // Runs the built helper; its exit code, or -1 when it did not run to its end.
    static int Velmoro(const QStringList &arguments)
    {
        QProcess velmoro;
        velmoro.start(QDir(qEnvironmentVariable("TOVEL_PROGRAM_BIN")).filePath(QStringLiteral("Velmoro")), arguments);
        if (!velmoro.waitForFinished(20000) || velmoro.exitStatus() != QProcess::NormalExit)
            return -1;
        return velmoro.exitCode();
    }

    QString Log() const { return QString::fromUtf8(ReadFileBytes(VelmoroLogPath(m_target))); }

    QTemporaryDir m_dir;
    QString m_target;
    QString m_pending;
    QByteArray m_old;
};

// The helper waits while the target runs, then the target is the new file and still
// executable.
TEST_F(VelmoroTest, WaitsForTheRunningTargetThenPutsThePendingFileInPlace)
{
    QProcess running;
    running.start(m_target, {QStringLiteral("2")});
    ASSERT_TRUE(running.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Velmoro({QStringLiteral("5"), m_pending, m_target}), 0);
    EXPECT_GE(clock.elapsed(), 1500);
    EXPECT_TRUE(running.waitForFinished(0) || running.state() == QProcess::NotRunning);
    EXPECT_EQ(ReadFileBytes(m_target), NewBytes);
    EXPECT_FALSE(QFile::exists(m_pending));
    EXPECT_TRUE(QFileInfo(m_target).isExecutable());
    EXPECT_TRUE(Log().contains(QStringLiteral("is free after"))) << Log().toStdString();
    EXPECT_TRUE(Log().contains(QStringLiteral("done: %1 is in place").arg(m_target))) << Log().toStdString();
}

// At the deadline the target is replaced under the running process, which keeps its file.
TEST_F(VelmoroTest, ReplacesATargetStillRunningAtTheDeadline)
{
    QProcess running;
    running.start(m_target, {QStringLiteral("30")});
    ASSERT_TRUE(running.waitForStarted());
    EXPECT_EQ(PlacePending(0, m_pending, m_target), VelmoroPlaced);
    EXPECT_EQ(ReadFileBytes(m_target), NewBytes);
    EXPECT_EQ(running.state(), QProcess::Running);
    EXPECT_TRUE(Log().contains(QStringLiteral("timed out after 0 s"))) << Log().toStdString();
    running.kill();
    running.waitForFinished();
}

TEST_F(VelmoroTest, RefusesFilesItWasNotMadeFor)
{
    const QString elsewhere = m_dir.filePath(QStringLiteral("sub/Skyrun.download"));
    QDir().mkpath(QFileInfo(elsewhere).absolutePath());
    WriteFileBytes(elsewhere, NewBytes);
    const QString wrongName = m_dir.filePath(QStringLiteral("Skyrun.new"));
    WriteFileBytes(wrongName, NewBytes);
    const struct
    {
        QStringList arguments;
        const char *why;
    } cases[] = {
        {{QStringLiteral("5"), elsewhere, m_target}, "not in the same folder"},
        {{QStringLiteral("5"), wrongName, m_target}, "is not named"},
        {{QStringLiteral("5"), m_dir.filePath(QStringLiteral("Other.download")), m_dir.filePath(QStringLiteral("Other"))},
         "does not exist"},
        {{QStringLiteral("five"), m_pending, m_target}, "is not a number of seconds"},
        {{m_pending, m_target}, nullptr},
    };
    for (const auto &refused : cases) {
        EXPECT_EQ(Velmoro(refused.arguments), VelmoroRefused) << refused.arguments.join(QLatin1Char(' ')).toStdString();
        if (refused.why) {
            EXPECT_TRUE(Log().contains(QString::fromLatin1(refused.why))) << Log().toStdString();
        }
    }
    EXPECT_EQ(ReadFileBytes(m_target), m_old);
    EXPECT_EQ(
        ReadFileBytes(m_pending) + ReadFileBytes(elsewhere) + ReadFileBytes(wrongName), NewBytes + NewBytes + NewBytes);
}

} // namespace
