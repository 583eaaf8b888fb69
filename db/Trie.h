// A character trie stored in the database file as one table of 32-bit entries.
// Finds words, returns the record references stored with a word and walks the
// keys in sorted order in either direction. Reads only through the file;
// every walk is bounded by the table size whatever the entries hold.
#ifndef LEXORA_DB_TRIE_H
#define LEXORA_DB_TRIE_H

#include <cstddef>
#include <cstdint>

class CSmartFile;

// Enumeration callback: (context, headword, position). Only the low 8 bits of
// the result count: exactly 1 continues the walk, anything else stops it.
typedef int32_t (*TrieVisitor)(void* context, const char* word, uint32_t position);

class CTrie {
public:
    enum { kStatusBadTrie = 5 };

    CTrie(CSmartFile* file, uint32_t sectionOffset, bool rawEntries);
    virtual ~CTrie();
    CTrie(const CTrie&) = delete;
    CTrie& operator=(const CTrie&) = delete;

    // Entry `index` (1..entryCount), or 0.
    uint32_t ReadEntry(uint32_t index);
    // Searches the sibling list starting at *index for `c`; moves *index to the
    // returned entry (the match, its successor, or the list's last node), 0 = none.
    uint32_t FindChild(uint32_t* index, unsigned char c);
    // Next node entry stepping by `step` (+1 or -1), passing over record
    // references; *index ends one step past the returned entry.
    uint32_t NextEntry(uint32_t* index, int step);
    // Copies up to `max` record references of the word at `index` into `out`.
    int GetRecordRefs(uint32_t index, uint32_t* out, int max);
    // Position of `word` (a key, ended by NUL or ':'), 0 when absent. With
    // `allowVariant` a missing word may be rewritten to its first capitalised
    // form, but only when marker, capitals and terminator fit in `capacity`
    // bytes; otherwise, and whenever 0 is returned, the buffer is unchanged.
    uint32_t FindWord(char* word, uint32_t startIndex, bool allowVariant, size_t capacity);
    // As above for a key buffer of kKeyBufferSize bytes.
    uint32_t FindWord(char* word, uint32_t startIndex, bool allowVariant);
    uint32_t FindExactWord(char* word, uint32_t startIndex) {
        return FindWord(word, startIndex, false);
    }
    // Follows the first child of each node from the list at `index` down to
    // the first key end; writes the characters to `out` (when not null, at
    // most kKeyBufferSize - 1 of them, terminated). Position past the terminal
    // node, or 0.
    uint32_t FollowFirstVariant(char* out, uint32_t index);
    // Walks keys >= key (forward) or < key (backward), handing each headword
    // to `visitor`. True when the walk reached the end of the index.
    bool Enumerate(TrieVisitor visitor, void* context, const char* key, bool forward);

    int32_t GetStatus() const { return status; }
    uint32_t GetEntryCount() const { return entryCount; }
    uint32_t GetSectionOffset() const { return sectionOffset; }

protected:
    int32_t VisitWord(char* buffer, uint32_t position);
    bool WalkForward(char* buffer, uint32_t index, int depth);
    bool WalkForwardFrom(char* buffer, uint32_t index, const char* key, int depth);
    bool WalkBackward(char* buffer, uint32_t index, int depth);
    bool WalkBackwardFrom(char* buffer, uint32_t index, const char* key, int depth);
    bool WalkEntryBackward(char* buffer, uint32_t entry, uint32_t current, int depth);
    // Counts one node entry written by a walk; false once the walk has
    // written more entries than the table holds (only a looping trie does).
    bool TakeWalkStep();
    uint32_t FollowVariant(char* out, size_t room, uint32_t index);

    TrieVisitor visitor;     // set by Enumerate, kept afterwards
    void* visitorContext;    // passed back to visitor
    int32_t status;          // 0, or kStatusBadTrie
    uint32_t entryCount;     // number of entries in the table
    CSmartFile* file;        // not owned
    uint32_t sectionOffset;  // file offset of the count word
    bool rawEntries;         // true: every entry is a node (hyphenation tries)
    uint32_t walkSteps;      // entries a running enumeration may still write
    uint32_t storedEntries;  // entries the file holds after the count word
};

// Headword key encoding, in place on a terminated buffer (see db/Format.h).
// Returns the position of the new terminator, or -1 when there are no capitals.
int EncodeCapitals(char* buffer);
// Position of the capitals marker (now a terminator), or -1.
int DecodeCapitals(char* buffer);
void ReencodeCapitals(char* buffer, int marker);
void RestoreCapitals(char* buffer, int end);
void LowercaseWord(char* buffer);

#endif  // LEXORA_DB_TRIE_H
