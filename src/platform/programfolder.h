#pragma once

#include "platform/platformexport.h"

#include <QString>

namespace Platform {

/// The folder of the running program (for a library: of the program that loaded it),
/// always with a trailing '/'. The environment variable TOVEL_PROGRAM_DIR, when set,
/// names another folder; test harnesses and the demo use it to lay out a program folder.
TOVEL_PLATFORM_EXPORT QString ProgramFolder();

/// `folder` with exactly one trailing '/'.
TOVEL_PLATFORM_EXPORT QString WithTrailingSlash(const QString &folder);

/// Program file names carry the platform's executable suffix: empty here.
inline constexpr const char *ExecutableSuffix = "";
/// Module libraries carry the platform's library suffix.
inline constexpr const char *LibrarySuffix = ".so";

/// The file name of the program `name` on this platform.
inline QString ProgramFile(const char *name)
{
    return QString::fromLatin1(name) + QString::fromLatin1(ExecutableSuffix);
}

} // namespace Platform
