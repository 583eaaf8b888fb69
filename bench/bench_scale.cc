// How the engine's costs grow with the size of the dictionary file. Three
// files are measured side by side:
//   limits     - generated at the edge of the format: 57-byte keys, as many as
//                the trie's 22-bit child index can address (close to 2^22
//                entries), sense records spread up to the 2^26 reach of a
//                record reference;
//   realistic  - generated with the size of a real WordNet-based dictionary
//                (150,000 headwords, one sense and one origin line each);
//   real       - the built dictionary, when it exists: $LEXORA_DICTIONARY or
//                build/appdir/data/wordnet.lxd below the working directory.
// The generated files are cached beside this program (bench_scale_cache/),
// since writing the limits file takes a while. Each benchmark reports
// per-operation percentiles (p50/p90/p99, nanoseconds). Run from a Release
// build at the top of the source tree:
//   build-rel/bench/bench_scale --benchmark_min_time=0.2
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "db/DictDatabase.h"
#include "db/DictWriter.h"
#include "db/Format.h"
#include "db/IndexListing.h"
#include "db/Lookup.h"
#include "render/RenderManager.h"

namespace {

constexpr size_t kSampleSize = 4096;
constexpr int kListingRun = 50;
constexpr size_t kLimitsKeyLength = lxd::kMaxEnumeratedKey;
constexpr size_t kRealisticHeadwords = 150000;
const char kCacheVersion[] = "v1";

// One dictionary file, open, with the words the benchmarks draw from.
struct Dictionary {
    std::string name;
    std::string path;
    std::unique_ptr<CDictDatabase> database;
    std::unique_ptr<CRenderManager> renderer;
    size_t headwordCount = 0;
    std::vector<std::string> present;  // sampled headwords
    std::vector<uint32_t> positions;   // their trie positions
    std::vector<std::string> absent;   // sampled words that are no headword
    std::vector<std::string> inflected;
};

std::string CacheDirectory() {
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    std::string dir = ".";
    if (length > 0) {
        self[length] = '\0';
        dir = self;
        dir.erase(dir.rfind('/'));
    }
    dir += "/bench_scale_cache";
    mkdir(dir.c_str(), 0755);
    return dir;
}

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

uint64_t FileBytes(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

// The count word of the headword trie: its number of entries.
uint32_t TrieEntryCount(const std::string& path) {
    uint32_t words[2] = {0, 0};
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    uint32_t offset = 0;
    if (pread(fd, &offset, 4, lxd::kHeaderWordIndexOffset) == 4) {
        if (pread(fd, words, 4, offset) != 4) words[0] = 0;
    }
    close(fd);
    return words[0];
}

size_t CommonPrefix(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return n;
}

// 57-byte lower-case keys, as many as fit the trie: each key costs one node
// per byte below its common prefix with the key before it, plus its
// reference, and the total must stay within the 22-bit child index.
std::vector<std::string> LimitsKeys() {
    std::mt19937 random(57);
    std::set<std::string> candidates;
    while (candidates.size() < 78000) {
        std::string key(kLimitsKeyLength, 'a');
        for (char& c : key) c = static_cast<char>('a' + random() % 26);
        candidates.insert(key);
    }
    std::vector<std::string> keys;
    uint64_t entries = 0;
    const std::string* previous = nullptr;
    for (const std::string& key : candidates) {
        uint64_t cost = key.size() - (previous ? CommonPrefix(*previous, key) : 0) + 1;
        if (entries + cost > lxd::kMaxTrieEntries) break;
        entries += cost;
        keys.push_back(key);
        previous = &key;
    }
    return keys;
}

bool WriteLimitsFile(const std::string& path) {
    std::vector<std::string> keys = LimitsKeys();
    CDictWriter writer;
    // Records spread evenly over the whole reach of a reference; the padding
    // between them compresses to almost nothing.
    const uint64_t span = lxd::kMaxRecordPosition - 2 * lxd::kBlockSize;
    for (size_t i = 0; i < keys.size(); ++i) {
        uint32_t at = static_cast<uint32_t>(span * i / keys.size());
        DictSense sense;
        sense.members = {keys[i]};
        sense.gloss = "a generated sense number " + std::to_string(i) +
                      " placed far into the record stream; \"used in a sample sentence\"";
        uint32_t position = 0;
        if (!writer.PadTo(std::max(at, writer.GetStreamLength())) ||
            !writer.AddSense(sense, "", &position) ||
            !writer.AddHeadword(keys[i], {{lxd::kKindNoun, position}})) {
            break;
        }
    }
    if (!writer.GetError().empty() || !writer.WriteFile(path)) {
        fprintf(stderr, "cannot write %s: %s\n", path.c_str(), writer.GetError().c_str());
        return false;
    }
    return true;
}

bool WriteRealisticFile(const std::string& path) {
    std::mt19937 random(150);
    std::set<std::string> words;
    while (words.size() < kRealisticHeadwords) words.insert(bench::SyntheticWord(&random, true));
    CDictWriter writer;
    size_t i = 0;
    for (const std::string& word : words) {
        DictSense sense;
        sense.members = {word};
        if (i % 3 == 0) sense.members.push_back(word + "ing");
        sense.gloss = "a generated meaning of " + word + " used to size the store; \"a " + word +
                      " in a sentence\"";
        uint32_t senseAt = 0;
        uint32_t originAt = 0;
        writer.AddSense(sense, "", &senseAt);
        writer.AddLine("from the generated root " + word.substr(0, 3) + " " + std::to_string(i++),
                       &originAt);
        writer.AddHeadword(word, {{lxd::kKindNoun, senseAt}, {lxd::kKindOrigin, originAt}});
    }
    if (!writer.GetError().empty() || !writer.WriteFile(path)) {
        fprintf(stderr, "cannot write %s: %s\n", path.c_str(), writer.GetError().c_str());
        return false;
    }
    return true;
}

int32_t CollectWord(void* context, const char* word, uint32_t) {
    static_cast<std::vector<std::string>*>(context)->push_back(word);
    return 1;
}

// Opens the file and draws the word samples from its full headword list.
bool OpenDictionary(Dictionary* dictionary) {
    dictionary->database.reset(new CDictDatabase());
    if (!dictionary->database->Open(dictionary->path.c_str())) return false;
    CDictDatabase* database = dictionary->database.get();
    dictionary->renderer.reset(new CRenderManager(database));
    std::vector<std::string> all;
    ListIndexWords(database, CollectWord, &all, "", true, false);
    dictionary->headwordCount = all.size();
    if (all.empty()) return false;
    std::mt19937 random(7);
    std::set<std::string> known(all.begin(), all.end());
    for (size_t i = 0; i < kSampleSize; ++i) {
        std::string word = all[random() % all.size()];
        char buffer[lxd::kKeyBufferSize];
        snprintf(buffer, sizeof(buffer), "%s", word.c_str());
        uint32_t position = 0;
        if (!LookupWord(database, buffer, sizeof(buffer), &position, false)) continue;
        dictionary->present.push_back(word);
        dictionary->positions.push_back(position);
        std::string missing = word.substr(0, word.size() - 1) + "qx";
        if (!known.count(missing)) dictionary->absent.push_back(missing);
        // A form the inflection rules take apart; cut so that it stays a
        // word the index could hold.
        std::string suffix = i % 2 ? "s" : "ed";
        size_t keep = std::min(word.size(), kLimitsKeyLength - suffix.size());
        dictionary->inflected.push_back(word.substr(0, keep) + suffix);
    }
    return !dictionary->present.empty();
}

void Describe(benchmark::State& state, const Dictionary& dictionary) {
    state.counters["file_MB"] = FileBytes(dictionary.path) / 1e6;
    state.counters["entries"] = TrieEntryCount(dictionary.path);
    state.counters["headwords"] = static_cast<double>(dictionary.headwordCount);
}

void BenchOpen(benchmark::State& state, Dictionary* dictionary) {
    bench::RunSampled(state, 1, [&](size_t) {
        CDictDatabase database;
        if (!database.Open(dictionary->path.c_str())) state.SkipWithError("open failed");
    });
    Describe(state, *dictionary);
}

void BenchLookup(benchmark::State& state, Dictionary* dictionary,
                 const std::vector<std::string>* words) {
    char buffer[lxd::kKeyBufferSize];
    bench::RunSampled(state, 64, [&](size_t i) {
        snprintf(buffer, sizeof(buffer), "%s", (*words)[i % words->size()].c_str());
        uint32_t position = 0;
        benchmark::DoNotOptimize(
            LookupWord(dictionary->database.get(), buffer, sizeof(buffer), &position, true));
    });
}

int32_t TakeRunWord(void* context, const char*, uint32_t) {
    return --*static_cast<int*>(context) > 0 ? 1 : 0;
}

void BenchListing(benchmark::State& state, Dictionary* dictionary, bool forward) {
    bench::RunSampled(state, 1, [&](size_t i) {
        int remaining = kListingRun;
        const std::string& anchor = dictionary->present[i % dictionary->present.size()];
        ListIndexWords(dictionary->database.get(), TakeRunWord, &remaining, anchor.c_str(), forward,
                       true);
    });
}

void BenchRender(benchmark::State& state, Dictionary* dictionary) {
    bench::RunSampled(state, 1, [&](size_t i) {
        size_t at = i % dictionary->present.size();
        dictionary->renderer->RenderWord(dictionary->present[at].c_str(),
                                         dictionary->positions[at]);
        benchmark::DoNotOptimize(dictionary->renderer->GetWordDefinition());
    });
}

void RegisterAll(Dictionary* d) {
    const std::string& n = d->name;
    benchmark::RegisterBenchmark(("Open/" + n).c_str(), BenchOpen, d);
    benchmark::RegisterBenchmark(("LookupPresent/" + n).c_str(), BenchLookup, d, &d->present);
    benchmark::RegisterBenchmark(("LookupAbsent/" + n).c_str(), BenchLookup, d, &d->absent);
    benchmark::RegisterBenchmark(("LookupInflected/" + n).c_str(), BenchLookup, d, &d->inflected);
    benchmark::RegisterBenchmark(("List50Forward/" + n).c_str(), BenchListing, d, true);
    benchmark::RegisterBenchmark(("List50Backward/" + n).c_str(), BenchListing, d, false);
    benchmark::RegisterBenchmark(("Render/" + n).c_str(), BenchRender, d);
}

// The cached file, written first when it is missing.
std::string CachedFile(const std::string& name, bool (*write)(const std::string&)) {
    std::string path = CacheDirectory() + "/" + name + "-" + kCacheVersion + ".lxd";
    if (FileExists(path)) return path;
    fprintf(stderr, "writing %s ...\n", path.c_str());
    auto start = std::chrono::steady_clock::now();
    if (!write(path)) return "";
    fprintf(stderr, "written in %.1f s\n",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const char* real = getenv("LEXORA_DICTIONARY");
    std::vector<std::unique_ptr<Dictionary>> dictionaries;
    auto add = [&](const std::string& name, const std::string& path) {
        if (path.empty() || !FileExists(path)) {
            fprintf(stderr, "%s: no file, skipped\n", name.c_str());
            return;
        }
        std::unique_ptr<Dictionary> dictionary(new Dictionary);
        dictionary->name = name;
        dictionary->path = path;
        if (!OpenDictionary(dictionary.get())) {
            fprintf(stderr, "%s: %s cannot be opened or holds no headword\n", name.c_str(),
                    path.c_str());
            return;
        }
        RegisterAll(dictionary.get());
        dictionaries.push_back(std::move(dictionary));
    };
    add("limits", CachedFile("limits", WriteLimitsFile));
    add("realistic", CachedFile("realistic", WriteRealisticFile));
    add("real", real != nullptr ? real : "build/appdir/data/wordnet.lxd");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
