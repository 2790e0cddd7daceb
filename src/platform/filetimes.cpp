#include "platform/filetimes.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

bool SetFileTimes(const QString &path, std::uint64_t accessTime, std::uint64_t modifyTime)
{
    timespec times[2];
    times[0].tv_sec = static_cast<time_t>(accessTime);
    times[0].tv_nsec = accessTime ? 0 : UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(modifyTime);
    times[1].tv_nsec = modifyTime ? 0 : UTIME_OMIT;
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

namespace {

TFileIdentity IdentityOf(const struct stat &info)
{
    TFileIdentity identity;
    identity.exists = true;
    identity.device = static_cast<std::uint64_t>(info.st_dev);
    identity.inode = static_cast<std::uint64_t>(info.st_ino);
    identity.size = static_cast<std::int64_t>(info.st_size);
    identity.modifySeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    identity.modifyNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    return identity;
}

} // namespace

TFileIdentity FileIdentity(const char *nativePath)
{
    struct stat info;
    if (::stat(nativePath, &info) != 0)
        return {};
    return IdentityOf(info);
}

bool IsReadOnlyFile(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0;
}

TFileIdentity FileIdentity(int fileDescriptor)
{
    struct stat info;
    if (::fstat(fileDescriptor, &info) != 0)
        return {};
    return IdentityOf(info);
}

} // namespace Platform
