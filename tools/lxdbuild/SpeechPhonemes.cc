#include "tools/lxdbuild/SpeechPhonemes.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace lxdbuild {

namespace {

// eSpeak NG's phonemes of American English as CMU phones. Its vowels of
// British length and quality fall onto the American ones (0, the lot vowel,
// is ɑ; aa, the bath vowel, is æ), its r-coloured vowels onto vowel and r,
// syllabic consonants onto schwa and consonant, the flap and the glottal stop
// onto t, and foreign sounds onto their nearest English phone.
const std::map<std::string, std::string>& PhonemeTable() {
    static const std::map<std::string, std::string> table = {
        {"p", "p"},     {"b", "b"},       {"t", "t"},       {"t#", "t"},     {"t2", "t"},
        {"?", "t"},     {"d", "d"},       {"d#", "d"},      {"k", "k"},      {"g", "g"},
        {"x", "k"},     {"f", "f"},       {"v", "v"},       {"T", "th"},     {"D", "dh"},
        {"s", "s"},     {"z", "z"},       {"S", "sh"},      {"Z", "zh"},     {"h", "hh"},
        {"C", "hh"},    {"tS", "ch"},     {"dZ", "jh"},     {"m", "m"},      {"n", "n"},
        {"N", "ng"},    {"l", "l"},       {"l#", "l"},      {"r", "r"},      {"w", "w"},
        {"j", "y"},     {"n-", "ax n"},   {"m-", "ax m"},   {"@L", "ax l"},  {"@", "ax"},
        {"@-", "ax"},   {"@2", "ax"},     {"a#", "ax"},     {"3", "er"},     {"3:", "er"},
        {"a", "ae"},    {"aa", "ae"},     {"A:", "aa"},     {"A~", "aa"},    {"0", "aa"},
        {"A@", "aa r"}, {"O:", "ao"},     {"O", "ao"},      {"O2", "ao"},    {"O~", "ao"},
        {"O@", "ao r"}, {"o@", "ao r"},   {"o", "ow"},      {"oU", "ow"},    {"V", "ah"},
        {"E", "eh"},    {"e", "eh"},      {"e@", "eh r"},   {"I", "ih"},     {"I2", "ih"},
        {"I#", "ih"},   {"i", "iy"},      {"i:", "iy"},     {"i@", "iy ax"}, {"i@3", "ih r"},
        {"U", "uh"},    {"u", "uw"},      {"u:", "uw"},     {"U@", "uh r"},  {"eI", "ey"},
        {"aI", "ay"},   {"aI@", "ay ax"}, {"aI3", "ay er"}, {"aU", "aw"},    {"OI", "oy"},
    };
    return table;
}

bool IsPause(const std::string& phoneme) {
    static const std::set<std::string> pauses = {"", ";", ":", "!", "|", "_", "_:", "_!"};
    return pauses.count(phoneme) != 0;
}

// Appends a phoneme's phones; its first vowel takes the stress (a stressed
// schwa is the CMU set's stressed ah), as in ˈfaɪɚ for fire.
void AddPhones(const std::string& cmuPhones, bool stressed, std::vector<Phone>& phones) {
    std::istringstream names(cmuPhones);
    std::string name;
    while (names >> name) {
        Phone phone{name, stressed && CPhoneTranscriber::IsVowel(name)};
        if (phone.stressed) {
            stressed = false;
            phone.name = name == "ax" ? "ah" : name;
        }
        phones.push_back(phone);
    }
}

// eSpeak NG writes the r of an r-coloured vowel again before a vowel that
// follows (3_r_'i:, o@_r_i; r- at the end of a word), the list does not.
bool RepeatsR(const std::string& phoneme, const std::vector<Phone>& phones) {
    return (phoneme == "r" || phoneme == "r-") && !phones.empty() &&
           (phones.back().name == "er" || phones.back().name == "r");
}

// eSpeak NG leaves the later parts of a compound unstressed (ˈɛɹkɹæft), the
// list gives them secondary stress (ˈɛɹˌkɹæft): a full vowel after the first
// stressed one is stressed (not oʊ, i or u, which the list leaves unstressed
// as often as not).
bool IsFullVowel(const std::string& phoneme) {
    static const std::set<std::string> full = {
        "a", "aa", "A:", "A~", "0",  "A@", "O:", "O",   "O2",  "O~", "O@", "o@", "V",
        "E", "e",  "e@", "U",  "U@", "eI", "aI", "aI@", "aI3", "aU", "OI", "3:"};
    return full.count(phoneme) != 0;
}

// eSpeak NG's unstressed foot vowel after y (-ular, -ulate) is the list's
// schwa, not a full vowel (ˈspɛkjəˌleɪtɚ, not ˈspɛˌkjʊˌleɪtɚ).
bool IsFootAfterY(const std::string& phoneme, const std::vector<Phone>& phones) {
    return phoneme == "U" && !phones.empty() && phones.back().name == "y";
}

size_t NextVowel(const std::vector<Phone>& phones, size_t i) {
    size_t next = i + 1;
    while (next < phones.size() && !CPhoneTranscriber::IsVowel(phones[next].name)) {
        ++next;
    }
    return next;
}

// eSpeak NG's unstressed kit vowel (phone i) as the list writes it: the
// vowel of happy before a vowel (ˌpɑɹʃiˈæləti); after the stress, schwa at
// the end of a syllable or in the last one (ˈænəˌlin, ˈɹæbət), but not
// before ng, k, sh or v (-ing, -ic, -ish, -ive keep it).
std::string UnstressedKit(const std::vector<Phone>& phones, size_t i, bool afterStress) {
    static const std::set<std::string> keep = {"ng", "k", "sh", "v"};
    size_t next = NextVowel(phones, i);
    if (next == i + 1) {
        return next < phones.size() ? "iy" : "ih";
    }
    bool ends = next == phones.size() || CPhoneTranscriber::IsOnset(phones, i + 1, next);
    return afterStress && ends && keep.count(phones[i + 1].name) == 0 ? "ax" : "ih";
}

// Where eSpeak NG's vowels and stresses differ from the list's as a rule:
// its unstressed kit (above); dress starting a word before the stress (em-,
// en-, ex-) is kit (ɪkˈsplɔɹ); in the last syllable after the stress, kit
// is unstressed (ˈmɔɹəlɪst) and i, oʊ, u before a consonant are stressed
// (ˈkiˌnoʊt, ˈɔɪlˌsid).
void MatchListVowels(std::vector<Phone>& phones) {
    bool afterStress = false;
    for (size_t i = 0; i < phones.size(); ++i) {
        Phone& phone = phones[i];
        size_t next = NextVowel(phones, i);
        if (phone.name == "ih" && !phone.stressed) {
            phone.name = UnstressedKit(phones, i, afterStress);
        } else if (phone.name == "eh" && !phone.stressed && i == 0 && !afterStress) {
            phone.name = "ih";
        } else if (afterStress && next == phones.size() && phone.name == "ih") {
            phone.stressed = false;
        } else if (afterStress && next == phones.size() && i + 1 < next &&
                   (phone.name == "iy" || phone.name == "ow" || phone.name == "uw")) {
            phone.stressed = true;
        }
        afterStress = afterStress || phone.stressed;
    }
}

// eSpeak NG carries the ng of a stressed k or g into a prefix before it
// (ɪŋˈkeɪpəbəl, ˈkæŋˌkæn), the list keeps its n (ɪnˈkeɪpəbəl).
void KeepPrefixN(std::vector<Phone>& phones) {
    for (size_t i = 0; i + 1 < phones.size(); ++i) {
        const std::string& velar = phones[i + 1].name;
        size_t next = NextVowel(phones, i + 1);
        if (phones[i].name == "ng" && (velar == "k" || velar == "g") && next < phones.size() &&
            phones[next].stressed && CPhoneTranscriber::IsOnset(phones, i + 1, next)) {
            phones[i].name = "n";
        }
    }
}

// Whether the word ends in these phones after a stem of two phones or more
// (sling is no -ling).
bool EndsWith(const std::vector<Phone>& phones, const std::vector<std::string>& ending) {
    if (phones.size() < ending.size() + 2) return false;
    size_t start = phones.size() - ending.size();
    for (size_t i = 0; i < ending.size(); ++i) {
        if (phones[start + i].name != ending[i]) return false;
    }
    return true;
}

// Suffixes the list writes with a schwa that eSpeak NG leaves out or
// writes as i: -ically (ˈmædʒɪkəli), -ling after a consonant (ˈmɛdəlɪŋ),
// and -ily (ˈheɪstəli).
void MatchListSuffixes(std::vector<Phone>& phones) {
    const std::string& before = phones[phones.size() - std::min<size_t>(phones.size(), 4)].name;
    if (EndsWith(phones, {"ih", "k", "l", "iy"})) {
        phones.insert(phones.end() - 2, Phone{"ax", false});
    } else if (EndsWith(phones, {"l", "ih", "ng"}) && !CPhoneTranscriber::IsVowel(before) &&
               before != "r" && before != "l") {
        phones.insert(phones.end() - 3, Phone{"ax", false});
    } else if (EndsWith(phones, {"iy", "l", "iy"}) && !phones[phones.size() - 3].stressed &&
               !CPhoneTranscriber::IsVowel(before)) {
        phones[phones.size() - 3].name = "ax";
    }
}

}  // namespace

bool CSpeechPhonemes::ToPhones(const std::string& word, std::vector<Phone>& phones) {
    phones.clear();
    std::istringstream stream(word);
    std::string phoneme;
    bool afterStress = false;
    while (std::getline(stream, phoneme, kSeparator)) {
        bool stressed = !phoneme.empty() && (phoneme[0] == '\'' || phoneme[0] == ',');
        if (stressed) {
            phoneme.erase(0, 1);
        }
        if (IsPause(phoneme) || RepeatsR(phoneme, phones)) {
            continue;
        }
        if (!stressed && IsFootAfterY(phoneme, phones)) {
            phoneme = "@";
        }
        auto found = PhonemeTable().find(phoneme == "r-" ? "r" : phoneme);
        if (found == PhonemeTable().end()) {
            return false;
        }
        stressed = stressed || (afterStress && IsFullVowel(phoneme));
        afterStress = afterStress || stressed;
        AddPhones(found->second, stressed, phones);
    }
    MatchListVowels(phones);
    KeepPrefixN(phones);
    MatchListSuffixes(phones);
    return true;
}

}  // namespace lxdbuild
