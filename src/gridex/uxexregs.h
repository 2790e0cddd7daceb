#pragma once

// The extension package's controls as the form designer lists them.

#include "gridex/tabrixexexport.h"

#include <QString>

#include <functional>
#include <vector>

class QWidget;

struct TwPaletteEntry
{
    QString ClassName;
    std::function<QWidget *(QWidget *parent)> Create;
    /// The public header that declares the class, in the "gridex/…" include form; code
    /// generated from a form includes it.
    QString Include;
};

/// The palette page the controls go on: "Tabrix".
TABRIXEX_EXPORT QString TXPalettePage();
/// The package's controls in palette order.
TABRIXEX_EXPORT std::vector<TwPaletteEntry> TXRegisteredControls();
