// Helpers shared by the benchmark programs: per-operation percentiles of
// timed samples, and one definition request answered through the engine.
#ifndef LEXORA_BENCH_BENCHSUPPORT_H
#define LEXORA_BENCH_BENCHSUPPORT_H

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
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

// Drops the delivered answers; returns their total size.
inline size_t DropAnswers() {
    size_t bytes = 0;
    for (const pdlfake::ScriptCall& call : pdlfake::TakeScriptCalls()) {
        for (const std::string& param : call.params) bytes += param.size();
    }
    return bytes;
}

}  // namespace bench

#endif  // LEXORA_BENCH_BENCHSUPPORT_H
