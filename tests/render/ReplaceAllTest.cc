// Replacements are made in place, the text growing or shrinking: under random
// texts, search texts and replacements, the result and the count are those
// of a plain left-to-right rebuild of the text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "render/SimpleString.h"

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
