// The small dictionary the render manager tests share, and its finished
// pages written out by hand so that the tests compare the engine's output
// with text they did not generate. "cat" has a pronunciation, a plural, two
// noun senses (the second linked to "man") and a thesaurus line; "man" and
// "dog" have one sense each. The hyphenation patterns break "cat" after its
// first letter, and the IPA table turns "@" into the schwa image.
#ifndef LEXORA_TESTS_RENDERMANAGER_CATDICTIONARY_H
#define LEXORA_TESTS_RENDERMANAGER_CATDICTIONARY_H

#include "tests/render/RenderFixture.h"

inline void WriteCatDictionary(lxtest::TestDatabase& db) {
    const uint32_t man =
        db.Sense({{"man", "adult male"}, "an adult person who is male", {}}, "man");
    const uint32_t feline =
        db.Sense({{"cat", "true cat"}, "feline mammal$the cat sat$a dog barked", {}});
    const uint32_t guy =
        db.Sense({{"guy", "cat"}, "an informal term for a youth", {Link(140, "man")}});
    db.Word("cat", {{lxd::kKindPronunciation, db.Line("k@t")},
                    {lxd::kKindPlural, db.Line("cats")},
                    {lxd::kKindNoun, feline},
                    {lxd::kKindNoun, guy},
                    {lxd::kKindThesaurusNoun, db.Line("kitty,puss {informal}")}});
    db.Word("man", {{lxd::kKindNoun, man}});
    db.Word("dog", {{lxd::kKindNoun, db.Sense({{"dog"}, "a canine", {}})}});
    db.Writer().SetHyphenPatterns({"c1a"});
}

namespace expected {

const std::string kIPATable = "# symbol, TAB, image\n@\t<img src=\"ipa/schwa.png\" />\n";
const std::string kOpening = "<div id=\"LXDefinition\"><p class=\"header\" id=\"header\">";
const std::string kSpeaker =
    "&nbsp;&nbsp;<a href=\"~playaudio\"><img id=\"LXSpeaker\" src=\"images/speaker.png\" /></a>";

inline std::string Synonyms(const std::string& word) {
    return kSynonyms + WordLink(word, true) + "</span>";
}

// The link icon of the second sense counts all references before it.
inline std::string CatDictionary() {
    return kOpening +
           "cat</p><p class=\"pron\"><a href=\"~showipa\">c&middot;at /k<img "
           "src=\"ipa/schwa.png\" />t/</a>" +
           kSpeaker +
           "</p><p class=\"wordtype\">noun&nbsp;<sup><smaller><b><font "
           "color=#808080>1</font></b></smaller></sup></p><ol><li class=\"definition\">feline "
           "mammal &#x2022; <span class=\"sample\">the cat sat</span> " +
           Synonyms("true cat") + "</li><li class=\"definition\">an informal term for a youth" +
           "&nbsp;<a href=\"cat%3A4\"><img src=\"images/link.png\" border=0 /></a>" +
           Synonyms("guy") +
           "</li></ol><table cellspacing=\"4\"><tr><td valign=top><b "
           "class=\"footnote\"><sup>1</sup></b></td><td><span class=\"footnote\" >plural: "
           "cats</span></td></tr></table></div>";
}

// The links view of "cat": all of it, or the one sense whose definition is given.
inline std::string CatLinks(const std::string& senseDefinition = "") {
    const std::string sense =
        senseDefinition.empty() ? "" : "<p class=\"linkdefinition\">" + senseDefinition + "</p>";
    return kOpening + "cat</p><p class=\"wordtype\">noun</p>" + sense +
           "<p class=\"link\"><i>synonym:</i> " +
           (sense.empty() ? WordLink("guy", false) + WordLink("true cat", true)
                          : WordLink("guy", true)) +
           "</p><p class=\"link\"><i>more generic (hypernym):</i> " +
           WordLink("adult male", false) + WordLink("man", true) + "</div>";
}

inline std::string CatThesaurus() {
    return kOpening +
           "cat</p><p class=\"wordtype\">noun</p><p class=\"thes\">kitty, puss "
           "<i>(informal)</i></p></div>";
}

// Neither hyphenation nor pronunciation: the speaker link stays in the header.
inline std::string DogDictionary() {
    return kOpening + "dog" + kSpeaker +
           "</p><p class=\"wordtype\">noun</p><ol><li class=\"definition\">a "
           "canine</li></ol></div>";
}

}  // namespace expected

#endif  // LEXORA_TESTS_RENDERMANAGER_CATDICTIONARY_H
