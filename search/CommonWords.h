// The commoner part of the dictionary, read from the search data: the words
// a random draw for people offers (headwords with senses that the common word
// list knows and WordNet's texts use), and among them the candidates for the
// word of the day (everyday single words of at least five letters, no
// capitals, used often enough in running text, no article or pronoun). The
// word of day d walks the candidates with a fixed stride that shares no
// factor with their number, so it is the same all day, every candidate comes
// once before any comes again, and neighbours in the index are days apart.
#ifndef LEXORA_SEARCH_COMMONWORDS_H
#define LEXORA_SEARCH_COMMONWORDS_H

#include <cstdint>
#include <vector>

#include "search/SearchSource.h"

class CCommonWords {
public:
    enum : uint32_t { kNone = 0xFFFFFFFFu };

    explicit CCommonWords(const CSearchData& data);
    virtual ~CCommonWords() = default;

    // Word numbers of the common words, in index order.
    const std::vector<uint32_t>& Words() const { return common; }
    // The word number of day `day` (days since 1970-01-01, any integer) that
    // `filter` (null: none) lets through; kNone when there is none.
    uint32_t OfDay(int64_t day, const CWordFilter* filter) const;

private:
    bool IsDailyCandidate(uint32_t index) const;

    const CSearchData& data;
    std::vector<uint32_t> common;
    std::vector<uint32_t> daily;
    uint64_t stride = 1;
};

#endif  // LEXORA_SEARCH_COMMONWORDS_H
