// The whole dictionary build: reads every source, lays the file out, writes
// wordnet.lxd and the IPA table with its images. CBuilder owns the lexicon and
// the report; Run() returns the process exit status.
#ifndef LEXORA_TOOLS_LXDBUILD_BUILDER_H
#define LEXORA_TOOLS_LXDBUILD_BUILDER_H

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/lxdbuild/GcideGlosses.h"
#include "tools/lxdbuild/GcideReader.h"
#include "tools/lxdbuild/InflectionMaker.h"
#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/Report.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

struct BuildOptions {
    std::string outDir;            // receives wordnet.lxd and IPA_to_IMG.txt
    std::string sourceRoot = "/";  // where the Debian packages are installed
    std::string imageDir;          // IPA images; default outDir/../images/ipa
    bool quiet = false;
    bool useEspeak = true;  // fill pronunciations the CMU list lacks
    // The node_modules directory of tools/lxdbuild/package.json (npm ci).
    std::string nodeModules = "node_modules";
};

class CBuilder {
public:
    explicit CBuilder(BuildOptions options);
    virtual ~CBuilder() = default;

    // Builds everything; 0 on success, 1 after printing why it failed.
    int Run();

    const CBuildReport& Report() const { return report; }
    const CLexicon& Lexicon() const { return lexicon; }

private:
    void ReadWordNet();
    void MakeInflections();
    void RedirectUnreachableForms();
    void AddFormOfNotes();
    void AddEverydayList();
    void AddContractions();
    // Sets each figure for the closing report and ends the stage with all
    // of them on its line.
    void EndStageWith(const std::vector<std::pair<std::string, uint64_t>>& figures);
    void AddPronunciations();
    void ReadHyphenation();
    void AddCompanions();
    void ReportCleaning(const GcideSenseFigures& figures);
    void OrderPartsOfSpeech();
    void AddOrigins();
    void WriteDictionary();
    void WriteMeaningIndex();
    void WriteSearchData();
    void WriteIpaTable();

    BuildOptions options;
    CSourceFiles sources;
    CBuildReport report;
    CLexicon lexicon;
    std::unique_ptr<CInflectionMaker> inflections;  // its word and exception lists
    std::unique_ptr<CGcideReader> gcide;            // read once, for senses and origins
    std::vector<std::string> hyphenPatterns;
    std::vector<std::string> hyphenExceptions;
    std::map<std::string, std::vector<size_t>> syllables;  // GCIDE's, for exceptions
    CGcideGlosses gcideGlosses;                            // for the meaning index
    uint64_t listInterjections = 0;                        // the everyday list's
    std::map<uint32_t, uint32_t> synsetPositions;          // as the layout placed them
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_BUILDER_H
