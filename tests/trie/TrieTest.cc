#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "db/Format.h"
#include "tests/trie/TrieFiles.h"

namespace {

std::vector<std::string> Walk(CTrie* trie, const std::string& key, bool forward,
                              size_t limit = SIZE_MAX) {
    Collector collector;
    collector.limit = limit;
    trie->Enumerate(Collector::Visit, &collector, key.c_str(), forward);
    return collector.words;
}

const std::vector<std::string> kWords = {"cat",    "cats", "catalog", "dog", "paris", "Paris",
                                         "parish", "Us",   "US",      "us",  "zebra"};

TEST(KeyEncoding, RoundTrips) {
    char buffer[32] = "USA";
    EXPECT_EQ(EncodeCapitals(buffer), 7);
    EXPECT_EQ(std::string(buffer, 7), std::string("usa\x03\x20\x21\x22", 7));
    RestoreCapitals(buffer, 7);
    EXPECT_STREQ(buffer, "USA");

    strcpy(buffer, "McDonald");
    int end = EncodeCapitals(buffer);
    EXPECT_EQ(std::string(buffer), PlainKey("McDonald"));
    EXPECT_EQ(std::string(buffer), CTrieWriter::KeyOf("McDonald"));
    EXPECT_EQ(DecodeCapitals(buffer), 8);
    EXPECT_STREQ(buffer, "McDonald");
    ReencodeCapitals(buffer, 8);
    EXPECT_EQ(std::string(buffer), PlainKey("McDonald"));
    RestoreCapitals(buffer, end);
    EXPECT_STREQ(buffer, "McDonald");

    strcpy(buffer, "plain word");
    EXPECT_EQ(EncodeCapitals(buffer), -1);
    EXPECT_EQ(DecodeCapitals(buffer), -1);
    EXPECT_STREQ(buffer, "plain word");

    strcpy(buffer, "A-Z[@]");
    LowercaseWord(buffer);
    EXPECT_STREQ(buffer, "a-z[@]");

    // Position bytes that name nothing in the word leave every byte alone,
    // and re-encoding restores the damaged key exactly.
    const char damaged[] = "ab\x03\x7f\x01\x21";
    memcpy(buffer, damaged, sizeof(damaged));
    EXPECT_EQ(DecodeCapitals(buffer), 2);
    EXPECT_STREQ(buffer, "aB");
    ReencodeCapitals(buffer, 2);
    EXPECT_EQ(0, memcmp(buffer, damaged, sizeof(damaged)));
}

TEST(TrieWriter, RefusesWhatTheFormatCannotHold) {
    CTrieWriter words(false);
    EXPECT_FALSE(words.Add(""));
    EXPECT_FALSE(words.Add("caf\xc3\xa9", {0x84000001u}));
    EXPECT_NE(words.GetError().find("outside"), std::string::npos);
    EXPECT_FALSE(words.Add(std::string(128, 'a'), {0x84000001u}));
    EXPECT_TRUE(words.Add(std::string(127, 'a'), {0x84000001u}));
    EXPECT_FALSE(words.Add("cat", {0x00000001u}));
    EXPECT_EQ(words.GetKeyCount(), 1u);

    CTrieWriter raw(true);
    EXPECT_TRUE(raw.Add("\xff\x80z"));
    EXPECT_FALSE(raw.Add(std::string("a\0b", 3)));
    EXPECT_FALSE(raw.Add("ab", {0x84000001u}));
}

TEST(TrieReader, FindsWordsAndReferences) {
    TrieDatabase file(SectionOf(kWords));
    CTrie* trie = file.trie();
    EXPECT_EQ(trie->GetStatus(), 0);

    char word[lxd::kKeyBufferSize] = "cat:3";
    uint32_t cat = trie->FindWord(word, 1, true);
    ASSERT_NE(cat, 0u);
    EXPECT_STREQ(word, "cat:3");
    uint32_t refs[4];
    ASSERT_EQ(trie->GetRecordRefs(cat, refs, 4), 1);
    EXPECT_EQ(refs[0], 0x84000000u);  // first headword added
    uint32_t again[4];
    ASSERT_EQ(trie->GetRecordRefs(cat + 1, again, 4), 1);
    EXPECT_EQ(again[0], refs[0]);

    strcpy(word, "ca");
    EXPECT_EQ(trie->FindWord(word, 1, true), 0u);
    strcpy(word, "catalogs");
    EXPECT_EQ(trie->FindWord(word, 1, true), 0u);
    strcpy(word, "");
    EXPECT_EQ(trie->FindWord(word, 1, true), 0u);

    // With both variants of "us" present the lower-case key wins; without a
    // lower-case key the first capitalised form in key order does.
    TrieDatabase onlyCapitals(SectionOf({"US", "Us", "Paris", "pa"}));
    strcpy(word, "paris");
    EXPECT_EQ(onlyCapitals.trie()->FindExactWord(word, 1), 0u);
    EXPECT_NE(onlyCapitals.trie()->FindWord(word, 1, true), 0u);
    EXPECT_STREQ(word, "Paris");
    strcpy(word, "us");
    EXPECT_NE(onlyCapitals.trie()->FindWord(word, 1, true), 0u);
    EXPECT_STREQ(word, "Us");
}

TEST(TrieReader, VariantNeedsRoomInTheBuffer) {
    TrieDatabase file(SectionOf({"NASA", "Paris"}));
    char word[16];
    strcpy(word, "nasa");
    // Letters, marker, four capitals and the terminator: 10 bytes.
    EXPECT_EQ(file.trie()->FindWord(word, 1, true, 9), 0u);
    EXPECT_STREQ(word, "nasa");
    EXPECT_NE(file.trie()->FindWord(word, 1, true, 10), 0u);
    EXPECT_STREQ(word, "NASA");

    // A variant that cannot be written leaves the word and its tail intact.
    strcpy(word, "nasa:2");
    EXPECT_EQ(file.trie()->FindWord(word, 1, true, 9), 0u);
    EXPECT_STREQ(word, "nasa:2");
}

TEST(Enumeration, OrderAndStartingPoints) {
    TrieDatabase file(SectionOf(kWords));
    CTrie* trie = file.trie();
    const std::vector<std::string> all = {"cat",    "catalog", "cats", "dog", "paris", "Paris",
                                          "parish", "us",      "Us",   "US",  "zebra"};
    EXPECT_EQ(Walk(trie, "", true), all);
    EXPECT_TRUE(Walk(trie, "", false).empty());
    EXPECT_TRUE(Walk(trie, "zzz", true).empty());
    EXPECT_EQ(Walk(trie, "zzz", false), std::vector<std::string>(all.rbegin(), all.rend()));

    EXPECT_EQ(Walk(trie, "paris", true, 3), (std::vector<std::string>{"paris", "Paris", "parish"}));
    EXPECT_EQ(Walk(trie, PlainKey("Paris"), true, 2),
              (std::vector<std::string>{"Paris", "parish"}));
    EXPECT_EQ(Walk(trie, PlainKey("Paris"), false, 2), (std::vector<std::string>{"paris", "dog"}));
    EXPECT_EQ(Walk(trie, "cats", false), (std::vector<std::string>{"catalog", "cat"}));
    EXPECT_EQ(Walk(trie, "catb", false, 1), (std::vector<std::string>{"catalog"}));
    EXPECT_EQ(Walk(trie, "d", true, 1), (std::vector<std::string>{"dog"}));

    Collector stopped;
    stopped.limit = 2;
    stopped.stopCode = 2;
    EXPECT_FALSE(trie->Enumerate(Collector::Visit, &stopped, "", true));
    EXPECT_EQ(stopped.words.size(), 2u);
    // Only the low byte of the visitor's answer counts: 0x101 continues.
    stopped.words.clear();
    stopped.stopCode = 0x101;
    EXPECT_TRUE(trie->Enumerate(Collector::Visit, &stopped, "", true));
    EXPECT_EQ(stopped.words.size(), all.size());
}

TEST(Enumeration, ReachesKeysOfFiftySevenBytes) {
    std::string reached(57, 'k');
    std::string beyond(58, 'm');
    TrieDatabase file(SectionOf({reached, beyond, "n"}));
    EXPECT_EQ(Walk(file.trie(), "", true), (std::vector<std::string>{reached, "n"}));
    EXPECT_EQ(Walk(file.trie(), "z", false), (std::vector<std::string>{"n", reached}));
    char word[lxd::kKeyBufferSize];
    strcpy(word, beyond.c_str());
    EXPECT_NE(file.trie()->FindExactWord(word, 1), 0u);
}

TEST(Enumeration, RawTrieUsesEveryByte) {
    CTrieWriter writer(true);
    for (const char* key : {"\x81"
                            "b",
                            "a\xff", "a"})
        ASSERT_TRUE(writer.Add(key));
    std::vector<unsigned char> section;
    ASSERT_TRUE(writer.Finish(&section));
    TrieDatabase file(section, true);
    EXPECT_EQ(Walk(file.trie(), "", true), (std::vector<std::string>{"a", "a\xff",
                                                                     "\x81"
                                                                     "b"}));
    char word[8] =
        "\x81"
        "b";
    EXPECT_NE(file.trie()->FindExactWord(word, 1), 0u);
    uint32_t refs[2];
    EXPECT_EQ(file.trie()->GetRecordRefs(1, refs, 2), 0);
}

// Every damaged trie must give a bounded answer: no crash, no endless walk,
// never more words than the table holds.
void ExpectBounded(const std::vector<unsigned char>& section) {
    TrieDatabase file(section);
    CTrie* trie = file.trie();
    uint32_t count = trie->GetEntryCount();
    for (const char* key : {"", "cat", "parish", "zzz"}) {
        EXPECT_LE(Walk(trie, key, true).size(), count);
        EXPECT_LE(Walk(trie, key, false).size(), count);
        char word[lxd::kKeyBufferSize];
        strcpy(word, key);
        trie->FindWord(word, 1, true);
    }
    char out[lxd::kKeyBufferSize];
    trie->FollowFirstVariant(out, 1);
    EXPECT_LT(strlen(out), sizeof(out));
}

TEST(DamagedTrie, LoopsAndWildIndicesStayBounded) {
    const std::vector<unsigned char> good = SectionOf(kWords);
    uint32_t count = WordAt(good, 0);
    for (uint32_t i = 1; i <= count; ++i) {
        uint32_t entry = WordAt(good, i);
        if (entry & 0x80000000u) continue;
        for (uint32_t child : {1u, i, count + 1, 0x3FFFFFu}) {
            std::vector<unsigned char> bad = good;
            PutWord(&bad, i, (entry & ~lxd::kEntryChildMask) | child);
            ExpectBounded(bad);
        }
        std::vector<unsigned char> noLast = good;
        PutWord(&noLast, i, entry & ~lxd::kEntryLast);
        ExpectBounded(noLast);
    }
    // Every node pointing back at the root list and nothing ever last.
    std::vector<unsigned char> tangle = good;
    for (uint32_t i = 1; i <= count; ++i) {
        uint32_t entry = WordAt(good, i);
        if (!(entry & 0x80000000u)) {
            PutWord(&tangle, i, (entry & 0xFF800000u) | 1u);
        }
    }
    ExpectBounded(tangle);
}

TEST(DamagedTrie, BadCountAndMarker) {
    std::vector<unsigned char> section = SectionOf(kWords);
    PutWord(&section, WordAt(section, 0) + 1, 0x12345678u);
    TrieDatabase badMarker(section);
    EXPECT_EQ(badMarker.trie()->GetStatus(), CTrie::kStatusBadTrie);
    EXPECT_EQ(Walk(badMarker.trie(), "", true).size(), kWords.size());

    std::vector<unsigned char> large = SectionOf(kWords);
    PutWord(&large, 0, 0xFFFFFFF0u);
    TrieDatabase overCount(large);
    EXPECT_EQ(overCount.trie()->GetStatus(), CTrie::kStatusBadTrie);
    EXPECT_LE(Walk(overCount.trie(), "", true).size(), kWords.size());

    TrieDatabase truncated({0x05, 0x00});
    EXPECT_EQ(truncated.trie()->GetStatus(), CTrie::kStatusBadTrie);
    EXPECT_EQ(truncated.trie()->GetEntryCount(), 0u);
    EXPECT_FALSE(truncated.trie()->Enumerate(Collector::Visit, nullptr, "", true));
    char word[lxd::kKeyBufferSize] = "cat";
    EXPECT_EQ(truncated.trie()->FindWord(word, 1, true), 0u);
}

// Random headwords with capitals, walked from every key and from probes
// between keys, against the same keys sorted here.
TEST(Enumeration, MatchesSortedKeysFromEveryAnchor) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 8; ++round) {
        std::vector<std::string> headwords;
        int size = 1 + random() % 60;
        for (int i = 0; i < size; ++i) {
            std::string word;
            int length = 1 + random() % 5;
            for (int j = 0; j < length; ++j) {
                char c = static_cast<char>('a' + random() % 3);
                word += random() % 4 == 0 ? static_cast<char>(c - 0x20) : c;
            }
            headwords.push_back(word);
        }
        std::vector<std::pair<std::string, std::string>> sorted;  // key, headword
        for (const std::string& word : headwords) sorted.emplace_back(PlainKey(word), word);
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());

        TrieDatabase file(SectionOf(headwords));
        std::vector<std::string> anchors = {"", "a", "bb", "zz", "a\x03", "ab\x01"};
        for (const auto& item : sorted) {
            anchors.push_back(item.first);
            anchors.push_back(item.first + '\x01');
            anchors.push_back(item.first.substr(0, item.first.size() - 1));
        }
        for (const std::string& anchor : anchors) {
            std::vector<std::string> after, before;
            for (const auto& item : sorted)
                (item.first >= anchor ? after : before).push_back(item.second);
            std::reverse(before.begin(), before.end());
            EXPECT_EQ(Walk(file.trie(), anchor, true), after) << "forward from " << anchor;
            EXPECT_EQ(Walk(file.trie(), anchor, false), before) << "backward from " << anchor;
        }
    }
}

}  // namespace
