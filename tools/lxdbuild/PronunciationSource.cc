#include "tools/lxdbuild/PronunciationSource.h"

#include <map>
#include <sstream>

#ifdef LXDBUILD_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace lxdbuild {

namespace {

const char* const kPrimaryStress = "\xCB\x88";    // U+02C8
const char* const kSecondaryStress = "\xCB\x8C";  // U+02CC

// General American IPA for the lexicon's phones; er and ah depend on stress.
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

std::string PhoneToIpa(const std::string& phone, bool stressed) {
    if (phone == "er" && !stressed) {
        return "ɚ";
    }
    if (phone == "ah" && !stressed) {
        return "ə";
    }
    auto found = PhoneTable().find(phone);
    return found == PhoneTable().end() ? std::string() : found->second;
}

char TagOfPos(char pos) {
    switch (pos) {
        case 'n':
            return 'n';
        case 'v':
            return 'v';
        case 'a':
        case 's':
            return 'j';
        default:
            return 0;
    }
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '-') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

CPronunciationSource::CPronunciationSource(const CSourceFiles& sources, CBuildReport& report,
                                           bool useSpeech)
    : sources(sources), report(report), useSpeech(useSpeech) {}

CPronunciationSource::~CPronunciationSource() {
#ifdef LXDBUILD_HAVE_ESPEAK
    if (speechReady) {
        espeak_Terminate();
    }
#endif
}

bool CPronunciationSource::ParseEntry(const std::string& line, std::string& word, std::string& tag,
                                      std::string& ipa) {
    if (line.compare(0, 2, "(\"") != 0) {
        return false;
    }
    size_t quote = line.find('"', 2);
    if (quote == std::string::npos || quote == 2) {
        return false;
    }
    word = line.substr(2, quote - 2);
    std::string rest = line.substr(quote + 1);
    for (char& c : rest) {
        if (c == '(' || c == ')') {
            c = ' ';
        }
    }
    std::istringstream tokens(rest);
    if (!(tokens >> tag)) {
        return false;
    }
    std::vector<std::pair<std::vector<std::string>, bool>> syllables;
    std::vector<std::string> phones;
    std::string token;
    while (tokens >> token) {
        if (token == "0" || token == "1" || token == "2") {
            if (phones.empty()) {
                return false;
            }
            syllables.emplace_back(phones, token != "0");
            phones.clear();
        } else {
            phones.push_back(token);
        }
    }
    if (syllables.empty() || !phones.empty()) {
        return false;
    }
    ipa.clear();
    bool primaryGiven = false;
    for (const auto& syllable : syllables) {
        if (syllable.second && syllables.size() > 1) {
            ipa += primaryGiven ? kSecondaryStress : kPrimaryStress;
            primaryGiven = true;
        }
        for (const auto& phone : syllable.first) {
            std::string symbol = PhoneToIpa(phone, syllable.second);
            if (symbol.empty()) {
                return false;
            }
            ipa += symbol;
        }
    }
    return true;
}

void CPronunciationSource::Load() {
    std::string path = sources.Require(kPackage, "usr/share/festival/dicts/cmu/cmudict-0.4.out");
    CSourceFiles::ForEachLine(CSourceFiles::ReadAll(path),
                              [&](const std::string& line, long number) {
                                  if (line.empty() || line[0] != '(') {
                                      return;  // the format line and blank lines
                                  }
                                  std::string word, tag, ipa;
                                  if (!ParseEntry(line, word, tag, ipa)) {
                                      report.Malformed(path, number, "not a lexicon entry");
                                      return;
                                  }
                                  entries[ToLower(word)].emplace_back(tag, ipa);
                              });
#ifdef LXDBUILD_HAVE_ESPEAK
    if (useSpeech) {
        speechReady = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                                        espeakINITIALIZE_DONT_EXIT) > 0 &&
                      espeak_SetVoiceByName("en-us") == EE_OK;
        if (!speechReady) {
            report.Warn(
                "eSpeak NG cannot start; words outside the CMU list stay unpronounced "
                "(apt-get install espeak-ng-data)");
        }
    }
#endif
}

std::string CPronunciationSource::FromList(const std::string& lowerWord, char pos) const {
    auto found = entries.find(lowerWord);
    if (found == entries.end()) {
        return std::string();
    }
    char wanted = TagOfPos(pos);
    for (const auto& entry : found->second) {
        if (wanted != 0 && entry.first.size() == 1 && entry.first[0] == wanted) {
            return entry.second;
        }
    }
    return found->second.front().second;
}

std::string CPronunciationSource::FromSpeech(const std::string& text) {
    std::string ipa;
#ifdef LXDBUILD_HAVE_ESPEAK
    if (!speechReady) {
        return ipa;
    }
    const void* next = text.c_str();
    while (next != nullptr) {
        const char* phonemes = espeak_TextToPhonemes(&next, espeakCHARS_AUTO, espeakPHONEMES_IPA);
        if (phonemes == nullptr) {
            break;
        }
        if (!ipa.empty() && *phonemes != '\0') {
            ipa += ' ';
        }
        ipa += phonemes;
    }
    size_t end = ipa.find_last_not_of(" \n\r\f");
    ipa.erase(end == std::string::npos ? 0 : end + 1);
#else
    (void)text;
#endif
    return ipa;
}

void CPronunciationSource::AddTo(CLexicon& lexicon) {
    uint64_t done = 0;
    for (auto& item : lexicon.entries) {
        report.Progress(done++, lexicon.entries.size());
        Entry& entry = item.second;
        // Redirects are left out: the page they lead to is pronounced.
        if (entry.senses.empty() && entry.minorSenses.empty() && entry.formOf.empty()) {
            continue;
        }
        char pos = entry.senses.empty() ? 0 : lexicon.synsets[entry.senses.front()].pos;
        std::string lower = ToLower(item.first);
        std::string ipa = FromList(lower, pos);
        if (ipa.empty()) {
            std::vector<std::string> words = SplitWords(lower);
            for (const auto& word : words) {
                std::string part = words.size() > 1 ? FromList(word, 0) : std::string();
                if (part.empty()) {
                    ipa.clear();
                    break;
                }
                ipa += ipa.empty() ? part : " " + part;
            }
        }
        if (!ipa.empty()) {
            ++figures.fromList;
        } else if (!(ipa = FromSpeech(item.first)).empty()) {
            ++figures.fromSpeech;
        } else {
            ++figures.without;
        }
        entry.pronunciation = ipa;
    }
}

}  // namespace lxdbuild
