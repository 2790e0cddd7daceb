#include "platform/screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace Platform {
namespace {

// SIGUSR1 asks for a picture of the window at any moment: the handler only writes a byte
// to a socket, and the picture is taken in the event loop when the byte arrives.
int g_signalSockets[2] = {-1, -1};

void OnPictureSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalSockets[0], &byte, 1);
}

void SavePicture(QWidget *window, const QString &path)
{
    const QString partial = path + QStringLiteral(".part");
    // rename(2) replaces an older picture of the same name; QDir::rename would not, and
    // the old picture would stay with the new one left beside it.
    if (window->grab().save(partial, "PNG")
        && ::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0)
        QFile::remove(partial);
}

void TakePicturesOnSignal(QWidget *window, const QString &folder)
{
    if (g_signalSockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window, folder] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(g_signalSockets[1], &byte, 1);
        static int number = 0;
        SavePicture(window, QDir(folder).filePath(QStringLiteral("%1-%2.png")
                                                      .arg(QCoreApplication::applicationName())
                                                      .arg(++number)));
    });
    struct sigaction action = {};
    action.sa_handler = OnPictureSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGUSR1, &action, nullptr);
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
