// Search by meaning: ranking on a small dictionary written for the test, the
// SearchDefinitions method through the plug-in double, and on the built
// dictionary, that every result opens the sense it names.

#include <algorithm>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "db/Format.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/MeaningIndexWriter.h"
#include "meaning/MeaningSearch.h"
#include "meaning/TermMaker.h"
#include "tests/host/HostFixture.h"

namespace {

struct TestSense {
    std::vector<std::string> members;
    std::string gloss;  // definition, then "$" and samples
    const char* headword;
    uint32_t flags;
    uint8_t commonness;
};

// A dictionary whose headwords each have one unrelated sense first, so that
// the senses searched are sense 2, and its meaning index written beside it.
// "arachnid" is a headword whose sense is not indexed.
class MeaningDictionary {
public:
    // Each of `alsoOpening` (headword, index into `senses`) is one more
    // headword whose second sense is that sense.
    // `vectors`: term vectors for the index.
    explicit MeaningDictionary(const std::vector<TestSense>& senses,
                               const std::vector<std::pair<std::string, size_t>>& alsoOpening = {},
                               std::unordered_map<std::string, std::vector<int8_t>> vectors = {}) {
        const uint32_t filler = db.Sense({{"filler"}, "nothing to find", {}});
        // Not indexed: its first sense only lends the synonym "spider".
        db.Word("arachnid",
                {{lxd::kKindNoun, db.Sense({{"arachnid", "spider"}, "arthropod", {}})}});
        for (const TestSense& sense : senses) {
            records.push_back(db.Sense({sense.members, sense.gloss, {}}));
            db.Word(sense.headword, {{lxd::kKindNoun, filler}, {lxd::kKindNoun, records.back()}});
        }
        for (const auto& [headword, sense] : alsoOpening) {
            db.Word(headword, {{lxd::kKindNoun, filler}, {lxd::kKindNoun, records[sense]}});
        }
        database = db.Open();
        CMeaningIndexWriter writer;
        uint32_t size = 0, check = 0;
        EXPECT_TRUE(CMeaningIndex::IdentifyDictionary(database.get(), &size, &check));
        writer.SetDictionary(size, check);
        CTermMaker maker(database.get());
        for (size_t i = 0; i < senses.size(); ++i) {
            const TestSense& sense = senses[i];
            size_t member = 0;
            while (member < sense.members.size() && sense.members[member] != sense.headword) {
                ++member;
            }
            writer.AddSense(
                {records[i] | sense.flags, static_cast<uint8_t>(member + 1), 2, sense.commonness});
            const size_t dollar = sense.gloss.find('$');
            Add(maker, writer, sense.gloss.substr(0, dollar), lxm::kFieldGloss);
            if (dollar != std::string::npos) {
                Add(maker, writer, sense.gloss.substr(dollar + 1), lxm::kFieldSample);
            }
            for (const std::string& word : sense.members) {
                Add(maker, writer, word, lxm::kFieldMember);
            }
        }
        writer.SetTermVectors(std::move(vectors));
        EXPECT_TRUE(writer.WriteFile(db.Dir() + "/data/meaning.lxm"));
        EXPECT_TRUE(index.Open((db.Dir() + "/data/meaning.lxm").c_str(), database.get()));
    }

    // The words of the results for `text`, each with ":" and its sense number
    // when `withSense`.
    std::vector<std::string> Words(const char* text, size_t count = 10, bool withSense = false) {
        CMeaningSearch search(database.get(), &index);
        bool cut = false;
        std::vector<std::string> words;
        for (const MeaningResult& result : search.Search(text, count, &cut)) {
            words.push_back(result.word + (withSense ? ":" + std::to_string(result.sense) : ""));
        }
        return words;
    }

    lxtest::TestDatabase db;
    std::unique_ptr<CDictDatabase> database;
    CMeaningIndex index;

private:
    static void Add(CTermMaker& maker, CMeaningIndexWriter& writer, const std::string& text,
                    uint32_t field) {
        maker.Split(text.data(), text.size(), [&](const WordTerms& word) {
            writer.AddTerm(word.form, field);
            writer.AddTerm(word.base, field);
            return true;
        });
    }
    std::vector<uint32_t> records;
};

constexpr uint32_t kNoun = lxm::kSenseNoun;

const std::vector<TestSense> kSenses = {
    {{"arachnophobia"}, "a morbid fear of spiders", "arachnophobia", kNoun, 0},
    {{"spider"},
     "predatory arachnid with eight legs$children fear the spider",
     "spider",
     kNoun,
     90},
    {{"fright", "fear"}, "an emotion experienced in anticipation of danger", "fear", kNoun, 60},
    {{"Spiderman"}, "a hero who fears no spider", "Spiderman", lxm::kSenseProperName, 0},
    {{"kitten", "kitty"}, "young domestic cat", "kitten", kNoun, 20},
    {{"kitty"}, "the cat of a young child", "kitty", kNoun, 0},
    {{"tom", "tomcat"}, "male cat", "tomcat", kNoun, 0},
    {{"cost"}, "a price of \uFF045 paid$it cost a lot", "cost", kNoun, 0},
};

TEST(MeaningSearchTest, RanksSensesByTheWordsTheyHold) {
    MeaningDictionary dictionary(kSenses);
    struct Case {
        const char* text;
        std::vector<std::string> first;  // the first results, in order
    };
    const Case cases[] = {
        // All words in the definition first; "spiders" finds spider.
        {"fear of spiders", {"arachnophobia"}},
        // A name comes after a word; the sense the query word names, last.
        {"spider", {"arachnophobia", "Spiderman", "spider"}},
        // Both words held beats one word held twice; shorter first.
        {"a young cat", {"kitten", "kitty", "tomcat"}},
        // A member names its sense.
        {"tomcat", {"tomcat"}},
        // A word no sense holds finds those holding a synonym of it.
        {"arachnid", {"spider", "arachnophobia"}},
        {"the of and", {}},
        {"", {}},
        {"xyzzy", {}},
        {"\xE2\x98\x83 \xFF\xFE", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = dictionary.Words(c.text);
        words.resize(std::min(words.size(), c.first.size()));
        EXPECT_EQ(c.first, words) << c.text;
    }
    EXPECT_EQ(1u, dictionary.Words("cat", 1).size());
}

// A result whose headword is a word of the description is shown under another
// member of its sense that opens it, or ranked below the others when its sense
// has no such member; unnamed results keep their order.
TEST(MeaningSearchTest, ResultsNamedByTheQueryShowAnotherMemberOrComeLast) {
    MeaningDictionary dictionary(
        {{{"two weeks", "fortnight"}, "a period of fourteen days", "two weeks", kNoun, 0},
         {{"wolf pack"}, "a group", "wolf pack", kNoun, 0},
         {{"pack"}, "a wolf group hunting together", "pack", kNoun, 0},
         {{"farmer", "husbandman"}, "a person who runs a farm", "farmer", kNoun, 0},
         {{"farm"}, "land for crops", "farm", kNoun, 0}},
        {{"fortnight", 0}, {"husbandman", 3}});
    EXPECT_EQ(std::vector<std::string>{"fortnight:2"},
              dictionary.Words("a period of two weeks", 10, true));
    // "farmer" is no form of farm: it is not named by the query.
    EXPECT_EQ((std::vector<std::string>{"farmer:2", "farm:2"}),
              dictionary.Words("runs a farm", 10, true));
    // Both hold every word, but "wolf pack" names one and has no other
    // member: it comes after pack, whose words weigh less.
    for (const char* text : {"group wolf", "hunting group"}) {
        EXPECT_EQ((std::vector<std::string>{"pack:2", "wolf pack:2"}),
                  dictionary.Words(text, 10, true))
            << text;
    }
}

// Term vectors raise the senses whose words lie near the query's: the tomcat,
// all of whose words point where "cat" does, comes before the kitten.
TEST(MeaningSearchTest, TermVectorsRaiseTheSensesNearTheQuery) {
    const std::vector<int8_t> catlike = {127, 0}, young = {0, 127};
    const std::vector<std::string> order = {"kitten", "kitty", "tomcat"};
    EXPECT_EQ(order, MeaningDictionary(kSenses).Words("cat"));
    MeaningDictionary dictionary(kSenses, {},
                                 {{"cat", catlike},
                                  {"male", catlike},
                                  {"tom", catlike},
                                  {"tomcat", catlike},
                                  {"young", young},
                                  {"kitten", young},
                                  {"kitty", young},
                                  {"domestic", young},
                                  {"child", young}});
    EXPECT_EQ((std::vector<std::string>{"tomcat", "kitten", "kitty"}), dictionary.Words("cat"));
}

TEST(MeaningSearchTest, LongQueriesAreCutAndSaidToBe) {
    MeaningDictionary dictionary(kSenses);
    CMeaningSearch search(dictionary.database.get(), &dictionary.index);
    struct Case {
        std::string text;
        bool cut;
        size_t results;
    };
    const std::string manyWords = "spider w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11 kitten";
    const Case cases[] = {
        {"fear of spiders", false, 4},
        {std::string(CMeaningSearch::kMaxQueryBytes, ' ') + "spider", true, 0},
        {std::string(CMeaningSearch::kMaxQueryBytes - 3, ' ') + "spider", true, 0},  // not "spi"
        {std::string(CMeaningSearch::kMaxQueryBytes - 7, ' ') + "spider", false, 3},
        {std::string(100000, 'a'), true, 0},
        {manyWords, true, 3},  // the twelfth term is not searched: no kitten
    };
    for (const Case& c : cases) {
        bool cut = !c.cut;
        std::vector<MeaningResult> results = search.Search(c.text.c_str(), 10, &cut);
        EXPECT_EQ(c.cut, cut) << c.text.size();
        EXPECT_EQ(c.results, results.size()) << c.text.size();
    }
}

// SearchDefinitions through the plug-in double and the event loop.
class SearchMethodTest : public HostTest {
protected:
    static std::string Ask(const std::vector<std::string>& args) {
        return AskOne("SearchDefinitions", args);
    }
};

TEST_F(SearchMethodTest, AnswersOrRefusesEachCall) {
    MeaningDictionary dictionary(kSenses);
    lxtest::WorkingDirectory cwd(dictionary.db.Dir());
    struct Case {
        std::vector<std::string> args;
        std::string answer;
    };
    const Case cases[] = {
        {{"fear of \"spiders\"", "1"},
         "{\"text\":\"fear of \\\"spiders\\\"\",\"results\":[\n{\"word\":\"arachnophobia\","
         "\"sense\":2,\"gloss\":\"a morbid fear of spiders\",\"pos\":\"noun\"}]}"},
        // The sense's plain definition: no sample, '$' restored.
        {{"price paid", "5"},
         "{\"text\":\"price paid\",\"results\":[\n{\"word\":\"cost\",\"sense\":2,\"gloss\":"
         "\"a price of $5 paid\",\"pos\":\"noun\"}]}"},
        // The sense's other members come with it.
        {{"male cat", "1"},
         "{\"text\":\"male cat\",\"results\":[\n{\"word\":\"tomcat\",\"sense\":2,\"gloss\":"
         "\"male cat\",\"pos\":\"noun\",\"also\":[\"tom\"]}]}"},
        {{"of the", "5"}, "{\"text\":\"of the\",\"results\":[]}"},
        {{"spider", "0"}, "exception: count out of range for SearchDefinitions (1 to 100)"},
        {{"spider", "-3"}, "exception: count out of range for SearchDefinitions (1 to 100)"},
        {{"spider", "101"}, "exception: count out of range for SearchDefinitions (1 to 100)"},
        {{"spider"}, "exception: wrong number of parameters for SearchDefinitions"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.answer, Ask(c.args));
    const std::string cut = Ask({std::string(600, 'x') + " spider", "5"});
    EXPECT_NE(std::string::npos, cut.find("],\"truncated\":true}")) << cut;
}

TEST_F(SearchMethodTest, ReportsMissingDataAndRetries) {
    MeaningDictionary dictionary(kSenses);
    lxtest::WorkingDirectory cwd(dictionary.db.Dir());
    const std::string index = "data/meaning.lxm";
    std::filesystem::rename(index, "kept.lxm");
    EXPECT_NE(std::string::npos, Ask({"spider", "3"}).find("\"errorcode\":\"searcherror\""));
    std::filesystem::rename("kept.lxm", index);
    EXPECT_NE(std::string::npos, Ask({"spider", "3"}).find("\"word\":\"spider\""));
    ReleaseEngine();
    std::filesystem::rename("data/wordnet.lxd", "kept.lxd");
    EXPECT_NE(std::string::npos, Ask({"spider", "3"}).find("databaseerror"));
    // An index built for another dictionary is not used.
    lxtest::TestDatabase other;
    other.Word("other", {{lxd::kKindNoun, other.Line("another word")}});
    ASSERT_TRUE(other.WriteTo("data/wordnet.lxd"));
    EXPECT_NE(std::string::npos, Ask({"spider", "3"}).find("\"errorcode\":\"searcherror\""));
}

// On the built dictionary: while the filter is on, results are offensive in
// neither their word nor their sense, and others take their places.
TEST_F(SearchMethodTest, TheFilterLeavesOffensiveResultsOut) {
    const char* appdir = std::getenv("LEXORA_APPDIR");
    if (appdir == nullptr || !lxtest::PathExists(std::string(appdir) + "/data/search.lxs")) {
        GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
    }
    lxtest::WorkingDirectory cwd(appdir);
    auto obscene = [](const nlohmann::json& answer) {
        int count = 0;
        for (const auto& result : answer["results"]) {
            count += result["gloss"].get<std::string>().rfind("obscene terms", 0) == 0 ? 1 : 0;
        }
        return count;
    };
    EXPECT_GE(obscene(nlohmann::json::parse(Ask({"obscene terms", "10"}))), 3);
    EXPECT_TRUE(pdlfake::Call("SetWordFilter", {"1"}).result);
    const nlohmann::json filtered = nlohmann::json::parse(Ask({"obscene terms", "10"}));
    EXPECT_EQ(0, obscene(filtered)) << filtered;
    EXPECT_EQ(10u, filtered["results"].size());
    EXPECT_TRUE(pdlfake::Call("SetWordFilter", {"0"}).result);
}

// On the built dictionary: every result opens its own sense.
TEST_F(SearchMethodTest, RealResultsOpenTheirSense) {
    const char* appdir = std::getenv("LEXORA_APPDIR");
    if (appdir == nullptr || !lxtest::PathExists(std::string(appdir) + "/data/meaning.lxm")) {
        GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
    }
    lxtest::WorkingDirectory cwd(appdir);
    const nlohmann::json found = nlohmann::json::parse(Ask({"fear of spiders", "10"}));
    ASSERT_FALSE(found["results"].empty());
    EXPECT_EQ("arachnophobia", found["results"][0]["word"]);
    for (const char* text : {"a young cat", "person who studies birds", "to make less severe"}) {
        const nlohmann::json answer = nlohmann::json::parse(Ask({text, "10"}));
        for (const auto& result : answer["results"]) {
            const std::string word = result["word"].get<std::string>() + ":" +
                                     std::to_string(result["sense"].get<int>());
            const nlohmann::json definition =
                nlohmann::json::parse(AskOne("GetDefinition", {word}));
            EXPECT_EQ(word, definition.value("word", "")) << text;
            EXPECT_NE(std::string::npos,
                      definition.value("links", "").find(result["gloss"].get<std::string>()))
                << word;
        }
    }
}

}  // namespace
