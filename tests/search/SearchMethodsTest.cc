// The search methods in process: argument checks on the calling thread,
// answers through the event loop to "Callback_" + name, the word filter, and
// the dictionary's companion search data. (The bridge passes every method
// alike; its rules are checked on the bridge alone.)

#include <nlohmann/json.hpp>
#include <set>

#include "db/Format.h"
#include "db/WordList.h"
#include "host/JsonAnswer.h"
#include "tests/host/HostFixture.h"
#include "tests/search/SearchFixture.h"

using nlohmann::json;

namespace {

class SearchMethodsTest : public HostTest {
protected:
    // ./data/wordnet.lxd with one sense per word, and (unless `withSearchData`
    // is false) its search data with `filtered` on the filter list; the words
    // are everyday words tagged ten times when `everyday`.
    void InstallDictionary(const std::vector<std::string>& words,
                           const std::vector<std::string>& filtered, bool withSearchData = true,
                           bool everyday = false) {
        lxtest::TestDatabase db;
        db.Words(words);
        HostTest::InstallDictionary(db);
        if (!withSearchData) return;
        CDictDatabase written;
        ASSERT_TRUE(written.Open("data/wordnet.lxd"));
        std::vector<SearchWord> plain = searchtest::PlainWords(words);
        for (SearchWord& word : plain) {
            word.tier = everyday ? 2 : 0;
            word.tagCount = everyday ? 10 : 0;
        }
        lxtest::WriteBytes("data/search.lxs",
                           searchtest::WriteSearchBytes(
                               plain, filtered, static_cast<uint32_t>(written.file->GetSize()),
                               written.wordList->GetEntryCount()));
    }

    static json AskJson(const std::string& method, const std::vector<std::string>& args) {
        return json::parse(AskOne(method, args), nullptr, false);
    }

    static json Words(const std::vector<std::string>& words) { return json(words); }
};

}  // namespace

TEST_F(SearchMethodsTest, RefusesWrongArgumentsWithScriptExceptions) {
    const std::string number = "wrong number", type = "wrong type";
    const struct {
        const char* method;
        std::vector<std::string> args;
        const std::string& exception;
    } cases[] = {{"GetSpellingSuggestions", {"cat"}, number},
                 {"GetSpellingSuggestions", {"cat", "5x"}, type},
                 {"GetSoundsLike", {"cat", "5", "x"}, number},
                 {"GetSoundsLike", {"cat", ""}, type},
                 {"GetWildcardWords", {"c*", "5"}, number},
                 {"GetWildcardWords", {"c*", "5x", ""}, type},
                 {"GetRandomWord", {"x"}, number},
                 {"GetCommonWord", {"x"}, number},
                 {"GetWordOfTheDay", {}, number},
                 {"GetWordOfTheDay", {"today"}, type},
                 {"SetWordFilter", {}, number},
                 {"SetWordFilter", {"2"}, type},
                 {"SetWordFilter", {"on"}, type}};
    for (const auto& c : cases) {
        pdlfake::CallResult call = pdlfake::Call(c.method, c.args);
        EXPECT_FALSE(call.result) << c.method;
        EXPECT_EQ(c.exception + " of parameters for " + c.method, call.exception);
    }
    SDL_Event event;
    EXPECT_EQ(0, SDL_PollEvent(&event));  // nothing was posted
    EXPECT_TRUE(pdlfake::Call("SetWordFilter", {"1"}).result);
    EXPECT_TRUE(IsWordFilterEnabled());
    EXPECT_TRUE(pdlfake::TakeScriptCalls().empty());  // no answer
}

TEST_F(SearchMethodsTest, AnswersDatabaseErrorWithoutADictionary) {
    for (const auto& call : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"GetSpellingSuggestions", {"cat", "5"}},
             {"GetSoundsLike", {"cat", "5"}},
             {"GetWildcardWords", {"c*", "5", ""}},
             {"GetRandomWord", {}},
             {"GetCommonWord", {}},
             {"GetWordOfTheDay", {"1"}}}) {
        EXPECT_EQ(json::parse(kDatabaseErrorAnswer), AskJson(call.first, call.second))
            << call.first;
    }
}

TEST_F(SearchMethodsTest, AnswersListsInTheAgreedShape) {
    InstallDictionary({"cat", "Cat", "cart", "dog", "phone", "kindness", "zebra"}, {"dog"});
    EXPECT_EQ((json{{"word", "kat"}, {"words", Words({"cat", "Cat"})}}),
              AskJson("GetSpellingSuggestions", {"kat", "2"}));
    json sounds = AskJson("GetSoundsLike", {"fone", "50"});
    EXPECT_EQ("fone", sounds["word"]);
    EXPECT_EQ(Words({"phone"}), sounds["words"]);
    EXPECT_EQ((json{{"word", "*"}, {"words", Words({"cart", "cat", "Cat"})}}),
              AskJson("GetWildcardWords", {"*", "3", ""}));
    EXPECT_EQ(Words({"dog", "kindness"}), AskJson("GetWildcardWords", {"*", "2", "Cat"})["words"]);
    json random = AskJson("GetRandomWord", {});
    ASSERT_TRUE(random.contains("word"));
    EXPECT_EQ(1u, random.size());

    // The filter leaves "dog" out of every list; a lookup by name still finds it.
    EXPECT_TRUE(pdlfake::Call("SetWordFilter", {"1"}).result);
    EXPECT_EQ(Words({"kindness", "phone"}),
              AskJson("GetWildcardWords", {"*", "2", "Cat"})["words"]);
    EXPECT_EQ(Words({}), AskJson("GetSpellingSuggestions", {"dog", "5"})["words"]);
    for (int i = 0; i < 50; ++i) EXPECT_NE("dog", AskJson("GetRandomWord", {})["word"]);
    EXPECT_TRUE(pdlfake::Call("SetWordFilter", {"0"}).result);
    EXPECT_EQ(Words({"dog"}), AskJson("GetSpellingSuggestions", {"dog", "1"})["words"]);
}

TEST_F(SearchMethodsTest, BadCountsAndTextsGiveEmptyLists) {
    InstallDictionary({"cat", "dog"}, {});
    std::string huge(5000, '*');
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"cat", "0"}, {"cat", "-3"}, {"", "5"}, {huge, "5"}, {"\xc3\xa9t\xc3\xa9", "5"}}) {
        EXPECT_EQ(Words({}), AskJson("GetSpellingSuggestions", args)["words"]) << args[1];
        EXPECT_EQ(Words({}), AskJson("GetSoundsLike", args)["words"]) << args[1];
        EXPECT_EQ(Words({}), AskJson("GetWildcardWords", {args[0], args[1], huge})["words"]);
    }
    // Huge counts are cut to the longest list a method answers.
    EXPECT_EQ(Words({"cat", "dog"}),
              AskJson("GetWildcardWords", {"*", "99999999999", ""})["words"]);
    EXPECT_EQ("\xc3\xa9t\xc3\xa9", AskJson("GetSoundsLike", {"\xc3\xa9t\xc3\xa9", "5"})["word"]);
}

TEST_F(SearchMethodsTest, MissingOrForeignSearchDataGivesEmptyLists) {
    InstallDictionary({"cat", "dog"}, {}, false);
    EXPECT_EQ(Words({}), AskJson("GetSpellingSuggestions", {"cat", "5"})["words"]);
    EXPECT_EQ("", AskJson("GetRandomWord", {})["word"]);
    // Search data of another dictionary is refused, then the right one is read.
    InstallDictionary({"cat", "dogs"}, {});
    std::filesystem::rename("data/search.lxs", "search.lxs");
    InstallDictionary({"cat", "dog"}, {}, false);
    std::filesystem::rename("search.lxs", "data/search.lxs");
    EXPECT_EQ(Words({}), AskJson("GetWildcardWords", {"*", "5", ""})["words"]);
}

// The word of the day leaves out the filter list even while the filter is
// off; the common draw leaves it out only while the filter is on.
TEST_F(SearchMethodsTest, WordOfTheDayIsNeverOnTheFilterList) {
    InstallDictionary({"garden", "window", "kindness", "cat"}, {"window"}, true, true);
    for (int day = -3; day < 10; ++day) {
        json today = AskJson("GetWordOfTheDay", {std::to_string(day)});
        EXPECT_EQ(day, today["day"]);
        EXPECT_TRUE(today["word"] == "garden" || today["word"] == "kindness") << today;
    }
    std::set<std::string> drawn;
    for (int i = 0; i < 60; ++i) drawn.insert(AskJson("GetCommonWord", {})["word"]);
    EXPECT_EQ((std::set<std::string>{"cat", "garden", "kindness", "window"}), drawn);
    EXPECT_TRUE(pdlfake::Call("SetWordFilter", {"1"}).result);
    for (int i = 0; i < 30; ++i) EXPECT_NE("window", AskJson("GetCommonWord", {})["word"]);
}
