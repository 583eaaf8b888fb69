// Search by meaning on the built dictionary, engine side (the answer routine
// from the request event to the delivered text):
// - quality: each description of bench/data/meaning-descriptions.tsv (or
//   $LEXORA_MEANING_LIST, e.g. the held-out list
//   bench/data/meaning-descriptions-heldout.tsv, never used for tuning, or the everyday words of
//   bench/data/meaning-descriptions-everyday.tsv, or the everyday and learned words of
//   bench/data/meaning-descriptions-heldout2.tsv and -heldout3.tsv; the weights are tuned on the
//   first list and -tuning2.tsv) is searched; counters give how often its word
//   is the first result (first_also_pct: or one of the other words it is given with),
//   among the first ten, and among the first hundred (top100_pct: what reordering the
//   candidates alone could bring into the first ten), and the misses go to stderr (with the results
//   above them when $LEXORA_MEANING_SHOW is set, three or as many as it says);
// - speed: queries of one to six words drawn from the glosses the quality
//   run returned, each timed on its own (median, p90, p99);
// - memory: peak resident size added by the index and the searches, over a
//   dictionary in use (its record cache filled by definitions first).
// Run from a Release build at the top of the source tree:
//   build-rel/bench/bench_meaning
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "db/DictDatabase.h"
#include "db/IndexListing.h"
#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "host/MeaningAnswer.h"
#include "host/RequestEvent.h"
#include "platform/PDLFake.h"

namespace {

struct Description {
    std::string text;
    std::string word;
};

std::vector<Description> ReadDescriptions() {
    const char* path = getenv("LEXORA_MEANING_LIST");
    std::ifstream in(path != nullptr ? path : "bench/data/meaning-descriptions.tsv");
    std::vector<Description> list;
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        list.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return list;
}

// Every 50th headword: enough definitions to fill the record cache.
int32_t CollectSomeWords(void* context, const char* word, uint32_t) {
    static size_t seen = 0;
    if (seen++ % 50 == 0) static_cast<std::vector<std::string>*>(context)->push_back(word);
    return 1;
}

void FillRecordCache() {
    std::vector<std::string> words;
    ListIndexWords(GetDatabase(), CollectSomeWords, &words, "", true, false);
    for (const std::string& word : words) {
        bench::AnswerDefinition(word);
        bench::DropAnswers();
    }
}

// Peak resident size so far (the search's memory adds to what the open
// dictionary and a definition already took).
long PeakResidentKb() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double ThreadCpuMicros() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// The engine's answer text to SearchDefinitions(text, count).
std::string Ask(const std::string& text, int count) {
    SDL_UserEvent event = {};
    event.type = SDL_USEREVENT;
    event.code = kRequestSearchDefinitions;
    event.data1 = strdup(text.c_str());
    event.data2 = reinterpret_cast<void*>(static_cast<uintptr_t>(count));
    AnswerSearchDefinitions(event);
    std::vector<pdlfake::ScriptCall> calls = pdlfake::TakeScriptCalls();
    if (calls.size() != 1 || calls[0].params.size() != 1) return "";
    return calls[0].params[0];
}

nlohmann::json Search(const std::string& text, int count) {
    return nlohmann::json::parse(Ask(text, count), nullptr, false);
}

double At(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    const size_t k = static_cast<size_t>(fraction * (values.size() - 1));
    std::nth_element(values.begin(), values.begin() + k, values.end());
    return values[k];
}

struct Shared {
    std::vector<Description> descriptions;
    std::vector<std::string> glosses;  // of the results, for the speed queries
    long peakBeforeKb = 0;
    bool open = false;
};

Shared& Setup() {
    static Shared shared;
    static bool done = false;
    if (done) return shared;
    done = true;
    shared.descriptions = ReadDescriptions();
    const char* appdir = getenv("LEXORA_APPDIR");
    if (chdir(appdir != nullptr ? appdir : "build/appdir") != 0 || !EnsureDatabaseOpen()) {
        return shared;
    }
    FillRecordCache();
    shared.peakBeforeKb = PeakResidentKb();
    shared.open = true;
    return shared;
}

// With $LEXORA_MEANING_SHOW set, a miss lists the results ranked above it.
void ShowResults(const nlohmann::json& results, size_t count) {
    for (size_t i = 0; i < results.size() && i < count; ++i) {
        fprintf(stderr, "    %s:%d  %s\n", results[i].value("word", "").c_str(),
                results[i].value("sense", 0), results[i].value("gloss", "").c_str());
    }
}

// Whether `word` is among the other members a result is given with.
bool Names(const nlohmann::json& result, const std::string& word) {
    const nlohmann::json also = result.value("also", nlohmann::json::array());
    return std::find(also.begin(), also.end(), word) != also.end();
}

void BM_MeaningQuality(benchmark::State& state) {
    Shared& shared = Setup();
    if (!shared.open || shared.descriptions.empty()) {
        return state.SkipWithError("no dictionary or no description list");
    }
    int first = 0, topTen = 0, topHundred = 0, firstAlso = 0;
    for (auto _ : state) {
        first = topTen = topHundred = firstAlso = 0;
        for (const Description& d : shared.descriptions) {
            const nlohmann::json answer = Search(d.text, kMaxMeaningResults);
            const nlohmann::json results = answer.value("results", nlohmann::json::array());
            size_t rank = 0;
            while (rank < results.size() && results[rank].value("word", "") != d.word) ++rank;
            first += rank == 0;
            topTen += rank < 10;
            topHundred += rank < results.size();
            firstAlso += rank == 0 || (!results.empty() && Names(results[0], d.word));
            for (size_t i = 0; i < results.size() && i < 10; ++i) {
                shared.glosses.push_back(results[i].value("gloss", ""));
            }
            if (rank != 0) {
                fprintf(stderr, "%-50s %-16s rank %s, first: %s\n", d.text.c_str(), d.word.c_str(),
                        rank < results.size() ? std::to_string(rank + 1).c_str() : "-",
                        results.empty() ? "-" : results[0].value("word", "").c_str());
                const char* show = getenv("LEXORA_MEANING_SHOW");
                if (show != nullptr) ShowResults(results, std::max(3, atoi(show)));
            }
        }
    }
    const double n = static_cast<double>(shared.descriptions.size());
    state.counters["descriptions"] = n;
    state.counters["first_pct"] = 100.0 * first / n;
    state.counters["top10_pct"] = 100.0 * topTen / n;
    state.counters["top100_pct"] = 100.0 * topHundred / n;
    state.counters["first_also_pct"] = 100.0 * firstAlso / n;
}
BENCHMARK(BM_MeaningQuality)->Iterations(1)->Unit(benchmark::kMillisecond);

// Queries of one to six words taken from result glosses.
std::vector<std::string> SpeedQueries(const std::vector<std::string>& glosses, size_t count) {
    std::mt19937 random(20261206);
    std::vector<std::string> queries;
    for (size_t i = 0; i < count && !glosses.empty(); ++i) {
        std::istringstream words(glosses[random() % glosses.size()]);
        std::vector<std::string> all{std::istream_iterator<std::string>(words), {}};
        if (all.empty()) continue;
        const size_t take = std::min<size_t>(all.size(), 1 + random() % 6);
        const size_t from = random() % (all.size() - take + 1);
        std::string query;
        for (size_t w = from; w < from + take; ++w) query += (query.empty() ? "" : " ") + all[w];
        queries.push_back(query);
    }
    return queries;
}

void BM_MeaningQuerySpeed(benchmark::State& state) {
    Shared& shared = Setup();
    const std::vector<std::string> queries = SpeedQueries(shared.glosses, 2000);
    if (queries.empty()) return state.SkipWithError("run BM_MeaningQuality first");
    std::vector<double> micros, cpuMicros;
    for (auto _ : state) {
        micros.clear();
        cpuMicros.clear();
        for (const std::string& query : queries) {
            const double cpuStart = ThreadCpuMicros();
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(Ask(query, 20));
            const auto stop = std::chrono::steady_clock::now();
            cpuMicros.push_back(ThreadCpuMicros() - cpuStart);
            micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        }
    }
    state.counters["queries"] = static_cast<double>(micros.size());
    state.counters["median_us"] = At(micros, 0.5);
    state.counters["p90_us"] = At(micros, 0.9);
    state.counters["p99_us"] = At(micros, 0.99);
    state.counters["max_us"] = At(micros, 1.0);
    // CPU time of the answering thread: what the machine's load disturbs less.
    state.counters["cpu_median_us"] = At(cpuMicros, 0.5);
    state.counters["cpu_p99_us"] = At(cpuMicros, 0.99);
    state.counters["peak_rss_added_kb"] =
        static_cast<double>(PeakResidentKb() - shared.peakBeforeKb);
}
BENCHMARK(BM_MeaningQuerySpeed)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
