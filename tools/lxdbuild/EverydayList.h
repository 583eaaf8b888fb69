// Lexora's own list of everyday words that no source defines as people use
// them (yeah, um, gonna, cannot, goodnight), each with its part of speech and
// a one-line definition written for Lexora (data/everyday-words.inc).
// CEverydayList adds their senses to the lexicon; a sense the list marks as
// the word's commonest use is shown before the word's other senses.
#ifndef LEXORA_TOOLS_LXDBUILD_EVERYDAYLIST_H
#define LEXORA_TOOLS_LXDBUILD_EVERYDAYLIST_H

#include <cstdint>

#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct EverydayListFigures {
    uint64_t words = 0;          // words of the list
    uint64_t newHeadwords = 0;   // of them, words no other source had
    uint64_t interjections = 0;  // senses of kind interjection
    uint64_t shownFirst = 0;     // senses that open their word's entry
};

class CEverydayList {
public:
    CEverydayList() = default;
    virtual ~CEverydayList() = default;

    // Adds one sense per row after the entry's other senses, or first where
    // the row says so (Entry::leadingKind). Run before the GCIDE senses,
    // which then leave out the kinds the list gave a word.
    void AddTo(CLexicon& lexicon);
    const EverydayListFigures& Figures() const { return figures; }

private:
    EverydayListFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_EVERYDAYLIST_H
