#include "tools/lxdbuild/FormOfNotes.h"

#include <algorithm>

#include "tools/lxdbuild/LookupMirror.h"

namespace lxdbuild {

namespace {

// WordNet's detachment rules, in its order: suffix, ending put in its place.
struct DetachRule {
    char pos;
    const char* suffix;
    const char* ending;
    uint32_t relation;
};

const DetachRule kDetachRules[] = {
    {'n', "s", "", CFormOfNotes::kPlural},
    {'n', "ses", "s", CFormOfNotes::kPlural},
    {'n', "xes", "x", CFormOfNotes::kPlural},
    {'n', "zes", "z", CFormOfNotes::kPlural},
    {'n', "ches", "ch", CFormOfNotes::kPlural},
    {'n', "shes", "sh", CFormOfNotes::kPlural},
    {'n', "men", "man", CFormOfNotes::kPlural},
    {'n', "ies", "y", CFormOfNotes::kPlural},
    {'v', "s", "", CFormOfNotes::kThirdPerson},
    {'v', "ies", "y", CFormOfNotes::kThirdPerson},
    {'v', "es", "e", CFormOfNotes::kThirdPerson},
    {'v', "es", "", CFormOfNotes::kThirdPerson},
    {'v', "ed", "e", CFormOfNotes::kPastTense | CFormOfNotes::kPastParticiple},
    {'v', "ed", "", CFormOfNotes::kPastTense | CFormOfNotes::kPastParticiple},
    {'v', "ing", "e", CFormOfNotes::kPresentParticiple},
    {'v', "ing", "", CFormOfNotes::kPresentParticiple},
    {'a', "er", "", CFormOfNotes::kComparative},
    {'a', "est", "", CFormOfNotes::kSuperlative},
    {'a', "er", "e", CFormOfNotes::kComparative},
    {'a', "est", "e", CFormOfNotes::kSuperlative},
};

const char* const kRelationNames[] = {
    "plural",          "third person singular", "present tense", "past tense",
    "past participle", "present participle",    "comparative",   "superlative",
};

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Letters, with apostrophes, hyphens and spaces inside: what a headword may be.
bool IsPlainWord(const std::string& word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'' || c == '-' ||
               c == ' ';
    });
}

bool HasSenseIn(const CLexicon& lexicon, const Entry& entry, char pos) {
    const std::string positions = pos == 'a' ? "as" : std::string(1, pos);
    return std::any_of(entry.senses.begin(), entry.senses.end(), [&](uint32_t synset) {
        return positions.find(lexicon.synsets[synset].pos) != std::string::npos;
    });
}

// The headword spelling of the WordNet lemma `lower` in part of speech pos:
// the lower-case form when it has such a sense, else the first variant that
// has; empty when none has.
std::string LemmaOf(const CLexicon& lexicon, const std::string& lower, char pos) {
    const auto& variants = lexicon.VariantsOf(lower);
    std::vector<std::string> ordered;
    if (Contains(variants, lower)) ordered.push_back(lower);
    ordered.insert(ordered.end(), variants.begin(), variants.end());
    for (const auto& variant : ordered) {
        if (HasSenseIn(lexicon, lexicon.entries.at(variant), pos)) return variant;
    }
    return std::string();
}

// True when a later detachment rule than WordNet's first leads from `lower`
// to `headword` in some part of speech (cutest: WordNet's first rule gives
// cut, a later one cute, where the lookup lands).
bool IsLaterDetachment(const CLexicon& lexicon, const std::string& lower,
                       const std::string& headword) {
    for (const DetachRule& rule : kDetachRules) {
        if (!EndsWith(lower, rule.suffix)) continue;
        std::string stem = lower.substr(0, lower.size() - std::string(rule.suffix).size());
        stem += rule.ending;
        if (stem == ToLower(headword) && !LemmaOf(lexicon, stem, rule.pos).empty()) return true;
    }
    return false;
}

bool HasSenses(const Entry& entry) {
    return !entry.senses.empty() || !entry.minorSenses.empty();
}

// The relation of an irregular verb form to its base.
uint32_t VerbRelation(const std::string& form, const Entry& base) {
    uint32_t relations = 0;
    if (Contains(base.pastTenses, form)) relations |= CFormOfNotes::kPastTense;
    if (Contains(base.pastParticiples, form)) relations |= CFormOfNotes::kPastParticiple;
    if (relations != 0) return relations;
    if (EndsWith(form, "ing")) return CFormOfNotes::kPresentParticiple;
    if (form == "am" || form == "are" || form == "art") return CFormOfNotes::kPresentTense;
    if (EndsWith(form, "s")) return CFormOfNotes::kThirdPerson;
    return CFormOfNotes::kPastTense;
}

}  // namespace

CFormOfNotes::CFormOfNotes(const std::unordered_set<std::string>& wordList,
                           const std::vector<IrregularForm>& irregularForms)
    : wordList(wordList), irregularForms(irregularForms) {}

std::string CFormOfNotes::RelationText(uint32_t relations) {
    std::vector<std::string> names;
    for (size_t bit = 0; bit < sizeof kRelationNames / sizeof kRelationNames[0]; ++bit) {
        if (relations & (1u << bit)) names.push_back(kRelationNames[bit]);
    }
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

std::pair<std::string, uint32_t> CFormOfNotes::DetachedBase(const CLexicon& lexicon,
                                                            const std::string& lower, char pos) {
    // "armsful": the rules apply before "ful" (arms -> arm), giving armful.
    if (pos == 'n' && lower.size() > 3 && EndsWith(lower, "ful")) {
        auto stem = DetachedBase(lexicon, lower.substr(0, lower.size() - 3), pos);
        if (stem.first.empty()) return {};
        std::string lemma = LemmaOf(lexicon, ToLower(stem.first) + "ful", pos);
        return lemma.empty() ? std::pair<std::string, uint32_t>() : std::make_pair(lemma, kPlural);
    }
    // WordNet leaves nouns in "ss" and of two letters or fewer alone.
    if (pos == 'n' && (EndsWith(lower, "ss") || lower.size() <= 2)) return {};
    for (const DetachRule& rule : kDetachRules) {
        if (rule.pos != pos || !EndsWith(lower, rule.suffix)) continue;
        std::string stem = lower.substr(0, lower.size() - std::string(rule.suffix).size());
        stem += rule.ending;
        if (stem.empty() || stem == lower) continue;
        std::string lemma = LemmaOf(lexicon, stem, pos);
        if (!lemma.empty()) return {lemma, rule.relation};
    }
    return {};
}

void CFormOfNotes::Add(const std::string& form, const std::string& base, uint32_t relations) {
    if (!IsPlainWord(form) || ToLower(form) == ToLower(base)) return;
    Bases& bases = candidates[form];
    auto found = std::find_if(bases.begin(), bases.end(),
                              [&](const auto& item) { return item.first == base; });
    if (found == bases.end()) {
        bases.emplace_back(base, relations);
    } else {
        found->second |= relations;
    }
}

void CFormOfNotes::GatherEntryForms(const CLexicon& lexicon) {
    for (const auto& item : lexicon.entries) {
        const Entry& entry = item.second;
        if (!HasSenses(entry)) continue;
        const std::pair<const std::vector<std::string>*, uint32_t> lists[] = {
            {&entry.plurals, kPlural},
            {&entry.pastTenses, kPastTense},
            {&entry.pastParticiples, kPastParticiple},
            {&entry.adjectiveComparatives, kComparative},
            {&entry.adjectiveSuperlatives, kSuperlative},
            {&entry.adverbComparatives, kComparative},
            {&entry.adverbSuperlatives, kSuperlative},
        };
        for (const auto& list : lists) {
            for (const auto& form : *list.first) Add(form, item.first, list.second);
        }
    }
}

void CFormOfNotes::GatherExceptions(const CLexicon& lexicon) {
    for (const IrregularForm& item : irregularForms) {
        std::string base = LemmaOf(lexicon, ToLower(item.base), item.pos == 'r' ? 'r' : item.pos);
        if (base.empty()) continue;
        uint32_t relations = kPlural;
        if (item.pos == 'v') {
            relations = VerbRelation(item.form, lexicon.entries.at(base));
        } else if (item.pos == 'a' || item.pos == 'r') {
            relations = EndsWith(item.form, "st") ? kSuperlative : kComparative;
        }
        Add(item.form, base, relations);
        listedBases[ToLower(item.form)].emplace_back(base, relations);
    }
}

void CFormOfNotes::GatherDetachedForms(const CLexicon& lexicon) {
    // A word that an exception list names for a part of speech takes only
    // its listed bases there, as in WordNet.
    std::unordered_set<std::string> listed;
    for (const IrregularForm& item : irregularForms) listed.insert(item.form + ' ' + item.pos);
    std::vector<std::string> words(wordList.begin(), wordList.end());
    std::sort(words.begin(), words.end());
    for (const std::string& word : words) {
        std::string lower = ToLower(word);
        // A capitalised spelling (Am, Born) may land on another headword
        // than the lower-case one, so it gets the listed bases of its own.
        auto found = listedBases.find(lower);
        if (lower != word && found != listedBases.end()) {
            for (const auto& base : found->second) Add(word, base.first, base.second);
        }
        for (char pos : {'n', 'v', 'a'}) {
            if (listed.count(lower + ' ' + pos) != 0) continue;
            auto base = DetachedBase(lexicon, lower, pos);
            if (!base.first.empty()) Add(word, base.first, base.second);
        }
    }
}

void CFormOfNotes::Resolve(CLexicon& lexicon) {
    CLookupMirror mirror(lexicon);
    std::map<std::string, Entry> added;
    for (const auto& item : candidates) {
        const std::string& form = item.first;
        Bases bases;
        for (const auto& base : item.second) {
            auto entry = lexicon.entries.find(base.first);
            if (entry != lexicon.entries.end() && HasSenses(entry->second)) bases.push_back(base);
        }
        if (bases.empty()) continue;
        std::string landed = mirror.Resolve(form);
        auto reached = [&](const auto& base) { return ToLower(base.first) == ToLower(landed); };
        bool landsOnBase = std::any_of(bases.begin(), bases.end(), reached);
        if (!landed.empty() && ToLower(landed) == ToLower(form)) {
            // Spellings that land on one headword (ate, Ate) share its notes.
            auto& notes = lexicon.entries.at(landed).formOf;
            for (const auto& base : bases) {
                bool noted = std::any_of(notes.begin(), notes.end(), [&](const auto& note) {
                    return note.second == base.first;
                });
                if (noted) continue;
                notes.emplace_back(RelationText(base.second), base.first);
                ++figures.notes;
            }
        } else if (landsOnBase ||
                   (!landed.empty() && IsLaterDetachment(lexicon, ToLower(form), landed))) {
            if (bases.size() > 1 || !landsOnBase) oneBaseReached.push_back(form);
        } else {
            // A redirect-only headword whose target is none of the form's
            // bases (curettes: curet, a verb only in the exception list)
            // leads to them instead; a new headword otherwise.
            const auto& variants = lexicon.VariantsOf(ToLower(form));
            if (variants.size() > 1 ||
                (variants.size() == 1 && HasSenses(lexicon.entries.at(variants.front())))) {
                continue;
            }
            Entry& entry = variants.empty() ? added[form] : lexicon.entries.at(variants.front());
            entry.redirect.clear();
            if (bases.size() == 1) {
                entry.redirect = bases.front().first;
                ++figures.redirects;
            } else {
                for (const auto& base : bases) {
                    entry.formOf.emplace_back(RelationText(base.second), base.first);
                }
                ++figures.formHeadwords;
            }
        }
    }
    figures.oneBaseReached = oneBaseReached.size();
    for (auto& item : added) lexicon.entries.emplace(item.first, std::move(item.second));
    lexicon.IndexVariants();
}

void CFormOfNotes::AddTo(CLexicon& lexicon) {
    GatherEntryForms(lexicon);
    GatherExceptions(lexicon);
    GatherDetachedForms(lexicon);
    Resolve(lexicon);
}

}  // namespace lxdbuild
