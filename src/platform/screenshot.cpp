#include "platform/screenshot.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace Platform {

void ScreenshotWhenShown(QWidget *window)
{
    const QString path = qEnvironmentVariable("TOVEL_SCREENSHOT");
    if (path.isEmpty())
        return;
    QTimer::singleShot(500, window, [window, path] { window->grab().save(path, "PNG"); });
}

} // namespace Platform
