#pragma once

#include "platform/platformexport.h"

#include <QString>

#include <functional>

class QWidget;

namespace Platform {

/// Everything an open-file dialog was asked to show; what a test seam receives. The filter
/// is already in Qt's form ("Text File (*.txt);;All Files (*)").
struct TOpenFileCall
{
    QWidget *Owner = nullptr;
    QString Caption;
    QString Filter;
    QString DefaultSuffix;
};

/// Answers an open-file dialog instead of showing it: the chosen path, or empty for Cancel.
using TOpenFileHook = std::function<QString(const TOpenFileCall &)>;

/// Converts a filter in pairs of description and patterns separated by '|'
/// ("Text File(*.txt)|*.txt|All Files(*.*)|*.*") into Qt's form
/// ("Text File (*.txt);;All Files (*)"). "*.*" means every file.
TOVEL_PLATFORM_EXPORT QString QtFileFilter(const QString &filter);

/// Asks the user for an existing file to open, modally. `filter` is in the pair form that
/// QtFileFilter takes; `defaultSuffix` (without the dot) is appended to a typed name that
/// has none. Returns the chosen path, or an empty text when the user cancelled.
TOVEL_PLATFORM_EXPORT QString OpenFileName(
    QWidget *owner, const QString &caption, const QString &filter, const QString &defaultSuffix);

/// Installs `hook` for every later open-file dialog of the process (an empty hook restores
/// real dialogs) and returns the hook it replaces.
TOVEL_PLATFORM_EXPORT TOpenFileHook SetOpenFileHook(TOpenFileHook hook);

} // namespace Platform
