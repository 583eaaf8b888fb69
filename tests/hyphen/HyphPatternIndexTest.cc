#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "db/HyphPatternIndex.h"
#include "db/HyphTrie.h"
#include "db/SmartFile.h"
#include "db/TrieWriter.h"
#include "tests/support/TestDatabase.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// A patterns trie in a file of its own, and the index built from it.
struct IndexedPatterns {
    explicit IndexedPatterns(const Bytes& section) {
        lxtest::WriteBytes(dir.File("patterns"), section);
        EXPECT_TRUE(file.Open(dir.File("patterns").c_str()));
        trie.reset(new CHyphTrie(&file, 0));
        built = index.Build(trie->Entries(), trie->GetEntryCount());
    }
    lxtest::TempDir dir;
    CSmartFile file;
    std::unique_ptr<CHyphTrie> trie;
    CHyphPatternIndex index;
    bool built = false;
};

Bytes SectionOf(const std::vector<std::string>& keys) {
    CTrieWriter writer(true);
    for (const std::string& key : keys) EXPECT_TRUE(writer.Add(key)) << writer.GetError();
    Bytes section;
    EXPECT_TRUE(writer.Finish(&section)) << writer.GetError();
    return section;
}

// The levels the trie search gives `work`, digit by digit as the hyphenator
// applied them before the index; '0' and no digit both count as level 0.
std::vector<int> TrieLevels(CHyphTrie* trie, const std::string& work) {
    std::vector<int> levels(work.size(), 0);
    char found[CHyphTrie::kMaxPatternChars + 1][CHyphTrie::kPatternKeySize];
    for (size_t i = 0; i + 2 <= work.size(); ++i) {
        const uint32_t mask = trie->MatchPrefixes(work.c_str() + i, work.size() - i, found);
        for (int n = 2; n <= CHyphTrie::kMaxPatternChars; ++n) {
            if ((mask & (1u << n)) == 0) continue;
            int letters = 0;
            for (const char* p = found[n]; *p != '\0'; ++p) {
                if (*p < '0' || *p > '9') {
                    ++letters;
                } else if (i + letters >= 1) {
                    levels[i + letters - 1] = std::max(levels[i + letters - 1], *p - '0');
                }
            }
        }
    }
    return levels;
}

std::vector<int> IndexLevels(const CHyphPatternIndex& index, const std::string& work) {
    unsigned char raw[128] = {};
    index.FindLevels(work.c_str(), static_cast<int>(work.size()), raw);
    std::vector<int> levels(work.size(), 0);
    for (size_t g = 0; g < work.size(); ++g) levels[g] = raw[g] == 0 ? 0 : raw[g] - '0';
    return levels;
}

}  // namespace

// Patterns over a small alphabet, so that they overlap and several stored
// keys share their letters (the first the trie search meets must win), with
// runs of digits, digits at the end (never matched) and patterns of nine
// letters (never matched); words framed by '_' as the hyphenator frames them.
TEST(HyphPatternIndex, FindsTheLevelsTheTrieSearchFinds) {
    std::mt19937 random(13);
    const std::string alphabet = "abc_";
    std::vector<std::string> keys;
    for (int k = 0; k < 600; ++k) {
        std::string key;
        const int letters = 2 + random() % 8;
        for (int j = 0; j < letters; ++j) {
            for (int digits = random() % 4 == 0 ? 1 + random() % 2 : 0; digits > 0; --digits) {
                key += static_cast<char>('0' + random() % 10);
            }
            key += alphabet[random() % alphabet.size()];
        }
        if (random() % 10 == 0) key += '7';
        keys.push_back(key);
    }
    IndexedPatterns patterns(SectionOf(keys));
    ASSERT_TRUE(patterns.built);
    for (int w = 0; w < 2000; ++w) {
        std::string work = "_";
        for (int n = random() % 14; n > 0; --n) work += alphabet[random() % 3];
        work += '_';
        EXPECT_EQ(IndexLevels(patterns.index, work), TrieLevels(patterns.trie.get(), work)) << work;
    }
}

// Entries: character in the top byte, then terminal, last and the child index.
TEST(HyphPatternIndex, RefusesTablesItCannotStandInFor) {
    const auto entry = [](char c, bool last, uint32_t child) {
        return static_cast<uint32_t>(c) << 24 | 0x00800000u | (last ? 0x00400000u : 0) | child;
    };
    const std::vector<std::vector<uint32_t>> tables = {
        {entry('b', false, 0), entry('a', true, 0)},   // a sibling list out of order
        {entry('a', false, 0), entry('b', false, 0)},  // a list running off the table
        {entry('a', true, 1)},                         // a child list leading back to itself
    };
    for (const std::vector<uint32_t>& table : tables) {
        CHyphPatternIndex index;
        EXPECT_FALSE(index.Build(table.data(), table.size()));
        EXPECT_FALSE(index.IsBuilt());
    }
}
