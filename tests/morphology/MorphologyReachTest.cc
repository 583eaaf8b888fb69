// Every word of the builder's word list that WordNet's morphology resolves to
// a lemma must reach that lemma in the built dictionary: as the headword the
// lookup lands on (directly or by a redirect) or through a form-of note. A
// word with several bases whose lookup lands on another of them (axes: axe,
// not axis; cutest: cute by a later rule, not WordNet's cut) is counted
// apart: a note there would show on that base's own page.
// Checks every 16th word of the list (LEXORA_MORPHOLOGY_FULL=1: all of them)
// and prints every miss. Skipped until $LEXORA_APPDIR/data holds a file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wn.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/Trie.h"
#include "db/WordList.h"

namespace {

constexpr size_t kWordBuffer = 57;  // a definition request's working buffer

std::string Lower(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return text;
}

// The lemmas WordNet's morphstr gives for `word` in part of speech `pos`
// (NOUN..ADV), spaced as headwords are, without the word itself.
std::vector<std::string> WordNetLemmas(const std::string& word, int pos) {
    std::vector<std::string> lemmas;
    std::vector<char> buffer(word.begin(), word.end());
    buffer.push_back('\0');
    for (char* lemma = morphstr(buffer.data(), pos); lemma != nullptr;
         lemma = morphstr(nullptr, pos)) {
        std::string spaced = lemma;
        for (char& c : spaced) c = c == '_' ? ' ' : c;
        if (spaced != Lower(word) && is_defined(lemma, pos) != 0) lemmas.push_back(spaced);
    }
    return lemmas;
}

// True when one of WordNet's detachment rules, not only the first that gives
// a lemma, leads from `word` to the lemma `landed` (cutest: cute, where
// WordNet's first rule gives cut; Bolshies: Bolshy beside bolshie).
bool IsDetachment(const std::string& word, const std::string& landed) {
    static const struct {
        int pos;
        const char *suffix, *ending;
    } kRules[] = {
        {NOUN, "s", ""},      {NOUN, "ses", "s"},   {NOUN, "xes", "x"},   {NOUN, "zes", "z"},
        {NOUN, "ches", "ch"}, {NOUN, "shes", "sh"}, {NOUN, "men", "man"}, {NOUN, "ies", "y"},
        {VERB, "s", ""},      {VERB, "ies", "y"},   {VERB, "es", "e"},    {VERB, "es", ""},
        {VERB, "ed", "e"},    {VERB, "ed", ""},     {VERB, "ing", "e"},   {VERB, "ing", ""},
        {ADJ, "er", ""},      {ADJ, "est", ""},     {ADJ, "er", "e"},     {ADJ, "est", "e"}};
    const std::string lower = Lower(word);
    for (const auto& rule : kRules) {
        const size_t n = std::strlen(rule.suffix);
        if (lower.size() <= n || lower.compare(lower.size() - n, n, rule.suffix) != 0) continue;
        std::string stem = lower.substr(0, lower.size() - n) + rule.ending;
        if (stem == landed && is_defined(&stem[0], rule.pos) != 0) return true;
    }
    return false;
}

class MorphologyReach : public ::testing::Test {
protected:
    void SetUp() override {
        const char* appdir = std::getenv("LEXORA_APPDIR");
        std::string path = std::string(appdir == nullptr ? "" : appdir) + "/data/wordnet.lxd";
        struct stat info;
        if (appdir == nullptr || stat(path.c_str(), &info) != 0) {
            GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
        }
        ASSERT_TRUE(database.Open(path.c_str()));
        ASSERT_EQ(wninit(), 0) << "WordNet's database files cannot be opened";
    }

    enum Reach { kReached, kOtherBase, kMissed };

    // Whether a lookup of `word` lands on `lemma` or on a headword naming it
    // in a form-of note, or lands on another base of the word: another of
    // `lemmas`, or a headword that lists the word among its own forms.
    Reach ReachOf(const std::string& word, const std::string& lemma,
                  const std::set<std::string>& lemmas) {
        char buffer[kWordBuffer];
        if (word.size() >= sizeof buffer) return kMissed;
        std::strcpy(buffer, word.c_str());
        uint32_t position = 0;
        if (!LookupWord(&database, buffer, sizeof buffer, &position, true)) return kMissed;
        const std::string landed = Lower(buffer);
        if (landed == Lower(lemma)) return kReached;
        bool otherBase = lemmas.count(landed) != 0 || IsDetachment(word, landed);
        uint32_t refs[lxd::kMaxRenderedRefs];
        int count = database.wordList->GetRecordRefs(position, refs, lxd::kMaxRenderedRefs);
        for (int i = 0; i < count; ++i) {
            const uint32_t kind = lxd::RefKind(refs[i]);
            int32_t length = 0;
            const char* line = database.records->GetLine(lxd::RefPosition(refs[i]), &length);
            std::string text = line == nullptr ? std::string() : std::string(line, length);
            size_t tab = text.find('\t');
            if (kind == lxd::kKindFormOf && tab != std::string::npos &&
                Lower(text.substr(tab + 1)) == Lower(lemma)) {
                return kReached;
            }
            otherBase |= kind >= lxd::kKindPlural && kind <= lxd::kKindAdverbForm2 && text == word;
        }
        return otherBase ? kOtherBase : kMissed;
    }

    CDictDatabase database;
};

TEST_F(MorphologyReach, EveryLemmaWordNetFindsForAListedWordIsReached) {
    std::ifstream list("/usr/share/dict/american-english-huge");
    ASSERT_TRUE(list) << "wamerican-huge is not installed";
    const bool full = std::getenv("LEXORA_MORPHOLOGY_FULL") != nullptr;
    long words = 0, pairs = 0, otherBase = 0;
    std::vector<std::string> misses;
    std::string word;
    for (long n = 0; std::getline(list, word); ++n) {
        if (word.empty() || (!full && n % 16 != 0)) continue;
        ++words;
        std::vector<std::string> found;
        for (int pos = NOUN; pos <= ADV; ++pos) {
            for (const std::string& lemma : WordNetLemmas(word, pos)) found.push_back(lemma);
        }
        const std::set<std::string> lemmas(found.begin(), found.end());
        for (const std::string& lemma : found) {
            ++pairs;
            Reach reach = ReachOf(word, lemma, lemmas);
            otherBase += reach == kOtherBase;
            if (reach == kMissed) misses.push_back(word + " -> " + lemma);
        }
    }
    std::cout << words << " words, " << pairs << " word/lemma pairs, " << otherBase
              << " landing on another base, " << misses.size() << " not reached\n";
    for (const std::string& miss : misses) std::cout << "  " << miss << "\n";
    EXPECT_GT(pairs, full ? 60000 : 3000);
    EXPECT_TRUE(misses.empty()) << misses.size() << " misses, first: " << misses.front();
}

}  // namespace
