#include "platform/runningprocesses.h"

#include "platform/filetimes.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace Platform {
namespace {

// A directory entry of /proc that is a process: all digits.
bool ProcessIdOf(const char *name, std::uint32_t &id)
{
    std::uint64_t value = 0;
    if (*name == '\0')
        return false;
    for (const char *c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(*c - '0');
        if (value > UINT32_MAX)
            return false;
    }
    id = static_cast<std::uint32_t>(value);
    return true;
}

QString LinkTarget(const QByteArray &link)
{
    QByteArray buffer(4096, '\0');
    const ssize_t length = ::readlink(link.constData(), buffer.data(), static_cast<size_t>(buffer.size()));
    if (length < 0)
        return {};
    buffer.truncate(length);
    return QFile::decodeName(buffer);
}

} // namespace

QList<TProcInfo> ProcessesRunning(const QString &path)
{
    QList<TProcInfo> found;
    const TFileIdentity file = FileIdentity(QFile::encodeName(path).constData());
    if (!file.exists)
        return found;
    const std::unique_ptr<DIR, int (*)(DIR *)> proc(::opendir("/proc"), ::closedir);
    if (!proc)
        return found;
    while (const dirent *entry = ::readdir(proc.get())) {
        std::uint32_t id = 0;
        if (!ProcessIdOf(entry->d_name, id))
            continue;
        // The link resolves to the file the process was started from, even when that
        // file no longer has a name; a process that ended meanwhile simply fails here.
        const QByteArray exe = QByteArray("/proc/") + entry->d_name + "/exe";
        const TFileIdentity running = FileIdentity(exe.constData());
        if (!running.exists || running.device != file.device || running.inode != file.inode)
            continue;
        found.append({id, LinkTarget(exe)});
    }
    std::sort(
        found.begin(), found.end(), [](const TProcInfo &a, const TProcInfo &b) { return a.ProcessId < b.ProcessId; });
    return found;
}

} // namespace Platform
