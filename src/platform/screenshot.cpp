#include "platform/screenshot.h"

#include "platform/signalevents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <cstdio>

namespace Platform {
namespace {

void SavePicture(QWidget *window, const QString &path)
{
    const QString partial = path + QStringLiteral(".part");
    // rename(2) replaces an older picture of the same name; QDir::rename would not, and
    // the old picture would stay with the new one left beside it.
    if (window->grab().save(partial, "PNG")
        && ::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0)
        QFile::remove(partial);
}

// SIGUSR1 asks for a picture of the first window shown at any moment; it is taken in the
// event loop.
void TakePicturesOnSignal(QWidget *window, const QString &folder)
{
    static bool taken = false;
    if (taken)
        return;
    taken = true;
    OnSignal(SIGUSR1, window, [window, folder] {
        static int number = 0;
        SavePicture(window, QDir(folder).filePath(QStringLiteral("%1-%2.png")
                                                      .arg(QCoreApplication::applicationName())
                                                      .arg(++number)));
    });
}

} // namespace

void ScreenshotWhenShown(QWidget *window)
{
    const QString folder = qEnvironmentVariable("TOVEL_SCREENSHOT");
    const bool close = qEnvironmentVariableIsSet("TOVEL_CLOSE_WHEN_SHOWN");
    if (folder.isEmpty() && !close)
        return;
    const QString path = folder.isEmpty() ? QString()
                                          : QDir(folder).filePath(QCoreApplication::applicationName() + QStringLiteral(".png"));
    if (!folder.isEmpty())
        TakePicturesOnSignal(window, folder);
    QTimer::singleShot(800, window, [window, path, close] {
        if (!path.isEmpty())
            SavePicture(window, path);
        if (close)
            window->close();
    });
}

} // namespace Platform
