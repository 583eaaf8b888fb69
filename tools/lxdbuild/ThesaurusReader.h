// Thesaurus lines from a MyThes data file (th_en_US_v2.dat): one line per
// meaning of a word, its entries joined by ',' and the annotations "generic
// term", "similar term", "antonym" and "related term" put in braces.
// CThesaurusReader attaches the lines to every case variant of a one-word
// headword; phrases get none.
#ifndef LEXORA_TOOLS_LXDBUILD_THESAURUSREADER_H
#define LEXORA_TOOLS_LXDBUILD_THESAURUSREADER_H

#include <cstdint>
#include <string>

#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/Report.h"

namespace lxdbuild {

class CThesaurusReader {
public:
    explicit CThesaurusReader(CBuildReport& report);
    virtual ~CThesaurusReader() = default;

    // Reads the data file's text into the entries of lexicon.
    void Read(const std::string& text, const std::string& path, CLexicon& lexicon);
    uint64_t LineCount() const { return lines; }

    // One meaning line "(noun)|a|b (generic term)" as record kind and text
    // ("a,b {generic term}"); kind 0 when the line is not a meaning.
    static uint32_t ConvertMeaning(const std::string& line, std::string& text);

    static constexpr const char* kPackage = "mythes-en-us";

private:
    CBuildReport& report;
    uint64_t lines = 0;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_THESAURUSREADER_H
