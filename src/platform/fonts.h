#pragma once

#include "platform/platformexport.h"

#include <QFont>

namespace Platform {

/// Maps the fonts the suite's windows name (굴림체, 굴림) onto installed Korean fonts.
/// Call once after the application object exists; calling again does no harm.
TOVEL_PLATFORM_EXPORT void RegisterFontSubstitutions();

/// 굴림체 (fixed pitch) and 굴림 of `pixels` pixels, as the windows name them.
TOVEL_PLATFORM_EXPORT QFont GulimChe(int pixels);
TOVEL_PLATFORM_EXPORT QFont Gulim(int pixels);

} // namespace Platform
