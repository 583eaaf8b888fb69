// A query word held in a sense's definition through one of its alternatives
// (its synonyms) counts as held there even when the word itself is only in
// that sense's samples: the order of the alternatives does not decide.
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

TEST(StrongOccurrenceTest, DefinitionHoldingASynonymOutranksSampleMentions) {
    lxtest::TestDatabase db;
    const uint32_t ten = db.Sense({{"ten", "10"}, "the number after nine", {}});
    const uint32_t decade = db.Sense({{"decade"}, "a period of 10 years", {}});
    const uint32_t stint = db.Sense({{"stint"}, "a period", {}});
    db.Word("ten", {{lxd::kKindNoun, ten}});
    db.Word("decade", {{lxd::kKindNoun, decade}});
    db.Word("stint", {{lxd::kKindNoun, stint}});
    std::unique_ptr<CDictDatabase> database = db.Open();
    ASSERT_NE(nullptr, database);

    const uint32_t gloss = lxm::kFieldGloss, sample = lxm::kFieldSample;
    const std::vector<std::pair<uint32_t, std::vector<std::pair<std::string, uint32_t>>>> senses = {
        {ten, {{"number", gloss}, {"nine", gloss}}},
        // Longer than stint: on equal words it would score lower.
        {decade, {{"period", gloss}, {"10", gloss}, {"year", gloss}, {"ten", sample}}},
        {stint, {{"period", gloss}, {"ten", sample}, {"day", sample}}},
    };
    CMeaningIndexWriter writer;
    uint32_t size = 0, check = 0;
    ASSERT_TRUE(CMeaningIndex::IdentifyDictionary(database.get(), &size, &check));
    writer.SetDictionary(size, check);
    for (const auto& sense : senses) {
        writer.AddSense({sense.first | lxm::kSenseNoun, 1, 1, 0});
        for (const auto& term : sense.second) writer.AddTerm(term.first, term.second);
    }
    CMeaningIndex index;
    ASSERT_TRUE(index.Load(writer.Finish(), size, check));
    CMeaningSearch search(database.get(), &index);

    bool cut = false;
    std::vector<std::string> found;
    for (const MeaningResult& result : search.Search("period ten", 10, &cut)) {
        found.push_back(result.word);
    }
    // decade holds both words (ten as its synonym 10); stint only one.
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ("decade", found[0]);
    EXPECT_EQ("stint", found[1]);
}

}  // namespace
