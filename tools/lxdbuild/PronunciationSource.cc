#include "tools/lxdbuild/PronunciationSource.h"

#include <sstream>

#include "tools/lxdbuild/PhoneTranscriber.h"
#include "tools/lxdbuild/SpeechPhonemes.h"

#ifdef LXDBUILD_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace lxdbuild {

namespace {

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

void AppendWord(std::string& text, const std::string& word) {
    text += (text.empty() ? "" : " ") + word;
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
    // The list groups phones into syllables, each followed by its stress;
    // the converter needs only each vowel's stress.
    std::vector<Phone> phones;
    size_t syllableStart = 0;
    std::string token;
    while (tokens >> token) {
        if (token == "0" || token == "1" || token == "2") {
            if (syllableStart == phones.size()) {
                return false;
            }
            for (size_t i = syllableStart; i < phones.size(); ++i) {
                phones[i].stressed = token != "0" && CPhoneTranscriber::IsVowel(phones[i].name);
            }
            syllableStart = phones.size();
        } else {
            phones.push_back(Phone{token, false});
        }
    }
    if (syllableStart != phones.size()) {
        return false;
    }
    ipa = CPhoneTranscriber::ToIpa(phones);
    return !ipa.empty();
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

std::string CPronunciationSource::SpeechPhonemes(const std::string& text) {
    std::string phonemes;
#ifdef LXDBUILD_HAVE_ESPEAK
    if (!speechReady) {
        return phonemes;
    }
    // ASCII mnemonics (not IPA), with a separator between the phonemes of a word.
    const int mode = CSpeechPhonemes::kSeparator << 8;
    const void* next = text.c_str();
    while (next != nullptr) {
        const char* clause = espeak_TextToPhonemes(&next, espeakCHARS_AUTO, mode);
        if (clause == nullptr) {
            break;
        }
        AppendWord(phonemes, clause);
    }
#else
    (void)text;
#endif
    return phonemes;
}

CPronunciationSource::Speech CPronunciationSource::FromSpeech(const std::string& text,
                                                              std::string& ipa) {
    ipa.clear();
    std::istringstream words(SpeechPhonemes(text));
    std::string word;
    std::vector<Phone> phones;
    while (words >> word) {
        if (!CSpeechPhonemes::ToPhones(word, phones)) {
            ipa.clear();
            return Speech::kUnmapped;
        }
        if (phones.empty()) {
            continue;  // a pause
        }
        std::string part = CPhoneTranscriber::ToIpa(phones);
        if (part.empty()) {
            ipa.clear();
            return Speech::kUnmapped;
        }
        AppendWord(ipa, part);
    }
    return ipa.empty() ? Speech::kSilent : Speech::kPronounced;
}

std::string CPronunciationSource::Pronounce(const std::string& headword, char pos) {
    std::string ipa = FromList(ToLower(headword), pos);
    if (!ipa.empty()) {
        ++figures.fromList;
        return ipa;
    }
    bool listUsed = false;
    bool speechUsed = false;
    for (const auto& word : SplitWords(headword)) {
        std::string part = FromList(ToLower(word), 0);
        if (!part.empty()) {
            listUsed = true;
        } else {
            Speech outcome = FromSpeech(word, part);
            if (outcome != Speech::kPronounced) {
                ++figures.without;
                ++(outcome == Speech::kSilent ? figures.silent : figures.unmapped);
                return std::string();
            }
            speechUsed = true;
        }
        AppendWord(ipa, part);
    }
    if (ipa.empty()) {
        ++figures.without;
        ++figures.silent;
    } else {
        ++(listUsed && speechUsed ? figures.mixed
           : listUsed             ? figures.fromList
                                  : figures.fromSpeech);
    }
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
        entry.pronunciation = Pronounce(item.first, pos);
    }
}

}  // namespace lxdbuild
