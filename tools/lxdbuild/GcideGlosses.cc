#include "tools/lxdbuild/GcideGlosses.h"

#include <set>

#include "db/Format.h"

namespace lxdbuild {

namespace {

// Definitions taken from one GCIDE entry: the first ones are the main senses.
constexpr size_t kDefinitionsPerEntry = 3;

// Words with more senses of the entry's part of speech take none.
constexpr size_t kMaxSenses = 4;

// Adjective heads and satellites are one part of speech for the matching.
uint32_t MatchedKind(uint32_t kind) {
    return kind == lxd::kKindAdjectiveSatellite ? lxd::kKindAdjective : kind;
}

// The lower-case words of three letters or more, as a set.
std::set<std::string> Words(const std::string& text) {
    std::set<std::string> words;
    std::string word;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            word += static_cast<char>(c | 0x20);
            continue;
        }
        if (word.size() >= 3) words.insert(word);
        word.clear();
    }
    return words;
}

size_t SharedWords(const std::set<std::string>& a, const std::set<std::string>& b) {
    size_t shared = 0;
    for (const std::string& word : a) shared += b.count(word);
    return shared;
}

}  // namespace

void CGcideGlosses::Collect(const CGcideReader& gcide, const CLexicon& lexicon) {
    for (const std::string& key : gcide.Keys()) {
        if (!IsSingleLowerWord(key)) continue;
        const auto found = lexicon.entries.find(key);
        if (found == lexicon.entries.end() || found->second.senses.empty()) continue;
        for (const std::string& entry : gcide.EntriesOf(key)) {
            const uint32_t kind = MatchedKind(CGcideReader::MarkKind(entry));
            std::vector<uint32_t> senses;
            for (uint32_t sense : found->second.senses) {
                if (MatchedKind(lexicon.synsets[sense].kind) == kind) senses.push_back(sense);
            }
            // A word of many senses is rarely the one a description looks
            // for, and its definitions are the hardest to match.
            if (senses.empty() || senses.size() > kMaxSenses) continue;
            for (std::string& definition : CGcideReader::Definitions(entry, kDefinitionsPerEntry)) {
                if (!CGcideReader::IsCrossReference(definition)) {
                    AddDefinition(lexicon, senses, std::move(definition));
                }
            }
        }
    }
}

void CGcideGlosses::AddDefinition(const CLexicon& lexicon, const std::vector<uint32_t>& senses,
                                  std::string definition) {
    const std::set<std::string> words = Words(definition);
    uint32_t best = senses[0];
    size_t bestShared = 0;
    for (uint32_t sense : senses) {
        const size_t shared = SharedWords(words, Words(lexicon.synsets[sense].gloss));
        if (shared > bestShared) {
            best = sense;
            bestShared = shared;
        }
    }
    glosses[best].push_back(std::move(definition));
    ++count;
}

const std::vector<std::string>& CGcideGlosses::Of(uint32_t index) const {
    static const std::vector<std::string> kNone;
    const auto found = glosses.find(index);
    return found == glosses.end() ? kNone : found->second;
}

}  // namespace lxdbuild
