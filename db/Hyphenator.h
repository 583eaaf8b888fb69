// Liang hyphenation from two raw tries of the database file: an exceptions
// trie consulted first, then the patterns trie. Marks break points with '*'.
#ifndef LEXORA_DB_HYPHENATOR_H
#define LEXORA_DB_HYPHENATOR_H

#include <cstdint>

class CSmartFile;
class CHyphTrie;
class CHyphPatternIndex;

class CHyphenator {
public:
    // A trie whose offset is 0 or has the top bit set is left absent.
    CHyphenator(CSmartFile* file, uint32_t patternsOffset, uint32_t exceptionsOffset);
    virtual ~CHyphenator();
    CHyphenator(const CHyphenator&) = delete;
    CHyphenator& operator=(const CHyphenator&) = delete;

    // A new malloc'ed copy of `text` with '*' at every break point of every
    // run of ASCII letters and digits; null when memory runs out.
    char* Hyphenate(const char* text);
    // Hyphenates one run of `length` letters/digits into `out` (room for
    // `outSize` bytes); bytes written, 0 when the run is left to the caller.
    int HyphenateWord(const char* word, int length, char* out, int outSize);
    // Searches the exceptions for `word` with level digits inserted; the
    // stored key is written to `out` when it fits in `outSize` bytes. False
    // without the trie.
    bool MatchException(const char* word, char* out, int outSize);
    // True when a trie the file holds could not be built for lack of memory.
    bool OutOfMemory() const { return outOfMemory; }

    CHyphTrie* patterns;    // owned, may be null
    CHyphTrie* exceptions;  // owned, may be null

private:
    const CHyphPatternIndex* PatternIndex();

    bool outOfMemory;  // see OutOfMemory
    // Owned; built with the first word, null when the patterns trie cannot
    // be indexed (it is then searched directly).
    CHyphPatternIndex* patternIndex;
    bool patternIndexTried;  // PatternIndex has tried to build it
    static int RewriteException(const char* word, char* out);
    void FindLevels(const char* work, int workLength, unsigned char* levels);
    static int WriteBreaks(const char* word, int length, const unsigned char* levels, char* out);
};

bool IsAsciiAlnum(int c);

#endif  // LEXORA_DB_HYPHENATOR_H
