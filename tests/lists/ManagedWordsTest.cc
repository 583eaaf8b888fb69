#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "db/Format.h"
#include "host/Engine.h"
#include "host/ManagedWords.h"
#include "platform/PDLFake.h"
#include "tests/support/ScriptAnswer.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

// Works in a temporary application directory whose "lists" folder is the
// data directory; the dictionary is written only by tests that need it.
class ManagedWords : public ::testing::Test {
protected:
    void SetUp() override {
        pdlfake::Reset();
        mkdir("lists", 0777);
        setenv("LXCORE_DATA_DIR", (db.Dir() + "/lists").c_str(), 1);
        db.WordWithLines("cat", {{lxd::kKindNoun, "a small domesticated feline"}});
    }
    void TearDown() override {
        ReleaseEngine();
        unsetenv("LXCORE_DATA_DIR");
    }

    void WriteDictionary() { ASSERT_TRUE(db.Write()); }

    static bool Store(const char* name, const char* text) {
        const char* exception = nullptr;
        bool stored = StoreManagedWords(name, text, &exception);
        EXPECT_STREQ(exception, stored ? nullptr : "invalid list name");
        return stored;
    }

    static std::string Get(const char* name) {
        SDL_UserEvent event{};
        event.type = SDL_USEREVENT;
        event.code = 1;
        event.data1 = strdup(name);
        AnswerGetManagedWords(event);
        return lxtest::TakeAnswer("Callback_GetManagedWords");
    }

    static std::string Answer(const std::string& name, const std::string& words) {
        return "{\"fileName\":\"" + name + "\",\"words\":\n" + words + "}";
    }

    lxtest::TestDatabase db;  // its directory is the application directory
    lxtest::WorkingDirectory cwd{db.Dir()};
};

TEST_F(ManagedWords, ListsRoundTripVerbatim) {
    WriteDictionary();
    const char cats[] = "[\"cat\",\"dog\"]";
    EXPECT_TRUE(Store("recent", cats));
    EXPECT_EQ(lxtest::ReadTextFile("lists/recent"), cats);
    EXPECT_EQ(Get("recent"), Answer("recent", cats));

    // Larger than the copy buffer: copied whole, in pieces.
    std::string big = "[";
    for (int i = 0; i < 200; ++i) big += (i ? ",\"" : "\"") + std::to_string(i) + "\"";
    big += "]";
    ASSERT_GT(big.size(), 600u);
    EXPECT_TRUE(Store("big", big.c_str()));
    EXPECT_EQ(Get("big"), Answer("big", big));

    // Not JSON, not escaped: the text is kept as stored.
    EXPECT_TRUE(Store("raw", "not \"json\"\n"));
    EXPECT_EQ(Get("raw"), Answer("raw", "not \"json\"\n"));

    // A store replaces the whole list; an empty or absent list reads as [].
    EXPECT_TRUE(Store("recent", ""));
    EXPECT_TRUE(lxtest::PathExists("lists/recent"));
    EXPECT_EQ(Get("recent"), Answer("recent", "[]"));
    EXPECT_EQ(Get("never"), Answer("never", "[]"));
    EXPECT_TRUE(Store("recent", nullptr));
    EXPECT_EQ(Get("recent"), Answer("recent", "[]"));
}

TEST_F(ManagedWords, InvalidNamesAreRefusedAndNothingIsWritten) {
    WriteDictionary();
    const char* invalid[] = {"", ".hidden", "..", "a/b", "../escape", "tab\tname", "line\n"};
    for (const char* name : invalid) {
        EXPECT_FALSE(Store(name, "[\"x\"]")) << name;
        std::string answer = Get(name);
        EXPECT_NE(answer.find(",\"words\":\n[]}"), std::string::npos) << name << answer;
    }
    EXPECT_FALSE(lxtest::PathExists("escape"));
    EXPECT_EQ(system("test -z \"$(ls -A lists)\""), 0);

    // Names with blanks, dots inside and UTF-8 bytes are fine.
    EXPECT_TRUE(Store("my list.v2 \xC3\xA9", "[]"));
    EXPECT_TRUE(lxtest::PathExists("lists/my list.v2 \xC3\xA9"));
}

TEST_F(ManagedWords, AnInterruptedStoreLeavesTheOldList) {
    WriteDictionary();
    EXPECT_TRUE(Store("recent", "[\"old\"]"));
    // What a store killed in mid-write leaves behind: a partial temporary file.
    lxtest::WriteTextFile("lists/.recent.Ab12Cd", "[\"ne");
    EXPECT_EQ(Get("recent"), Answer("recent", "[\"old\"]"));
    EXPECT_TRUE(Store("recent", "[\"new\"]"));
    EXPECT_EQ(Get("recent"), Answer("recent", "[\"new\"]"));
}

TEST_F(ManagedWords, AMissingDictionaryAnswersDatabaseError) {
    EXPECT_TRUE(Store("recent", "[\"cat\"]"));
    const char databaseError[] =
        "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary "
        "database. Please reinstall Lexora.\"}";
    EXPECT_EQ(Get("recent"), databaseError);
    // The next request opens the dictionary once it is there.
    WriteDictionary();
    EXPECT_EQ(Get("recent"), Answer("recent", "[\"cat\"]"));
}

}  // namespace
