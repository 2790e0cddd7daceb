#include "platform/virtualmemory.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(VirtualMemory, RegressionSizesRoundToWholePages)
{
    const std::size_t page = Platform::PageSize();
    const struct
    {
        std::size_t Size;
        std::size_t Rounded;
    } cases[] = {{0, 0}, {1, page}, {page, page}, {page + 1, 2 * page}, {3 * page - 1, 3 * page}};
    for (const auto &c : cases)
        EXPECT_EQ(Platform::PageRound(c.Size), c.Rounded) << c.Size;
}

TEST(VirtualMemory, DiscardedPagesReadAsZeroAndStayWritable)
{
    const std::size_t page = Platform::PageSize();
    auto *block = static_cast<unsigned char *>(Platform::ReserveMemory(3 * page));
    std::memset(block, 0xAB, 3 * page);
    Platform::DiscardMemory(block + page, page);
    EXPECT_EQ(block[page - 1], 0xAB) << "the page before is kept";
    EXPECT_EQ(block[page], 0);
    EXPECT_EQ(block[2 * page - 1], 0);
    EXPECT_EQ(block[2 * page], 0xAB) << "the page after is kept";
    block[page] = 7;
    EXPECT_EQ(block[page], 7);
    Platform::ReleaseMemory(block, 3 * page);
}
