// Helpers shared by the benchmark programs: per-operation percentiles of
// timed samples, and one definition request answered through the engine.
#ifndef LEXORA_BENCH_BENCHSUPPORT_H
#define LEXORA_BENCH_BENCHSUPPORT_H

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host/DictionaryAnswers.h"
#include "platform/PDLFake.h"

namespace bench {

// Runs `batch` operations per timed sample and reports the per-operation
// percentiles of the samples as counters.
template <typename Op>
void RunSampled(benchmark::State& state, int batch, Op op) {
    std::vector<double> samples;
    samples.reserve(1 << 16);
    size_t i = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (int b = 0; b < batch; ++b) op(i++);
        auto end = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::nano>(end - start).count() / batch);
    }
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    state.counters["p50_ns"] = at(0.50);
    state.counters["p90_ns"] = at(0.90);
    state.counters["p99_ns"] = at(0.99);
    state.SetItemsProcessed(static_cast<int64_t>(i));
}

// The engine side of one definition request: the answer routine from the
// event to the delivered text (kept by the in-process library).
inline void AnswerDefinition(const std::string& word) {
    SDL_UserEvent event = {};
    event.type = SDL_USEREVENT;
    event.code = 2;
    event.data1 = strdup(word.c_str());
    AnswerGetDefinition(event);
}

// Drops the delivered answers; returns their total size. With `checksum`,
// folds a hash of each answer's bytes into it, so that two builds can be
// shown to answer byte for byte alike.
inline size_t DropAnswers(uint64_t* checksum = nullptr) {
    size_t bytes = 0;
    for (const pdlfake::ScriptCall& call : pdlfake::TakeScriptCalls()) {
        for (const std::string& param : call.params) {
            bytes += param.size();
            if (checksum != nullptr) *checksum = *checksum * 31 + std::hash<std::string>()(param);
        }
    }
    return bytes;
}

// A pronounceable synthetic headword: two to five syllables, sometimes a
// final consonant, a second word (when `phrases`) or a leading capital.
inline std::string SyntheticWord(std::mt19937* random, bool phrases) {
    static const char* const kSyllables[] = {
        "ba", "be", "bi", "bo", "ca", "ce", "co", "da", "de", "di", "fa", "fe", "ga", "gi", "ha",
        "he", "la", "le", "li", "lo", "ma", "me", "mi", "mo", "na", "ne", "no", "pa", "pe", "pi",
        "ra", "re", "ri", "ro", "sa", "se", "si", "ta", "te", "ti", "to", "va", "ve", "za"};
    static const char kEndings[] = "bdgklmnprst";
    std::string word;
    int syllables = 2 + (*random)() % 4;
    for (int i = 0; i < syllables; ++i) word += kSyllables[(*random)() % 44];
    if ((*random)() % 2) word += kEndings[(*random)() % 11];
    if (phrases && (*random)() % 8 == 0) word += " " + word.substr(0, 4);
    if ((*random)() % 20 == 0) word[0] = static_cast<char>(word[0] - 0x20);
    return word;
}

}  // namespace bench

#endif  // LEXORA_BENCH_BENCHSUPPORT_H
