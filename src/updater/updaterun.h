#pragma once

#include "updater/skyrunoptions.h"
#include "updater/skyrunlib.h"

#include <QString>

#include <memory>

class TUpdateProgress;
class TUpdateTransport;

/// One update run: connects to the file server of skyrun.ini, walks its directories in
/// order, fetches what is newer than the recorded stamps, puts it in place and records
/// it. Its progress and everything it has to say go to a TUpdateProgress, the progress
/// window or a silent sink; any failure sets the error flag, after which no further
/// directory is visited.
class TUpdateRun
{
public:
    TUpdateRun(const TRunOptions &options, const QString &programFolder, TUpdateProgress &progress);
    ~TUpdateRun();
    TUpdateRun(const TUpdateRun &) = delete;
    TUpdateRun &operator=(const TUpdateRun &) = delete;

    /// Reads the settings, chooses the transport and names the server to the progress. A
    /// settings file that cannot be read is reported, and the run then does nothing.
    void ShowStep();
    /// The run itself; the transport's connection is closed at its end.
    void RunUpdate();
    /// RunUpdate, then on failure the progress hears of it and the message lines are
    /// saved as the run log; then the progress hears the run is over.
    void ActivationStep();

    bool Failed() const;
    bool UsesSftp() const;
    /// The run log written by ActivationStep; empty when none.
    QString LogFile() const;

    /// Where the files of server directory `dir` go: empty for the base directory (index
    /// 0) and for directories that are the base itself; a folder relative to the local
    /// base for directories under the base; an absolute folder for others. Creates the
    /// folder when missing.
    static QString LocalFolderOf(const QString &dir, const QString &baseDir, int index, const QString &localBase);

    /// Whether `key` can be kept as a key of the state file.
    static bool IsRecordableKey(const QString &key);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
