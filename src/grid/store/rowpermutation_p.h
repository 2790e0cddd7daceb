#pragma once

// Internal: the check of a row order handed to the pools and the row bytes.

#include "platform/texception.h"

#include <cstdint>
#include <vector>

/// Checks that `order` lists each of the `count` rows exactly once; fails with
/// "Row order error[n]" otherwise.
inline void TXCheckRowOrder(const std::vector<int> &order, int count)
{
    if (order.size() != static_cast<std::size_t>(count))
        throw TException(QStringLiteral("Row order error[%1]").arg(order.size()));
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(count), 0);
    for (const int row : order) {
        if (row < 0 || row >= count || seen[static_cast<std::size_t>(row)])
            throw TException(QStringLiteral("Row order error[%1]").arg(row));
        seen[static_cast<std::size_t>(row)] = 1;
    }
}
