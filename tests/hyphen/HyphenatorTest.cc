#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#include "db/Format.h"
#include "db/HyphPatternIndex.h"
#include "db/HyphTrie.h"
#include "db/Hyphenator.h"
#include "db/SmartFile.h"
#include "db/TrieWriter.h"
#include "tests/support/TestDatabase.h"

namespace {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<std::pair<std::string, std::string>> Cases;

Bytes RawSection(const std::vector<std::string>& keys) {
    CTrieWriter writer(true);
    for (const std::string& key : keys) EXPECT_TRUE(writer.Add(key)) << writer.GetError();
    Bytes section;
    EXPECT_TRUE(writer.Finish(&section)) << writer.GetError();
    return section;
}

// A section whose entries are given directly, for damaged tries.
Bytes SectionOf(const std::vector<uint32_t>& entries) {
    Bytes section;
    for (uint32_t word : entries) lxtest::PutWord(&section, section.size(), word);
    return section;
}

// A file holding a patterns and an exceptions section (an empty one is left
// out: offset 0 means "no trie") and a hyphenator over it.
class HyphenationFile {
public:
    HyphenationFile(const Bytes& patterns, const Bytes& exceptions) {
        Bytes content(4, 0);
        const uint32_t patternsOffset = patterns.empty() ? 0 : content.size();
        content.insert(content.end(), patterns.begin(), patterns.end());
        const uint32_t exceptionsOffset = exceptions.empty() ? 0 : content.size();
        content.insert(content.end(), exceptions.begin(), exceptions.end());
        lxtest::WriteBytes(dir.File("hyph"), content);
        EXPECT_TRUE(file.Open(dir.File("hyph").c_str()));
        hyphenator.reset(new CHyphenator(&file, patternsOffset, exceptionsOffset));
    }

    void Expect(const Cases& cases) {
        for (const auto& c : cases) {
            char* result = hyphenator->Hyphenate(c.first.c_str());
            ASSERT_NE(result, nullptr) << c.first;
            EXPECT_EQ(std::string(result), c.second) << c.first;
            free(result);
        }
    }

    lxtest::TempDir dir;
    CSmartFile file;
    std::unique_ptr<CHyphenator> hyphenator;
};

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

TEST(Hyphenator, PatternLevelsAndRuns) {
    std::string run56, marked56;
    for (int i = 0; i < 28; ++i) run56 += "ab";
    for (int i = 0; i < 27; ++i) marked56 += "a*b";
    const std::string run57 = run56 + "a";
    HyphenationFile data(RawSection({"a1b", "1cd", "_x1y", "e1a", "i1c", "pq1", "3_k"}), {});
    // A boundary pattern applies at the word's start only; marks are found
    // on the lower-case form and the word keeps its bytes; runs are
    // hyphenated separately. A key ending in a digit never matches, a digit
    // before the word's start is ignored. No break in a two-letter word, at
    // most after the first of three letters, never before the last letter.
    // Runs of 57 characters and more are left as they are.
    const Cases cases = {
        {"abcd", "a*b*cd"}, {"xyxyxy", "x*yxyxy"}, {"ABCD", "A*B*CD"}, {"ice-cream", "i*ce-cre*am"},
        {"", ""},           {"pqrs", "pqrs"},      {"kabc", "ka*bc"},  {"ab", "ab"},
        {"abc", "a*bc"},    {"cab", "cab"}};
    data.Expect(cases);
    data.Expect({{run56, marked56 + "ab"},
                 {run57 + "-abc", run57 + "-a*bc"},
                 {"-- \xC3\xA9 --", "-- \xC3\xA9 --"}});
}

TEST(Hyphenator, HighestLevelWinsAndEvenLevelsSuppress) {
    // Before 'c': levels 1, 2 and 4, no break; before 'b': 1 and 3, a break.
    HyphenationFile data(RawSection({"a1b", "b1c", "2bc", "a3b4c"}), {});
    data.Expect({{"abcd", "a*bcd"}});
    // Keys found down different digit branches: "abc" under '2' after the
    // '1' branch ended at "ab"; of two keys with the same letters the one
    // with the smaller digit is found first.
    HyphenationFile branches(RawSection({"a1b", "a2bc", "x2y", "x1y"}), {});
    branches.Expect({{"abcd", "abcd"}, {"abxd", "a*bxd"}, {"xyz", "x*yz"}});
}

TEST(Hyphenator, ExceptionsComeFirstAndKeepTheWordsCapitals) {
    HyphenationFile data(RawSection({"b1l", "a1b"}), RawSection({"ta1ble", "x1y", "1pre1fix"}));
    // Not an exception: patterns. An exception may name any gap, even in a
    // two-letter word or before the first letter.
    const Cases exceptionCases = {
        {"TaBle", "Ta*Ble"}, {"tables", "ta*b*les"}, {"xy", "x*y"}, {"Prefix", "*Pre*fix"}};
    data.Expect(exceptionCases);
    HyphenationFile onlyExceptions({}, RawSection({"ta1ble"}));
    EXPECT_EQ(onlyExceptions.hyphenator->patterns, nullptr);
    onlyExceptions.Expect({{"Table tablet", "Ta*ble tablet"}});
}

TEST(Hyphenator, OutputNeverExceedsItsBuffer) {
    // "a11b" needs exactly the 2 x 2 bytes a run of two may take; "c111d" and
    // digits before the first letter would need more and do not match.
    HyphenationFile data({}, RawSection({"a11b", "c111d", "1111e", "fg"}));
    data.Expect({{"cd cd ab", "cd cd a**b"}, {"e", "e"}, {"fg", "fg"}});
    char out[8];
    EXPECT_EQ(data.hyphenator->HyphenateWord("ab", 2, out, 4), 0);  // "a**b" needs 5
    EXPECT_EQ(data.hyphenator->HyphenateWord("ab", 2, out, 5), 4);
    EXPECT_STREQ(out, "a**b");

    // Patterns write nothing into room for less than two bytes a letter.
    HyphenationFile patterned(RawSection({"a1b"}), {});
    memset(out, '#', sizeof out);
    EXPECT_EQ(patterned.hyphenator->HyphenateWord("xaby", 4, out, 5), 0);
    EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, '#'));
}

TEST(Hyphenator, DamagedTriesEndTheirSearches) {
    // Ten digit nodes whose children lead back to themselves: every search
    // could branch without end.
    std::vector<uint32_t> loop = {10};
    for (uint32_t digit = '0'; digit <= '9'; ++digit) {
        loop.push_back((digit << lxd::kEntryCharShift) | 1 | (digit == '9' ? lxd::kEntryLast : 0));
    }
    loop.push_back(lxd::kTrieEndMarker);
    HyphenationFile data(SectionOf(loop), SectionOf(loop));
    data.Expect({{"hyphenation", "hyphenation"}});

    // Children pointing past the table, and a truncated section.
    HyphenationFile wild(SectionOf({1, ('a' << lxd::kEntryCharShift) | 0x3FFFFF | lxd::kEntryLast,
                                    lxd::kTrieEndMarker}),
                         Bytes{9, 0, 0, 0});
    wild.Expect({{"abc", "abc"}});
}

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
    Bytes section;
    ASSERT_TRUE(writer.Finish(&section));
    HyphenationFile data(section, {});
    CHyphTrie* trie = data.hyphenator->patterns;
    CHyphPatternIndex index;
    ASSERT_TRUE(index.Build(trie->Entries(), trie->GetEntryCount()));
    for (int w = 0; w < 2000; ++w) {
        std::string work = "_";
        for (int n = random() % 14; n > 0; --n) work += "abc"[random() % 3];
        work += '_';
        unsigned char raw[128] = {};
        index.FindLevels(work.c_str(), static_cast<int>(work.size()), raw);
        std::vector<int> levels(work.size());
        for (size_t g = 0; g < work.size(); ++g) levels[g] = raw[g] == 0 ? 0 : raw[g] - '0';
        EXPECT_EQ(levels, TrieLevels(trie, work)) << work;
    }
}
