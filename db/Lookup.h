// Resolves a typed word to a headword of the dictionary: as typed (a
// typographic apostrophe read as '), in lower case (or its capitalised
// variant), then by English inflection rules, then one redirect. Rewrites the
// caller's buffer to the headword found.
#ifndef LEXORA_DB_LOOKUP_H
#define LEXORA_DB_LOOKUP_H

#include <cstddef>
#include <cstdint>

class CDictDatabase;
class CWordList;

// `word` is a terminated buffer of `capacity` bytes; `*position` is in/out (0 =
// search; nonzero = only re-check the redirect). True when a headword was
// found. A word or redirect text that does not fit the buffer, with the room a
// capitalised variant needs, is not found; nothing is written past `capacity`.
bool LookupWord(CDictDatabase* database, char* word, size_t capacity, uint32_t* position,
                bool tryInflections);

// Rewrites each typographic apostrophe of the terminated `word` (U+2019, and
// U+2018 as in ‘tis, as phones and word processors type them) as the ASCII
// apostrophe headwords hold, in place; the word only gets shorter.
void FoldApostrophes(char* word);

// One inflection rule: a word ending in `suffix` may be the inflected form of
// the word with `replacement` instead. With `undouble`, a stem that is no
// headword and ends in a doubled byte is tried once more without its last one.
struct MorphologyRule {
    const char* suffix;
    const char* replacement;
    bool undouble;
};

// The rules LookupWord tries, in order (the dictionary builder checks which
// inflected forms they reach).
extern const MorphologyRule kMorphologyRules[];
extern const size_t kMorphologyRuleCount;
// The first rules, those of plural nouns and of verb forms (-s, -ed, -ing);
// the comparison and adverb rules (-er, -est, -ly) follow.
extern const size_t kInflectionRuleCount;

// The inflection step of LookupWord alone: tries the rules on the lower-case
// `word` (under 128 bytes, in a buffer of `capacity`) and leaves the headword
// found in it, returning its trie position; 0 (word unchanged) when no rule
// reaches a headword. Only the first `ruleCount` rules are tried.
uint32_t FindByRules(CWordList* trie, char* word, size_t capacity,
                     size_t ruleCount = kMorphologyRuleCount);

// If `word` is longer than `suffix` and ends with it, writes the word without
// the suffix plus `replacement` into `out` (`outSize` bytes) and returns true.
bool ApplySuffixRule(char* out, size_t outSize, const char* word, const char* suffix,
                     const char* replacement);

#endif  // LEXORA_DB_LOOKUP_H
