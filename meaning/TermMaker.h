// Turns text into the terms of the meaning index: runs of ASCII letters,
// digits and non-ASCII bytes, lower-cased, with stop words and one-byte words
// left out, each reduced to the headword the dictionary's lookup finds for it
// ("spiders" gives spider, "mice" mouse). A word that is a headword of its own
// and also an inflected form of another ("eats": a noun, and eat) has that
// base as a second term. The builder and the search make their terms with
// this class over the same dictionary, so they agree.
#ifndef LEXORA_MEANING_TERMMAKER_H
#define LEXORA_MEANING_TERMMAKER_H

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>

class CDictDatabase;

// The terms of one word: its headword form and, when the inflection rules
// lead to another headword, that base ("" otherwise).
struct WordTerms {
    std::string form;
    std::string base;
    // The base of a headword reached by a comparison or adverb rule: a
    // related word rather than a form of it ("farmer": farm, "weekly": week).
    bool related = false;
};

class CTermMaker {
public:
    // `database` (not owned) reduces words to headwords; without it words are
    // only lower-cased. With `cache` (not owned) each word is looked up once.
    explicit CTermMaker(CDictDatabase* database,
                        std::unordered_map<std::string, WordTerms>* cache = nullptr);
    virtual ~CTermMaker() = default;

    // Calls `take` with the term of each word of text[0, length) that has
    // one, in order, until `take` returns false. Returns false when it did.
    bool Split(const char* text, size_t length, const std::function<bool(const WordTerms&)>& take);

    // The terms of one lower-case word; an empty form when the word makes
    // none (a stop word, a single byte, longer than the index holds).
    WordTerms TermsOf(const std::string& word);

    static bool IsStopWord(const std::string& word);
    static bool IsWordByte(unsigned char c);

private:
    WordTerms ReduceWord(const std::string& word);
    // `found` lower-cased when it is one word the index can hold, else "".
    static std::string AsTerm(const char* found);

    CDictDatabase* database;                            // not owned
    std::unordered_map<std::string, WordTerms>* cache;  // not owned; may be null
};

#endif  // LEXORA_MEANING_TERMMAKER_H
