// The builder's eSpeak NG path for words the CMU list lacks, on words the
// list has:
// - agreement: each word of bench/data/pronunciation-agreement.txt (5,000
//   WordNet lemmas the list knows, a fixed sample held out from tuning) or of
//   $LEXORA_PRONUNCIATION_LIST (bench/data/pronunciation-tuning.txt is the
//   list the phoneme mapping was tuned on) is pronounced by eSpeak NG as if
//   the list lacked it; prints how often that is exactly the list's IPA and
//   the commonest differences (the part between the longest shared start and
//   end, list → eSpeak NG), with $LEXORA_PRONUNCIATION_SHOW every miss;
// - speed: one word through the eSpeak NG path (median, p90, p99).
// Run at the top of the source tree: build-rel/bench/bench_pronunciation
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "tools/lxdbuild/PronunciationSource.h"

namespace {

using lxdbuild::CPronunciationSource;

std::vector<std::string> ReadWords() {
    const char* path = std::getenv("LEXORA_PRONUNCIATION_LIST");
    std::ifstream in(path ? path : "bench/data/pronunciation-agreement.txt");
    std::vector<std::string> words;
    for (std::string word; std::getline(in, word);) {
        if (!word.empty()) words.push_back(word);
    }
    return words;
}

CPronunciationSource& Source() {
    static lxdbuild::CSourceFiles files("/");
    static lxdbuild::CBuildReport report(true);
    static CPronunciationSource source(files, report, true);
    static bool loaded = (source.Load(), true);
    (void)loaded;
    return source;
}

// The text without stress marks and with ɪ as ə: the unstressed vowels the
// list itself writes either way.
std::string Loosened(const std::string& ipa) {
    std::string text;
    for (size_t i = 0; i < ipa.size(); ++i) {
        std::string two = ipa.substr(i, 2);
        if (two == "ˈ" || two == "ˌ") {
            ++i;
        } else if (two == "ɪ") {
            text += "ə";
            ++i;
        } else {
            text += ipa[i];
        }
    }
    return text;
}

bool IsContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The differing middle of two texts, as "a → b", cut at character boundaries.
std::string Difference(const std::string& a, const std::string& b) {
    size_t start = 0;
    while (start < a.size() && start < b.size() && a[start] == b[start]) ++start;
    while (start > 0 && (IsContinuation(a[start]) || IsContinuation(b[start]))) --start;
    size_t end = 0;
    while (end < a.size() - start && end < b.size() - start &&
           a[a.size() - 1 - end] == b[b.size() - 1 - end]) {
        ++end;
    }
    while (end > 0 && (IsContinuation(a[a.size() - end]) || IsContinuation(b[b.size() - end]))) {
        --end;
    }
    return "[" + a.substr(start, a.size() - start - end) + "] → [" +
           b.substr(start, b.size() - start - end) + "]";
}

void BM_SpeechAgreement(benchmark::State& state) {
    std::vector<std::string> words = ReadWords();
    CPronunciationSource& source = Source();
    size_t same = 0;
    size_t loosely = 0;
    size_t silent = 0;
    std::map<std::string, std::pair<size_t, std::string>> differences;
    for (auto _ : state) {
        for (const auto& word : words) {
            std::string expected = source.FromList(word, 0);
            std::string spoken;
            if (source.FromSpeech(word, spoken) != CPronunciationSource::Speech::kPronounced) {
                ++silent;
            } else if (spoken == expected) {
                ++same;
                continue;
            } else if (Loosened(spoken) == Loosened(expected)) {
                ++loosely;
            }
            auto& difference = differences[Difference(expected, spoken)];
            if (difference.first++ == 0) difference.second = word;
            if (std::getenv("LEXORA_PRONUNCIATION_SHOW")) {
                std::printf("  %-24s %-24s %s\n", word.c_str(), expected.c_str(), spoken.c_str());
            }
        }
    }
    std::vector<std::pair<size_t, std::string>> ranked;
    for (const auto& [text, count] : differences) ranked.emplace_back(count.first, text);
    std::sort(ranked.rbegin(), ranked.rend());
    std::printf(
        "eSpeak NG path equals the CMU list's IPA for %zu of %zu words (%.1f %%); "
        "%zu without a pronunciation\n%zu more differ only in stress marks or ɪ for ə "
        "(%.1f %% in all)\ncommonest differences (list → eSpeak NG):\n",
        same, words.size(), 100.0 * same / std::max<size_t>(words.size(), 1), silent, loosely,
        100.0 * (same + loosely) / std::max<size_t>(words.size(), 1));
    for (size_t i = 0; i < std::min<size_t>(ranked.size(), 20); ++i) {
        std::printf("  %5zu  %-28s e.g. %s\n", ranked[i].first, ranked[i].second.c_str(),
                    differences[ranked[i].second].second.c_str());
    }
    state.counters["words"] = static_cast<double>(words.size());
    state.counters["agree_pct"] = 100.0 * same / std::max<size_t>(words.size(), 1);
}
BENCHMARK(BM_SpeechAgreement)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SpeechPath(benchmark::State& state) {
    std::vector<std::string> words = ReadWords();
    CPronunciationSource& source = Source();
    std::string ipa;
    bench::RunSampled(state, 1, [&](size_t i) {
        source.FromSpeech(words[i % words.size()], ipa);
        benchmark::DoNotOptimize(ipa);
    });
}
BENCHMARK(BM_SpeechPath)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
