// The filter list of the search data: the headwords people call offensive.
//
// A sense is offensive for one of its members when WordNet puts the synset
// (or that member) in the usage domain of obscenity (vulgarism), ethnic
// slurs or disparagement, or when its gloss calls it an obscene or vulgar
// term ("obscene terms for ...", "vulgar slang for ...", "terms of abuse").
// A headword with an offensive sense is listed, unless it is an everyday word
// (in any capitals) with an inoffensive sense as well (boy, screw, taco).
// Of a word kept so, the offensive senses are listed as "word:n" references
// (n counting its senses from 1), which no headword matches, so that results
// naming senses (search by meaning) can leave them out. Then come its forms (headwords redirecting
// to it or noted as its inflected forms) and the compounds of its roots. A root is a listed
// one-word lower-case headword of at least four letters, offensive in its first sense through
// obscenity (fuck, shit); a headword holding a word that is the root with an
// inflection ending (fuck off, fucker, shitting) is listed, and one holding a
// root glued to another headword of at least four letters (fuckhead,
// diddlyshit) unless that glued word is in the common word list (woodpecker).
#ifndef LEXORA_TOOLS_LXDBUILD_OFFENSIVEWORDS_H
#define LEXORA_TOOLS_LXDBUILD_OFFENSIVEWORDS_H

#include <set>
#include <string>
#include <vector>

#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct OffensiveFigures {
    uint64_t senses = 0;           // (synset, member) pairs found offensive
    uint64_t words = 0;            // headwords listed for a sense of their own
    uint64_t kept = 0;             // everyday words kept for an inoffensive sense
    uint64_t forms = 0;            // listed as forms of listed words
    uint64_t compounds = 0;        // listed as compounds of a root
    uint64_t senseReferences = 0;  // offensive senses of the words kept
};

class COffensiveWords {
public:
    // `everyday` and `common` are word lists (SCOWL's small and mid-size).
    COffensiveWords(const CLexicon& lexicon, const std::set<std::string>& everyday,
                    const std::set<std::string>& common);
    virtual ~COffensiveWords() = default;

    const std::set<std::string>& Words() const { return words; }
    // "word:n" of the offensive senses of the words kept.
    const std::set<std::string>& SenseReferences() const { return senseReferences; }
    const OffensiveFigures& Figures() const { return figures; }

private:
    void MarkSenses();
    bool IsOffensiveSense(uint32_t synset, const std::string& member) const;
    void ListWordsWithOffensiveSenses();
    void ListOffensiveSenses(const std::string& headword, const std::vector<uint32_t>& senses);
    void ListForms();
    void ListCompounds();
    bool IsCompound(const std::string& word) const;
    bool IsEverydayWordWithCleanSense(const std::string& headword) const;

    const CLexicon& lexicon;
    const std::set<std::string>& everyday;
    const std::set<std::string>& common;
    std::set<uint32_t> wholeSynsets;                     // offensive for every member
    std::set<std::pair<uint32_t, std::string>> members;  // (synset, lower-case member)
    std::set<uint32_t> obscene;                          // synsets of the obscenity sources
    std::set<std::string> lowerHeadwords;
    std::vector<std::string> roots;
    std::set<std::string> words;
    std::set<std::string> senseReferences;
    OffensiveFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_OFFENSIVEWORDS_H
