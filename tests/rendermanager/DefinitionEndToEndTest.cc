// GetDefinition through the bridge of the real engine on a written database;
// the whole answer text is compared with one assembled here by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CatDatabase.h"
#include "ExpectedHtml.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"

using namespace expected;

namespace {

// The HTML as a JSON string literal: only quotes need escaping here.
std::string Quoted(const std::string& html) {
    std::string text = "\"";
    for (char c : html) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + "\"";
}

}  // namespace

TEST(DefinitionEndToEnd, AnswersCarryTheFinishedViews) {
    lxtest::TestDatabase data;
    WriteCatDictionary(data, "");
    ASSERT_TRUE(data.Write());
    lxtest::EngineProcess engine(data.Path());
    std::ofstream(engine.AppDir() + "/data/IPA_to_IMG.txt") << kSchwaRow;
    ASSERT_TRUE(engine.Start());

    lxtest::HttpReply reply = engine.Request("GetDefinition", {"cats"});
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "{\"word\":\"cat\",\n\"dictionary\":" + Quoted(CatDictionary()) +
                              ",\n\"links\":" + Quoted(CatLinks()) + "}");

    // A sense number stays behind the headword the lookup found.
    const std::string senseFour =
        "{\"word\":\"cat:4\",\n\"singleSynset\":\"4\",\n\"dictionary\":" + Quoted(CatDictionary()) +
        ",\n\"links\":" + Quoted(CatSenseFourLinks()) + "}";
    EXPECT_EQ(engine.Request("GetDefinition", {"cat:4"}).body, senseFour);
    EXPECT_EQ(engine.Request("GetDefinition", {"cats:4"}).body, senseFour);

    reply = engine.Request("GetDefinition", {"dog"});
    EXPECT_EQ(reply.body, "{\"word\":\"dog\",\n\"dictionary\":" +
                              Quoted(kOpening + "dog" + kSpeaker +
                                     "</p><p class=\"wordtype\">noun</p><ol><li "
                                     "class=\"definition\">a canine</li></ol></div>") +
                              "}");

    reply = engine.Request("GetDefinition", {"qqq"});
    EXPECT_EQ(reply.body,
              "{\"word\":\"qqq\",\"errorcode\":\"nodefinition\",\"error\":\"Lexora could not find "
              "definitions for \\\"qqq\\\".\"}");
    EXPECT_EQ(engine.Stop(), 0);
}
