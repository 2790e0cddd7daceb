#pragma once

// A grid's design as JSON: columns, groups, headers, footers, indicators, markers, lines,
// the fixed style and the per-mode sizes. A value is written only when it was assigned
// (or set) and differs from its default, so a stored design follows later changes of the
// defaults, and reading it back reproduces the grid exactly. Each column class writes and
// reads its own properties (TwColumn::WriteDesign, ReadDesign).

#include "grid/tabrixexport.h"

#include <QJsonObject>

class TwCustomGrid;

class TABRIX_EXPORT TwGridStream
{
public:
    static QJsonObject Write(const TwCustomGrid &grid);
    /// Replaces the grid's design by the one stored in `json`. Every value goes through the
    /// limits its setter keeps; a value out of range, of the wrong kind or a broken
    /// structure fails with a TException naming the property ("Columns[2].LevelIndex: …"),
    /// and the grid keeps the design it had.
    /// The column objects are replaced in either case: a failed read rebuilds them from the
    /// design the grid had, so pointers to columns and the rows held in their pools do not
    /// survive a read, successful or not. Callers keep column indices, and load data after
    /// the design.
    static void Read(TwCustomGrid &grid, const QJsonObject &json);

private:
    static void ReadDesign(TwCustomGrid &grid, const QJsonObject &json);
};
