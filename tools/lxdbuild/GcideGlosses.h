// GCIDE's definitions of WordNet's one-word headwords as more text for the
// meaning index: each definition goes to the headword's WordNet sense of the
// same part of speech whose gloss shares the most words with it, or to the
// first such sense when none shares any. Descriptions often use GCIDE's
// plainer wording ("a place where bees are kept") where WordNet's differs.
#ifndef LEXORA_TOOLS_LXDBUILD_GCIDEGLOSSES_H
#define LEXORA_TOOLS_LXDBUILD_GCIDEGLOSSES_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/lxdbuild/GcideReader.h"
#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

class CGcideGlosses {
public:
    CGcideGlosses() = default;
    virtual ~CGcideGlosses() = default;

    // Matches the definitions of `gcide` to the senses of `lexicon`.
    void Collect(const CGcideReader& gcide, const CLexicon& lexicon);
    // The definitions matched to synset `index` (none when it has none).
    const std::vector<std::string>& Of(uint32_t index) const;
    uint64_t Count() const { return count; }

private:
    void AddDefinition(const CLexicon& lexicon, const std::vector<uint32_t>& senses,
                       std::string definition);

    std::unordered_map<uint32_t, std::vector<std::string>> glosses;  // synset -> definitions
    uint64_t count = 0;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_GCIDEGLOSSES_H
