// The in-memory model the sources are read into before the file is laid out.
// CLexicon owns the synsets and the headword entries; entries refer to
// synsets by index, and nothing here knows the file format's byte layout.
#ifndef LEXORA_TOOLS_LXDBUILD_LEXICON_H
#define LEXORA_TOOLS_LXDBUILD_LEXICON_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lxdbuild {

// One typed link from a synset (source 0) or one of its members to a synset
// (target 0) or one of its members; member numbers count from 1.
struct Link {
    uint32_t kind = 0;
    uint32_t target = 0;  // index into CLexicon::synsets
    uint8_t sourceMember = 0;
    uint8_t targetMember = 0;
};

struct Synset {
    char pos = 'n';                    // n, v, a (head adjective), s (satellite), r
    std::vector<std::string> members;  // as shown: '_' as space, markers removed
    std::string gloss;                 // definition, then "$" and each sample
    std::vector<Link> links;
    uint32_t kind = 0;                // record kind of its sense record
    uint32_t lexFile = 0;             // WordNet's lexicographer file number
    std::vector<uint32_t> tagCounts;  // per member: tagged uses in WordNet's corpora
};

// Everything stored under one headword besides its senses.
struct Entry {
    std::vector<uint32_t> senses;  // synset indexes, in display order
    // Synsets of parts of speech WordNet lacks, until CPartOfSpeechOrder
    // merges them into senses.
    std::vector<uint32_t> minorSenses;
    // Senses shown before all others: the everyday list's commonest uses.
    std::vector<uint32_t> leadingSenses;
    std::vector<std::string> plurals;
    std::vector<std::string> pastTenses;
    std::vector<std::string> pastParticiples;
    std::vector<std::string> usageSamples;
    std::vector<std::string> adjectiveComparatives;
    std::vector<std::string> adjectiveSuperlatives;
    std::vector<std::string> adverbComparatives;
    std::vector<std::string> adverbSuperlatives;
    std::string redirect;  // base form for an irregular form without senses
    // The headword is also an inflected form of these headwords: relation
    // ("past tense") and base, shown as a line under the header.
    std::vector<std::pair<std::string, std::string>> formOf;
    std::string pronunciation;
    std::string origin;
    std::vector<std::pair<uint32_t, std::string>> thesaurus;  // kind, line
};

class CLexicon {
public:
    CLexicon() = default;
    virtual ~CLexicon() = default;
    CLexicon(const CLexicon&) = delete;
    CLexicon& operator=(const CLexicon&) = delete;

    std::vector<Synset> synsets;
    std::map<std::string, Entry> entries;  // keyed by headword as shown
    // Lower-case headword -> the headwords that fold to it, in byte order.
    std::map<std::string, std::vector<std::string>> variants;

    void IndexVariants();
    // The headwords whose lower-case form is lower (none when unknown).
    const std::vector<std::string>& VariantsOf(const std::string& lower) const;
};

std::string ToLower(std::string text);
bool IsSingleLowerWord(const std::string& word);
// Article, pronoun, conjunction, determiner, preposition, particle: the
// sense kinds WordNet has none of.
bool IsMinorKind(uint32_t kind);
// The minor kinds and the interjection: the kinds GCIDE adds to any word.
bool IsKindWordNetLacks(uint32_t kind);
bool HasMinorSense(const CLexicon& lexicon, const Entry& entry);

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_LEXICON_H
