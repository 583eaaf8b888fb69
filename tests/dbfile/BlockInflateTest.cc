// The record store's block inflate: the zlib check of every block, the
// cache's counts of blocks inflated and blocks found kept, and blocks the
// cache is asked to prefer.
#include <gtest/gtest.h>

#include <string>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr uint32_t kBlock = lxd::kBlockSize;

// `count` whole blocks, each one line of its own letter from 'a' on.
std::string Blocks(int count) {
    std::string stream;
    for (int b = 0; b < count; ++b) stream += std::string(kBlock - 1, 'a' + b) + "\n";
    return stream;
}

bool ReadsLine(CCompressedData* records, uint32_t position, char letter) {
    int32_t length = 0;
    const char* line = records->GetLine(position, &length);
    return line != nullptr && length == static_cast<int32_t>(kBlock - 1) && line[0] == letter &&
           line[length - 1] == letter;
}

TEST(BlockInflate, ABlockFailingItsChecksumIsMissingAndOnlyIt) {
    lxtest::TestDatabase db;
    ASSERT_TRUE(db.Writer().AddRaw(Blocks(3), nullptr));
    ASSERT_TRUE(db.Write());
    // The last byte of block 1 is the low byte of its Adler-32: the deflate
    // data still decodes to 4096 bytes, only the check can tell.
    const uint32_t directory = lxtest::ReadWordAt(db.Path(), lxd::kHeaderBlockDirectoryOffset);
    const uint32_t data = lxtest::ReadWordAt(db.Path(), lxd::kHeaderBlockDataOffset);
    ASSERT_EQ(3u, lxtest::ReadWordAt(db.Path(), directory));
    const uint32_t block1End = lxtest::ReadWordAt(db.Path(), directory + 8);
    std::vector<unsigned char> bytes = lxtest::ReadBytes(db.Path());
    bytes[data + block1End - 1] ^= 0x01;
    lxtest::WriteBytes(db.Path(), bytes);

    CDictDatabase database;
    ASSERT_TRUE(database.Open(db.Path().c_str()));
    EXPECT_TRUE(ReadsLine(database.records, 0, 'a'));
    EXPECT_FALSE(ReadsLine(database.records, kBlock, 'b'));
    EXPECT_EQ(0, database.records->GetByte(kBlock + 10, false));
    EXPECT_TRUE(ReadsLine(database.records, 2 * kBlock, 'c'));
}

TEST(BlockInflate, APreferredBlockOutlivesItsSetsOtherBlocks) {
    const uint32_t ways = CCompressedData::kCacheWays;
    lxtest::TestDatabase db;
    ASSERT_TRUE(db.Writer().AddRaw(Blocks(ways + 2), nullptr));
    std::unique_ptr<CDictDatabase> database = db.Open();
    ASSERT_TRUE(database);
    CCompressedData* records = database->records;
    records->SetCacheBlocks(ways);  // one set: every block competes for it
    // Block 1 is preferred, block 0 is not; then a set's worth of others.
    for (uint32_t block : {0u, 1u}) ASSERT_TRUE(ReadsLine(records, block * kBlock, 'a' + block));
    records->PreferBlock(kBlock + 100);
    for (uint32_t block = 2; block < ways + 2; ++block) {
        ASSERT_TRUE(ReadsLine(records, block * kBlock, 'a' + block));
    }
    const uint32_t inflated = records->GetBlocksInflated();
    EXPECT_TRUE(ReadsLine(records, kBlock, 'b'));
    EXPECT_EQ(inflated, records->GetBlocksInflated()) << "the preferred block was kept";
    EXPECT_TRUE(ReadsLine(records, 0, 'a'));
    EXPECT_EQ(inflated + 1, records->GetBlocksInflated()) << "the other was pushed out";
}

}  // namespace
