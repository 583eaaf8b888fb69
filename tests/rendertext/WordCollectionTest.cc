#include <gtest/gtest.h>

#include <string>

#include "render/WordCollection.h"

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

TEST(CompareItems, CaseInsensitiveOrderWithCaseSensitiveTieBreak) {
    EXPECT_LT(CompareItems("Apple", "apple"), 0);
    EXPECT_LT(CompareItems("apple", "apples"), 0);
    EXPECT_LT(CompareItems("apple", "Banana"), 0);
    EXPECT_GT(CompareItems("banana", "Apple"), 0);
    EXPECT_EQ(CompareItems("same", "same"), 0);
    // A TAB ends the compared part.
    EXPECT_EQ(CompareItems("key\tone", "key\ttwo"), 0);
    EXPECT_EQ(CompareItems("key\tpayload", "key"), 0);
    EXPECT_LT(CompareItems("key\tz", "keys"), 0);
    // Only A..Z fold; bytes above 0x7F sort after every letter.
    EXPECT_GT(CompareItems("\xC3\xA9", "z"), 0);
    EXPECT_LT(CompareItems("_", "A"), 0);  // folded: 0x5F against 0x61
    EXPECT_LT(CompareItems("[", "a"), 0);
    EXPECT_EQ(Sign(CompareItems("ab", "AB")), 1);
    EXPECT_EQ(Sign(CompareItems("AB", "ab")), -1);
}

TEST(WordCollection, AddKeepsOneItemPerKeyAndTakesTheNewestPayload) {
    CWordCollection words;
    EXPECT_EQ(words.Add("word"), 0);
    EXPECT_EQ(words.Add("word"), 0);
    EXPECT_EQ(words.Count(), 1);
    EXPECT_EQ(words.Add("Word"), 1);  // different capitals: another item
    EXPECT_EQ(words.Count(), 2);

    EXPECT_EQ(words.Add("key\tfirst"), 2);
    EXPECT_EQ(words.Add("key\tsecond"), 2);
    EXPECT_EQ(words.Count(), 3);
    EXPECT_STREQ(words.Get(2), "key\tsecond");
    EXPECT_EQ(words.Find("key"), 2);
    EXPECT_EQ(words.Find("absent"), -1);

    EXPECT_EQ(words.Add(nullptr), -1);
    EXPECT_EQ(words.Add(nullptr, 3), -1);
    EXPECT_EQ(words.Add("footnote text", 8), 3);
    EXPECT_STREQ(words.Get(3), "footnote");
    EXPECT_EQ(words.Add("footnote", -1), 3);

    words.allowDuplicates = true;
    EXPECT_EQ(words.Add("word"), 4);
    EXPECT_EQ(words.Count(), 5);

    words.RemoveLast();
    EXPECT_EQ(words.Count(), 4);
    words.Clear();
    EXPECT_EQ(words.Count(), 0);
    EXPECT_EQ(words.Add("again"), 0);
}

TEST(WordCollection, GrowsBeyond128AndSortsWithCompareItems) {
    CWordCollection words;
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(words.Add(("w" + std::to_string(i)).c_str()), i);
    }
    EXPECT_EQ(words.Count(), 300);
    EXPECT_STREQ(words.Get(129), "w129");
    EXPECT_EQ(words.Find("w299"), 299);

    CWordCollection letters;
    letters.Add("b");
    letters.Add("B");
    letters.Add("a");
    letters.Sort();
    ASSERT_EQ(letters.Count(), 3);
    EXPECT_STREQ(letters.Get(0), "a");
    EXPECT_STREQ(letters.Get(1), "B");
    EXPECT_STREQ(letters.Get(2), "b");
}
