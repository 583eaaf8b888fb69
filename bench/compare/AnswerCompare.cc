// The engine's senses and glosses against WordNet's, lemma by lemma and part
// of speech by part of speech.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "bench/compare/Peers.h"
#include "bench/compare/WordNet.h"
#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/IndexListing.h"
#include "db/WordList.h"

namespace lxcompare {

namespace {

constexpr int kMaxRefs = 512;
constexpr int kMaxMembers = 1024;
const char* const kPosNames[] = {"", "noun", "verb", "adj", "adv"};

using Glosses = std::array<std::vector<std::string>, ADV + 1>;  // by WordNet's pos number

struct Headword {
    std::string word;
    uint32_t position;
};

int32_t CollectHeadword(void* context, const char* word, uint32_t position) {
    static_cast<std::vector<Headword>*>(context)->push_back({word, position});
    return 1;
}

// WordNet's part of speech of a sense record kind, 0 for any other record.
int PosOfKind(uint32_t kind) {
    switch (kind) {
        case lxd::kKindNoun:
            return NOUN;
        case lxd::kKindVerb:
            return VERB;
        case lxd::kKindAdjective:
        case lxd::kKindAdjectiveSatellite:
            return ADJ;
        case lxd::kKindAdverb:
            return ADV;
        default:
            return 0;
    }
}

// The gloss of the sense record at `position`: the record after the member
// lines (the last one ends with LF), or the first record when it ends with FF.
bool ReadGloss(CCompressedData* records, uint32_t position, std::string* gloss) {
    int32_t length = 0;
    const char* text = records->GetLine(position, &length);
    if (text == nullptr) return false;
    if (text[length] != lxd::kRecordEndFF) {
        for (int member = 0; text[length] == lxd::kRecordEndCR; ++member) {
            if (member == kMaxMembers) return false;
            position += static_cast<uint32_t>(length) + 1;
            if ((text = records->GetLine(position, &length)) == nullptr) return false;
        }
        position += static_cast<uint32_t>(length) + 1;
        if ((text = records->GetLine(position, &length)) == nullptr) return false;
    }
    gloss->assign(text, static_cast<size_t>(length));
    return true;
}

// One spelling for both sides: samples separated by "; " without their
// quotes, single blanks, no outer parentheses (WordNet's library adds them).
std::string Canonical(std::string text, bool engine) {
    if (engine) {
        std::string out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '$') {
                out += "; ";
            } else if (text.compare(i, 3, "\xEF\xBC\x84") == 0) {  // a '$' of the source
                out += '$';
                i += 2;
            } else {
                out += text[i];
            }
        }
        text = out;
    } else if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        text = text.substr(1, text.size() - 2);
    }
    std::string out;
    for (char c : text) {
        if (c == '"') continue;
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        if (c == ';' && !out.empty() && out.back() == ' ') out.pop_back();
        out += c;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ';')) out.pop_back();
    while (!out.empty() && (out[0] == ';' || out[0] == ' ')) out.erase(0, 1);
    return out;
}

// The WordNet lemma a headword belongs to: lower case, '_' for blanks.
std::string LemmaOf(std::string word) {
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c == ' ') c = '_';
    }
    return word;
}

std::map<std::string, Glosses> EngineGlosses(CDictDatabase* database, size_t* headwordCount) {
    std::vector<Headword> headwords;
    ListIndexWords(database, CollectHeadword, &headwords, "", true, false);
    *headwordCount = headwords.size();
    std::map<std::string, Glosses> byLemma;
    uint32_t refs[kMaxRefs];
    for (const Headword& headword : headwords) {
        int count = database->wordList->GetRecordRefs(headword.position, refs, kMaxRefs);
        for (int i = 0; i < count; ++i) {
            int pos = PosOfKind(lxd::RefKind(refs[i]));
            std::string gloss;
            if (pos == 0 || !ReadGloss(database->records, lxd::RefPosition(refs[i]), &gloss))
                continue;
            byLemma[LemmaOf(headword.word)][pos].push_back(Canonical(gloss, true));
        }
    }
    return byLemma;
}

// Whether the lemma is a headword (in any capitalisation) that enumeration
// does not reach: the index lists keys of up to 57 bytes only.
bool IsInTrie(CDictDatabase* database, const std::string& lemma) {
    char key[lxd::kKeyBufferSize];
    snprintf(key, sizeof(key), "%s", lemma.c_str());
    for (char* c = key; *c; ++c) {
        if (*c == '_') *c = ' ';
    }
    return database->wordList->FindWord(key, 1, true, sizeof(key)) != 0;
}

std::vector<std::string> WordNetGlosses(const std::string& lemma, int pos) {
    std::vector<std::string> glosses;
    std::vector<char> text(lemma.begin(), lemma.end());
    text.push_back('\0');
    IndexPtr index = index_lookup(text.data(), pos);
    if (index == nullptr) return glosses;
    for (int i = 0; i < index->off_cnt; ++i) {
        SynsetPtr synset = read_synset(pos, static_cast<long>(index->offset[i]), text.data());
        if (synset == nullptr) continue;
        glosses.push_back(Canonical(synset->defn ? synset->defn : "", false));
        free_synset(synset);
    }
    free_index(index);
    return glosses;
}

}  // namespace

int CompareAnswers(const std::string& databasePath, const std::string& lemmasFile,
                   const std::string& out) {
    CDictDatabase database;
    if (!database.Open(databasePath.c_str()) || !OpenWordNet()) {
        fprintf(stderr, "cannot open %s or WordNet's files\n", databasePath.c_str());
        return 1;
    }
    size_t headwordCount = 0;
    std::map<std::string, Glosses> engine = EngineGlosses(&database, &headwordCount);
    std::ofstream differences(out + "/answer-differences.txt");
    std::set<std::string> lemmas;
    for (const std::string& lemma : ReadLines(lemmasFile)) lemmas.insert(lemma);

    size_t pairs = 0, same = 0, countDiffers = 0, textDiffers = 0, missing = 0;
    size_t wordnetSenses = 0, engineSenses = 0;
    std::map<std::string, size_t> shownByReason;
    auto report = [&](const std::string& reason, const std::string& lemma, int pos,
                      const std::string& detail) {
        differences << reason << "\t" << lemma << "\t" << kPosNames[pos] << "\t" << detail << "\n";
        if (++shownByReason[reason] <= 3) {
            printf("  %s: %s (%s) %s\n", reason.c_str(), lemma.c_str(), kPosNames[pos],
                   detail.substr(0, 160).c_str());
        }
    };
    for (int pos = NOUN; pos <= ADV; ++pos) {
        for (const std::string& lemma : IndexLemmas(pos)) {
            if (!lemmas.count(lemma)) continue;
            ++pairs;
            std::vector<std::string> theirs = WordNetGlosses(lemma, pos);
            auto found = engine.find(lemma);
            std::vector<std::string> ours;
            if (found != engine.end()) ours = found->second[pos];
            wordnetSenses += theirs.size();
            engineSenses += ours.size();
            if (ours.empty()) {
                ++missing;
                report(IsInTrie(&database, lemma) ? "unreachable (in the trie, key over 57 bytes)"
                                                  : "missing",
                       lemma, pos, std::to_string(theirs.size()) + " senses in WordNet");
                continue;
            }
            if (ours.size() != theirs.size()) {
                ++countDiffers;
                report("count", lemma, pos,
                       "engine " + std::to_string(ours.size()) + ", WordNet " +
                           std::to_string(theirs.size()));
                continue;
            }
            std::sort(ours.begin(), ours.end());
            std::sort(theirs.begin(), theirs.end());
            auto differ = std::mismatch(ours.begin(), ours.end(), theirs.begin());
            if (differ.first != ours.end()) {
                ++textDiffers;
                report("text", lemma, pos,
                       "engine [" + *differ.first + "] WordNet [" + *differ.second + "]");
                continue;
            }
            ++same;
        }
    }
    printf(
        "answers: %zu engine headwords; %zu lemma/part-of-speech pairs: %zu equal, %zu missing, "
        "%zu with another sense count, %zu with another gloss text; senses: engine %zu, "
        "WordNet %zu\n",
        headwordCount, pairs, same, missing, countDiffers, textDiffers, engineSenses,
        wordnetSenses);
    return 0;
}

}  // namespace lxcompare
