#include "gridex/uxexregs.h"

#include "grid/uxdedit.h"
#include "gridex/uxcombos.h"
#include "gridex/uxctrls.h"
#include "gridex/uxlabels.h"

namespace {

template <typename T> TwPaletteEntry Entry(const char *name)
{
    return { QString::fromLatin1(name), [](QWidget *parent) -> QWidget * { return new T(parent); } };
}

} // namespace

QString TXPalettePage() { return QStringLiteral("Tabrix"); }

std::vector<TwPaletteEntry> TXRegisteredControls()
{
    return {
        Entry<TwLabel>("TwLabel"),
        Entry<TwNumLabel>("TwNumLabel"),
        Entry<TwEdit>("TwEdit"),
        Entry<TwMaskEdit>("TwMaskEdit"),
        Entry<TwNumEdit>("TwNumEdit"),
        Entry<TwDateEdit>("TwDateEdit"),
        Entry<TwCombo>("TwCombo"),
    };
}
