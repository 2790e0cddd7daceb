#include "main/mainflow.h"
#include "main/tovelmain.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/namedmutex.h"
#include "platform/screenshot.h"
#include "platform/signalevents.h"

#include <QApplication>
#include <QSessionManager>

#include <csignal>

int main(int argc, char **argv)
{
    Platform::TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TovelMain"));
    Platform::RegisterFontSubstitutions();

    Platform::TNamedMutex mutex(QStringLiteral("TovelMain"));
    if (!mutex.TryAcquire()) {
        MainFlow::RefuseSecondInstance();
        return 0;
    }
    if (!MainFlow::AcceptsCommandLine(QApplication::arguments().mid(1)))
        return 0;
    Platform::SetApplicationTitle(QStringLiteral("영업정산"));

    int status = 0;
    {
        TfrmMain window;
        // A logout or a kill ends the program as 종료 does: the module windows close, their
        // libraries are unloaded and the program ends with status 0. A logout through the
        // session manager first lets the windows ask about unsaved changes; a window that
        // stays open cancels it.
        Platform::OnSignal(SIGTERM, &window, [&window] { window.close(); });
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager &manager) {
            if (!manager.allowsInteraction())
                return;
            window.close();
            if (window.isVisible())
                manager.cancel();
            manager.release();
        });
        window.show();
        Platform::ScreenshotWhenShown(&window);
        status = app.exec();
    }
    // The main window is gone and with it the module windows: the libraries whose windows
    // went are unloaded now, while the application object still exists, as after 종료
    // they would be by the event loop.
    QCoreApplication::sendPostedEvents();
    return status;
}
