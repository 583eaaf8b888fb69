#include <sys/stat.h>

#include <filesystem>

#include "db/Format.h"
#include "host/ManagedWords.h"
#include "tests/host/HostFixture.h"

namespace {

using lxtest::PathExists;

// The application directory's "lists" folder is the data directory; a
// dictionary is installed, as GetManagedWords needs an open engine.
class ManagedWords : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        mkdir("lists", 0777);
        setenv("LXCORE_DATA_DIR", (dir.Path() + "/lists").c_str(), 1);
        lxtest::TestDatabase db;
        db.WordWithLines("cat", {{lxd::kKindNoun, "a small domesticated feline"}});
        InstallDictionary(db);
    }
    void TearDown() override {
        HostTest::TearDown();
        unsetenv("LXCORE_DATA_DIR");
    }

    static bool Store(const char* name, const char* text) {
        const char* exception = nullptr;
        bool stored = StoreManagedWords(name, text, &exception);
        EXPECT_STREQ(exception, stored ? nullptr : "invalid list name");
        return stored;
    }
    // The answer of GetManagedWords, and what it should be for `words`.
    static std::string Get(const char* name) { return AskOne("GetManagedWords", {name}); }
    static std::string Answer(const std::string& name, const std::string& words) {
        return "{\"fileName\":\"" + name + "\",\"words\":\n" + words + "}";
    }
};

TEST_F(ManagedWords, ListsRoundTripVerbatimAndWhole) {
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
