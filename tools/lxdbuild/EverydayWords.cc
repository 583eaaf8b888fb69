#include "tools/lxdbuild/EverydayWords.h"

#include <algorithm>
#include <map>

#include "db/Format.h"
#include "tools/lxdbuild/FormOfNotes.h"

namespace lxdbuild {

namespace {

const char* const kModalVerbs[] = {"will",   "would", "can",   "could", "shall",
                                   "should", "may",   "might", "must",  "ought"};

bool IsModalVerb(const std::string& word) {
    return std::find(std::begin(kModalVerbs), std::end(kModalVerbs), word) != std::end(kModalVerbs);
}

bool IsAuxiliaryVerb(const std::string& word) {
    return IsModalVerb(word) || word == "do" || word == "have" || word == "be";
}

bool HasWordNetSenses(const CLexicon& lexicon, const std::string& key) {
    const auto& variants = lexicon.VariantsOf(key);
    return std::any_of(variants.begin(), variants.end(), [&](const std::string& variant) {
        return !lexicon.entries.at(variant).senses.empty();
    });
}

// A possessive that stands alone (ours, hers, mine) is a pronoun; one that
// stands before a noun (my, our) a determiner.
uint32_t RefinePossessive(const std::string& word, uint32_t kind) {
    bool standsAlone = word.back() == 's' || word == "mine" || word == "thine";
    return kind == lxd::kKindDeterminer && standsAlone ? lxd::kKindPronoun : kind;
}

// Whether the word already has a sense of the kind from another source (the
// everyday list), which GCIDE then leaves alone.
bool HasMinorSenseOfKind(const CLexicon& lexicon, const std::string& key, uint32_t kind) {
    auto found = lexicon.entries.find(key);
    if (found == lexicon.entries.end()) return false;
    const std::vector<uint32_t>& senses = found->second.minorSenses;
    return std::any_of(senses.begin(), senses.end(),
                       [&](uint32_t synset) { return lexicon.synsets[synset].kind == kind; });
}

bool MentionsAuxiliaryUse(const std::string& definition) {
    std::string lower = ToLower(definition);
    return lower.find("auxiliary") != std::string::npos ||
           lower.find("infinitive") != std::string::npos;
}

}  // namespace

CEverydayWords::CEverydayWords(std::unordered_set<std::string> everydayWords,
                               const std::vector<IrregularForm>& irregularForms)
    : everydayWords(std::move(everydayWords)) {
    for (const IrregularForm& item : irregularForms) irregular.insert(ToLower(item.form));
}

bool CEverydayWords::IsInflectedForm(const CLexicon& lexicon, const std::string& word) const {
    if (irregular.count(word) != 0) return true;
    for (char pos : {'n', 'v', 'a'}) {
        if (!CFormOfNotes::DetachedBase(lexicon, word, pos).first.empty()) return true;
    }
    return false;
}

uint32_t CEverydayWords::AddSynset(CLexicon& lexicon, const std::string& key, uint32_t kind,
                                   const std::string& gloss) {
    Synset synset;
    synset.pos = 'x';
    synset.kind = kind;
    synset.members.push_back(key);
    synset.gloss = gloss;
    lexicon.synsets.push_back(std::move(synset));
    ++figures.senses;
    return static_cast<uint32_t>(lexicon.synsets.size() - 1);
}

std::vector<std::string> CEverydayWords::AuxiliaryDefinitions(
    const std::vector<std::string>& entries) {
    std::vector<std::string> definitions;
    for (const auto& entry : entries) {
        if (CGcideReader::MarkKind(entry) != lxd::kKindVerb) continue;
        // An entry marked auxiliary ("Must, v. i. or auxiliary") gives its
        // senses; another verb entry only those that speak of that use.
        const bool auxiliary =
            entry.substr(0, entry.find('\n')).find("auxiliary") != std::string::npos;
        for (const auto& definition : CGcideReader::Definitions(entry, 16, &figures.damaged)) {
            if ((auxiliary || MentionsAuxiliaryUse(definition)) &&
                definitions.size() < kMaxDefinitions) {
                definitions.push_back(definition);
            }
        }
    }
    return definitions;
}

void CEverydayWords::InsertAuxiliary(CLexicon& lexicon, const std::string& key,
                                     const std::vector<std::string>& definitions) {
    auto found = lexicon.entries.find(key);
    if (found == lexicon.entries.end() || definitions.empty()) return;
    // Beside WordNet's verb senses, so that all form one verb heading: a
    // modal's before them (can: "be able to", not "preserve in a can"), the
    // others' after them (do, have, be mean their main verbs first).
    std::vector<uint32_t>& senses = found->second.senses;
    const bool modal = IsModalVerb(key);
    auto after = senses.end();
    for (auto it = senses.begin(); it != senses.end(); ++it) {
        if (lexicon.synsets[*it].pos != 'v') continue;
        after = modal ? it : it + 1;
        if (modal) break;
    }
    std::vector<uint32_t> added;
    for (const auto& definition : definitions) {
        added.push_back(AddSynset(lexicon, key, lxd::kKindVerb, definition));
        ++figures.auxiliarySenses;
    }
    senses.insert(after, added.begin(), added.end());
}

void CEverydayWords::AddTo(const CGcideReader& gcide, CLexicon& lexicon) {
    for (const std::string& key : gcide.Keys()) {
        if (!IsSingleLowerWord(key)) continue;
        const bool wordnet = HasWordNetSenses(lexicon, key);
        const bool everyday =
            !wordnet && everydayWords.count(key) != 0 && !IsInflectedForm(lexicon, key);
        std::vector<std::string> entries = gcide.EntriesOf(key);
        std::map<uint32_t, std::vector<std::string>> byKind;
        for (const auto& entry : entries) {
            uint32_t kind = RefinePossessive(key, CGcideReader::MarkKind(entry));
            if (kind == 0) {
                figures.unmarked += everyday;
                continue;
            }
            if ((!everyday && !IsKindWordNetLacks(kind)) || byKind.count(kind) != 0 ||
                HasMinorSenseOfKind(lexicon, key, kind)) {
                continue;
            }
            std::vector<std::string> definitions;
            for (const auto& definition :
                 CGcideReader::Definitions(entry, kMaxDefinitions, &figures.damaged)) {
                if (!CGcideReader::IsCrossReference(definition)) definitions.push_back(definition);
            }
            if (!definitions.empty()) byKind.emplace(kind, std::move(definitions));
        }
        if (wordnet && IsAuxiliaryVerb(key))
            InsertAuxiliary(lexicon, key, AuxiliaryDefinitions(entries));
        if (byKind.empty()) continue;
        Entry& entry = lexicon.entries[key];
        entry.redirect.clear();  // an irregular form that is a word of its own
        figures.words += everyday;
        for (const auto& kind : byKind) {
            for (const auto& definition : kind.second) {
                entry.minorSenses.push_back(AddSynset(lexicon, key, kind.first, definition));
                figures.minorSenses += IsMinorKind(kind.first);
            }
        }
    }
    lexicon.IndexVariants();
}

}  // namespace lxdbuild
