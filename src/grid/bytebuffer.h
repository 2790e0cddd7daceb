#pragma once

#include "grid/tabrixexport.h"

#include <cstddef>
#include <cstdint>

/// A growable byte block for the value pools. Small blocks live on the heap. Large ones
/// live in a mapped address range reserved at twice the size they reach: growing inside it
/// needs no system call and no copy (untouched pages take no memory), and outgrowing it
/// remaps the pages without copying them. Growing a pool by 16 rows at a time therefore
/// stays linear however large it gets.
class TABRIX_EXPORT TwByteBuffer
{
public:
    TwByteBuffer() = default;
    ~TwByteBuffer();
    TwByteBuffer(const TwByteBuffer &) = delete;
    TwByteBuffer &operator=(const TwByteBuffer &) = delete;
    TwByteBuffer(TwByteBuffer &&other) noexcept;
    TwByteBuffer &operator=(TwByteBuffer &&other) noexcept;

    /// Resizes to `size` bytes, keeping the first min(old, new) bytes; new bytes are zero.
    void Resize(std::size_t size);
    std::uint8_t *Data() { return m_data; }
    const std::uint8_t *Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    /// Bytes of memory in use (page-rounded for large blocks; reserved but untouched
    /// address space is not memory).
    std::size_t Reserved() const;

private:
    void Release();

    std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mapped = 0; // address range reserved, 0 while the block is on the heap
};
