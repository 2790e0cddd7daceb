#include "updater/skyrunapply.h"

#include "platform/process.h"
#include "platform/programfolder.h"
#include "platform/runningprocesses.h"
#include "platform/texception.h"
#include "updater/release/releasemanifest.h"
#include "updater/skyrunlib.h"
#include "updater/skyrunlog.h"
#include "updater/skyrunmessages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Message(const char *format, const QString &argument)
{
    return QString::fromUtf8(format).arg(argument);
}

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes the file's bytes durable before a rename publishes them.
void SyncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw TException(QStringLiteral("Cannot open %1: %2").arg(path, SystemError(errno)));
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        throw TException(QStringLiteral("Cannot write %1: %2").arg(path, SystemError(error)));
}

// Makes a rename in `folder` durable; a folder that cannot be synced is no failure of
// the rename itself.
void SyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool LooksLikeProgram(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == QByteArray("\x7f" "ELF", 4) || head.startsWith("#!");
}

// The new file takes the permissions of the file it replaces; a new program file
// becomes executable, as the file server cannot say so.
void TakePermissions(const QString &pending, const QString &target, bool targetExisted)
{
    const QByteArray pendingPath = QFile::encodeName(pending);
    struct stat info {};
    if (targetExisted && ::stat(QFile::encodeName(target).constData(), &info) == 0) {
        ::chmod(pendingPath.constData(), info.st_mode & 07777);
        return;
    }
    if (LooksLikeProgram(pending) && ::stat(pendingPath.constData(), &info) == 0)
        ::chmod(pendingPath.constData(), (info.st_mode & 07777) | ((info.st_mode & 0444) >> 2));
}

} // namespace

QStringList ProtectedNames()
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower();
    return {self, QStringLiteral("cl32.dll"), QStringLiteral("cl64.dll")};
}

bool KillHolders(const QString &path, const TApplyReport &report)
{
    QList<TProcInfo> holders;
    const qint64 self = QCoreApplication::applicationPid();
    for (const Platform::TProcInfo &process : Platform::ProcessesRunning(path)) {
        if (process.ProcessId != self)
            holders.append({process.ProcessId, process.ExePath});
    }
    for (const TProcInfo &holder : holders)
        report.AddMessage(Message(RunningFile, holder.ExeFile));
    for (const TProcInfo &holder : holders) {
        if (!Platform::EndProcess(holder.ProcessId, 1000)) {
            report.AddMessage(Message(RunningFileNotEnded, holder.ExeFile));
            return false;
        }
        report.AddMessage(Message(RunningFileEnded, holder.ExeFile));
    }
    return true;
}

TPlaceResult PlaceFile(const TPlacement &placement, const QString &programFolder, TSkyrunLog &log,
                       const TApplyReport &report)
{
    const QString name = placement.ServerName;
    const QFileInfo target(placement.Target);
    const bool inProgramFolder = QDir(target.absolutePath()) == QDir(programFolder);
    // A signed file's hash is recorded before its stamp: a record is never ahead of the
    // bytes it stands for (a stamp alone would only have the file fetched again).
    // A file put in place without a signature has no signed hash any more.
    const auto recordHash = [&] {
        if (!placement.Sha256.isEmpty())
            log.WriteHashes({{placement.Key, QString::fromLatin1(placement.Sha256.toHex())}});
        else
            log.DeleteHash(placement.Key);
    };
    if (placement.TargetExisted && inProgramFolder && ProtectedNames().contains(name.toLower())) {
        // Handed to the rename helper once the updater has ended.
        recordHash();
        log.WriteStamp(placement.Key, placement.Stamp);
        return TPlaceResult::Deferred;
    }

    const auto fail = [&](const QString &text) {
        QFile::remove(placement.Pending);
        report.AddMessage(text.isEmpty() ? Message(FileNotApplied, name)
                                         : QString::fromUtf8(FileFailed).arg(name, text));
        report.SetError();
        return TPlaceResult::Failed;
    };
    try {
        SyncFile(placement.Pending);
    } catch (const TException &error) {
        return fail(error.Message());
    }
    if (placement.TargetExisted && !KillHolders(placement.Target, report))
        return fail({});
    TakePermissions(placement.Pending, placement.Target, placement.TargetExisted);
    if (::rename(QFile::encodeName(placement.Pending).constData(), QFile::encodeName(placement.Target).constData())
        != 0)
        // A target that cannot be removed is reported in the fixed form; a new file that
        // cannot be put where none was says why.
        return fail(placement.TargetExisted ? QString() : SystemError(errno));
    SyncFolder(target.absolutePath());
    if (name.toLower().endsWith(QLatin1String(".sync")))
        SetFileDateFromStamp(placement.Target, placement.Stamp);
    recordHash();
    log.WriteStamp(placement.Key, placement.Stamp);
    return TPlaceResult::Placed;
}

void SetFileDateFromStamp(const QString &path, const QString &stamp)
{
    const auto field = [&stamp](int from, int length) { return stamp.mid(from, length).toInt(); };
    if (!QFileInfo::exists(path))
        return;
    const QDate date(field(0, 4), field(4, 2), field(6, 2));
    const QTime time(field(8, 2), field(10, 2), field(12, 2));
    if (!date.isValid() || !time.isValid())
        throw TException(QStringLiteral("'%1' is not a valid date and time").arg(stamp));
    const QDateTime local(date, time);
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(local.toSecsSinceEpoch());
    times[1].tv_nsec = 0;
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

QList<TArchiveEntry> ParseArchiveListing(const QByteArray &output)
{
    QList<TArchiveEntry> entries;
    const QList<QByteArray> lines = output.split('\n');
    bool inEntries = false;
    TArchiveEntry *current = nullptr;
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!inEntries) {
            inEntries = line.startsWith("----------");
            continue;
        }
        if (line.startsWith("Path = ")) {
            entries.append({QString::fromUtf8(line.mid(7)), false, false});
            current = &entries.last();
            continue;
        }
        if (!current)
            continue;
        if (line.startsWith("Folder = "))
            current->Folder = current->Folder || line.mid(9).trimmed() == "+";
        else if (line.startsWith("Mode = ")) {
            current->Link = current->Link || line.mid(7).trimmed().startsWith('l');
            current->Folder = current->Folder || line.mid(7).trimmed().startsWith('d');
        } else if (line.startsWith("Symbolic Link = ") || line.startsWith("Hard Link = "))
            current->Link = current->Link || !line.mid(line.indexOf('=') + 1).trimmed().isEmpty();
        else if (line.startsWith("Attributes = ")) {
            // "D drwxr-xr-x", " -rw-r--r--", " lrwxrwxrwx": the Unix mode after the letters.
            const QByteArray value = line.mid(13);
            current->Folder = current->Folder || value.startsWith('D');
            const QList<QByteArray> parts = value.simplified().split(' ');
            for (const QByteArray &part : parts) {
                if (part.size() == 10 && part.at(0) == 'l')
                    current->Link = true;
            }
        }
    }
    return entries;
}

bool IsSafeArchivePath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'))
        || path.contains(QLatin1Char(':')))
        return false;
    QString unified = path;
    unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = unified.split(QLatin1Char('/'));
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) { return part == QLatin1String(".."); });
}

QString ArchiveTool(const QString &programFolder)
{
    const QString local = Platform::WithTrailingSlash(programFolder) + QStringLiteral("7z");
    if (QFileInfo(local).isExecutable())
        return local;
    return QStandardPaths::findExecutable(QStringLiteral("7z"));
}

TExtractResult ExtractArchive(const QString &archive, const QString &fallbackFolder, const QString &programFolder,
                              const QStringList &skipList, int timeoutMs)
{
    const QFileInfo info(archive);
    QString base = programFolder;
    if (QFileInfo(info.absolutePath()).isDir())
        base = info.absolutePath();
    else if (QFileInfo(fallbackFolder).isDir())
        base = fallbackFolder;
    QString destination = base;
    if (info.fileName().startsWith(QLatin1String("___"))) {
        const QString sub = info.fileName().mid(3).section(QLatin1Char('.'), 0, -2, QString::SectionSkipEmpty);
        const QString folder = sub.isEmpty() ? info.fileName().mid(3) : sub;
        if (folder.isEmpty() || folder == QLatin1String(".") || folder == QLatin1String("..")
            || folder.contains(QLatin1Char('/')) || folder.contains(QLatin1Char('\\')) || folder.startsWith(QLatin1Char('.')))
            throw TException(QStringLiteral("No folder to unpack %1 into").arg(info.fileName()));
        destination = QDir(base).filePath(folder);
    }

    const QString tool = ArchiveTool(programFolder);
    if (tool.isEmpty())
        return TExtractResult::NoTool;
    const QString type = info.suffix().toLower() == QLatin1String("7z") ? QStringLiteral("-t7z") : QStringLiteral("-tzip");
    const Platform::TRunResult listing =
        Platform::RunAndWait(tool, {QStringLiteral("l"), QStringLiteral("-slt"), type, info.absoluteFilePath()},
                             timeoutMs, true);
    if (!listing.Started || listing.ExitCode != 0)
        throw TException(QStringLiteral("7-Zip cannot list %1 (%2)")
                             .arg(info.fileName(), listing.Started && listing.ErrorText.isEmpty()
                                                       ? QString::number(listing.ExitCode)
                                                       : listing.ErrorText));
    const QList<TArchiveEntry> entries = ParseArchiveListing(listing.Output);
    for (const TArchiveEntry &entry : entries) {
        if (!IsSafeArchivePath(entry.Path) || entry.Link)
            throw TException(QStringLiteral("%1 would unpack outside its folder: %2").arg(info.fileName(), entry.Path));
    }
    for (const TArchiveEntry &entry : entries) {
        QString unified = entry.Path;
        unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!entry.Folder && skipList.contains(unified.section(QLatin1Char('/'), -1).toUpper()))
            return TExtractResult::Skipped;
    }
    const Platform::TRunResult run = Platform::RunAndWait(
        tool,
        {QStringLiteral("x"), type, info.absoluteFilePath(), QStringLiteral("-o") + destination, QStringLiteral("-y")},
        timeoutMs, true);
    if (!run.Started || run.ExitCode != 0)
        throw TException(QStringLiteral("7-Zip could not unpack %1 (%2)")
                             .arg(info.fileName(), run.Started && run.ErrorText.isEmpty() ? QString::number(run.ExitCode)
                                                                                           : run.ErrorText));
    return TExtractResult::Extracted;
}

int HandOffPendingFiles(const QString &programFolder, const QString &ownExeName)
{
    const QString folder = Platform::WithTrailingSlash(programFolder);
    const QString helper = folder + Platform::ProgramFile("Velmoro");
    // The key is looked up as stored: settings with a broken neighbour still name it.
    const bool signedReleases = !StoredPublicKey(folder).isEmpty();
    int counter = 5;
    int handed = 0;
    for (const QString &name : {ownExeName, QStringLiteral("cl32.dll"), QStringLiteral("cl64.dll")}) {
        const QString target = folder + name;
        const QString pending = target + QStringLiteral(".download");
        if (!QFileInfo::exists(pending) || !QFileInfo(helper).isExecutable())
            continue;
        if (signedReleases) {
            const QString recorded = TSkyrunLog(folder).ReadHash(name);
            if (recorded.isEmpty() || QString::fromLatin1(FileSha256(pending).toHex()) != recorded) {
                // Never handed on; its records go, so the next run fetches the file again.
                QFile::remove(pending);
                try {
                    TSkyrunLog log(folder);
                    log.DeleteHash(name);
                    log.DeleteStamp(name);
                } catch (const TException &) {
                }
                continue;
            }
        }
        Platform::StartProgram(helper, {QString::number(counter), pending, target});
        QThread::msleep(500);
        ++counter;
        ++handed;
    }
    return handed;
}

bool StartFollowUp(const QString &commandLine)
{
    return Platform::StartCommandLine(commandLine);
}
