// eSpeak NG's English phonemes (its ASCII mnemonics, voice en-us) mapped onto
// the CMU phone set with the stress of each vowel, so that words the CMU list
// lacks are written by the same converter as those it has. CSpeechPhonemes is
// stateless; a word holding a phoneme it does not know maps to nothing.
#ifndef LEXORA_TOOLS_LXDBUILD_SPEECHPHONEMES_H
#define LEXORA_TOOLS_LXDBUILD_SPEECHPHONEMES_H

#include <string>
#include <vector>

#include "tools/lxdbuild/PhoneTranscriber.h"

namespace lxdbuild {

class CSpeechPhonemes {
public:
    // The separator eSpeak NG is asked to put between the phonemes of a word.
    static constexpr char kSeparator = '_';

    // Phones of one word written as eSpeak NG mnemonics joined by kSeparator,
    // each vowel preceded by ' (stress) or , (secondary stress) when stressed,
    // e.g. "w_'O:_t#_3". Pauses are skipped (a word of pauses only gives no
    // phones). False when a phoneme has no counterpart in the CMU set.
    static bool ToPhones(const std::string& word, std::vector<Phone>& phones);
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_SPEECHPHONEMES_H
