// What the wording of a description says about the sense it looks for,
// beyond its words: "a ..." or "the ..." asks for a noun, "to ..." for a
// verb, "feeling ...", "very ..." or "easily ..." for an adjective or adverb,
// "someone who ..." for a person, "the study of ..." for a field of
// knowledge, "an instrument for ..." for a made thing. Hints only raise the
// senses they fit; they never exclude one.
#ifndef LEXORA_MEANING_QUERYHINT_H
#define LEXORA_MEANING_QUERYHINT_H

#include <cstdint>
#include <string>
#include <vector>

class CQueryHint {
public:
    // Reads the opening words of `text` (NUL-terminated).
    explicit CQueryHint(const char* text);
    virtual ~CQueryHint() = default;

    // The part-of-speech flag (lxm::kSenseNoun or kSenseVerb) hinted at, or 0.
    uint32_t PartOfSpeech() const { return partOfSpeech; }
    // Whether an adjective or adverb is hinted at: a sense that is neither
    // noun nor verb.
    bool Describing() const { return describing; }
    // The head noun that named the category ("animal" in "an animal that
    // ..."), or "": a sense of that category holds it without saying it.
    const std::string& Head() const { return head; }
    // Whether a sense of category `category` (lxm::kCategory*) fits the hint.
    bool Fits(uint32_t category) const { return category != 0 && (categories >> category & 1); }

private:
    // The lower-case words of the opening of the text.
    static std::vector<std::string> OpeningWords(const char* text);
    void ReadPartOfSpeech(const std::vector<std::string>& words);
    void ReadCategories(const std::vector<std::string>& words);
    void Hint(uint32_t category) { categories |= 1u << category; }

    uint32_t partOfSpeech = 0;
    bool describing = false;
    uint32_t categories = 0;  // bit n: category n fits
    std::string head;
};

#endif  // LEXORA_MEANING_QUERYHINT_H
