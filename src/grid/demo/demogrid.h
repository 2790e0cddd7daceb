#pragma once

// The demo grid: a sales ledger of three groups and twelve columns with three footer lines,
// filled straight into the value pools. Shared by the TabrixDemo program and the repaint
// benchmark, so both show the same cells.

#include <QString>

class TTabrix;

namespace TabrixDemo {

/// The number of data columns.
inline constexpr int ColumnCount = 12;

/// Lays out the columns, the three groups (up to three levels, the first fixed) and the
/// footer lines (sum, average, conditional count), and switches to group mode.
void BuildGrid(TTabrix &grid);
/// Sets the row count and fills every row straight into the pools; then the footers.
void FillRows(TTabrix &grid, int rows);
/// The caption of column `column` (collection order).
QString Caption(int column);
/// The text the grid shows in a cell, made from the row number alone: a table model can
/// offer the same cells without a copy of the data.
QString CellText(int column, int row);

} // namespace TabrixDemo
