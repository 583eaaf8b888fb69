#include "tools/lxdictd/WordMatcher.h"

#include <regex.h>

#include <cstring>
#include <functional>

#include "search/DoubleMetaphone.h"
#include "search/WildcardSearch.h"
#include "tools/lxdictd/HeadwordList.h"

const MatchStrategy kMatchStrategies[] = {
    {"exact", "Match headwords exactly"},
    {"prefix", "Match prefixes"},
    {"substring", "Match substring occurring anywhere in a headword"},
    {"suffix", "Match suffixes"},
    {"re", "POSIX 1003.2 (modern) regular expressions"},
    {"wildcard", "Match with ? for one character and * for any run"},
    {"soundex", "Match headwords that sound alike (Double Metaphone)"},
    {"lev", "Match headwords within Levenshtein distance one"},
};
const size_t kMatchStrategyCount = sizeof(kMatchStrategies) / sizeof(kMatchStrategies[0]);
const char kDefaultStrategy[] = "prefix";

namespace {

bool EndsWith(const std::string& word, const std::string& suffix) {
    return word.size() >= suffix.size() &&
           word.compare(word.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Tests every headword of [first, last) with `selects` (given the word and
// its lower-case form).
void Scan(const CHeadwordList& list, uint32_t first, uint32_t last,
          const std::function<bool(const char*, const std::string&)>& selects,
          std::vector<uint32_t>* matches) {
    for (uint32_t i = first; i < last; ++i) {
        const char* word = list.Get(i);
        if (selects(word, LowerCased(word))) matches->push_back(i);
    }
}

void MatchPrefix(const CHeadwordList& list, const std::string& lower, bool whole,
                 std::vector<uint32_t>* matches) {
    const std::pair<uint32_t, uint32_t> range = list.FindPrefix(lower, whole);
    if (list.IsOrdered()) {
        for (uint32_t i = range.first; i < range.second; ++i) matches->push_back(i);
        return;
    }
    // A damaged index out of order: the matches need not be adjacent.
    Scan(
        list, range.first, range.second,
        [&](const char*, const std::string& word) {
            return whole ? word == lower : word.compare(0, lower.size(), lower) == 0;
        },
        matches);
}

MatchResult MatchExpression(const CHeadwordList& list, const std::string& pattern,
                            std::vector<uint32_t>* matches) {
    regex_t expression;
    if (regcomp(&expression, pattern.c_str(), REG_EXTENDED | REG_ICASE | REG_NOSUB) != 0)
        return MatchResult::kBadPattern;
    Scan(
        list, 0, list.Count(),
        [&](const char* word, const std::string&) {
            return regexec(&expression, word, 0, nullptr, 0) == 0;
        },
        matches);
    regfree(&expression);
    return MatchResult::kOk;
}

// True when the two words share a Double Metaphone key, primary or alternate.
bool SoundsAlike(const CDoubleMetaphone& a, const char* word) {
    const CDoubleMetaphone b(word);
    for (const std::string* key : {&b.Primary(), &b.Alternate()}) {
        if (!key->empty() && (*key == a.Primary() || *key == a.Alternate())) return true;
    }
    return false;
}

}  // namespace

MatchResult MatchWords(const CHeadwordList& list, const std::string& strategy,
                       const std::string& pattern, std::vector<uint32_t>* matches) {
    matches->clear();
    const std::string name = strategy == "." ? kDefaultStrategy : strategy;
    const std::string lower = LowerCased(pattern);
    const uint32_t count = list.Count();
    if (name == "exact" || name == "prefix") {
        MatchPrefix(list, lower, name == "exact", matches);
    } else if (name == "substring") {
        Scan(
            list, 0, count,
            [&](const char*, const std::string& word) {
                return word.find(lower) != std::string::npos;
            },
            matches);
    } else if (name == "suffix") {
        Scan(
            list, 0, count,
            [&](const char*, const std::string& word) { return EndsWith(word, lower); }, matches);
    } else if (name == "re") {
        return MatchExpression(list, pattern, matches);
    } else if (name == "wildcard") {
        Scan(
            list, 0, count,
            [&](const char* word, const std::string&) {
                return MatchesWildcard(lower.c_str(), word);
            },
            matches);
    } else if (name == "soundex") {
        const CDoubleMetaphone sound(pattern.c_str());
        Scan(
            list, 0, count,
            [&](const char* word, const std::string&) { return SoundsAlike(sound, word); },
            matches);
    } else if (name == "lev") {
        Scan(
            list, 0, count,
            [&](const char*, const std::string& word) { return IsOneEditApart(word, lower); },
            matches);
    } else {
        return MatchResult::kUnknownStrategy;
    }
    return MatchResult::kOk;
}

bool IsOneEditApart(const std::string& a, const std::string& b) {
    const std::string& longer = a.size() >= b.size() ? a : b;
    const std::string& shorter = a.size() >= b.size() ? b : a;
    if (longer.size() - shorter.size() > 1) return false;
    size_t front = 0;
    while (front < shorter.size() && shorter[front] == longer[front]) ++front;
    if (front == longer.size()) return false;  // equal
    // After the first difference, the rest must agree once the one edit is made.
    const size_t skip = longer.size() == shorter.size() ? 1 : 0;
    return longer.compare(front + 1, std::string::npos, shorter, front + skip, std::string::npos) ==
           0;
}
