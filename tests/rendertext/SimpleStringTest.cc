#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/SimpleString.h"

// A first buffer holds at least 63 bytes; every growth allocates exactly the
// need plus 256, and three bytes of headroom always stay behind the text.
TEST(SimpleString, GrowthKeepsHeadroomAndText) {
    CSimpleString zero(0), larger(100), empty;
    EXPECT_EQ(zero.GetCapacity(), 66);
    EXPECT_EQ(larger.GetCapacity(), 103);
    EXPECT_EQ(empty.GetBuffer(), nullptr);

    const std::string text62(62, 'x');
    zero.Assign(text62.c_str());
    zero.Append("y", 1);
    EXPECT_EQ(zero.GetCapacity(), 66);
    zero.Append("z");
    EXPECT_EQ(zero.GetCapacity(), 64 + 256);
    EXPECT_EQ(std::string(zero.GetBuffer()), text62 + "yz");
    empty.Append("abc");
    EXPECT_EQ(empty.GetCapacity(), 3 + 256);

    // Clear keeps the buffer for reuse; many appends keep every piece.
    const int32_t capacity = zero.GetCapacity();
    zero.Clear();
    EXPECT_STREQ(zero.GetBuffer(), "");
    EXPECT_EQ(zero.GetCapacity(), capacity);
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string piece = "<p>" + std::to_string(i) + "</p>";
        zero.Append(piece.c_str());
        expected += piece;
    }
    EXPECT_EQ(std::string(zero.GetBuffer()), expected);
    EXPECT_EQ(zero.GetLength(), static_cast<int32_t>(expected.size()));

    // Assign and Append take the given byte count; a negative one means all.
    zero.Assign("dictionary", 4);
    zero.Append("cdef", 2);
    zero.Append("", 0);
    EXPECT_STREQ(zero.GetBuffer(), "dictcd");
    zero.Assign("word", -1);
    EXPECT_STREQ(zero.GetBuffer(), "word");
    zero.Assign("word", 0);
    EXPECT_EQ(zero.GetLength(), 0);
}

TEST(SimpleString, ReplaceAll) {
    const std::string longText(500, 'L');
    const struct {
        const char *text, *find, *replace;
        int count;
        std::string result;
    } cases[] = {
        {"dic*tion*ary", "*", "&middot;", 2, "dic&middot;tion&middot;ary"},
        {"plain", "*", "&middot;", 0, "plain"},
        {"aaa", "aa", "b", 1, "ba"},
        {"xax", "a", "aa", 1, "xaax"},  // inserted text is not searched again
        {"a-b-c", "-", nullptr, 2, "abc"},
        {"1x2x3", "x", longText.c_str(), 2, "1" + longText + "2" + longText + "3"},
        {"ab", nullptr, "y", 0, "ab"},
        {"ab", "", "y", 0, "ab"},
    };
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
