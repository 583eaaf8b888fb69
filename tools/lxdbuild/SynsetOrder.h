// The order in which the sense records of the low region are laid out: each
// synset's hyponyms follow it depth first (hypernym-tree preorder), those
// with the smallest subtrees first, so that a sense's hypernym and most of
// its hyponyms, whose member lines its definition shows, lie in its own
// compressed block. Neighbours in the tree also
// share words, which makes the blocks compress better than WordNet's order.
#ifndef LEXORA_TOOLS_LXDBUILD_SYNSETORDER_H
#define LEXORA_TOOLS_LXDBUILD_SYNSETORDER_H

#include <cstdint>
#include <set>
#include <vector>

#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

class CSynsetOrder {
public:
    // Every synset of `lexicon` that is not in `excluded`, each once. A
    // synset hangs under its first synset-wide hypernym of the same part of
    // speech; synsets without one are roots, taken in WordNet's order.
    // Children come in the order of their subtree sizes, ties in WordNet's.
    static std::vector<uint32_t> Order(const CLexicon& lexicon, const std::set<uint32_t>& excluded);

private:
    // Synsets in the tree below each synset, itself included.
    static std::vector<uint32_t> SubtreeSizes(const std::vector<std::vector<uint32_t>>& children);
    static std::vector<std::vector<uint32_t>> ChildrenOf(const CLexicon& lexicon,
                                                         const std::set<uint32_t>& excluded,
                                                         std::vector<bool>* hasParent);
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_SYNSETORDER_H
