#pragma once

#include "platform/platformexport.h"

namespace Platform {

/// Maps the fonts the suite's windows name (굴림체, 굴림) onto installed Korean fonts.
/// Call once after the application object exists; calling again does no harm.
TOVEL_PLATFORM_EXPORT void RegisterFontSubstitutions();

} // namespace Platform
