#include "tools/lxdbuild/DictionaryLayout.h"

#include <algorithm>
#include <set>

#include "db/Format.h"
#include "tools/lxdbuild/SynsetOrder.h"

namespace lxdbuild {

CDictionaryLayout::CDictionaryLayout(CDictWriter& writer) : writer(writer) {}

std::string CDictionaryLayout::LabelOf(uint32_t synset) {
    return "s" + std::to_string(synset);
}

bool CDictionaryLayout::AddSynset(const CLexicon& lexicon, uint32_t index) {
    const Synset& synset = lexicon.synsets[index];
    DictSense sense;
    sense.members = synset.members;
    sense.gloss = synset.gloss;
    for (const Link& link : synset.links) {
        DictSenseLink out;
        out.kind = link.kind;
        out.targetLabel = LabelOf(link.target);
        out.targetMember = link.targetMember;
        out.sourceMember = link.sourceMember;
        sense.links.push_back(out);
        ++figures.links;
        if (link.kind == lxd::kLinkSimilarTo) {
            ++figures.similarToLinks;
        }
    }
    uint32_t position = 0;
    if (!writer.AddSense(sense, LabelOf(index), &position)) {
        error = "sense record " + std::to_string(index) + ": " + writer.GetError();
        return false;
    }
    synsetPosition[index] = position;
    ++figures.senseRecords;
    return true;
}

bool CDictionaryLayout::AddLine(const std::string& text, uint32_t* position) {
    auto found = linePosition.find(text);
    if (found != linePosition.end()) {
        *position = found->second;
        return true;
    }
    if (refusedLines.count(text) != 0) {
        return false;
    }
    if (!writer.AddLine(text, position)) {
        refusedLines.insert(text);
        ++figures.linesRefused;
        return false;
    }
    linePosition.emplace(text, *position);
    ++figures.lineRecords;
    return true;
}

std::vector<std::pair<uint32_t, std::string>> CDictionaryLayout::EntryLines(const Entry& entry) {
    std::vector<std::pair<uint32_t, std::string>> lines;
    auto add = [&](uint32_t kind, const std::vector<std::string>& texts) {
        for (const auto& text : texts) {
            if (!text.empty()) {
                lines.emplace_back(kind, text);
            }
        }
    };
    if (!entry.redirect.empty()) {
        add(lxd::kKindRedirect, {entry.redirect});
        return lines;
    }
    for (const auto& note : entry.formOf) {
        lines.emplace_back(lxd::kKindFormOf, note.first + '\t' + note.second);
    }
    add(lxd::kKindPlural, entry.plurals);
    add(lxd::kKindTense1, entry.pastTenses);
    add(lxd::kKindTense2, entry.pastParticiples);
    add(lxd::kKindUsage, entry.usageSamples);
    add(lxd::kKindAdjectiveForm, entry.adjectiveComparatives);
    add(lxd::kKindAdjectiveForm2, entry.adjectiveSuperlatives);
    add(lxd::kKindAdverbForm, entry.adverbComparatives);
    add(lxd::kKindAdverbForm2, entry.adverbSuperlatives);
    add(lxd::kKindPronunciation, {entry.pronunciation});
    add(lxd::kKindOrigin, {entry.origin});
    for (const auto& line : entry.thesaurus) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<uint32_t> CDictionaryLayout::SenseOrder(const CLexicon& lexicon, const Entry& entry) {
    std::vector<uint32_t> listed = entry.leadingSenses;
    for (const auto* senses : {&entry.senses, &entry.minorSenses}) {
        for (uint32_t synset : *senses) {
            if (std::find(listed.begin(), listed.end(), synset) == listed.end()) {
                listed.push_back(synset);
            }
        }
    }
    std::vector<uint32_t> kinds;
    for (uint32_t synset : listed) {
        const uint32_t kind = lexicon.synsets[synset].kind;
        if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
    }
    std::vector<uint32_t> ordered;
    for (uint32_t kind : kinds) {
        for (uint32_t synset : listed) {
            if (lexicon.synsets[synset].kind == kind) ordered.push_back(synset);
        }
    }
    return ordered;
}

std::vector<const CDictionaryLayout::EntryItem*> CDictionaryLayout::KeyOrder(
    const CLexicon& lexicon) {
    std::vector<std::pair<std::string, const EntryItem*>> keyed;
    for (const auto& item : lexicon.entries) {
        keyed.emplace_back(ToLower(item.first), &item);
    }
    // Case variants (Paris, paris) fold to one key and stay side by side.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const EntryItem*> order;
    for (const auto& item : keyed) {
        order.push_back(item.second);
    }
    return order;
}

void CDictionaryLayout::PlaceEntryLines(const CLexicon& lexicon) {
    // A headword's plurals, tenses, frames, pronunciation, origin and
    // thesaurus lines lie together, so that showing it inflates one block
    // for them rather than one per kind. (Thesaurus lines of one meaning,
    // which differ only in the word they leave out, would compress 0.8 MB
    // smaller side by side, but cost 0.7 blocks per definition there.)
    // The redirect texts (some 4,000 short words) come first, all together:
    // the few blocks they fill stay in the reader's block cache, so a
    // lookup that follows a redirect seldom inflates a block.
    uint32_t position = 0;
    const std::vector<const EntryItem*> order = KeyOrder(lexicon);
    for (const EntryItem* item : order) {
        if (!item->second.redirect.empty()) AddLine(item->second.redirect, &position);
    }
    for (const EntryItem* item : order) {
        for (const auto& line : EntryLines(item->second)) {
            if (!CopyBesideHeadword(item->second, line.first, line.second)) {
                AddLine(line.second, &position);
            }
        }
    }
}

bool CDictionaryLayout::CopyBesideHeadword(const Entry& entry, uint32_t kind,
                                           const std::string& text) {
    // A short thesaurus line that another headword placed first ("change
    // {generic term}" is shared by hundreds) would cost this headword a
    // block of its own; a copy beside its other lines costs a few bytes.
    // Longer shared lines are rare and would cost more than they save.
    constexpr size_t kMaxCopiedLength = 24;
    if (kind < lxd::kKindThesaurusSynonym || text.size() > kMaxCopiedLength ||
        linePosition.count(text) == 0 || ownCopies.count({&entry, text}) != 0) {
        return false;
    }
    uint32_t position = 0;
    if (!writer.AddLine(text, &position)) return false;
    ownCopies[{&entry, text}] = position;
    return true;
}

bool CDictionaryLayout::Lay(const CLexicon& lexicon) {
    // Synsets lie in hypernym-tree order (see CSynsetOrder): a sense's link
    // targets often share its blocks, and neighbours share words, so blocks
    // compress well. Put next to their first headword instead, they cost
    // 1.3 MB more and a definition inflates no fewer blocks.
    std::set<uint32_t> highTargets;
    for (const Synset& synset : lexicon.synsets) {
        for (const Link& link : synset.links) {
            if (link.kind == lxd::kLinkSimilarTo) {
                highTargets.insert(link.target);
            }
        }
    }
    for (uint32_t synset : CSynsetOrder::Order(lexicon, highTargets)) {
        if (!AddSynset(lexicon, synset)) {
            return false;
        }
    }
    PlaceEntryLines(lexicon);
    if (writer.GetStreamLength() < kHighRegion && !writer.PadTo(kHighRegion)) {
        error = writer.GetError();
        return false;
    }
    for (uint32_t target : highTargets) {
        if (!AddSynset(lexicon, target)) {
            return false;
        }
    }
    for (const auto& item : lexicon.entries) {
        std::vector<DictRecordRef> refs;
        for (uint32_t synset : SenseOrder(lexicon, item.second)) {
            refs.push_back({lexicon.synsets[synset].kind, synsetPosition.at(synset)});
        }
        figures.senses += refs.size();
        for (const auto& line : EntryLines(item.second)) {
            uint32_t position = 0;
            auto copy = ownCopies.find({&item.second, line.second});
            if (copy != ownCopies.end()) {
                refs.push_back({line.first, copy->second});
            } else if (AddLine(line.second, &position)) {
                refs.push_back({line.first, position});
                figures.redirects += line.first == lxd::kKindRedirect;
            }
        }
        if (refs.empty()) {
            continue;
        }
        if (!writer.AddHeadword(item.first, refs)) {
            refused.push_back(item.first + ": " + writer.GetError());
            ++figures.headwordsRefused;
            continue;
        }
        ++figures.headwords;
    }
    figures.streamLength = writer.GetStreamLength();
    return true;
}

}  // namespace lxdbuild
