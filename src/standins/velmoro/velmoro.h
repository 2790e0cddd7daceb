#pragma once

#include <QString>
#include <QStringList>

// The rename helper the updater hands its own files to: started once per pending file
// after the updater's window closed, it waits until the target no longer runs and puts
// the pending copy in its place. Every step is a line of <target folder>/Log/velmoro.log.

/// Exit codes of the helper.
enum TVelmoroResult : int {
    VelmoroPlaced = 0, ///< the pending file is in place of the target
    VelmoroFailed = 1, ///< the rename (or the flush before it) failed; nothing changed
    VelmoroRefused = 2, ///< a command line or files the helper will not act on; nothing changed
};

/// The suffix a pending file carries after its target's name.
inline constexpr char PendingSuffix[] = ".download";

/// The log file of the helper for `target`: the folder Log beside it, velmoro.log.
QString VelmoroLogPath(const QString &target);

/// Waits up to `seconds` (polling every 100 ms) until no running process has `target` as
/// its executable, then renames `pending` over `target` in one step, after flushing the
/// pending file's data and giving it the target's permission bits, and flushes the
/// folder. A target still running at the deadline is replaced all the same: the running
/// process keeps the old file. Refuses, touching nothing, when `pending` is not
/// `target` + ".download" in the same folder or is not an existing regular file, or when
/// `target` is something other than a regular file.
TVelmoroResult PlacePending(int seconds, const QString &pending, const QString &target);

/// The command line `<seconds> <pending> <target>` (without the program name), checked
/// and run through PlacePending. Returns the exit code.
int RunVelmoro(const QStringList &arguments);
