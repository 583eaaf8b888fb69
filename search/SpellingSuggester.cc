#include "search/SpellingSuggester.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "search/DoubleMetaphone.h"
#include "search/SearchFormat.h"
#include "search/SoundSpelling.h"

namespace {

// Ranking weights, in edits. A word spelled by ear is closer to the word
// meant in its sound spelling than in its letters, so both distances count;
// a shared phonetic key and commonness (tier, tagged uses on a log scale,
// senses) decide among candidates that are otherwise equally close.
constexpr double kEditWeight = 0.6;
constexpr double kSoundEditWeight = 1.0;
constexpr double kPhoneticWeight = 0.3;
constexpr double kTierWeight = 0.6;
constexpr double kTagWeight = 0.03;
constexpr double kSenseWeight = 0.02;
constexpr uint32_t kSenseCap = 10;
// A headword that is the word with apostrophes put in (dont: don't) is the one
// meant: it comes right after the word itself.
constexpr double kApostropheBonus = 50;

// A word that only shares a sound key with the query is offered when it is
// close enough to it: within this many edits of its sound spelling, and of
// its letters within this many edits or half its length if that is more
// (filosofy and philosophy, not nosuchwordzz and Nazi Germany).
constexpr uint32_t kMaxSoundEdits = 2;
constexpr uint32_t kMaxSoundOnlyLetterEdits = 3;

uint32_t Min3(uint32_t a, uint32_t b, uint32_t c) {
    return std::min(a, std::min(b, c));
}

// Edits between two folded texts in half edits: insertion, deletion and
// substitution cost 2, a swap of neighbours `swapCost`.
uint32_t EditDistance(const std::string& a, const std::string& b, uint32_t swapCost) {
    size_t width = b.size() + 1;
    std::vector<uint32_t> d((a.size() + 1) * width);
    for (size_t j = 0; j <= b.size(); ++j) d[j] = static_cast<uint32_t>(2 * j);
    for (size_t i = 1; i <= a.size(); ++i) {
        d[i * width] = static_cast<uint32_t>(2 * i);
        for (size_t j = 1; j <= b.size(); ++j) {
            uint32_t cost = a[i - 1] == b[j - 1] ? 0 : 2;
            uint32_t v = Min3(d[(i - 1) * width + j] + 2, d[i * width + j - 1] + 2,
                              d[(i - 1) * width + j - 1] + cost);
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                v = std::min(v, d[(i - 2) * width + j - 2] + swapCost);
            }
            d[i * width + j] = v;
        }
    }
    return d[a.size() * width + b.size()];
}

// True when `folded` holds an apostrophe and reads as `query` without its
// apostrophes.
bool AddsApostrophes(const std::string& query, const std::string& folded) {
    if (folded.find('\'') == std::string::npos) return false;
    std::string bare;
    for (char c : folded) {
        if (c != '\'') bare += c;
    }
    return bare == query;
}

}  // namespace

CSpellingSuggester::CSpellingSuggester(const SearchSource& source) : source(source) {}

std::vector<uint32_t> CSpellingSuggester::Suggest(const char* word, size_t count) {
    candidates.clear();
    if (word == nullptr || count == 0) return {};
    size_t length = strlen(word);
    if (length == 0 || length > kMaxSearchText) return {};
    query = FoldAscii(word);
    querySound = SoundSpelling(query);
    CollectNearWords();
    CollectPhoneticWords();
    std::vector<std::pair<double, uint32_t>> ranked;
    ranked.reserve(candidates.size());
    for (const auto& entry : candidates) {
        if (source.Offers(entry.first)) {
            ranked.emplace_back(Score(entry.first, entry.second), entry.first);
        }
    }
    size_t kept = std::min(count, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + kept, ranked.end());
    std::vector<uint32_t> best;
    for (size_t i = 0; i < kept; ++i) best.push_back(ranked[i].second);
    return best;
}

void CSpellingSuggester::CollectNearWords() {
    size_t width = query.size() + 1;
    rows.assign((query.size() + kMaxEdits + 1) * width, 0);
    for (size_t j = 0; j < width; ++j) rows[j] = static_cast<uint32_t>(j);
    walked.clear();
    const CSearchData& data = *source.data;
    for (uint32_t i = 0; i < data.WordCount();) {
        // `walked` is a prefix of the word before this one.
        const char* word = data.Word(i);
        size_t common = std::min<size_t>(i == 0 ? 0 : data.SharedPrefix(i), walked.size());
        size_t depth = 0;
        if (!ExtendRows(word, common, &depth)) {
            i = SkipPrefix(i, depth);
            continue;
        }
        uint32_t edits = rows[depth * width + query.size()];
        if (edits <= kMaxEdits) candidates[i] = Candidate{edits, false};
        ++i;
    }
}

bool CSpellingSuggester::ExtendRows(const char* word, size_t from, size_t* depth) {
    size_t width = query.size() + 1;
    walked.resize(from);
    for (size_t d = from; word[d] != '\0'; ++d) {
        // Past this depth every row is more than kMaxEdits away.
        *depth = d + 1;
        if (d + 1 > query.size() + kMaxEdits) return false;
        char c = FoldAscii(word[d]);
        const uint32_t* up = &rows[d * width];
        uint32_t* row = &rows[(d + 1) * width];
        row[0] = static_cast<uint32_t>(d + 1);
        uint32_t least = row[0];
        for (size_t j = 1; j < width; ++j) {
            uint32_t cost = query[j - 1] == c ? 0 : 1;
            uint32_t v = Min3(up[j] + 1, row[j - 1] + 1, up[j - 1] + cost);
            if (d > 0 && j > 1 && c == query[j - 2] && walked[d - 1] == query[j - 1]) {
                v = std::min(v, rows[(d - 1) * width + j - 2] + 1);
            }
            row[j] = v;
            least = std::min(least, v);
        }
        walked.push_back(c);
        if (least > kMaxEdits) return false;
    }
    *depth = walked.size();
    return true;
}

// The first word after `index` whose folded first `length` characters differ
// from those of word `index` (the headwords are sorted, so the words sharing
// them follow it in one run).
uint32_t CSpellingSuggester::SkipPrefix(uint32_t index, size_t length) const {
    const CSearchData& data = *source.data;
    uint32_t next = index + 1;
    while (next < data.WordCount() && data.SharedPrefix(next) >= length) ++next;
    return next;
}

void CSpellingSuggester::CollectPhoneticWords() {
    CDoubleMetaphone keys(query.c_str());
    std::vector<uint32_t> found;
    uint32_t primary = lxs::PackPhoneticKey(keys.Primary().c_str());
    uint32_t alternate = lxs::PackPhoneticKey(keys.Alternate().c_str());
    if (primary != 0) source.data->FindPhonetic(primary, &found);
    if (alternate != 0 && alternate != primary) source.data->FindPhonetic(alternate, &found);
    source.data->FindPhonetic(lxs::SoundSpellingKey(querySound.c_str()), &found);
    // In half edits, a swap of neighbours counting one.
    const uint32_t letterLimit =
        2 * std::max<uint32_t>(kMaxSoundOnlyLetterEdits, static_cast<uint32_t>(query.size() / 2));
    for (uint32_t index : found) {
        auto known = candidates.find(index);
        if (known != candidates.end()) {
            known->second.phonetic = true;
            continue;
        }
        std::string folded = FoldAscii(source.data->Word(index));
        if (EditDistance(query, folded, 1) <= letterLimit &&
            EditDistance(querySound, SoundSpelling(folded), 2) <= 2 * kMaxSoundEdits) {
            candidates[index] = Candidate{EditDistance(query, folded, 2) / 2, true};
        }
    }
}

double CSpellingSuggester::Score(uint32_t index, const Candidate& candidate) const {
    const CSearchData& data = *source.data;
    // A swap of neighbours, the commonest slip in typing, counts half an edit.
    std::string folded = FoldAscii(data.Word(index));
    double score = kEditWeight * EditDistance(query, folded, 1) / 2 +
                   kSoundEditWeight * EditDistance(querySound, SoundSpelling(folded), 2) / 2;
    if (candidate.edits == 0) score -= 100;  // the word itself
    if (candidate.phonetic) score -= kPhoneticWeight;
    if (AddsApostrophes(query, folded)) score -= kApostropheBonus;
    score -= kTierWeight * data.Tier(index);
    score -= kTagWeight * std::log2(1.0 + data.TagCount(index));
    score -= kSenseWeight * std::min(data.SenseCount(index), kSenseCap);
    return score;
}
