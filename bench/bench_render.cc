// Hyphenation and definition rendering on a generated dictionary of realistic
// shape: 100,000 headwords with 1 to 30 senses each, senses shared between
// headwords as synonym sets, links between senses, and the English patterns
// of the system's hyphenation dictionary when it is installed.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/DictWriter.h"
#include "db/Format.h"
#include "db/Hyphenator.h"
#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "platform/PDLFake.h"
#include "render/RenderManager.h"

namespace {

constexpr int kHeadwords = 100000;
constexpr int kSynsets = 400000;
constexpr size_t kMaxMembers = 6;
constexpr int kMaxSenses = 30;
const char kPatternsFile[] = "/usr/share/hyphen/hyph_en_US.dic";

std::string RandomWord(std::mt19937& rng, int shortest, int longest) {
    const int length = shortest + static_cast<int>(rng() % (longest - shortest + 1));
    std::string word;
    for (int i = 0; i < length; ++i) word += static_cast<char>('a' + rng() % 26);
    return word;
}

// Liang patterns of the installed hyphenation dictionary, '.' as '_'; lines
// with other bytes or fragments longer than eight characters are left out.
std::vector<std::string> LoadPatterns() {
    std::vector<std::string> patterns;
    std::ifstream in(kPatternsFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() ||
            line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.") != std::string::npos) {
            continue;
        }
        int letters = 0;
        for (char& c : line) {
            if (c == '.') c = '_';
            if (c < '0' || c > '9') ++letters;
        }
        if (letters >= 2 && letters <= 8 && (line.back() < '0' || line.back() > '9')) {
            patterns.push_back(line);
        }
    }
    return patterns;
}

class GeneratedDictionary {
public:
    GeneratedDictionary() {
        char pattern[] = "/tmp/lxbenchXXXXXX";
        directory = mkdtemp(pattern);
        mkdir((directory + "/data").c_str(), 0700);
        path = directory + "/data/wordnet.lxd";
        MakeHeadwords();
        WriteInChildProcess();
        // The engine opens "./data/wordnet.lxd" from its working directory.
        if (chdir(directory.c_str()) != 0 || !EnsureDatabaseOpen()) {
            fprintf(stderr, "cannot open the generated database\n");
            abort();
        }
        const char* cache = getenv("LEXORA_CACHE_BLOCKS");
        if (cache != nullptr) {
            GetDatabase()->records->SetCacheBlocks(
                static_cast<uint32_t>(strtoul(cache, nullptr, 10)));
        }
    }
    ~GeneratedDictionary() {
        ReleaseEngine();
        unlink(path.c_str());
        rmdir((directory + "/data").c_str());
        rmdir(directory.c_str());
    }

    std::vector<std::string> headwords;

private:
    void MakeHeadwords();
    void WriteInChildProcess();
    void Write();

    std::string directory;
    std::string path;
};

void GeneratedDictionary::MakeHeadwords() {
    std::mt19937 rng(20261206);
    std::set<std::string> unique;
    while (static_cast<int>(unique.size()) < kHeadwords) {
        std::string word = RandomWord(rng, 3, 12);
        if (rng() % 20 == 0) word[0] = static_cast<char>(word[0] - 32);
        unique.insert(word);
    }
    headwords.assign(unique.begin(), unique.end());
    std::shuffle(headwords.begin(), headwords.end(), rng);
}

// The writer's memory stays out of the measured process's peak.
void GeneratedDictionary::WriteInChildProcess() {
    fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        Write();
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        fprintf(stderr, "cannot write the generated database\n");
        abort();
    }
}

void GeneratedDictionary::Write() {
    std::mt19937 rng(7);

    const uint32_t kinds[] = {lxd::kKindNoun, lxd::kKindNoun,      lxd::kKindNoun,
                              lxd::kKindVerb, lxd::kKindAdjective, lxd::kKindAdverb};
    std::vector<uint32_t> synsetKind(kSynsets);
    std::vector<std::vector<int>> members(kSynsets);
    std::vector<std::vector<int>> senses(kHeadwords);
    for (int s = 0; s < kSynsets; ++s) synsetKind[s] = kinds[rng() % 6];
    for (int h = 0; h < kHeadwords; ++h) {
        const int count = 1 + static_cast<int>(rng() % kMaxSenses);
        for (int i = 0; i < count; ++i) {
            const int s = static_cast<int>(rng() % kSynsets);
            senses[h].push_back(s);
            if (members[s].size() < kMaxMembers) members[s].push_back(h);
        }
        std::stable_sort(senses[h].begin(), senses[h].end(),
                         [&](int a, int b) { return synsetKind[a] < synsetKind[b]; });
    }

    CDictWriter writer;
    std::vector<uint32_t> synsetPosition(kSynsets);
    const uint32_t linkKinds[] = {140, 144, 148, 136, 208, 220};
    for (int s = 0; s < kSynsets; ++s) {
        DictSense sense;
        for (int h : members[s]) sense.members.push_back(headwords[h]);
        if (sense.members.empty()) sense.members.push_back(RandomWord(rng, 4, 10));
        sense.gloss = "a generated gloss of sense " + std::to_string(s) + " with some words$the " +
                      sense.members[0] + " in a sample sentence$another sample";
        const int links = static_cast<int>(rng() % 4);
        for (int i = 0; i < links; ++i) {
            DictSenseLink link;
            link.kind = linkKinds[rng() % 6];
            link.targetLabel = "s" + std::to_string(rng() % kSynsets);
            link.sourceMember = static_cast<unsigned char>(rng() % 3);
            sense.links.push_back(link);
        }
        if (!writer.AddSense(sense, "s" + std::to_string(s), &synsetPosition[s])) {
            fprintf(stderr, "%s\n", writer.GetError().c_str());
            abort();
        }
    }
    for (int h = 0; h < kHeadwords; ++h) {
        std::vector<DictRecordRef> refs;
        uint32_t position = 0;
        if (rng() % 2 == 0 && writer.AddLine("pr@n" + headwords[h], &position)) {
            refs.push_back({lxd::kKindPronunciation, position});
        }
        if (rng() % 3 == 0 && writer.AddLine(headwords[h] + "s", &position)) {
            refs.push_back({lxd::kKindPlural, position});
        }
        for (int s : senses[h]) refs.push_back({synsetKind[s], synsetPosition[s]});
        if (rng() % 10 == 0 && writer.AddLine("from [old] {word} forms", &position)) {
            refs.push_back({lxd::kKindOrigin, position});
        }
        if (rng() % 5 == 0 && writer.AddLine("kin,word (note) {loose} <rare>", &position)) {
            refs.push_back({lxd::kKindThesaurusNoun, position});
        }
        writer.AddHeadword(headwords[h], refs);
    }
    const std::vector<std::string> patterns = LoadPatterns();
    if (!patterns.empty()) writer.SetHyphenPatterns(patterns);
    writer.SetHyphenExceptions({"as1so1ciate", "ta1ble"});
    if (!writer.WriteFile(path)) {
        fprintf(stderr, "%s\n", writer.GetError().c_str());
        abort();
    }
}

GeneratedDictionary& Dictionary() {
    static GeneratedDictionary dictionary;
    return dictionary;
}


long CurrentRssKb() {
    long pages = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (statm == nullptr) return 0;
    if (fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

void BM_Hyphenate10Letters(benchmark::State& state) {
    Dictionary();
    CHyphenator* hyphenator = GetDatabase()->hyphenator;
    const char* words[] = {"hyphenated", "dictionary", "understand", "Completely",
                           "television", "everything", "developing", "basketball"};
    size_t i = 0;
    for (auto _ : state) {
        char* result = hyphenator->Hyphenate(words[i++ % 8]);
        benchmark::DoNotOptimize(result);
        free(result);
    }
}
BENCHMARK(BM_Hyphenate10Letters)->Repetitions(9)->ReportAggregatesOnly(true);

// Every headword once (or the first $LEXORA_BENCH_WORDS), each call timed on
// its own: median, 99th percentile and maximum in microseconds, and the
// blocks inflated per answer ($LEXORA_CACHE_BLOCKS sets how many are kept).
void BM_GetDefinitionAllHeadwords(benchmark::State& state) {
    GeneratedDictionary& dictionary = Dictionary();
    size_t count = dictionary.headwords.size();
    const char* sample = getenv("LEXORA_BENCH_WORDS");
    if (sample != nullptr) count = std::min<size_t>(count, strtoul(sample, nullptr, 10));
    std::vector<double> micros;
    micros.reserve(count);
    size_t bytes = 0;
    const uint32_t inflatedStart = GetDatabase()->records->GetBlocksInflated();
    for (auto _ : state) {
        micros.clear();
        for (size_t i = 0; i < count; ++i) {
            const std::string& word = dictionary.headwords[i];
            const auto start = std::chrono::steady_clock::now();
            bench::AnswerDefinition(word);
            const auto stop = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
            bytes += bench::DropAnswers();
        }
    }
    state.counters["median_us"] = Percentile(micros, 0.5);
    state.counters["p99_us"] = Percentile(micros, 0.99);
    state.counters["max_us"] = Percentile(micros, 1.0);
    state.counters["answer_bytes_avg"] = static_cast<double>(bytes) / micros.size();
    state.counters["inflated_avg"] =
        static_cast<double>(GetDatabase()->records->GetBlocksInflated() - inflatedStart) /
        micros.size();
}
BENCHMARK(BM_GetDefinitionAllHeadwords)->Iterations(1)->Unit(benchmark::kMillisecond);

// The render manager alone (lookup and render, no answer text) over the
// first 10,000 headwords, to tell the rendering from the answer's own cost.
void BM_RenderWordSample(benchmark::State& state) {
    GeneratedDictionary& dictionary = Dictionary();
    CRenderManager* manager = GetRenderManager();
    std::vector<double> micros;
    for (auto _ : state) {
        for (size_t i = 0; i < 10000 && i < dictionary.headwords.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            manager->RenderWord(dictionary.headwords[i].c_str(), 0);
            const auto stop = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        }
    }
    state.counters["median_us"] = Percentile(micros, 0.5);
    state.counters["p99_us"] = Percentile(micros, 0.99);
}
BENCHMARK(BM_RenderWordSample)->Iterations(1)->Unit(benchmark::kMillisecond);

// Answers every headword once in a row; the resident memory after a tenth of
// the requests and after all of them shows whether memory grows with requests.
void BM_RenderEveryHeadword(benchmark::State& state) {
    GeneratedDictionary& dictionary = Dictionary();
    long afterTenth = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < dictionary.headwords.size(); ++i) {
            bench::AnswerDefinition(dictionary.headwords[i]);
            bench::DropAnswers();
            if (i + 1 == dictionary.headwords.size() / 10) afterTenth = CurrentRssKb();
        }
    }
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rss_after_tenth_kb"] = afterTenth;
    state.counters["rss_at_end_kb"] = CurrentRssKb();
    state.counters["peak_rss_kb"] = usage.ru_maxrss;
    state.counters["headwords"] = dictionary.headwords.size();
}
BENCHMARK(BM_RenderEveryHeadword)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
