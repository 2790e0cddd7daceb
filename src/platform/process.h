#pragma once

#include "platform/platformexport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Platform {

/// Starts `program` with `arguments` and does not wait for it. Returns false when it
/// could not be started.
TOVEL_PLATFORM_EXPORT bool StartProgram(const QString &program, const QStringList &arguments);

/// Splits a command line as the platform's shell-less process start does: blanks
/// separate arguments, double quotes group (and are removed), "" is an empty argument.
TOVEL_PLATFORM_EXPORT QStringList SplitCommandLine(const QString &commandLine);

/// Starts a command line without waiting: the first word is the program, looked up in
/// the program folder first and then on PATH when it names no folder.
TOVEL_PLATFORM_EXPORT bool StartCommandLine(const QString &commandLine);


/// How a program that was waited for ended.
struct TRunResult
{
    bool Started = false;
    /// It ran past its time limit and was ended.
    bool TimedOut = false;
    /// Its exit status; -1 when it did not exit normally.
    int ExitCode = -1;
    /// Its whole standard output, when asked for.
    QByteArray Output;
    QString ErrorText;
};

/// Runs `program` with `arguments` and waits for it, at most `timeoutMs` (then it is
/// ended). While it runs the window thread repaints but takes no user input. With
/// `captureOutput` its standard output is collected as it comes, however long; standard
/// input is closed and standard error goes where ours goes.
TOVEL_PLATFORM_EXPORT TRunResult RunAndWait(const QString &program, const QStringList &arguments, int timeoutMs,
                                            bool captureOutput);

/// Ends the process `pid`: asks it to terminate, and kills it when it is still there
/// after `graceMs`. True once it is gone (a zombie child counts as gone).
TOVEL_PLATFORM_EXPORT bool EndProcess(qint64 pid, int graceMs = 1000);

/// Whether the process `pid` still runs (a zombie does not).
TOVEL_PLATFORM_EXPORT bool ProcessAlive(qint64 pid);

} // namespace Platform
