// How the words of a description count: a word is held where any of its
// first sense's synonyms is, whatever term a sample mentions first; the first
// word of its definition stands in weakly ("young" for baby); only the
// description's first word marks a sense as that word's own meaning.
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

constexpr uint32_t G = lxm::kFieldGloss, S = lxm::kFieldSample;

struct IndexedSense {
    std::vector<std::string> members;
    uint8_t shown;                                        // member shown, from 1
    std::vector<std::pair<std::string, uint32_t>> terms;  // besides the members
};

TEST(QueryWordsTest, StandInsAndTheFirstWordsOwnSense) {
    const IndexedSense senses[] = {
        {{"ten", "10"}, 1, {{"nine", G}}},
        {{"decade"}, 1, {{"period", G}, {"10", G}, {"year", G}, {"ten", S}}},  // longer
        {{"stint"}, 1, {{"period", G}, {"ten", S}}},
        {{"baby", "babe"}, 1, {{"young", G}, {"child", G}}},
        {{"puppy"}, 1, {{"young", G}, {"dog", G}}},
        {{"hound"}, 1, {{"dog", G}}},
        {{"whelp"}, 1, {{"dog", G}, {"young", G}, {"baby", S}}},
        {{"doctor", "physician"}, 1, {{"healer", G}, {"child", G}}},
        {{"pediatrician"}, 1, {{"doctor", G}, {"child", G}}},
        {{"antonym", "opposite"}, 2, {{"word", G}, {"mean", G}}},
        {{"contrary"}, 1, {{"word", G}, {"mean", G}, {"opposite", G}, {"whose", G}}},
    };
    lxtest::TestDatabase db;
    std::vector<uint32_t> records;
    for (const IndexedSense& sense : senses) {
        std::string gloss;
        for (const auto& term : sense.terms) gloss += (term.second == G ? term.first + " " : "");
        records.push_back(db.Sense({sense.members, gloss, {}}));
        for (const std::string& member : sense.members) {
            db.Word(member, {{lxd::kKindNoun, records.back()}});
        }
    }
    std::unique_ptr<CDictDatabase> database = db.Open();
    uint32_t size = 0, check = 0;
    ASSERT_TRUE(database && CMeaningIndex::IdentifyDictionary(database.get(), &size, &check));
    CMeaningIndexWriter writer;
    writer.SetDictionary(size, check);
    for (size_t i = 0; i < records.size(); ++i) {
        writer.AddSense({records[i] | lxm::kSenseNoun, senses[i].shown, 1, 0});
        for (const std::string& member : senses[i].members)
            writer.AddTerm(member, lxm::kFieldMember);
        for (const auto& term : senses[i].terms) writer.AddTerm(term.first, term.second);
    }
    CMeaningIndex index;
    ASSERT_TRUE(index.Load(writer.Finish(), size, check));
    CMeaningSearch search(database.get(), &index);

    const std::pair<const char*, std::vector<std::string>> cases[] = {
        // decade holds ten through 10; stint, shorter, only in a sample.
        {"period ten", {"decade", "stint"}},
        // puppy holds baby weakly through "young": above hound, below whelp.
        {"a baby dog", {"whelp", "puppy"}},
        // doctor's own sense ranks last, not shown as physician.
        {"a doctor for a child", {"pediatrician", "doctor"}},
        // "opposite" names the sense looked for: shown as antonym.
        {"a word that means the opposite", {"antonym", "contrary"}},
    };
    for (const auto& c : cases) {
        bool cut = false;
        std::vector<std::string> found;
        for (const MeaningResult& result : search.Search(c.first, c.second.size(), &cut)) {
            found.push_back(result.word);
        }
        EXPECT_EQ(c.second, found) << c.first;
    }
}

}  // namespace
