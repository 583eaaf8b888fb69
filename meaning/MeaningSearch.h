// Finds senses by a description of their meaning, its negated and opposed
// words read as their antonyms (see COppositeWords). Ranks the senses of a
// CMeaningIndex for the terms of a query by a BM25 score over their weighted
// fields, where a query word's first-sense synonyms and the first word of its
// own definition ("young" for baby) stand in for part of it, scaled by the
// square of the share of the query they hold (a sense of the category a head
// noun names, "an animal that ...", holds that noun): a sense missing a word
// of the description can still come first, as descriptions seldom use the
// words of the definition they look for. Scores are raised for commonly used
// senses and for those the wording of the query hints at, lowered for names;
// when the index has term vectors, the best are raised by how near their
// members and definition lie to the query in the term space. Reads
// each result's headword and gloss from the dictionary's record store; a
// result whose headword is a word of the query is shown under another member
// of its sense, or ranked lower when it has none.
#ifndef LEXORA_MEANING_MEANINGSEARCH_H
#define LEXORA_MEANING_MEANINGSEARCH_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "meaning/TermMaker.h"

class CDictDatabase;
class CMeaningIndex;
class CQueryHint;
class CTextVector;
struct MeaningSense;

struct MeaningResult {
    std::string word;   // the headword shown, as the index spells it
    uint32_t sense;     // n of "word:n", which opens this sense
    std::string gloss;  // the definition without its samples, plain text
    uint32_t kind = 0;  // record kind of "word:sense" (its part of speech), 0 if unknown
    std::vector<std::string> also;  // the sense's other members, at most kMaxAlso
};

class CMeaningSearch {
public:
    // Query bytes read; the rest of a longer query is ignored.
    static constexpr size_t kMaxQueryBytes = 500;
    // Distinct terms searched; further ones are ignored.
    static constexpr size_t kMaxQueryTerms = 12;
    // Other members of a result's sense given with it: a reader who meant
    // "postman" finds it beside "mailman".
    static constexpr size_t kMaxAlso = 4;

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
        float score;
    };
    struct Tally {
        float score;       // BM25
        float coverage;    // weight of the query terms held, by their idf
        uint8_t seen;      // set once the sense is in `touched`
        uint8_t last;      // 1 + the query term that last counted this sense
        uint8_t headHeld;  // the hint's head noun is in the definition or members
    };
    // Distinct words of the query with their terms, in order; with
    // `opposites`, negated and opposed words read as their antonyms.
    std::vector<WordTerms> QueryTerms(const char* text, bool* cut, bool opposites);
    // An index term of a query word and the share of the word it stands for.
    struct Alternative {
        uint32_t term;
        float share;
        bool weak;  // never makes a sense hold the word
    };
    // Adds the share of query word `word` (its alternatives, in order) to
    // every sense that holds one of them; a sense counts once per word.
    void Score(const std::vector<Alternative>& alternatives, uint8_t word, float idf);
    // Adds one alternative's share to the senses not yet counted for `word`
    // whose occurrence of it is strong (definition, members, of an
    // alternative that is not weak) or, when `strongPass` is false, weak.
    void ScoreTerm(const Alternative& alternative, uint8_t word, float idf, bool strongPass);
    // Scores the senses holding query word number `number`; false when the
    // index holds none of its terms. `*idf`: the word's weight.
    bool ScoreWord(const WordTerms& word, uint8_t number, float* idf);
    // Candidate order: by score, then by sense.
    static bool Better(const Candidate& a, const Candidate& b);
    // Raises the best candidates whose members and definition lie near the
    // query in the index's term space (when the index has term vectors).
    void RerankBySimilarity(std::vector<Candidate>& candidates,
                            const std::vector<WordTerms>& words);
    // Adds the term of `word` (its form, else its base) to `vector`,
    // weighted by its idf.
    void AddWordTerm(const WordTerms& word, CTextVector* vector);
    // Adds the terms of `text` to `vector` as AddWordTerm does.
    void AddTextTerms(const std::string& text, CTextVector* vector);
    // The best `count` candidates as results, read from the dictionary.
    std::vector<MeaningResult> BestResults(std::vector<Candidate>& candidates,
                                           const std::vector<WordTerms>& words, size_t count);
    // What `term`'s first sense says of it: its single-word synonyms (the
    // other members) and the first word of its definition.
    struct SenseWords {
        std::vector<std::string> synonyms;
        std::string glossHead;
    };
    SenseWords FirstSenseWords(const std::string& term);
    // `hint` raises the senses the wording of the query favours.
    std::vector<Candidate> TakeCandidates(float idfTotal, const CQueryHint& hint);
    // Whether a word of `shown` (a result's headword) is one of the query's.
    bool NamesQueryWord(const std::string& shown, const std::vector<WordTerms>& words);
    // Whether a one-word member is the query's first word, which names the
    // kind described: the sense is that word's own meaning ("doctor" in "a
    // doctor who ..."), not the one described. A later word may well be a
    // member of the sense looked for ("opposite" in "a word that means the
    // opposite": antonym).
    bool IsQueryWordSense(const std::vector<std::string>& members,
                          const std::vector<WordTerms>& words);
    // A result named by a query word is shown under another member of its
    // sense that is not and that opens the sense (the sense of the record at
    // `position`): "a period of two weeks" shows fortnight, not two weeks.
    // False when no member can.
    bool ShowUnderOtherMember(const std::vector<std::string>& members, uint32_t position,
                              const std::vector<WordTerms>& words, MeaningResult* result);
    // Reads the shown member, all members and the gloss of `sense`; false
    // when the record cannot be read as a sense record.
    bool ReadResult(const MeaningSense& sense, MeaningResult* result,
                    std::vector<std::string>* members);

    CDictDatabase* database;
    const CMeaningIndex* index;
    std::vector<Tally> tallies;     // per sense, for the query being run
    std::vector<uint32_t> touched;  // senses with a nonzero tally
    uint8_t headTerm = 0;           // 1 + the query term of the hint's head noun, or 0
    float headIdf = 0;              // that term's weight
};

#endif  // LEXORA_MEANING_MEANINGSEARCH_H
