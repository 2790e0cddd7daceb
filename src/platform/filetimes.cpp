#include "platform/filetimes.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

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

} // namespace Platform
