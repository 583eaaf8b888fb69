// The writer's block compressor: plain zlib streams that zlib itself
// inflates, the same bytes on every run, and tighter than zlib's best.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "db/BlockCompressor.h"
#include "db/Format.h"

namespace {

// One block of text that repeats with variations, as dictionary records do.
std::string DictionaryLikeBlock() {
    std::string text;
    for (int i = 0; text.size() < lxd::kBlockSize; ++i) {
        text += "domestic cat " + std::to_string(i * 7919 % 1000) + "\rfeline mammal " +
                std::to_string(i) + "\n";
    }
    text.resize(lxd::kBlockSize);
    return text;
}

TEST(BlockCompressor, WritesDeterministicZlibStreamsSmallerThanZlibsBest) {
    const std::string block = DictionaryLikeBlock();
    CBlockCompressor compressor;
    std::vector<unsigned char> packed;
    ASSERT_TRUE(compressor.Compress(block.data(), block.size(), &packed));
    std::vector<unsigned char> again;
    ASSERT_TRUE(compressor.Compress(block.data(), block.size(), &again));
    EXPECT_EQ(packed, again);

    // A second stream is appended after the first, not over it.
    ASSERT_TRUE(compressor.Compress("x\n", 2, &again));
    EXPECT_TRUE(std::equal(packed.begin(), packed.end(), again.begin()));
    EXPECT_GT(again.size(), packed.size());

    std::string inflated(lxd::kBlockSize, '\0');
    uLongf inflatedLength = inflated.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&inflated[0]), &inflatedLength, packed.data(),
                         packed.size()),
              Z_OK);
    EXPECT_EQ(inflated.substr(0, inflatedLength), block);

    std::vector<unsigned char> zlibBest(compressBound(block.size()));
    uLongf zlibLength = zlibBest.size();
    ASSERT_EQ(compress2(zlibBest.data(), &zlibLength, reinterpret_cast<const Bytef*>(block.data()),
                        block.size(), 9),
              Z_OK);
    EXPECT_LT(packed.size(), zlibLength);
}

}  // namespace
