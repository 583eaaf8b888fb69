#include "tools/lxdbuild/PhoneTranscriber.h"

#include <map>
#include <set>

namespace lxdbuild {

namespace {

const char* const kPrimaryStress = "\xCB\x88";    // U+02C8
const char* const kSecondaryStress = "\xCB\x8C";  // U+02CC

// General American IPA for the phones; er and ah depend on stress.
const std::map<std::string, std::string>& PhoneTable() {
    static const std::map<std::string, std::string> table = {
        {"aa", "ɑ"},  {"ae", "æ"},  {"ah", "ʌ"},  {"ao", "ɔ"}, {"aw", "aʊ"}, {"ax", "ə"},
        {"ay", "aɪ"}, {"b", "b"},   {"ch", "tʃ"}, {"d", "d"},  {"dh", "ð"},  {"eh", "ɛ"},
        {"er", "ɝ"},  {"ey", "eɪ"}, {"f", "f"},   {"g", "ɡ"},  {"hh", "h"},  {"ih", "ɪ"},
        {"iy", "i"},  {"jh", "dʒ"}, {"k", "k"},   {"l", "l"},  {"m", "m"},   {"n", "n"},
        {"ng", "ŋ"},  {"ow", "oʊ"}, {"oy", "ɔɪ"}, {"p", "p"},  {"r", "ɹ"},   {"s", "s"},
        {"sh", "ʃ"},  {"t", "t"},   {"th", "θ"},  {"uh", "ʊ"}, {"uw", "u"},  {"v", "v"},
        {"w", "w"},   {"y", "j"},   {"z", "z"},   {"zh", "ʒ"},
    };
    return table;
}

// The consonant runs that may begin an English syllable (any single
// consonant but ng begins one too).
const std::set<std::string>& ClusterOnsets() {
    static const std::set<std::string> onsets = {
        "p r",   "b r",   "t r",   "d r",   "k r",   "g r",   "f r",   "th r",  "sh r",
        "p l",   "b l",   "k l",   "g l",   "f l",   "s l",   "t w",   "d w",   "k w",
        "g w",   "s w",   "th w",  "s p",   "s t",   "s k",   "s m",   "s n",   "s f",
        "p y",   "b y",   "k y",   "g y",   "f y",   "v y",   "m y",   "n y",   "hh y",
        "s p r", "s p l", "s t r", "s k r", "s k w", "s k l", "s p y", "s k y",
    };
    return onsets;
}

}  // namespace

bool CPhoneTranscriber::IsOnset(const std::vector<Phone>& phones, size_t begin, size_t end) {
    if (end - begin == 1) {
        return phones[begin].name != "ng";
    }
    std::string run;
    for (size_t i = begin; i < end; ++i) {
        run += (run.empty() ? "" : " ") + phones[i].name;
    }
    return ClusterOnsets().count(run) != 0;
}

namespace {

std::string PhoneToIpa(const Phone& phone) {
    if (phone.name == "er" && !phone.stressed) {
        return "ɚ";
    }
    if (phone.name == "ah" && !phone.stressed) {
        return "ə";
    }
    auto found = PhoneTable().find(phone.name);
    return found == PhoneTable().end() ? std::string() : found->second;
}

// Where each syllable begins: at the first phone, then, between two vowels,
// at the longest run of the consonants before the second that is an onset.
std::vector<size_t> SyllableStarts(const std::vector<Phone>& phones) {
    std::vector<size_t> starts;
    size_t previousVowel = phones.size();
    for (size_t i = 0; i < phones.size(); ++i) {
        if (!CPhoneTranscriber::IsVowel(phones[i].name)) {
            continue;
        }
        if (previousVowel == phones.size()) {
            starts.push_back(0);
        } else {
            size_t start = i;
            while (start > previousVowel + 1 && CPhoneTranscriber::IsOnset(phones, start - 1, i)) {
                --start;
            }
            starts.push_back(start);
        }
        previousVowel = i;
    }
    return starts;
}

// Whether the vowel of the syllable starting at phone `start` is stressed;
// only asked of words of several syllables, so the syllable has a vowel.
bool SyllableStressed(const std::vector<Phone>& phones, size_t start) {
    while (!CPhoneTranscriber::IsVowel(phones[start].name)) {
        ++start;
    }
    return phones[start].stressed;
}

}  // namespace

bool CPhoneTranscriber::IsVowel(const std::string& phone) {
    static const std::set<std::string> vowels = {"aa", "ae", "ah", "ao", "aw", "ax", "ay", "eh",
                                                 "er", "ey", "ih", "iy", "ow", "oy", "uh", "uw"};
    return vowels.count(phone) != 0;
}

std::string CPhoneTranscriber::ToIpa(const std::vector<Phone>& phones) {
    std::vector<size_t> starts = SyllableStarts(phones);
    if (starts.empty()) {
        starts.push_back(0);  // no vowel (hmm, pst): one unstressed syllable
    }
    std::string ipa;
    bool primaryGiven = false;
    size_t syllable = 0;
    for (size_t i = 0; i < phones.size(); ++i) {
        if (syllable < starts.size() && starts[syllable] == i) {
            if (starts.size() > 1 && SyllableStressed(phones, i)) {
                ipa += primaryGiven ? kSecondaryStress : kPrimaryStress;
                primaryGiven = true;
            }
            ++syllable;
        }
        std::string symbol = PhoneToIpa(phones[i]);
        if (symbol.empty()) {
            return std::string();
        }
        ipa += symbol;
    }
    return ipa;
}

}  // namespace lxdbuild
