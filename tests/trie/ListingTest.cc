#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/IndexListing.h"
#include "db/ScrollHelper.h"
#include "tests/trie/TrieFiles.h"

namespace {

using Words = std::vector<std::string>;

Words List(CDictDatabase* database, const std::string& anchor, bool forward, bool exclusive,
           size_t limit) {
    Collector collector;
    collector.limit = limit;
    ListIndexWords(database, Collector::Visit, &collector, anchor.c_str(), forward, exclusive);
    return collector.words;
}

TEST(IndexListing, RunsAroundAnAnchor) {
    TrieDatabase file(SectionOf({"cat", "cats", "dog", "paris", "Paris", "parish", "zebra"}));
    CDictDatabase* db = file.db();
    EXPECT_EQ(List(db, "Paris", true, false, 2), (Words{"Paris", "parish"}));
    EXPECT_EQ(List(db, "Paris", true, true, 2), (Words{"parish", "zebra"}));
    EXPECT_EQ(List(db, "Paris", false, false, 2), (Words{"paris", "dog"}));
    EXPECT_EQ(List(db, "Paris", false, true, 2), (Words{"paris", "dog"}));
    EXPECT_EQ(List(db, "CAT", true, false, 1), (Words{"cats"}));
    EXPECT_EQ(List(db, "CAT", false, false, 1), (Words{"cat"}));
    EXPECT_EQ(List(db, "cat", true, false, 1), (Words{"cat"}));
    EXPECT_EQ(List(db, "cat", true, true, 1), (Words{"cats"}));
    EXPECT_EQ(List(db, "", true, false, 1), (Words{"cat"}));
    // A visitor that counts down after writing still takes one word at 0.
    EXPECT_EQ(List(db, "dog", true, false, 0), (Words{"dog"}));
    EXPECT_TRUE(List(db, "", false, false, 5).empty());
    EXPECT_TRUE(List(db, "zz", true, false, 5).empty());
    EXPECT_EQ(List(db, "zz", false, false, 2), (Words{"zebra", "parish"}));
}

TEST(IndexListing, ExclusiveRunsContinueSeamlessly) {
    Words headwords;
    for (const char* stem : {"a", "ab", "Ab", "AB", "abc", "b", "B", "ba", "bA"}) {
        headwords.push_back(stem);
        headwords.push_back(std::string(stem) + "x");
    }
    TrieDatabase file(SectionOf(headwords));
    Words whole = List(file.db(), "", true, false, SIZE_MAX);
    ASSERT_EQ(whole.size(), headwords.size());

    for (size_t runLength : {1u, 2u, 5u}) {
        Words joined = List(file.db(), "", true, false, runLength);
        while (joined.size() < whole.size()) {
            Words next = List(file.db(), joined.back(), true, true, runLength);
            ASSERT_FALSE(next.empty());
            joined.insert(joined.end(), next.begin(), next.end());
        }
        EXPECT_EQ(joined, whole);
        EXPECT_TRUE(List(file.db(), whole.back(), true, true, runLength).empty());
    }
    // Backward runs from each word's own anchor give the words before it.
    for (size_t i = 0; i < whole.size(); ++i) {
        Words before = List(file.db(), whole[i], false, false, 1);
        EXPECT_EQ(before, i == 0 ? Words{} : Words{whole[i - 1]}) << whole[i];
    }
}

TEST(IndexListing, LongAnchorsOrderLikeTheirFullKeys) {
    std::string longest(57, 'q');
    TrieDatabase file(SectionOf({"p", longest, "r"}));
    std::string anchor(200, 'Q');
    EXPECT_EQ(List(file.db(), anchor, true, false, 5), (Words{"r"}));
    EXPECT_EQ(List(file.db(), anchor, false, false, 5), (Words{longest, "p"}));
    EXPECT_EQ(List(file.db(), std::string(70, 'Q') + "Z", true, true, 5), (Words{"r"}));
}

TEST(IndexListing, ScrollPositions) {
    std::vector<unsigned char> section = SectionOf({"apple", "berry", "cherry"});
    size_t tableOffset = section.size();
    section.resize(tableOffset + lxd::kScrollTableSize, 0);
    // Position 3 holds "ch", stored reversed in its four bytes.
    section[tableOffset + 4 * 3 + 3] = 'c';
    section[tableOffset + 4 * 3 + 2] = 'h';
    TrieDatabase file(section);
    file.db()->scrollHelper = new CScrollHelper(file.db()->file, tableOffset);

    char prefix[5];
    file.db()->scrollHelper->GetScrollPrefix(3, prefix);
    EXPECT_STREQ(prefix, "ch");
    file.db()->scrollHelper->GetScrollPrefix(1024, prefix);
    EXPECT_STREQ(prefix, "\x01");

    Collector collector;
    ListFromScrollPosition(file.db(), Collector::Visit, &collector, 3);
    EXPECT_EQ(collector.words, (Words{"cherry"}));
    for (int position : {-5, 0, 1024, 5000}) {
        Collector fromStart;
        fromStart.limit = 1;
        ListFromScrollPosition(file.db(), Collector::Visit, &fromStart, position);
        EXPECT_EQ(fromStart.words, (Words{"apple"})) << position;
    }

    CScrollHelper unreadable(file.db()->file, 1u << 30);
    unreadable.GetScrollPrefix(7, prefix);
    EXPECT_STREQ(prefix, "");
}

}  // namespace
