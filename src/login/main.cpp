#include "login/loginflow.h"
#include "login/tovellogin.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/screenshot.h"

#include <QApplication>

int main(int argc, char **argv)
{
    Platform::TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TovelLogin"));
    Platform::RegisterFontSubstitutions();
    if (LoginFlow::RefuseSecondStart())
        return 0;
    Platform::SetApplicationTitle(QStringLiteral("영업정산-로그인"));

    TfrmLogin window;
    window.show();
    Platform::ScreenshotWhenShown(&window);
    return app.exec();
}
