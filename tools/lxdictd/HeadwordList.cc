#include "tools/lxdictd/HeadwordList.h"

#include <algorithm>
#include <cstring>

#include "db/IndexListing.h"

namespace {

unsigned char Lower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// Compares the lower-case form of `word` with `key`, over at most the length
// of `key` when `prefixOnly`: negative, zero or positive like strcmp.
int CompareLowered(const char* word, const std::string& key, bool prefixOnly) {
    size_t i = 0;
    for (; i < key.size(); ++i) {
        const unsigned char w = Lower(static_cast<unsigned char>(word[i]));
        const unsigned char k = static_cast<unsigned char>(key[i]);
        if (w != k) return w == 0 ? -1 : (w < k ? -1 : 1);
    }
    return prefixOnly || word[i] == '\0' ? 0 : 1;
}

int32_t AddHeadword(void* context, const char* word, uint32_t) {
    static_cast<CHeadwordList*>(context)->Add(word);
    return 1;
}

}  // namespace

std::string LowerCased(const std::string& word) {
    std::string lower = word;
    for (char& c : lower) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    return lower;
}

void CHeadwordList::Load(CDictDatabase* database) {
    text.clear();
    starts.clear();
    ordered = true;
    ListIndexWords(database, AddHeadword, this, "", true, false);
    text.shrink_to_fit();
    starts.shrink_to_fit();
}

void CHeadwordList::Add(const char* word) {
    if (!starts.empty()) {
        const std::string lower = LowerCased(word);
        if (CompareLowered(Get(Count() - 1), lower, false) > 0) ordered = false;
    }
    starts.push_back(static_cast<uint32_t>(text.size()));
    text.append(word, strlen(word) + 1);
}

std::pair<uint32_t, uint32_t> CHeadwordList::FindPrefix(const std::string& prefix,
                                                        bool whole) const {
    const bool prefixOnly = !whole;
    if (!ordered) return {0, Count()};
    const auto first = std::partition_point(starts.begin(), starts.end(), [&](uint32_t start) {
        return CompareLowered(text.data() + start, prefix, prefixOnly) < 0;
    });
    const auto last = std::partition_point(first, starts.end(), [&](uint32_t start) {
        return CompareLowered(text.data() + start, prefix, prefixOnly) == 0;
    });
    return {static_cast<uint32_t>(first - starts.begin()),
            static_cast<uint32_t>(last - starts.begin())};
}
