// Reader of WordNet's database files (data.*, index.*, sents.vrb, sentidx.vrb).
// CWordNetReader fills a CLexicon with synsets, their links and the headwords
// with their senses; a line it cannot parse is reported and skipped.
#ifndef LEXORA_TOOLS_LXDBUILD_WORDNETREADER_H
#define LEXORA_TOOLS_LXDBUILD_WORDNETREADER_H

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/Report.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

class CWordNetReader {
public:
    CWordNetReader(const CSourceFiles& sources, CBuildReport& report);
    virtual ~CWordNetReader() = default;

    // Reads synsets, headwords and verb usage samples into lexicon.
    void Read(CLexicon& lexicon);

    // The member text shown for a data-file word: '_' as space and the
    // adjective marker "(a)", "(p)" or "(ip)" removed.
    static std::string ShowMember(const std::string& word);
    // The gloss as stored: definition, then "$" and each quoted sample
    // without its quotes. A '$' of the source text becomes U+FF04.
    static std::string ConvertGloss(const std::string& gloss);
    // Link kind of a pointer symbol used in a synset of part of speech pos;
    // 0 for a symbol without a kind.
    static uint32_t LinkKind(const std::string& symbol, char pos);

    static constexpr const char* kPackage = "wordnet-base";

private:
    struct RawPointer {
        uint32_t synset;
        std::string symbol;
        char targetFile;
        uint32_t targetOffset;
        uint8_t source;
        uint8_t target;
        const std::string* path;  // data file and line, for messages
        long line;
    };

    void ReadDataFile(CLexicon& lexicon, const std::string& name, char file);
    bool ParseDataLine(const std::string& line, char file, Synset& synset,
                       std::vector<RawPointer>& pointers, uint32_t& offset);
    void ResolvePointers(CLexicon& lexicon);
    void ReadIndexFile(CLexicon& lexicon, const std::string& name, char file);
    void ReadUsageSamples(CLexicon& lexicon);
    void ReadTagCounts(CLexicon& lexicon);

    const CSourceFiles& sources;
    CBuildReport& report;
    std::map<std::pair<char, uint32_t>, uint32_t> synsetAt;  // (file, offset) -> index
    std::vector<RawPointer> rawPointers;
    std::list<std::string> dataPaths;  // stable storage for RawPointer::path
    // (lemma, data file) -> its synsets in WordNet's sense order
    std::map<std::pair<std::string, char>, std::vector<uint32_t>> senseOrder;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_WORDNETREADER_H
