// One GCIDE definition as a modern dictionary shows it. CGcideSenseText
// takes a definition whose character codes are decoded and removes what is
// no definition: author citations ("--Chaucer."), source tags ("[1913
// Webster]", "[PJC]"), bracketed etymologies and labels; it tells the usage
// GCIDE's labels give (obsolete, archaic, rare, regional) and whether the
// rest is empty or garbled (stray parentheses or digits of a header that ran
// into the text). It keeps no state.
#ifndef LEXORA_TOOLS_LXDBUILD_GCIDESENSETEXT_H
#define LEXORA_TOOLS_LXDBUILD_GCIDESENSETEXT_H

#include <cstdint>
#include <string>

namespace lxdbuild {

enum class GcideUsage { kCurrent, kObsolete, kArchaic, kRare, kRegional };
constexpr size_t kGcideUsages = 5;

struct GcideSense {
    std::string text;  // cleaned; the label is not part of it
    GcideUsage usage = GcideUsage::kCurrent;
    bool empty = false;    // nothing left to show ("As a relative pronoun:")
    bool garbled = false;  // markup residue the cleaning cannot mend
};

// What became of the GCIDE senses a build looked at, by reason.
struct GcideSenseFigures {
    uint64_t kept = 0;                     // current senses written
    uint64_t dropped[kGcideUsages] = {};   // labelled senses of words with current ones
    uint64_t labelled[kGcideUsages] = {};  // labelled senses kept: the word has no other
    uint64_t empty = 0;
    uint64_t garbled = 0;
    uint64_t crossReferences = 0;  // "See Thou."
    uint64_t unused = 0;           // another entry of its part of speech gave the senses, or
                                   // four were written
};

class CGcideSenseText {
public:
    // Cleans one decoded definition; headerUsage is the usage the entry's
    // header gives all its senses.
    static GcideSense Clean(const std::string& definition,
                            GcideUsage headerUsage = GcideUsage::kCurrent);
    // The usage a text's bracketed labels give ("[Obs.]", "[Prov. Eng.]").
    static GcideUsage UsageOf(const std::string& text);
    // The text as written for a word that has no current sense: "(obsolete) To owe."
    static std::string Labelled(const GcideSense& sense);
    // "obsolete", "archaic", "rare", "regional"; "current".
    static const char* UsageName(GcideUsage usage);
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_GCIDESENSETEXT_H
