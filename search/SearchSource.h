// What every search reads: the loaded search data and the word filter to
// apply (null while filtering is off), plus the small text helpers they share.
#ifndef LEXORA_SEARCH_SEARCHSOURCE_H
#define LEXORA_SEARCH_SEARCHSOURCE_H

#include <cstdint>
#include <string>

#include "db/WordFilter.h"
#include "search/SearchData.h"

struct SearchSource {
    const CSearchData* data;
    const CWordFilter* filter;  // null: nothing is left out

    // True when word `index` may be offered to the user.
    bool Offers(uint32_t index) const {
        return filter == nullptr || !filter->IsFiltered(data->Word(index));
    }
};

// Longest word or pattern a search accepts, in bytes; longer ones find nothing.
constexpr size_t kMaxSearchText = 64;

inline char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline std::string FoldAscii(const char* text) {
    std::string folded(text);
    for (char& c : folded) c = FoldAscii(c);
    return folded;
}

#endif  // LEXORA_SEARCH_SEARCHSOURCE_H
