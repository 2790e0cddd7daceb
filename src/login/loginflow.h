#pragma once

#include "common/utypes.h"

#include <QString>

#include <optional>

// What the login program does around its window: the check through the caller library,
// the start of the next program, and the refusal to run beside an open main window.
namespace LoginFlow {

/// The caption of the main program's window.
QString MainWindowCaption();

/// The caller library's file in the program folder.
QString CallerLibraryPath();

/// Loads the caller library by path, calls CheckLoginInfo with `info` and unloads it.
/// No result when the library is missing or cannot be loaded (the user has been told).
std::optional<char> CheckLogin(const TLoginInfo &info);

/// Starts the updater when it lies in the program folder, else the main program, for
/// `userId`; tells the user when neither is there. Never waits.
void StartNextProgram(const QString &userId);

/// When the main window is open: tells the user, brings that window to the front and
/// answers true (the login program then ends).
bool RefuseSecondStart();

} // namespace LoginFlow
