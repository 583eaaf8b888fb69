#include "db/Hyphenator.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "db/HyphPatternIndex.h"
#include "db/HyphTrie.h"
#include "db/Trie.h"

namespace {

constexpr int kMaxRunLength = 56;
constexpr int kWorkSize = 128;
constexpr char kBreakMark = '*';

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool HasDigit(const char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (IsDigit(text[i])) return true;
    }
    return false;
}

bool IsTrieOffset(uint32_t offset) {
    return static_cast<int32_t>(offset) > 0;
}

CHyphTrie* OpenTrie(CSmartFile* file, uint32_t offset) {
    if (!IsTrieOffset(offset)) return nullptr;
    return new (std::nothrow) CHyphTrie(file, offset);
}

bool LacksMemory(uint32_t offset, const CHyphTrie* trie) {
    return IsTrieOffset(offset) && (trie == nullptr || trie->OutOfMemory());
}

// Raises the gap levels named by one matched pattern `p` found at start `i` of
// the working word; a digit before the working word's first byte is ignored.
void RaiseLevels(const char* p, int i, unsigned char* levels) {
    int letters = 0;
    for (; *p != '\0'; ++p) {
        if (!IsDigit(*p)) {
            ++letters;
            continue;
        }
        const int gap = i + letters - 1;
        if (gap >= 0 && static_cast<unsigned char>(*p) > levels[gap]) {
            levels[gap] = static_cast<unsigned char>(*p);
        }
    }
}

}  // namespace

bool IsAsciiAlnum(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

CHyphenator::CHyphenator(CSmartFile* file, uint32_t patternsOffset, uint32_t exceptionsOffset)
    : patterns(OpenTrie(file, patternsOffset)),
      exceptions(OpenTrie(file, exceptionsOffset)),
      outOfMemory(LacksMemory(patternsOffset, patterns) ||
                  LacksMemory(exceptionsOffset, exceptions)),
      patternIndex(nullptr),
      patternIndexTried(false) {}

CHyphenator::~CHyphenator() {
    delete patternIndex;
    delete patterns;
    delete exceptions;
}

// A definition hyphenates its headword with some hundred fragment searches,
// each of which tries every digit before every letter in the trie; the index
// finds the same patterns in one walk per start. It takes a millisecond or
// two to build, so it is built for the first word rather than at open.
// Without the memory for it, or for a trie it cannot stand in for, the trie
// is searched as before.
const CHyphPatternIndex* CHyphenator::PatternIndex() {
    if (patternIndexTried) return patternIndex;
    patternIndexTried = true;
    if (patterns == nullptr) return nullptr;
    patternIndex = new (std::nothrow) CHyphPatternIndex();
    if (patternIndex != nullptr &&
        !patternIndex->Build(patterns->Entries(), patterns->GetEntryCount())) {
        delete patternIndex;
        patternIndex = nullptr;
    }
    return patternIndex;
}

// Every run gets 2 x its length bytes of the result and every other byte one,
// so the result of 2 x length + 1 bytes always holds the text and its NUL.
char* CHyphenator::Hyphenate(const char* text) {
    char* copy = strdup(text);
    if (copy == nullptr) return nullptr;
    const size_t size = 2 * strlen(copy) + 1;
    char* result = static_cast<char*>(malloc(size));
    if (result == nullptr) {
        free(copy);
        return nullptr;
    }
    char* out = result;
    const char* p = copy;
    for (;;) {
        while (*p != '\0' && !IsAsciiAlnum(static_cast<unsigned char>(*p))) *out++ = *p++;
        int run = 0;
        while (IsAsciiAlnum(static_cast<unsigned char>(p[run]))) ++run;
        if (run == 0) break;
        int written = HyphenateWord(p, run, out, 2 * run + 1);
        if (written == 0) {
            memcpy(out, p, run);
            written = run;
        }
        out += written;
        p += run;
    }
    *out = '\0';
    free(copy);
    return result;
}

int CHyphenator::HyphenateWord(const char* word, int length, char* out, int outSize) {
    if (length <= 0 || length > kMaxRunLength) return 0;
    char work[kWorkSize];
    work[0] = '_';
    memcpy(work + 1, word, length);
    work[length + 1] = '\0';
    LowercaseWord(work);

    if (MatchException(work + 1, out, outSize)) return RewriteException(word, out);
    if (patterns == nullptr || outSize < 2 * length) return 0;

    work[length + 1] = '_';
    work[length + 2] = '\0';
    unsigned char levels[kWorkSize] = {};
    FindLevels(work, length + 2, levels);
    return WriteBreaks(word, length, levels, out);
}

bool CHyphenator::MatchException(const char* word, char* out, int outSize) {
    return exceptions != nullptr && exceptions->Match(word, out, outSize);
}

// Digits of the stored exception become marks; its letters are replaced, in
// order, by the bytes of the word so that the word's capitals survive.
int CHyphenator::RewriteException(const char* word, char* out) {
    int length = 0;
    for (; out[length] != '\0'; ++length) {
        out[length] = IsDigit(out[length]) ? kBreakMark : *word++;
    }
    return length;
}

// Every fragment of two to eight characters of the working word, at every
// start, raises the levels its pattern names. The index holds patterns of
// letters only; a word with a digit, which the trie search may take for a
// level, is searched in the trie.
void CHyphenator::FindLevels(const char* work, int workLength, unsigned char* levels) {
    const CHyphPatternIndex* index = HasDigit(work, workLength) ? nullptr : PatternIndex();
    if (index != nullptr) {
        index->FindLevels(work, workLength, levels);
        return;
    }
    char found[CHyphTrie::kMaxPatternChars + 1][CHyphTrie::kPatternKeySize];
    for (int i = 0; i <= workLength - 2; ++i) {
        const uint32_t mask = patterns->MatchPrefixes(work + i, workLength - i, found);
        for (int n = 2; n <= CHyphTrie::kMaxPatternChars; ++n) {
            if ((mask & (1u << n)) != 0) RaiseLevels(found[n], i, levels);
        }
    }
}

// Level k belongs to the gap before word[k]; odd levels break, but never
// before the first character or the last one. At most 2 x length - 1 bytes.
int CHyphenator::WriteBreaks(const char* word, int length, const unsigned char* levels, char* out) {
    int written = 0;
    for (int k = 0; k < length; ++k) {
        if (k >= 1 && k <= length - 2 && (levels[k] & 1) != 0) out[written++] = kBreakMark;
        out[written++] = word[k];
    }
    out[written] = '\0';
    return written;
}
