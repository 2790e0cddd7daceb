#pragma once

#include <QString>
#include <QStringList>

// What the main program does before its window exists.
namespace MainFlow {

/// The caption of the main window, by which the login program and a second instance find it.
QString MainCaption();

/// The arguments after the program name must be exactly two, the first "run" in any case.
bool AcceptsCommandLine(const QStringList &arguments);

/// Tells the user that the program already runs and brings its window to the front.
void RefuseSecondInstance();

} // namespace MainFlow
