#include "grid/bytebuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Blocks from this size on are mapped pages.
constexpr std::size_t MapThreshold = 256 * 1024;

std::size_t PageRound(std::size_t size)
{
    static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

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
        ::munmap(m_data, m_mapped);
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
            void *moved = ::mremap(m_data, m_mapped, wanted, MREMAP_MAYMOVE);
            if (moved == MAP_FAILED)
                throw std::bad_alloc();
            m_data = static_cast<std::uint8_t *>(moved);
            m_mapped = wanted;
        } else if (size < old) {
            // Give the pages beyond the new end back; they read as zero when touched again.
            const std::size_t keep = PageRound(size);
            if (keep < PageRound(old))
                ::madvise(m_data + keep, PageRound(old) - keep, MADV_DONTNEED);
        }
    } else if (size >= MapThreshold) {
        const std::size_t wanted = PageRound(2 * size);
        void *mapped = ::mmap(nullptr, wanted, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
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
