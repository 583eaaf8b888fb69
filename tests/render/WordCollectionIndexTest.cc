// Long collections find equal items through a hash: under random additions,
// removals, sorts and clears, a collection answers as a list searched from
// its start does (an equal item is reused and takes the newer full text).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "render/WordCollection.h"

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
