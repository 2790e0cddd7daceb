#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/programfolder.h"
#include "platform/screenshot.h"
#include "updater/skyrun.h"
#include "updater/skyrunapply.h"
#include "updater/skyruncfg.h"
#include "updater/skyrunoptions.h"
#include "updater/updaterun.h"

#include <QFileInfo>
#include <QTimer>

namespace {

// The update run in its window: shown (unless silent), run on activation, closed.
bool RunUpdateWindow(Platform::TApplication &app, const TRunOptions &options, const QString &folder)
{
    TForm1 window;
    TUpdateRun run(options, folder, window);
    window.SetOnActivate([&run] { run.ActivationStep(); });
    if (options.Silent) {
        run.ShowStep();
        window.Activate();
        return !run.Failed();
    }
    run.ShowStep();
    window.show();
    Platform::ScreenshotWhenShown(&window);
    // Without a window manager the window may never be activated: start the run from
    // the event loop as well; it runs once however it is started.
    QTimer::singleShot(100, &window, [&window] { window.Activate(); });
    app.exec();
    return !run.Failed();
}

} // namespace

int main(int argc, char **argv)
{
    Platform::TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyrun"));
    Platform::RegisterFontSubstitutions();

    const QString folder = Platform::ProgramFolder();
    const TRunOptions options = ParseRunOptions(QApplication::arguments().mid(1), folder);
    bool succeeded = true;
    switch (options.Mode) {
    case TSkyrunMode::Run:
        succeeded = RunUpdateWindow(app, options, folder);
        break;
    case TSkyrunMode::Config: {
        TForm2 settings(folder);
        settings.show();
        Platform::ScreenshotWhenShown(&settings);
        app.exec();
        break;
    }
    case TSkyrunMode::None:
        break;
    }

    // Whatever happened, the updater's own pending files go to the rename helper and
    // the follow-up command starts.
    HandOffPendingFiles(folder, QFileInfo(QApplication::applicationFilePath()).fileName());
    if (!options.FollowUp.isEmpty())
        StartFollowUp(options.FollowUp);
    return succeeded ? 0 : 1;
}
