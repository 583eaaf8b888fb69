// Reads a description's negations and opposites as the dictionary's own
// words: "not able to see" as "unable to see" (blind's definition), "cannot
// be avoided" as "unavoidable", "the opposite of night" as "day". A word
// after "opposite of" gives way to its antonym by WordNet's links, and so
// does an adjective or adverb after "not", "no", "never" or "cannot" (with
// "be" between: its "-able" form's), unless the two make an idiom ("not
// even"); every other word is kept as written.
#ifndef LEXORA_MEANING_OPPOSITEWORDS_H
#define LEXORA_MEANING_OPPOSITEWORDS_H

#include <cstddef>
#include <string>
#include <vector>

#include "render/DefinitionRecords.h"

class CDictDatabase;

class COppositeWords {
public:
    // `database` (not owned) must outlive the object.
    explicit COppositeWords(CDictDatabase* database);
    virtual ~COppositeWords() = default;

    // text[0, length) with each negated or opposed word and the words that
    // asked for its opposite replaced by its antonym.
    std::string Rewrite(const char* text, size_t length);

private:
    // A run of word bytes: text[start, end) and its lower-case copy.
    struct Span {
        size_t start;
        size_t end;
        std::string lower;
    };
    static std::vector<Span> WordSpans(const char* text, size_t length);
    // How `spans[at]` asks for the opposite of a later word.
    enum class Asking { kNothing, kNegated, kNegatedBe, kOpposite };
    // The word that `spans[at]` asks the opposite of, and how.
    static Asking OpposedWord(const std::vector<Span>& spans, size_t at, size_t* opposed);
    // The antonym the description means by `asking` for `word`'s opposite.
    std::string OppositeOf(const std::string& word, Asking asking);
    // "avoidable" for "avoided": the adjective of what can be done to it.
    std::string AbleForm(const std::string& word);
    // The lower-case headword the lookup finds for `word` (through its
    // inflections when `inflected`) and its trie `*position`; "" when none.
    std::string Headword(const std::string& word, bool inflected, uint32_t* position);
    // The antonym that the first sense of `word` (lower case) that has one
    // links its member `word` to; "" when none does. A `negated` word is
    // looked up as written, among adjective and adverb senses only.
    std::string AntonymOf(const std::string& word, bool negated);
    // The antonym of member `word` of the sense record at `position`, or "".
    std::string AntonymInSense(const std::string& word, uint32_t position);
    // The member lines of the sense record at `position` and where its gloss
    // starts; false when the record cannot be read.
    bool ReadMembers(uint32_t position, std::vector<std::string>* members, uint32_t* gloss);
    // The first antonym link of member `member` of the sense whose gloss is at
    // `gloss`; a zero target when it has none.
    SenseLink AntonymLink(uint32_t gloss, int member);

    CDictDatabase* database;
};

#endif  // LEXORA_MEANING_OPPOSITEWORDS_H
