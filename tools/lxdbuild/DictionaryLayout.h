// Maps a CLexicon onto the record stream and headword index of a CDictWriter.
// CDictionaryLayout decides where every record lies: synsets in hypernym-tree
// order, each headword's one-line records together, similar-to targets at
// stream position 2^24 or beyond (a link byte 0xCC below that reads as filler).
#ifndef LEXORA_TOOLS_LXDBUILD_DICTIONARYLAYOUT_H
#define LEXORA_TOOLS_LXDBUILD_DICTIONARYLAYOUT_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "db/DictWriter.h"
#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

struct LayoutFigures {
    uint64_t headwords = 0;
    uint64_t senses = 0;        // sense references of all headwords
    uint64_t senseRecords = 0;  // synsets stored
    uint64_t links = 0;
    uint64_t similarToLinks = 0;
    uint64_t redirects = 0;
    uint64_t lineRecords = 0;   // distinct one-line records
    uint64_t linesRefused = 0;  // texts the format cannot hold, left out
    uint64_t streamLength = 0;
    uint64_t headwordsRefused = 0;
};

class CDictionaryLayout {
public:
    explicit CDictionaryLayout(CDictWriter& writer);
    virtual ~CDictionaryLayout() = default;

    // Appends every record and headword of lexicon to the writer. False with
    // Error() set when the writer refuses something it must hold.
    bool Lay(const CLexicon& lexicon);

    const LayoutFigures& Figures() const { return figures; }
    const std::string& Error() const { return error; }
    // Headwords the writer refused, with its reason.
    const std::vector<std::string>& Refused() const { return refused; }
    // Synset index -> record store position of its sense record.
    const std::map<uint32_t, uint32_t>& SynsetPositions() const { return synsetPosition; }

    // Stream position from which the similar-to targets are placed.
    static constexpr uint32_t kHighRegion = 1u << 24;

private:
    static std::string LabelOf(uint32_t synset);
    static bool IsSimilarToTarget(const Synset& synset);
    bool AddSynset(const CLexicon& lexicon, uint32_t index);
    bool AddLine(const std::string& text, uint32_t* position);
    // The one-line records of an entry in reference order: kind and text.
    static std::vector<std::pair<uint32_t, std::string>> EntryLines(const Entry& entry);
    // The entry's senses in display order: its leading senses, then the
    // others; the senses of one kind stay together (one heading each), the
    // kinds in the order their first sense comes.
    static std::vector<uint32_t> SenseOrder(const CLexicon& lexicon, const Entry& entry);
    using EntryItem = std::map<std::string, Entry>::value_type;
    // Headwords ordered by their lower-case form, as the index sorts them.
    static std::vector<const EntryItem*> KeyOrder(const CLexicon& lexicon);
    void PlaceEntryLines(const CLexicon& lexicon);
    // Places a copy of a short thesaurus line that lies elsewhere beside
    // the entry's other lines. False when it is not copied.
    bool CopyBesideHeadword(const Entry& entry, uint32_t kind, const std::string& text);

    CDictWriter& writer;
    std::map<uint32_t, uint32_t> synsetPosition;
    std::map<std::string, uint32_t> linePosition;  // shared one-line records
    // (entry, text) -> position of the entry's own copy of a shared line
    std::map<std::pair<const Entry*, std::string>, uint32_t> ownCopies;
    std::set<std::string> refusedLines;
    LayoutFigures figures;
    std::string error;
    std::vector<std::string> refused;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_DICTIONARYLAYOUT_H
