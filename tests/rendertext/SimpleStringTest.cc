#include <gtest/gtest.h>

#include <cstring>
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
    } cases[] = {{"dic*tion*ary", "*", "&middot;", 2, "dic&middot;tion&middot;ary"},
                 {"a-b-c", "-", nullptr, 2, "abc"},
                 {"ab", nullptr, "y", 0, "ab"},
                 {"ab", "", "y", 0, "ab"}};
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
