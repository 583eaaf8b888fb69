// Everyday words on the dictionary built from the installed sources, asked
// through the real engine and its bridge as the web app asks: forms that are
// headwords of their own lead to their base, plurals in "-men" reach their
// singular, and words WordNet lacks are defined. Skipped until the
// application directory holds the data (./lexora builds it before ctest).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/EngineProcess.h"

namespace {

TEST(EverydayRealData, FormsLeadToTheirBaseAndEverydayWordsAreDefined) {
    const char* appdir = std::getenv("LEXORA_APPDIR");
    const std::string path = std::string(appdir == nullptr ? "" : appdir) + "/data/wordnet.lxd";
    struct stat info;
    if (appdir == nullptr || stat(path.c_str(), &info) != 0) {
        GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
    }
    lxtest::EngineProcess engine(path);
    ASSERT_TRUE(engine.Start());
    auto ask = [&](const char* word) {
        lxtest::HttpReply reply = engine.Request("GetDefinition", {word});
        nlohmann::json answer = nlohmann::json::parse(reply.body, nullptr, false);
        EXPECT_FALSE(answer.is_discarded() || answer.contains("errorcode")) << word;
        return answer;
    };
    const std::string link = "<a style=\"text-decoration: none; color: #2040C0; \" href=\"";
    const struct {
        const char *asked, *word, *note;
    } notes[] = {
        {"ate", "Ate", "past tense of "},
        {"said", "said", "past tense and past participle of "},
        {"saw", "saw", "past tense of "},
        {"years", "years", "plural of "},
    };
    const char* bases[] = {"eat", "say", "see", "year"};
    for (size_t i = 0; i < sizeof notes / sizeof notes[0]; ++i) {
        nlohmann::json answer = ask(notes[i].asked);
        EXPECT_EQ(answer.value("word", ""), notes[i].word);
        const std::string expected = std::string("<p class=\"formof\">") + notes[i].note + link +
                                     bases[i] + "\">" + bases[i] + "</a></p>";
        EXPECT_NE(answer.value("dictionary", "").find(expected), std::string::npos)
            << notes[i].asked;
    }
    for (const char* plural : {"women", "firemen", "gentlemen"}) {
        std::string singular = plural;
        singular.replace(singular.size() - 3, 3, "man");
        EXPECT_EQ(ask(plural).value("word", ""), singular);
    }
    for (const char* word : {"my", "how", "would", "something", "among", "amongst", "our",
                             "everyone", "whenever", "should", "could"}) {
        nlohmann::json answer = ask(word);
        EXPECT_NE(answer.value("dictionary", "").find("<li class=\"definition\">"),
                  std::string::npos)
            << word;
    }
    EXPECT_EQ(engine.Stop(), 0);
}

}  // namespace
