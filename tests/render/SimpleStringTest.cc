#include <gtest/gtest.h>

#include <random>
#include <string>

#include "render/SimpleString.h"

// Growth keeps three bytes of headroom behind the text and every byte of it.
TEST(SimpleString, GrowthKeepsHeadroomAndText) {
    CSimpleString grown(0), empty;
    EXPECT_EQ(empty.GetBuffer(), nullptr);
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string piece = "<p>" + std::to_string(i) + "</p>";
        grown.Append(piece.c_str());
        expected += piece;
        ASSERT_GE(grown.GetCapacity(), grown.GetLength() + 3) << i;
    }
    EXPECT_EQ(std::string(grown.GetBuffer()), expected);
    EXPECT_EQ(grown.GetLength(), static_cast<int32_t>(expected.size()));
    // Clear keeps the buffer for reuse.
    const int32_t capacity = grown.GetCapacity();
    grown.Clear();
    EXPECT_STREQ(grown.GetBuffer(), "");
    EXPECT_EQ(grown.GetCapacity(), capacity);

    // Assign and Append take the given byte count; a negative one means all.
    grown.Assign("dictionary", 4);
    grown.Append("cdef", 2);
    grown.Append("", 0);
    EXPECT_STREQ(grown.GetBuffer(), "dictcd");
    grown.Assign("word", -1);
    EXPECT_STREQ(grown.GetBuffer(), "word");
    grown.Assign("word", 0);
    EXPECT_EQ(grown.GetLength(), 0);
}

// (Replacements that grow, shrink or meet again: the in-place replacement's
// random test.)
TEST(SimpleString, ReplaceAllWithoutTextOrSearch) {
    const struct {
        const char *text, *find, *replace;
        int count;
        std::string result;
    } cases[] = {
        {"a-b-c", "-", nullptr, 2, "abc"}, {"ab", nullptr, "y", 0, "ab"}, {"ab", "", "y", 0, "ab"}};
    for (const auto& c : cases) {
        CSimpleString s;
        s.Assign(c.text);
        EXPECT_EQ(s.ReplaceAll(c.find, c.replace), c.count) << c.text;
        EXPECT_EQ(std::string(s.GetBuffer()), c.result) << c.text;
        EXPECT_EQ(s.GetLength(), static_cast<int32_t>(c.result.size())) << c.text;
    }
    CSimpleString empty;
    EXPECT_EQ(empty.ReplaceAll("a", "b"), 0);
    EXPECT_EQ(empty.GetBuffer(), nullptr);
}

// Replacements are made in place, the text growing or shrinking: under random
// texts, search texts and replacements, the result and the count are those
// of a plain left-to-right rebuild of the text.
TEST(ReplaceAllInPlace, GrowsAndShrinksAsARebuildWould) {
    std::mt19937 random(6);
    const std::string finds[] = {"*", "ab", "a*b", "aa"};
    const std::string replaces[] = {"", "x", "&middot;", std::string(300, 'r'), "aa"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = random() % 120; n > 0; --n) text += "ab*"[random() % 3];
        const std::string& find = finds[random() % 4];
        const std::string& replace = replaces[random() % 5];
        std::string rebuilt;
        int count = 0;
        size_t rest = 0;
        for (size_t hit = text.find(find); hit != std::string::npos; hit = text.find(find, rest)) {
            rebuilt += text.substr(rest, hit - rest) + replace;
            rest = hit + find.size();
            ++count;
        }
        rebuilt += text.substr(rest);
        CSimpleString subject;
        subject.Assign(text.c_str(), static_cast<int>(text.size()));
        ASSERT_EQ(subject.ReplaceAll(find.c_str(), replace.c_str()), count)
            << text << " / " << find;
        EXPECT_EQ(std::string(subject.GetLength() > 0 ? subject.GetBuffer() : ""), rebuilt);
    }
}
