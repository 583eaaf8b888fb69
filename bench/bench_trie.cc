// Headword trie, index listing and word lookup on a synthetic dictionary of
// 160,000 headwords written with the project's writer. Each benchmark also
// reports per-operation percentiles (p50/p90/p99, nanoseconds) from timed
// samples. Run from a Release build:
//   build-rel/bench/bench_trie --benchmark_min_time=0.2
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "db/DictDatabase.h"
#include "db/DictWriter.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"
#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "host/RequestEvent.h"
#include "platform/PDLFake.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr size_t kHeadwords = 160000;

struct Dictionary {
    lxtest::TempDir dir;
    std::vector<std::string> sorted;  // headwords in index order
    std::vector<std::string> absent;  // words that are no headword
    std::vector<std::string> inflected;
    bool ready = false;
};

Dictionary* BuildDictionary() {
    static Dictionary dictionary;
    if (dictionary.ready) return &dictionary;
    std::mt19937 random(42);
    std::set<std::string> words;
    while (words.size() < kHeadwords) words.insert(bench::SyntheticWord(&random, false));

    CDictWriter writer;
    uint32_t origin = 0;
    writer.AddLine("coined for the benchmark", &origin);
    for (const std::string& word : words) writer.AddHeadword(word, {{lxd::kKindOrigin, origin}});
    std::string dataDir = dictionary.dir.File("data");
    mkdir(dataDir.c_str(), 0755);
    if (!writer.WriteFile(dataDir + "/wordnet.lxd")) {
        fprintf(stderr, "cannot write the dictionary: %s\n", writer.GetError().c_str());
        exit(1);
    }
    if (chdir(dictionary.dir.Path().c_str()) != 0 || !EnsureDatabaseOpen()) {
        fprintf(stderr, "cannot open the dictionary\n");
        exit(1);
    }
    // Lower-cased headwords: a word is absent when no case form of it exists.
    std::set<std::string> folded;
    for (std::string word : words) {
        LowercaseWord(&word[0]);
        folded.insert(word);
    }
    auto inIndex = [&](const std::string& word) { return folded.count(word) != 0; };
    std::vector<std::pair<std::string, std::string>> keyed;
    for (const std::string& word : words) keyed.emplace_back(CTrieWriter::KeyOf(word), word);
    std::sort(keyed.begin(), keyed.end());
    for (const auto& item : keyed) dictionary.sorted.push_back(item.second);
    for (size_t i = 0; i < dictionary.sorted.size() && dictionary.inflected.size() < 4096;
         i += 37) {
        std::string base = dictionary.sorted[i];
        if (base[0] < 'a') continue;
        std::string mutated = base + "q";
        if (!inIndex(mutated)) dictionary.absent.push_back(mutated);
        for (const char* suffix : {"s", "ing", "ed", "er"}) {
            if (!inIndex(base + suffix) && !inIndex(base + "e"))
                dictionary.inflected.push_back(base + suffix);
        }
    }
    dictionary.ready = true;
    return &dictionary;
}

void FindWords(benchmark::State& state, const std::vector<std::string>& words) {
    CWordList* trie = GetDatabase()->wordList;
    char buffer[lxd::kKeyBufferSize];
    bench::RunSampled(state, 64, [&](size_t i) {
        strcpy(buffer, words[i % words.size()].c_str());
        LowercaseWord(buffer);
        benchmark::DoNotOptimize(trie->FindWord(buffer, 1, true));
    });
}

void BM_FindWordPresent(benchmark::State& state) {
    Dictionary* dictionary = BuildDictionary();
    std::vector<std::string> sample;
    for (size_t i = 0; i < dictionary->sorted.size(); i += 97)
        sample.push_back(dictionary->sorted[i]);
    std::shuffle(sample.begin(), sample.end(), std::mt19937(7));
    FindWords(state, sample);
}
BENCHMARK(BM_FindWordPresent);

void BM_FindWordAbsent(benchmark::State& state) {
    FindWords(state, BuildDictionary()->absent);
}
BENCHMARK(BM_FindWordAbsent);

void BM_LookupInflected(benchmark::State& state) {
    Dictionary* dictionary = BuildDictionary();
    char buffer[kDefinitionWordSize];
    bench::RunSampled(state, 64, [&](size_t i) {
        strcpy(buffer, dictionary->inflected[i % dictionary->inflected.size()].c_str());
        uint32_t position = 0;
        benchmark::DoNotOptimize(
            LookupWord(GetDatabase(), buffer, sizeof(buffer), &position, true));
    });
}
BENCHMARK(BM_LookupInflected);

// The index answer engine side: event in, JSON text handed to the script.
// Arguments: where the anchor lies (0 start, 1 middle, 2 end), direction
// (1 forward), number of words.
void BM_GetIndexWords(benchmark::State& state) {
    Dictionary* dictionary = BuildDictionary();
    // 60 words in from either end, so that runs of 50 fit both ways.
    size_t count = dictionary->sorted.size();
    size_t where = state.range(0) == 0 ? 60 : state.range(0) == 1 ? count / 2 : count - 60;
    uint32_t packed = static_cast<uint32_t>(state.range(2)) | kListExclusive;
    if (state.range(1)) packed |= kListForward;
    std::string anchor = dictionary->sorted[where];
    pdlfake::TakeScriptCalls();
    bench::RunSampled(state, 1, [&](size_t i) {
        SDL_UserEvent e{};
        e.type = SDL_USEREVENT;
        e.code = kRequestGetIndexWords;
        e.data1 = strdup(anchor.c_str());
        e.data2 = reinterpret_cast<void*>(static_cast<uintptr_t>(packed));
        AnswerGetIndexWords(e);
        if (i % 256 == 255) pdlfake::TakeScriptCalls();
    });
    std::vector<pdlfake::ScriptCall> calls = pdlfake::TakeScriptCalls();
    if (calls.empty() || calls.back().params.empty() || calls.back().params[0].size() < 20) {
        state.SkipWithError("no index answer delivered");
    }
}
BENCHMARK(BM_GetIndexWords)
    ->ArgNames({"at", "forward", "words"})
    ->Args({0, 1, 50})
    ->Args({1, 1, 50})
    ->Args({2, 1, 50})
    ->Args({0, 0, 50})
    ->Args({1, 0, 50})
    ->Args({2, 0, 50})
    ->Args({1, 1, 1})
    ->Args({1, 1, 10})
    ->Args({1, 1, 100})
    ->Args({1, 1, 1000})
    ->Args({1, 0, 1000});

}  // namespace

BENCHMARK_MAIN();
