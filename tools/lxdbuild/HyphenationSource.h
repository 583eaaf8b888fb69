// Hyphenation patterns for the engine's pattern trie, read from a hyphen
// package's Liang pattern file. CHyphenationSource turns each usable pattern
// into trie keys that the engine's fragment matcher reads the same way:
// '.' becomes '_', a trailing level is carried by one key per following
// character, and patterns with the same letters are merged into one key.
#ifndef LEXORA_TOOLS_LXDBUILD_HYPHENATIONSOURCE_H
#define LEXORA_TOOLS_LXDBUILD_HYPHENATIONSOURCE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/lxdbuild/Report.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

struct HyphenationFigures {
    uint64_t patternsKept = 0;
    uint64_t patternsDropped = 0;  // longer than a fragment or with other characters
    uint64_t exceptions = 0;
};

class CHyphenationSource {
public:
    explicit CHyphenationSource(CBuildReport& report);
    virtual ~CHyphenationSource() = default;

    // Reads a pattern file's text (path names it in messages).
    void ReadPatterns(const std::string& text, const std::string& path);
    // One pattern such as ".a2ch4"; false when it cannot be stored.
    bool AddPattern(const std::string& pattern);
    // Keys of the patterns trie, sorted.
    std::vector<std::string> PatternKeys() const;
    // The gaps (1 = after the first letter) where the engine breaks a
    // lower-case word with these patterns.
    std::vector<size_t> PatternBreaks(const std::string& word) const;
    // Records the syllable breaks a dictionary gives for a lower-case word;
    // it becomes an exception when the patterns break it where the syllables
    // do not. Breaks nearer the ends than the margins allow are ignored.
    void AddSyllables(const std::string& word, const std::vector<size_t>& breaks);
    // Keys of the exceptions trie ("ta1ble"), in word order.
    std::vector<std::string> ExceptionKeys() const;
    const HyphenationFigures& Figures() const { return figures; }

    static constexpr const char* kPackage = "hyphen-en-us";
    static constexpr size_t kMaxFragment = 8;

private:
    // letters -> level of the gap before each letter (one more than letters)
    void Merge(const std::string& letters, const std::vector<char>& levels);
    void AddMinimumLengths();

    CBuildReport& report;
    std::map<std::string, std::vector<char>> merged;
    std::map<std::string, std::vector<size_t>> exceptions;
    int leftMargin = 2;
    int rightMargin = 3;
    HyphenationFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_HYPHENATIONSOURCE_H
