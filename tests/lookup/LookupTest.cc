#include <gtest/gtest.h>

#include <cstring>

#include "db/Format.h"
#include "db/Lookup.h"
#include "db/WordList.h"
#include "tests/support/TestDatabase.h"

namespace {

class Lookup : public ::testing::Test {
protected:
    void SetUp() override {
        files.Words({"bus",   "buse",  "leaf", "leave", "life",  "live", "stop",
                     "run",   "happy", "full", "cat",   "a",     "e",    "mouse",
                     "apple", "tie",   "die",  "NASA",  "Paris", "pa",   "hippopotamus"});
        files.WordWithLines("mice", {{lxd::kKindRedirect, "Mouse"}});
        files.WordWithLines("Nowhere", {{lxd::kKindRedirect, "Atlantis"}});
        files.WordWithLines("blank", {{lxd::kKindRedirect, ""}});
        files.WordWithLines("twice", {{lxd::kKindRedirect, "mice"}});
        files.WordWithLines("hippo", {{lxd::kKindRedirect, "hippopotamus"}});
        files.WordWithLines("nasaredirect", {{lxd::kKindRedirect, "nasa"}});
        // Two references, one of them a redirect: never followed.
        files.WordWithLines("both", {{lxd::kKindRedirect, "cat"}, {lxd::kKindOrigin, "both"}});
        database = files.Open();
        ASSERT_TRUE(database != nullptr);
    }

    // Looks `typed` up in a buffer of `capacity` bytes; the word left there
    // goes to `*result`.
    uint32_t Find(const std::string& typed, std::string* result, bool inflect = true,
                  size_t capacity = 57) {
        char buffer[256];
        memset(buffer, '#', sizeof(buffer));
        memcpy(buffer, typed.c_str(), typed.size() + 1);
        uint32_t position = 0;
        bool found = LookupWord(database.get(), buffer, capacity, &position, inflect);
        EXPECT_EQ(buffer[capacity], '#') << "wrote past the buffer for " << typed;
        *result = buffer;
        return found ? position : 0;
    }

    // The references of a headword, or of the word at a found position; the
    // lookup may report either the node's own index or the one past it.
    std::vector<uint32_t> RefsAt(uint32_t position) {
        uint32_t refs[4];
        int count = position ? database->wordList->GetRecordRefs(position, refs, 4) : 0;
        return std::vector<uint32_t>(refs, refs + count);
    }
    std::vector<uint32_t> RefsOf(const std::string& headword) {
        char key[lxd::kKeyBufferSize];
        strcpy(key, headword.c_str());
        EncodeCapitals(key);
        return RefsAt(database->wordList->FindExactWord(key, 1));
    }

    lxtest::TestDatabase files;
    std::unique_ptr<CDictDatabase> database;
};

TEST_F(Lookup, FindsTheHeadword) {
    // Inflection rows in their order: "ses" before the plain "s"; "ves" to
    // "fe" failing, then to "f"; "ves" to "fe" before "s"; the doubled
    // letter undone; "iest" to "y", "lly" to "ll", "ying" to "ie", "ed" to
    // "e"; one letter may remain; the word is matched up to a ':'.
    // Capitals as typed, then the lower-case word and its variant.
    // A redirect is followed once, to the headword's own spelling; a word
    // with two references is no redirect.
    const struct {
        const char *typed, *headword;
    } cases[] = {{"buses", "bus"},    {"leaves", "leaf"},        {"lives", "life"},
                 {"stopped", "stop"}, {"running", "run"},        {"happiest", "happy"},
                 {"fully", "full"},   {"tying", "tie"},          {"died", "die"},
                 {"as", "a"},         {"Cats", "cat"},           {"cat:2", "cat:2"},
                 {"PARIS", "Paris"},  {"paris", "Paris"},        {"Apple", "apple"},
                 {"Nasa", "NASA"},    {"mice", "mouse"},         {"twice", "mice"},
                 {"both", "both"},    {"hippo", "hippopotamus"}, {"nasaredirect", "NASA"}};
    for (const auto& c : cases) {
        std::string result;
        const uint32_t position = Find(c.typed, &result);
        EXPECT_NE(position, 0u) << c.typed;
        EXPECT_EQ(RefsAt(position), RefsOf(c.headword)) << c.typed;
        EXPECT_EQ(result, c.headword) << c.typed;
    }

    // With a position given only the redirect is checked.
    char buffer[57] = "mice";
    uint32_t position = database->wordList->FindExactWord(buffer, 1);
    EXPECT_TRUE(LookupWord(database.get(), buffer, sizeof(buffer), &position, false));
    EXPECT_STREQ(buffer, "mouse");
    EXPECT_EQ(RefsAt(position), RefsOf("mouse"));
}

TEST_F(Lookup, MissesLeaveTheWordWhole) {
    const std::string z100ed = std::string(100, 'z') + "ed";
    // A suffix must leave a letter; nothing matches: the word in lower
    // case; a redirect to no headword: its target in lower case. A variant
    // or redirect that does not fit the buffer is refused, not cut.
    const struct {
        std::string typed, left;
        bool inflect;
        size_t capacity;
    } cases[] = {{"s", "s", true, 57},
                 {"ees", "ees", true, 57},
                 {"cats", "cats", false, 57},
                 {"", "", true, 57},
                 {"XyzzyS", "xyzzys", true, 57},
                 {"Nowhere", "atlantis", true, 57},
                 {"nasa", "nasa", true, 9},
                 {"hippo", "hippo", true, 12},
                 {std::string(128, 'b') + "s", "", true, 200},
                 {z100ed, z100ed, true, 200}};
    for (const auto& c : cases) {
        std::string result;
        EXPECT_EQ(Find(c.typed, &result, c.inflect, c.capacity), 0u) << c.typed;
        if (!c.left.empty()) {
            EXPECT_EQ(result, c.left) << c.typed;
        }
    }
    std::string result;
    EXPECT_NE(Find("nasa", &result, true, 10), 0u);
    EXPECT_NE(Find("hippo", &result, true, 13), 0u);

    // A redirect without text keeps the headword and its position.
    char buffer[57] = "blank";
    uint32_t position = 0;
    EXPECT_FALSE(LookupWord(database.get(), buffer, sizeof(buffer), &position, true));
    EXPECT_EQ(RefsAt(position), RefsOf("blank"));
    EXPECT_STREQ(buffer, "blank");

    // A word not terminated inside its buffer.
    char unterminated[8];
    memset(unterminated, 'a', sizeof(unterminated));
    EXPECT_FALSE(LookupWord(database.get(), unterminated, sizeof(unterminated), &position, true));
}

TEST(SuffixRule, ReplacesOnlyAWholeSuffix) {
    char out[8] = "keep";
    EXPECT_TRUE(ApplySuffixRule(out, sizeof(out), "ponies", "ies", "y"));
    EXPECT_STREQ(out, "pony");
    EXPECT_FALSE(ApplySuffixRule(out, sizeof(out), "ies", "ies", "y"));
    EXPECT_FALSE(ApplySuffixRule(out, sizeof(out), "pony", "ies", "y"));
    EXPECT_STREQ(out, "pony");
    // The result must fit `out` with its terminator.
    EXPECT_FALSE(ApplySuffixRule(out, 4, "lives", "ves", "fe"));
    EXPECT_TRUE(ApplySuffixRule(out, 5, "lives", "ves", "fe"));
    EXPECT_STREQ(out, "life");
}

}  // namespace
