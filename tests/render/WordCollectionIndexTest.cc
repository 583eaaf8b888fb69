// Long collections find equal items through a hash: under random additions,
// removals, sorts and clears, a collection answers as a plain list searched
// from its start does.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "render/WordCollection.h"

namespace {

// The list the collection must behave as: an equal item (by CompareItems)
// is reused, and takes the new text when the full texts differ.
int ModelAdd(std::vector<std::string>* model, const std::string& text) {
    for (size_t i = 0; i < model->size(); ++i) {
        if (CompareItems((*model)[i].c_str(), text.c_str()) == 0) {
            (*model)[i] = text;
            return static_cast<int>(i);
        }
    }
    model->push_back(text);
    return static_cast<int>(model->size() - 1);
}

std::string RandomItem(std::mt19937* random) {
    // Few letters and capitals, so that equal and case-different items recur;
    // sometimes a TAB and a payload that takes no part in the comparison.
    std::string item;
    for (int n = 1 + (*random)() % 3; n > 0; --n) item += "aAbB"[(*random)() % 4];
    if ((*random)() % 4 == 0) item += "\t" + std::to_string((*random)() % 3);
    return item;
}

}  // namespace

TEST(WordCollectionIndex, AnswersAsALinearSearchDoes) {
    std::mt19937 random(2026);
    CWordCollection collection;
    std::vector<std::string> model;
    for (int step = 0; step < 20000; ++step) {
        const int choice = random() % 100;
        if (choice == 0) {
            collection.Clear();
            model.clear();
        } else if (choice == 1) {
            collection.Sort();
            std::sort(model.begin(), model.end(), [](const std::string& a, const std::string& b) {
                return CompareItems(a.c_str(), b.c_str()) < 0;
            });
        } else if (choice == 2 && !model.empty()) {
            collection.RemoveLast();
            model.pop_back();
        } else {
            const std::string item = RandomItem(&random);
            ASSERT_EQ(collection.Add(item.c_str(), static_cast<int>(item.size())),
                      ModelAdd(&model, item))
                << item << " at step " << step;
        }
        ASSERT_EQ(collection.Count(), static_cast<int>(model.size()));
    }
    for (size_t i = 0; i < model.size(); ++i) EXPECT_EQ(model[i], collection.Get(i));
}
