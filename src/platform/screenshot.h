#pragma once

#include "platform/platformexport.h"

class QWidget;

namespace Platform {

/// When the environment variable TOVEL_SCREENSHOT names a folder, saves a picture of
/// `window` there as "<application name>.png" once it has been shown and painted. The
/// demo uses this to show the suite on a machine without a display.
TOVEL_PLATFORM_EXPORT void ScreenshotWhenShown(QWidget *window);

} // namespace Platform
