#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "db/HyphPatternIndex.h"
#include "db/HyphTrie.h"
#include "db/SmartFile.h"
#include "db/TrieWriter.h"
#include "tests/support/TestDatabase.h"

namespace {

// The levels the trie search gives `work`, as the hyphenator applied them
// before the index; '0' and no digit both count as level 0.
std::vector<int> TrieLevels(CHyphTrie* trie, const std::string& work) {
    std::vector<int> levels(work.size(), 0);
    char found[CHyphTrie::kMaxPatternChars + 1][CHyphTrie::kPatternKeySize];
    for (size_t i = 0; i + 2 <= work.size(); ++i) {
        const uint32_t mask = trie->MatchPrefixes(work.c_str() + i, work.size() - i, found);
        for (int n = 2; n <= CHyphTrie::kMaxPatternChars; ++n) {
            int letters = 0;
            for (const char* p = found[n]; (mask & (1u << n)) != 0 && *p != '\0'; ++p) {
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

}  // namespace

// Patterns over three letters and '_', so that they overlap and several keys
// share their letters (the first the trie search meets must win), with runs
// of digits, a digit at the end and nine letters (neither ever matched).
TEST(HyphPatternIndex, FindsTheLevelsTheTrieSearchFinds) {
    std::mt19937 random(13);
    CTrieWriter writer(true);
    for (int k = 0; k < 600; ++k) {
        std::string key;
        for (int j = 2 + random() % 8; j > 0; --j) {
            for (int d = random() % 4 == 0 ? 1 + random() % 2 : 0; d > 0; --d)
                key += '0' + random() % 10;
            key += "abc_"[random() % 4];
        }
        ASSERT_TRUE(writer.Add(random() % 10 == 0 ? key + "7" : key));
    }
    std::vector<unsigned char> section;
    ASSERT_TRUE(writer.Finish(&section));
    lxtest::TempDir dir;
    lxtest::WriteBytes(dir.File("patterns"), section);
    CSmartFile file;
    ASSERT_TRUE(file.Open(dir.File("patterns").c_str()));
    CHyphTrie trie(&file, 0);
    CHyphPatternIndex index;
    ASSERT_TRUE(index.Build(trie.Entries(), trie.GetEntryCount()));
    for (int w = 0; w < 2000; ++w) {
        std::string work = "_";
        for (int n = random() % 14; n > 0; --n) work += "abc"[random() % 3];
        work += '_';
        unsigned char raw[128] = {};
        index.FindLevels(work.c_str(), static_cast<int>(work.size()), raw);
        std::vector<int> levels(work.size());
        for (size_t g = 0; g < work.size(); ++g) levels[g] = raw[g] == 0 ? 0 : raw[g] - '0';
        EXPECT_EQ(levels, TrieLevels(&trie, work)) << work;
    }
}
