#pragma once

// Internal: the state of a value pool. Not installed; only the pool's own sources and the
// store's other sources include it.

#include "grid/mempool.h"

#include <vector>

class TwMemPoolPrivate
{
public:
    TwDataType m_type = wdtString;
    int m_width = 0;
    int m_recordSize = 1;
    TwByteBuffer m_data;
    std::vector<QString> m_strings;
    bool m_hasStrings = false;
    std::vector<std::uint8_t> m_scratch;
    int m_capacity = 0;
    int m_count = 0;
};


// The record addressing of the pools' hot loops, inline in every source that includes the
// private class (the pool's own and its footer calculations).
inline std::size_t TwMemPool::Offset(int row) const
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(d->m_recordSize);
}

inline std::uint8_t *TwMemPool::Record(int row)
{
    return d->m_data.Data() + Offset(row);
}

inline const std::uint8_t *TwMemPool::Record(int row) const
{
    return d->m_data.Data() + Offset(row);
}
