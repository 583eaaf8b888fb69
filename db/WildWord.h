// A second walker over the headword trie that keeps the state of a wildcard
// search: the pattern and two flags. Its entry count sizes the file window.
#ifndef LEXORA_DB_WILDWORD_H
#define LEXORA_DB_WILDWORD_H

#include "db/Format.h"
#include "db/Trie.h"

class CWildWord : public CTrie {
public:
    CWildWord(CSmartFile* file, uint32_t sectionOffset, bool rawEntries);
    ~CWildWord() override;

    const char* GetPattern() const { return pattern; }

protected:
    // Kept for the wildcard search, which works on them directly.
    char pattern[lxd::kKeyBufferSize];  // the search pattern; empty when none
    unsigned char atStart;              // 1 until the search has produced a word
    unsigned char finished;             // 1 once the search has run out of words
};

#endif  // LEXORA_DB_WILDWORD_H
