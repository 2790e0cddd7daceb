#pragma once

// The daily sales table SAJ202T and the grid that shows it: the columns, one query that
// fills the grid's value pools, and the save that writes the grid's row states back in
// one transaction.

#include <QSqlDatabase>
#include <QString>

class TTabrix;

namespace SalesTable {

/// The grid's columns in collection order, one per table column.
enum TSalesColumn { SaleNo, SaleDate, CustCode, CustName, ItemName, Quantity, Price, Amount, Remark, ColumnCount };

/// Lays out the columns in four banded groups with a sum and count footer line.
void BuildGrid(TTabrix &grid);

/// Replaces the grid's rows by every sale of the table, in sale number order; the row
/// states start clear. Returns an error text, empty on success (the grid is then empty).
QString Load(QSqlDatabase &connection, TTabrix &grid);

/// What a save wrote.
struct TSaveCounts
{
    int Inserted = 0;
    int Updated = 0;
    int Deleted = 0;
};

/// Writes the inserted, updated and deleted rows in one transaction; a new row takes the
/// next sale number. On success the deleted rows leave the grid, the new rows show their
/// numbers and every row state is clear. On failure the transaction is rolled back, the
/// grid is left exactly as it was and `error` names the cause. The grid must be browsing.
bool Save(QSqlDatabase &connection, TTabrix &grid, TSaveCounts &counts, QString &error);

/// Whether any row is inserted, updated or deleted.
bool HasChanges(const TTabrix &grid);

} // namespace SalesTable
