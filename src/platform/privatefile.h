#pragma once

#include "platform/platformexport.h"

#include <QString>

namespace Platform {

/// Makes sure `path` exists and that only its owner may read or write it: a missing file
/// is created empty with mode 0600, an existing one loses every group and other
/// permission. Files that hold secrets pass through this before each write, and later
/// writes keep the mode. Returns false when that cannot be made so.
TOVEL_PLATFORM_EXPORT bool CreateOwnerOnlyFile(const QString &path);

} // namespace Platform
