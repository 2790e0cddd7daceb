#pragma once

#include "platform/platformexport.h"

#include <QString>

#include <cstdint>

namespace Platform {

/// Sets a file's last access and last write times (seconds since 1970 UTC, whole
/// seconds); a zero leaves that time as it is. Returns false when the file cannot be
/// changed. A creation time has no place on this platform.
TOVEL_PLATFORM_EXPORT bool SetFileTimes(const QString &path, std::uint64_t accessTime, std::uint64_t modifyTime);

/// What tells one state of a file on disk from another without reading it: which file
/// the name leads to, its size and its last write time to the nanosecond. A file
/// replaced by a rename is another file; a file written in place changes size or time.
struct TFileIdentity
{
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifySeconds = 0;
    std::int64_t modifyNanoseconds = 0;

    friend bool operator==(const TFileIdentity &, const TFileIdentity &) = default;
};

/// The identity of the file at `nativePath` (a path in the file system's encoding, as
/// `QFile::encodeName` gives); `exists` is false when there is none or it cannot be
/// examined.
TOVEL_PLATFORM_EXPORT TFileIdentity FileIdentity(const char *nativePath);

/// Whether the file at `path` is read-only for us: its permissions let nobody write it
/// (a mark honoured by every user, administrators too, like the platform's own
/// read-only attribute), or they do not let this user write it.
TOVEL_PLATFORM_EXPORT bool IsReadOnlyFile(const QString &path);

/// The identity of an open file.
TOVEL_PLATFORM_EXPORT TFileIdentity FileIdentity(int fileDescriptor);

} // namespace Platform
