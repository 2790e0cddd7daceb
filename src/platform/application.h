#pragma once

#include "platform/platformexport.h"

#include <QApplication>

#include <exception>

namespace Platform {

/// Shows the error that `error` holds the way every program reports an error nobody
/// handled: a message box with the error's text, the application's title as caption and
/// the error icon, then the program goes on. While one such report is open, further
/// errors (a paint that fails again under the box) go to standard error instead of
/// stacking boxes.
TOVEL_PLATFORM_EXPORT void ReportException(std::exception_ptr error);

/// Shows `text` as ReportException shows an error's text.
TOVEL_PLATFORM_EXPORT void ReportError(const QString &text);

/// The text an error shows: a TException's message, a standard exception's description.
TOVEL_PLATFORM_EXPORT QString ExceptionText(std::exception_ptr error);

/// The application object of every program of the suite. An exception thrown while an
/// event is handled (a paint, a click handler, a timer) is reported and the event loop
/// goes on, instead of unwinding through Qt and ending the process with every open
/// window's unsaved entries.
class TOVEL_PLATFORM_EXPORT TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace Platform
