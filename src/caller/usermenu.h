#pragma once

#include "common/utypes.h"

#include <QString>

class TdmCaller;

/// Fills `menuInfos` with the programs the user's group may run and sets the result
/// code; a database error while the query runs gives code '9' with the driver's text.
void RunUserMenuQuery(TdmCaller &dm, TMenuResult &result, const QString &userId, TMenuInfos &menuInfos);

/// Copies `text` as CP949 into the zero-terminated message of `result`, cut whole.
void SetMenuMessage(TMenuResult &result, const QString &text);
