#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "db/Format.h"
#include "db/Lookup.h"
#include "db/WordList.h"
#include "tests/support/TestDatabase.h"

namespace {

class Lookup : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* word :
             {"bus", "buse", "leaf", "leave", "life",  "live", "stop", "run",  "happy", "full",
              "cat", "a",    "e",    "mouse", "apple", "tie",  "die",  "NASA", "Paris", "pa"}) {
            files.WordWithLines(word, {{lxd::kKindOrigin, std::string("origin of ") + word}});
        }
        files.WordWithLines("mice", {{lxd::kKindRedirect, "Mouse"}});
        files.WordWithLines("Nowhere", {{lxd::kKindRedirect, "Atlantis"}});
        files.WordWithLines("blank", {{lxd::kKindRedirect, ""}});
        files.WordWithLines("twice", {{lxd::kKindRedirect, "mice"}});
        files.WordWithLines("hippo", {{lxd::kKindRedirect, "hippopotamus"}});
        files.WordWithLines("hippopotamus", {{lxd::kKindOrigin, "greek"}});
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

    void ExpectFound(const std::string& typed, const std::string& headword) {
        std::string result;
        uint32_t position = Find(typed, &result);
        EXPECT_NE(position, 0u) << typed;
        EXPECT_EQ(RefsAt(position), RefsOf(headword)) << typed;
        EXPECT_EQ(result, headword) << typed;
    }

    lxtest::TestDatabase files;
    std::unique_ptr<CDictDatabase> database;
};

TEST_F(Lookup, InflectionRowsInTheirOrder) {
    ExpectFound("buses", "bus");       // "ses" before the plain "s"
    ExpectFound("leaves", "leaf");     // "ves" -> "fe" fails, then -> "f"
    ExpectFound("lives", "life");      // "ves" -> "fe" before "s"
    ExpectFound("stopped", "stop");    // "ed" with the doubled letter undone
    ExpectFound("running", "run");     // "ing" with the doubled letter undone
    ExpectFound("happiest", "happy");  // "iest" -> "y"
    ExpectFound("fully", "full");      // "lly" -> "ll"
    ExpectFound("tying", "tie");       // "ying" -> "ie"
    ExpectFound("died", "die");        // "ed" -> "e"
    ExpectFound("as", "a");            // one letter may remain
    ExpectFound("Cats", "cat");
    ExpectFound("cat:2", "cat:2");  // matched up to the ':'

    std::string result;
    EXPECT_EQ(Find("s", &result), 0u);  // the suffix must leave a letter
    EXPECT_EQ(Find("ed", &result), 0u);
    EXPECT_EQ(Find("ees", &result), 0u);
    EXPECT_EQ(Find("cats", &result, false), 0u);
    EXPECT_EQ(result, "cats");
    EXPECT_EQ(Find("", &result), 0u);
}

TEST_F(Lookup, CapitalsAsTypedThenLowerCase) {
    ExpectFound("Paris", "Paris");
    ExpectFound("PARIS", "Paris");
    ExpectFound("paris", "Paris");
    ExpectFound("Apple", "apple");
    ExpectFound("Nasa", "NASA");

    // The variant needs room for the marker, four capitals and a terminator.
    std::string result;
    EXPECT_EQ(Find("nasa", &result, true, 9), 0u);
    EXPECT_EQ(result, "nasa");
    EXPECT_NE(Find("nasa", &result, true, 10), 0u);
    EXPECT_EQ(result, "NASA");
}

TEST_F(Lookup, RedirectIsFollowedOnce) {
    ExpectFound("mice", "mouse");
    ExpectFound("twice", "mice");
    ExpectFound("both", "both");
    ExpectFound("hippo", "hippopotamus");
    ExpectFound("nasaredirect", "NASA");

    // Only the redirect is checked when a position comes in.
    char buffer[57] = "mice";
    strcpy(buffer, "mice");
    EncodeCapitals(buffer);
    uint32_t position = database->wordList->FindExactWord(buffer, 1);
    EXPECT_TRUE(LookupWord(database.get(), buffer, sizeof(buffer), &position, false));
    EXPECT_STREQ(buffer, "mouse");
    EXPECT_EQ(RefsAt(position), RefsOf("mouse"));
}

TEST_F(Lookup, ThreeWaysToFail) {
    std::string result;
    // Nothing matches: the word is left in lower case.
    EXPECT_EQ(Find("XyzzyS", &result), 0u);
    EXPECT_EQ(result, "xyzzys");

    // A redirect without text keeps the headword and its position.
    char buffer[57] = "blank";
    uint32_t position = 0;
    EXPECT_FALSE(LookupWord(database.get(), buffer, sizeof(buffer), &position, true));
    EXPECT_EQ(RefsAt(position), RefsOf("blank"));
    EXPECT_STREQ(buffer, "blank");

    // A redirect to no headword leaves its target in lower case.
    strcpy(buffer, "Nowhere");
    position = 0;
    EXPECT_FALSE(LookupWord(database.get(), buffer, sizeof(buffer), &position, true));
    EXPECT_EQ(position, 0u);
    EXPECT_STREQ(buffer, "atlantis");
}

TEST_F(Lookup, NeverWritesPastTheBuffer) {
    std::string result;
    // A redirect text longer than the buffer is refused, not cut.
    char small[13] = "hippo";
    uint32_t found = 0;
    EXPECT_FALSE(LookupWord(database.get(), small, 12, &found, true));
    EXPECT_STREQ(small, "hippo");
    EXPECT_NE(Find("hippo", &result, true, 13), 0u);
    EXPECT_EQ(result, "hippopotamus");

    // A word not terminated inside its buffer, or longer than 127 bytes.
    char unterminated[8];
    memset(unterminated, 'a', sizeof(unterminated));
    uint32_t position = 0;
    EXPECT_FALSE(LookupWord(database.get(), unterminated, sizeof(unterminated), &position, true));
    std::string longWord(128, 'b');
    EXPECT_EQ(Find(longWord + "s", &result, true, 200), 0u);
    EXPECT_EQ(Find(std::string(100, 'z') + "ed", &result, true, 200), 0u);
    EXPECT_EQ(result, std::string(100, 'z') + "ed");
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
