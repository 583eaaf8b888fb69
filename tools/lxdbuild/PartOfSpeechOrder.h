// The order of a headword's part-of-speech groups, commonest first. A
// headword with senses WordNet does not give (GCIDE's pronouns, articles,
// auxiliaries ...) is ordered by its tags in the Brill lexicon, commonest
// first, except that the groups of WordNet's senses alone keep the places the
// tags give them but fill them in the order of WordNet's tag counts; any
// other headword is ordered by those counts alone. The senses of a
// group keep their order, groups the deciding source says nothing of keep
// theirs after the others. CPartOfSpeechOrder writes each entry's senses in
// that order, its minor senses merged in, so that sense numbers follow it.
#ifndef LEXORA_TOOLS_LXDBUILD_PARTOFSPEECHORDER_H
#define LEXORA_TOOLS_LXDBUILD_PARTOFSPEECHORDER_H

#include <cstdint>
#include <string>
#include <vector>

#include "tools/lxdbuild/BrillLexicon.h"
#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct OrderFigures {
    uint64_t byTags = 0;      // headwords ordered by the Brill lexicon
    uint64_t byCounts = 0;    // headwords of several groups ordered by tag counts
    uint64_t firstMoved = 0;  // headwords whose first group is no longer the first
};

class CPartOfSpeechOrder {
public:
    explicit CPartOfSpeechOrder(const CBrillLexicon& brill) : brill(brill) {}
    virtual ~CPartOfSpeechOrder() = default;

    void Apply(CLexicon& lexicon);
    const OrderFigures& Figures() const { return figures; }

    // The record kind that groups senses of this kind under one part of
    // speech: adjective satellites go with the adjectives.
    static uint32_t GroupKind(uint32_t kind);

private:
    struct Group {
        uint32_t kind = 0;
        std::vector<uint32_t> senses;
        uint64_t tagCount = 0;
        size_t rank = SIZE_MAX;   // place among the Brill tags; SIZE_MAX: none
        bool wordNetOnly = true;  // no sense of another source (GCIDE, the everyday list)
    };

    std::vector<Group> GroupsOf(const CLexicon& lexicon, const std::string& headword,
                                const Entry& entry) const;
    // Ranks the groups by the headword's Brill tags; false when none matches.
    bool RankByTags(const std::string& headword, std::vector<Group>& groups) const;
    // Reorders the groups of WordNet's senses alone among their own places
    // by their tag counts, commonest first; ties keep their places.
    static void OrderWordNetGroupsByCounts(std::vector<Group>& groups);
    void Order(const CLexicon& lexicon, const std::string& headword, Entry& entry);

    const CBrillLexicon& brill;
    OrderFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_PARTOFSPEECHORDER_H
