// A query word is searched with stand-ins from its first sense: its synonyms
// and, weakly, the first word of its definition. A sense holds the word when
// its definition holds any of them, whatever the order they are tried in;
// the definition's word alone never makes a sense hold it.
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

using Terms = std::vector<std::pair<std::string, uint32_t>>;
constexpr uint32_t kGloss = lxm::kFieldGloss, kMember = lxm::kFieldMember;

// The headwords of the results for `text`, over noun senses (record, terms)
// of the dictionary in `db`, each shown under its first member.
std::vector<std::string> Search(lxtest::TestDatabase& db,
                                const std::vector<std::pair<uint32_t, Terms>>& senses,
                                const char* text) {
    std::unique_ptr<CDictDatabase> database = db.Open();
    CMeaningIndexWriter writer;
    uint32_t size = 0, check = 0;
    if (!database || !CMeaningIndex::IdentifyDictionary(database.get(), &size, &check)) return {};
    writer.SetDictionary(size, check);
    for (const auto& sense : senses) {
        writer.AddSense({sense.first | lxm::kSenseNoun, 1, 1, 0});
        for (const auto& term : sense.second) writer.AddTerm(term.first, term.second);
    }
    CMeaningIndex index;
    if (!index.Load(writer.Finish(), size, check)) return {};
    CMeaningSearch search(database.get(), &index);
    bool cut = false;
    std::vector<std::string> words;
    for (const MeaningResult& result : search.Search(text, 10, &cut)) words.push_back(result.word);
    return words;
}

TEST(QueryAlternativesTest, DefinitionHoldingASynonymOutranksSampleMentions) {
    lxtest::TestDatabase db;
    const uint32_t ten = db.Sense({{"ten", "10"}, "the number after nine", {}});
    const uint32_t decade = db.Sense({{"decade"}, "a period of 10 years", {}});
    const uint32_t stint = db.Sense({{"stint"}, "a period", {}});
    db.Word("ten", {{lxd::kKindNoun, ten}});
    db.Word("decade", {{lxd::kKindNoun, decade}});
    db.Word("stint", {{lxd::kKindNoun, stint}});
    const std::vector<std::pair<uint32_t, Terms>> senses = {
        {ten, {{"number", kGloss}, {"nine", kGloss}}},
        // Longer than stint, and "ten" only in its samples: held through 10.
        {decade,
         {{"period", kGloss}, {"10", kGloss}, {"year", kGloss}, {"ten", lxm::kFieldSample}}},
        {stint, {{"period", kGloss}, {"ten", lxm::kFieldSample}, {"day", lxm::kFieldSample}}},
    };
    const std::vector<std::string> found = Search(db, senses, "period ten");
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ("decade", found[0]);
    EXPECT_EQ("stint", found[1]);
}

TEST(QueryAlternativesTest, FirstWordOfTheDefinitionStandsInWeakly) {
    lxtest::TestDatabase db;
    const uint32_t baby = db.Sense({{"baby", "babe"}, "a very young child", {}});
    const uint32_t puppy = db.Sense({{"puppy"}, "a young dog", {}});
    const uint32_t hound = db.Sense({{"hound"}, "a dog", {}});
    const uint32_t whelp = db.Sense({{"whelp"}, "a dog's young$a baby whelp", {}});
    db.Word("baby", {{lxd::kKindNoun, baby}});
    db.Word("puppy", {{lxd::kKindNoun, puppy}});
    db.Word("hound", {{lxd::kKindNoun, hound}});
    db.Word("whelp", {{lxd::kKindNoun, whelp}});
    const std::vector<std::pair<uint32_t, Terms>> senses = {
        {baby, {{"baby", kMember}, {"babe", kMember}, {"young", kGloss}, {"child", kGloss}}},
        {puppy, {{"puppy", kMember}, {"young", kGloss}, {"dog", kGloss}}},
        {hound, {{"hound", kMember}, {"dog", kGloss}}},
        // baby in its samples only: held by neither, but more than "young".
        {whelp,
         {{"whelp", kMember}, {"dog", kGloss}, {"young", kGloss}, {"baby", lxm::kFieldSample}}},
    };
    const std::vector<std::string> found = Search(db, senses, "a baby dog");
    // puppy holds dog as the shorter hound does, and baby weakly through
    // "young": enough to pass hound, not whelp, whose samples say baby.
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ("whelp", found[0]);
    EXPECT_EQ("puppy", found[1]);
}

}  // namespace
