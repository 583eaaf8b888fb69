// Pronunciations in IPA: the CMU pronouncing dictionary (Festival's lexicon
// form), and eSpeak NG's phonemes for the words the list lacks, both as CMU
// phones written by one converter (CPhoneTranscriber). CPronunciationSource
// owns the loaded lexicon and the synthesiser; Pronounce() always returns
// the same text for a word.
#ifndef LEXORA_TOOLS_LXDBUILD_PRONUNCIATIONSOURCE_H
#define LEXORA_TOOLS_LXDBUILD_PRONUNCIATIONSOURCE_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/Report.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

struct PronunciationFigures {
    uint64_t fromList = 0;    // headwords whose words all come from the CMU list
    uint64_t fromSpeech = 0;  // headwords whose words all come from eSpeak NG
    uint64_t mixed = 0;       // phrases with words from both
    uint64_t without = 0;     // headwords left without a pronunciation, of which
    uint64_t silent = 0;      //   a word eSpeak NG gives no phonemes for
    uint64_t unmapped = 0;    //   a word whose phonemes do not map onto CMU phones
};

class CPronunciationSource {
public:
    // How eSpeak NG's answer for a text turned out.
    enum class Speech { kPronounced, kSilent, kUnmapped };

    CPronunciationSource(const CSourceFiles& sources, CBuildReport& report, bool useSpeech);
    virtual ~CPronunciationSource();
    CPronunciationSource(const CPronunciationSource&) = delete;
    CPronunciationSource& operator=(const CPronunciationSource&) = delete;

    void Load();
    // Gives every headword with senses its pronunciation.
    void AddTo(CLexicon& lexicon);
    const PronunciationFigures& Figures() const { return figures; }

    // IPA of a whole headword: the list's entry for it (tagged with the part
    // of speech pos when it has several), else word by word from the list or
    // eSpeak NG, joined by spaces; "" when a word has none, with the reason
    // counted in Figures().
    std::string Pronounce(const std::string& headword, char pos);
    // IPA from the list for a lower-case word and a part-of-speech
    // preference (0: none), "" when the list lacks the word.
    std::string FromList(const std::string& lowerWord, char pos) const;
    // IPA of a text from eSpeak NG's phonemes, whatever the list holds.
    Speech FromSpeech(const std::string& text, std::string& ipa);

    // One lexicon line, e.g. ("cat" nil (((k ae t) 1))), as word, part-of-
    // speech tag and IPA; false when the line is not of that form.
    static bool ParseEntry(const std::string& line, std::string& word, std::string& tag,
                           std::string& ipa);

    static constexpr const char* kPackage = "festlex-cmu";

private:
    // eSpeak NG's mnemonics for a text, words separated by spaces.
    std::string SpeechPhonemes(const std::string& text);

    const CSourceFiles& sources;
    CBuildReport& report;
    bool useSpeech;
    bool speechReady = false;
    // lower-case word -> (tag, IPA) in file order
    std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> entries;
    PronunciationFigures figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_PRONUNCIATIONSOURCE_H
