// The record store and the database open on a generated file of 160,000
// headwords written by CDictWriter: GetLine in the block already held, GetLine
// that must inflate another block, GetLine in another block that the store
// has kept inflated, and opening the database with its window.
// Run: bench_store --benchmark_repetitions=20 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/DictWriter.h"
#include "db/Format.h"
#include "db/SmartFile.h"

namespace {

constexpr size_t kHeadwords = 160000;

std::string Pseudoword(std::mt19937& random) {
    static const char* const syllables[] = {"ba", "ce", "di", "fo", "gu",  "ha", "je", "ki",
                                            "lo", "mu", "na", "pe", "qui", "ra", "st", "tu",
                                            "ve", "wo", "xa", "yo", "ze",  "an", "er", "in"};
    std::string word;
    for (int n = 2 + random() % 4; n > 0; --n) word += syllables[random() % 24];
    if (random() % 10 == 0) word[0] = static_cast<char>(word[0] - 0x20);
    return word;
}

std::string Gloss(std::mt19937& random) {
    std::string gloss;
    for (int n = 8 + random() % 25; n > 0; --n) gloss += Pseudoword(random) + " ";
    gloss += "$a sample sentence";
    return gloss;
}

// The database file and the positions of its records.
struct Fixture {
    std::string directory;
    std::string path;
    std::vector<uint32_t> records;  // positions of one-line records
    bool ok = false;

    Fixture() {
        char pattern[] = "/tmp/lexora-bench-XXXXXX";
        if (!mkdtemp(pattern)) return;
        directory = pattern;
        path = directory + "/wordnet.lxd";
        std::mt19937 random(42);
        std::set<std::string> words;
        while (words.size() < kHeadwords) words.insert(Pseudoword(random));
        CDictWriter writer;
        for (const std::string& word : words) {
            DictSense sense;
            sense.members = {word, Pseudoword(random)};
            sense.gloss = Gloss(random);
            uint32_t sensePosition = 0, pronunciation = 0;
            if (!writer.AddSense(sense, "", &sensePosition) ||
                !writer.AddLine(word + "-pron", &pronunciation) ||
                !writer.AddHeadword(word, {{lxd::kKindNoun, sensePosition},
                                           {lxd::kKindPronunciation, pronunciation}})) {
                fprintf(stderr, "writer: %s\n", writer.GetError().c_str());
                return;
            }
            records.push_back(pronunciation);
        }
        if (!writer.WriteFile(path)) {
            fprintf(stderr, "writer: %s\n", writer.GetError().c_str());
            return;
        }
        ok = true;
    }
    ~Fixture() {
        std::error_code ignored;
        if (!directory.empty()) std::filesystem::remove_all(directory, ignored);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_GetLineInHeldBlock(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    CDictDatabase database;
    if (!fixture.ok || !database.Open(fixture.path.c_str())) return state.SkipWithError("no file");
    // Records of one block, read round-robin once the block is held.
    std::vector<uint32_t> same;
    uint32_t block = fixture.records[fixture.records.size() / 2] >> lxd::kBlockShift;
    for (uint32_t p : fixture.records) {
        if (p >> lxd::kBlockShift == block && ((p + 40) >> lxd::kBlockShift) == block)
            same.push_back(p);
    }
    int32_t length = 0;
    database.records->GetLine(same[0], &length);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.records->GetLine(same[i], &length));
        if (++i == same.size()) i = 0;
    }
}

void BM_GetLineInAnotherBlock(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    CDictDatabase database;
    if (!fixture.ok || !database.Open(fixture.path.c_str())) return state.SkipWithError("no file");
    std::mt19937 random(7);
    std::vector<uint32_t> order(fixture.records);
    std::shuffle(order.begin(), order.end(), random);
    // Keep only records whose block differs from the previous one's.
    std::vector<uint32_t> jumps;
    for (uint32_t p : order) {
        if (jumps.empty() || (p >> lxd::kBlockShift) != (jumps.back() >> lxd::kBlockShift)) {
            jumps.push_back(p);
        }
    }
    int32_t length = 0;
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.records->GetLine(jumps[i], &length));
        if (++i == jumps.size()) i = 0;
    }
}

// Jumps between records of 40 blocks, as one definition's reads do: after
// the first round every block comes from the store's cache of kept blocks.
void BM_GetLineInKeptBlock(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    CDictDatabase database;
    if (!fixture.ok || !database.Open(fixture.path.c_str())) return state.SkipWithError("no file");
    std::vector<uint32_t> jumps;
    uint32_t lastBlock = UINT32_MAX;
    for (size_t i = 0; i < fixture.records.size() && jumps.size() < 40; i += 97) {
        uint32_t block = fixture.records[i] >> lxd::kBlockShift;
        if (block != lastBlock) jumps.push_back(fixture.records[i]);
        lastBlock = block;
    }
    int32_t length = 0;
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.records->GetLine(jumps[i], &length));
        if (++i == jumps.size()) i = 0;
    }
    state.counters["inflated"] = database.records->GetBlocksInflated();
}

void BM_OpenDatabase(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    if (!fixture.ok) return state.SkipWithError("no file");
    for (auto _ : state) {
        CDictDatabase database;
        benchmark::DoNotOptimize(database.Open(fixture.path.c_str()));
    }
    CDictDatabase database;
    database.Open(fixture.path.c_str());
    state.counters["window_bytes"] = database.file->GetWindowLength();
    state.counters["blocks"] = database.records->GetBlockCount();
}

double Percentile(const std::vector<double>& values, double fraction) {
    std::vector<double> sorted(values);
    std::sort(sorted.begin(), sorted.end());
    return sorted[static_cast<size_t>(fraction * (sorted.size() - 1))];
}

template <class B>
void WithPercentiles(B* benchmark) {
    benchmark
        ->ComputeStatistics("p10", [](const std::vector<double>& v) { return Percentile(v, 0.1); })
        ->ComputeStatistics("p90", [](const std::vector<double>& v) { return Percentile(v, 0.9); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return Percentile(v, 1.0); });
}

}  // namespace

static int registered = [] {
    WithPercentiles(benchmark::RegisterBenchmark("GetLine/held_block", BM_GetLineInHeldBlock));
    WithPercentiles(benchmark::RegisterBenchmark("GetLine/another_block", BM_GetLineInAnotherBlock)
                        ->Unit(benchmark::kMicrosecond));
    WithPercentiles(benchmark::RegisterBenchmark("GetLine/kept_block", BM_GetLineInKeptBlock)
                        ->Unit(benchmark::kMicrosecond));
    WithPercentiles(benchmark::RegisterBenchmark("OpenDatabase", BM_OpenDatabase)
                        ->Unit(benchmark::kMicrosecond));
    return 0;
}();

BENCHMARK_MAIN();
