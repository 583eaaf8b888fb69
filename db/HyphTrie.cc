#include "db/HyphTrie.h"

#include <cstdlib>
#include <cstring>

#include "db/Format.h"
#include "db/SmartFile.h"

namespace {

bool IsDigit(unsigned c) {
    return c >= '0' && c <= '9';
}
unsigned CharOf(uint32_t entry) {
    return entry >> lxd::kEntryCharShift;
}
uint32_t ChildOf(uint32_t entry) {
    return entry & lxd::kEntryChildMask;
}
bool IsLast(uint32_t entry) {
    return (entry & lxd::kEntryLast) != 0;
}
bool IsTerminal(uint32_t entry) {
    return (entry & lxd::kEntryTerminal) != 0;
}

// A sound trie needs a few searches per byte of the stored key: one for the
// digits, one for the character, and the subtrees of the digits tried.
constexpr int32_t kSearchesPerOutputByte = 64;

}  // namespace

CHyphTrie::CHyphTrie(CSmartFile* file, uint32_t sectionOffset)
    : CTrie(file, sectionOffset, true), table(nullptr), searchesLeft(0), outOfMemory(false) {
    LoadTable();
}

CHyphTrie::~CHyphTrie() {
    free(table);
}

// Hyphenation searches touch hundreds of nodes per word, so the table is held
// in memory rather than read from the file node by node. A table that cannot
// be read whole is treated as damaged: every search misses.
void CHyphTrie::LoadTable() {
    if (entryCount == 0 || entryCount > lxd::kMaxTrieEntries) return;
    const uint32_t bytes = entryCount * 4;
    unsigned char* raw = static_cast<unsigned char*>(malloc(bytes));
    if (raw == nullptr) {
        outOfMemory = true;
        return;
    }
    if (file->Read(sectionOffset + 4, bytes, raw) == static_cast<int32_t>(bytes)) {
        table = reinterpret_cast<uint32_t*>(raw);
        for (uint32_t i = 0; i < entryCount; ++i) {
            const unsigned char* p = raw + 4 * i;
            table[i] = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
        }
    } else {
        free(raw);
    }
}

uint32_t CHyphTrie::FindNode(uint32_t* index, unsigned char c) {
    if (table == nullptr) return 0;
    for (uint32_t i = *index; i >= 1 && i <= entryCount; ++i) {
        const uint32_t entry = table[i - 1];
        if (IsLast(entry) || CharOf(entry) >= c) {
            *index = i;
            return entry;
        }
    }
    return 0;
}

bool CHyphTrie::Match(const char* key, char* out, int outSize) {
    searchesLeft = kSearchesPerOutputByte * outSize;
    return MatchWithDigits(out, outSize, 1, key, 0);
}

// Each recursion writes one more byte of out, so the depth is bounded by
// outSize however the trie's child links run; each loop turn consumes one
// character of the key, and the search budget bounds the backtracking.
bool CHyphTrie::MatchWithDigits(char* out, int outSize, uint32_t index, const char* key,
                                int position) {
    while (index != 0) {
        if (position + 1 >= outSize || searchesLeft <= 0) return false;
        uint32_t entry = 0;
        unsigned c = '0';
        while (IsDigit(c)) {
            --searchesLeft;
            entry = FindNode(&index, static_cast<unsigned char>(c));
            c = CharOf(entry);
            if (entry == 0 || !IsDigit(c)) break;
            out[position] = static_cast<char>(c);
            out[position + 1] = '\0';
            if (MatchWithDigits(out, outSize, ChildOf(entry), key, position + 1)) return true;
            if (IsLast(entry)) break;
            ++index;
        }
        const unsigned k = static_cast<unsigned char>(key[0]);
        if (entry != 0 && c < k && !IsLast(entry)) {
            entry = FindNode(&index, static_cast<unsigned char>(k));
            c = CharOf(entry);
        }
        if (entry == 0 || c != k) return false;
        out[position] = static_cast<char>(c);
        out[position + 1] = '\0';
        if (key[1] == '\0') return IsTerminal(entry);
        index = ChildOf(entry);
        ++key;
        ++position;
    }
    return false;
}

struct CHyphTrie::PrefixSearch {
    const char* key;                 // the characters to match
    int maxChars;                    // longest prefix wanted
    char out[kPatternKeySize];       // the stored key on the current path
    char (*found)[kPatternKeySize];  // found[n]: first key of n characters
    uint32_t foundMask;              // bit n: found[n] is set
};

uint32_t CHyphTrie::MatchPrefixes(const char* key, int maxChars, char found[][kPatternKeySize]) {
    PrefixSearch search;
    search.key = key;
    search.maxChars = maxChars < kMaxPatternChars ? maxChars : kMaxPatternChars;
    search.found = found;
    search.foundMask = 0;
    searchesLeft = kSearchesPerOutputByte * kPatternKeySize * kMaxPatternChars;
    WalkPrefixes(search, 1, 0, 0);
    return search.foundMask;
}

// Visits the same paths in the same order as MatchWithDigits (digit children
// in ascending order before the key's character), but goes on past each
// matched character, so the first terminal node reached after n characters
// is the key MatchWithDigits finds for the n-character prefix.
void CHyphTrie::WalkPrefixes(PrefixSearch& search, uint32_t index, int matched, int position) {
    if (index == 0 || position + 1 >= kPatternKeySize || searchesLeft <= 0) return;
    uint32_t entry = 0;
    unsigned c = '0';
    while (IsDigit(c)) {
        --searchesLeft;
        entry = FindNode(&index, static_cast<unsigned char>(c));
        c = CharOf(entry);
        if (entry == 0 || !IsDigit(c)) break;
        search.out[position] = static_cast<char>(c);
        WalkPrefixes(search, ChildOf(entry), matched, position + 1);
        if (IsLast(entry)) break;
        ++index;
    }
    const unsigned k = static_cast<unsigned char>(search.key[matched]);
    if (entry != 0 && c < k && !IsLast(entry)) {
        --searchesLeft;
        entry = FindNode(&index, static_cast<unsigned char>(k));
        c = CharOf(entry);
    }
    if (entry == 0 || c != k || k == 0) return;
    search.out[position] = static_cast<char>(c);
    search.out[position + 1] = '\0';
    const int n = matched + 1;
    if (n >= 2 && IsTerminal(entry) && (search.foundMask & (1u << n)) == 0) {
        search.foundMask |= 1u << n;
        memcpy(search.found[n], search.out, position + 2);
    }
    if (n < search.maxChars) WalkPrefixes(search, ChildOf(entry), n, position + 1);
}
