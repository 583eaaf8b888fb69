// The MATCH strategies of the DICT server over a headword list: which
// headwords a pattern selects under each strategy. Case is folded over
// 'A'..'Z' everywhere. Reads the list only, so any number of threads may
// match at once.
#ifndef LEXORA_TOOLS_LXDICTD_WORDMATCHER_H
#define LEXORA_TOOLS_LXDICTD_WORDMATCHER_H

#include <cstdint>
#include <string>
#include <vector>

class CHeadwordList;

struct MatchStrategy {
    const char* name;
    const char* description;
};

// The strategies in the order SHOW STRAT lists them.
extern const MatchStrategy kMatchStrategies[];
extern const size_t kMatchStrategyCount;
// The strategy "." stands for.
extern const char kDefaultStrategy[];

enum class MatchResult {
    kOk,               // `matches` holds the indices found, possibly none
    kUnknownStrategy,  // no strategy of that name
    kBadPattern,       // the pattern is not a valid regular expression
};

// Replaces `matches` with the indices of the headwords of `list` that
// `pattern` selects under `strategy` (a name of kMatchStrategies or "."), in
// list order.
MatchResult MatchWords(const CHeadwordList& list, const std::string& strategy,
                       const std::string& pattern, std::vector<uint32_t>* matches);

// True when `a` and `b` are one insertion, deletion or substitution apart.
bool IsOneEditApart(const std::string& a, const std::string& b);

#endif  // LEXORA_TOOLS_LXDICTD_WORDMATCHER_H
