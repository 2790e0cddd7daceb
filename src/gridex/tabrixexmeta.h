#pragma once

// The extension controls' enumerations as registered Qt enums, for Designer's property
// editor and the forms it saves. The keys are the published names and each value equals
// the published member; the controls' headers check that they stay equal.

#include "gridex/tabrixexexport.h"

#include <QObject>

namespace TwEx {
Q_NAMESPACE_EXPORT(TABRIXEX_EXPORT)

enum ComboStyle : int { wcsDropDown = 0, wcsDropDownList = 1 };
Q_ENUM_NS(ComboStyle)

enum LabelBorderStyle : int { mlbsLine = 0, mlbsRaised = 1, mlbsSunken = 2, mlbsDeep = 3 };
Q_ENUM_NS(LabelBorderStyle)

} // namespace TwEx
