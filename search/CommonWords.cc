#include "search/CommonWords.h"

#include <cstring>
#include <numeric>

namespace {

// Tag counts from which a word counts as common, and as known enough for the
// word of the day; the largest tag count marks the closed word classes.
constexpr uint32_t kCommonTags = 1;
constexpr uint32_t kDailyTags = 5;
constexpr uint32_t kClosedClassTags = 65535;
constexpr size_t kDailyLength = 5;
// The smallest stride tried: a prime, so that consecutive days land far
// apart in the index.
constexpr uint64_t kStrideSeed = 7919;

bool IsLowerWord(const char* word) {
    for (; *word != '\0'; ++word) {
        if (*word < 'a' || *word > 'z') return false;
    }
    return true;
}

}  // namespace

CCommonWords::CCommonWords(const CSearchData& data) : data(data) {
    for (uint32_t i = 0; i < data.WordCount(); ++i) {
        if (!data.HasSenses(i) || data.Tier(i) == 0 || data.TagCount(i) < kCommonTags) continue;
        common.push_back(i);
        if (IsDailyCandidate(i)) daily.push_back(i);
    }
    stride = kStrideSeed;
    while (!daily.empty() && std::gcd(stride, uint64_t{daily.size()}) != 1) ++stride;
}

bool CCommonWords::IsDailyCandidate(uint32_t index) const {
    const char* word = data.Word(index);
    return data.Tier(index) == 2 && data.TagCount(index) >= kDailyTags &&
           data.TagCount(index) != kClosedClassTags && strlen(word) >= kDailyLength &&
           IsLowerWord(word);
}

uint32_t CCommonWords::OfDay(int64_t day, const CWordFilter* filter) const {
    const int64_t count = static_cast<int64_t>(daily.size());
    if (count == 0) return kNone;
    const uint64_t first = static_cast<uint64_t>((day % count + count) % count) * stride % count;
    for (uint64_t step = 0; step < daily.size(); ++step) {
        uint32_t index = daily[(first + step) % daily.size()];
        if (filter == nullptr || !filter->IsFiltered(data.Word(index))) return index;
    }
    return kNone;
}
