#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Putting downloaded files in place: replacing programs that run, deferring the
// updater's own files to the rename helper, file times of ".sync" targets and unpacking
// archives with 7-Zip.

class TSkyrunLog;

/// A running process that holds a file as its executable.
struct TProcInfo
{
    qint64 ProcessId = 0;
    QString ExeFile;
};

/// Where the applying steps report: a line of the message list, and the run's error flag.
struct TApplyReport
{
    std::function<void(const QString &)> AddMessage;
    std::function<void()> SetError;
};

/// What a downloaded file is and where it goes.
struct TPlacement
{
    /// The name as the server lists it (with ".once" or ".sync").
    QString ServerName;
    /// The downloaded bytes, beside the target.
    QString Pending;
    QString Target;
    QString Stamp;
    QString Key;
    bool TargetExisted = false;
    /// The SHA-256 a signed release lists for the file, recorded with its stamp; empty
    /// without a release key.
    QByteArray Sha256;
};

/// Names the updater cannot replace while it runs, lower-cased: its own executable and
/// the cryptographic libraries of its platform of origin.
QStringList ProtectedNames();

/// What became of a downloaded file.
enum class TPlaceResult { Placed, Deferred, Failed };

/// Puts `placement.Pending` in place of its target with one atomic rename, its bytes on
/// disk first; the target keeps its permissions (a new file that is a program becomes
/// executable). A protected name of the program folder whose target exists is left as
/// its pending file for the hand-off after the run. A program that runs from the target
/// is ended first. The record is written only once the new bytes are in place; on any
/// failure the old target stays, the pending file goes, the failure is reported and the
/// record is left as it was.
TPlaceResult PlaceFile(const TPlacement &placement, const QString &programFolder, TSkyrunLog &log,
               const TApplyReport &report);

/// Ends every process whose executable is the very file `path` (the same file on disk,
/// not merely the same name), never this process, reporting each. False when one of
/// them could not be ended; the processes after it are not touched.
bool KillHolders(const QString &path, const TApplyReport &report);

/// Gives `path` the time of `stamp` (local time, whole seconds) as its last write time.
/// Does nothing when the file is not there. An impossible date throws TException.
void SetFileDateFromStamp(const QString &path, const QString &stamp);

/// One entry of an archive as 7-Zip's technical listing shows it.
struct TArchiveEntry
{
    QString Path;
    bool Folder = false;
    bool Link = false;
};

/// Parses the output of "7z l -slt": the entries after the archive's own block. An entry
/// is a link when its mode says so or it names a link target, whatever the format.
QList<TArchiveEntry> ParseArchiveListing(const QByteArray &output);

/// Whether an entry path stays inside the folder it is unpacked into: relative, no ".."
/// part, no drive.
bool IsSafeArchivePath(const QString &path);

/// The 7-Zip program: "7z" of the program folder, else on PATH; empty when there is none.
QString ArchiveTool(const QString &programFolder);

/// What ExtractArchive did.
enum class TExtractResult { NoTool, Skipped, Extracted };

/// Unpacks `archive` beside itself (or into `fallbackFolder`, else the program folder,
/// when its folder is gone); an archive named "___name.ext" into the subfolder "name".
/// Returns Skipped, unpacking nothing, when the archive holds a name of `skipList`.
/// The archive is read as the format its extension names (".zip", ".7z"), never as
/// another one 7-Zip might recognise in its content. Throws TException when the archive
/// cannot be listed, holds an entry that would land outside the destination (absolute,
/// "..", a link), derives no usable subfolder, or when 7-Zip fails or runs longer than
/// `timeoutMs`.
TExtractResult ExtractArchive(const QString &archive, const QString &fallbackFolder, const QString &programFolder,
                              const QStringList &skipList, int timeoutMs = 10 * 60 * 1000);

/// After the updater's window has closed: hands each pending file of the protected names
/// in the program folder to the rename helper "Velmoro", numbered from 5. Where
/// skyrun.ini names a release key, only a pending file whose SHA-256 is the one recorded
/// for it when a signed release deferred it is handed off; any other is removed. Returns
/// the number of hand-offs.
int HandOffPendingFiles(const QString &programFolder, const QString &ownExeName);

/// The follow-up command and its start.
bool StartFollowUp(const QString &commandLine);
