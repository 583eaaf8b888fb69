// The writer: files it writes read back as written, sense records have the
// exact layout the readers expect, and everything the format cannot hold is
// refused with a reason.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "db/ScrollHelper.h"
#include "db/TrieWriter.h"
#include "tests/support/TestDatabase.h"

namespace {

std::string StoredBytes(CCompressedData* records, uint32_t position, size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        bytes += static_cast<char>(records->GetByte(position + i, i > 0));
    }
    return bytes;
}

// The low three bytes of `position`, least significant first.
std::string Low3(uint32_t position) {
    return {static_cast<char>(position), static_cast<char>(position >> 8),
            static_cast<char>(position >> 16)};
}

std::string RandomWord(std::mt19937& random) {
    std::string word(1 + random() % 12, 'a');
    for (char& c : word) {
        c = static_cast<char>((random() % 5 == 0 ? 'A' : 'a') + random() % 26);
        if (random() % 17 == 0) c = "-' ."[random() % 4];
    }
    return word;
}

// (Keys and their references: the trie tests' random headwords.)
TEST(DictWriter, DefaultScrollTableHoldsEvenlySpacedKeyPrefixes) {
    std::mt19937 random(11);
    lxtest::TestDatabase db;
    std::set<std::string> keys;
    while (keys.size() < 3000) {
        const std::string headword = RandomWord(random);
        if (keys.insert(CTrieWriter::KeyOf(headword)).second) db.Word(headword, {});
    }
    std::unique_ptr<CDictDatabase> database = db.Open();
    ASSERT_NE(database, nullptr);
    const std::vector<std::string> sorted(keys.begin(), keys.end());
    for (int p : {0, 1, 511, 1023}) {
        const std::string& key = sorted[static_cast<size_t>(p) * sorted.size() / 1024];
        char prefix[5];
        database->scrollHelper->GetScrollPrefix(p, prefix);
        EXPECT_EQ(prefix, key.substr(0, std::min<size_t>(4, key.find('\x03'))));
    }
}

TEST(DictWriter, SenseRecordsHaveTheLayoutTheReadersExpect) {
    lxtest::TestDatabase db;
    // The hypernym's target comes later and is patched by Finish; the
    // antonym names its target by position.
    const uint32_t dogAt = db.Sense({{"Dog", "domestic dog"},
                                     "a canine$it barked",
                                     {{140, "canine"}, {136, "", 0x0302, 2, 1, true}},
                                     true},
                                    "dog");
    const uint32_t canineAt = db.Sense({{}, "a member of the dog family", {}}, "canine");
    ASSERT_TRUE(db.Writer().PadTo(1u << 24));
    const uint32_t similarAt = db.Sense({{"alike"}, "like", {}}, "similar");
    const uint32_t toSimilarAt =
        db.Sense({{"akin"}, "related", {{lxd::kLinkSimilarTo, "similar"}}});
    db.Word("dog", {{lxd::kKindNoun, dogAt}});
    std::unique_ptr<CDictDatabase> database = db.Open();
    ASSERT_NE(database, nullptr);

    const std::string members = "Dog\rdomestic dog\na canine$it barked\n";
    // A link: its kind, the target's position in three bytes, the members.
    const std::string links =
        "\x8C" + Low3(canineAt) + std::string("\0\0\xCC\x88\x02\x03\x00\x02\x01\xCC\n", 11);
    EXPECT_EQ(StoredBytes(database->records, dogAt, members.size() + links.size()),
              members + links);
    EXPECT_EQ(StoredBytes(database->records, canineAt, 28), "a member of the dog family\f\n");
    EXPECT_GE(similarAt, 1u << 24);
    const std::string expected = "akin\nrelated\n\xCD" + Low3(similarAt) + std::string("\0\0\n", 3);
    EXPECT_EQ(StoredBytes(database->records, toSimilarAt, expected.size()), expected);

    // Padding is made of empty records, so it compresses to almost nothing.
    EXPECT_LT(lxtest::ReadBytes(db.Path()).size(), 200000u);
    int32_t length = -1;
    EXPECT_NE(database->records->GetLine(1000000, &length), nullptr);
    EXPECT_EQ(length, 0);
}

// Expects `refused` to be false with a reason that mentions `reason`, and the
// stream length unchanged.
#define EXPECT_REFUSED(writer, call, reason)                           \
    do {                                                               \
        uint32_t before = (writer).GetStreamLength();                  \
        EXPECT_FALSE(call);                                            \
        EXPECT_NE((writer).GetError().find(reason), std::string::npos) \
            << "error was: " << (writer).GetError();                   \
        EXPECT_EQ((writer).GetStreamLength(), before);                 \
    } while (0)

TEST(DictWriter, RefusesWhatTheFormatCannotHold) {
    CDictWriter writer;
    uint32_t at = 0;
    ASSERT_TRUE(writer.AddLine("fine", &at));

    // Text records.
    EXPECT_REFUSED(writer, writer.AddLine(std::string("a\0b", 3), nullptr), "byte 0");
    EXPECT_REFUSED(writer, writer.AddLine("two\nlines", nullptr), "terminator");
    EXPECT_REFUSED(writer, writer.AddLine("x", nullptr, 'x'), "CR, LF or FF");
    EXPECT_REFUSED(writer, writer.PadTo(2), "already");
    EXPECT_REFUSED(writer, writer.PadTo((1u << 26) + 1), "2^26");

    // Sense records.
    const std::pair<DictSense, const char*> badSenses[] = {
        {{{"one", "t\rwo"}, "gloss", {}}, "member"},
        {{{"one"}, std::string("g\0", 2), {}}, "gloss"},
        {{{"one"}, "gloss", {{130, "", at}}}, "kind 130"},
        {{{"one"}, "gloss", {{lxd::kLinkSimilarTo, "", at}}}, "0xCC"},
        {{{"one"}, "gloss", {{140, "", 1u << 26}}}, "2^26"}};
    for (const auto& bad : badSenses)
        EXPECT_REFUSED(writer, writer.AddSense(bad.first, "", nullptr), bad.second);
    DictSense sense{{"one"}, "gloss", {}};
    ASSERT_TRUE(writer.AddSense(sense, "first", nullptr));
    EXPECT_REFUSED(writer, writer.AddSense(sense, "first", nullptr), "already used");
    sense.links = {{lxd::kLinkSimilarTo, "first"}};
    EXPECT_REFUSED(writer, writer.AddSense(sense, "", nullptr), "0xCC");

    // Headwords.
    EXPECT_REFUSED(writer, writer.AddHeadword("", {}), "empty");
    EXPECT_REFUSED(writer, writer.AddHeadword("caf\xC3\xA9", {}), "outside 0x01..0x7F");
    EXPECT_REFUSED(writer, writer.AddHeadword(std::string("a\0b", 3), {}), "outside");
    EXPECT_REFUSED(writer, writer.AddHeadword("a\x03z", {}), "0x03");
    EXPECT_TRUE(writer.AddHeadword(std::string(127, 'a'), {}));
    EXPECT_REFUSED(writer, writer.AddHeadword(std::string(128, 'a'), {}), "at most 127");
    EXPECT_REFUSED(writer, writer.AddHeadword("A" + std::string(125, 'a'), {}), "at most 127");
    EXPECT_TRUE(writer.AddHeadword(std::string(95, 'a') + "B", {}));
    EXPECT_REFUSED(writer, writer.AddHeadword(std::string(96, 'a') + "B", {}), "position 96");
    EXPECT_REFUSED(writer, writer.AddHeadword("cat", {{lxd::kKindNoun, 1u << 26}}), "2^26");
    EXPECT_REFUSED(writer, writer.AddHeadword("cat", {{0x40, at}}), "kind 64");
    ASSERT_TRUE(writer.AddHeadword("Cat", {{lxd::kKindNoun, at}}));
    EXPECT_REFUSED(writer, writer.AddHeadword("Cat", {}), "already added");
    EXPECT_TRUE(writer.AddHeadword("cat", {})) << "another key";

    // Tables.
    EXPECT_REFUSED(writer, writer.SetScrollTable({"a", "b"}), "1024");
    std::vector<std::string> prefixes(1024, "abcd");
    prefixes[7] = "abcde";
    EXPECT_REFUSED(writer, writer.SetScrollTable(prefixes), "four bytes");
    EXPECT_REFUSED(writer, writer.SetHyphenPatterns({"ab1c", std::string("x\0", 2)}), "pattern");
    EXPECT_REFUSED(writer, writer.SetHyphenExceptions({""}), "exception");

    std::vector<unsigned char> file;
    EXPECT_TRUE(writer.Finish(&file)) << writer.GetError();

    // Problems only Finish can see, and a writer that is still usable after.
    sense.links = {{140, "nowhere"}};
    ASSERT_TRUE(writer.AddSense(sense, "", nullptr));
    EXPECT_REFUSED(writer, writer.Finish(&file), "nowhere");
    sense.links.clear();
    ASSERT_TRUE(writer.AddSense(sense, "nowhere", nullptr));
    EXPECT_TRUE(writer.Finish(&file)) << writer.GetError();
    ASSERT_TRUE(writer.AddHeadword("late", {{lxd::kKindNoun, writer.GetStreamLength()}}));
    EXPECT_REFUSED(writer, writer.Finish(&file), "past the end");
}

TEST(DictWriter, RefusesWhatOnlyFinishOrAFullStreamOrTableReveals) {
    std::vector<unsigned char> file;
    {
        // A similar-to link to a label that turns out to lie below 2^24.
        CDictWriter writer;
        ASSERT_TRUE(writer.AddSense({{}, "g", {{lxd::kLinkSimilarTo, "later"}}}, "", nullptr));
        ASSERT_TRUE(writer.AddSense({{}, "g", {}}, "later", nullptr));
        ASSERT_TRUE(writer.AddHeadword("g", {}));
        EXPECT_REFUSED(writer, writer.Finish(&file), "0xCC");
    }
    {
        // Records starting beyond the reach of a reference.
        CDictWriter writer;
        ASSERT_TRUE(writer.PadTo((1u << 26) - 1));
        EXPECT_TRUE(writer.AddLine("last one that fits", nullptr));
        EXPECT_REFUSED(writer, writer.AddLine("too far", nullptr), "2^26");
        EXPECT_REFUSED(writer, writer.AddRaw("x", nullptr), "2^26");
        EXPECT_REFUSED(writer, writer.AddSense(DictSense(), "", nullptr), "2^26");
    }
    // An index larger than a child index can address: one node plus its
    // references fill the table exactly; one more node is one entry too many.
    CDictWriter writer;
    ASSERT_TRUE(writer.AddLine("x", nullptr));
    std::vector<DictRecordRef> refs(lxd::kMaxTrieEntries - 1, DictRecordRef{lxd::kKindNoun, 0});
    ASSERT_TRUE(writer.AddHeadword("a", refs));
    EXPECT_TRUE(writer.Finish(&file)) << writer.GetError();
    ASSERT_TRUE(writer.AddHeadword("b", {}));
    EXPECT_REFUSED(writer, writer.Finish(&file), "entries");
}

TEST(DictWriter, WriteFileReplacesTheTargetWholeOrNotAtAll) {
    lxtest::TempDir dir;
    CDictWriter writer;
    ASSERT_TRUE(writer.AddLine("text", nullptr));
    ASSERT_TRUE(writer.AddHeadword("word", {{lxd::kKindOrigin, 0}}));
    const std::string path = dir.File("out.lxd");
    lxtest::WriteBytes(path, {'o', 'l', 'd'});
    ASSERT_TRUE(writer.WriteFile(path)) << writer.GetError();
    std::vector<unsigned char> expected;
    ASSERT_TRUE(writer.Finish(&expected));
    EXPECT_EQ(lxtest::ReadBytes(path), expected);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    EXPECT_FALSE(writer.WriteFile(dir.File("no/such/dir/out.lxd")));
    EXPECT_NE(writer.GetError().find("no/such/dir"), std::string::npos) << writer.GetError();
    // A refused file leaves the old one and no temporary behind.
    ASSERT_TRUE(writer.AddHeadword("dangling", {{lxd::kKindOrigin, 100}}));
    EXPECT_FALSE(writer.WriteFile(path));
    EXPECT_EQ(lxtest::ReadBytes(path), expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
