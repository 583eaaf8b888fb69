// Builds the meaning index of a written dictionary: one entry per synset
// whose sense a member headword opens, with the terms of its gloss, samples,
// members and related words (broader senses' members, derivationally related
// senses' glosses, the few narrower senses' members), made by the engine's own CTermMaker over the
// written file so that the builder and the search reduce words alike; and the
// terms' vectors, trained on the senses' members, glosses and samples.
#ifndef LEXORA_TOOLS_LXDBUILD_MEANINGINDEXER_H
#define LEXORA_TOOLS_LXDBUILD_MEANINGINDEXER_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "meaning/MeaningIndexWriter.h"
#include "meaning/TermMaker.h"
#include "tools/lxdbuild/GcideGlosses.h"
#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/TermVectorTrainer.h"

class CDictDatabase;

namespace lxdbuild {

// How common a word is by the word lists it is in: 2 for the everyday list,
// 1 for the common one, 0 for neither.
struct WordTiers {
    std::set<std::string> everyday;
    std::set<std::string> common;
    uint32_t Of(const std::string& word) const {
        return everyday.count(word) != 0 ? 2 : common.count(word) != 0 ? 1 : 0;
    }
};

struct MeaningFigures {
    uint64_t senses = 0;       // synsets indexed
    uint64_t unreachable = 0;  // synsets no member headword opens
    uint64_t terms = 0;
    uint64_t vectors = 0;  // terms with a word vector
    uint64_t bytes = 0;
};

class CMeaningIndexer {
public:
    // `positions` maps synset index -> record store position of its record;
    // `gcide` gives more definitions of some synsets; `tiers` helps choose
    // the member of a sense to show and marks untagged everyday senses as
    // commoner than other untagged ones.
    CMeaningIndexer(const CLexicon& lexicon, const std::map<uint32_t, uint32_t>& positions,
                    const CGcideGlosses& gcide, const WordTiers& tiers);
    virtual ~CMeaningIndexer() = default;

    // Indexes the dictionary at `dictionaryPath` and writes `indexPath`;
    // false with Error() set when either fails.
    bool Write(const std::string& dictionaryPath, const std::string& indexPath);

    const MeaningFigures& Figures() const { return figures; }
    const std::string& Error() const { return error; }

private:
    void IndexSynset(uint32_t index, uint32_t position);
    // The member whose "headword:n" opens the sense at `position`, the
    // commonest first; false when none does.
    bool ChooseMember(const Synset& synset, uint32_t position, MeaningSense* sense);
    void AddText(const std::string& text, uint32_t field);
    void AddRelated(const Synset& synset);
    void AddMembers(const Synset& synset);
    // The members of the synset's broader senses.
    void AddHypernymMembers(const Synset& synset);
    // The terms of every indexed WordNet gloss, into `vocabulary`.
    void CollectVocabulary();
    // A further definition of the sense added last (GCIDE's, a related
    // sense's gloss) as `field`: its first terms that WordNet's glosses use
    // too, so that rare and old words and long explanations cost no room.
    void AddDefinitionText(const std::string& text, uint32_t field);
    // The glosses of the senses derivationally related to the synset's
    // members, as related words: a pediatrician is described by pediatrics'
    // "infants and children".
    void AddDerivedGlosses(const Synset& synset);
    // The members of the synset's narrower senses, when it has few.
    void AddNarrowerMembers(const Synset& synset);

    const CLexicon& lexicon;
    const std::map<uint32_t, uint32_t>& positions;
    const CGcideGlosses& gcide;
    const WordTiers& tiers;
    CDictDatabase* database = nullptr;  // the written dictionary, while Write runs
    CMeaningIndexWriter writer;
    CTermVectorTrainer corpus;  // the senses' text the term vectors are trained on
    CTermMaker terms{nullptr, nullptr};
    std::unordered_map<std::string, WordTerms> termOf;  // word -> terms, memoised
    std::unordered_set<std::string> vocabulary;
    MeaningFigures figures;
    std::string error;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_MEANINGINDEXER_H
