#include "meaning/TermMaker.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "db/DictDatabase.h"
#include "db/Lookup.h"
#include "meaning/MeaningFormat.h"

namespace {

// Function words that say nothing about a meaning; kept in byte order.
const char* const kStopWords[] = {
    "about", "above", "after", "again", "all",     "also",  "am",    "an",   "and",   "any",
    "are",   "as",    "at",    "be",    "been",    "being", "both",  "but",  "by",    "can",
    "could", "did",   "do",    "does",  "each",    "etc",   "for",   "from", "had",   "has",
    "have",  "he",    "her",   "hers",  "him",     "his",   "how",   "if",   "in",    "into",
    "is",    "it",    "its",   "just",  "me",      "more",  "most",  "my",   "no",    "nor",
    "not",   "of",    "often", "on",    "only",    "or",    "other", "our",  "she",   "so",
    "some",  "such",  "than",  "that",  "the",     "their", "them",  "then", "there", "these",
    "they",  "this",  "those", "to",    "usually", "very",  "was",   "we",   "were",  "what",
    "when",  "where", "which", "while", "who",     "whom",  "whose", "why",  "will",  "with",
    "would", "you",   "your"};

// Room the lookup needs beyond the word: capitals marker, capitals, terminator.
constexpr size_t kLookupBufferSize = 2 * lxm::kMaxTermLength + 2;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

CTermMaker::CTermMaker(CDictDatabase* database, std::unordered_map<std::string, WordTerms>* cache)
    : database(database), cache(cache) {}

bool CTermMaker::IsStopWord(const std::string& word) {
    return std::binary_search(std::begin(kStopWords), std::end(kStopWords), word.c_str(),
                              [](const char* a, const char* b) { return strcmp(a, b) < 0; });
}

bool CTermMaker::IsWordByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80;
}

WordTerms CTermMaker::TermsOf(const std::string& word) {
    if (word.size() < 2 || word.size() > lxm::kMaxTermLength || IsStopWord(word)) return {};
    if (database == nullptr) return {word, ""};
    if (cache == nullptr) return ReduceWord(word);
    auto known = cache->find(word);
    if (known != cache->end()) return known->second;
    return cache->emplace(word, ReduceWord(word)).first->second;
}

std::string CTermMaker::AsTerm(const char* found) {
    std::string term(found);
    std::transform(term.begin(), term.end(), term.begin(), LowerAscii);
    // A headword with spaces (a redirect to a phrase) is no single term.
    const bool oneWord = std::all_of(
        term.begin(), term.end(), [](char c) { return IsWordByte(static_cast<unsigned char>(c)); });
    return oneWord && term.size() >= 2 && term.size() <= lxm::kMaxTermLength ? term : "";
}

WordTerms CTermMaker::ReduceWord(const std::string& word) {
    WordTerms terms{word, ""};
    char buffer[kLookupBufferSize];
    memcpy(buffer, word.c_str(), word.size() + 1);
    uint32_t position = 0;
    if (LookupWord(database, buffer, sizeof buffer, &position, true)) {
        const std::string found = AsTerm(buffer);
        if (!found.empty()) terms.form = found;
    }
    if (database->wordList == nullptr) return terms;
    memcpy(buffer, word.c_str(), word.size() + 1);
    if (FindByRules(database->wordList, buffer, sizeof buffer, kInflectionRuleCount) == 0) {
        // A headword is never an inflection of its -er, -est or -ly base.
        terms.related = terms.form == word;
        if (FindByRules(database->wordList, buffer, sizeof buffer) == 0) return terms;
    }
    const std::string base = AsTerm(buffer);
    if (base != terms.form) terms.base = base;
    terms.related = terms.related && !terms.base.empty();
    return terms;
}

bool CTermMaker::Split(const char* text, size_t length,
                       const std::function<bool(const WordTerms&)>& take) {
    size_t i = 0;
    while (i < length) {
        while (i < length && !IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
        size_t start = i;
        while (i < length && IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
        if (i == start) break;
        std::string word(text + start, i - start);
        std::transform(word.begin(), word.end(), word.begin(), LowerAscii);
        const WordTerms terms = TermsOf(word);
        if (!terms.form.empty() && !take(terms)) return false;
    }
    return true;
}
