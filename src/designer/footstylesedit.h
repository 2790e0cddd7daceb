#pragma once

// What the grid's design-time menu does for the footer styles, apart from Designer: the
// columns it offers and the style dialog for one of them.

#include <QStringList>

class TwCustomGrid;

/// The grid's columns as the footer style dialog names them in its caption: the title
/// caption, or "Column[i]" for a column without one. Empty when the grid has no footer
/// lines, since then no column has styles to edit.
QStringList FootStylesColumnNames(const TwCustomGrid &grid);

/// Opens the footer style dialog for column `column` of `grid` and gives whether the grid's
/// design changed. A grid without footer lines, a column it does not have and a column
/// without summary styles open nothing.
bool EditColumnFootStyles(TwCustomGrid *grid, int column);
