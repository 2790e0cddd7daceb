#pragma once

// What the grid tells assistive technology (screen readers, magnifiers): it is a table
// whose columns are the visible columns in reading order (in group mode level by level,
// each level's columns from the left group to the right) and whose rows are the data
// rows; each cell reads the text the grid shows for it. The interfaces load with the
// library through a factory; the grid calls these hooks when what they report changes.
// Each hook costs nothing while no assistive technology listens.

class TwColumn;
class TwCustomGrid;

/// The current cell moved (a key, a click, a program): the new cell gets the focus.
void TXAccessibleCurrentMoved(TwCustomGrid *grid);
/// The value of the cell of `column` on `row` changed through an edit.
void TXAccessibleCellChanged(TwCustomGrid *grid, TwColumn *column, int row);
/// Rows or columns came or went, or the mode changed: earlier cells are void.
void TXAccessibleReset(TwCustomGrid *grid);
/// The selected rows changed.
void TXAccessibleSelectionChanged(TwCustomGrid *grid);
