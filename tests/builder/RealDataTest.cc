// Checks on the dictionary built from the installed sources, directly and as
// the web app receives it through the real engine and its bridge; skipped
// until the application directory holds one (./lexora builds it before ctest).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/SmartFile.h"
#include "db/Trie.h"
#include "db/WordList.h"
#include "search/CommonWords.h"
#include "search/ProfanityFilter.h"
#include "search/SearchData.h"
#include "search/SoundsLike.h"
#include "search/SpellingSuggester.h"
#include "tests/support/EngineProcess.h"

namespace {

class RealData : public ::testing::Test {
protected:
    void SetUp() override {
        const char* appdir = std::getenv("LEXORA_APPDIR");
        data = std::string(appdir == nullptr ? "" : appdir) + "/data";
        path = data + "/wordnet.lxd";
        struct stat info;
        if (appdir == nullptr || stat(path.c_str(), &info) != 0) {
            GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
        }
        ASSERT_TRUE(database.Open(path.c_str()));
    }
    std::string data, path;
    CDictDatabase database;
};

TEST_F(RealData, EveryWordNetLemmaIsAHeadwordOrACaseVariantAndTheFileFitsItsBudget) {
    long lemmas = 0;
    std::vector<std::string> missing;
    for (const char* pos : {"noun", "verb", "adj", "adv"}) {
        std::ifstream index(std::string("/usr/share/wordnet/index.") + pos);
        ASSERT_TRUE(index) << "wordnet-base is not installed";
        for (std::string line; std::getline(index, line);) {
            if (line.empty() || line[0] == ' ') continue;
            std::string lemma = line.substr(0, line.find(' '));
            std::replace(lemma.begin(), lemma.end(), '_', ' ');
            char key[lxd::kKeyBufferSize];
            std::strcpy(key, lemma.c_str());
            uint32_t position = database.wordList->FindWord(key, 1, true);
            uint32_t refs[4];
            if (position == 0 || database.wordList->GetRecordRefs(position, refs, 4) == 0) {
                missing.push_back(lemma);
            }
            ++lemmas;
        }
    }
    EXPECT_GT(lemmas, 140000);
    EXPECT_TRUE(missing.empty()) << missing.size() << " lemmas missing, first: " << missing[0];

    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_LE(info.st_size, 16500000) << "the file's size budget";
}

TEST_F(RealData, SampleAnswersAreJsonWithTheirMembersFormNotesAndEverydayWords) {
    lxtest::EngineProcess engine(data + "/wordnet.lxd");
    {
        std::ifstream in(data + "/IPA_to_IMG.txt", std::ios::binary);
        std::ofstream out(engine.AppDir() + "/data/IPA_to_IMG.txt", std::ios::binary);
        out << in.rdbuf();
    }
    ASSERT_TRUE(engine.Start());
    // Words the lookup rules or a redirect lead elsewhere ("stopped" is an
    // adjective headword of its own); forms that are headwords of their own,
    // which name their base in a linked line; plurals in "-men"; the parts of
    // speech WordNet lacks. `views`: "lt" links and thesaurus, "l" links
    // only, "" neither, null unchecked. `html`: a piece of the dictionary view.
    const std::string link = "<a style=\"text-decoration: none; color: #2040C0; \" href=\"";
    const std::string formOf = "<p class=\"formof\">";
    const struct {
        const char *asked, *word, *views;
        std::string html;
    } cases[] = {
        {"cat", "cat", "lt", ""},
        {"Cats", "cat", "lt", ""},
        {"mice", "mouse", "lt", ""},
        {"stopped", "stopped", "lt", ""},
        {"paris", "Paris", "lt", ""},
        {"the", "the", "", ""},
        {"happiest", "happy", "lt", ""},
        {"happy", "happy", nullptr, "<p class=\"pron\">"},
        {"Adam's apple", "Adam's apple", "l", ""},
        {"went", "go", nullptr, ""},
        {"matchboxes", "matchbox", nullptr, ""},
        {"saves", "save", nullptr, ""},
        {"does", "do", nullptr, ""},
        {"cutest", "cute", nullptr, ""},
        {"ate", "Ate", nullptr, formOf + "past tense of " + link + "eat\">eat</a></p>"},
        {"said", "said", nullptr,
         formOf + "past tense and past participle of " + link + "say\">say</a></p>"},
        {"saw", "saw", nullptr, formOf + "past tense of " + link + "see\">see</a></p>"},
        {"years", "years", nullptr, formOf + "plural of " + link + "year\">year</a></p>"},
        {"women", "woman", nullptr, ""},
        {"firemen", "fireman", nullptr, ""},
        {"gentlemen", "gentleman", nullptr, ""},
    };
    auto ask = [&](const char* asked) {
        lxtest::HttpReply reply = engine.Request("GetDefinition", {asked});
        EXPECT_EQ(reply.status, 200) << asked;
        nlohmann::json answer = nlohmann::json::parse(reply.body, nullptr, false);
        EXPECT_FALSE(answer.is_discarded()) << asked << ": " << reply.body.substr(0, 200);
        EXPECT_FALSE(answer.contains("errorcode")) << asked;
        EXPECT_NE(answer.value("dictionary", "").find("<li class=\"definition\">"),
                  std::string::npos)
            << asked;
        return answer;
    };
    for (const auto& c : cases) {
        nlohmann::json answer = ask(c.asked);
        EXPECT_EQ(answer.value("word", ""), c.word) << c.asked;
        EXPECT_NE(answer.value("dictionary", "").find(c.html), std::string::npos) << c.asked;
        if (c.views == nullptr) continue;
        EXPECT_EQ(answer.contains("links"), strchr(c.views, 'l') != nullptr) << c.asked;
        EXPECT_EQ(answer.contains("thesaurus"), strchr(c.views, 't') != nullptr) << c.asked;
    }
    for (const char* word : {"which", "and", "of", "my", "how", "would", "something", "among",
                             "amongst", "our", "everyone", "whenever", "should", "could"}) {
        EXPECT_EQ(ask(word).value("word", ""), word);
    }
    // Interjections open the words people mostly use as such; a contraction,
    // typed with either apostrophe, links each word of what it stands for.
    const std::string heading = "<p class=\"wordtype\">";
    for (const char* word : {"oh", "wow", "yeah", "um", "please", "well"}) {
        const std::string html = ask(word).value("dictionary", "");
        EXPECT_EQ(html.find(heading), html.find(heading + "interjection")) << word;
    }
    for (const char* typed : {"don't", "don\u2019t"}) {
        nlohmann::json contraction =
            nlohmann::json::parse(engine.Request("GetDefinition", {typed}).body, nullptr, false);
        EXPECT_EQ(contraction.value("word", ""), "don't");
        EXPECT_NE(
            contraction.value("dictionary", "")
                .find(formOf + "contraction of " + link + "do\">do</a> " + link + "not\">not</a>"),
            std::string::npos);
    }
    // Everyday words open with the part of speech and the sense people mean.
    for (const auto& opening : {std::pair<const char*, const char*>{"come", "verb&nbsp;"},
                                {"the", "article</p><ol><li class=\"definition\">A word placed"},
                                {"me", "pronoun</p><ol><li class=\"definition\">The person"},
                                {"I", "pronoun</p>"},
                                {"but", "conjunction</p>"},
                                {"cause", "verb&nbsp;"}}) {
        const std::string view = ask(opening.first).value("dictionary", "");
        EXPECT_EQ(view.find("<p class=\"wordtype\">" + std::string(opening.second)),
                  view.find("<p class=\"wordtype\">"))
            << opening.first;
    }
    nlohmann::json answer = ask("cat:2");
    EXPECT_EQ(answer.value("singleSynset", ""), "2");
    EXPECT_TRUE(answer.contains("links"));
    const std::string missing = engine.Request("GetDefinition", {"qqqxz"}).body;
    EXPECT_NE(missing.find("\"errorcode\":\"nodefinition\""), std::string::npos) << missing;
    EXPECT_EQ(engine.Stop(), 0);
}

TEST_F(RealData, SearchDataAnswersAsPromised) {
    CSmartFile file;
    ASSERT_TRUE(file.Open((data + "/search.lxs").c_str()));
    CSearchData search;
    ASSERT_TRUE(search.Load(&file, static_cast<uint32_t>(database.file->GetSize()),
                            database.wordList->GetEntryCount()));
    EXPECT_GT(search.WordCount(), 150000u);
    EXPECT_GT(search.FilterWords().size(), 50u);
    SearchSource all{&search, nullptr};
    CSpellingSuggester suggester(all);
    const char* meant[][2] = {{"definately", "definitely"},
                              {"filosofy", "philosophy"},
                              {"recieve", "receive"},
                              {"kwik", "quick"},
                              {"teh", "the"},
                              {"dont", "don't"},
                              {"im", "I'm"},
                              {"cat", "cat"}};
    for (auto& pair : meant) {
        std::vector<uint32_t> best = suggester.Suggest(pair[0], 1);
        ASSERT_EQ(1u, best.size()) << pair[0];
        EXPECT_STREQ(pair[1], search.Word(best[0])) << pair[0];
    }
    std::vector<std::string> sounds;
    for (uint32_t index : FindSoundsLike(all, "fone", 50)) sounds.push_back(search.Word(index));
    EXPECT_NE(sounds.end(), std::find(sounds.begin(), sounds.end(), "phone"));
    for (const char* word : {"nosuchwordzz", "qxzvkw", "zzzzqqq"}) {
        EXPECT_TRUE(suggester.Suggest(word, 5).empty()) << word;
    }

    // The filter list holds offensive words, their forms and compounds, but
    // not the clean words that merely hold their letters.
    CProfanityFilter filter(search.FilterWords());
    for (const char* word : {"fuck", "fucking", "fuck off", "fucker", "fuckhead", "motherfucker",
                             "shit", "bullshit", "shitty", "cunt", "nigger", "kike", "wetback"}) {
        EXPECT_TRUE(filter.IsFiltered(word)) << word;
    }
    for (const char* word :
         {"woodpecker", "cocktail", "Dickens", "snigger", "shittah", "saltwater", "Cushitic",
          "arsenal", "Guinea", "boy", "screw", "taco", "doo-wop", "spice", "raccoon", "tycoon"}) {
        EXPECT_FALSE(filter.IsFiltered(word)) << word;
    }

    // A year of words of the day: each a different everyday word, none offensive.
    CCommonWords common(search);
    std::set<uint32_t> days;
    for (int64_t day = 20000; day < 20365; ++day) {
        uint32_t today = common.OfDay(day, &filter);
        ASSERT_NE(CCommonWords::kNone, today);
        EXPECT_EQ(2u, search.Tier(today)) << search.Word(today);
        EXPECT_FALSE(filter.IsFiltered(search.Word(today)));
        days.insert(today);
    }
    EXPECT_EQ(365u, days.size());
}

}  // namespace
