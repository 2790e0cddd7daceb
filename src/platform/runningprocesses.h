#pragma once

#include "platform/platformexport.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace Platform {

/// One running process whose executable is a given file.
struct TProcInfo
{
    std::uint32_t ProcessId = 0;
    /// The executable as the process table names it (the link /proc/<pid>/exe points
    /// at; " (deleted)" appended when the file was removed or replaced after the start).
    QString ExePath;

    friend bool operator==(const TProcInfo &, const TProcInfo &) = default;
};

/// The running processes whose executable is the very file at `path`: same device and
/// inode, whatever name it was started by (another name for the file, a link to it). A
/// program of the same name elsewhere is another file and does not count, nor does a
/// process that still runs a copy that was replaced by a rename. The calling process is
/// not left out. Processes whose executable this user may not examine are not seen.
/// Empty when `path` names no file. Ordered by process id.
TOVEL_PLATFORM_EXPORT QList<TProcInfo> ProcessesRunning(const QString &path);

} // namespace Platform
