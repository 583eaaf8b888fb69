// The headword trie of the dictionary file. Owns nothing beyond its CTrie
// state; lookup, the index listing and the renderer read words through it.
#ifndef LEXORA_DB_WORDLIST_H
#define LEXORA_DB_WORDLIST_H

#include "db/Trie.h"

class CWordList : public CTrie {
public:
    CWordList(CSmartFile* file, uint32_t sectionOffset, bool rawEntries)
        : CTrie(file, sectionOffset, rawEntries) {}
    ~CWordList() override;
};

#endif  // LEXORA_DB_WORDLIST_H
