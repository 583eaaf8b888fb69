// Replacements are made in place, the text growing or shrinking: under random
// texts, search texts and replacements, the result and the count are those
// of a plain left-to-right rebuild of the text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "render/SimpleString.h"

namespace {

int ModelReplaceAll(std::string* text, const std::string& find, const std::string& replace) {
    std::string result;
    int count = 0;
    size_t rest = 0;
    for (size_t hit = text->find(find); hit != std::string::npos; hit = text->find(find, rest)) {
        result += text->substr(rest, hit - rest) + replace;
        rest = hit + find.size();
        ++count;
    }
    *text = result + text->substr(rest);
    return count;
}

}  // namespace

TEST(ReplaceAllInPlace, GrowsAndShrinksAsARebuildWould) {
    std::mt19937 random(6);
    const std::string finds[] = {"*", "ab", "a*b", "aa", "<!-- ###HEADER### -->"};
    const std::string replaces[] = {"", "x", "&middot;", std::string(300, 'r'), "aa"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = random() % 120; n > 0; --n) {
            text += random() % 40 == 0 ? std::string("<!-- ###HEADER### -->")
                                       : std::string(1, "ab*"[random() % 3]);
        }
        const std::string& find = finds[random() % 5];
        const std::string& replace = replaces[random() % 5];
        CSimpleString subject;
        subject.Assign(text.c_str(), static_cast<int>(text.size()));
        std::string model = text;
        ASSERT_EQ(subject.ReplaceAll(find.c_str(), replace.c_str()),
                  ModelReplaceAll(&model, find, replace))
            << text << " / " << find;
        ASSERT_EQ(std::string(subject.GetBuffer() != nullptr ? subject.GetBuffer() : "",
                              subject.GetLength()),
                  model);
    }
}
