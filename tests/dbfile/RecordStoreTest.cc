// The compressed record store: lines across blocks, the append rule, the
// block cache, and files whose directory or blocks are damaged.
#include <gtest/gtest.h>

#include <random>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "tests/support/TestDatabase.h"

namespace {

using lxtest::Compress;
constexpr uint32_t kBlock = lxd::kBlockSize;

// A database whose record stream is exactly `stream`.
struct Store {
    explicit Store(const std::string& stream) {
        EXPECT_TRUE(db.Writer().AddRaw(stream, nullptr));
        EXPECT_TRUE(db.Write());
    }
    CCompressedData* Open() {
        database.reset(new CDictDatabase());
        EXPECT_TRUE(database->Open(db.Path().c_str()));
        return database->records;
    }
    uint32_t Header(uint32_t field) { return lxtest::ReadWordAt(db.Path(), field); }

    lxtest::TestDatabase db;
    std::unique_ptr<CDictDatabase> database;
};

// The line at `position`, with its terminator when `withEnd`, or "<null>".
std::string Line(CCompressedData* records, uint32_t position, bool withEnd = false) {
    int32_t length = -1;
    const char* line = records->GetLine(position, &length);
    if (!line) return "<null>";
    return std::string(line, length + (withEnd ? 1 : 0));
}

// `count` bytes of filler text that holds no terminator.
std::string Text(size_t count, char first = 'a') {
    std::string text(count, first);
    for (size_t i = 0; i < count; ++i) text[i] = static_cast<char>(first + i % 23);
    return text;
}

// Replaces the compressed blocks of a written file (the directory and the
// data are its last two sections) and fixes the size field.
void ReplaceBlocks(Store& store, const std::vector<std::string>& blocks) {
    std::vector<unsigned char> bytes = lxtest::ReadBytes(store.db.Path());
    const uint32_t directory = store.Header(lxd::kHeaderBlockDirectoryOffset);
    bytes.resize(directory);
    lxtest::PutWord(&bytes, directory, blocks.size());
    uint32_t end = 0;
    for (const auto& block : blocks) lxtest::PutWord(&bytes, bytes.size(), end += block.size());
    for (const auto& block : blocks) bytes.insert(bytes.end(), block.begin(), block.end());
    lxtest::PutWord(&bytes, lxd::kHeaderBlockDataOffset, directory + 4 + 4 * blocks.size());
    lxtest::PutWord(&bytes, lxd::kHeaderFileSize, bytes.size());
    lxtest::WriteBytes(store.db.Path(), bytes);
}

// (Records across one or several blocks, at block ends and in the short last
// block: the random stream below.)
TEST(RecordStore, LoadsNoMoreThanALineNeedsAndAppendsOnlyTheNextBlock) {
    const std::string stream = Text(kBlock - 1) + "\n" + Text(kBlock, 'f') + "xyz";
    Store store(stream);
    CCompressedData* data = store.Open();
    EXPECT_EQ(Line(data, 0), Text(kBlock - 1));
    EXPECT_EQ(data->PointerAt(kBlock), nullptr) << "a line ending at the block end loads no more";
    EXPECT_EQ(Line(data, kBlock - 1), "") << "a terminator is an empty line";
    ASSERT_EQ(data->GetByte(kBlock + 5, false), stream[kBlock + 5]);
    // An append request for a position that does not follow the buffer is a
    // plain load, never a block glued on at the wrong place.
    EXPECT_EQ(data->GetByte(3, true), static_cast<unsigned char>(stream[3]));
    EXPECT_EQ(data->GetByte(kBlock, true), static_cast<unsigned char>(stream[kBlock]));
    EXPECT_EQ(data->GetByte(2 * kBlock + 2, false), 'z');
    // The end of the short last block: appending must not repeat the block.
    EXPECT_EQ(data->GetByte(2 * kBlock + 3, true), 0);
    EXPECT_EQ(data->GetByte(2 * kBlock + 4, true), 0);
    // A line that never ends runs to the end of the stream and is missing.
    EXPECT_EQ(Line(data, kBlock + 1), "<null>");
    EXPECT_EQ(Line(data, 0xFFFFFFFFu), "<null>");
    EXPECT_EQ(Line(data, 0), Text(kBlock - 1)) << "a failed read leaves the store usable";
}

TEST(RecordStore, DamagedDirectoryReachesOnlyTheRecordsOfItsBlocks) {
    std::string stream;
    for (int b = 0; b < 4; ++b) stream += Text(kBlock - 1, static_cast<char>('a' + b)) + "\n";
    stream += "tail\n";
    Store store(stream);
    uint32_t directory = store.Header(lxd::kHeaderBlockDirectoryOffset);
    const std::vector<unsigned char> good = lxtest::ReadBytes(store.db.Path());
    auto end = [&](int block) {
        return lxtest::ReadWordAt(store.db.Path(), directory + 4 + 4 * block);
    };

    // A directory that decreases: the blocks whose range is negative or
    // shifted are missing, the others read.
    lxtest::WriteWordAt(store.db.Path(), directory + 4 + 4 * 1, end(0) - 1);
    CCompressedData* data = store.Open();
    EXPECT_EQ(Line(data, 0), Text(kBlock - 1, 'a'));
    EXPECT_EQ(Line(data, kBlock), "<null>");
    EXPECT_EQ(Line(data, 3 * kBlock), Text(kBlock - 1, 'd'));
    EXPECT_EQ(Line(data, 4 * kBlock), "tail");

    // A directory that points past the end of the file.
    lxtest::WriteBytes(store.db.Path(), good);
    lxtest::WriteWordAt(store.db.Path(), directory + 4 + 4 * 4, 0x7FFFFFF0);
    data = store.Open();
    EXPECT_EQ(Line(data, 3 * kBlock), Text(kBlock - 1, 'd'));
    EXPECT_EQ(Line(data, 4 * kBlock), "<null>");

    // A block count that cannot be true leaves no blocks; the database opens.
    for (uint32_t count : {0xFFFFFFFFu, 0u, 5000000u}) {
        lxtest::WriteBytes(store.db.Path(), good);
        lxtest::WriteWordAt(store.db.Path(), directory, count);
        data = store.Open();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->GetBlockCount(), 0u);
        EXPECT_EQ(Line(data, 0), "<null>");
    }
}

TEST(RecordStore, BlocksMustInflateToTheirExactSize) {
    const std::string full = Text(kBlock - 1) + "\n";
    Store store(full + full + full);
    // Block 1 inflates to too little, block 2 (the last) may be short, and a
    // block that inflates to more than 4096 bytes is refused.
    ReplaceBlocks(store, {Compress(full), Compress("short\n"), Compress("last\n")});
    CCompressedData* data = store.Open();
    EXPECT_EQ(Line(data, 0), Text(kBlock - 1));
    EXPECT_EQ(Line(data, kBlock), "<null>");
    EXPECT_EQ(Line(data, 2 * kBlock), "last");

    ReplaceBlocks(store, {Compress(full), Compress(full + "more\n"), Compress(full)});
    data = store.Open();
    EXPECT_EQ(Line(data, kBlock), "<null>");
    EXPECT_EQ(Line(data, 2 * kBlock), Text(kBlock - 1));

    // A block failing its Adler-32 check (its last byte) still inflates to
    // 4096 bytes: only the check tells, and only that block is missing.
    std::string badCheck = Compress(full);
    badCheck.back() ^= 0x01;
    ReplaceBlocks(store, {Compress(full), badCheck, Compress(full)});
    data = store.Open();
    EXPECT_EQ(Line(data, kBlock), "<null>");
    EXPECT_EQ(data->GetByte(kBlock + 10, false), 0);
    EXPECT_EQ(Line(data, 2 * kBlock), Text(kBlock - 1));

    // A line running out of block 0 into a block that is too short is missing.
    ReplaceBlocks(store, {Compress(Text(kBlock)), Compress("x\n"), Compress("last\n")});
    data = store.Open();
    EXPECT_EQ(Line(data, 5), "<null>");
}

// The stream's text from `position` up to and with its next terminator, or
// "<null>", as Line(records, position, true) reads it from the store.
std::string ExpectedLine(const std::string& stream, uint32_t position) {
    size_t end = stream.find_first_of("\r\n\f", position);
    return position < stream.size() && end != std::string::npos
               ? stream.substr(position, end - position + 1)
               : "<null>";
}

TEST(RecordStore, ReadsARandomStreamExactlyWithAnyCache) {
    // Mostly short records, some spanning one or several blocks.
    std::mt19937 random(11);
    std::string stream;
    const char ends[] = {'\r', '\n', '\f'};
    while (stream.size() < 300 * kBlock) {
        size_t length = random() % 8 == 0 ? random() % (3 * kBlock) : random() % 120;
        stream += Text(length, static_cast<char>('a' + random() % 20));
        stream += ends[random() % 3];
    }
    stream += "no end";
    Store store(stream);
    // The default cache, one that holds a single set (every load evicts),
    // and none at all read the same positions in the same order.
    for (uint32_t slots : {CCompressedData::kDefaultCacheBlocks, CCompressedData::kCacheWays, 0u}) {
        CCompressedData* data = store.Open();
        data->SetCacheBlocks(slots);
        std::mt19937 order(5);
        // Positions cluster in a few dozen blocks, as a definition's do.
        std::vector<uint32_t> hot;
        for (int i = 0; i < 40; ++i) hot.push_back(order() % (stream.size() + 2 * kBlock));
        for (int i = 0; i < 4000; ++i) {
            uint32_t p = hot[order() % hot.size()] + order() % 300;
            if (order() % 2) {
                ASSERT_EQ(Line(data, p, true), ExpectedLine(stream, p))
                    << slots << " slots, at " << p;
            } else {
                unsigned char expected = p < stream.size() ? stream[p] : 0;
                ASSERT_EQ(data->GetByte(p, false), expected) << slots << " slots, at " << p;
            }
        }
        // Reading forward by appending, across every block.
        for (uint32_t p = 0; p < stream.size(); ++p) {
            ASSERT_EQ(data->GetByte(p, p > 0), static_cast<unsigned char>(stream[p])) << p;
        }
        // With the default cache the hot blocks are inflated about once.
        if (slots == CCompressedData::kDefaultCacheBlocks) {
            EXPECT_LT(data->GetBlocksInflated(), 600u);
        }
        if (slots == 0) {
            EXPECT_GT(data->GetBlocksInflated(), 2000u);
        }
    }
}

TEST(RecordStore, APreferredBlockOutlivesItsSetsOtherBlocks) {
    const uint32_t ways = CCompressedData::kCacheWays;
    std::string stream;
    for (uint32_t b = 0; b < ways + 2; ++b) stream += Text(kBlock - 1, 'a' + b) + "\n";
    Store store(stream);
    CCompressedData* data = store.Open();
    data->SetCacheBlocks(ways);  // one set: every block competes for it
    // Block 1 is preferred, block 0 is not; then a set's worth of others.
    for (uint32_t b = 0; b < ways + 2; ++b) {
        ASSERT_EQ(Line(data, b * kBlock), Text(kBlock - 1, 'a' + b));
        if (b == 1) data->PreferBlock(kBlock + 100);
    }
    const uint32_t inflated = data->GetBlocksInflated();
    EXPECT_EQ(Line(data, kBlock), Text(kBlock - 1, 'b'));
    EXPECT_EQ(inflated, data->GetBlocksInflated()) << "the preferred block was kept";
    EXPECT_EQ(Line(data, 0), Text(kBlock - 1, 'a'));
    EXPECT_EQ(inflated + 1, data->GetBlocksInflated()) << "the other was pushed out";
}

TEST(RecordStore, DamagedBlockIsNeverKept) {
    const std::string a = Text(kBlock - 1, 'a') + "\n";
    const std::string c = Text(kBlock, 'c');  // its record runs into block 3
    Store store(a + a + c + "tail\n");
    auto damaged = [](const std::string& text) {
        std::string bytes = Compress(text);
        for (size_t i = 2; i < 12; ++i) bytes[i] ^= 0x5A;
        return bytes;
    };
    ReplaceBlocks(store, {Compress(a), damaged(a), Compress(c), damaged("tail\n")});
    CCompressedData* data = store.Open();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const uint32_t before = data->GetBlocksInflated();
        EXPECT_EQ(Line(data, kBlock), "<null>") << attempt;
        EXPECT_EQ(data->GetByte(kBlock + 5, false), 0) << attempt;
        EXPECT_EQ(data->GetBlocksInflated(), before + 2) << "block 1 is inflated on every try";
        EXPECT_EQ(Line(data, 0), Text(kBlock - 1, 'a')) << attempt;
        EXPECT_EQ(Line(data, 2 * kBlock + 7), "<null>") << attempt;
        EXPECT_EQ(data->GetByte(2 * kBlock + 7, false), 'c' + 7) << attempt;
        EXPECT_EQ(data->GetByte(3 * kBlock, true), 0) << attempt;
        EXPECT_EQ(data->GetByte(3 * kBlock, false), 0) << attempt;
    }
}

}  // namespace
