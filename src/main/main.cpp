#include "main/mainflow.h"
#include "main/tovelmain.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/namedmutex.h"
#include "platform/screenshot.h"

#include <QApplication>

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

    TfrmMain window;
    window.show();
    Platform::ScreenshotWhenShown(&window);
    return app.exec();
}
