// Finds senses by a description of their meaning. Ranks the senses of a
// CMeaningIndex for the terms of a query: senses holding more of the query's
// terms first, then by a BM25 score over their weighted fields, raised a
// little for commonly used senses. Reads each result's headword and gloss
// from the dictionary's record store.
#ifndef LEXORA_MEANING_MEANINGSEARCH_H
#define LEXORA_MEANING_MEANINGSEARCH_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CDictDatabase;
class CMeaningIndex;
struct MeaningSense;

struct MeaningResult {
    std::string word;   // the headword shown, as the index spells it
    uint32_t sense;     // n of "word:n", which opens this sense
    std::string gloss;  // the definition without its samples, plain text
};

class CMeaningSearch {
public:
    // Query bytes read; the rest of a longer query is ignored.
    static constexpr size_t kMaxQueryBytes = 500;
    // Distinct terms searched; further ones are ignored.
    static constexpr size_t kMaxQueryTerms = 12;

    // Neither is owned; both must outlive the search.
    CMeaningSearch(CDictDatabase* database, const CMeaningIndex* index);
    virtual ~CMeaningSearch() = default;
    CMeaningSearch(const CMeaningSearch&) = delete;
    CMeaningSearch& operator=(const CMeaningSearch&) = delete;

    // At most `count` results for `text` (NUL-terminated), best first; none
    // when it holds no searchable word. `*cut` tells whether part of the
    // text was ignored for the limits above.
    std::vector<MeaningResult> Search(const char* text, size_t count, bool* cut);

private:
    struct Candidate {
        uint32_t sense;
        uint32_t matched;  // distinct query terms the sense holds
        float score;
    };
    // Distinct terms of the query, in order.
    std::vector<std::string> QueryTerms(const char* text, bool* cut);
    void Score(uint32_t term);
    std::vector<Candidate> TakeCandidates();
    // Reads the shown member and the gloss of `sense`; false when the record
    // cannot be read as a sense record.
    bool ReadResult(const MeaningSense& sense, MeaningResult* result);

    CDictDatabase* database;
    const CMeaningIndex* index;
    std::vector<float> scores;      // per sense, for the query being run
    std::vector<uint8_t> matched;   // per sense
    std::vector<uint32_t> touched;  // senses with a nonzero entry
};

#endif  // LEXORA_MEANING_MEANINGSEARCH_H
