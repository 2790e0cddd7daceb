#pragma once

// Internal: moving an owned item within a collection's list. Not installed.

#include <QtGlobal>

#include <memory>
#include <vector>

/// Moves the item at `from` to position `to` (clamped to the list), keeping the order of
/// the others; false when it stays where it is.
template <typename T>
bool TwMoveItem(std::vector<std::unique_ptr<T>> &items, int from, int to)
{
    to = qBound(0, to, static_cast<int>(items.size()) - 1);
    if (to == from)
        return false;
    auto moved = std::move(items[static_cast<std::size_t>(from)]);
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, std::move(moved));
    return true;
}
