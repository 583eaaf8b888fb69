#include "tools/lxdbuild/EverydayWords.h"

#include <algorithm>
#include <map>
#include <set>

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

// The kinds the word has current senses of from another source (the everyday
// list), which GCIDE then leaves alone.
std::set<uint32_t> KindsGivenBefore(const CLexicon& lexicon, const std::string& key) {
    std::set<uint32_t> kinds;
    auto found = lexicon.entries.find(key);
    if (found == lexicon.entries.end()) return kinds;
    for (uint32_t synset : found->second.minorSenses) kinds.insert(lexicon.synsets[synset].kind);
    return kinds;
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

bool CEverydayWords::Usable(const GcideSense& sense) {
    GcideSenseFigures& counts = figures.cleaning;
    if (sense.empty) {
        ++counts.empty;
    } else if (sense.garbled) {
        ++counts.garbled;
    } else if (CGcideReader::IsCrossReference(sense.text)) {
        ++counts.crossReferences;
    } else {
        return true;
    }
    return false;
}

void CEverydayWords::Count(const GcideSense& sense, bool written, bool hasCurrent) {
    GcideSenseFigures& counts = figures.cleaning;
    const size_t usage = static_cast<size_t>(sense.usage);
    if (written && sense.usage == GcideUsage::kCurrent) {
        ++counts.kept;
    } else if (written) {
        ++counts.labelled[usage];
    } else if (sense.usage != GcideUsage::kCurrent && hasCurrent) {
        ++counts.dropped[usage];
    } else {
        ++counts.unused;
    }
}

std::vector<std::string> CEverydayWords::AuxiliaryDefinitions(
    const std::vector<std::string>& entries) {
    std::vector<std::string> definitions;
    for (const auto& entry : entries) {
        if (CGcideReader::MarkKind(entry) != lxd::kKindVerb) continue;
        // An entry marked auxiliary ("Must, v. i. or auxiliary") gives its
        // senses; another verb entry only those that speak of that use. The
        // word has WordNet's senses, so only current ones are taken.
        const bool auxiliary =
            entry.substr(0, entry.find('\n')).find("auxiliary") != std::string::npos;
        for (const GcideSense& sense : CGcideReader::Senses(entry, 16, &figures.damaged)) {
            if ((!auxiliary && !MentionsAuxiliaryUse(sense.text)) || !Usable(sense)) continue;
            const bool written =
                sense.usage == GcideUsage::kCurrent && definitions.size() < kMaxDefinitions;
            if (written) definitions.push_back(sense.text);
            Count(sense, written, true);
        }
    }
    // The senses that speak of the auxiliary use first (will: "As an
    // auxiliary, will denotes futurity" before "To wish").
    std::stable_partition(definitions.begin(), definitions.end(), MentionsAuxiliaryUse);
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
        const std::set<uint32_t> given = KindsGivenBefore(lexicon, key);
        std::map<uint32_t, KindSenses> byKind;
        std::vector<GcideSense> others;  // of later entries of a kind, for the counts
        for (const auto& entry : entries) {
            uint32_t kind = RefinePossessive(key, CGcideReader::MarkKind(entry));
            if (kind == 0) {
                figures.unmarked += everyday;
                continue;
            }
            if ((!everyday && !IsKindWordNetLacks(kind)) || given.count(kind) != 0) continue;
            Take(CGcideReader::Senses(entry, 16, &figures.damaged), byKind[kind], others);
        }
        if (wordnet && IsAuxiliaryVerb(key))
            InsertAuxiliary(lexicon, key, AuxiliaryDefinitions(entries));
        const bool hasCurrent = wordnet || !given.empty() ||
                                std::any_of(byKind.begin(), byKind.end(), [](const auto& kind) {
                                    return !kind.second.current.empty();
                                });
        for (const GcideSense& sense : others) Count(sense, false, hasCurrent);
        std::vector<std::pair<uint32_t, std::string>> written;
        for (const auto& kind : byKind) {
            const bool current = !kind.second.current.empty();
            for (const auto* list : {&kind.second.current, &kind.second.labelled}) {
                size_t taken = 0;
                for (const GcideSense& sense : *list) {
                    const bool write =
                        list == &kind.second.current ? current : !current && !hasCurrent;
                    const bool fits = write && taken < kMaxDefinitions;
                    if (fits) written.emplace_back(kind.first, CGcideSenseText::Labelled(sense));
                    taken += fits;
                    Count(sense, fits, hasCurrent);
                }
            }
        }
        if (written.empty()) continue;
        Entry& entry = lexicon.entries[key];
        entry.redirect.clear();  // an irregular form that is a word of its own
        figures.words += everyday;
        for (const auto& sense : written) {
            entry.minorSenses.push_back(AddSynset(lexicon, key, sense.first, sense.second));
            figures.minorSenses += IsMinorKind(sense.first);
        }
    }
    lexicon.IndexVariants();
}

void CEverydayWords::Take(std::vector<GcideSense> senses, KindSenses& kind,
                          std::vector<GcideSense>& others) {
    std::vector<GcideSense> current, labelled;
    for (GcideSense& sense : senses) {
        if (!Usable(sense)) continue;
        (sense.usage == GcideUsage::kCurrent ? current : labelled).push_back(std::move(sense));
    }
    // The first entry with current senses gives them; the first with
    // labelled ones stands by for a word that has no current sense.
    for (const auto& pair :
         {std::make_pair(&current, &kind.current), std::make_pair(&labelled, &kind.labelled)}) {
        if (pair.second->empty()) {
            pair.second->swap(*pair.first);
        }
        others.insert(others.end(), pair.first->begin(), pair.first->end());
    }
}

}  // namespace lxdbuild
