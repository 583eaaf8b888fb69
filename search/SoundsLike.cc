#include "search/SoundsLike.h"

#include <algorithm>
#include <cstring>

#include "search/DoubleMetaphone.h"
#include "search/SearchFormat.h"

std::vector<uint32_t> FindSoundsLike(const SearchSource& source, const char* word, size_t count) {
    if (word == nullptr || count == 0) return {};
    size_t length = strlen(word);
    if (length == 0 || length > kMaxSearchText) return {};
    CDoubleMetaphone keys(word);
    uint32_t primary = lxs::PackPhoneticKey(keys.Primary().c_str());
    uint32_t alternate = lxs::PackPhoneticKey(keys.Alternate().c_str());
    std::vector<uint32_t> found;
    if (primary != 0) source.data->FindPhonetic(primary, &found);
    if (alternate != 0 && alternate != primary) source.data->FindPhonetic(alternate, &found);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::string folded = FoldAscii(word);
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&](uint32_t index) {
                                   return !source.Offers(index) ||
                                          FoldAscii(source.data->Word(index)) == folded;
                               }),
                found.end());
    // Words whose main pronunciation is the word's come before those that
    // only share an alternate one ("fone": phone before win).
    const CSearchData& data = *source.data;
    std::vector<std::pair<bool, uint32_t>> ranked;
    for (uint32_t index : found) {
        CDoubleMetaphone other(data.Word(index));
        ranked.emplace_back(other.Primary() == keys.Primary(), index);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first;
        return data.Commonness(a.second) > data.Commonness(b.second);
    });
    for (size_t i = 0; i < ranked.size(); ++i) found[i] = ranked[i].second;
    if (found.size() > count) found.resize(count);
    return found;
}
