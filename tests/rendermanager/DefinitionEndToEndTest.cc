// GetDefinition through the bridge of the real engine on a written database;
// the whole answer text is compared with one assembled here by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CatDictionary.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"

using namespace expected;

namespace {

// The HTML as a JSON string literal: only quotes need escaping here.
std::string Member(const char* name, const std::string& html) {
    std::string text = ",\n\"" + std::string(name) + "\":\"";
    for (char c : html) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + "\"";
}

}  // namespace

TEST(DefinitionEndToEnd, AnswersCarryTheFinishedViews) {
    lxtest::TestDatabase data;
    WriteCatDictionary(data);
    ASSERT_TRUE(data.Write());
    lxtest::EngineProcess engine(data.Path());
    std::ofstream(engine.AppDir() + "/data/IPA_to_IMG.txt") << kIPATable;
    ASSERT_TRUE(engine.Start());

    lxtest::HttpReply reply = engine.Request("GetDefinition", {"cats"});
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "{\"word\":\"cat\"" + Member("dictionary", CatDictionary()) +
                              Member("links", CatLinks()) + Member("thesaurus", CatThesaurus()) +
                              "}");

    // A sense number stays behind the headword the lookup found.
    const std::string senseFour = "{\"word\":\"cat:4\",\n\"singleSynset\":\"4\"" +
                                  Member("dictionary", CatDictionary()) +
                                  Member("links", CatLinks("an informal term for a youth")) +
                                  Member("thesaurus", CatThesaurus()) + "}";
    EXPECT_EQ(engine.Request("GetDefinition", {"cat:4"}).body, senseFour);
    EXPECT_EQ(engine.Request("GetDefinition", {"cats:4"}).body, senseFour);

    EXPECT_EQ(engine.Request("GetDefinition", {"dog"}).body,
              "{\"word\":\"dog\"" + Member("dictionary", DogDictionary()) + "}");
    EXPECT_EQ(engine.Request("GetDefinition", {"qqq"}).body,
              "{\"word\":\"qqq\",\"errorcode\":\"nodefinition\",\"error\":\"Lexora could not find "
              "definitions for \\\"qqq\\\".\"}");
    EXPECT_EQ(engine.Stop(), 0);
}
