#include "meaning/MeaningSearch.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/TermMaker.h"

namespace {

// BM25 parameters: term frequency saturation and length normalisation.
constexpr float kSaturation = 1.2f;
constexpr float kLengthWeight = 0.5f;
// Each doubling of a sense's tagged uses raises its score by this share.
constexpr float kCommonnessBoost = 0.03f;
// Member lines read before a record is taken as damaged.
constexpr int kMaxMembers = 255;

// Weight of a term's occurrence by the fields it occurs in: the definition
// says most, members name the sense, samples and related words say less.
float FieldWeight(uint32_t fields) {
    float weight = 0;
    if (fields & lxm::kFieldGloss) weight += 1.0f;
    if (fields & lxm::kFieldMember) weight += 1.0f;
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

}  // namespace

CMeaningSearch::CMeaningSearch(CDictDatabase* database, const CMeaningIndex* index)
    : database(database), index(index) {}

std::vector<std::string> CMeaningSearch::QueryTerms(const char* text, bool* cut) {
    size_t length = strlen(text);
    *cut = length > kMaxQueryBytes;
    if (*cut) {
        // Stop before the word that the bound would split.
        length = kMaxQueryBytes;
        while (length > 0 && CTermMaker::IsWordByte(static_cast<unsigned char>(text[length]))) {
            --length;
        }
    }
    std::vector<std::string> terms;
    CTermMaker maker(database);
    const bool complete = maker.Split(text, length, [&](const std::string& term) {
        if (std::find(terms.begin(), terms.end(), term) != terms.end()) return true;
        if (terms.size() == kMaxQueryTerms) return false;
        terms.push_back(term);
        return true;
    });
    *cut = *cut || !complete;
    return terms;
}

void CMeaningSearch::Score(uint32_t term) {
    CMeaningIndex::CPostings postings = index->Postings(term);
    const double total = index->SenseCount();
    const double count = postings.Count();
    const float idf = static_cast<float>(std::log(1.0 + (total - count + 0.5) / (count + 0.5)));
    const float average = static_cast<float>(index->AverageLength());
    uint32_t sense = 0, fields = 0, length = 0;
    while (postings.Next(&sense, &fields)) {
        const float weight = FieldWeight(fields);
        if (weight <= 0) continue;
        const MeaningSense entry = index->GetSense(sense, &length);
        const float norm = kSaturation * (1 - kLengthWeight + kLengthWeight * length / average);
        const float commonness = 1 + kCommonnessBoost * entry.commonness / lxm::kCommonnessScale;
        if (matched[sense] == 0) touched.push_back(sense);
        ++matched[sense];
        scores[sense] += idf * weight * (kSaturation + 1) / (weight + norm) * commonness;
    }
}

std::vector<CMeaningSearch::Candidate> CMeaningSearch::TakeCandidates() {
    std::vector<Candidate> candidates;
    candidates.reserve(touched.size());
    for (uint32_t sense : touched) {
        candidates.push_back({sense, matched[sense], scores[sense]});
        matched[sense] = 0;
        scores[sense] = 0;
    }
    touched.clear();
    return candidates;
}

bool CMeaningSearch::ReadResult(const MeaningSense& sense, MeaningResult* result) {
    CCompressedData* records = database->records;
    uint32_t position = lxd::RefPosition(sense.record);
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
    const std::vector<std::string> terms = QueryTerms(text, cut);
    if (terms.empty() || count == 0 || index->SenseCount() == 0) return results;
    scores.resize(index->SenseCount(), 0);
    matched.resize(index->SenseCount(), 0);
    for (const std::string& term : terms) {
        const int32_t found = index->FindTerm(term.c_str());
        if (found >= 0) Score(static_cast<uint32_t>(found));
    }
    std::vector<Candidate> candidates = TakeCandidates();
    auto better = [](const Candidate& a, const Candidate& b) {
        if (a.matched != b.matched) return a.matched > b.matched;
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
