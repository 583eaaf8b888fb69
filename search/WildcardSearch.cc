#include "search/WildcardSearch.h"

#include <algorithm>
#include <cstring>

#include "db/Format.h"

namespace {

// Number of the first word whose key is above `key` (or equal to it, when
// `inclusive`).
uint32_t FirstWordFrom(const CSearchData& data, const std::string& key, bool inclusive) {
    uint32_t low = 0;
    uint32_t high = data.WordCount();
    while (low < high) {
        uint32_t middle = low + (high - low) / 2;
        std::string probe = IndexKey(data.Word(middle));
        if (inclusive ? probe < key : probe <= key) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

bool HasFoldedPrefix(const char* word, const std::string& prefix) {
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (word[i] == '\0' || FoldAscii(word[i]) != prefix[i]) return false;
    }
    return true;
}

}  // namespace

bool MatchesWildcard(const char* pattern, const char* word) {
    const char* star = nullptr;    // last '*' seen in the pattern
    const char* resume = nullptr;  // where the word resumes after it
    while (*word != '\0') {
        if (*pattern == '*') {
            star = pattern++;
            resume = word;
        } else if (*pattern != '\0' && (*pattern == '?' || *pattern == FoldAscii(*word))) {
            ++pattern;
            ++word;
        } else if (star != nullptr) {
            pattern = star + 1;
            word = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

std::string IndexKey(const char* headword) {
    std::string key;
    std::string capitals;
    for (size_t i = 0; headword[i] != '\0'; ++i) {
        char c = headword[i];
        if (c >= 'A' && c <= 'Z')
            capitals.push_back(static_cast<char>(lxd::kCapitalPositionBase + i));
        key.push_back(FoldAscii(c));
    }
    if (!capitals.empty()) key += static_cast<char>(lxd::kCapitalsMarker) + capitals;
    return key;
}

std::vector<uint32_t> FindWildcardWords(const SearchSource& source, const char* pattern,
                                        size_t count, const char* after) {
    std::vector<uint32_t> found;
    if (pattern == nullptr || count == 0) return found;
    size_t length = strlen(pattern);
    if (length == 0 || length > kMaxSearchText) return found;
    const CSearchData& data = *source.data;
    std::string folded = FoldAscii(pattern);
    std::string prefix = folded.substr(0, folded.find_first_of("*?"));
    uint32_t start = FirstWordFrom(data, IndexKey(after == nullptr ? "" : after), false);
    // Words with the pattern's literal prefix form one run in index order.
    start = std::max(start, FirstWordFrom(data, prefix, true));
    for (uint32_t i = start; i < data.WordCount() && found.size() < count; ++i) {
        const char* word = data.Word(i);
        if (!HasFoldedPrefix(word, prefix)) break;
        if (MatchesWildcard(folded.c_str(), word) && source.Offers(i)) found.push_back(i);
    }
    return found;
}
