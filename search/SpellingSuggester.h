// Spelling suggestions: the headwords a person most likely meant by a word.
// Candidates are the headwords within two edits (insertion, deletion,
// substitution, swap of neighbours; ASCII case folded) and those sharing a
// Double Metaphone key with the word, if their letters and sound spelling
// are close enough to it (so a word like nothing in the dictionary gets no
// suggestion). They are ranked by edits, phonetic match and commonness; the
// word itself, when it is a headword, comes first.
#ifndef LEXORA_SEARCH_SPELLINGSUGGESTER_H
#define LEXORA_SEARCH_SPELLINGSUGGESTER_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "search/SearchSource.h"

class CSpellingSuggester {
public:
    enum { kMaxEdits = 2 };

    explicit CSpellingSuggester(const SearchSource& source);
    virtual ~CSpellingSuggester() = default;

    // Up to `count` word numbers, best first; none for an empty word or one
    // longer than kMaxSearchText.
    std::vector<uint32_t> Suggest(const char* word, size_t count);

private:
    struct Candidate {
        uint32_t edits;
        bool phonetic;
    };
    // Walks the sorted headwords as a trie, one edit-distance row per
    // character, skipping every run of words whose common prefix is already
    // more than kMaxEdits edits away.
    void CollectNearWords();
    // Computes the rows of `word` below row `from`. True when the whole word
    // was walked (*depth its length); false at the first depth whose row is
    // beyond kMaxEdits everywhere (*depth that depth).
    bool ExtendRows(const char* word, size_t from, size_t* depth);
    uint32_t SkipPrefix(uint32_t index, size_t length) const;
    void CollectPhoneticWords();
    double Score(uint32_t index, const Candidate& candidate) const;

    SearchSource source;
    std::string query;           // the word, case folded
    std::string querySound;      // its sound spelling
    std::vector<uint32_t> rows;  // (query length + 1) per depth
    std::string walked;          // folded characters behind the rows
    std::unordered_map<uint32_t, Candidate> candidates;
};

#endif  // LEXORA_SEARCH_SPELLINGSUGGESTER_H
