// The SDL 1.2 event queue the engine's requests travel through: how many
// events it holds, and how soon a thread blocked in SDL_WaitEvent sees an
// event pushed from another thread.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

struct SdlSession {
    SdlSession() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ok = SDL_Init(SDL_INIT_VIDEO) == 0;
    }
    ~SdlSession() { SDL_Quit(); }
    bool ok;
};

SDL_Event Request() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.code = 2;
    return event;
}

void BM_QueueCapacity(benchmark::State& state) {
    SdlSession sdl;
    if (!sdl.ok) return state.SkipWithError(SDL_GetError());
    SDL_Event event = Request();
    int capacity = 0;
    for (auto _ : state) {
        capacity = 0;
        while (SDL_PushEvent(&event) == 0 && capacity < 1000000) ++capacity;
        SDL_Event drained;
        while (SDL_PollEvent(&drained) == 1) {
        }
    }
    state.counters["capacity"] = capacity;
}
BENCHMARK(BM_QueueCapacity)->Iterations(10);

// Time from SDL_PushEvent on another thread to SDL_WaitEvent returning, with
// the waiter idle for 15 to 35 ms before the push. One push per repetition, so
// the aggregates are percentiles over single wake-ups.
void BM_IdleWakeLatency(benchmark::State& state) {
    SdlSession sdl;
    if (!sdl.ok) return state.SkipWithError(SDL_GetError());
    SDL_Event event = Request();
    unsigned seed = 1;
    for (auto _ : state) {
        std::chrono::steady_clock::time_point pushed;
        auto idle = std::chrono::microseconds(15000 + rand_r(&seed) % 20000);
        std::thread pusher([&] {
            std::this_thread::sleep_for(idle);
            pushed = std::chrono::steady_clock::now();
            SDL_PushEvent(&event);
        });
        SDL_Event received;
        SDL_WaitEvent(&received);
        auto woken = std::chrono::steady_clock::now();
        pusher.join();
        state.SetIterationTime(std::chrono::duration<double>(woken - pushed).count());
    }
}
BENCHMARK(BM_IdleWakeLatency)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("p90", [](const std::vector<double>& v) {
        std::vector<double> sorted(v);
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() * 9 / 10];
    });

}  // namespace

BENCHMARK_MAIN();
