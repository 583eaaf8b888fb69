#include "meaning/QueryHint.h"

#include <algorithm>

#include "meaning/MeaningFormat.h"

namespace {

// Words read from the opening of a description: enough for "a person who".
constexpr size_t kOpeningWords = 4;

bool IsArticle(const std::string& word) {
    return word == "a" || word == "an" || word == "the";
}

bool IsOneOf(const std::string& word, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* item) { return word == item; });
}

// The category a description's head noun names ("an animal that ...").
uint32_t CategoryOfHead(const std::string& head) {
    if (IsOneOf(head, {"person", "someone", "somebody", "people", "man", "woman"})) {
        return lxm::kCategoryPerson;
    }
    if (IsOneOf(head, {"animal", "bird", "fish", "insect", "creature", "mammal", "reptile"})) {
        return lxm::kCategoryAnimal;
    }
    if (IsOneOf(head, {"instrument", "device", "tool", "machine", "building", "room", "vehicle",
                       "container", "weapon", "garment", "drug", "medicine", "utensil", "implement",
                       "appliance", "structure", "equipment", "furniture"})) {
        return lxm::kCategoryArtifact;
    }
    if (IsOneOf(head, {"period", "time"})) return lxm::kCategoryTime;
    if (IsOneOf(head, {"word", "phrase", "speech", "saying"})) return lxm::kCategoryCommunication;
    return 0;
}

// An adverb in -ly that opens a description qualifies the adjective after it
// ("easily frightened", "extremely hungry"), unlike a noun in -ly followed by
// "of" ("family of ...").
bool IsDescribingAdverb(const std::string& word, const std::string& next) {
    return word.size() > 5 && word.compare(word.size() - 2, 2, "ly") == 0 && next != "of";
}

}  // namespace

CQueryHint::CQueryHint(const char* text) {
    const std::vector<std::string> words = OpeningWords(text);
    ReadPartOfSpeech(words);
    ReadCategories(words);
}

std::vector<std::string> CQueryHint::OpeningWords(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* at = text;; ++at) {
        const char c = *at;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'') {
            word += static_cast<char>(c | 0x20);
            continue;
        }
        if (!word.empty()) words.push_back(std::move(word));
        word.clear();
        if (c == '\0' || words.size() == kOpeningWords) break;
    }
    return words;
}

void CQueryHint::ReadPartOfSpeech(const std::vector<std::string>& words) {
    if (words.size() < 2) return;
    if (IsArticle(words[0])) partOfSpeech = lxm::kSenseNoun;
    if (words[0] == "to") partOfSpeech = lxm::kSenseVerb;
    describing = IsOneOf(words[0], {"very", "too", "able", "unable", "not", "full", "without",
                                    "having", "lacking", "showing", "feeling"}) ||
                 IsDescribingAdverb(words[0], words[1]);
}

void CQueryHint::ReadCategories(const std::vector<std::string>& words) {
    // "who" soon after the opening names a person: "a doctor who ...".
    if (std::find(words.begin(), words.end(), "who") != words.end()) Hint(lxm::kCategoryPerson);
    const size_t at = !words.empty() && IsArticle(words[0]) ? 1 : 0;
    if (at >= words.size()) return;
    const bool followedByOf = at + 1 < words.size() && words[at + 1] == "of";
    if (followedByOf && IsOneOf(words[at], {"study", "science", "branch"})) {
        Hint(lxm::kCategoryDiscipline);
    }
    if (words[at] == "place") {
        Hint(lxm::kCategoryPlace);
        Hint(lxm::kCategoryArtifact);  // buildings and rooms are made things
        head = words[at];
    }
    const uint32_t named = CategoryOfHead(words[at]);
    if (named != 0) {
        Hint(named);
        head = words[at];
    }
}
