#pragma once

#include <QString>

/// Notes a call a business module received: the application's "TovelSampleModuleCalls"
/// property collects them for tests that drive the main window in-process, and a run
/// driven from outside reads them from the file TOVEL_MODULE_TRACE names.
void NoteModuleCall(const QString &line);
