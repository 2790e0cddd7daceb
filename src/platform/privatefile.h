#pragma once

#include "platform/platformexport.h"

#include <QString>

namespace Platform {

/// Makes sure `path` exists, creating it empty and readable and writable by its owner
/// only when it does not; an existing file is left as it is. Files that hold secrets are
/// created through this before their first write, and later writes keep the mode.
/// Returns false when the file is not there and cannot be created.
TOVEL_PLATFORM_EXPORT bool CreateOwnerOnlyFile(const QString &path);

} // namespace Platform
