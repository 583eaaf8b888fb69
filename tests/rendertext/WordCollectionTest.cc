#include <gtest/gtest.h>

#include <string>

#include "render/WordCollection.h"

// Letters compare without case, ties break on case (capitals first), a TAB
// ends the compared part and bytes above 0x7F sort after every letter.
TEST(CompareItems, OrderOfItems) {
    const struct {
        const char *a, *b;
        int sign;
    } cases[] = {{"Apple", "apple", -1}, {"apple", "apples", -1},     {"apple", "Banana", -1},
                 {"same", "same", 0},    {"key\tone", "key\ttwo", 0}, {"key\tpayload", "key", 0},
                 {"key\tz", "keys", -1}, {"\xC3\xA9", "z", 1},        {"_", "A", -1}};
    for (const auto& c : cases) {
        const int result = CompareItems(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " / " << c.b;
    }
}

TEST(WordCollection, OneItemPerKeyWithTheNewestPayload) {
    CWordCollection words;
    EXPECT_EQ(words.Add("word"), 0);
    EXPECT_EQ(words.Add("word"), 0);
    EXPECT_EQ(words.Add("Word"), 1);  // other capitals: another item
    EXPECT_EQ(words.Add("key\tfirst"), 2);
    EXPECT_EQ(words.Add("key\tsecond"), 2);
    EXPECT_STREQ(words.Get(2), "key\tsecond");
    EXPECT_EQ(words.Find("key"), 2);
    EXPECT_EQ(words.Find("absent"), -1);
    EXPECT_EQ(words.Add(nullptr), -1);
    EXPECT_EQ(words.Add("footnote text", 8), 3);
    EXPECT_STREQ(words.Get(3), "footnote");
    EXPECT_EQ(words.Count(), 4);

    words.Clear();
    EXPECT_EQ(words.Add("again"), 0);
}
