#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "db/Format.h"
#include "db/IndexListing.h"
#include "db/ScrollHelper.h"
#include "db/SmartFile.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"
#include "tests/support/TestDatabase.h"

namespace {

// A key built the plain way, independently of the engine's encoders.
std::string PlainKey(const std::string& headword) {
    std::string letters, capitals;
    for (size_t i = 0; i < headword.size(); ++i) {
        const bool capital = headword[i] >= 'A' && headword[i] <= 'Z';
        letters += static_cast<char>(headword[i] + (capital ? 'a' - 'A' : 0));
        if (capital) capitals += static_cast<char>(0x20 + i);
    }
    return capitals.empty() ? letters : letters + '\x03' + capitals;
}

std::vector<unsigned char> SectionOf(const std::vector<std::string>& headwords) {
    CTrieWriter writer(false);
    uint32_t position = 0;
    for (const std::string& word : headwords) {
        writer.AddHeadword(word, {0x84000000u | position++});
    }
    std::vector<unsigned char> section;
    writer.Finish(&section);
    return section;
}

// A database object that holds just a word list over a file containing one
// trie section at offset 0, cached in the window as an open database caches it.
class TrieDatabase {
public:
    explicit TrieDatabase(const std::vector<unsigned char>& section) {
        lxtest::WriteBytes(dir.File("trie"), section);
        database.file = new CSmartFile();
        database.file->Open(dir.File("trie").c_str());
        database.wordList = new CWordList(database.file, 0, false);
        database.file->CacheRange(0, (database.wordList->GetEntryCount() + 128) * 4);
    }
    CWordList* trie() { return database.wordList; }
    CDictDatabase* db() { return &database; }

private:
    lxtest::TempDir dir;
    CDictDatabase database;
};

// Collects the words a walk hands out; stops after `limit`.
struct Collector {
    std::vector<std::string> words;
    size_t limit = SIZE_MAX;

    static int32_t Visit(void* context, const char* word, uint32_t) {
        Collector* self = static_cast<Collector*>(context);
        self->words.push_back(word);
        return self->words.size() >= self->limit ? 0 : 1;
    }
};

using Words = std::vector<std::string>;

Words Walk(CTrie* trie, const std::string& key, bool forward) {
    Collector collector;
    trie->Enumerate(Collector::Visit, &collector, key.c_str(), forward);
    return collector.words;
}

Words List(CDictDatabase* database, const std::string& anchor, bool forward, bool exclusive,
           size_t limit) {
    Collector collector{{}, limit};
    ListIndexWords(database, Collector::Visit, &collector, anchor.c_str(), forward, exclusive);
    return collector.words;
}

const Words kWords = {"cat",    "cats", "catalog", "dog", "paris", "Paris",
                      "parish", "Us",   "US",      "us",  "zebra"};

// (Round trips of words with capitals: the enumeration and lookup tests.)
TEST(KeyEncoding, PlainWordsHaveNoMarkerAndDamagedMarkersChangeNothing) {
    char buffer[32];
    strcpy(buffer, "plain word");
    EXPECT_EQ(EncodeCapitals(buffer), -1);
    EXPECT_EQ(DecodeCapitals(buffer), -1);

    // Position bytes naming nothing in the word change nothing; re-encoding
    // restores the damaged key exactly.
    const char damaged[] = "ab\x03\x7f\x01\x21";
    memcpy(buffer, damaged, sizeof(damaged));
    EXPECT_EQ(DecodeCapitals(buffer), 2);
    EXPECT_STREQ(buffer, "aB");
    ReencodeCapitals(buffer, 2);
    EXPECT_EQ(0, memcmp(buffer, damaged, sizeof(damaged)));
    // A position naming the marker's own place would shift the terminator.
    memcpy(buffer, "ab\x03\x22", 5);
    EXPECT_EQ(DecodeCapitals(buffer), 2);
    EXPECT_STREQ(buffer, "ab");
}

// (Headword keys are refused by the dictionary writer's tests; a raw trie
// takes every byte but 0 and holds no references.)
TEST(TrieWriter, RawKeysRefuseByteZeroAndReferences) {
    CTrieWriter raw(true);
    EXPECT_TRUE(raw.Add("\xff\x80z"));
    EXPECT_FALSE(raw.Add(std::string("a\0b", 3)));
    EXPECT_FALSE(raw.Add("ab", {0x84000001u}));
}

// (Lookups through capitals, inflections and buffer room: the lookup tests.)
TEST(TrieReader, FindsVariantsInKeyOrderAndReferencesAtEitherIndex) {
    TrieDatabase file(SectionOf({"US", "Us", "Paris", "cat"}));
    char word[lxd::kKeyBufferSize] = "cat:3";
    const uint32_t cat = file.trie()->FindWord(word, 1, true);
    ASSERT_NE(cat, 0u);
    EXPECT_STREQ(word, "cat:3");
    // The references are read from the node's index or the one past it.
    uint32_t refs[4], again[4];
    ASSERT_EQ(file.trie()->GetRecordRefs(cat, refs, 4), 1);
    EXPECT_EQ(refs[0], 0x84000003u);  // the fourth headword added
    ASSERT_EQ(file.trie()->GetRecordRefs(cat + 1, again, 4), 1);
    EXPECT_EQ(again[0], refs[0]);
    // Without a lower-case key the first capitalised form in key order is
    // found; an exact search takes no variant.
    strcpy(word, "us");
    EXPECT_NE(file.trie()->FindWord(word, 1, true), 0u);
    EXPECT_STREQ(word, "Us");
    strcpy(word, "paris");
    EXPECT_EQ(file.trie()->FindExactWord(word, 1), 0u);
}

// Random headwords with capitals, found by their keys and walked from every
// key and from probes between keys, against the same keys sorted here.
TEST(Enumeration, MatchesSortedKeysFromEveryAnchor) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 8; ++round) {
        Words headwords(1 + random() % 60);
        for (std::string& word : headwords) {
            for (int j = 1 + random() % 5; j > 0; --j) {
                const char c = static_cast<char>('a' + random() % 3);
                word += random() % 4 == 0 ? static_cast<char>(c - 0x20) : c;
            }
        }
        std::vector<std::pair<std::string, std::string>> sorted;  // key, headword
        for (const std::string& word : headwords) sorted.emplace_back(PlainKey(word), word);
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());

        TrieDatabase file(SectionOf(headwords));
        Words anchors = {"", "a", "bb", "zz", "a\x03", "ab\x01"};
        for (const auto& item : sorted) {
            anchors.push_back(item.first);
            anchors.push_back(item.first + '\x01');
            anchors.push_back(item.first.substr(0, item.first.size() - 1));
            // Each key holds the references of its spelling, in the order added.
            char key[lxd::kKeyBufferSize];
            strcpy(key, item.first.c_str());
            uint32_t refs[64];
            const int count =
                file.trie()->GetRecordRefs(file.trie()->FindExactWord(key, 1), refs, 64);
            std::vector<uint32_t> expected;
            for (uint32_t i = 0; i < headwords.size(); ++i) {
                if (headwords[i] == item.second) expected.push_back(0x84000000u | i);
            }
            EXPECT_EQ(std::vector<uint32_t>(refs, refs + count), expected) << item.second;
        }
        for (const std::string& anchor : anchors) {
            Words after, before;
            for (const auto& item : sorted)
                (item.first >= anchor ? after : before).push_back(item.second);
            std::reverse(before.begin(), before.end());
            EXPECT_EQ(Walk(file.trie(), anchor, true), after) << "forward from " << anchor;
            EXPECT_EQ(Walk(file.trie(), anchor, false), before) << "backward from " << anchor;
        }
    }
}

// Every damaged trie must give a bounded answer: no crash, no endless walk,
// never more words than the table holds.
void ExpectBounded(const std::vector<unsigned char>& section) {
    TrieDatabase file(section);
    CTrie* trie = file.trie();
    for (const char* key : {"", "cat", "parish", "zzz"}) {
        EXPECT_LE(Walk(trie, key, true).size(), trie->GetEntryCount());
        EXPECT_LE(Walk(trie, key, false).size(), trie->GetEntryCount());
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
    const uint32_t count = lxtest::GetWord(good, 0);
    std::vector<unsigned char> tangle = good;  // every child back at the root
    for (uint32_t i = 1; i <= count; ++i) {
        const uint32_t entry = lxtest::GetWord(good, 4 * i);
        if (entry & 0x80000000u) continue;
        for (uint32_t child : {1u, i, count + 1, 0x3FFFFFu}) {
            std::vector<unsigned char> bad = good;
            lxtest::PutWord(&bad, 4 * i, (entry & ~lxd::kEntryChildMask) | child);
            ExpectBounded(bad);
        }
        std::vector<unsigned char> noLast = good;
        lxtest::PutWord(&noLast, 4 * i, entry & ~lxd::kEntryLast);
        ExpectBounded(noLast);
        lxtest::PutWord(&tangle, 4 * i, (entry & 0xFF800000u) | 1u);
    }
    ExpectBounded(tangle);
}

TEST(DamagedTrie, BadCountAndMarker) {
    std::vector<unsigned char> section = SectionOf(kWords);
    lxtest::PutWord(&section, 4 * (lxtest::GetWord(section, 0) + 1), 0x12345678u);
    TrieDatabase badMarker(section);
    EXPECT_EQ(badMarker.trie()->GetStatus(), CTrie::kStatusBadTrie);
    EXPECT_EQ(Walk(badMarker.trie(), "", true).size(), kWords.size());

    section = SectionOf(kWords);
    lxtest::PutWord(&section, 0, 0xFFFFFFF0u);
    TrieDatabase overCount(section);
    EXPECT_EQ(overCount.trie()->GetStatus(), CTrie::kStatusBadTrie);
    EXPECT_LE(Walk(overCount.trie(), "", true).size(), kWords.size());

    TrieDatabase truncated({0x05, 0x00});
    EXPECT_EQ(truncated.trie()->GetStatus(), CTrie::kStatusBadTrie);
    EXPECT_FALSE(truncated.trie()->Enumerate(Collector::Visit, nullptr, "", true));
    char word[lxd::kKeyBufferSize] = "cat";
    EXPECT_EQ(truncated.trie()->FindWord(word, 1, true), 0u);
}

TEST(IndexListing, RunsAroundAnAnchor) {
    TrieDatabase file(SectionOf({"cat", "cats", "dog", "paris", "Paris", "parish", "zebra"}));
    const struct {
        const char* anchor;
        bool forward, exclusive;
        size_t limit;
        Words expected;
    } cases[] = {
        {"Paris", true, false, 2, {"Paris", "parish"}},
        {"Paris", true, true, 2, {"parish", "zebra"}},
        {"Paris", false, false, 2, {"paris", "dog"}},
        {"Paris", false, true, 2, {"paris", "dog"}},
        {"CAT", true, false, 1, {"cats"}},
        {"CAT", false, false, 1, {"cat"}},
        {"cat", true, true, 1, {"cats"}},
        {"", true, false, 1, {"cat"}},
        {"dog", true, false, 0, {"dog"}},  // a count of 0 still takes one word
        {"", false, false, 5, {}},
        {"zz", true, false, 5, {}},
        {"zz", false, false, 2, {"zebra", "parish"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(List(file.db(), c.anchor, c.forward, c.exclusive, c.limit), c.expected)
            << c.anchor << ' ' << c.forward << c.exclusive;
    }
}

// Keys of 57 bytes are listed, longer ones only found; anchors longer than a
// key order like their full key.
TEST(IndexListing, LongKeysAndAnchors) {
    const std::string longest(57, 'q'), beyond(58, 'm');
    TrieDatabase longKeys(SectionOf({"p", longest, "r", beyond}));
    EXPECT_EQ(List(longKeys.db(), "", true, false, 5), (Words{"p", longest, "r"}));
    EXPECT_EQ(List(longKeys.db(), std::string(200, 'Q'), true, false, 5), (Words{"r"}));
    EXPECT_EQ(List(longKeys.db(), std::string(200, 'Q'), false, false, 5), (Words{longest, "p"}));
    EXPECT_EQ(List(longKeys.db(), std::string(70, 'Q') + "Z", true, true, 5), (Words{"r"}));
    char word[lxd::kKeyBufferSize];
    strcpy(word, beyond.c_str());
    EXPECT_NE(longKeys.trie()->FindExactWord(word, 1), 0u);
}

TEST(IndexListing, ScrollPositions) {
    std::vector<unsigned char> section = SectionOf({"apple", "berry", "cherry"});
    const size_t tableOffset = section.size();
    section.resize(tableOffset + lxd::kScrollTableSize, 0);
    // Position 3 holds "ch", stored reversed in its four bytes.
    section[tableOffset + 4 * 3 + 3] = 'c';
    section[tableOffset + 4 * 3 + 2] = 'h';
    TrieDatabase file(section);
    file.db()->scrollHelper = new CScrollHelper(file.db()->file, tableOffset);

    char prefix[5];
    file.db()->scrollHelper->GetScrollPrefix(1024, prefix);
    EXPECT_STREQ(prefix, "\x01");
    for (int position : {3, -5, 0, 1024, 5000}) {
        Collector collector{{}, 1};
        ListFromScrollPosition(file.db(), Collector::Visit, &collector, position);
        EXPECT_EQ(collector.words, (Words{position == 3 ? "cherry" : "apple"})) << position;
    }
    CScrollHelper unreadable(file.db()->file, 1u << 30);
    unreadable.GetScrollPrefix(7, prefix);
    EXPECT_STREQ(prefix, "");
}

}  // namespace
