#pragma once

#include "platform/platformexport.h"

class QWidget;

namespace Platform {

/// When the environment variable TOVEL_SCREENSHOT names a folder, saves a picture of
/// `window` there as "<application name>.png" once it has been shown and painted. The
/// demo uses this to show the suite on a machine without a display; it can also ask for
/// a picture at any later moment with SIGUSR1, saved as "<application name>-<n>.png". When
/// TOVEL_CLOSE_WHEN_SHOWN is set, the window is then closed the way its user closes it,
/// so a whole run, start to normal end, can be driven from outside.
TOVEL_PLATFORM_EXPORT void ScreenshotWhenShown(QWidget *window);

} // namespace Platform
