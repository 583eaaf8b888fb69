// Wildcard search: the headwords matching a pattern in which '?' stands for
// one character and '*' for any run of characters (ASCII case folded), in
// index order, starting after a given headword, so that a list can page
// through them.
#ifndef LEXORA_SEARCH_WILDCARDSEARCH_H
#define LEXORA_SEARCH_WILDCARDSEARCH_H

#include <cstdint>
#include <string>
#include <vector>

#include "search/SearchSource.h"

// True when the folded `word` matches the folded `pattern` whole. Runs in
// time proportional to their lengths' product at most; never recurses.
bool MatchesWildcard(const char* pattern, const char* word);

// The index order's sort key of a headword: lower case, then, when it has
// capitals, byte 3 and one byte 0x20 + position per capital.
std::string IndexKey(const char* headword);

// Up to `count` word numbers matching `pattern`, after the headword `after`
// ("" for the start; a word that is not a headword starts at its place).
// None for an empty pattern or one longer than kMaxSearchText.
std::vector<uint32_t> FindWildcardWords(const SearchSource& source, const char* pattern,
                                        size_t count, const char* after);

#endif  // LEXORA_SEARCH_WILDCARDSEARCH_H
