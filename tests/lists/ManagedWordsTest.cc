#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "db/Format.h"
#include "host/Engine.h"
#include "host/ManagedWords.h"
#include "platform/PDLFake.h"
#include "tests/support/ScriptAnswer.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

using lxtest::PathExists;

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

    static bool Store(const char* name, const char* text) {
        const char* exception = nullptr;
        bool stored = StoreManagedWords(name, text, &exception);
        EXPECT_STREQ(exception, stored ? nullptr : "invalid list name");
        return stored;
    }

    // The answer of GetManagedWords, and what it should be for `words`.
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

TEST_F(ManagedWords, ListsRoundTripVerbatimAndWhole) {
    ASSERT_TRUE(db.Write());
    std::string big = "[";  // larger than the copy buffer: copied whole, in pieces
    for (int i = 0; i < 200; ++i) big += (i ? ",\"" : "\"") + std::to_string(i) + "\"";
    big += "]";
    // Not JSON, not escaped: the text is kept as stored.
    for (const std::string& text :
         {std::string("[\"cat\",\"dog\"]"), big, std::string("not \"json\"\n")}) {
        EXPECT_TRUE(Store("recent", text.c_str()));
        EXPECT_EQ(lxtest::ReadTextFile("lists/recent"), text);
        EXPECT_EQ(Get("recent"), Answer("recent", text));
    }
    // A store replaces the whole list; an empty or absent list reads as [].
    EXPECT_TRUE(Store("recent", ""));
    EXPECT_TRUE(PathExists("lists/recent"));
    EXPECT_EQ(Get("recent"), Answer("recent", "[]"));
    EXPECT_EQ(Get("never"), Answer("never", "[]"));
    EXPECT_TRUE(Store("recent", nullptr));
    EXPECT_EQ(Get("recent"), Answer("recent", "[]"));

    // What a store killed in mid-write leaves behind, a partial temporary
    // file, neither shows nor blocks the next store.
    EXPECT_TRUE(Store("recent", "[\"old\"]"));
    lxtest::WriteTextFile("lists/.recent.Ab12Cd", "[\"ne");
    EXPECT_EQ(Get("recent"), Answer("recent", "[\"old\"]"));
    EXPECT_TRUE(Store("recent", "[\"new\"]"));
    EXPECT_EQ(Get("recent"), Answer("recent", "[\"new\"]"));
}

TEST_F(ManagedWords, InvalidNamesAreRefusedAndNothingIsWritten) {
    ASSERT_TRUE(db.Write());
    for (const char* name : {"", ".hidden", "..", "a/b", "../escape", "tab\tname", "line\n"}) {
        EXPECT_FALSE(Store(name, "[\"x\"]")) << name;
        EXPECT_NE(Get(name).find(",\"words\":\n[]}"), std::string::npos) << name;
    }
    EXPECT_FALSE(PathExists("escape"));
    EXPECT_TRUE(std::filesystem::is_empty("lists"));
    // Names with blanks, dots inside and UTF-8 bytes are fine.
    EXPECT_TRUE(Store("my list.v2 \xC3\xA9", "[]"));
    EXPECT_TRUE(PathExists("lists/my list.v2 \xC3\xA9"));
}

}  // namespace
