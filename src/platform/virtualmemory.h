#pragma once

#include "platform/platformexport.h"

#include <cstddef>

// Large growable blocks live in reserved address space: pages take memory only once they
// are touched, and a block can grow without copying its contents. All sizes are bytes;
// failures throw std::bad_alloc.
namespace Platform {

/// The system's page size; reservations are whole pages.
TOVEL_PLATFORM_EXPORT std::size_t PageSize();
/// `size` rounded up to whole pages.
TOVEL_PLATFORM_EXPORT std::size_t PageRound(std::size_t size);

/// Reserves `size` bytes (rounded up to whole pages) of zero-filled, readable and writable
/// memory.
TOVEL_PLATFORM_EXPORT void *ReserveMemory(std::size_t size);

/// Grows a reservation from `oldSize` to `newSize` bytes keeping its contents; the block
/// may move. New bytes read as zero.
TOVEL_PLATFORM_EXPORT void *GrowMemory(void *block, std::size_t oldSize, std::size_t newSize);

/// Gives the pages of `size` bytes at `at` (page-aligned) back to the system; they read as
/// zero when touched again.
TOVEL_PLATFORM_EXPORT void DiscardMemory(void *at, std::size_t size);

/// Ends a reservation.
TOVEL_PLATFORM_EXPORT void ReleaseMemory(void *block, std::size_t size);

} // namespace Platform
