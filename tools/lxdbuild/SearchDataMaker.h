// Makes the search companion (search.lxs) of a dictionary file just written:
// every headword the file's index lists, in its order, with its commonness
// (WordNet's sense tag counts from cntlist.rev, summed per lemma, and its
// number of senses, and its tier: in SCOWL's everyday list of wamerican-small,
// its common one of wamerican, or neither) and the filter list (COffensiveWords).
#ifndef LEXORA_TOOLS_LXDBUILD_SEARCHDATAMAKER_H
#define LEXORA_TOOLS_LXDBUILD_SEARCHDATAMAKER_H

#include <map>
#include <set>
#include <string>

#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/OffensiveWords.h"
#include "tools/lxdbuild/Report.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

struct SearchFigures {
    uint64_t words = 0;
    uint64_t tagged = 0;    // words with a tag count
    uint64_t filtered = 0;  // words on the filter list
    OffensiveFigures offensive;
    uint64_t bytes = 0;
};

class CSearchDataMaker {
public:
    CSearchDataMaker(const CSourceFiles& sources, CBuildReport& report);
    virtual ~CSearchDataMaker() = default;

    // Writes `outPath` for the dictionary at `dictionaryPath`; throws a
    // CBuildError when the dictionary cannot be read or the file written.
    void Write(const CLexicon& lexicon, const std::string& dictionaryPath,
               const std::string& outPath);
    const SearchFigures& Figures() const { return figures; }

    // Lemma (lower case, spaces) -> summed tag counts of cntlist.rev's text.
    static std::map<std::string, uint32_t> ReadTagCounts(const std::string& text);
    // Words of a word list (one a line), or none when `relative` is missing.
    std::set<std::string> ReadWordList(const std::string& relative) const;

private:
    const CSourceFiles& sources;
    CBuildReport& report;
    SearchFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_SEARCHDATAMAKER_H
