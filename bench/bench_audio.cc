// The engine's audio cache: GetAudioFile answered from the cache (lookup of
// the names, the file check and the JSON answer), InflateFile of a 100 KB
// recording, and the whole store of a downloaded 100 KB recording.
// Run: bench_audio --benchmark_repetitions=20 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/AudioFiles.h"
#include "platform/PDLFake.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

constexpr size_t kRecordingBytes = 100 * 1024;

// 100 KB of 16-bit PCM: a gliding tone with a little noise, which compresses
// about as well as speech does.
std::string Recording() {
    std::string wav = "RIFF....WAVEfmt ";
    uint32_t noise = 1;
    for (size_t i = 0; wav.size() < kRecordingBytes; ++i) {
        noise = noise * 1664525u + 1013904223u;
        double t = static_cast<double>(i) / 22050.0;
        int sample = static_cast<int>(8000 * std::sin(2 * M_PI * (200 + 300 * t) * t)) +
                     static_cast<int>(noise >> 24) - 128;
        wav.push_back(static_cast<char>(sample & 0xFF));
        wav.push_back(static_cast<char>((sample >> 8) & 0xFF));
    }
    return wav;
}

std::string Compress(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
              data.size(), 9);
    out.resize(size);
    return out;
}

SDL_UserEvent AudioRequest(const char* word, const char* download) {
    SDL_UserEvent event{};
    event.type = SDL_USEREVENT;
    event.code = 3;
    event.data1 = strdup(word);
    event.data2 = download ? strdup(download) : nullptr;
    return event;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void BM_GetAudioFileFromCache(benchmark::State& state) {
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());
    lxtest::WriteTextFile("pron/vox_C2_352441_abc", "RIFF");
    for (auto _ : state) {
        AnswerGetAudioFile(AudioRequest("abc", nullptr));
        benchmark::DoNotOptimize(pdlfake::TakeScriptCalls());
    }
}

void BM_InflateRecording100KB(benchmark::State& state) {
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());
    lxtest::WriteTextFile("in", Compress(Recording()));
    FILE* in = fopen("in", "rb");
    FILE* out = fopen("out", "wb");
    for (auto _ : state) {
        rewind(in);
        rewind(out);
        if (!InflateFile(in, out)) state.SkipWithError("inflate failed");
    }
    fclose(in);
    fclose(out);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRecordingBytes));
}

// The whole store: check and open the download, inflate into a temporary
// file, rename it into the cache, delete the download, answer.
void BM_StoreDownload100KB(benchmark::State& state) {
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());
    std::string stream = Compress(Recording());
    mkdir("downloads", 0777);
    for (auto _ : state) {
        state.PauseTiming();
        lxtest::WriteTextFile("downloads/abc.z", stream);
        state.ResumeTiming();
        AnswerGetAudioFile(AudioRequest("abc", "downloads/abc.z"));
        benchmark::DoNotOptimize(pdlfake::TakeScriptCalls());
    }
}

void WithPercentiles(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)
        ->ComputeStatistics("p99", [](const std::vector<double>& v) { return Percentile(v, 0.99); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return Percentile(v, 1.0); });
}

}  // namespace

BENCHMARK(BM_GetAudioFileFromCache)->Apply(WithPercentiles);
BENCHMARK(BM_InflateRecording100KB)->Apply(WithPercentiles);
BENCHMARK(BM_StoreDownload100KB)->Apply(WithPercentiles);

BENCHMARK_MAIN();
