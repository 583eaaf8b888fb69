// Form-of notes and the redirects WordNet's morphology calls for. A word that
// is an inflected form of other headwords (ate: eat; women: woman) must lead
// to them: CFormOfNotes gathers (form, base, relation) triples from the
// entries' own forms, WordNet's exception lists and WordNet's detachment
// rules run over the word list, predicts where the engine's lookup lands for
// each form, and where that is not a base adds a note to the headword it
// lands on, or a redirect (one base) or a headword of notes (several bases)
// when it lands nowhere useful. Every base named is a headword with senses.
#ifndef LEXORA_TOOLS_LXDBUILD_FORMOFNOTES_H
#define LEXORA_TOOLS_LXDBUILD_FORMOFNOTES_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tools/lxdbuild/InflectionMaker.h"
#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct FormOfFigures {
    uint64_t notes = 0;           // notes added to headwords that are forms themselves
    uint64_t redirects = 0;       // forms the lookup missed, now redirected to their base
    uint64_t formHeadwords = 0;   // forms with several bases, now headwords of notes
    uint64_t oneBaseReached = 0;  // forms the lookup takes to one of several bases (left)
};

class CFormOfNotes {
public:
    // Relations, as bits of a mask; a form may be several (said: past tense
    // and past participle of say).
    enum Relation : uint32_t {
        kPlural = 1,
        kThirdPerson = 2,
        kPresentTense = 4,
        kPastTense = 8,
        kPastParticiple = 16,
        kPresentParticiple = 32,
        kComparative = 64,
        kSuperlative = 128,
    };

    CFormOfNotes(const std::unordered_set<std::string>& wordList,
                 const std::vector<IrregularForm>& irregularForms);
    virtual ~CFormOfNotes() = default;

    // Adds notes, redirects and headwords of notes to the lexicon.
    void AddTo(CLexicon& lexicon);
    const FormOfFigures& Figures() const { return figures; }
    // Forms the lookup takes to one of their bases while WordNet knows more.
    const std::vector<std::string>& OneBaseReached() const { return oneBaseReached; }

    // "past tense and past participle" for those two bits.
    static std::string RelationText(uint32_t relations);
    // The base WordNet's detachment rules give for a lower-case word in part
    // of speech pos (n, v, a), with the relation, when the lexicon holds it
    // as a lemma of that part of speech; empty otherwise. The first rule
    // that gives a lemma wins, as in WordNet.
    static std::pair<std::string, uint32_t> DetachedBase(const CLexicon& lexicon,
                                                         const std::string& lower, char pos);

private:
    using Bases = std::vector<std::pair<std::string, uint32_t>>;  // base headword, relations

    void Add(const std::string& form, const std::string& base, uint32_t relations);
    void GatherEntryForms(const CLexicon& lexicon);
    void GatherExceptions(const CLexicon& lexicon);
    void GatherDetachedForms(const CLexicon& lexicon);
    void Resolve(CLexicon& lexicon);

    const std::unordered_set<std::string>& wordList;
    const std::vector<IrregularForm>& irregularForms;
    std::map<std::string, Bases> candidates;   // form as spelled -> its bases
    std::map<std::string, Bases> listedBases;  // lower-case form -> bases its lists give
    std::vector<std::string> oneBaseReached;
    FormOfFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_FORMOFNOTES_H
