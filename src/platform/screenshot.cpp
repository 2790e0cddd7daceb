#include "platform/screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace Platform {

void ScreenshotWhenShown(QWidget *window)
{
    const QString folder = qEnvironmentVariable("TOVEL_SCREENSHOT");
    if (folder.isEmpty())
        return;
    const QString path = QDir(folder).filePath(QCoreApplication::applicationName() + QStringLiteral(".png"));
    QTimer::singleShot(800, window, [window, path] {
        const QString partial = path + QStringLiteral(".part");
        if (window->grab().save(partial, "PNG"))
            QDir().rename(partial, path);
    });
}

} // namespace Platform
