// The archive header: written, recognised in both spellings, never read past the end.

#include "plugin/binary_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

TEST(ArchiveHeader, WriteModeLeavesExactlyTheHeaderOnce)
{
    std::vector<std::uint8_t> block(12, 0xee);
    binary_archive archive(block.data(), block.size(), binary_archive::write);
    ASSERT_TRUE(archive.header());
    const std::uint8_t want[8] = {'Q', 'V', 'C', 'H', 'F', 0, 0, 1};
    EXPECT_EQ(std::memcmp(block.data(), want, 8), 0);
    EXPECT_EQ(block[8], 0xee);
    EXPECT_EQ(archive.position(), 8u);
    EXPECT_TRUE(archive.header_ok());
    // The header step runs once.
    std::fill(block.begin(), block.end(), 0);
    EXPECT_TRUE(archive.header());
    EXPECT_EQ(block[0], 0);
}

TEST(ArchiveHeader, MeasureModeCountsEightBytes)
{
    binary_archive archive(nullptr, 0, binary_archive::measure);
    EXPECT_EQ(archive.size(), 0u);
    ASSERT_TRUE(archive.header());
    EXPECT_EQ(archive.size(), 8u);
}

TEST(ArchiveHeader, ReaderAcceptsBothSpellingsAndNothingElse)
{
    const std::uint8_t written[8] = {'Q', 'V', 'C', 'H', 'F', 0, 0, 1};
    const std::uint8_t other[8] = {'Q', 'V', 'C', 'F', 'H', 0, 0, 1};
    const std::uint8_t wrong_flag[8] = {'Q', 'V', 'C', 'H', 'F', 0, 0, 2};
    const std::uint8_t wrong_magic[8] = {'Q', 'V', 'C', 'H', 'X', 0, 0, 1};
    EXPECT_TRUE(binary_archive(written, 8).header());
    EXPECT_TRUE(binary_archive(other, 8).header());
    EXPECT_FALSE(binary_archive(wrong_flag, 8).header());
    binary_archive foreign(wrong_magic, 8);
    EXPECT_FALSE(foreign.header());
    EXPECT_EQ(foreign.position(), 0u);
    EXPECT_FALSE(foreign.header_ok());
}

TEST(ArchiveHeader, ShortOrMissingBlocksFailWithoutReading)
{
    // A block that ends right before a valid header byte would be needed.
    std::vector<std::uint8_t> seven = {'Q', 'V', 'C', 'H', 'F', 0, 0};
    auto* tail = new std::uint8_t[7];
    std::memcpy(tail, seven.data(), 7);
    EXPECT_FALSE(binary_archive(tail, 7).header());
    delete[] tail;
    EXPECT_FALSE(binary_archive(nullptr, 8).header());
    std::uint8_t small[4] = {};
    EXPECT_FALSE(binary_archive(small, 4, binary_archive::write).header());
    EXPECT_EQ(small[0], 0);
}

} // namespace
