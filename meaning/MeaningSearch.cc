#include "meaning/MeaningSearch.h"

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
#include "meaning/OppositeWords.h"
#include "meaning/QueryHint.h"
#include "meaning/SenseNumber.h"
#include "meaning/TermMaker.h"
#include "meaning/TextVector.h"

namespace {

// BM25 parameters: term frequency saturation and length normalisation.
constexpr float kSaturation = 0.6f;
constexpr float kLengthWeight = 0.15f;
// Each doubling of a sense's tagged uses raises its score by this share.
constexpr float kCommonnessBoost = 0.11f;
// Descriptions look for words more than for names of people and places.
constexpr float kProperNameFactor = 0.6f;
// A sense of the part of speech or the category the wording of the
// description hints at (see CQueryHint) is raised by these factors.
constexpr float kPartOfSpeechFactor = 2.8f;
constexpr float kCategoryFactor = 2.0f;
// A sense that is neither noun nor verb, when the wording asks for an
// adjective or adverb, is raised by this factor.
constexpr float kDescribingFactor = 1.4f;
// A synonym of a query word stands for this share of it.
constexpr float kSynonymShare = 0.8f;
// Member lines of a query word's first sense read for synonyms.
constexpr int kMaxSynonyms = 12;
// The first word of a query word's own definition ("young" in baby's "a very
// young child") stands for this share of it, less when it is the commoner
// term ("member" for dog), and never makes a sense hold it.
constexpr float kGlossHeadShare = 0.6f;
// A query term held only in samples or related words covers this much of it.
constexpr float kWeakCoverage = 0.6f;
// Results read beyond those asked for, to replace the demoted ones.
constexpr size_t kSpareResults = 16;
// A sense shown under a word of the description itself ("a group of wolves":
// wolf pack) is seldom the word looked for: its score takes this factor.
constexpr float kSelfNamedFactor = 0.1f;
// The best candidates whose members and definition are compared with the
// query in the term space, and how much that comparison counts: the score
// is multiplied by e^(weight * cosine).
constexpr size_t kSimilarityRanked = 30;
constexpr float kSimilarityWeight = 1.0f;
// Member lines read before a record is taken as damaged.
constexpr int kMaxMembers = 255;

// Weight of a term's occurrence by the fields it occurs in: a member names
// the sense outright, the definition says most of the rest; samples, GCIDE's
// definitions and related words say less.
float FieldWeight(uint32_t fields) {
    float weight = 0;
    if (fields & lxm::kFieldGloss) weight += 1.0f;
    if (fields & lxm::kFieldMember) weight += 1.2f;
    if (fields & lxm::kFieldSample) weight += 0.5f;
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

// BM25's weight of a term that `count` of `total` senses hold.
float InverseFrequency(double total, double count) {
    return static_cast<float>(std::log(1.0 + (total - count + 0.5) / (count + 0.5)));
}

// Bytes of a gloss line before its samples.
size_t DefinitionLength(const char* gloss, int32_t length) {
    const void* dollar = memchr(gloss, '$', static_cast<size_t>(length));
    return dollar == nullptr ? static_cast<size_t>(length)
                             : static_cast<size_t>(static_cast<const char*>(dollar) - gloss);
}

// Whether two words are forms of one: "interested" and "interest" are;
// "farmer" and "farm" are not (a related base is no form).
bool SameWord(const WordTerms& a, const WordTerms& b) {
    const std::string& aBase = a.related ? std::string() : a.base;
    const std::string& bBase = b.related ? std::string() : b.base;
    return a.form == b.form || (!bBase.empty() && (a.form == bBase || aBase == bBase)) ||
           (!aBase.empty() && aBase == b.form);
}

}  // namespace

CMeaningSearch::CMeaningSearch(CDictDatabase* database, const CMeaningIndex* index)
    : database(database), index(index) {}

std::vector<WordTerms> CMeaningSearch::QueryTerms(const char* text, bool* cut, bool opposites) {
    size_t length = strlen(text);
    *cut = length > kMaxQueryBytes;
    if (*cut) {
        // Stop before the word that the bound would split.
        length = kMaxQueryBytes;
        while (length > 0 && CTermMaker::IsWordByte(static_cast<unsigned char>(text[length]))) {
            --length;
        }
    }
    const std::string read =
        opposites ? COppositeWords(database).Rewrite(text, length) : std::string(text, length);
    std::vector<WordTerms> terms;
    CTermMaker maker(database);
    const bool complete = maker.Split(read.data(), read.size(), [&](const WordTerms& word) {
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
    // Strong occurrences first: a sense whose definition holds one of the
    // alternatives holds the word, even when an earlier one is only in its
    // samples ("ten" there, "10" in the definition).
    for (const bool strong : {true, false}) {
        for (const Alternative& alternative : alternatives) {
            ScoreTerm(alternative, word, idf, strong);
        }
    }
}

void CMeaningSearch::ScoreTerm(const Alternative& alternative, uint8_t word, float idf,
                               bool strongPass) {
    const float average = static_cast<float>(index->AverageLength());
    const uint32_t strong = lxm::kFieldGloss | lxm::kFieldMember;
    const float share = idf * alternative.share;
    uint32_t sense = 0, fields = 0, length = 0;
    CMeaningIndex::CPostings postings = index->Postings(alternative.term);
    while (postings.Next(&sense, &fields)) {
        const float weight = FieldWeight(fields);
        Tally& tally = tallies[sense];
        if (weight <= 0 || tally.last == word + 1 ||
            ((fields & strong) != 0 && !alternative.weak) != strongPass) {
            continue;
        }
        index->GetSense(sense, &length);
        const float norm = kSaturation * (1 - kLengthWeight + kLengthWeight * length / average);
        if (!tally.seen) {
            tally.seen = 1;
            touched.push_back(sense);
        }
        tally.last = static_cast<uint8_t>(word + 1);
        tally.score += share * weight * (kSaturation + 1) / (weight + norm);
        tally.coverage += strongPass ? share : share * kWeakCoverage;
        if (word + 1 == headTerm && strongPass) tally.headHeld = 1;
    }
}

std::vector<CMeaningSearch::Candidate> CMeaningSearch::TakeCandidates(float idfTotal,
                                                                      const CQueryHint& hint) {
    std::vector<Candidate> candidates;
    candidates.reserve(touched.size());
    uint32_t length = 0;
    for (uint32_t sense : touched) {
        Tally& tally = tallies[sense];
        const MeaningSense entry = index->GetSense(sense, &length);
        const bool fits =
            hint.Fits((entry.record & lxm::kSenseCategoryMask) >> lxm::kSenseCategoryShift);
        // A sense of the category the head noun names holds that noun, on
        // top of any weaker mention of it ("a person who": a poet).
        if (fits && headTerm != 0 && !tally.headHeld) tally.coverage += headIdf;
        const float share = idfTotal > 0 ? tally.coverage / idfTotal : 0;
        float score = tally.score * share * share *
                      (1 + kCommonnessBoost * entry.commonness / lxm::kCommonnessScale);
        if (entry.record & lxm::kSenseProperName) score *= kProperNameFactor;
        if (entry.record & hint.PartOfSpeech()) score *= kPartOfSpeechFactor;
        if (fits) score *= kCategoryFactor;
        if (hint.Describing() && (entry.record & (lxm::kSenseNoun | lxm::kSenseVerb)) == 0) {
            score *= kDescribingFactor;
        }
        candidates.push_back({sense, score});
        tally = Tally{};
    }
    touched.clear();
    return candidates;
}

CMeaningSearch::SenseWords CMeaningSearch::FirstSenseWords(const std::string& term) {
    SenseWords words;
    char buffer[2 * lxm::kMaxTermLength + 2];
    snprintf(buffer, sizeof buffer, "%s", term.c_str());
    uint32_t position = 0;
    if (!LookupWord(database, buffer, sizeof buffer, &position, false)) return words;
    uint32_t refs[8];
    const int count = database->wordList->GetRecordRefs(position, refs, 8);
    int first = 0;
    while (first < count && (lxd::RefKind(refs[first]) < lxd::kFirstSenseKind ||
                             lxd::RefKind(refs[first]) > lxd::kLastSenseKind)) {
        ++first;
    }
    if (first == count) return words;
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
        maker.Split(member.data(), member.size(), [&](const WordTerms& part) {
            // One-word members only: "domestic dog" is no synonym of "dog".
            if (part.form != term && member.find(' ') == std::string::npos) {
                words.synonyms.push_back(part.form);
            }
            return true;
        });
    }
    const char* gloss = database->records->GetLine(at, &length);
    if (gloss != nullptr) {
        maker.Split(gloss, DefinitionLength(gloss, length), [&](const WordTerms& part) {
            if (part.form != term) words.glossHead = part.form;
            return words.glossHead.empty();
        });
    }
    return words;
}

bool CMeaningSearch::NamesQueryWord(const std::string& shown, const std::vector<WordTerms>& words) {
    bool named = false;
    CTermMaker maker(database);
    maker.Split(shown.data(), shown.size(), [&](const WordTerms& part) {
        for (const WordTerms& word : words) named = named || SameWord(part, word);
        return !named;
    });
    return named;
}

bool CMeaningSearch::IsQueryWordSense(const std::vector<std::string>& members,
                                      const std::vector<WordTerms>& words) {
    const std::vector<WordTerms> first(words.begin(), words.begin() + 1);
    for (const std::string& member : members) {
        if (member.find(' ') == std::string::npos && NamesQueryWord(member, first)) return true;
    }
    return false;
}

bool CMeaningSearch::ShowUnderOtherMember(const std::vector<std::string>& members,
                                          uint32_t position, const std::vector<WordTerms>& words,
                                          MeaningResult* result) {
    for (const std::string& member : members) {
        if (member == result->word || NamesQueryWord(member, words)) continue;
        const uint32_t number = SenseNumberUnder(database, member, position);
        if (number != 0) {
            result->word = member;
            result->sense = number;
            return true;
        }
    }
    return false;
}

bool CMeaningSearch::ReadResult(const MeaningSense& sense, MeaningResult* result,
                                std::vector<std::string>* members) {
    CCompressedData* records = database->records;
    uint32_t position = lxd::RefPosition(sense.record);  // without the flags
    int32_t length = 0;
    for (int member = 1; member <= kMaxMembers; ++member) {
        const char* line = records->GetLine(position, &length);
        if (line == nullptr) return false;
        const unsigned char end = static_cast<unsigned char>(line[length]);
        if (end == lxd::kRecordEndFF) break;  // no member lines: this is the gloss
        members->emplace_back(line, static_cast<size_t>(length));
        if (member == sense.member) result->word = members->back();
        position += static_cast<uint32_t>(length) + 1;
        if (end == lxd::kRecordEndLF) break;
    }
    const char* gloss = records->GetLine(position, &length);
    if (gloss == nullptr || result->word.empty()) return false;
    result->gloss = PlainGloss(gloss, DefinitionLength(gloss, length));
    result->sense = sense.number;
    return true;
}

bool CMeaningSearch::ScoreWord(const WordTerms& word, uint8_t number, float* idf) {
    // A word and its base count as one term, as common as the commoner; its
    // synonyms and the first word of its definition stand in for part of
    // it. Terms the index lacks do not count.
    std::vector<Alternative> found;
    double count = 0;
    for (const std::string* term : {&word.form, &word.base}) {
        const int32_t at = term->empty() ? -1 : index->FindTerm(term->c_str());
        if (at < 0) continue;
        found.push_back({static_cast<uint32_t>(at), 1.0f, false});
        count = std::max<double>(count, index->Postings(static_cast<uint32_t>(at)).Count());
    }
    if (found.empty()) return false;
    const SenseWords related = FirstSenseWords(word.form);
    for (const std::string& synonym : related.synonyms) {
        const int32_t at = index->FindTerm(synonym.c_str());
        if (at >= 0) found.push_back({static_cast<uint32_t>(at), kSynonymShare, false});
    }
    const double total = index->SenseCount();
    *idf = InverseFrequency(total, count);
    const int32_t head =
        related.glossHead.empty() ? -1 : index->FindTerm(related.glossHead.c_str());
    if (head >= 0) {
        const float headIdf =
            InverseFrequency(total, index->Postings(static_cast<uint32_t>(head)).Count());
        found.push_back(
            {static_cast<uint32_t>(head), kGlossHeadShare * std::min(1.0f, headIdf / *idf), true});
    }
    Score(found, number, *idf);
    return true;
}

bool CMeaningSearch::Better(const Candidate& a, const Candidate& b) {
    if (a.score != b.score) return a.score > b.score;
    return a.sense < b.sense;
}

void CMeaningSearch::AddWordTerm(const WordTerms& word, CTextVector* vector) {
    int32_t at = index->FindTerm(word.form.c_str());
    if (at < 0 && !word.base.empty()) at = index->FindTerm(word.base.c_str());
    if (at < 0) return;
    const uint32_t term = static_cast<uint32_t>(at);
    vector->Add(term, InverseFrequency(index->SenseCount(), index->Postings(term).Count()));
}

void CMeaningSearch::AddTextTerms(const std::string& text, CTextVector* vector) {
    CTermMaker maker(database);
    maker.Split(text.data(), text.size(), [&](const WordTerms& word) {
        AddWordTerm(word, vector);
        return true;
    });
}

void CMeaningSearch::RerankBySimilarity(std::vector<Candidate>& candidates,
                                        const std::vector<WordTerms>& words) {
    if (index->VectorDims() == 0 || candidates.empty()) return;
    CTextVector query(index);
    for (const WordTerms& word : words) AddWordTerm(word, &query);
    if (query.Empty()) return;
    const size_t ranked = std::min(candidates.size(), kSimilarityRanked);
    std::partial_sort(candidates.begin(), candidates.begin() + ranked, candidates.end(), Better);
    uint32_t length = 0;
    for (size_t i = 0; i < ranked; ++i) {
        MeaningResult result;
        std::vector<std::string> members;
        if (!ReadResult(index->GetSense(candidates[i].sense, &length), &result, &members)) continue;
        CTextVector sense(index);
        for (const std::string& member : members) AddTextTerms(member, &sense);
        AddTextTerms(result.gloss, &sense);
        candidates[i].score *= std::exp(kSimilarityWeight * query.Cosine(sense));
    }
}

std::vector<MeaningResult> CMeaningSearch::BestResults(std::vector<Candidate>& candidates,
                                                       const std::vector<WordTerms>& words,
                                                       size_t count) {
    auto better = Better;
    // Spare candidates stand in for records that cannot be read and for
    // those demoted for naming a query word.
    const size_t ranked = std::min(candidates.size(), count + kSpareResults);
    std::partial_sort(candidates.begin(), candidates.begin() + ranked, candidates.end(), better);
    std::vector<std::pair<Candidate, MeaningResult>> read;
    uint32_t length = 0;
    for (size_t i = 0; i < ranked; ++i) {
        MeaningResult result;
        std::vector<std::string> members;
        const MeaningSense sense = index->GetSense(candidates[i].sense, &length);
        if (!ReadResult(sense, &result, &members)) continue;
        if (NamesQueryWord(result.word, words) &&
            (IsQueryWordSense(members, words) ||
             !ShowUnderOtherMember(members, lxd::RefPosition(sense.record), words, &result))) {
            candidates[i].score *= kSelfNamedFactor;
        }
        for (const std::string& member : members) {
            if (member != result.word && result.also.size() < kMaxAlso)
                result.also.push_back(member);
        }
        read.emplace_back(candidates[i], std::move(result));
    }
    std::stable_sort(read.begin(), read.end(),
                     [&](const auto& a, const auto& b) { return better(a.first, b.first); });
    std::vector<MeaningResult> results;
    for (size_t i = 0; i < read.size() && i < count; ++i) {
        MeaningResult& result = read[i].second;
        const uint32_t record = index->GetSense(read[i].first.sense, &length).record;
        SenseNumberUnder(database, result.word, lxd::RefPosition(record), &result.kind);
        results.push_back(std::move(result));
    }
    return results;
}

std::vector<MeaningResult> CMeaningSearch::Search(const char* text, size_t count, bool* cut) {
    const std::vector<WordTerms> written = QueryTerms(text, cut, false);
    const std::vector<WordTerms> words = QueryTerms(text, cut, true);
    if (words.empty() || count == 0 || index->SenseCount() == 0) return {};
    // Tallies a query left behind when it ran out of memory are cleared first.
    for (uint32_t sense : touched) tallies[sense] = Tally{};
    touched.clear();
    tallies.resize(index->SenseCount(), Tally{});
    const CQueryHint hint(text);
    uint32_t termsFound = 0;
    float idfTotal = 0;
    headTerm = 0;
    for (const WordTerms& word : words) {
        float idf = 0;
        const bool head = word.form == hint.Head();
        if (head) headTerm = static_cast<uint8_t>(termsFound + 1);
        if (!ScoreWord(word, static_cast<uint8_t>(termsFound), &idf)) {
            if (head) headTerm = 0;
        } else {
            if (head) headIdf = idf;
            ++termsFound;
            idfTotal += idf;
        }
    }
    std::vector<Candidate> candidates = TakeCandidates(idfTotal, hint);
    RerankBySimilarity(candidates, words);
    return BestResults(candidates, written, count);
}
