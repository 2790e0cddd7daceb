// The programs as their users run them: the built executables in their own processes,
// started, shown and closed the normal way. In-process tests share one application
// object and never reach a program's real end, where a crash on every exit once hid.

#include "testdatabase.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TRun
{
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString output;
};

// Starts `program` from the build's program folder on a settings folder of its own and
// lets it close its window once shown.
TRun RunUntilClosed(const QString &folder, const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TOVEL_PROGRAM_DIR"), folder);
    environment.insert(QStringLiteral("TOVEL_CLOSE_WHEN_SHOWN"), QStringLiteral("1"));
    environment.insert(QStringLiteral("TOVEL_SESSION"), QStringLiteral("process-") + program);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QLatin1Char('/') + program, arguments);
    TRun run;
    run.finished = process.waitForFinished(30000);
    if (!run.finished)
        process.kill();
    run.status = process.exitStatus();
    run.code = process.exitCode();
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

class ProgramProcess : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(PrepareLoggedInFolder(m_folder.path()), QString()); }

    QTemporaryDir m_folder;
};

} // namespace

// The main program used to end with a segmentation fault after every normal close: the
// caller library's connection outlived Qt's connection registry.
TEST_F(ProgramProcess, TheMainProgramEndsWithStatusZeroAfterANormalClose)
{
    const TRun run = RunUntilClosed(m_folder.path(), QStringLiteral("TovelMain"), {QStringLiteral("run"), QStringLiteral("1001")});
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.status, QProcess::NormalExit) << run.output.toStdString();
    EXPECT_EQ(run.code, 0) << run.output.toStdString();
}

TEST_F(ProgramProcess, TheLoginProgramEndsWithStatusZeroWhenClosed)
{
    const TRun run = RunUntilClosed(m_folder.path(), QStringLiteral("TovelLogin"), {});
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.status, QProcess::NormalExit) << run.output.toStdString();
    EXPECT_EQ(run.code, 0) << run.output.toStdString();
}
