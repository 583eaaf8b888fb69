// Inflected forms of the headwords: plurals, verb tenses and comparison forms
// from WordNet's exception lists plus English spelling rules, and redirects
// from irregular forms to their base words. CInflectionMaker keeps a generated
// form only when the word list knows it; listed exceptions are always kept.
#ifndef LEXORA_TOOLS_LXDBUILD_INFLECTIONMAKER_H
#define LEXORA_TOOLS_LXDBUILD_INFLECTIONMAKER_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/Report.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

// A form of WordNet's exception lists with its base; pos is n, v, a or r.
struct IrregularForm {
    std::string form, base;
    char pos;
};

struct InflectionFigures {
    uint64_t plurals = 0;
    uint64_t pastTenses = 0;
    uint64_t pastParticiples = 0;
    uint64_t comparisons = 0;  // comparative and superlative forms
    uint64_t rejected = 0;     // generated forms the word list does not know
    uint64_t redirects = 0;
};

class CInflectionMaker {
public:
    CInflectionMaker(const CSourceFiles& sources, CBuildReport& report);
    virtual ~CInflectionMaker() = default;

    // Loads the word list and the exception lists.
    void Load();
    // Adds forms and redirects to the entries of lexicon.
    void Make(CLexicon& lexicon);
    const InflectionFigures& Figures() const { return figures; }
    // The word list and the exception lists' forms, in file order, as loaded.
    const std::unordered_set<std::string>& WordList() const { return wordList; }
    const std::vector<IrregularForm>& IrregularForms() const { return irregularForms; }
    // Gives each inflected form of the entries that is no headword and that
    // the lookup's rules do not lead back to a base of it (boxes: the rules
    // know no "xes") a redirect to its first base. Returns how many.
    static uint64_t RedirectUnreachableForms(CLexicon& lexicon);

    // Spelling-rule candidates, most likely first (exposed for tests).
    static std::vector<std::string> PluralCandidates(const std::string& noun);
    static std::vector<std::string> PastCandidates(const std::string& verb);
    // suffix is "er" or "est".
    static std::vector<std::string> ComparisonCandidates(const std::string& word,
                                                         const std::string& suffix);

    static constexpr const char* kWordListPackage = "wamerican-huge";

private:
    using Exceptions = std::map<std::string, std::vector<std::string>>;  // base -> forms

    void LoadExceptions(const std::string& name, char pos, Exceptions& exceptions);
    std::string FirstKnown(const std::vector<std::string>& candidates);
    void MakeNounForms(const std::string& headword, Entry& entry);
    void MakeVerbForms(const std::string& headword, Entry& entry);
    void MakeComparisons(const std::string& headword, const Exceptions& exceptions,
                         std::vector<std::string>& comparatives,
                         std::vector<std::string>& superlatives);
    void MakeRedirects(CLexicon& lexicon);

    const CSourceFiles& sources;
    CBuildReport& report;
    std::unordered_set<std::string> wordList;
    Exceptions nounExceptions, verbExceptions, adjectiveExceptions, adverbExceptions;
    std::vector<IrregularForm> irregularForms;
    InflectionFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_INFLECTIONMAKER_H
