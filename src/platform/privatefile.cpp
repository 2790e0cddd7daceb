#include "platform/privatefile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

bool CreateOwnerOnlyFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno != EEXIST)
        return false;
    // An existing file that others may read is closed to them before a secret goes in.
    struct stat status = {};
    if (::stat(native.constData(), &status) != 0)
        return false;
    if ((status.st_mode & 077) == 0)
        return true;
    return ::chmod(native.constData(), status.st_mode & 0700) == 0;
}

} // namespace Platform
