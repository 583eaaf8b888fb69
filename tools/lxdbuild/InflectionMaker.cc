#include "tools/lxdbuild/InflectionMaker.h"

#include <algorithm>
#include <sstream>

#include "tools/lxdbuild/LookupMirror.h"

namespace lxdbuild {

namespace {

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool HasSenseOf(const CLexicon& lexicon, const Entry& entry, const std::string& positions) {
    return std::any_of(entry.senses.begin(), entry.senses.end(), [&](uint32_t synset) {
        return positions.find(lexicon.synsets[synset].pos) != std::string::npos;
    });
}

int VowelGroups(const std::string& word) {
    int groups = 0;
    bool previous = false;
    for (size_t i = 0; i < word.size(); ++i) {
        bool vowel = IsVowel(word[i]) || (word[i] == 'y' && i > 0 && !IsVowel(word[i - 1]));
        groups += vowel && !previous;
        previous = vowel;
    }
    return groups;
}

// Ends in consonant, vowel, consonant (the last not w, x or y): the final
// consonant may double before a suffix that starts with a vowel.
bool EndsConsonantVowelConsonant(const std::string& word) {
    size_t n = word.size();
    if (n < 3) {
        return false;
    }
    char last = word[n - 1];
    return !IsVowel(last) && last != 'w' && last != 'x' && last != 'y' && IsVowel(word[n - 2]) &&
           !IsVowel(word[n - 3]);
}

bool EndsConsonantY(const std::string& word) {
    return word.size() >= 2 && word.back() == 'y' && !IsVowel(word[word.size() - 2]);
}

// Candidates for a suffix that starts with a vowel ("ed", "er", "est").
std::vector<std::string> VowelSuffixCandidates(const std::string& word, const std::string& suffix) {
    if (EndsWith(word, "e")) {
        return {word + suffix.substr(1)};
    }
    if (EndsConsonantY(word)) {
        return {word.substr(0, word.size() - 1) + "i" + suffix};
    }
    if (EndsConsonantVowelConsonant(word)) {
        std::string doubled = word + word.back() + suffix;
        // A one-syllable word always doubles; its plain form, when the list
        // knows it, belongs to another word (cutest is cute's, not cut's).
        if (VowelGroups(word) == 1) {
            return {doubled};
        }
        return {word + suffix, doubled};
    }
    return {word + suffix};
}

bool IsThirdPerson(const std::string& form, const std::string& base) {
    static const char* const kListed[] = {"am", "are", "is", "has", "does"};
    if (std::find(std::begin(kListed), std::end(kListed), form) != std::end(kListed)) {
        return true;
    }
    return form == base + "s" || form == base + "es" ||
           (EndsConsonantY(base) && form == base.substr(0, base.size() - 1) + "ies");
}

// A strong verb's participle: "gone", "taken", "sung" beside "sang".
bool LooksLikeParticiple(const std::string& form, const std::vector<std::string>& others) {
    if (EndsWith(form, "n") || EndsWith(form, "ne")) {
        return true;
    }
    for (const auto& other : others) {
        if (other.size() == form.size() && other != form) {
            size_t i = 0;
            while (i < form.size() && form[i] == other[i]) {
                ++i;
            }
            if (i < form.size() && form[i] == 'u' && other[i] == 'a') {
                return true;
            }
        }
    }
    return false;
}

std::string Spaced(std::string word) {
    std::replace(word.begin(), word.end(), '_', ' ');
    return word;
}

}  // namespace

CInflectionMaker::CInflectionMaker(const CSourceFiles& sources, CBuildReport& report)
    : sources(sources), report(report) {}

std::vector<std::string> CInflectionMaker::PluralCandidates(const std::string& noun) {
    // -f, -fe and consonant + -o plurals in -ves and -oes are irregular enough
    // to be in the exception list; the rules give the regular forms only.
    for (const char* sibilant : {"s", "x", "z", "ch", "sh"}) {
        if (EndsWith(noun, sibilant)) {
            return {noun + "es"};
        }
    }
    if (EndsConsonantY(noun)) {
        return {noun.substr(0, noun.size() - 1) + "ies"};
    }
    return {noun + "s"};
}

std::vector<std::string> CInflectionMaker::PastCandidates(const std::string& verb) {
    if (EndsWith(verb, "c")) {
        return {verb + "ked", verb + "ed"};
    }
    return VowelSuffixCandidates(verb, "ed");
}

std::vector<std::string> CInflectionMaker::ComparisonCandidates(const std::string& word,
                                                                const std::string& suffix) {
    return VowelSuffixCandidates(word, suffix);
}

void CInflectionMaker::LoadExceptions(const std::string& name, char pos, Exceptions& exceptions) {
    std::string path = sources.Require("wordnet-base", "usr/share/wordnet/" + name);
    CSourceFiles::ForEachLine(CSourceFiles::ReadAll(path),
                              [&](const std::string& line, long number) {
                                  std::istringstream fields(line);
                                  std::string form, base;
                                  if (!(fields >> form >> base)) {
                                      if (!line.empty()) {
                                          report.Malformed(path, number, "not an exception line");
                                      }
                                      return;
                                  }
                                  do {
                                      if (base != form) {
                                          exceptions[Spaced(base)].push_back(Spaced(form));
                                          irregularForms.push_back(
                                              {Spaced(form), Spaced(base), pos});
                                      }
                                  } while (fields >> base);
                              });
}

void CInflectionMaker::Load() {
    std::string path = sources.Require(kWordListPackage, "usr/share/dict/american-english-huge");
    CSourceFiles::ForEachLine(CSourceFiles::ReadAll(path), [&](const std::string& line, long) {
        if (!line.empty()) {
            wordList.insert(line);
        }
    });
    LoadExceptions("noun.exc", 'n', nounExceptions);
    LoadExceptions("verb.exc", 'v', verbExceptions);
    LoadExceptions("adj.exc", 'a', adjectiveExceptions);
    LoadExceptions("adv.exc", 'r', adverbExceptions);
}

std::string CInflectionMaker::FirstKnown(const std::vector<std::string>& candidates) {
    for (const auto& candidate : candidates) {
        if (wordList.count(candidate) != 0) {
            return candidate;
        }
    }
    ++figures.rejected;
    return std::string();
}

void CInflectionMaker::MakeNounForms(const std::string& headword, Entry& entry) {
    auto listed = nounExceptions.find(headword);
    if (listed != nounExceptions.end()) {
        entry.plurals = listed->second;
    } else if (IsSingleLowerWord(headword)) {
        std::string plural = FirstKnown(PluralCandidates(headword));
        if (!plural.empty()) {
            entry.plurals.push_back(plural);
        }
    }
    figures.plurals += entry.plurals.size();
}

void CInflectionMaker::MakeVerbForms(const std::string& headword, Entry& entry) {
    auto listed = verbExceptions.find(headword);
    if (listed != verbExceptions.end()) {
        std::vector<std::string> forms;
        for (const auto& form : listed->second) {
            if (!EndsWith(form, "ing") && !IsThirdPerson(form, headword)) {
                forms.push_back(form);
            }
        }
        bool participleIsBase = EndsWith(headword, "come") || EndsWith(headword, "run");
        for (const auto& form : forms) {
            bool participle = forms.size() > 1 && LooksLikeParticiple(form, forms);
            if (!participle || participleIsBase) {
                entry.pastTenses.push_back(form);
            }
            if (participle || (forms.size() == 1 && !participleIsBase)) {
                entry.pastParticiples.push_back(form);
            }
        }
        if (participleIsBase) {
            entry.pastParticiples.push_back(headword);
        }
    } else if (IsSingleLowerWord(headword)) {
        std::string past = FirstKnown(PastCandidates(headword));
        if (!past.empty()) {
            entry.pastTenses.push_back(past);
            entry.pastParticiples.push_back(past);
        }
    }
    figures.pastTenses += entry.pastTenses.size();
    figures.pastParticiples += entry.pastParticiples.size();
}

void CInflectionMaker::MakeComparisons(const std::string& headword, const Exceptions& exceptions,
                                       std::vector<std::string>& comparatives,
                                       std::vector<std::string>& superlatives) {
    auto listed = exceptions.find(headword);
    if (listed != exceptions.end()) {
        for (const auto& form : listed->second) {
            (EndsWith(form, "st") ? superlatives : comparatives).push_back(form);
        }
    } else if (IsSingleLowerWord(headword) && !EndsWith(headword, "ly")) {
        std::string comparative = FirstKnown(ComparisonCandidates(headword, "er"));
        std::string superlative = FirstKnown(ComparisonCandidates(headword, "est"));
        if (!comparative.empty() && !superlative.empty()) {
            comparatives.push_back(comparative);
            superlatives.push_back(superlative);
        }
    }
    figures.comparisons += comparatives.size() + superlatives.size();
}

void CInflectionMaker::MakeRedirects(CLexicon& lexicon) {
    std::map<std::string, std::string> added;  // the first base listed wins
    for (const auto& item : irregularForms) {
        if (lexicon.VariantsOf(ToLower(item.form)).empty() &&
            !lexicon.VariantsOf(ToLower(item.base)).empty()) {
            added.emplace(item.form, item.base);
        }
    }
    for (const auto& item : added) {
        lexicon.entries[item.first].redirect = item.second;
    }
    figures.redirects = added.size();
    lexicon.IndexVariants();
}

uint64_t CInflectionMaker::RedirectUnreachableForms(CLexicon& lexicon) {
    // form -> its bases in headword order; axes is a plural of both ax and
    // axe, and reaching either is right.
    std::map<std::string, std::vector<std::string>> bases;
    for (const auto& item : lexicon.entries) {
        const Entry& entry = item.second;
        for (const auto* forms : {&entry.plurals, &entry.pastTenses, &entry.pastParticiples,
                                  &entry.adjectiveComparatives, &entry.adjectiveSuperlatives,
                                  &entry.adverbComparatives, &entry.adverbSuperlatives}) {
            for (const auto& form : *forms) {
                if (lexicon.VariantsOf(ToLower(form)).empty()) {
                    bases[form].push_back(item.first);
                }
            }
        }
    }
    CLookupMirror mirror(lexicon);
    std::map<std::string, std::string> added;
    for (const auto& item : bases) {
        std::string reached = mirror.Resolve(item.first);
        bool reachesBase =
            std::any_of(item.second.begin(), item.second.end(),
                        [&](const auto& base) { return ToLower(base) == ToLower(reached); });
        // A form that is the present tense of the verb it reaches keeps that
        // meaning (does: do, rather than the plural of doe); the lists here
        // hold no present tenses.
        bool reachesItsVerb = !reached.empty() && IsThirdPerson(item.first, ToLower(reached)) &&
                              HasSenseOf(lexicon, lexicon.entries.at(reached), "v");
        if (!reachesBase && !reachesItsVerb) {
            added.emplace(item.first, item.second.front());
        }
    }
    for (const auto& item : added) {
        lexicon.entries[item.first].redirect = item.second;
    }
    lexicon.IndexVariants();
    return added.size();
}

void CInflectionMaker::Make(CLexicon& lexicon) {
    for (auto& item : lexicon.entries) {
        const std::string& headword = item.first;
        Entry& entry = item.second;
        if (HasSenseOf(lexicon, entry, "n")) {
            MakeNounForms(headword, entry);
        }
        if (HasSenseOf(lexicon, entry, "v")) {
            MakeVerbForms(headword, entry);
        }
        if (HasSenseOf(lexicon, entry, "as")) {
            MakeComparisons(headword, adjectiveExceptions, entry.adjectiveComparatives,
                            entry.adjectiveSuperlatives);
        }
        if (HasSenseOf(lexicon, entry, "r")) {
            MakeComparisons(headword, adverbExceptions, entry.adverbComparatives,
                            entry.adverbSuperlatives);
        }
    }
    MakeRedirects(lexicon);
}

}  // namespace lxdbuild
