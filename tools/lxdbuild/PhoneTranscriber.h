// General American IPA for a word given as phones of the CMU set (aa, ae,
// ... zh) with the stress of each vowel. CPhoneTranscriber is stateless:
// every pronunciation of the dictionary, whatever its source, is written by
// this one converter, so all share one set of symbols and one stress rule.
#ifndef LEXORA_TOOLS_LXDBUILD_PHONETRANSCRIBER_H
#define LEXORA_TOOLS_LXDBUILD_PHONETRANSCRIBER_H

#include <string>
#include <vector>

namespace lxdbuild {

struct Phone {
    std::string name;       // a phone of the CMU set, lower case
    bool stressed = false;  // for vowels: primary or secondary stress
};

class CPhoneTranscriber {
public:
    // The IPA of one word: its syllables begin with the longest consonant
    // run English allows at the start of a syllable; a word of several
    // syllables gets ˈ before its first stressed syllable and ˌ before later
    // ones. "" when a phone is not of the set.
    static std::string ToIpa(const std::vector<Phone>& phones);

    static bool IsVowel(const std::string& phone);
    // Whether phones [begin, end) may begin an English syllable.
    static bool IsOnset(const std::vector<Phone>& phones, size_t begin, size_t end);
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_PHONETRANSCRIBER_H
