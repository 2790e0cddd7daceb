#pragma once

#include "platform/platformexport.h"

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

} // namespace Platform
