// A trie of hyphenation keys read in raw mode: every entry is a node and all
// 256 character values may occur. Owns an in-memory copy of its entry table,
// read once at construction, over which the digit-tolerant search runs.
#ifndef LEXORA_DB_HYPHTRIE_H
#define LEXORA_DB_HYPHTRIE_H

#include <cstdint>

#include "db/Trie.h"

class CHyphTrie : public CTrie {
public:
    enum { kMaxPatternChars = 8, kPatternKeySize = 18 };

    CHyphTrie(CSmartFile* file, uint32_t sectionOffset);
    ~CHyphTrie() override;
    CHyphTrie(const CHyphTrie&) = delete;
    CHyphTrie& operator=(const CHyphTrie&) = delete;

    // Finds a stored key equal to `key` with level digits inserted before any
    // of its characters and writes it, terminated, to out[position...]. The
    // outer call passes index 1 and position 0. A stored key that would not
    // fit in `outSize` bytes of out does not match.
    bool MatchWithDigits(char* out, int outSize, uint32_t index, const char* key, int position);
    // The outer call of MatchWithDigits, with a fresh search budget.
    bool Match(const char* key, char* out, int outSize);
    // For every n from 2 to `maxChars` (at most 8): the key that Match would
    // find for the first n characters of `key`, written to found[n]. One walk
    // serves all lengths. Bit n of the result is set when found[n] holds one.
    uint32_t MatchPrefixes(const char* key, int maxChars, char found[][kPatternKeySize]);

    // True when the entry table could not be held for lack of memory.
    bool OutOfMemory() const { return outOfMemory; }
    // The entry table (entry i at [i - 1]), or null when it could not be read.
    const uint32_t* Entries() const { return table; }

private:
    struct PrefixSearch;
    void WalkPrefixes(PrefixSearch& search, uint32_t index, int matched, int position);
    void LoadTable();
    // FindChild over the in-memory table; 0 when the table could not be read.
    uint32_t FindNode(uint32_t* index, unsigned char c);

    uint32_t* table;  // owned; entry i at table[i - 1], null when unreadable
    // Sibling-list searches left to the current Match; a damaged trie whose
    // digit children lead back into digit lists cannot make it run for ever.
    int32_t searchesLeft;
    bool outOfMemory;  // the table's allocation failed
};

#endif  // LEXORA_DB_HYPHTRIE_H
