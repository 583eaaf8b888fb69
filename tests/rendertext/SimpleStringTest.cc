#include <gtest/gtest.h>

#include <string>

#include "render/SimpleString.h"

TEST(SimpleString, GrowsByExactNeedPlus256KeepingThreeBytesOfHeadroom) {
    CSimpleString empty;
    EXPECT_EQ(empty.GetBuffer(), nullptr);
    EXPECT_EQ(empty.GetCapacity(), 0);

    CSimpleString zero(0), small(63), larger(100);
    EXPECT_EQ(zero.GetCapacity(), 66);
    EXPECT_EQ(small.GetCapacity(), 66);
    EXPECT_EQ(larger.GetCapacity(), 103);
    EXPECT_STREQ(zero.GetBuffer(), "");

    const std::string text62(62, 'x');
    zero.Assign(text62.c_str());
    zero.Append("y", 1);
    EXPECT_EQ(zero.GetCapacity(), 66);
    EXPECT_EQ(zero.GetLength(), 63);
    zero.Append("z");
    EXPECT_EQ(zero.GetCapacity(), 63 + 1 + 256);
    EXPECT_EQ(std::string(zero.GetBuffer()), text62 + "yz");

    // The first append to a bufferless string allocates its need plus 256.
    empty.Append("abc");
    EXPECT_EQ(empty.GetCapacity(), 3 + 256);
    EXPECT_STREQ(empty.GetBuffer(), "abc");
}

TEST(SimpleString, AssignAppendAndClear) {
    CSimpleString s;
    s.Assign("dictionary", 4);
    EXPECT_STREQ(s.GetBuffer(), "dict");
    EXPECT_EQ(s.GetLength(), 4);
    s.Assign("word", -1);
    EXPECT_STREQ(s.GetBuffer(), "word");
    s.Assign("word", 0);
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_STREQ(s.GetBuffer(), "");
    s.Assign("word");
    s.Assign("");
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_STREQ(s.GetBuffer(), "");

    s.Assign("ab");
    s.Append("cdef", 2);
    s.Append("", 0);
    EXPECT_STREQ(s.GetBuffer(), "abcd");
    const int32_t capacity = s.GetCapacity();
    s.Clear();
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_STREQ(s.GetBuffer(), "");
    EXPECT_EQ(s.GetCapacity(), capacity);

    // Long appends keep the text intact across several reallocations.
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string piece = "<p>" + std::to_string(i) + "</p>";
        s.Append(piece.c_str());
        expected += piece;
    }
    EXPECT_EQ(std::string(s.GetBuffer()), expected);
    EXPECT_EQ(s.GetLength(), static_cast<int32_t>(expected.size()));
    EXPECT_GE(s.GetCapacity(), s.GetLength() + 3);
}

TEST(SimpleString, ReplaceAll) {
    CSimpleString s;
    s.Assign("dic*tion*ary");
    EXPECT_EQ(s.ReplaceAll("*", "&middot;"), 2);
    EXPECT_STREQ(s.GetBuffer(), "dic&middot;tion&middot;ary");
    EXPECT_EQ(s.GetLength(), 26);

    s.Assign("plain");
    EXPECT_EQ(s.ReplaceAll("*", "&middot;"), 0);
    EXPECT_STREQ(s.GetBuffer(), "plain");

    s.Assign("aaa");
    EXPECT_EQ(s.ReplaceAll("aa", "b"), 1);
    EXPECT_STREQ(s.GetBuffer(), "ba");

    // The inserted text is not searched again.
    s.Assign("xax");
    EXPECT_EQ(s.ReplaceAll("a", "aa"), 1);
    EXPECT_STREQ(s.GetBuffer(), "xaax");

    s.Assign("a-b-c");
    EXPECT_EQ(s.ReplaceAll("-", nullptr), 2);
    EXPECT_STREQ(s.GetBuffer(), "abc");
    EXPECT_EQ(s.GetLength(), 3);

    // A replacement much longer than the text grows the result as needed.
    const std::string longText(500, 'L');
    s.Assign("1x2x3");
    EXPECT_EQ(s.ReplaceAll("x", longText.c_str()), 2);
    EXPECT_EQ(std::string(s.GetBuffer()), "1" + longText + "2" + longText + "3");

    EXPECT_EQ(s.ReplaceAll(nullptr, "y"), 0);
    EXPECT_EQ(s.ReplaceAll("", "y"), 0);
    CSimpleString empty;
    EXPECT_EQ(empty.ReplaceAll("a", "b"), 0);
    EXPECT_EQ(empty.GetBuffer(), nullptr);
}
