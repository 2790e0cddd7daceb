#pragma once

// A grid's design as JSON: columns, groups, headers, footers, indicators, markers, lines,
// the fixed style and the per-mode sizes. A value is written only when it was assigned
// (or set) and differs from its default, so a stored design follows later changes of the
// defaults, and reading it back reproduces the grid exactly.

#include "grid/tabrixexport.h"

#include <QJsonObject>

class TwCustomGrid;

class TABRIX_EXPORT TwGridStream
{
public:
    static QJsonObject Write(const TwCustomGrid &grid);
    /// Replaces the grid's design by the one stored in `json`.
    static void Read(TwCustomGrid &grid, const QJsonObject &json);
};
