// The database's optional word filter: words that lists offered to the user
// (random words, suggestions, search results) leave out while filtering is
// on. Word lookup never consults it: a word asked for by name always answers.
#ifndef LEXORA_DB_WORDFILTER_H
#define LEXORA_DB_WORDFILTER_H

class CWordFilter {
public:
    CWordFilter() = default;
    virtual ~CWordFilter() = default;
    CWordFilter(const CWordFilter&) = delete;
    CWordFilter& operator=(const CWordFilter&) = delete;

    // True when `headword` (spelled as the index spells it) is filtered.
    virtual bool IsFiltered(const char* headword) const = 0;
};

#endif  // LEXORA_DB_WORDFILTER_H
