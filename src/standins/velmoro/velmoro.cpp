#include "velmoro.h"

#include "platform/cp949.h"
#include "platform/runningprocesses.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr auto PollInterval = std::chrono::milliseconds(100);

// Appends one line per step, each with its time. The file is opened for every line, so
// what was written survives whatever comes next; when it cannot be written the line goes
// to standard error instead.
class TVelmoroLog
{
public:
    explicit TVelmoroLog(const QString &target)
        : m_path(VelmoroLogPath(target))
    {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
    }

    void Line(const QString &text) const
    {
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        const QByteArray line = Platform::ToCp949(stamp + QLatin1Char(' ') + text) + "\r\n";
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(line) == line.size() && file.flush())
            return;
        std::fprintf(stderr, "%s", line.constData());
    }

private:
    QString m_path;
};

QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

QString Pids(const QList<Platform::TProcInfo> &processes)
{
    QStringList ids;
    for (const Platform::TProcInfo &process : processes)
        ids.append(QString::number(process.ProcessId));
    return ids.join(QLatin1Char(','));
}

// The processes that run `target`, without this helper itself: it cannot wait for its
// own end, and replacing it under itself is harmless.
QList<Platform::TProcInfo> Holders(const QString &target)
{
    QList<Platform::TProcInfo> holders = Platform::ProcessesRunning(target);
    const auto self = static_cast<std::uint32_t>(::getpid());
    holders.removeIf([self](const Platform::TProcInfo &process) { return process.ProcessId == self; });
    return holders;
}

// Waits until nothing runs `target` or `seconds` have passed; true when it is free.
bool WaitUntilFree(const QString &target, int seconds, const TVelmoroLog &log)
{
    QElapsedTimer clock;
    clock.start();
    QList<Platform::TProcInfo> holders = Holders(target);
    if (holders.isEmpty()) {
        log.Line(QStringLiteral("no process runs %1").arg(target));
        return true;
    }
    log.Line(QStringLiteral("waiting up to %1 s: %2 runs as process %3").arg(seconds).arg(target, Pids(holders)));
    const qint64 limit = qint64(seconds) * 1000;
    while (!holders.isEmpty() && clock.elapsed() < limit) {
        std::this_thread::sleep_for(PollInterval);
        holders = Holders(target);
    }
    if (holders.isEmpty()) {
        log.Line(QStringLiteral("%1 is free after %2 ms").arg(target).arg(clock.elapsed()));
        return true;
    }
    log.Line(QStringLiteral("timed out after %1 s: %2 still runs as process %3; replacing it anyway, "
                            "the running process keeps the old file")
                 .arg(seconds)
                 .arg(target, Pids(holders)));
    return false;
}

TVelmoroResult Refuse(const TVelmoroLog &log, const QString &why)
{
    log.Line(QStringLiteral("refused: %1; nothing changed").arg(why));
    return VelmoroRefused;
}

// Logs a failed step with the error `error` of its system call; `fd`, when open, is closed.
TVelmoroResult Fail(const TVelmoroLog &log, int error, const QString &what, int fd = -1)
{
    if (fd >= 0)
        ::close(fd);
    log.Line(QStringLiteral("failed: %1: %2; the target is unchanged").arg(what, ErrorText(error)));
    return VelmoroFailed;
}

QString Octal(mode_t bits)
{
    return QStringLiteral("%1").arg(bits, 4, 8, QLatin1Char('0'));
}

// Flushes the pending file with the target's permission bits, renames it over the
// target in one step (the target is either the old or the new file, never neither) and
// flushes the folder so the new name survives a crash.
TVelmoroResult Replace(const QString &pending, const QString &target, const TVelmoroLog &log)
{
    const int fd = ::open(Native(pending).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        const int error = errno;
        return Fail(log, error, QStringLiteral("cannot open %1").arg(pending));
    }
    struct stat targetInfo;
    if (::lstat(Native(target).constData(), &targetInfo) == 0) {
        const mode_t bits = targetInfo.st_mode & 07777;
        if (::fchmod(fd, bits) != 0) {
            const int error = errno;
            return Fail(log, error, QStringLiteral("cannot give %1 the permissions %2").arg(pending, Octal(bits)), fd);
        }
        log.Line(QStringLiteral("%1 takes the permissions %2 of the target").arg(pending, Octal(bits)));
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        return Fail(log, error, QStringLiteral("cannot flush %1").arg(pending), fd);
    }
    ::close(fd);
    log.Line(QStringLiteral("flushed %1").arg(pending));
    if (::rename(Native(pending).constData(), Native(target).constData()) != 0) {
        const int error = errno;
        return Fail(log, error, QStringLiteral("cannot rename %1 to %2").arg(pending, target));
    }
    log.Line(QStringLiteral("renamed %1 to %2").arg(pending, target));
    // The file is in place whatever happens now; a folder that cannot be flushed only
    // leaves the new name less certain to survive a power cut.
    const QString folder = QFileInfo(target).absolutePath();
    const int folderFd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0 || ::fsync(folderFd) != 0) {
        const int error = errno;
        log.Line(QStringLiteral("warning: cannot flush the folder %1: %2").arg(folder, ErrorText(error)));
    }
    if (folderFd >= 0)
        ::close(folderFd);
    log.Line(QStringLiteral("done: %1 is in place").arg(target));
    return VelmoroPlaced;
}

} // namespace

QString VelmoroLogPath(const QString &target)
{
    return QDir(QFileInfo(target).absolutePath()).filePath(QStringLiteral("Log/velmoro.log"));
}

TVelmoroResult PlacePending(int seconds, const QString &pending, const QString &target)
{
    const TVelmoroLog log(target);
    const QString pendingPath = QDir::cleanPath(QFileInfo(pending).absoluteFilePath());
    const QString targetPath = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    log.Line(
        QStringLiteral("start: put %1 in place of %2, waiting up to %3 s").arg(pendingPath, targetPath).arg(seconds));
    if (QFileInfo(pendingPath).absolutePath() != QFileInfo(targetPath).absolutePath())
        return Refuse(log, QStringLiteral("%1 and %2 are not in the same folder").arg(pendingPath, targetPath));
    if (pendingPath != targetPath + QLatin1String(PendingSuffix))
        return Refuse(
            log, QStringLiteral("%1 is not named %2%3").arg(pendingPath, targetPath, QLatin1String(PendingSuffix)));
    struct stat info;
    if (::lstat(Native(pendingPath).constData(), &info) != 0) {
        const int error = errno;
        if (error == ENOENT)
            return Refuse(log, QStringLiteral("%1 does not exist").arg(pendingPath));
        return Refuse(log, QStringLiteral("%1 cannot be examined: %2").arg(pendingPath, ErrorText(error)));
    }
    if (!S_ISREG(info.st_mode))
        return Refuse(log, QStringLiteral("%1 is not a regular file").arg(pendingPath));
    if (::lstat(Native(targetPath).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return Refuse(log, QStringLiteral("%1 is not a regular file").arg(targetPath));
    WaitUntilFree(targetPath, seconds, log);
    return Replace(pendingPath, targetPath, log);
}

int RunVelmoro(const QStringList &arguments)
{
    if (arguments.size() != 3 || arguments[1].isEmpty() || arguments[2].isEmpty()) {
        std::fprintf(stderr, "usage: Velmoro <seconds> <pending file> <target file>\n");
        return VelmoroRefused;
    }
    bool number = false;
    const int seconds = arguments[0].toInt(&number);
    if (!number || seconds < 0) {
        const TVelmoroLog log(arguments[2]);
        return Refuse(log, QStringLiteral("the wait \"%1\" is not a number of seconds").arg(arguments[0]));
    }
    return PlacePending(seconds, arguments[1], arguments[2]);
}
