// The builder's search data: tag counts read from cntlist.rev's lines and the
// filter list from WordNet's usage domains (RealDataTest searches the real file).
#include <gtest/gtest.h>

#include "tools/lxdbuild/SearchDataMaker.h"

using lxdbuild::CLexicon;
using lxdbuild::CSearchDataMaker;

namespace {

uint32_t AddSynset(CLexicon& lexicon, std::vector<std::string> members) {
    lxdbuild::Synset synset;
    synset.members = std::move(members);
    lexicon.synsets.push_back(synset);
    return static_cast<uint32_t>(lexicon.synsets.size() - 1);
}

// Marks `synset` (or its member `member` only) as used in `domain`.
void MarkUsage(CLexicon& lexicon, uint32_t synset, uint32_t domain, uint8_t member = 0) {
    lexicon.synsets[synset].links.push_back({180, domain, member, 0});
}

}  // namespace

TEST(SearchDataMaker, SumsTagCountsPerLemma) {
    std::map<std::string, uint32_t> counts = CSearchDataMaker::ReadTagCounts(
        "dog%1:05:00:: 1 42\n"
        "dog%2:38:00:: 1 3\n"
        "Hot_Dog%1:13:01:: 1 5\n"
        "no percent sign 1 7\n");
    EXPECT_EQ((std::map<std::string, uint32_t>{{"dog", 45}, {"hot dog", 5}}), counts);
}

TEST(SearchDataMaker, FiltersWordsWhoseEverySenseIsOffensive) {
    CLexicon lexicon;
    uint32_t slur = AddSynset(lexicon, {"ethnic slur"});
    uint32_t slang = AddSynset(lexicon, {"slang", "cant"});
    uint32_t insult = AddSynset(lexicon, {"meanie", "pig"});  // the whole synset
    uint32_t animal = AddSynset(lexicon, {"pig", "hog"});
    uint32_t mixed = AddSynset(lexicon, {"boor", "clod"});  // only its second member
    uint32_t casual = AddSynset(lexicon, {"buck"});
    MarkUsage(lexicon, insult, slur);
    MarkUsage(lexicon, mixed, slur, 2);
    MarkUsage(lexicon, casual, slang);
    lexicon.entries["meanie"].senses = {insult};
    lexicon.entries["pig"].senses = {animal, insult};
    lexicon.entries["boor"].senses = {mixed};
    lexicon.entries["clod"].senses = {mixed};
    lexicon.entries["buck"].senses = {casual};
    EXPECT_EQ((std::set<std::string>{"clod", "meanie"}), CSearchDataMaker::OffensiveWords(lexicon));
}
