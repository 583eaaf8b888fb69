
#include <cstdio>
#include <nlohmann/json.hpp>

#include "db/Format.h"
#include "host/JsonAnswer.h"
#include "tests/host/HostFixture.h"

const char kDatabaseError[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

namespace {

std::string Json(const char* text) {
    char* written = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&written, &size);
    WriteJsonString(text, out);
    fclose(out);
    std::string result(written, size);
    free(written);
    return result;
}

TEST(JsonString, EscapesWhatJsonNeedsAndPassesTheRest) {
    EXPECT_EQ("\"a\\t\\\"\\u0001\xC3\xA9\"", Json("a\t\"\x01\xC3\xA9"));
    EXPECT_EQ("\"\\b\\n\\f\\r\\\\\\u001b\\u001f\"", Json("\b\n\f\r\\\x1B\x1F"));
    EXPECT_EQ("\"/\x7F \xFF\"", Json("/\x7F \xFF"));
    EXPECT_EQ("\"\"", Json(""));
    EXPECT_EQ("", Json(nullptr));
    const std::string plain(5000, 'q');
    EXPECT_EQ("\"" + plain + "\"", Json(plain.c_str()));

    // A JSON parser reads every byte from 1 to 0x7F and UTF-8 of two to four
    // bytes back as they were.
    std::string text;
    for (int c = 1; c < 0x80; ++c) text += static_cast<char>(c);
    text += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(text, nlohmann::json::parse(Json(text.c_str())).get<std::string>());

    // The text is written in chunks of 4096 bytes: plain lead-ins ending just
    // before, at and after a chunk's end, followed by escapes and by runs
    // shorter and longer than a chunk.
    const std::string tails[] = {"\"", "\x01\x1f", "\\" + std::string(5000, 'r') + "\"",
                                 std::string(4090, 's') + "\n" + std::string(9000, 't')};
    for (size_t lead = 4080; lead <= 4100; ++lead) {
        for (const std::string& tail : tails) {
            const std::string chunked = std::string(lead, 'p') + "\"" + tail + "end";
            ASSERT_EQ(chunked, nlohmann::json::parse(Json(chunked.c_str())).get<std::string>())
                << lead << " " << tail.size();
        }
    }
}

// Plain text is scanned for bytes to escape eight at a time: every byte value,
// at every place of a word, beside high bytes and the neighbours of the escaped
// values, is escaped exactly as it is on its own.
TEST(JsonString, EveryByteAtEveryPlaceOfAWordIsEscapedAsAlone) {
    const auto body = [](const std::string& text) {
        const std::string quoted = Json(text.c_str());
        return quoted.substr(1, quoted.size() - 2);
    };
    for (const std::string filler : {"\xC3\xA9\xFF\x80", "!#[] ", "\x21\x5B\x5D\x7F\x20\xA0"}) {
        for (int value = 1; value < 256; ++value) {
            for (size_t place = 0; place < 16; ++place) {
                std::string text, alone;
                while (text.size() < 24) text += filler;
                text[place] = static_cast<char>(value);
                for (char c : text) alone += body(std::string(1, c));
                ASSERT_EQ(alone, body(text)) << value << " at " << place;
            }
        }
    }
}

TEST_F(HostTest, MissingDatabaseAnswersErrorUntilAGoodFileAppears) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(kDatabaseError, AskOne("GetDefinition", {"cat"}));
        EXPECT_EQ(kDatabaseError, AskOne("GetIndexWords", {"cat", "3", "1", "0"}));
        EXPECT_EQ(kDatabaseError, AskOne("GetManagedWords", {"recent"}));
    }
    // A file that is not a dictionary fails the same way.
    lxtest::WriteTextFile("data/wordnet.lxd", std::string(64, 'x'));
    EXPECT_EQ(kDatabaseError, AskOne("GetDefinition", {"cat"}));

    lxtest::TestDatabase db;
    db.Words({"cat", "catalog", "catch"});
    db.Word("Paris", {{lxd::kKindNoun, db.Sense({{"Paris"}, "the capital of France", {}})},
                      {lxd::kKindNoun, db.Sense({{"Paris"}, "a prince of Troy", {}})}});
    InstallDictionary(db);
    // Index runs end at the count (Paris would follow catch); a run past the
    // end is empty. (Directions and the exclusive flag: the listing's table
    // and the packed requests.)
    EXPECT_EQ("{\"anchor\":\"cat\",\"forward\":\"1\",\"words\":[\n\"cat\",\"catalog\",\"catch\"]}",
              AskOne("GetIndexWords", {"cat", "3", "1", "0"}));
    EXPECT_EQ("{\"anchor\":\"zzz\",\"forward\":\"1\",\"words\":[\n]}",
              AskOne("GetIndexWords", {"zzz", "5", "1", "0"}));

    EXPECT_EQ(
        "{\"word\":\"qqq\",\"errorcode\":\"nodefinition\",\"error\":\"Lexora could not find "
        "definitions for \\\"qqq\\\".\"}",
        AskOne("GetDefinition", {"qqq"}));
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

    // Found words answer with the headword; a sense number stays out of the
    // lookup and returns behind the headword.
    const char* found[][3] = {{"cats", "cat", ""},
                              {"Paris:2", "Paris:2", "2"},
                              {"paris:2", "Paris:2", "2"},
                              {"catches:1", "catch:1", "1"}};  // asked, word, sense
    for (const auto& [asked, word, single] : found) {
        nlohmann::json answer = nlohmann::json::parse(AskOne("GetDefinition", {asked}));
        EXPECT_EQ(word, answer["word"]) << asked;
        EXPECT_TRUE(answer.contains("dictionary")) << asked;
        EXPECT_EQ(single, answer.value("singleSynset", "")) << asked;
    }
    // Members come in a fixed order, one per line.
    const std::string paris = AskOne("GetDefinition", {"Paris:1"});
    EXPECT_EQ(0u,
              paris.rfind("{\"word\":\"Paris:1\",\n\"singleSynset\":\"1\",\n\"dictionary\":\"", 0))
        << paris;
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

// An import checks every line of a list in one request: each line answers the
// headword a lookup finds (sense kept), or "" (not a word, blank, too long,
// beyond the line cap); the database error as for the other requests.
TEST_F(HostTest, FindHeadwordsAnswersEachLineWithItsHeadword) {
    EXPECT_EQ(kDatabaseError, AskOne("FindHeadwords", {"cat"}));
    lxtest::TestDatabase db;
    db.Words({"cat", "catch", "Paris"});
    InstallDictionary(db);
    const std::string tooLong(80, 'c');
    EXPECT_EQ("{\"words\":[\"cat\",\"catch:1\",\"\",\"Paris\",\"\",\"\",\"cat\"]}",
              AskOne("FindHeadwords",
                     {"cats\ncatches:1\r\n123 not a word!!\nparis\n\n" + tooLong + "\ncat\r"}));
    EXPECT_EQ("{\"words\":[\"\"]}", AskOne("FindHeadwords", {""}));
    std::string many;
    for (size_t i = 0; i <= kMaxHeadwordLines; ++i) many += "cat\n";
    nlohmann::json answer = nlohmann::json::parse(AskOne("FindHeadwords", {many}));
    EXPECT_EQ(kMaxHeadwordLines, answer["words"].size());
}
