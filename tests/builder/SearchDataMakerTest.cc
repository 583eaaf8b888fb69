// The builder's search data: tag counts read from cntlist.rev's lines and the
// filter list of offensive words (RealDataTest searches the real file).
#include <gtest/gtest.h>

#include "tools/lxdbuild/OffensiveWords.h"
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

// Offensive senses, the everyday words kept for their other senses, forms and
// compounds of the roots, and words that merely hold a root's letters.
TEST(OffensiveWords, ListsOffensiveWordsTheirFormsAndCompounds) {
    CLexicon lexicon;
    uint32_t obscenity = AddSynset(lexicon, {"obscenity", "vulgarism"});
    uint32_t slur = AddSynset(lexicon, {"ethnic slur"});
    uint32_t sex = AddSynset(lexicon, {"fuck", "screw"});
    uint32_t insult = AddSynset(lexicon, {"wop", "boy"});
    uint32_t mixed = AddSynset(lexicon, {"boor", "clod"});  // only its second member
    uint32_t genitals = AddSynset(lexicon, {"cunt"});
    lexicon.synsets[genitals].gloss = "obscene terms for female genitals";
    MarkUsage(lexicon, sex, obscenity);
    MarkUsage(lexicon, insult, slur);
    MarkUsage(lexicon, mixed, slur, 2);
    uint32_t plain = AddSynset(lexicon, {"plain"});
    for (const char* word : {"boy", "screw"}) lexicon.entries[word].senses = {plain};
    lexicon.entries["fuck"].senses = {sex};
    lexicon.entries["screw"].senses.push_back(sex);
    lexicon.entries["boy"].senses.push_back(insult);
    lexicon.entries["wop"].senses = {insult};
    lexicon.entries["boor"].senses = {mixed};
    lexicon.entries["clod"].senses = {mixed};
    lexicon.entries["cunt"].senses = {genitals};
    lexicon.entries["fucks"].redirect = "fuck";
    for (const char* word :
         {"fuck off", "fucked-up", "fucker", "fuckhead", "head", "motherfucking", "mother",
          "Scunthorpe", "horpe", "doo-wop", "scunt", "fuckery", "mother fuckin"}) {
        lexicon.entries[word].senses = {plain};
    }
    const std::set<std::string> everyday{"boy", "screw"}, common{"fuckery"};
    lxdbuild::COffensiveWords offensive(lexicon, everyday, common);
    EXPECT_EQ((std::set<std::string>{"clod", "cunt", "fuck", "fuck off", "fucked-up", "fucker",
                                     "fuckhead", "fucks", "mother fuckin", "motherfucking", "wop"}),
              offensive.Words());
    EXPECT_EQ((std::set<std::string>{"boy:2", "screw:2"}), offensive.SenseReferences());
}
