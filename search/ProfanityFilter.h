// The word filter built from the dictionary's list of offensive words (the
// search companion's filter list). Matches whole headwords exactly.
#ifndef LEXORA_SEARCH_PROFANITYFILTER_H
#define LEXORA_SEARCH_PROFANITYFILTER_H

#include <string>
#include <unordered_set>
#include <vector>

#include "db/WordFilter.h"

class CDictDatabase;

class CProfanityFilter : public CWordFilter {
public:
    explicit CProfanityFilter(const std::vector<const char*>& words);
    bool IsFiltered(const char* headword) const override;

    // Puts a filter of `words` into the database's wordFilter slot, replacing
    // (and destroying) the one it held. False when memory runs out.
    static bool LoadInto(CDictDatabase* database, const std::vector<const char*>& words);

private:
    std::unordered_set<std::string> words;
};

#endif  // LEXORA_SEARCH_PROFANITYFILTER_H
