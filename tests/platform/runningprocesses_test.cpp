#include "platform/runningprocesses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A copy of sleep under the name `name` in `folder`.
QString SleeperIn(const QString &folder, const QString &name)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name);
    if (!QFile::copy(QStringLiteral("/bin/sleep"), path))
        ADD_FAILURE() << "cannot copy sleep";
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

// A file runs where a process's executable is that very file, not a namesake elsewhere,
// and no longer once the process ended.
TEST(RunningProcesses, MatchTheFileNotTheName)
{
    QTemporaryDir dir;
    const QString program = SleeperIn(dir.filePath(QStringLiteral("bin")), QStringLiteral("Skyrun"));
    const QString namesake = SleeperIn(dir.filePath(QStringLiteral("other")), QStringLiteral("Skyrun"));
    QProcess sleeper;
    sleeper.start(program, {QStringLiteral("30")});
    ASSERT_TRUE(sleeper.waitForStarted());

    const QList<Platform::TProcInfo> running = Platform::ProcessesRunning(program);
    ASSERT_EQ(running.size(), 1);
    EXPECT_EQ(running[0].ProcessId, static_cast<std::uint32_t>(sleeper.processId()));
    EXPECT_EQ(running[0].ExePath, QFileInfo(program).canonicalFilePath());
    EXPECT_TRUE(Platform::ProcessesRunning(namesake).isEmpty());
    EXPECT_TRUE(Platform::ProcessesRunning(dir.filePath(QStringLiteral("missing"))).isEmpty());

    sleeper.kill();
    sleeper.waitForFinished();
    EXPECT_TRUE(Platform::ProcessesRunning(program).isEmpty());
}

} // namespace
