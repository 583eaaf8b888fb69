// A sense that has the description's first word as a member is that word's
// own meaning and ranks below the others; a later word of the description
// may be a member of the sense looked for and does not lower it.
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

TEST(QueryWordSenseTest, OnlyTheFirstWordsOwnSenseRanksLower) {
    lxtest::TestDatabase db;
    const uint32_t doctor = db.Sense({{"doctor", "physician"}, "a medical practitioner", {}});
    const uint32_t pediatrician = db.Sense({{"pediatrician"}, "a doctor for children", {}});
    const uint32_t antonym = db.Sense({{"antonym", "opposite"}, "a word of opposed meaning", {}});
    const uint32_t word = db.Sense({{"word"}, "a unit of language", {}});
    const uint32_t contrary = db.Sense({{"contrary"}, "a word whose meaning is the opposite", {}});
    db.Word("doctor", {{lxd::kKindNoun, doctor}});
    db.Word("physician", {{lxd::kKindNoun, doctor}});
    db.Word("pediatrician", {{lxd::kKindNoun, pediatrician}});
    db.Word("antonym", {{lxd::kKindNoun, antonym}});
    db.Word("opposite", {{lxd::kKindNoun, antonym}});
    db.Word("word", {{lxd::kKindNoun, word}});
    db.Word("contrary", {{lxd::kKindNoun, contrary}});
    std::unique_ptr<CDictDatabase> database = db.Open();
    ASSERT_NE(nullptr, database);

    const uint32_t gloss = lxm::kFieldGloss, member = lxm::kFieldMember;
    const std::vector<std::pair<uint32_t, std::vector<std::pair<std::string, uint32_t>>>> senses = {
        {doctor, {{"doctor", member}, {"physician", member}, {"child", gloss}, {"medical", gloss}}},
        {pediatrician, {{"pediatrician", member}, {"doctor", gloss}, {"child", gloss}}},
        {antonym, {{"antonym", member}, {"opposite", member}, {"word", gloss}, {"mean", gloss}}},
        {word, {{"word", member}, {"unit", gloss}, {"language", gloss}, {"mean", gloss}}},
        {contrary,
         {{"contrary", member},
          {"word", gloss},
          {"mean", gloss},
          {"opposite", gloss},
          {"whose", gloss}}},
    };
    CMeaningIndexWriter writer;
    uint32_t size = 0, check = 0;
    ASSERT_TRUE(CMeaningIndex::IdentifyDictionary(database.get(), &size, &check));
    writer.SetDictionary(size, check);
    for (const auto& sense : senses) {
        // antonym's sense is shown under "opposite", as its commoner member.
        const uint8_t shown = sense.first == antonym ? 2 : 1;
        writer.AddSense({sense.first | lxm::kSenseNoun, shown, 1, 0});
        for (const auto& term : sense.second) writer.AddTerm(term.first, term.second);
    }
    CMeaningIndex index;
    ASSERT_TRUE(index.Load(writer.Finish(), size, check));
    CMeaningSearch search(database.get(), &index);

    struct Case {
        const char* text;
        std::vector<std::string> first;  // the leading results, in order
    };
    const Case cases[] = {
        // doctor's own sense holds every word but comes after pediatrician,
        // not shown as physician.
        {"a doctor for a child", {"pediatrician", "doctor"}},
        // "opposite" names the sense looked for: it is shown as antonym,
        // before the longer contrary.
        {"a word that means the opposite", {"antonym", "contrary"}},
    };
    for (const Case& c : cases) {
        bool cut = false;
        std::vector<std::string> found;
        for (const MeaningResult& result : search.Search(c.text, 10, &cut)) {
            found.push_back(result.word);
        }
        found.resize(std::min(found.size(), c.first.size()));
        EXPECT_EQ(c.first, found) << c.text;
    }
}

}  // namespace
