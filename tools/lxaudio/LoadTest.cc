// lxaudioload: measures lxaudio under concurrent clients on loopback.
//   lxaudioload --port N [--data FILE] [--clients 8] [--seconds 20]
//               [--mode first|cached] [--words 200]
// "first" asks for every headword once, in dictionary order, so each request
// makes a recording (start the server on an empty cache); "cached" first
// fetches --words recordings, then asks for them again at random. Prints the
// request count and the latency median, 99th percentile and maximum.
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tools/lxaudio/HeadwordIndex.h"

namespace {

struct Options {
    int port = 7771;
    std::string data = "data/wordnet.lxd";
    int clients = 8;
    int seconds = 20;
    std::string mode = "first";
    size_t words = 200;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        std::string value = argv[i + 1];
        if (name == "--port") {
            options->port = std::stoi(value);
        } else if (name == "--data") {
            options->data = value;
        } else if (name == "--clients") {
            options->clients = std::stoi(value);
        } else if (name == "--seconds") {
            options->seconds = std::stoi(value);
        } else if (name == "--mode") {
            options->mode = value;
        } else if (name == "--words") {
            options->words = std::stoul(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options->clients > 0 && options->clients <= 64 &&
           options->seconds > 0 && options->seconds <= 300 &&
           (options->mode == "first" || options->mode == "cached");
}

using Clock = std::chrono::steady_clock;

// Requests paths until the deadline; `next` picks the path of each request
// (empty = stop). Latencies in microseconds go to `latencies`.
void RunClient(int port, Clock::time_point deadline, const std::function<std::string()>& next,
               std::vector<double>* latencies, std::atomic<int>* failures) {
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    client.set_read_timeout(30, 0);
    while (Clock::now() < deadline) {
        std::string path = next();
        if (path.empty()) break;
        Clock::time_point start = Clock::now();
        httplib::Result result = client.Get(path.c_str());
        double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        if (!result || result->status != 200) {
            ++*failures;
            continue;
        }
        latencies->push_back(micros);
    }
}

double Percentile(const std::vector<double>& sorted, double fraction) {
    if (sorted.empty()) return 0;
    size_t index = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        fprintf(stderr,
                "usage: lxaudioload --port N [--data FILE] [--clients 1..64] [--seconds 1..300]"
                " [--mode first|cached] [--words N]\n");
        return 2;
    }
    CHeadwordIndex index;
    std::string error;
    if (!index.Load(options.data, &error)) {
        fprintf(stderr, "lxaudioload: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> paths = index.Paths();
    std::sort(paths.begin(), paths.end());
    if (options.mode == "cached") {
        paths.resize(std::min(paths.size(), options.words));
        httplib::Client warm("127.0.0.1", options.port);
        warm.set_read_timeout(30, 0);
        for (const std::string& path : paths) warm.Get(path.c_str());
    }

    std::atomic<size_t> cursor{0};
    std::mutex randomLock;
    std::mt19937 random(7);
    std::function<std::string()> next = [&]() -> std::string {
        if (options.mode == "first") {
            size_t at = cursor++;
            return at < paths.size() ? paths[at] : std::string();
        }
        std::lock_guard<std::mutex> guard(randomLock);
        return paths[random() % paths.size()];
    };

    Clock::time_point deadline = Clock::now() + std::chrono::seconds(options.seconds);
    std::vector<std::vector<double>> latencies(options.clients);
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < options.clients; ++i) {
        clients.emplace_back(RunClient, options.port, deadline, next, &latencies[i], &failures);
    }
    for (std::thread& client : clients) client.join();
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    std::vector<double> all;
    for (const std::vector<double>& part : latencies)
        all.insert(all.end(), part.begin(), part.end());
    std::sort(all.begin(), all.end());
    printf("mode=%s clients=%d seconds=%.1f requests=%zu failures=%d rate=%.0f/s\n",
           options.mode.c_str(), options.clients, elapsed, all.size(), failures.load(),
           static_cast<double>(all.size()) / elapsed);
    printf("latency_us median=%.0f p99=%.0f max=%.0f\n", Percentile(all, 0.5),
           Percentile(all, 0.99), all.empty() ? 0.0 : all.back());
    return failures.load() == 0 ? 0 : 1;
}
