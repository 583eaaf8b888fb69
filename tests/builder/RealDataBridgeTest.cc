// Definitions of the built dictionary as the web app receives them: through
// the real engine and its bridge. Skipped until the application directory
// holds a built dictionary.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/EngineProcess.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

TEST(RealDataBridge, SampleAnswersAreJsonWithTheirMembers) {
    const char* appdir = std::getenv("LEXORA_APPDIR");
    std::string data = std::string(appdir == nullptr ? "" : appdir) + "/data";
    if (appdir == nullptr || !Exists(data + "/wordnet.lxd")) {
        GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
    }
    lxtest::EngineProcess engine(data + "/wordnet.lxd");
    {
        std::ifstream in(data + "/IPA_to_IMG.txt", std::ios::binary);
        std::ofstream out(engine.AppDir() + "/data/IPA_to_IMG.txt", std::ios::binary);
        out << in.rdbuf();
    }
    ASSERT_TRUE(engine.Start());
    struct Case {
        const char* asked;
        const char* word;
        bool links, thesaurus;
    };
    const Case cases[] = {
        {"cat", "cat", true, true},        {"Cats", "cat", true, true},
        {"mice", "mouse", true, true},     {"stopped", "stopped", true, true},
        {"paris", "Paris", true, true},    {"the", "the", false, false},
        {"happiest", "happy", true, true}, {"Adam's apple", "Adam's apple", true, false},
    };
    for (const Case& c : cases) {
        lxtest::HttpReply reply = engine.Request("GetDefinition", {c.asked});
        ASSERT_EQ(reply.status, 200) << c.asked;
        nlohmann::json answer = nlohmann::json::parse(reply.body, nullptr, false);
        ASSERT_FALSE(answer.is_discarded()) << c.asked << ": " << reply.body.substr(0, 200);
        EXPECT_EQ(answer.value("word", ""), c.word) << c.asked;
        EXPECT_TRUE(answer.contains("dictionary")) << c.asked;
        EXPECT_EQ(answer.contains("links"), c.links) << c.asked;
        EXPECT_EQ(answer.contains("thesaurus"), c.thesaurus) << c.asked;
        EXPECT_FALSE(answer.contains("errorcode")) << c.asked;
    }
    lxtest::HttpReply single = engine.Request("GetDefinition", {"cat:2"});
    nlohmann::json answer = nlohmann::json::parse(single.body, nullptr, false);
    ASSERT_FALSE(answer.is_discarded());
    EXPECT_EQ(answer.value("singleSynset", ""), "2");
    lxtest::HttpReply missing = engine.Request("GetDefinition", {"qqqxz"});
    answer = nlohmann::json::parse(missing.body, nullptr, false);
    ASSERT_FALSE(answer.is_discarded());
    EXPECT_EQ(answer.value("errorcode", ""), "nodefinition");
    EXPECT_EQ(engine.Stop(), 0);
}

}  // namespace
