// The standard contractions of English (data/contractions.inc: don't, it's,
// I'd, let's ...). CContractions makes each a headword holding one note per
// reading, "contraction of do not": a form-of note whose base holds the
// reading's words parted by TABs, so that each word is a link of its own. A
// reading with a word the lookup takes to no headword is left out, and a
// contraction left without readings is not added.
#ifndef LEXORA_TOOLS_LXDBUILD_CONTRACTIONS_H
#define LEXORA_TOOLS_LXDBUILD_CONTRACTIONS_H

#include <cstdint>
#include <string>

#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct ContractionFigures {
    uint64_t contractions = 0;     // headwords given notes
    uint64_t readings = 0;         // notes written
    uint64_t readingsLeftOut = 0;  // readings with a word that is no headword
};

class CContractions {
public:
    CContractions() = default;
    virtual ~CContractions() = default;

    // Adds the notes; run when every other headword is in the lexicon.
    void AddTo(CLexicon& lexicon);
    const ContractionFigures& Figures() const { return figures; }

    static constexpr const char* kRelation = "contraction";

private:
    // The reading's words parted by TABs, or "" when one of them leads to
    // no headword with senses or notes.
    static std::string LinkedWords(const CLexicon& lexicon, const std::string& reading);

    ContractionFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_CONTRACTIONS_H
