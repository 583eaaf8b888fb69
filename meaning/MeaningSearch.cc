#include "meaning/MeaningSearch.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/Trie.h"
#include "db/WordList.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/TermMaker.h"

namespace {

// BM25 parameters: term frequency saturation and length normalisation.
constexpr float kSaturation = 1.2f;
constexpr float kLengthWeight = 0.75f;
// Each doubling of a sense's tagged uses raises its score by this share.
constexpr float kCommonnessBoost = 0.15f;
// Descriptions look for words more than for names of people and places.
constexpr float kProperNameFactor = 0.6f;
// A description that starts like a noun phrase ("a ...") or an infinitive
// ("to ...") most likely looks for a noun or a verb.
constexpr float kPartOfSpeechFactor = 1.4f;
// A synonym of a query word stands for this share of it.
constexpr float kSynonymShare = 0.8f;
// Member lines of a query word's first sense read for synonyms.
constexpr int kMaxSynonyms = 12;
// A query term held only in samples or related words covers this much of it.
constexpr float kWeakCoverage = 0.6f;
// Member lines read before a record is taken as damaged.
constexpr int kMaxMembers = 255;

// Weight of a term's occurrence by the fields it occurs in: the definition
// says most, members name the sense, samples and related words say less.
float FieldWeight(uint32_t fields) {
    float weight = 0;
    if (fields & lxm::kFieldGloss) weight += 1.0f;
    if (fields & lxm::kFieldMember) weight += 0.6f;
    if (fields & lxm::kFieldSample) weight += 0.4f;
    if (fields & lxm::kFieldRelated) weight += 0.3f;
    return weight;
}

// A '$' inside a definition is stored as U+FF04 (a plain '$' would start a
// sample); plain text gets it back.
std::string PlainGloss(const char* text, size_t length) {
    static const char kStoredDollar[] = "\xEF\xBC\x84";
    std::string gloss(text, length);
    for (size_t at = gloss.find(kStoredDollar); at != std::string::npos;
         at = gloss.find(kStoredDollar, at + 1)) {
        gloss.replace(at, 3, "$");
    }
    return gloss;
}

// The flag of the part of speech the opening word of `text` hints at, or 0.
uint32_t HintedPartOfSpeech(const char* text) {
    while (*text == ' ') ++text;
    auto startsWith = [&](const char* word) {
        const size_t length = strlen(word);
        return strncasecmp(text, word, length) == 0 && text[length] == ' ';
    };
    if (startsWith("a") || startsWith("an") || startsWith("the")) return lxm::kSenseNoun;
    if (startsWith("to")) return lxm::kSenseVerb;
    return 0;
}

}  // namespace

CMeaningSearch::CMeaningSearch(CDictDatabase* database, const CMeaningIndex* index)
    : database(database), index(index) {}

std::vector<WordTerms> CMeaningSearch::QueryTerms(const char* text, bool* cut) {
    size_t length = strlen(text);
    *cut = length > kMaxQueryBytes;
    if (*cut) {
        // Stop before the word that the bound would split.
        length = kMaxQueryBytes;
        while (length > 0 && CTermMaker::IsWordByte(static_cast<unsigned char>(text[length]))) {
            --length;
        }
    }
    std::vector<WordTerms> terms;
    CTermMaker maker(database);
    const bool complete = maker.Split(text, length, [&](const WordTerms& word) {
        for (const WordTerms& known : terms) {
            if (known.form == word.form) return true;
        }
        if (terms.size() == kMaxQueryTerms) return false;
        terms.push_back(word);
        return true;
    });
    *cut = *cut || !complete;
    return terms;
}

void CMeaningSearch::Score(const std::vector<Alternative>& alternatives, uint8_t word, float idf) {
    const float average = static_cast<float>(index->AverageLength());
    const uint32_t strong = lxm::kFieldGloss | lxm::kFieldMember;
    uint32_t sense = 0, fields = 0, length = 0;
    for (const Alternative& alternative : alternatives) {
        CMeaningIndex::CPostings postings = index->Postings(alternative.term);
        const float share = idf * alternative.share;
        while (postings.Next(&sense, &fields)) {
            const float weight = FieldWeight(fields);
            Tally& tally = tallies[sense];
            if (weight <= 0 || tally.last == word + 1) continue;
            index->GetSense(sense, &length);
            const float norm = kSaturation * (1 - kLengthWeight + kLengthWeight * length / average);
            if (!tally.seen) {
                tally.seen = 1;
                touched.push_back(sense);
            }
            tally.last = static_cast<uint8_t>(word + 1);
            tally.score += share * weight * (kSaturation + 1) / (weight + norm);
            tally.coverage += (fields & strong) ? share : share * kWeakCoverage;
            tally.held += (fields & strong) ? 1 : 0;
        }
    }
}

std::vector<CMeaningSearch::Candidate> CMeaningSearch::TakeCandidates(uint32_t termsFound,
                                                                      float idfTotal,
                                                                      uint32_t hinted) {
    std::vector<Candidate> candidates;
    candidates.reserve(touched.size());
    uint32_t length = 0;
    for (uint32_t sense : touched) {
        Tally& tally = tallies[sense];
        const MeaningSense entry = index->GetSense(sense, &length);
        const float share = idfTotal > 0 ? tally.coverage / idfTotal : 0;
        float score = tally.score * share * share *
                      (1 + kCommonnessBoost * entry.commonness / lxm::kCommonnessScale);
        if (entry.record & lxm::kSenseProperName) score *= kProperNameFactor;
        if (entry.record & hinted) score *= kPartOfSpeechFactor;
        candidates.push_back({sense, tally.held == termsFound, score});
        tally = Tally{};
    }
    touched.clear();
    return candidates;
}

std::vector<std::string> CMeaningSearch::Synonyms(const std::string& term) {
    std::vector<std::string> synonyms;
    char buffer[2 * lxm::kMaxTermLength + 2];
    snprintf(buffer, sizeof buffer, "%s", term.c_str());
    uint32_t position = 0;
    if (!LookupWord(database, buffer, sizeof buffer, &position, false)) return synonyms;
    uint32_t refs[8];
    const int count = database->wordList->GetRecordRefs(position, refs, 8);
    int first = 0;
    while (first < count && (lxd::RefKind(refs[first]) < lxd::kFirstSenseKind ||
                             lxd::RefKind(refs[first]) > lxd::kLastSenseKind)) {
        ++first;
    }
    if (first == count) return synonyms;
    std::vector<std::string> members;
    uint32_t at = lxd::RefPosition(refs[first]);
    int32_t length = 0;
    for (int member = 0; member < kMaxSynonyms; ++member) {
        const char* line = database->records->GetLine(at, &length);
        if (line == nullptr || line[length] == lxd::kRecordEndFF) break;
        members.emplace_back(line, static_cast<size_t>(length));
        at += static_cast<uint32_t>(length) + 1;
        if (line[length] == lxd::kRecordEndLF) break;
    }
    CTermMaker maker(database);
    for (const std::string& member : members) {
        maker.Split(member.data(), member.size(), [&](const WordTerms& words) {
            // One-word members only: "domestic dog" is no synonym of "dog".
            if (words.form != term && member.find(' ') == std::string::npos) {
                synonyms.push_back(words.form);
            }
            return true;
        });
    }
    return synonyms;
}

bool CMeaningSearch::ReadResult(const MeaningSense& sense, MeaningResult* result) {
    CCompressedData* records = database->records;
    uint32_t position = lxd::RefPosition(sense.record);  // without the flags
    int32_t length = 0;
    for (int member = 1; member <= kMaxMembers; ++member) {
        const char* line = records->GetLine(position, &length);
        if (line == nullptr) return false;
        const unsigned char end = static_cast<unsigned char>(line[length]);
        if (end == lxd::kRecordEndFF) break;  // no member lines: this is the gloss
        if (member == sense.member) result->word.assign(line, static_cast<size_t>(length));
        position += static_cast<uint32_t>(length) + 1;
        if (end == lxd::kRecordEndLF) break;
    }
    const char* gloss = records->GetLine(position, &length);
    if (gloss == nullptr || result->word.empty()) return false;
    const char* dollar = static_cast<const char*>(memchr(gloss, '$', static_cast<size_t>(length)));
    result->gloss = PlainGloss(gloss, dollar == nullptr ? static_cast<size_t>(length)
                                                        : static_cast<size_t>(dollar - gloss));
    result->sense = sense.number;
    return true;
}

std::vector<MeaningResult> CMeaningSearch::Search(const char* text, size_t count, bool* cut) {
    std::vector<MeaningResult> results;
    const std::vector<WordTerms> words = QueryTerms(text, cut);
    if (words.empty() || count == 0 || index->SenseCount() == 0) return results;
    // Tallies a query left behind when it ran out of memory are cleared first.
    for (uint32_t sense : touched) tallies[sense] = Tally{};
    touched.clear();
    tallies.resize(index->SenseCount(), Tally{});
    // Terms the index lacks cannot be held by any sense and do not count.
    const double total = index->SenseCount();
    uint32_t termsFound = 0;
    float idfTotal = 0;
    for (const WordTerms& word : words) {
        // A word and its base count as one term, as common as the commoner;
        // its synonyms stand in for part of it.
        std::vector<Alternative> found;
        double count = 0;
        for (const std::string* term : {&word.form, &word.base}) {
            const int32_t at = term->empty() ? -1 : index->FindTerm(term->c_str());
            if (at < 0) continue;
            found.push_back({static_cast<uint32_t>(at), 1.0f});
            count = std::max<double>(count, index->Postings(static_cast<uint32_t>(at)).Count());
        }
        if (found.empty()) continue;
        for (const std::string& synonym : Synonyms(word.form)) {
            const int32_t at = index->FindTerm(synonym.c_str());
            if (at >= 0) found.push_back({static_cast<uint32_t>(at), kSynonymShare});
        }
        const float idf = static_cast<float>(std::log(1.0 + (total - count + 0.5) / (count + 0.5)));
        Score(found, static_cast<uint8_t>(termsFound), idf);
        ++termsFound;
        idfTotal += idf;
    }
    std::vector<Candidate> candidates =
        TakeCandidates(termsFound, idfTotal, HintedPartOfSpeech(text));
    auto better = [](const Candidate& a, const Candidate& b) {
        if (a.holdsAll != b.holdsAll) return a.holdsAll;
        if (a.score != b.score) return a.score > b.score;
        return a.sense < b.sense;
    };
    // A few spare candidates stand in for records that cannot be read.
    const size_t ranked = std::min(candidates.size(), count + 8);
    std::partial_sort(candidates.begin(), candidates.begin() + ranked, candidates.end(), better);
    uint32_t length = 0;
    for (size_t i = 0; i < ranked && results.size() < count; ++i) {
        MeaningResult result;
        if (ReadResult(index->GetSense(candidates[i].sense, &length), &result)) {
            results.push_back(std::move(result));
        }
    }
    return results;
}
