// Pronunciations in IPA: the CMU pronouncing dictionary (Festival's lexicon
// form) converted phone by phone with stress marks, and eSpeak NG for the
// headwords the list lacks. CPronunciationSource owns the loaded lexicon and
// the synthesiser; Pronounce() always returns the same text for a word.
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
    uint64_t fromList = 0;    // headwords pronounced from the CMU list (whole or joined)
    uint64_t fromSpeech = 0;  // headwords pronounced by eSpeak NG
    uint64_t without = 0;
};

class CPronunciationSource {
public:
    CPronunciationSource(const CSourceFiles& sources, CBuildReport& report, bool useSpeech);
    virtual ~CPronunciationSource();
    CPronunciationSource(const CPronunciationSource&) = delete;
    CPronunciationSource& operator=(const CPronunciationSource&) = delete;

    void Load();
    // Gives every headword with senses its pronunciation.
    void AddTo(CLexicon& lexicon);
    const PronunciationFigures& Figures() const { return figures; }

    // One lexicon line, e.g. ("cat" nil (((k ae t) 1))), as word, part-of-
    // speech tag and IPA; false when the line is not of that form.
    static bool ParseEntry(const std::string& line, std::string& word, std::string& tag,
                           std::string& ipa);

    static constexpr const char* kPackage = "festlex-cmu";

private:
    // IPA from the list for a part-of-speech preference, "" when unknown.
    std::string FromList(const std::string& lowerWord, char pos) const;
    std::string FromSpeech(const std::string& text);

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
