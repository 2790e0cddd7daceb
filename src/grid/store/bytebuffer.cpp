#include "grid/bytebuffer.h"

#include "platform/virtualmemory.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Blocks from this size on are mapped pages.
constexpr std::size_t MapThreshold = 256 * 1024;

using Platform::PageRound;

} // namespace

TwByteBuffer::TwByteBuffer(TwByteBuffer &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
    , m_mapped(std::exchange(other.m_mapped, 0))
{
}

TwByteBuffer &TwByteBuffer::operator=(TwByteBuffer &&other) noexcept
{
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

TwByteBuffer::~TwByteBuffer()
{
    Release();
}

void TwByteBuffer::Release()
{
    if (m_mapped)
        Platform::ReleaseMemory(m_data, m_mapped);
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_mapped = 0;
}

std::size_t TwByteBuffer::Reserved() const
{
    return m_mapped ? PageRound(m_size) : m_size;
}

void TwByteBuffer::Resize(std::size_t size)
{
    if (size == m_size)
        return;
    if (size == 0) {
        Release();
        return;
    }
    const std::size_t old = m_size;
    if (m_mapped) {
        if (size > m_mapped) {
            const std::size_t wanted = PageRound(2 * size);
            m_data = static_cast<std::uint8_t *>(Platform::GrowMemory(m_data, m_mapped, wanted));
            m_mapped = wanted;
        } else if (size < old) {
            // Give the pages beyond the new end back; they read as zero when touched again.
            const std::size_t keep = PageRound(size);
            if (keep < PageRound(old))
                Platform::DiscardMemory(m_data + keep, PageRound(old) - keep);
        }
    } else if (size >= MapThreshold) {
        const std::size_t wanted = PageRound(2 * size);
        void *mapped = Platform::ReserveMemory(wanted);
        if (m_data)
            std::memcpy(mapped, m_data, old);
        std::free(m_data);
        m_data = static_cast<std::uint8_t *>(mapped);
        m_mapped = wanted;
    } else {
        void *grown = std::realloc(m_data, size);
        if (!grown)
            throw std::bad_alloc();
        m_data = static_cast<std::uint8_t *>(grown);
    }
    m_size = size;
    if (size > old)
        std::memset(m_data + old, 0, size - old);
}
