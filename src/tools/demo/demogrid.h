#pragma once

// The demo grid: a sales ledger of three groups and twelve columns with three footer lines,
// filled straight into the value pools. Shared by the TabrixDemo program and the repaint
// benchmark, so both show the same cells.

#include "grid/tabrix.h"

#include <QString>

namespace TabrixDemo {

/// The number of data columns.
inline constexpr int ColumnCount = 12;

/// Lays out the columns, the three groups (up to three levels, the first fixed) and the
/// footer lines (sum, average, conditional count), and switches to group mode; with
/// `groupMode` false the twelve columns stay side by side on one line, the first fixed.
void BuildGrid(TTabrix &grid, bool groupMode = true);
/// Sets the row count and fills every row straight into the pools; then the footers.
void FillRows(TTabrix &grid, int rows);
/// The caption of column `column` (collection order).
QString Caption(int column);
/// The text the grid shows in a cell, made from the row number alone: a table model can
/// offer the same cells without a copy of the data.
QString CellText(int column, int row);

/// The demo grid's cells answered from the row number instead of the pools, for any row
/// count up to 2^31-1: the display hooks and the row count are its own.
class TGeneratedGrid : public TTabrix
{
public:
    using TTabrix::TTabrix;

    int GetRowCount() const override { return m_rows; }
    void SetRowCount(int count) override;
    QString GetDisplayText(TwColumn *column, int row) override;
    bool CheckNull(TwColumn *column, int row) override;
    bool CheckBool(TwColumn *column, int row) override;
    int CheckList(TwColumn *, int) override { return -1; }

private:
    int m_rows = 0;
};

} // namespace TabrixDemo
