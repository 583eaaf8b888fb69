// Etymologies and the minor parts of speech from GCIDE in its dictd form
// (gcide.index + gcide.dict.dz). CGcideReader decodes GCIDE's bracketed
// character codes; an etymology with a code it does not know, or with
// characters the source has lost ("?"), is left out.
#ifndef LEXORA_TOOLS_LXDBUILD_GCIDEREADER_H
#define LEXORA_TOOLS_LXDBUILD_GCIDEREADER_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/lxdbuild/GcideSenseText.h"
#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/Report.h"

namespace lxdbuild {

struct GcideFigures {
    uint64_t etymologies = 0;
    uint64_t damaged = 0;  // etymologies left out
};

class CGcideReader {
public:
    explicit CGcideReader(CBuildReport& report);
    virtual ~CGcideReader() = default;

    // index: the text of gcide.index; dictionary: the inflated gcide.dict.
    void Read(const std::string& index, const std::string& indexPath, std::string dictionary);
    // Adds origins to the headwords with senses, from the entry whose part of
    // speech is that of the headword's first sense (run after the order).
    void AddTo(CLexicon& lexicon);
    const GcideFigures& Figures() const { return figures; }

    // The etymology of one entry's text with its markup kept for the
    // renderer ("{...}" italic, inner "[...]" bold); "" when it has none or
    // it is damaged (damaged is then set).
    static std::string Etymology(const std::string& entry, bool& damaged);
    // GCIDE's character codes ("[\"o]", "[=a]") replaced by UTF-8; false
    // when a code is unknown or the text holds '?'.
    static bool DecodeCharacters(const std::string& text, std::string& out);
    // Record kind of the entry's part-of-speech mark ("n.", "v. t. &
    // auxiliary", "a. & poss. pron."), 0 for a mark no kind stands for.
    static uint32_t MarkKind(const std::string& entry);
    // The same when it is a part of speech WordNet lacks, else 0.
    static uint32_t MinorKind(const std::string& entry);
    // The headwords an entry defines ("Among \\A*mong\"\\, Amongst ..." gives
    // Among and Amongst); empty when its header is damaged.
    static std::vector<std::string> Headwords(const std::string& entry);
    // The syllable breaks the entry's marked form gives ("\\Ta\"ble\\" ->
    // gap 2), as gaps counted in letters; false when the form is unmarked.
    static bool SyllableBreaks(const std::string& entry, std::vector<size_t>& breaks);
    // Lower-case one-word headwords with senses -> their syllable breaks.
    const std::map<std::string, std::vector<size_t>>& Syllables() const { return syllables; }
    // The entry's senses, at most max of them, cleaned (see CGcideSenseText),
    // each with its usage; a definition with character codes that cannot be
    // decoded is left out and counted in *damaged when given.
    static std::vector<GcideSense> Senses(const std::string& entry, size_t max,
                                          uint64_t* damaged = nullptr);
    // The texts of those senses that are neither empty nor garbled.
    static std::vector<std::string> Definitions(const std::string& entry, size_t max,
                                                uint64_t* damaged = nullptr);
    // Whether a definition only sends the reader elsewhere ("See 2d Weld.").
    static bool IsCrossReference(const std::string& definition) {
        return definition.compare(0, 4, "See ") == 0;
    }
    // Every lower-case key of the index, in order.
    std::vector<std::string> Keys() const;
    // The texts of the entries that define `key` (lower case) as a headword.
    std::vector<std::string> EntriesOf(const std::string& key) const;

    static constexpr const char* kPackage = "dict-gcide";

private:
    std::string EntryText(size_t offset, size_t length) const;
    // The etymology of the first entry of `kind` (a group kind) that has a
    // current sense; without such an entry, the one etymology the other
    // current entries agree on; else "".
    std::string OriginFor(const std::vector<std::string>& texts, uint32_t kind);

    CBuildReport& report;
    std::string dictionary;
    std::map<std::string, std::vector<std::pair<size_t, size_t>>> entries;  // lower-case key
    std::map<std::string, std::vector<size_t>> syllables;
    GcideFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_GCIDEREADER_H
