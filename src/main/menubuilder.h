#pragma once

#include "common/utypes.h"

#include <QString>

#include <functional>

class QAction;
class QObject;
class QMenuBar;

// Menu items carry a hint "name|key": the short part names the program or group, the
// long part is the program id or the system id that menu rows are matched against.

/// The text before the first '|' (the whole hint when it has none).
QString ShortHint(const QString &hint);
/// The text after the first '|' (the whole hint when it has none).
QString LongHint(const QString &hint);

/// The hint of a menu item or a toolbar button. Hints are never status tips: the status
/// bar keeps the user's panel for the whole run.
QString HintOf(const QObject *item);
void SetHint(QObject *item, const QString &hint);

/// "%d %s\t(%s)": the number, the name, and the program id in the right-hand column.
QString ProgramCaption(int number, const QString &name, const QString &progId);

/// Appends one item per row to the top-level item whose key is the row's system id, in
/// row order, numbered after the item's existing children, with a separator before the
/// first kind "P" row that follows other items. Rows of programs the main program does
/// not know stay disabled. `configure` is called for each new item (to connect it).
void BuildProgramMenu(QMenuBar *menuBar, const TMenuInfos &rows, const std::function<void(QAction *)> &configure);
