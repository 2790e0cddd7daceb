#include "platform/process.h"

#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <thread>

namespace Platform {

bool StartProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

QStringList SplitCommandLine(const QString &commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArgument = true;
            continue;
        }
        if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

bool StartCommandLine(const QString &commandLine)
{
    QStringList arguments = SplitCommandLine(commandLine);
    if (arguments.isEmpty())
        return false;
    QString program = arguments.takeFirst();
    if (!program.contains(QLatin1Char('/'))) {
        const QString local = ProgramFolder() + program;
        if (QFileInfo(local).isExecutable())
            program = local;
        else if (const QString found = QStandardPaths::findExecutable(program); !found.isEmpty())
            program = found;
    }
    return StartProgram(program, arguments);
}


TRunResult RunAndWait(const QString &program, const QStringList &arguments, int timeoutMs, bool captureOutput)
{
    TRunResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(captureOutput ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted()) {
        result.ErrorText = process.errorString();
        return result;
    }
    result.Started = true;
    const QDeadlineTimer deadline(timeoutMs);
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (captureOutput)
            result.Output += process.readAllStandardOutput();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (deadline.hasExpired()) {
            result.TimedOut = true;
            process.kill();
            process.waitForFinished(5000);
            break;
        }
    }
    if (captureOutput)
        result.Output += process.readAllStandardOutput();
    if (!result.TimedOut && process.exitStatus() == QProcess::NormalExit)
        result.ExitCode = process.exitCode();
    else
        result.ErrorText = result.TimedOut ? QStringLiteral("timed out") : process.errorString();
    return result;
}

bool ProcessAlive(qint64 pid)
{
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
        return false;
    // A zombie has ended; only its parent has not collected it yet.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || close + 2 >= line.size() || line.at(close + 2) != 'Z';
}

bool EndProcess(qint64 pid, int graceMs)
{
    if (pid <= 0)
        return false;
    const auto waitGone = [pid](int ms) {
        const QDeadlineTimer deadline(ms);
        while (ProcessAlive(pid)) {
            if (deadline.hasExpired())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    };
    if (::kill(static_cast<pid_t>(pid), SIGTERM) != 0)
        return errno == ESRCH;
    if (waitGone(graceMs))
        return true;
    if (::kill(static_cast<pid_t>(pid), SIGKILL) != 0)
        return errno == ESRCH;
    return waitGone(2000);
}

} // namespace Platform
