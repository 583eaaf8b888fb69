// Sounds-like search: the headwords sharing a Double Metaphone key (primary
// or alternate) with a word: those sharing its primary key first, each group
// most common first. The word itself (ASCII
// case folded) is not among them.
#ifndef LEXORA_SEARCH_SOUNDSLIKE_H
#define LEXORA_SEARCH_SOUNDSLIKE_H

#include <cstdint>
#include <vector>

#include "search/SearchSource.h"

// Up to `count` word numbers; none for an empty word, one longer than
// kMaxSearchText, or one without letters.
std::vector<uint32_t> FindSoundsLike(const SearchSource& source, const char* word, size_t count);

#endif  // LEXORA_SEARCH_SOUNDSLIKE_H
