// The searches over a small word set, checked against plain models written
// here: edit distance by brute force, wildcard paging against one full scan.

#include <random>
#include <set>

#include "search/CommonWords.h"
#include "search/DoubleMetaphone.h"
#include "search/ProfanityFilter.h"
#include "search/RandomWord.h"
#include "search/SearchFormat.h"
#include "search/SoundSpelling.h"
#include "search/SoundsLike.h"
#include "search/SpellingSuggester.h"
#include "tests/search/SearchFixture.h"

using namespace searchtest;

namespace {

// Optimal string alignment distance, the plain textbook way, in half edits:
// a swap of neighbours costs `swapCost` halves.
size_t HalfEdits(const std::string& a, const std::string& b, size_t swapCost = 2) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = 2 * i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = 2 * j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 2, d[i][j - 1] + 2,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 2)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + swapCost);
            }
        }
    }
    return d[a.size()][b.size()];
}

// A word sharing a sound key is close enough in its sound spelling (two
// edits) and its letters (three edits, or half the query's length).
bool SoundsCloseEnough(const std::string& query, const std::string& word) {
    std::string a = FoldAscii(query.c_str()), b = FoldAscii(word.c_str());
    return HalfEdits(SoundSpelling(a), SoundSpelling(b)) <= 4 &&
           HalfEdits(a, b, 1) <= 2 * std::max<size_t>(3, a.size() / 2);
}

bool SharesSound(const std::string& a, const std::string& b) {
    CDoubleMetaphone x(a.c_str()), y(b.c_str());
    std::set<std::string> keys{x.Primary(), x.Alternate()};
    keys.erase("");
    return keys.count(y.Primary()) != 0 || keys.count(y.Alternate()) != 0 ||
           SoundSpelling(FoldAscii(a.c_str())) == SoundSpelling(FoldAscii(b.c_str()));
}

std::string RandomWord(std::mt19937& random, const char* letters, size_t longest) {
    std::string word;
    size_t length = 1 + random() % longest;
    for (size_t i = 0; i < length; ++i) word += letters[random() % strlen(letters)];
    return word;
}

}  // namespace

// (Keys of real words: the metaphone stage compares every word of a large
// word list with an independent implementation.)
TEST(DoubleMetaphone, WordsWithoutLettersAndLongWords) {
    for (const char* word : {"", "1984 -'"}) {
        CDoubleMetaphone keys(word);
        EXPECT_EQ("", keys.Primary()) << word;
        EXPECT_EQ("", keys.Alternate()) << word;
    }
    std::string longWord(1000, 'b');
    CDoubleMetaphone keys(longWord.c_str());
    EXPECT_EQ("PPPP", keys.Primary());  // each doubled b is one P, four at most
}

TEST(SoundSpelling, WritesEachSoundOneWay) {
    const char* same[][2] = {{"fone", "phone"},   {"nite", "night"}, {"kwik", "quick"},
                             {"enuff", "enough"}, {"laff", "laugh"}, {"thier", "their"}};
    for (auto& pair : same) EXPECT_EQ(SoundSpelling(pair[0]), SoundSpelling(pair[1])) << pair[0];
    EXPECT_NE(SoundSpelling("fine"), SoundSpelling("phone"));
    EXPECT_EQ("", SoundSpelling(""));
}

TEST(Wildcard, MatchesWholeWordsFolded) {
    const char* matching[][2] = {
        {"*", ""},          {"*", "anything"},    {"c?t", "Cat"}, {"*ness", "kindness"},
        {"?a?e*", "babel"}, {"a*b*c", "aXbYbZc"}, {"**a**", "a"}, {"ca*", "CAT"}};
    const char* failing[][2] = {
        {"?", ""}, {"c?t", "cart"}, {"*ness", "nessie"}, {"a*b*c", "aXbYbZ"}, {"x", "xx"}};
    for (const auto& c : matching) EXPECT_TRUE(MatchesWildcard(c[0], c[1])) << c[0] << " " << c[1];
    for (const auto& c : failing) EXPECT_FALSE(MatchesWildcard(c[0], c[1])) << c[0] << " " << c[1];
    std::string stars(64, '*');
    std::string word(200, 'a');
    EXPECT_FALSE(MatchesWildcard((stars + "b").c_str(), word.c_str()));
}

TEST(Wildcard, PagesJoinIntoTheFullScan) {
    std::unique_ptr<CSearchData> data =
        LoadBytes(WriteSearchBytes(PlainWords({"cab", "Cab", "cat", "Cat", "CAT", "cater", "dog",
                                               "cart", "scat", "c", "ca", "cab driver"})));
    ASSERT_NE(nullptr, data);
    SearchSource all{data.get(), nullptr};
    for (const char* pattern : {"*", "c*", "ca?", "*t", "?a*", "cab*", "z*", "C*T"}) {
        std::vector<std::string> expected;
        for (uint32_t i = 0; i < data->WordCount(); ++i) {
            if (MatchesWildcard(FoldAscii(pattern).c_str(), data->Word(i))) {
                expected.push_back(data->Word(i));
            }
        }
        std::vector<std::string> paged;
        std::string after;
        for (int page = 0; page < 20; ++page) {
            std::vector<uint32_t> found = FindWildcardWords(all, pattern, 2, after.c_str());
            if (found.empty()) break;
            for (const std::string& word : Headwords(*data, found)) paged.push_back(word);
            after = paged.back();
        }
        EXPECT_EQ(expected, paged) << pattern;
    }
    // Starting after a word that is not a headword starts at its place.
    EXPECT_EQ((std::vector<std::string>{"cat", "Cat"}),
              Headwords(*data, FindWildcardWords(all, "c*", 2, "cas")));
    CProfanityFilter filter({"cat", "Cat"});
    SearchSource filtered{data.get(), &filter};
    EXPECT_EQ(std::vector<std::string>{"CAT"},
              Headwords(*data, FindWildcardWords(filtered, "cat", 5, "")));
    std::string longPattern(kMaxSearchText + 1, '*');
    for (const char* pattern : {"", longPattern.c_str()}) {
        EXPECT_TRUE(FindWildcardWords(all, pattern, 5, "").empty());
    }
    EXPECT_TRUE(FindWildcardWords(all, "*", 0, "").empty());
}

// The trie walk with pruning finds exactly the words within two edits (and
// those sharing a sound that are close enough), as a brute-force scan does.
TEST(SpellingSuggester, FindsWhatBruteForceFinds) {
    std::mt19937 random(12);
    std::set<std::string> unique;
    while (unique.size() < 400) unique.insert(RandomWord(random, "abcdeAB -", 7));
    std::vector<std::string> headwords(unique.begin(), unique.end());
    std::unique_ptr<CSearchData> data = LoadBytes(WriteSearchBytes(PlainWords(headwords)));
    ASSERT_NE(nullptr, data);
    CSpellingSuggester suggester(SearchSource{data.get(), nullptr});
    for (int round = 0; round < 300; ++round) {
        std::string query = RandomWord(random, "abcdeA", 8);
        std::set<std::string> expected;
        for (const std::string& word : headwords) {
            if (HalfEdits(FoldAscii(query.c_str()), FoldAscii(word.c_str())) <= 4 ||
                (SharesSound(query, word) && SoundsCloseEnough(query, word))) {
                expected.insert(word);
            }
        }
        std::vector<uint32_t> found = suggester.Suggest(query.c_str(), 1000);
        std::vector<std::string> words = Headwords(*data, found);
        EXPECT_EQ(expected, std::set<std::string>(words.begin(), words.end())) << query;
        EXPECT_EQ(words.size(), expected.size()) << query;  // no word twice
    }
}

TEST(SpellingSuggester, RanksTheMeantWordFirst) {
    std::vector<SearchWord> words = PlainWords(
        {"definitely", "defiantly", "definite", "phone", "fine", "one", "separate", "desperate",
         "the", "ten", "tea", "philosophy", "falsify", "receive", "relieve", "cat"});
    for (SearchWord& word : words) {
        if (word.headword != "tea") word.tier = 2;
        if (word.headword == "fine" || word.headword == "one") word.tagCount = 500;
    }
    std::unique_ptr<CSearchData> data = LoadBytes(WriteSearchBytes(words));
    ASSERT_NE(nullptr, data);
    CSpellingSuggester suggester(SearchSource{data.get(), nullptr});
    const char* cases[][2] = {{"definately", "definitely"},
                              {"fone", "phone"},
                              {"seperate", "separate"},
                              {"teh", "the"},
                              {"filosofy", "philosophy"},
                              {"recieve", "receive"},
                              {"CAT", "cat"}};
    for (auto& c : cases) {
        std::vector<std::string> best = Headwords(*data, suggester.Suggest(c[0], 3));
        ASSERT_FALSE(best.empty()) << c[0];
        EXPECT_EQ(c[1], best[0]) << c[0];
        EXPECT_LE(best.size(), 3u);
    }
    CProfanityFilter filter({"phone"});
    std::vector<std::string> filtered =
        Headwords(*data, CSpellingSuggester(SearchSource{data.get(), &filter}).Suggest("fone", 50));
    EXPECT_EQ(0, std::count(filtered.begin(), filtered.end(), "phone"));
    std::string tooLong(kMaxSearchText + 1, 'a');
    for (const char* word : {"", tooLong.c_str(), "\xff\xfe"}) {
        EXPECT_TRUE(suggester.Suggest(word, 5).empty()) << word;
    }
    EXPECT_TRUE(suggester.Suggest("cat", 0).empty());
}

TEST(SoundsLike, SameKeyMostCommonFirstWithoutTheWord) {
    std::vector<SearchWord> words = PlainWords({"phone", "fun", "fan", "Fone", "cat", "win"});
    words[1].tagCount = 40;  // fun
    words[2].tier = 1;       // fan
    words[5].tier = 2;       // win: FN only as its alternate key
    std::unique_ptr<CSearchData> data = LoadBytes(WriteSearchBytes(words));
    ASSERT_NE(nullptr, data);
    SearchSource all{data.get(), nullptr};
    EXPECT_EQ((std::vector<std::string>{"fan", "fun", "phone", "win"}),
              Headwords(*data, FindSoundsLike(all, "fone", 10)));
    EXPECT_EQ(std::vector<std::string>{"fan"}, Headwords(*data, FindSoundsLike(all, "fone", 1)));
    EXPECT_TRUE(FindSoundsLike(all, "--", 10).empty());
    EXPECT_TRUE(FindSoundsLike(all, "", 10).empty());
}

TEST(RandomWord, DrawsOnlyWordsWithSensesTheFilterLets) {
    std::vector<SearchWord> words = PlainWords({"a", "b", "c", "went"});
    words[3].senseCount = 0;
    std::unique_ptr<CSearchData> data = LoadBytes(WriteSearchBytes(words));
    ASSERT_NE(nullptr, data);
    CRandomWord picker(7);
    std::map<std::string, int> seen;
    for (int i = 0; i < 3000; ++i) {
        uint32_t index = picker.Pick(SearchSource{data.get(), nullptr});
        ASSERT_NE(CRandomWord::kNone, index);
        ++seen[data->Word(index)];
    }
    EXPECT_EQ(0, seen["went"]);
    for (const char* word : {"a", "b", "c"}) {
        EXPECT_NEAR(1000, seen[word], 150) << word;  // uniform within ~5 sigma
    }
    CProfanityFilter allButC({"a", "b"});
    EXPECT_STREQ("c", data->Word(picker.Pick(SearchSource{data.get(), &allButC})));
    CProfanityFilter everything({"a", "b", "c"});
    EXPECT_EQ(CRandomWord::kNone, picker.Pick(SearchSource{data.get(), &everything}));
}

// Common words are tagged words of the word lists; the word of the day is an
// everyday lower-case word of five letters or more, the same for a day, each
// candidate once before any returns, never one the filter names.
TEST(CommonWords, DrawsCommonWordsAndOneWordADay) {
    struct {
        const char* word;
        uint32_t tier, tags;
    } table[] = {{"house", 2, 50}, {"garden", 2, 40}, {"window", 2, 30}, {"river", 2, 20},
                 {"table", 2, 9},  {"often", 1, 3},   {"Paris", 2, 50},  {"these", 2, 65535},
                 {"cat", 2, 80},   {"zymurgy", 0, 0}, {"quern", 2, 0},   {"abaca", 0, 12}};
    std::vector<SearchWord> words;
    for (const auto& row : table) {
        words.push_back(PlainWords({row.word})[0]);
        words.back().tier = row.tier;
        words.back().tagCount = row.tags;
    }
    std::unique_ptr<CSearchData> data = LoadBytes(WriteSearchBytes(words));
    ASSERT_NE(nullptr, data);
    CCommonWords common(*data);
    CRandomWord picker(3);
    std::set<std::string> drawn;
    for (int i = 0; i < 400; ++i) {
        drawn.insert(
            data->Word(picker.PickAmong(common.Words(), SearchSource{data.get(), nullptr})));
    }
    EXPECT_EQ((std::set<std::string>{"house", "garden", "window", "river", "table", "often",
                                     "Paris", "these", "cat"}),
              drawn);
    std::set<std::string> days;
    for (int64_t day = -2; day < 3; ++day) {
        uint32_t today = common.OfDay(day, nullptr);
        ASSERT_NE(CCommonWords::kNone, today);
        EXPECT_EQ(today, common.OfDay(day, nullptr));
        EXPECT_EQ(today, common.OfDay(day + 5, nullptr)) << "a new round after every candidate";
        days.insert(data->Word(today));
    }
    EXPECT_EQ((std::set<std::string>{"house", "garden", "window", "river", "table"}), days);
    CProfanityFilter allButTable({"house", "garden", "window", "river"});
    for (int64_t day = 0; day < 5; ++day) {
        EXPECT_STREQ("table", data->Word(common.OfDay(day, &allButTable)));
    }
    CProfanityFilter everything({"house", "garden", "window", "river", "table"});
    EXPECT_EQ(CCommonWords::kNone, common.OfDay(7, &everything));
}
