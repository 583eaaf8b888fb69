// Pieces of the finished definition pages, written out by hand so that the
// tests compare the engine's output with text they did not generate.
#ifndef LEXORA_TESTS_RENDERMANAGER_EXPECTEDHTML_H
#define LEXORA_TESTS_RENDERMANAGER_EXPECTEDHTML_H

#include <string>

namespace expected {

const std::string kOpening = "<div id=\"LXDefinition\"><p class=\"header\" id=\"header\">";
const std::string kSpeaker =
    "&nbsp;&nbsp;<a href=\"~playaudio\"><img id=\"LXSpeaker\" src=\"images/speaker.png\" /></a>";
const std::string kSchwa = "<img src=\"ipa/schwa.png\" />";
const std::string kSchwaRow = "@\t<img src=\"ipa/schwa.png\" />\n";

inline std::string WordLink(const std::string& word, bool last) {
    return "<a style=\"text-decoration: none; color: #2040C0; \" href=\"" + word + "\">" + word +
           (last ? "</a>" : "</a>, ");
}

inline std::string Synonyms(const std::string& word) {
    return "<br><span class=\"syn\"><i style=\"color: #808080\">syn: </i>" + WordLink(word, true) +
           "</span>";
}

inline std::string LinkIcon(const std::string& word, int n) {
    return "&nbsp;<a href=\"" + word + "%3A" + std::to_string(n) +
           "\"><img src=\"images/link.png\" border=0 /></a>";
}

inline std::string LinkGroup(const std::string& type, const std::string& words) {
    return "<p class=\"link\"><i>" + type + ":</i> " + words;
}

inline std::string FootnoteMark(int n) {
    return "&nbsp;<sup><smaller><b><font color=#808080>" + std::to_string(n) +
           "</font></b></smaller></sup>";
}

inline std::string FootnoteTable(const std::string& note) {
    return "<table cellspacing=\"4\"><tr><td valign=top><b class=\"footnote\"><sup>1</sup></b>"
           "</td><td><span class=\"footnote\" >" +
           note + "</span></td></tr></table>";
}

// The dictionary view of "cat" as the tests' databases define it: hyphenated
// after the c, pronounced k@t, plural cats, two noun senses of which the
// second (reference 4) has a link.
inline std::string CatDictionary() {
    return kOpening + "cat</p><p class=\"pron\"><a href=\"~showipa\">c&middot;at /k" + kSchwa +
           "t/</a>" + kSpeaker + "</p><p class=\"wordtype\">noun" + FootnoteMark(1) +
           "</p><ol><li class=\"definition\">feline mammal &#x2022; <span "
           "class=\"sample\">the cat sat</span> " +
           Synonyms("true cat") + "</li><li class=\"definition\">an informal term for a youth" +
           LinkIcon("cat", 4) + Synonyms("guy") + "</li></ol>" + FootnoteTable("plural: cats") +
           "</div>";
}

inline std::string CatLinks() {
    return kOpening + "cat</p><p class=\"wordtype\">noun</p>" +
           LinkGroup("synonym", WordLink("guy", false) + WordLink("true cat", true)) + "</p>" +
           LinkGroup("more generic (hypernym)",
                     WordLink("adult male", false) + WordLink("man", true)) +
           "</div>";
}

inline std::string CatSenseFourLinks() {
    return kOpening +
           "cat</p><p class=\"wordtype\">noun</p><p class=\"linkdefinition\">an informal term for "
           "a youth</p>" +
           LinkGroup("synonym", WordLink("guy", true)) + "</p>" +
           LinkGroup("more generic (hypernym)",
                     WordLink("adult male", false) + WordLink("man", true)) +
           "</div>";
}

}  // namespace expected

#endif  // LEXORA_TESTS_RENDERMANAGER_EXPECTEDHTML_H
