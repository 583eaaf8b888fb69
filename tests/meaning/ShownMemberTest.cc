// A result whose headword is a word of the description is shown under another
// member of its sense that opens it, or ranked below the others when its
// sense has no such member.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/MeaningIndexWriter.h"
#include "meaning/MeaningSearch.h"
#include "tests/support/TestDatabase.h"

namespace {

struct IndexedSense {
    uint32_t record;
    uint8_t member;  // shown member, from 1
    uint8_t number;  // n of "member:n"
    std::vector<std::pair<std::string, uint32_t>> terms;
};

TEST(ShownMemberTest, ResultsNamedByTheQueryShowAnotherMemberOrComeLast) {
    lxtest::TestDatabase db;
    const uint32_t filler = db.Sense({{"filler"}, "nothing to find", {}});
    const uint32_t weeks = db.Sense({{"two weeks", "fortnight"}, "a period of fourteen days", {}});
    const uint32_t wolves = db.Sense({{"wolf pack"}, "a group of wolves", {}});
    const uint32_t pack = db.Sense({{"pack"}, "a group of hunting animals such as wolves", {}});
    db.Word("two weeks", {{lxd::kKindNoun, weeks}});
    db.Word("fortnight", {{lxd::kKindNoun, filler}, {lxd::kKindNoun, weeks}});
    db.Word("wolf pack", {{lxd::kKindNoun, wolves}});
    db.Word("pack", {{lxd::kKindNoun, pack}});
    std::unique_ptr<CDictDatabase> database = db.Open();
    ASSERT_NE(nullptr, database);

    const uint32_t gloss = lxm::kFieldGloss, member = lxm::kFieldMember;
    const IndexedSense senses[] = {
        {weeks, 1, 1, {{"period", gloss}, {"two", member}, {"weeks", member}}},
        {wolves, 1, 1, {{"group", gloss}, {"wolf", member}, {"pack", member}}},
        {pack, 1, 1, {{"group", gloss}, {"hunting", gloss}, {"wolf", gloss}}},
    };
    CMeaningIndexWriter writer;
    uint32_t size = 0, check = 0;
    ASSERT_TRUE(CMeaningIndex::IdentifyDictionary(database.get(), &size, &check));
    writer.SetDictionary(size, check);
    for (const IndexedSense& sense : senses) {
        writer.AddSense({sense.record | lxm::kSenseNoun, sense.member, sense.number, 0});
        for (const auto& term : sense.terms) writer.AddTerm(term.first, term.second);
    }
    CMeaningIndex index;
    ASSERT_TRUE(index.Load(writer.Finish(), size, check));
    CMeaningSearch search(database.get(), &index);

    struct Case {
        const char* text;
        std::vector<std::pair<std::string, uint32_t>> results;  // word, sense
    };
    const Case cases[] = {
        // "two weeks" names the query: its sense shows as fortnight:2.
        {"a period of two weeks", {{"fortnight", 2}}},
        // Both hold every word, but "wolf pack" names one and has no other
        // member: it comes after pack, whose words weigh less.
        {"group wolf", {{"pack", 1}, {"wolf pack", 1}}},
        // Unnamed results keep their order.
        {"hunting group", {{"pack", 1}, {"wolf pack", 1}}},
    };
    for (const Case& c : cases) {
        bool cut = false;
        std::vector<std::pair<std::string, uint32_t>> found;
        for (const MeaningResult& result : search.Search(c.text, 10, &cut)) {
            found.emplace_back(result.word, result.sense);
        }
        EXPECT_EQ(c.results, found) << c.text;
    }
}

}  // namespace
