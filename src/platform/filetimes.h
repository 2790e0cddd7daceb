#pragma once

#include "platform/platformexport.h"

#include <QString>

#include <cstdint>

namespace Platform {

/// Sets a file's last access and last write times (seconds since 1970 UTC, whole
/// seconds); a zero leaves that time as it is. Returns false when the file cannot be
/// changed. A creation time has no place on this platform.
TOVEL_PLATFORM_EXPORT bool SetFileTimes(const QString &path, std::uint64_t accessTime, std::uint64_t modifyTime);

} // namespace Platform
