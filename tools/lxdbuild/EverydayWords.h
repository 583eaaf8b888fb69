// Senses from GCIDE for what WordNet leaves out: everyday words that are no
// WordNet lemma (my, how, would, something), the parts of speech WordNet has
// no senses for (pronoun, determiner, article, conjunction, preposition) and
// the auxiliary senses of the modal verbs. CEverydayWords adds sense records
// to the lexicon; a definition GCIDE's markup spoils is left out and counted.
// A sense labelled obsolete, archaic, rare or regional is written, with its
// label, only for a word that has no current sense.
#ifndef LEXORA_TOOLS_LXDBUILD_EVERYDAYWORDS_H
#define LEXORA_TOOLS_LXDBUILD_EVERYDAYWORDS_H

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "tools/lxdbuild/GcideReader.h"
#include "tools/lxdbuild/InflectionMaker.h"
#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct EverydayFigures {
    uint64_t words = 0;            // headwords made from GCIDE alone
    uint64_t minorSenses = 0;      // senses of the parts of speech WordNet lacks
    uint64_t auxiliarySenses = 0;  // auxiliary senses of WordNet's verbs
    uint64_t senses = 0;           // all senses added
    uint64_t damaged = 0;          // definitions or headers left out for their markup
    uint64_t unmarked = 0;         // entries of a wanted word without a mark a kind stands for
    GcideSenseFigures cleaning;    // every sense looked at, by what became of it
};

class CEverydayWords {
public:
    // everydayWords: the list whose words count as everyday English (the
    // medium American list: the builder's huge list would bring 25,000
    // rare words and overflow the file's budget).
    CEverydayWords(std::unordered_set<std::string> everydayWords,
                   const std::vector<IrregularForm>& irregularForms);
    virtual ~CEverydayWords() = default;

    // Adds the senses; run before the GCIDE origins so the new headwords get theirs.
    void AddTo(const CGcideReader& gcide, CLexicon& lexicon);
    const EverydayFigures& Figures() const { return figures; }

    static constexpr size_t kMaxDefinitions = 4;
    static constexpr const char* kListPackage = "wamerican";
    static constexpr const char* kListPath = "usr/share/dict/american-english";

private:
    // A lower-case word of the list that WordNet's morphology takes as an
    // inflected form of a lemma (women, ate): left to the form-of notes.
    bool IsInflectedForm(const CLexicon& lexicon, const std::string& word) const;
    // Definitions per kind from the word's entries, the first entry of each kind.
    void AddWord(const CLexicon& lexicon, const std::string& key,
                 const std::vector<std::string>& entries, bool allKinds,
                 std::vector<Synset>& added);
    // The senses of one part of speech from a word's entries.
    struct KindSenses {
        std::vector<GcideSense> current;   // of the first entry that has current ones
        std::vector<GcideSense> labelled;  // of the first entry that has labelled ones
    };
    // Files one entry's senses into its kind; what the kind has already goes to others.
    void Take(std::vector<GcideSense> senses, KindSenses& kind, std::vector<GcideSense>& others);
    // False for an empty, garbled or cross-reference sense, counted.
    bool Usable(const GcideSense& sense);
    // Counts a usable sense by what became of it.
    void Count(const GcideSense& sense, bool written, bool hasCurrent);
    std::vector<std::string> AuxiliaryDefinitions(const std::vector<std::string>& entries);
    uint32_t AddSynset(CLexicon& lexicon, const std::string& key, uint32_t kind,
                       const std::string& gloss);
    void InsertAuxiliary(CLexicon& lexicon, const std::string& key,
                         const std::vector<std::string>& definitions);

    std::unordered_set<std::string> everydayWords;
    std::unordered_set<std::string> irregular;  // forms of the exception lists
    EverydayFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_EVERYDAYWORDS_H
