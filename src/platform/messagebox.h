#pragma once

#include "platform/platformexport.h"

#include <QString>

#include <functional>

class QWidget;

namespace Platform {

enum class TMsgIcon { None, Information, Warning, Error, Question };

enum TMsgButton : unsigned {
    mbNone = 0,
    mbOK = 1u << 0,
    mbCancel = 1u << 1,
    mbYes = 1u << 2,
    mbNo = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
};
using TMsgButtons = unsigned;

/// Everything a message box was asked to show; what a test seam receives.
struct TMessageBoxCall
{
    QWidget *Owner = nullptr;
    QString Text;
    QString Caption;
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = mbOK;
    TMsgButton DefaultButton = mbOK;
};

/// Answers a message box instead of showing it; returns the button "pressed".
using TMessageBoxHook = std::function<TMsgButton(const TMessageBoxCall &)>;

/// The suite's one message box: shows `text` modally and returns the button pressed.
/// Without a widget application (a library used from a console process) the text goes
/// to standard error and the default button is the answer.
TOVEL_PLATFORM_EXPORT TMsgButton ShowMessageBox(QWidget *owner, const QString &text, const QString &caption,
                                                TMsgIcon icon, TMsgButtons buttons = mbOK,
                                                TMsgButton defaultButton = mbOK);

/// Installs `hook` for every later message box of the process (an empty hook restores
/// real boxes) and returns the hook it replaces.
TOVEL_PLATFORM_EXPORT TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

/// The application's title: the caption of boxes that carry no other, set once at start.
TOVEL_PLATFORM_EXPORT void SetApplicationTitle(const QString &title);
TOVEL_PLATFORM_EXPORT QString ApplicationTitle();

/// The application's main window, the owner of boxes "owned by the application".
TOVEL_PLATFORM_EXPORT QWidget *ApplicationWindow();

} // namespace Platform
