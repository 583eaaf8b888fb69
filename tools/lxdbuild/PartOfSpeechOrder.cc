#include "tools/lxdbuild/PartOfSpeechOrder.h"

#include <algorithm>
#include <map>

#include "db/Format.h"

namespace lxdbuild {

namespace {

// The record kinds a Penn Treebank tag may stand for, the likelier first: a
// determiner tag is the article of "the", the determiner of "every", the
// pronoun of "this" where GCIDE calls it one and the adjective of "all",
// which WordNet has only as an adjective.
const std::vector<uint32_t>& KindsOfTag(const std::string& tag) {
    using namespace lxd;
    static const std::vector<uint32_t> none;
    static const std::map<std::string, std::vector<uint32_t>> kinds = {
        {"NN", {kKindNoun}},
        {"NNS", {kKindNoun}},
        {"NNP", {kKindNoun}},
        {"NNPS", {kKindNoun}},
        {"VB", {kKindVerb}},
        {"VBD", {kKindVerb}},
        {"VBG", {kKindVerb}},
        {"VBN", {kKindVerb}},
        {"VBP", {kKindVerb}},
        {"VBZ", {kKindVerb}},
        {"MD", {kKindVerb}},
        {"JJ", {kKindAdjective}},
        {"JJR", {kKindAdjective}},
        {"JJS", {kKindAdjective}},
        {"RB", {kKindAdverb}},
        {"RBR", {kKindAdverb}},
        {"RBS", {kKindAdverb}},
        {"WRB", {kKindAdverb}},
        {"RP", {kKindAdverb}},
        {"EX", {kKindAdverb}},
        {"DT", {kKindArticle, kKindDeterminer, kKindPronoun, kKindAdjective}},
        {"PDT", {kKindDeterminer, kKindPronoun, kKindAdjective}},
        {"WDT", {kKindDeterminer, kKindPronoun}},
        {"PRP$", {kKindDeterminer, kKindPronoun}},
        {"WP$", {kKindDeterminer, kKindPronoun}},
        {"PRP", {kKindPronoun}},
        {"WP", {kKindPronoun}},
        {"IN", {kKindPreposition, kKindConjunction, kKindAdverb}},
        {"TO", {kKindPreposition}},
        {"CC", {kKindConjunction}},
        {"UH", {kKindInterjection}},
    };
    auto found = kinds.find(tag);
    return found == kinds.end() ? none : found->second;
}

// Tagged uses of the headword in one synset (0 for GCIDE's senses).
uint32_t TagCountOf(const Synset& synset, const std::string& headword) {
    for (size_t i = 0; i < synset.members.size() && i < synset.tagCounts.size(); ++i) {
        if (synset.members[i] == headword) return synset.tagCounts[i];
    }
    return 0;
}

}  // namespace

uint32_t CPartOfSpeechOrder::GroupKind(uint32_t kind) {
    return kind == lxd::kKindAdjectiveSatellite ? lxd::kKindAdjective : kind;
}

std::vector<CPartOfSpeechOrder::Group> CPartOfSpeechOrder::GroupsOf(const CLexicon& lexicon,
                                                                    const std::string& headword,
                                                                    const Entry& entry) const {
    std::vector<Group> groups;
    for (const auto* list : {&entry.senses, &entry.minorSenses}) {
        for (uint32_t sense : *list) {
            const Synset& synset = lexicon.synsets[sense];
            const uint32_t kind = GroupKind(synset.kind);
            auto group = std::find_if(groups.begin(), groups.end(),
                                      [&](const Group& item) { return item.kind == kind; });
            if (group == groups.end()) {
                group = groups.insert(groups.end(), Group());
                group->kind = kind;
            }
            group->senses.push_back(sense);
            group->tagCount += TagCountOf(synset, headword);
            group->wordNetOnly = group->wordNetOnly && synset.pos != 'x';
        }
    }
    return groups;
}

bool CPartOfSpeechOrder::RankByTags(const std::string& headword, std::vector<Group>& groups) const {
    size_t next = 0;
    for (const std::string& tag : brill.TagsOf(headword)) {
        for (uint32_t kind : KindsOfTag(tag)) {
            auto group = std::find_if(groups.begin(), groups.end(),
                                      [&](const Group& item) { return item.kind == kind; });
            if (group == groups.end()) continue;
            if (group->rank == SIZE_MAX) group->rank = next++;
            break;
        }
    }
    return next > 0;
}

void CPartOfSpeechOrder::OrderWordNetGroupsByCounts(std::vector<Group>& groups) {
    std::vector<size_t> places;
    std::vector<Group> own;
    for (size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].wordNetOnly) continue;
        places.push_back(i);
        own.push_back(std::move(groups[i]));
    }
    std::stable_sort(own.begin(), own.end(),
                     [](const Group& a, const Group& b) { return a.tagCount > b.tagCount; });
    for (size_t i = 0; i < places.size(); ++i) groups[places[i]] = std::move(own[i]);
}

void CPartOfSpeechOrder::Order(const CLexicon& lexicon, const std::string& headword, Entry& entry) {
    std::vector<Group> groups = GroupsOf(lexicon, headword, entry);
    const bool beyondWordNet =
        !entry.minorSenses.empty() ||
        std::any_of(entry.senses.begin(), entry.senses.end(),
                    [&](uint32_t sense) { return lexicon.synsets[sense].pos == 'x'; });
    const uint32_t first = groups.empty() ? 0 : groups.front().kind;
    const bool byTags = beyondWordNet && RankByTags(headword, groups);
    figures.byTags += byTags;
    figures.byCounts += !byTags && groups.size() > 1;
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.tagCount > b.tagCount;
    });
    // The Brill tags place the groups of other sources (a pronoun, a
    // modal's auxiliary); among WordNet's own groups its counts of the
    // senses stay the better guide (cause: tagged NN first, counted a verb).
    if (byTags) OrderWordNetGroupsByCounts(groups);
    figures.firstMoved += !groups.empty() && groups.front().kind != first;
    entry.senses.clear();
    entry.minorSenses.clear();
    for (const Group& group : groups) {
        entry.senses.insert(entry.senses.end(), group.senses.begin(), group.senses.end());
    }
}

void CPartOfSpeechOrder::Apply(CLexicon& lexicon) {
    for (auto& item : lexicon.entries) Order(lexicon, item.first, item.second);
}

}  // namespace lxdbuild
