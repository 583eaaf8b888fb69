// Definition answers on the built dictionary: every headword (or a random
// sample of $LEXORA_BENCH_WORDS of them) answered once through the answer
// routine, each call timed on its own. The application directory is
// $LEXORA_APPDIR or build/appdir below the working directory; without its
// data/wordnet.lxd the benchmark is skipped. Run from a Release build at the
// top of the source tree:
//   build-rel/bench/bench_realdata
// For system calls per definition, compare `strace -c` of a sample against
// one of LEXORA_BENCH_WORDS=0 (open and listing only). A second benchmark
// inflates every block of the record store once, without the cache.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/IndexListing.h"
#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "platform/PDLFake.h"

namespace {

int32_t CollectWord(void* context, const char* word, uint32_t) {
    static_cast<std::vector<std::string>*>(context)->push_back(word);
    return 1;
}

// The headwords to answer, in a fixed random order; empty when the
// dictionary is missing or cannot open.
std::vector<std::string> OpenRealDictionary() {
    const char* appdir = getenv("LEXORA_APPDIR");
    std::string directory = appdir != nullptr ? appdir : "build/appdir";
    struct stat info;
    if (stat((directory + "/data/wordnet.lxd").c_str(), &info) != 0) return {};
    // The engine opens "./data/wordnet.lxd" from its working directory.
    if (chdir(directory.c_str()) != 0 || !EnsureDatabaseOpen()) return {};
    std::vector<std::string> words;
    ListIndexWords(GetDatabase(), CollectWord, &words, "", true, false);
    const char* cache = getenv("LEXORA_CACHE_BLOCKS");
    if (cache != nullptr) {
        GetDatabase()->records->SetCacheBlocks(static_cast<uint32_t>(strtoul(cache, nullptr, 10)));
    }
    std::mt19937 random(20261206);
    std::shuffle(words.begin(), words.end(), random);
    const char* sample = getenv("LEXORA_BENCH_WORDS");
    if (sample != nullptr && strtoul(sample, nullptr, 10) < words.size()) {
        words.resize(strtoul(sample, nullptr, 10));
    }
    return words;
}

const std::vector<std::string>& RealWords() {
    static const std::vector<std::string> words = OpenRealDictionary();
    return words;
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

double CpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double PeakResidentMegabytes() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Wall time percentiles per answer in microseconds, and the process's CPU
// time per answer (user and system), which the machine's load disturbs less,
// the blocks inflated and the blocks taken from the cache per answer, and the
// share of block reads the cache answered. The label holds the total answer
// bytes and their checksum: equal in two builds, the answers are alike. $LEXORA_CACHE_BLOCKS sets
// the number of inflated blocks the record store keeps.
void BM_RealGetDefinition(benchmark::State& state) {
    const std::vector<std::string>& words = RealWords();
    if (words.empty()) return state.SkipWithError("no dictionary at $LEXORA_APPDIR/data");
    CCompressedData* records = GetDatabase()->records;
    std::vector<double> micros;
    micros.reserve(words.size());
    size_t bytes = 0;
    uint64_t checksum = 0;
    double cpu = 0;
    uint32_t inflatedStart = 0;
    uint32_t hitsStart = 0;
    for (auto _ : state) {
        micros.clear();
        inflatedStart = records->GetBlocksInflated();
        hitsStart = records->GetCacheHits();
        const double cpuStart = CpuSeconds();
        for (const std::string& word : words) {
            const auto start = std::chrono::steady_clock::now();
            bench::AnswerDefinition(word);
            const auto stop = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
            bytes += bench::DropAnswers(&checksum);
        }
        cpu = CpuSeconds() - cpuStart;
    }
    const double inflated = records->GetBlocksInflated() - inflatedStart;
    const double hits = records->GetCacheHits() - hitsStart;
    state.counters["words"] = micros.size();
    state.counters["blocks"] = records->GetBlockCount();
    state.counters["inflated_avg"] = micros.empty() ? 0 : inflated / micros.size();
    state.counters["cache_hits_avg"] = micros.empty() ? 0 : hits / micros.size();
    state.counters["cache_hit_rate"] = hits + inflated > 0 ? hits / (hits + inflated) : 0;
    state.counters["median_us"] = Percentile(micros, 0.5);
    state.counters["p90_us"] = Percentile(micros, 0.9);
    state.counters["p99_us"] = Percentile(micros, 0.99);
    state.counters["max_us"] = Percentile(micros, 1.0);
    state.counters["cpu_us_avg"] = micros.empty() ? 0 : cpu * 1e6 / micros.size();
    state.counters["answer_bytes_avg"] = micros.empty() ? 0 : bytes / micros.size();
    state.counters["peak_rss_mb"] = PeakResidentMegabytes();
    char label[64];
    snprintf(label, sizeof label, "answer_bytes=%zu checksum=%016llx", bytes,
             static_cast<unsigned long long>(checksum));
    state.SetLabel(label);
}
BENCHMARK(BM_RealGetDefinition)->Iterations(1)->Unit(benchmark::kMillisecond);

// Time to read and inflate one block of the record store: every block once,
// in a fixed random order, with the cache off (it is set back afterwards).
void BM_RealInflateBlock(benchmark::State& state) {
    if (RealWords().empty()) return state.SkipWithError("no dictionary at $LEXORA_APPDIR/data");
    CCompressedData* records = GetDatabase()->records;
    std::vector<uint32_t> blocks(records->GetBlockCount());
    for (uint32_t b = 0; b < blocks.size(); ++b) blocks[b] = b;
    std::shuffle(blocks.begin(), blocks.end(), std::mt19937(7));
    records->SetCacheBlocks(0);
    std::vector<double> micros;
    micros.reserve(blocks.size());
    const uint32_t inflatedStart = records->GetBlocksInflated();
    for (auto _ : state) {
        for (uint32_t block : blocks) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(records->GetByte(block << lxd::kBlockShift, false));
            const auto stop = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        }
    }
    const uint32_t inflated = records->GetBlocksInflated() - inflatedStart;
    records->SetCacheBlocks(CCompressedData::kDefaultCacheBlocks);
    state.counters["blocks"] = blocks.size();
    state.counters["inflated"] = inflated;
    state.counters["inflate_median_us"] = Percentile(micros, 0.5);
    state.counters["inflate_p99_us"] = Percentile(micros, 0.99);
}
BENCHMARK(BM_RealInflateBlock)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
