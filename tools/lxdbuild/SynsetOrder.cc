#include "tools/lxdbuild/SynsetOrder.h"

#include <algorithm>
#include <utility>

#include "db/Format.h"

namespace lxdbuild {

std::vector<std::vector<uint32_t>> CSynsetOrder::ChildrenOf(const CLexicon& lexicon,
                                                            const std::set<uint32_t>& excluded,
                                                            std::vector<bool>* hasParent) {
    const std::vector<Synset>& synsets = lexicon.synsets;
    std::vector<std::vector<uint32_t>> children(synsets.size());
    hasParent->assign(synsets.size(), false);
    for (uint32_t i = 0; i < synsets.size(); ++i) {
        if (excluded.count(i) != 0) continue;
        for (const Link& link : synsets[i].links) {
            if (link.kind != lxd::kLinkHypernym || link.sourceMember != 0 || link.target == i ||
                link.target >= synsets.size() || excluded.count(link.target) != 0 ||
                synsets[link.target].pos != synsets[i].pos) {
                continue;
            }
            children[link.target].push_back(i);
            (*hasParent)[i] = true;
            break;
        }
    }
    return children;
}

std::vector<uint32_t> CSynsetOrder::SubtreeSizes(
    const std::vector<std::vector<uint32_t>>& children) {
    // Post-order without recursion; a synset met again (a hypernym cycle)
    // is counted once, where first reached.
    std::vector<uint32_t> sizes(children.size(), 0);
    std::vector<bool> reached(children.size(), false);
    std::vector<std::pair<uint32_t, bool>> pending;  // synset, children counted
    for (uint32_t top = 0; top < children.size(); ++top) {
        if (reached[top]) continue;
        reached[top] = true;
        pending.push_back({top, false});
        while (!pending.empty()) {
            const auto [synset, counted] = pending.back();
            pending.pop_back();
            if (counted) {
                sizes[synset] = 1;
                for (uint32_t child : children[synset]) sizes[synset] += sizes[child];
                continue;
            }
            pending.push_back({synset, true});
            for (uint32_t child : children[synset]) {
                if (reached[child]) continue;
                reached[child] = true;
                pending.push_back({child, false});
            }
        }
    }
    return sizes;
}

std::vector<uint32_t> CSynsetOrder::Order(const CLexicon& lexicon,
                                          const std::set<uint32_t>& excluded) {
    std::vector<bool> hasParent;
    std::vector<std::vector<uint32_t>> children = ChildrenOf(lexicon, excluded, &hasParent);
    // Leaves and small subtrees first: they then lie right after their
    // hypernym, whose definition lists them, and the large subtrees after.
    const std::vector<uint32_t> sizes = SubtreeSizes(children);
    for (std::vector<uint32_t>& below : children) {
        std::stable_sort(below.begin(), below.end(),
                         [&](uint32_t a, uint32_t b) { return sizes[a] < sizes[b]; });
    }
    const uint32_t count = static_cast<uint32_t>(lexicon.synsets.size());
    std::vector<bool> placed(count, false);
    std::vector<uint32_t> order;
    std::vector<uint32_t> pending;
    // Roots first in WordNet's order; then whatever a hypernym cycle left
    // without a root, so that every synset is placed once.
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t root = 0; root < count; ++root) {
            if (placed[root] || excluded.count(root) != 0 || (pass == 0 && hasParent[root])) {
                continue;
            }
            pending.push_back(root);
            while (!pending.empty()) {
                const uint32_t synset = pending.back();
                pending.pop_back();
                if (placed[synset]) continue;
                placed[synset] = true;
                order.push_back(synset);
                const std::vector<uint32_t>& below = children[synset];
                pending.insert(pending.end(), below.rbegin(), below.rend());
            }
        }
    }
    return order;
}

}  // namespace lxdbuild
