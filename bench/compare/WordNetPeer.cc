// WordNet's C library in process: morphology and index look-ups, the synsets
// of every part of speech, and a walk of the index file for listings.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "bench/compare/Peers.h"
#include "bench/compare/WordNet.h"

namespace lxcompare {

namespace {

constexpr int kIndexRun = 50;
constexpr size_t kWarmUpWords = 1000;
const char* const kPosNames[] = {"", "noun", "verb", "adj", "adv"};

std::vector<char> Writable(const std::string& word) {
    std::vector<char> text(word.begin(), word.end());
    text.push_back('\0');
    return text;
}

// The index entries of the word and of its base forms, in every part of speech.
int Lookup(const std::string& word) {
    int found = 0;
    for (int pos = NOUN; pos <= ADV; ++pos) {
        std::vector<char> text = Writable(word);
        if (IndexPtr index = index_lookup(text.data(), pos)) {
            ++found;
            free_index(index);
        }
        found += static_cast<int>(BaseForms(word, pos).size());
    }
    return found;
}

// Every sense, with its gloss, of the word and of its base forms.
size_t Define(const std::string& word) {
    size_t glossBytes = 0;
    for (int pos = NOUN; pos <= ADV; ++pos) {
        std::vector<std::string> forms = BaseForms(word, pos);
        if (std::find(forms.begin(), forms.end(), word) == forms.end())
            forms.insert(forms.begin(), word);
        for (const std::string& form : forms) {
            std::vector<char> text = Writable(form);
            SynsetPtr synsets = findtheinfo_ds(text.data(), pos, SYNS, ALLSENSES);
            for (SynsetPtr s = synsets; s != nullptr; s = s->nextss) {
                if (s->defn) glossBytes += strlen(s->defn);
            }
            if (synsets) free_syns(synsets);
        }
    }
    return glossBytes;
}

// The library has no listing: the nearest it offers is a binary search of
// the index file, after which the following lines are read.
void ListIndex(const std::string& word) {
    std::vector<char> text = Writable(word);
    bin_search(text.data(), indexfps[NOUN]);
    char line[4096];
    int read = 0;
    while (read < kIndexRun && fgets(line, sizeof(line), indexfps[NOUN]) != nullptr) ++read;
}

}  // namespace

std::string WordNetFolder() {
    const char* dir = getenv("WNSEARCHDIR");
    return dir != nullptr && dir[0] ? dir : "/usr/share/wordnet";
}

bool OpenWordNet() {
    static bool opened = wninit() == 0;
    return opened;
}

std::vector<std::string> IndexLemmas(int pos) {
    std::vector<std::string> lemmas;
    std::ifstream in(WordNetFolder() + "/index." + kPosNames[pos]);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == ' ') continue;
        lemmas.push_back(line.substr(0, line.find(' ')));
    }
    return lemmas;
}

std::vector<std::string> BaseForms(const std::string& word, int pos) {
    std::vector<std::string> forms;
    std::vector<char> text = Writable(word);
    for (char* form = morphstr(text.data(), pos); form != nullptr; form = morphstr(nullptr, pos)) {
        forms.push_back(form);
    }
    return forms;
}

int RunWordNet(const std::string& wordsFile, const std::string& out) {
    std::vector<std::string> words = ReadLines(wordsFile);
    if (!OpenWordNet()) {
        fprintf(stderr, "cannot open WordNet's files\n");
        return 1;
    }
    for (size_t i = 0; i < words.size() && i < kWarmUpWords; ++i) Define(words[i]);
    Timings lookup(out, "wordnet", "lookup");
    Timings define(out, "wordnet", "define");
    Timings index(out, "wordnet", "index");
    size_t found = 0;
    size_t glossBytes = 0;
    for (const std::string& word : words) {
        lookup.Start();
        found += Lookup(word) > 0;
        lookup.Stop();
        define.Start();
        glossBytes += Define(word);
        define.Stop();
        index.Start();
        ListIndex(word);
        index.Stop();
    }
    printf("wordnet: %zu words, %zu found, %zu gloss bytes\n", words.size(), found, glossBytes);
    return 0;
}

int WordNetSyscalls(const std::string& what, const std::string& wordsFile, int count) {
    std::vector<std::string> words = ReadLines(wordsFile);
    if (!OpenWordNet() || words.empty()) return 1;
    for (int i = 0; i < count; ++i) {
        const std::string& word = words[static_cast<size_t>(i) % words.size()];
        if (what == "lookup") {
            Lookup(word);
        } else if (what == "index") {
            ListIndex(word);
        } else if (what == "define") {
            Define(word);
        }
    }
    return 0;
}

int MakeWordLists(int forms, const std::string& out) {
    if (!OpenWordNet()) return 1;
    std::set<std::string> lemmas;
    std::vector<std::vector<std::string>> byPos(ADV + 1);
    for (int pos = NOUN; pos <= ADV; ++pos) {
        byPos[pos] = IndexLemmas(pos);
        lemmas.insert(byPos[pos].begin(), byPos[pos].end());
    }
    std::ofstream lemmaFile(out + "/lemmas.txt");
    for (const std::string& lemma : lemmas) lemmaFile << lemma << "\n";

    // Irregular forms of lemmas first, then regular forms drawn evenly over
    // the index files that the system word list knows and WordNet's
    // morphology takes back to the lemma they were made from.
    std::set<std::string> english;
    std::ifstream dictionary("/usr/share/dict/words");
    for (std::string word; std::getline(dictionary, word);) english.insert(word);
    std::vector<std::string> picked;
    std::set<std::string> seen;
    auto take = [&](const std::string& form) {
        if (static_cast<int>(picked.size()) < forms && !lemmas.count(form) &&
            seen.insert(form).second)
            picked.push_back(form);
    };
    for (int pos = NOUN; pos <= ADV; ++pos) {
        std::set<std::string> known(byPos[pos].begin(), byPos[pos].end());
        std::ifstream in(WordNetFolder() + "/" + kPosNames[pos] + ".exc");
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string form;
            fields >> form;
            bool ofALemma = false;
            for (std::string base; fields >> base;) ofALemma = ofALemma || known.count(base);
            if (ofALemma) take(form);
        }
    }
    static const std::vector<std::vector<std::string>> kSuffixes = {
        {}, {"s", "es"}, {"s", "ed", "ing", "es"}, {"er", "est"}, {}};
    for (size_t step = 0; static_cast<int>(picked.size()) < forms && step < 64; ++step) {
        for (int pos = NOUN; pos <= ADJ; ++pos) {
            for (size_t i = step; i < byPos[pos].size(); i += 64) {
                const std::string& lemma = byPos[pos][i];
                const std::string& suffix = kSuffixes[pos][i % kSuffixes[pos].size()];
                std::string form = lemma + suffix;
                if (!english.empty() && !english.count(form)) continue;
                std::vector<std::string> bases = BaseForms(form, pos);
                if (std::find(bases.begin(), bases.end(), lemma) != bases.end()) take(form);
            }
        }
    }
    std::ofstream formFile(out + "/forms.txt");
    for (const std::string& form : picked) formFile << form << "\n";
    printf("word lists: %zu lemmas, %zu inflected forms\n", lemmas.size(), picked.size());
    return 0;
}

}  // namespace lxcompare
