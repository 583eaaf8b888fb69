// A text's place in the meaning index's term space: the weighted sum of the
// vectors of its terms (see CMeaningIndex::TermVector). Two texts that use
// words used alike point the same way, even when they share no word.
#ifndef LEXORA_MEANING_TEXTVECTOR_H
#define LEXORA_MEANING_TEXTVECTOR_H

#include <cstdint>
#include <vector>

class CMeaningIndex;

class CTextVector {
public:
    // `index` (not owned) must outlive the vector.
    explicit CTextVector(const CMeaningIndex* index);
    virtual ~CTextVector() = default;

    // Adds term `term`'s vector times `weight`; a term without one adds nothing.
    void Add(uint32_t term, float weight);
    // Whether any term added had a vector.
    bool Empty() const { return empty; }
    // The cosine of the angle between the two sums: 1 for the same
    // direction; 0 when either is empty.
    float Cosine(const CTextVector& other) const;

private:
    const CMeaningIndex* index;
    std::vector<float> sum;
    bool empty = true;
};

#endif  // LEXORA_MEANING_TEXTVECTOR_H
