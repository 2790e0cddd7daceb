#include "platform/application.h"

#include "platform/messagebox.h"
#include "platform/texception.h"

#include <cstdio>

namespace Platform {
namespace {

bool g_reporting = false;

} // namespace

QString ExceptionText(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const TException &e) {
        return e.Message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void ReportException(std::exception_ptr error)
{
    if (error)
        ReportError(ExceptionText(error));
}

void ReportError(const QString &text)
{
    if (g_reporting) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    g_reporting = true;
    try {
        ShowMessageBox(ApplicationWindow(), text, ApplicationTitle(), TMsgIcon::Error);
    } catch (...) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
    g_reporting = false;
}

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportException(std::current_exception());
    }
    return false;
}

} // namespace Platform
