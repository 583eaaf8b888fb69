// The hyphenation patterns re-filed by their letters, built once from the
// patterns trie: for every letter sequence, the break levels of the stored
// pattern that the trie's digit-tolerant search finds first for it. One walk
// per start of a word then finds the patterns of all its fragment lengths,
// where the trie search tries every digit before every letter. Owns its
// tables; immutable once built.
#ifndef LEXORA_DB_HYPHPATTERNINDEX_H
#define LEXORA_DB_HYPHPATTERNINDEX_H

#include <cstddef>
#include <cstdint>

class CHyphPatternIndex {
public:
    enum { kMaxLetters = 8, kLetterCodes = 32 };

    CHyphPatternIndex();
    virtual ~CHyphPatternIndex();
    CHyphPatternIndex(const CHyphPatternIndex&) = delete;
    CHyphPatternIndex& operator=(const CHyphPatternIndex&) = delete;

    // Builds the index from a raw trie's entry table (entry i at table[i - 1]).
    // False, leaving the index empty, when memory runs out or the table is
    // not one the index can stand in for: a sibling list out of ascending
    // order or running off the table, or more paths than a sound trie has.
    bool Build(const uint32_t* table, uint32_t entryCount);
    bool IsBuilt() const { return nodes != nullptr; }

    // For every start i of `work` (`workLength` bytes of 'a'..'z' and '_';
    // no digits) and every fragment of 2 to 8 bytes there, raises level
    // i + j - 1 to the pattern's digit before its letter j when that is
    // higher; a digit before the word's first byte is ignored.
    void FindLevels(const char* work, int workLength, unsigned char* levels) const;

    // Bytes held by the built tables.
    size_t MemoryBytes() const;

private:
    struct Node {
        uint32_t firstChild : 22;  // index of the first child; children are contiguous
        uint32_t childCount : 5;   // children, in ascending order of their letter code
        uint32_t letter : 5;       // code of the letter leading here (see LetterCode)
        uint32_t levels;           // 4 bits per letter j: the pattern's digit before it, or 0
    };
    struct Walk;
    struct KeyRange {
        uint32_t lo, hi;  // keys[lo, hi) lead through one node
    };
    static constexpr uint32_t kNoNode = 0;  // the root is never a child

    uint32_t ChildOf(uint32_t node, uint32_t letter) const;
    static void SortByLetters(uint64_t* keys, uint64_t* scratch, uint32_t count);
    bool BuildNodes(uint64_t* keys, uint32_t count, const uint32_t* levelsBySeq);
    static uint32_t NewLetters(uint64_t previous, uint64_t key);
    void AddChildren(const uint64_t* keys, KeyRange* ranges, uint32_t parent, int depth,
                     const uint32_t* levelsBySeq);

    Node* nodes;         // owned; nodes[0] is the root; null until built
    uint32_t nodeCount;  // nodes in use
    // The root's child for each letter code (kNoNode for none): every start
    // of every word looks there first.
    uint32_t rootChild[kLetterCodes];
};

#endif  // LEXORA_DB_HYPHPATTERNINDEX_H
