// The meaning index the builder writes: a sense is found through the
// evidence its WordNet relations lend it, searched as the engine searches;
// its term vectors are trained alike in every build.
#include <gtest/gtest.h>
#include <unistd.h>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "meaning/MeaningIndex.h"
#include "meaning/MeaningSearch.h"
#include "tests/support/TestDatabase.h"
#include "tools/lxdbuild/MeaningIndexer.h"
#include "tools/lxdbuild/TermVectorTrainer.h"

namespace lxdbuild {
namespace {

TEST(MeaningIndexer, SensesAreFoundThroughTheirRelatedSenses) {
    const Link broader{140, 0}, derived{148, 2, 1, 1}, narrower{144, 7};  // to rows 0, 2, 7
    const Link toUnable{136, 10, 1, 1}, toAble{136, 9, 1, 1}, toDay{136, 13, 1, 1};
    // One-member synsets: word, gloss, links, kind.
    struct Row {
        std::string word, gloss;
        std::vector<Link> links;
        uint32_t kind = lxd::kKindNoun;
    };
    const std::vector<Row> rows = {
        {"doctor", "a licensed medical practitioner", {}},
        {"pediatrician", "a specialist in the care of babies", {broader, derived}},
        {"pediatrics", "the branch of medicine concerned with infants", {}},
        {"orthopedist", "a doctor who treats bones", {broader}},
        {"nursery", "a room for babies and infants", {}},
        {"herd", "a group of cattle", {}},
        {"pack", "a group of hunting animals", {narrower}},
        {"wolf pack", "a band of hunters", {}},
        {"wolf", "a wild dog", {}},
        {"able", "having the means or skill", {toUnable}, lxd::kKindAdjective},
        {"unable", "lacking the means or skill", {toAble}, lxd::kKindAdjective},
        {"sighted", "able to see", {}, lxd::kKindAdjective},
        {"blind", "unable to see", {}, lxd::kKindAdjective},
        {"day", "the time after sunrise", {}},
        {"night", "the time after sunset", {toDay}},
        {"hibernate", "a long sleep during the cold winter", {}, lxd::kKindVerb},
        {"hibernation", "the long cold winter sleep of animals", {}},
        {"whelp", "a young dog", {}},
        {"puppy", "a young dog", {}},
    };
    CLexicon lexicon;
    lxtest::TestDatabase db;
    std::map<uint32_t, uint32_t> positions;
    for (const auto& [word, gloss, links, kind] : rows) {
        std::vector<DictSenseLink> stored;
        for (const Link& link : links) {
            if (link.kind == 136) stored.push_back({136, rows[link.target].word, 0, 1, 1});
        }
        const uint32_t position = db.Sense({{word}, gloss, stored}, word);
        db.Word(word, {{kind, position}});
        positions[static_cast<uint32_t>(lexicon.synsets.size())] = position;
        lexicon.synsets.push_back({'n', {word}, gloss, links, kind, 0, {}});
    }
    ASSERT_TRUE(db.Write());
    const CGcideGlosses gcide;
    const WordTiers tiers{{}, {"puppy"}};  // a word of the common list
    CMeaningIndexer indexer(lexicon, positions, gcide, tiers);
    const std::string indexPath = db.Dir() + "/data/meaning.lxm";
    ASSERT_TRUE(indexer.Write(db.Path(), indexPath)) << indexer.Error();
    std::unique_ptr<CDictDatabase> database = db.Open();
    CMeaningIndex index;
    ASSERT_TRUE(index.Open(indexPath.c_str(), database.get()));
    CMeaningSearch search(database.get(), &index);
    // "doctor": the member of its broader sense; "infants": the gloss of the
    // sense derived from the same stem; "wolves": its one narrower sense;
    // "not able" and "opposite of night": the antonyms unable and day; the
    // noun asked for holding all words but one before a verb holding all;
    // of two alike, the sense of a word the word lists hold.
    for (const auto& [text, first] : {std::pair{"a doctor for babies", "pediatrician"},
                                      {"a doctor for infants", "pediatrician"},
                                      {"a group of wolves", "pack"},
                                      {"not able to see", "blind"},
                                      {"the opposite of night", "day"},
                                      {"a long sleep during the cold winter", "hibernation"},
                                      {"a young dog", "puppy"}}) {
        bool cut = false;
        const std::vector<MeaningResult> results = search.Search(text, 1, &cut);
        ASSERT_EQ(1u, results.size()) << text;
        EXPECT_EQ(first, results[0].word) << text;
    }
}

// Two builds write the same bytes: the vectors are trained alike, and the
// text they are trained on is not left behind.
TEST(TermVectorTrainer, TrainsTheSameVectorsEveryTime) {
    const lxtest::TempDir dir;
    const std::string path = dir.File("text");
    const auto train = [&](int lines) {
        CTermVectorTrainer trainer;
        for (int line = 0; line < lines; ++line) {
            trainer.StartLine();
            for (int word = 0; word < 8; ++word) {
                trainer.AddTerm("w" + std::to_string((line * 7 + word * 3) % 40));
            }
        }
        std::unordered_map<std::string, std::vector<int8_t>> vectors;
        std::string error;
        EXPECT_TRUE(trainer.Train(path, &vectors, &error)) << error;
        EXPECT_NE(0, access(path.c_str(), F_OK));
        return vectors;
    };
    const auto vectors = train(200);
    EXPECT_EQ(40u, vectors.size());
    EXPECT_EQ(vectors, train(200));
    EXPECT_TRUE(train(1).empty());  // no word is used often enough
}

}  // namespace
}  // namespace lxdbuild
