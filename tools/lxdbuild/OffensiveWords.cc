#include "tools/lxdbuild/OffensiveWords.h"

#include <regex>

namespace lxdbuild {

namespace {

// WordNet's pointer to the usage domain of a synset (";u").
constexpr uint32_t kUsageDomainLink = 180;
const char* const kOffensiveDomains[] = {"obscenity", "vulgarism", "ethnic slur", "disparagement"};
const char* const kObsceneDomains[] = {"obscenity", "vulgarism"};
// Endings of inflected and derived forms of a root.
const char* const kEndings[] = {"",   "s", "es",  "ed",   "er", "ers", "ing",
                                "in", "y", "ier", "iest", "up", "ups"};
constexpr size_t kMinRootLength = 4;
constexpr size_t kMinGluedLength = 4;

template <size_t N>
bool HasMember(const Synset& synset, const char* const (&names)[N]) {
    for (const std::string& member : synset.members) {
        for (const char* name : names) {
            if (ToLower(member) == name) return true;
        }
    }
    return false;
}

bool IsVowel(char c) {
    return c != '\0' && std::string("aeiouy").find(c) != std::string::npos;
}

// A gloss that calls its words obscene or vulgar ("obscene terms for feces",
// "vulgar slang for anus", "terms of abuse for a masturbator").
bool HasObsceneGloss(const Synset& synset) {
    static const std::regex pattern(
        "(\\([^)]*\\) )?(an? )?((obscene|vulgar) (terms?|words?|slang|expression)\\b|terms of "
        "abuse)",
        std::regex::icase);
    return std::regex_search(synset.gloss, pattern, std::regex_constants::match_continuous);
}

// The forms of a root: it with each ending, the final consonant doubled
// before an ending that starts with a vowel (shitting, shitty).
std::vector<std::string> FormsOf(const std::string& root) {
    std::vector<std::string> forms;
    for (const char* ending : kEndings) {
        forms.push_back(root + ending);
        if (!IsVowel(root.back()) && IsVowel(ending[0])) {
            forms.push_back(root + root.back() + ending);
        }
    }
    return forms;
}

std::vector<std::string> WordsOf(const std::string& headword) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : headword + " ") {
        if (c == ' ' || c == '-') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

COffensiveWords::COffensiveWords(const CLexicon& lexicon, const std::set<std::string>& everyday,
                                 const std::set<std::string>& common)
    : lexicon(lexicon), everyday(everyday), common(common) {
    for (const auto& entry : lexicon.entries) lowerHeadwords.insert(ToLower(entry.first));
    MarkSenses();
    ListWordsWithOffensiveSenses();
    ListForms();
    ListCompounds();
}

void COffensiveWords::MarkSenses() {
    for (uint32_t i = 0; i < lexicon.synsets.size(); ++i) {
        const Synset& synset = lexicon.synsets[i];
        if (HasObsceneGloss(synset)) {
            wholeSynsets.insert(i);
            obscene.insert(i);
        }
        for (const Link& link : synset.links) {
            if (link.kind != kUsageDomainLink || link.target >= lexicon.synsets.size()) continue;
            const Synset& domain = lexicon.synsets[link.target];
            if (!HasMember(domain, kOffensiveDomains)) continue;
            if (HasMember(domain, kObsceneDomains)) obscene.insert(i);
            if (link.sourceMember == 0) {
                wholeSynsets.insert(i);
            } else if (link.sourceMember <= synset.members.size()) {
                members.emplace(i, ToLower(synset.members[link.sourceMember - 1]));
            }
        }
        for (const std::string& member : synset.members) {
            figures.senses += IsOffensiveSense(i, ToLower(member)) ? 1 : 0;
        }
    }
}

bool COffensiveWords::IsOffensiveSense(uint32_t synset, const std::string& member) const {
    return wholeSynsets.count(synset) != 0 || members.count({synset, member}) != 0;
}

bool COffensiveWords::IsEverydayWordWithCleanSense(const std::string& headword) const {
    if (everyday.count(headword) == 0 && everyday.count(ToLower(headword)) == 0) return false;
    auto entry = lexicon.entries.find(headword);
    if (entry == lexicon.entries.end()) return false;
    std::string lower = ToLower(headword);
    for (uint32_t synset : entry->second.senses) {
        if (!IsOffensiveSense(synset, lower)) return true;
    }
    return !entry->second.minorSenses.empty();
}

void COffensiveWords::ListWordsWithOffensiveSenses() {
    for (const auto& entry : lexicon.entries) {
        const std::vector<uint32_t>& senses = entry.second.senses;
        std::string lower = ToLower(entry.first);
        bool offensive = false;
        for (uint32_t synset : senses) offensive = offensive || IsOffensiveSense(synset, lower);
        if (!offensive) continue;
        if (IsEverydayWordWithCleanSense(entry.first)) {
            ++figures.kept;
            ListOffensiveSenses(entry.first, senses);
            continue;
        }
        words.insert(entry.first);
        ++figures.words;
        if (IsSingleLowerWord(entry.first) && entry.first.size() >= kMinRootLength &&
            obscene.count(senses.front()) != 0 && IsOffensiveSense(senses.front(), lower)) {
            roots.push_back(entry.first);
        }
    }
}

void COffensiveWords::ListOffensiveSenses(const std::string& headword,
                                          const std::vector<uint32_t>& senses) {
    const std::string lower = ToLower(headword);
    for (size_t i = 0; i < senses.size(); ++i) {
        if (IsOffensiveSense(senses[i], lower)) {
            senseReferences.insert(headword + ":" + std::to_string(i + 1));
            ++figures.senseReferences;
        }
    }
}

void COffensiveWords::ListForms() {
    std::set<std::string> forms;
    for (const auto& entry : lexicon.entries) {
        bool isForm = words.count(entry.second.redirect) != 0;
        for (const auto& note : entry.second.formOf) {
            isForm = isForm || words.count(note.second) != 0;
        }
        if (isForm && words.count(entry.first) == 0 && !IsEverydayWordWithCleanSense(entry.first)) {
            forms.insert(entry.first);
        }
    }
    figures.forms = forms.size();
    words.insert(forms.begin(), forms.end());
}

void COffensiveWords::ListCompounds() {
    std::vector<std::string> found;
    for (const auto& entry : lexicon.entries) {
        if (words.count(entry.first) != 0) continue;
        for (const std::string& word : WordsOf(entry.first)) {
            if (IsCompound(word)) {
                found.push_back(entry.first);
                break;
            }
        }
    }
    figures.compounds = found.size();
    words.insert(found.begin(), found.end());
}

// `word` (no space or hyphen; a capital keeps it apart from the lower-case
// roots, so Peter is no form of peter) is a form of a root, a word glued
// before one (diddlyshit) or a root glued before a word (fuckhead).
bool COffensiveWords::IsCompound(const std::string& word) const {
    const bool mayBeGlued = common.count(word) == 0;
    for (const std::string& root : roots) {
        if (word.find(root) == std::string::npos) continue;
        for (const std::string& form : FormsOf(root)) {
            if (word == form) return true;
            if (!mayBeGlued || word.size() < form.size() + kMinGluedLength) continue;
            if (EndsWith(word, form) &&
                lowerHeadwords.count(word.substr(0, word.size() - form.size())) != 0) {
                return true;
            }
        }
        if (mayBeGlued && word.size() >= root.size() + kMinGluedLength &&
            word.compare(0, root.size(), root) == 0 &&
            lowerHeadwords.count(word.substr(root.size())) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace lxdbuild
