// Double Metaphone phonetic keys (Lawrence Philips, 2000): a primary and an
// alternate key of at most four characters for an English word or name.
// Only ASCII letters are encoded (case-folded); other bytes are passed over.
#ifndef LEXORA_SEARCH_DOUBLEMETAPHONE_H
#define LEXORA_SEARCH_DOUBLEMETAPHONE_H

#include <cstddef>
#include <string>

class CDoubleMetaphone {
public:
    enum { kKeyLength = 4, kMaxWordLength = 127 };

    // Encodes the first kMaxWordLength bytes of `word`. An empty word (or one
    // without letters) gives two empty keys.
    explicit CDoubleMetaphone(const char* word);
    virtual ~CDoubleMetaphone() = default;

    const std::string& Primary() const { return primary; }
    const std::string& Alternate() const { return alternate; }

private:
    char At(int position) const;
    bool IsVowel(int position) const;
    // True when the `length` bytes at `position` equal one of the
    // NUL-separated texts in `options` (ended by an empty text).
    bool Matches(int position, int length, const char* options) const;
    bool IsSlavoGermanic() const;
    bool StartsGermanic() const;
    void Add(const char* main, const char* other);
    void Add(const char* both) { Add(both, both); }

    void Encode();
    int EncodeB(int at);
    int EncodeC(int at);
    int EncodeCH(int at);
    int EncodeCC(int at);
    int EncodeD(int at);
    int EncodeG(int at);
    int EncodeGH(int at);
    int EncodeH(int at);
    int EncodeJ(int at);
    int EncodeL(int at);
    int EncodeM(int at);
    int EncodeR(int at);
    int EncodeS(int at);
    int EncodeSC(int at);
    int EncodeT(int at);
    int EncodeW(int at);
    int EncodeX(int at);
    int EncodeZ(int at);
    // One letter that stands for one sound, doubled or not.
    int EncodeSimple(int at, const char* sound);

    std::string text;  // upper-cased word followed by five spaces
    int length;        // letters of the word without the padding
    int last;          // length - 1
    std::string primary;
    std::string alternate;
};

#endif  // LEXORA_SEARCH_DOUBLEMETAPHONE_H
