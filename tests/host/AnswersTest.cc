#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <random>

#include "db/Format.h"
#include "host/DictionaryAnswers.h"
#include "host/JsonAnswer.h"
#include "tests/host/HostFixture.h"
#include "tests/support/ScriptAnswer.h"

const char kDatabaseError[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

namespace {

template <typename Writer>
std::string Written(Writer write) {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    write(out);
    fclose(out);
    std::string result(text, size);
    free(text);
    return result;
}

std::string Json(const char* text) {
    return Written([&](FILE* out) { WriteJsonString(text, out); });
}

DictRecordRef Sense(lxtest::TestDatabase& db, uint32_t kind, const std::string& member,
                    const std::string& gloss) {
    DictSense sense;
    sense.members = {member};
    sense.gloss = gloss;
    return {kind, db.Sense(sense)};
}

void AddWords(lxtest::TestDatabase& db) {
    db.Word("cat", {Sense(db, lxd::kKindNoun, "cat", "feline mammal")});
    db.Word("catalog", {Sense(db, lxd::kKindNoun, "catalog", "a list of items")});
    db.Word("catch", {Sense(db, lxd::kKindVerb, "catch", "take hold of")});
    db.Word("Paris", {Sense(db, lxd::kKindNoun, "Paris", "the capital of France"),
                      Sense(db, lxd::kKindNoun, "Paris", "a prince of Troy")});
}

TEST(JsonString, EscapesWhatJsonNeedsAndPassesTheRest) {
    EXPECT_EQ("\"a\\t\\\"\\u0001\xC3\xA9\"", Json("a\t\"\x01\xC3\xA9"));
    EXPECT_EQ("\"\\b\\n\\f\\r\\\\\\u001b\\u001f\"", Json("\b\n\f\r\\\x1B\x1F"));
    EXPECT_EQ("\"/\x7F \xFF\"", Json("/\x7F \xFF"));
    EXPECT_EQ("\"\"", Json(""));
    EXPECT_EQ("", Json(nullptr));
    // Every escaped form is one a JSON parser reads back to the same bytes.
    std::string control;
    for (int c = 1; c < 0x20; ++c) control += static_cast<char>(c);
    EXPECT_EQ(control, nlohmann::json::parse(Json(control.c_str())).get<std::string>());
}

TEST(JsonString, LongMixedTextRoundTrips) {
    // Plain runs of every length between escapes, UTF-8 of two to four bytes,
    // and escapes at the very start and end.
    std::mt19937 random(3);
    const char* pieces[] = {"\"",
                            "\\",
                            "\n",
                            "\x01",
                            "\x1F",
                            "\xC3\xA9",
                            "\xE2\x82\xAC",
                            "\xF0\x9F\x98\x80",
                            "<a href=\"x\">",
                            "/",
                            "\x7F"};
    std::string text = "\t";
    while (text.size() < 60000) {
        text += std::string(random() % 300, static_cast<char>('a' + random() % 26));
        text += pieces[random() % 11];
    }
    text += "\r";
    const std::string json = Json(text.c_str());
    EXPECT_EQ(text, nlohmann::json::parse(json).get<std::string>());
    const std::string plain(5000, 'q');
    EXPECT_EQ("\"" + plain + "\"", Json(plain.c_str()));
}

TEST(IndexWordSink, CountsWordsAfterWritingThem) {
    auto list = [](int32_t count, int offered) {
        return Written([&](FILE* out) {
            IndexWordSink sink{true, count, out};
            const char* words[] = {"cat", "catalog", "catch"};
            for (int i = 0; i < offered; ++i) {
                if (AddIndexWord(&sink, words[i], 0) != 1) break;
            }
        });
    };
    EXPECT_EQ("\"cat\"", list(0, 3));
    EXPECT_EQ("\"cat\"", list(1, 3));
    EXPECT_EQ("\"cat\",\"catalog\"", list(2, 3));
    EXPECT_EQ("\"cat\",\"catalog\",\"catch\"", list(5, 3));
}

TEST_F(HostTest, MissingDatabaseAnswersErrorUntilTheFileAppears) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(kDatabaseError, AskOne("GetDefinition", {"cat"}));
        EXPECT_EQ(kDatabaseError, AskOne("GetIndexWords", {"cat", "3", "1", "0"}));
        EXPECT_EQ(kDatabaseError, AskOne("GetManagedWords", {"recent"}));
    }
    // A file that is not a dictionary fails the same way.
    lxtest::WriteTextFile("data/wordnet.lxd", std::string(64, 'x'));
    EXPECT_EQ(kDatabaseError, AskOne("GetDefinition", {"cat"}));

    lxtest::TestDatabase db;
    AddWords(db);
    InstallDictionary(db);
    EXPECT_EQ("{\"anchor\":\"cat\",\"forward\":\"1\",\"words\":[\n\"cat\",\"catalog\",\"catch\"]}",
              AskOne("GetIndexWords", {"cat", "3", "1", "0"}));
}

TEST_F(HostTest, IndexAnswerShowsOnlyTheForwardFlag) {
    lxtest::TestDatabase db;
    AddWords(db);
    InstallDictionary(db);
    EXPECT_EQ("{\"anchor\":\"cat\",\"forward\":\"1\",\"words\":[\n\"catalog\"]}",
              AskOne("GetIndexWords", {"cat", "0", "1", "1"}));
    EXPECT_EQ("{\"anchor\":\"catch\",\"forward\":\"0\",\"words\":[\n\"catalog\",\"cat\"]}",
              AskOne("GetIndexWords", {"catch", "2", "0", "1"}));
    EXPECT_EQ("{\"anchor\":\"zzz\",\"forward\":\"1\",\"words\":[\n]}",
              AskOne("GetIndexWords", {"zzz", "5", "1", "0"}));
}

TEST_F(HostTest, UnknownWordsGetTheNoDefinitionAnswer) {
    lxtest::TestDatabase db;
    AddWords(db);
    InstallDictionary(db);
    EXPECT_EQ(
        "{\"word\":\"qqq\",\"errorcode\":\"nodefinition\",\"error\":\"Lexora could not find "
        "definitions for \\\"qqq\\\".\"}",
        AskOne("GetDefinition", {"qqq"}));

    // Quotes and control bytes stay valid JSON in both places.
    nlohmann::json odd = nlohmann::json::parse(AskOne("GetDefinition", {"a\"b\\c\x01"}));
    EXPECT_EQ("a\"b\\c\x01", odd["word"]);
    EXPECT_EQ("Lexora could not find definitions for \"a\"b\\c\x01\".", odd["error"]);

    // Words too long for the working buffer are answered as received, never cut.
    for (size_t length : {56u, 57u, 200u}) {
        std::string word = "cat" + std::string(length - 3, 'x');
        nlohmann::json answer = nlohmann::json::parse(AskOne("GetDefinition", {word}));
        EXPECT_EQ(word, answer["word"]);
        EXPECT_EQ("nodefinition", answer["errorcode"]);
    }
    std::string longSense = "cat:" + std::string(60, '1');
    EXPECT_EQ("nodefinition",
              nlohmann::json::parse(AskOne("GetDefinition", {longSense}))["errorcode"]);
}

TEST_F(HostTest, FoundWordsAnswerWithTheHeadwordAndSense) {
    lxtest::TestDatabase db;
    AddWords(db);
    InstallDictionary(db);
    nlohmann::json cats = nlohmann::json::parse(AskOne("GetDefinition", {"cats"}));
    EXPECT_EQ("cat", cats["word"]);
    EXPECT_TRUE(cats.contains("dictionary"));
    EXPECT_FALSE(cats.contains("singleSynset"));

    // A sense number stays out of the lookup and returns behind the headword.
    for (const char* asked : {"Paris:2", "paris:2"}) {
        nlohmann::json paris = nlohmann::json::parse(AskOne("GetDefinition", {asked}));
        EXPECT_EQ("Paris:2", paris["word"]) << asked;
        EXPECT_EQ("2", paris["singleSynset"]) << asked;
    }
    nlohmann::json catch2 = nlohmann::json::parse(AskOne("GetDefinition", {"catches:1"}));
    EXPECT_EQ("catch:1", catch2["word"]);
}

TEST_F(HostTest, LoopIgnoresOtherEventsAndStopsAtQuit) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    SDL_Event unknown{};
    unknown.type = SDL_USEREVENT;
    unknown.user.code = 4;
    static char untouched[] = "not a heap copy";
    unknown.user.data1 = untouched;
    ASSERT_EQ(0, SDL_PushEvent(&key));
    ASSERT_EQ(0, SDL_PushEvent(&unknown));
    unknown.user.code = -1;
    ASSERT_EQ(0, SDL_PushEvent(&unknown));
    EXPECT_TRUE(pdlfake::Call("GetDefinition", {"first"}).result);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(0, SDL_PushEvent(&quit));
    EXPECT_TRUE(pdlfake::Call("GetDefinition", {"after quit"}).result);

    RunEventLoop();
    std::vector<pdlfake::ScriptCall> calls = pdlfake::TakeScriptCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("Callback_GetDefinition", calls[0].function);
    EXPECT_EQ(std::vector<std::string>{kDatabaseError}, calls[0].params);
    // The request behind the quit is still queued; TearDown frees its copy.
    SDL_Event left;
    EXPECT_EQ(1, SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS));
}

TEST_F(HostTest, FailedDeliveryIsDroppedAndTheNextWorks) {
    pdlfake::FailScriptCalls(true);
    EXPECT_TRUE(Ask("GetDefinition", {"cat"}).empty());
    pdlfake::FailScriptCalls(false);
    EXPECT_EQ(kDatabaseError, AskOne("GetDefinition", {"cat"}));
}

}  // namespace
