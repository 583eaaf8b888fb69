// The order of a headword's part-of-speech groups on a small lexicon: WordNet's
// tag counts for WordNet's words, the Brill lexicon's tags for words with
// senses of other sources.
#include <gtest/gtest.h>

#include "db/Format.h"
#include "tools/lxdbuild/PartOfSpeechOrder.h"

namespace lxdbuild {
namespace {

using Kinds = std::vector<uint32_t>;

// A sense of `kind` for `headword` with `tags` tagged uses; pos 'x' marks a
// sense from outside WordNet, kept apart as GCIDE's minor senses are.
void AddSense(CLexicon& lexicon, const std::string& headword, char pos, uint32_t kind,
              uint32_t tags = 0) {
    Synset synset;
    synset.pos = pos;
    synset.kind = kind;
    synset.members = {headword};
    synset.tagCounts = {tags};
    Entry& entry = lexicon.entries[headword];
    (IsMinorKind(kind) || kind == lxd::kKindInterjection ? entry.minorSenses : entry.senses)
        .push_back(static_cast<uint32_t>(lexicon.synsets.size()));
    lexicon.synsets.push_back(synset);
}

TEST(PartOfSpeechOrder, GroupsGoCommonestFirstByCountsOrByDominantTags) {
    using namespace lxd;
    CBuildReport report(true);
    CBrillLexicon brill;
    brill.Read(
        "export const tags = [\n  'NN',\n  'IN',\n  'RB',\n  'MD',\n  'UH',\n  'PRP$',\n"
        "  'PRP',\n  'JJ|IN'\n]\n",
        "export const words = {\n  in: [1, 0, 2],\n  can: [3, 0],\n  oh: 4,\n"
        "  his: [5, 6],\n  come: 0,\n  'it\\'s': [7, 9],\n  bad line\n}\n",
        "words.js", report);
    EXPECT_EQ(report.MalformedCount(), 2);  // a tag number past the list, a line of no entry
    EXPECT_EQ(brill.TagsOf("it's"), std::vector<std::string>{"JJ"});
    EXPECT_EQ(brill.TagsOf("His"), brill.TagsOf("his"));

    CLexicon lexicon;
    // WordNet's words by their counts (the Brill lexicon is not asked), the
    // satellites with their adjectives; ties keep WordNet's order.
    AddSense(lexicon, "come", 'n', kKindNoun, 2);
    AddSense(lexicon, "come", 'v', kKindVerb, 900);
    AddSense(lexicon, "big", 'n', kKindNoun, 3);
    AddSense(lexicon, "big", 'a', kKindAdjective, 1);
    AddSense(lexicon, "big", 's', kKindAdjectiveSatellite, 40);
    AddSense(lexicon, "big", 'r', kKindAdverb, 3);
    // Words with other senses by their Brill tags, groups without a tag last;
    // WordNet's own groups fill the places the tags give them by their counts.
    AddSense(lexicon, "in", 'n', kKindNoun, 5);
    AddSense(lexicon, "in", 'a', kKindAdjective, 9);
    AddSense(lexicon, "in", 'r', kKindAdverb, 1);
    AddSense(lexicon, "in", 'x', kKindPreposition);
    AddSense(lexicon, "can", 'n', kKindNoun, 20);
    AddSense(lexicon, "can", 'x', kKindVerb);
    AddSense(lexicon, "can", 'v', kKindVerb, 1);
    AddSense(lexicon, "oh", 'n', kKindNoun);
    AddSense(lexicon, "oh", 'x', kKindInterjection);
    AddSense(lexicon, "his", 'x', kKindPronoun);
    AddSense(lexicon, "his", 'x', kKindDeterminer);
    // Unknown to the Brill lexicon: WordNet's groups by counts, then the others.
    AddSense(lexicon, "thy", 'x', kKindDeterminer);
    AddSense(lexicon, "thy", 'n', kKindNoun, 0);
    CPartOfSpeechOrder order(brill);
    order.Apply(lexicon);

    const std::map<std::string, Kinds> expected = {
        {"come", {kKindVerb, kKindNoun}},
        {"big", {kKindAdjective, kKindAdjectiveSatellite, kKindNoun, kKindAdverb}},
        {"in", {kKindPreposition, kKindAdjective, kKindNoun, kKindAdverb}},
        {"can", {kKindVerb, kKindVerb, kKindNoun}},
        {"oh", {kKindInterjection, kKindNoun}},
        {"his", {kKindDeterminer, kKindPronoun}},
        {"thy", {kKindNoun, kKindDeterminer}},
    };
    for (const auto& word : expected) {
        const Entry& entry = lexicon.entries.at(word.first);
        Kinds kinds;
        for (uint32_t sense : entry.senses) kinds.push_back(lexicon.synsets[sense].kind);
        EXPECT_EQ(kinds, word.second) << word.first;
        EXPECT_TRUE(entry.minorSenses.empty()) << word.first;
    }
    // The modal's own sense stays before WordNet's verb sense.
    EXPECT_EQ(lexicon.synsets[lexicon.entries.at("can").senses[0]].pos, 'x');
    EXPECT_EQ(order.Figures().byTags, 4u);
    EXPECT_EQ(order.Figures().firstMoved, 6u);
}

}  // namespace
}  // namespace lxdbuild
