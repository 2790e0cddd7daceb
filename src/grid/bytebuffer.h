#pragma once

#include "grid/tabrixexport.h"

#include <cstddef>
#include <cstdint>

/// A growable byte block for the value pools. Small blocks live on the heap; large ones
/// are mapped pages that grow in place (or by remapping, without copying), so that
/// growing a pool by 16 rows at a time stays linear however large it gets.
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
    /// Bytes actually held (page-rounded for large blocks).
    std::size_t Reserved() const;

private:
    void Release();

    std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mapped = 0; // bytes mapped, 0 while the block is on the heap
};
