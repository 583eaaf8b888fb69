// The search answers on the built dictionary, engine side (the answer routine
// from the request event to the delivered text, in process): spelling
// suggestions for misspelled words of up to 20 letters, sounds-like, wildcard
// pages of 50 and random words; also the one-time load of the search data and
// the memory it adds. The application directory is $LEXORA_APPDIR or
// build/appdir; without its data the benchmarks are skipped. Run from a
// Release build at the top of the source tree:
//   build-rel/bench/bench_search
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "db/DictDatabase.h"
#include "db/IndexListing.h"
#include "host/Engine.h"
#include "host/RequestEvent.h"
#include "host/SearchAnswers.h"

namespace {

int32_t CollectWord(void* context, const char* word, uint32_t) {
    static_cast<std::vector<std::string>*>(context)->push_back(word);
    return 1;
}

// Resident memory of the process in kB.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

double CpuMs() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct RealData {
    bool open = false;
    std::vector<std::string> headwords;
    double loadMs = 0;  // the first search request, search data load included
    double loadCpuMs = 0;
    long addedKb = 0;  // resident memory that load added
};

void Ask(int code, const char* word, int32_t count, const char* after) {
    SDL_UserEvent event = {};
    event.type = SDL_USEREVENT;
    event.code = code;
    event.data1 = strdup(word);
    if (code != kRequestGetRandomWord) {
        SearchArguments* arguments =
            static_cast<SearchArguments*>(malloc(sizeof(SearchArguments) + strlen(after)));
        arguments->count = count;
        strcpy(arguments->after, after);
        event.data2 = arguments;
    }
    AnswerSearchRequest(event);
}

const RealData& Data() {
    static RealData data = [] {
        RealData made;
        const char* appdir = getenv("LEXORA_APPDIR");
        std::string directory = appdir != nullptr ? appdir : "build/appdir";
        struct stat info;
        if (stat((directory + "/data/search.lxs").c_str(), &info) != 0) return made;
        if (chdir(directory.c_str()) != 0 || !EnsureDatabaseOpen()) return made;
        ListIndexWords(GetDatabase(), CollectWord, &made.headwords, "", true, false);
        bench::DropAnswers();
        long before = ResidentKb();
        double cpuBefore = CpuMs();
        auto start = std::chrono::steady_clock::now();
        Ask(kRequestGetRandomWord, "", 0, "");
        auto end = std::chrono::steady_clock::now();
        made.loadCpuMs = CpuMs() - cpuBefore;
        made.loadMs = std::chrono::duration<double, std::milli>(end - start).count();
        made.addedKb = ResidentKb() - before;
        made.open = bench::DropAnswers() > 0;
        return made;
    }();
    return data;
}

// Misspellings of headwords of 4 to 20 letters: one or two random edits
// (insert, delete, substitute, swap), fixed seed.
std::vector<std::string> Misspellings(size_t count) {
    std::vector<std::string> words;
    for (const std::string& word : Data().headwords) {
        if (word.size() < 4 || word.size() > 20) continue;
        bool letters = true;
        for (char c : word) letters = letters && c >= 'a' && c <= 'z';
        if (letters) words.push_back(word);
    }
    std::mt19937 random(20261206);
    std::vector<std::string> wrong;
    while (!words.empty() && wrong.size() < count) {
        std::string word = words[random() % words.size()];
        int edits = 1 + random() % 2;
        for (int e = 0; e < edits; ++e) {
            size_t at = random() % word.size();
            char letter = static_cast<char>('a' + random() % 26);
            switch (random() % 4) {
                case 0:
                    word.insert(word.begin() + at, letter);
                    break;
                case 1:
                    if (word.size() > 3) word.erase(at, 1);
                    break;
                case 2:
                    word[at] = letter;
                    break;
                case 3:
                    if (at + 1 < word.size()) std::swap(word[at], word[at + 1]);
                    break;
            }
        }
        wrong.push_back(word.substr(0, 20));
    }
    return wrong;
}

bool Skip(benchmark::State& state) {
    if (Data().open) return false;
    state.SkipWithError("no dictionary with search data (set LEXORA_APPDIR)");
    return true;
}

void BM_SearchDataLoad(benchmark::State& state) {
    if (Skip(state)) return;
    for (auto _ : state) benchmark::DoNotOptimize(Data().loadMs);
    state.counters["load_ms"] = Data().loadMs;
    state.counters["load_cpu_ms"] = Data().loadCpuMs;
    state.counters["added_rss_kB"] = static_cast<double>(Data().addedKb);
}
BENCHMARK(BM_SearchDataLoad)->Iterations(1);

void BM_SpellingSuggestions(benchmark::State& state) {
    if (Skip(state)) return;
    static const std::vector<std::string> words = Misspellings(2000);
    bench::RunSampled(state, 1, [&](size_t i) {
        Ask(kRequestGetSpellingSuggestions, words[i % words.size()].c_str(), 10, "");
        bench::DropAnswers();
    });
}
BENCHMARK(BM_SpellingSuggestions);

void BM_SoundsLike(benchmark::State& state) {
    if (Skip(state)) return;
    const std::vector<std::string>& words = Data().headwords;
    bench::RunSampled(state, 1, [&](size_t i) {
        Ask(kRequestGetSoundsLike, words[(i * 7919) % words.size()].c_str(), 10, "");
        bench::DropAnswers();
    });
}
BENCHMARK(BM_SoundsLike);

// A page of 50 from the start and from the middle of the index; "*qqq*"
// matches almost nothing, so its page scans the whole index.
void BM_WildcardPage(benchmark::State& state) {
    if (Skip(state)) return;
    static const char* const patterns[] = {"*", "*ness", "?a?e*", "*qqq*", "un*able"};
    const char* pattern = patterns[state.range(0)];
    const std::string& middle = Data().headwords[Data().headwords.size() / 2];
    state.SetLabel(pattern);
    bench::RunSampled(state, 1, [&](size_t i) {
        Ask(kRequestGetWildcardWords, pattern, 50, i % 2 == 0 ? "" : middle.c_str());
        bench::DropAnswers();
    });
}
BENCHMARK(BM_WildcardPage)->DenseRange(0, 4);

void BM_RandomWord(benchmark::State& state) {
    if (Skip(state)) return;
    bench::RunSampled(state, 16, [&](size_t) {
        Ask(kRequestGetRandomWord, "", 0, "");
        bench::DropAnswers();
    });
}
BENCHMARK(BM_RandomWord);

}  // namespace

BENCHMARK_MAIN();
