#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

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

// (Equal items reused with the newer payload, other capitals kept apart,
// clearing: the random test below.)
TEST(WordCollection, FindsByKeyAndAddsTextOfAnyLength) {
    CWordCollection words;
    EXPECT_EQ(words.Add("word"), 0);
    EXPECT_EQ(words.Add("key\tfirst"), 1);
    EXPECT_EQ(words.Find("key"), 1);
    EXPECT_EQ(words.Find("absent"), -1);
    EXPECT_EQ(words.Add(nullptr), -1);
    EXPECT_EQ(words.Add("footnote text", 8), 2);
    EXPECT_STREQ(words.Get(2), "footnote");
}

// Long collections find equal items through a hash: under random additions,
// removals, sorts and clears, a collection answers as a list searched from
// its start does (an equal item is reused and takes the newer full text).
TEST(WordCollectionIndex, AnswersAsALinearSearchDoes) {
    std::mt19937 random(2026);
    CWordCollection collection;
    std::vector<std::string> model;
    const auto before = [](const std::string& a, const std::string& b) {
        return CompareItems(a.c_str(), b.c_str()) < 0;
    };
    for (int step = 0; step < 20000; ++step) {
        const int choice = random() % 100;
        if (choice == 0) {
            collection.Clear();
            model.clear();
        } else if (choice == 1) {
            collection.Sort();
            std::sort(model.begin(), model.end(), before);
        } else if (choice == 2 && !model.empty()) {
            collection.RemoveLast();
            model.pop_back();
        } else {
            // Few letters and capitals, sometimes a TAB and a payload.
            std::string item;
            for (int n = 1 + random() % 3; n > 0; --n) item += "aAbB"[random() % 4];
            if (random() % 4 == 0) item += "\t" + std::to_string(random() % 3);
            size_t i = 0;
            while (i < model.size() && CompareItems(model[i].c_str(), item.c_str()) != 0) ++i;
            if (i == model.size()) model.push_back(item);
            model[i] = item;
            ASSERT_EQ(collection.Add(item.c_str(), static_cast<int>(item.size())),
                      static_cast<int>(i));
        }
        ASSERT_EQ(collection.Count(), static_cast<int>(model.size()));
    }
    for (size_t i = 0; i < model.size(); ++i) EXPECT_EQ(model[i], collection.Get(i));
}
