#include "footstylesedit.h"

#include "grid/customgrid.h"
#include "grid/gridparts.h"
#include "grid/memcolumn.h"
#include "grid/uxmfootstyles.h"

namespace {

TwMemColumn *StyledColumn(const TwCustomGrid &grid, int column)
{
    if (column < 0 || column >= grid.Columns().Count())
        return nullptr;
    return qobject_cast<TwMemColumn *>(grid.Columns().Items(column));
}

} // namespace

QStringList FootStylesColumnNames(const TwCustomGrid &grid)
{
    QStringList names;
    if (grid.Footers().Count() == 0)
        return names;
    const TwColumns &columns = grid.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        const QString caption = columns.Items(i)->Title().Caption();
        names << (caption.isEmpty() ? QStringLiteral("Column[%1]").arg(i) : caption);
    }
    return names;
}

bool EditColumnFootStyles(TwCustomGrid *grid, int column)
{
    TwMemColumn *styled = grid ? StyledColumn(*grid, column) : nullptr;
    if (!styled)
        return false;
    // The dialog reports whether the user accepted, not whether anything differs: Ok on an
    // untouched dialog must not leave an empty step in the form's undo history.
    const QString before = grid->Design();
    if (!EditMFootStyles(&styled->MemFooter()))
        return false;
    return grid->Design() != before;
}
