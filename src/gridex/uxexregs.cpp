#include "gridex/uxexregs.h"

#include "grid/uxdedit.h"
#include "gridex/uxcombos.h"
#include "gridex/uxctrls.h"
#include "gridex/uxlabels.h"

namespace {

template <typename T> TwPaletteEntry Entry(const char *name, const char *include)
{
    return { QString::fromLatin1(name), [](QWidget *parent) -> QWidget * { return new T(parent); },
             QString::fromLatin1(include) };
}

} // namespace

QString TXPalettePage() { return QStringLiteral("Tabrix"); }

std::vector<TwPaletteEntry> TXRegisteredControls()
{
    return {
        Entry<TwLabel>("TwLabel", "gridex/uxlabels.h"),
        Entry<TwNumLabel>("TwNumLabel", "gridex/uxlabels.h"),
        Entry<TwEdit>("TwEdit", "gridex/uxctrls.h"),
        Entry<TwMaskEdit>("TwMaskEdit", "gridex/uxctrls.h"),
        Entry<TwNumEdit>("TwNumEdit", "gridex/uxctrls.h"),
        Entry<TwDateEdit>("TwDateEdit", "grid/uxdedit.h"),
        Entry<TwCombo>("TwCombo", "gridex/uxcombos.h"),
    };
}
