#pragma once

#include <QString>

#include <cstdint>

struct TModuleArgs;

/// Notes a call a business module received: the application's "TovelSampleModuleCalls"
/// property collects them for tests that drive the main window in-process, and a run
/// driven from outside reads them from the file TOVEL_MODULE_TRACE names.
void NoteModuleCall(const QString &line);

/// Appends `line` to the file TOVEL_MODULE_TRACE names only (not to the calls a test in
/// the same process collects).
void NoteInTrace(const QString &line);

/// Notes a ShowInFrame call of the module `moduleId`: "<id> ShowInFrame prog=.. user=..
/// size=.. close=.. handle=.. tail=zero|set", the last telling whether the record's bytes
/// past its head are all zero.
void NoteShowInFrame(const QString &moduleId, const TModuleArgs *record, std::uint32_t size);
