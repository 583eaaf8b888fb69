#include "db/Lookup.h"

#include <cstring>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/WordList.h"

// Tried in this order; each row starts again from the lower-cased word.
const MorphologyRule kMorphologyRules[] = {
    {"ses", "s", false}, {"zes", "z", false},   {"ches", "ch", false}, {"shes", "sh", false},
    {"oes", "o", false}, {"ies", "y", false},   {"ves", "fe", false},  {"ves", "f", false},
    {"s", "", false},    {"ed", "e", false},    {"ied", "y", false},   {"ied", "ie", false},
    {"ed", "", true},    {"ying", "ie", false}, {"ing", "e", false},   {"ing", "", true},
    {"ier", "y", false}, {"er", "e", false},    {"er", "", true},      {"iest", "y", false},
    {"est", "e", false}, {"est", "", true},     {"lly", "ll", false},  {"ly", "le", false},
    {"ly", "", false},
};
const size_t kMorphologyRuleCount = sizeof kMorphologyRules / sizeof kMorphologyRules[0];
const size_t kInflectionRuleCount = 16;
static_assert(sizeof kMorphologyRules / sizeof kMorphologyRules[0] > kInflectionRuleCount,
              "the comparison and adverb rules follow the inflections");

namespace {

// The longest word a lookup handles: its saved copy fills a key buffer.
constexpr size_t kMaxWordLength = lxd::kKeyBufferSize - 1;

uint32_t FindAsTyped(CWordList* trie, const char* word, size_t length) {
    // Letters, marker, one position per capital and the terminator.
    char key[2 * lxd::kKeyBufferSize];
    memcpy(key, word, length + 1);
    if (EncodeCapitals(key) < 0) return 0;
    return trie->FindExactWord(key, 1);
}

// Follows a headword whose only reference is a redirect. False when the
// target text cannot be fetched or held; `word` and `*position` are then
// unchanged.
bool FollowRedirect(CDictDatabase* database, char* word, size_t capacity, uint32_t* position) {
    uint32_t refs[2];
    int count = database->wordList->GetRecordRefs(*position, refs, 2);
    if (count != 1 || lxd::RefKind(refs[0]) != lxd::kKindRedirect) return true;
    if (database->records == nullptr) return false;
    int32_t length = 0;
    const char* text = database->records->GetLine(lxd::RefPosition(refs[0]), &length);
    if (text == nullptr || length <= 0) return false;
    database->records->PreferBlock(lxd::RefPosition(refs[0]));
    size_t size = static_cast<size_t>(length);
    if (size > kMaxWordLength || size >= capacity) return false;
    memcpy(word, text, size);
    word[size] = 0;
    LowercaseWord(word);
    *position = database->wordList->FindWord(word, 1, true, capacity);
    return true;
}

}  // namespace

void FoldApostrophes(char* word) {
    char* out = word;
    for (const char* in = word; *in != '\0';) {
        if (in[0] == '\xE2' && in[1] == '\x80' && (in[2] == '\x98' || in[2] == '\x99')) {
            *out++ = '\'';
            in += 3;
        } else {
            *out++ = *in++;
        }
    }
    *out = '\0';
}

uint32_t FindByRules(CWordList* trie, char* word, size_t capacity, size_t ruleCount) {
    char saved[lxd::kKeyBufferSize];
    strcpy(saved, word);
    for (size_t i = 0; i < ruleCount && i < kMorphologyRuleCount; ++i) {
        const MorphologyRule& rule = kMorphologyRules[i];
        if (!ApplySuffixRule(word, capacity, saved, rule.suffix, rule.replacement)) continue;
        uint32_t position = trie->FindWord(word, 1, true, capacity);
        if (position == 0 && rule.undouble) {
            size_t length = strlen(word);
            if (length > 1 && word[length - 1] == word[length - 2]) {
                word[length - 1] = 0;
                position = trie->FindWord(word, 1, true, capacity);
            }
        }
        if (position != 0) return position;
    }
    strcpy(word, saved);
    return 0;
}

bool ApplySuffixRule(char* out, size_t outSize, const char* word, const char* suffix,
                     const char* replacement) {
    size_t wordLength = strlen(word);
    size_t suffixLength = strlen(suffix);
    if (wordLength <= suffixLength) return false;
    size_t stem = wordLength - suffixLength;
    if (memcmp(word + stem, suffix, suffixLength) != 0) return false;
    size_t replacementLength = strlen(replacement);
    if (stem + replacementLength >= outSize) return false;
    memcpy(out, word, stem);
    memcpy(out + stem, replacement, replacementLength + 1);
    return true;
}

bool LookupWord(CDictDatabase* database, char* word, size_t capacity, uint32_t* position,
                bool tryInflections) {
    if (database == nullptr || database->wordList == nullptr || capacity == 0) return false;
    CWordList* trie = database->wordList;
    if (*position == 0) {
        size_t length = strnlen(word, capacity);
        if (length == capacity || length > kMaxWordLength) return false;
        FoldApostrophes(word);
        length = strlen(word);
        *position = FindAsTyped(trie, word, length);
        if (*position == 0) {
            LowercaseWord(word);
            *position = trie->FindWord(word, 1, true, capacity);
        }
        if (*position == 0 && tryInflections) *position = FindByRules(trie, word, capacity);
    }
    if (*position == 0) return false;
    if (!FollowRedirect(database, word, capacity, position)) return false;
    return *position != 0;
}
