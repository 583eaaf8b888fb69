// The meaning index the builder writes: a sense is found through the
// evidence its WordNet relations lend it, searched as the engine searches.
#include <gtest/gtest.h>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "meaning/MeaningIndex.h"
#include "meaning/MeaningSearch.h"
#include "tests/support/TestDatabase.h"
#include "tools/lxdbuild/MeaningIndexer.h"

namespace lxdbuild {
namespace {

constexpr uint32_t kHypernym = 140;
constexpr uint32_t kDerivation = 148;

// One noun synset: its members (the first is its headword), its gloss and
// its links to other rows.
struct Row {
    std::vector<std::string> members;
    std::string gloss;
    std::vector<Link> links;
};

TEST(MeaningIndexer, SensesAreFoundThroughTheirRelatedSenses) {
    const std::vector<Row> rows = {
        {{"doctor"}, "a licensed medical practitioner", {}},
        {{"pediatrician"},
         "a specialist in the care of babies",
         {{kHypernym, 0}, {kDerivation, 2, 1, 1}}},
        {{"pediatrics"}, "the branch of medicine concerned with infants", {{kDerivation, 1, 1, 1}}},
        {{"orthopedist"}, "a doctor who treats bones", {{kHypernym, 0}}},
        {{"nursery"}, "a room for babies and infants", {}},
    };
    CLexicon lexicon;
    lxtest::TestDatabase db;
    std::map<uint32_t, uint32_t> positions;
    for (const Row& row : rows) {
        Synset synset;
        synset.members = row.members;
        synset.gloss = row.gloss;
        synset.links = row.links;
        synset.kind = lxd::kKindNoun;
        positions[static_cast<uint32_t>(lexicon.synsets.size())] =
            db.Sense({row.members, row.gloss, {}});
        db.Word(row.members[0], {{lxd::kKindNoun, positions.rbegin()->second}});
        lexicon.synsets.push_back(synset);
    }
    ASSERT_TRUE(db.Write());
    const CGcideGlosses gcide;
    const WordTiers tiers;
    CMeaningIndexer indexer(lexicon, positions, gcide, tiers);
    const std::string indexPath = db.Dir() + "/data/meaning.lxm";
    ASSERT_TRUE(indexer.Write(db.Path(), indexPath)) << indexer.Error();
    std::unique_ptr<CDictDatabase> database = db.Open();
    CMeaningIndex index;
    ASSERT_TRUE(index.Open(indexPath.c_str(), database.get()));
    CMeaningSearch search(database.get(), &index);
    struct Case {
        const char* text;
        const char* first;
    };
    const Case cases[] = {
        // "doctor": the member of its broader sense.
        {"a doctor for babies", "pediatrician"},
        // "infants": the gloss of pediatrics, derived from the same stem.
        {"a doctor for infants", "pediatrician"},
    };
    for (const Case& c : cases) {
        bool cut = false;
        const std::vector<MeaningResult> results = search.Search(c.text, 3, &cut);
        ASSERT_FALSE(results.empty()) << c.text;
        EXPECT_EQ(c.first, results[0].word) << c.text;
    }
}

}  // namespace
}  // namespace lxdbuild
