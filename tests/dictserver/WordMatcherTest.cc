// The MATCH strategies over a small headword list in index order, and the
// headword list read from a dictionary file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/Format.h"
#include "tests/support/TestDatabase.h"
#include "tools/lxdictd/HeadwordList.h"
#include "tools/lxdictd/WordMatcher.h"

namespace {

using Words = std::vector<std::string>;

const Words kIndex = {"a",   "at",  "bat",   "cat",   "CAT",    "cats", "catty",  "cot",
                      "cut", "kit", "paris", "Paris", "parish", "scat", "tax cut"};

void Fill(CHeadwordList* list, const Words& words) {
    for (const std::string& word : words) list->Add(word.c_str());
}

Words Match(const CHeadwordList& list, const std::string& strategy, const std::string& pattern) {
    std::vector<uint32_t> found;
    EXPECT_EQ(MatchResult::kOk, MatchWords(list, strategy, pattern, &found))
        << strategy << " " << pattern;
    Words words;
    for (uint32_t i : found) words.push_back(list.Get(i));
    return words;
}

}  // namespace

TEST(WordMatcher, EveryStrategyFoldsCaseAndKeepsIndexOrder) {
    CHeadwordList list;
    Fill(&list, kIndex);
    const struct {
        const char* strategy;
        const char* pattern;
        Words expected;
    } cases[] = {
        {"exact", "Cat", {"cat", "CAT"}},
        {"exact", "ca", {}},
        {"prefix", "CAT", {"cat", "CAT", "cats", "catty"}},
        {".", "pari", {"paris", "Paris", "parish"}},
        {"prefix", "", kIndex},
        {"substring", "AT", {"at", "bat", "cat", "CAT", "cats", "catty", "scat"}},
        {"suffix", "cut", {"cut", "tax cut"}},
        {"re", "^c.t$", {"cat", "CAT", "cot", "cut"}},
        {"re", "^(ca|sc)", {"cat", "CAT", "cats", "catty", "scat"}},
        {"wildcard", "c?t", {"cat", "CAT", "cot", "cut"}},
        {"wildcard", "*a*t", {"at", "bat", "cat", "CAT", "scat", "tax cut"}},
        {"wildcard", "p*s*", {"paris", "Paris", "parish"}},
        {"soundex", "kot", {"cat", "CAT", "catty", "cot", "cut", "kit"}},
        // Within one edit, the word itself excepted.
        {"lev", "cat", {"at", "bat", "cats", "cot", "cut", "scat"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Match(list, c.strategy, c.pattern)) << c.strategy << " " << c.pattern;
    }
    std::vector<uint32_t> found = {7};
    EXPECT_EQ(MatchResult::kUnknownStrategy, MatchWords(list, "nearby", "cat", &found));
    EXPECT_EQ(MatchResult::kBadPattern, MatchWords(list, "re", "((", &found));
}

TEST(WordMatcher, AListOutOfOrderIsScannedWhole) {
    // A damaged index may list words out of order; nothing found in order is
    // lost by a search that assumed it.
    CHeadwordList list;
    Fill(&list, {"dog", "cat", "ant", "cats"});
    EXPECT_EQ((Words{"cat", "cats"}), Match(list, "prefix", "cat"));
    EXPECT_EQ((Words{"ant"}), Match(list, "exact", "ant"));
}

TEST(WordMatcher, OneEditApart) {
    const struct {
        const char *a, *b;
        bool oneApart;
    } edits[] = {{"cat", "cats", true}, {"cats", "cat", true}, {"cat", "cot", true},
                 {"cat", "at", true},   {"cat", "act", false}, {"cat", "cat", false},
                 {"", "a", true},       {"cat", "dog", false}, {"cat", "catsup", false}};
    for (const auto& e : edits)
        EXPECT_EQ(e.oneApart, IsOneEditApart(e.a, e.b)) << e.a << " " << e.b;
}

TEST(HeadwordList, LoadsTheIndexInOrderWithCapitals) {
    lxtest::TestDatabase db;
    for (const char* word : {"parish", "Paris", "cat", "paris", "big cat"}) {
        db.WordWithLines(word, {{lxd::kKindNoun, std::string("a sense of ") + word}});
    }
    std::unique_ptr<CDictDatabase> open = db.Open();
    ASSERT_NE(nullptr, open);
    CHeadwordList list;
    list.Load(open.get());
    Words words;
    for (uint32_t i = 0; i < list.Count(); ++i) words.push_back(list.Get(i));
    EXPECT_EQ((Words{"big cat", "cat", "paris", "Paris", "parish"}), words);
    EXPECT_EQ((Words{"paris", "Paris"}), Match(list, "exact", "PARIS"));
}
