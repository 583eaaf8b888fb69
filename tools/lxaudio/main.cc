// lxaudio: serves the pronunciation recording of every headword of the
// dictionary at its audio path, on 127.0.0.1, from the application directory.
//   lxaudio [--data FILE] [--cache DIR] [--voice NAME]
// The port is LXAUDIO_PORT (default 7771; 0 picks a free one). The line
// "lxaudio listening on 127.0.0.1:PORT" on standard output says it is ready.
#include <httplib.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/ListeningPort.h"
#include "tools/lxaudio/HeadwordIndex.h"
#include "tools/lxaudio/RecordingCache.h"
#include "tools/lxaudio/SpeechSynthesizer.h"

namespace {

const char kHost[] = "127.0.0.1";
const int kDefaultPort = 7771;
const int kWorkerThreads = 16;

struct Options {
    std::string data = "data/wordnet.lxd";
    std::string cache = "audiocache";
    std::string voice = "en-us";
    int port = kDefaultPort;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (i + 1 >= argc) return false;
        std::string value = argv[++i];
        if (name == "--data") {
            options->data = value;
        } else if (name == "--cache") {
            options->cache = value;
        } else if (name == "--voice") {
            options->voice = value;
        } else {
            return false;
        }
    }
    const char* port = getenv("LXAUDIO_PORT");
    if (port != nullptr && *port != '\0') {
        char* end = nullptr;
        long value = strtol(port, &end, 10);
        if (*end != '\0' || value < 0 || value > 65535) return false;
        options->port = static_cast<int>(value);
    }
    return true;
}

// Stops the server on SIGINT or SIGTERM. The signals are blocked in every
// thread and taken here, so the server is stopped outside a signal handler;
// stop() is repeated until listening has ended, since a signal that comes
// before the server runs would otherwise be lost.
struct Stopper {
    httplib::Server* server;
    sigset_t signals;
    std::atomic<bool> signalled{false};
    std::atomic<bool> listening{true};

    void Run() {
        int received = 0;
        sigwait(&signals, &received);
        signalled = true;
        while (listening) {
            server->stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

void ServeRecording(const CHeadwordIndex& index, CRecordingCache* cache,
                    const httplib::Request& request, httplib::Response& response) {
    const std::string* word = index.Find(request.path);
    if (word == nullptr) {
        response.status = 404;
        response.set_content("no recording here\n", "text/plain");
        return;
    }
    std::string recording;
    if (!cache->Get(*word, CHeadwordIndex::FileNameOf(*word), &recording)) {
        response.status = 500;
        response.set_content("the recording could not be made\n", "text/plain");
        return;
    }
    response.set_header("Cache-Control", "public, max-age=86400");
    response.set_content(recording, "application/octet-stream");
}

}  // namespace

int main(int argc, char** argv) {
    // Blocked before any thread starts (espeak-ng starts one of its own), so
    // that only the stopper takes them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        fprintf(stderr,
                "usage: LXAUDIO_PORT=N lxaudio [--data FILE] [--cache DIR] [--voice NAME]\n");
        return 2;
    }
    std::string error;
    CHeadwordIndex index;
    CSpeechSynthesizer synthesizer;
    if (!index.Load(options.data, &error) || !synthesizer.Initialise(options.voice, &error)) {
        fprintf(stderr, "lxaudio: %s\n", error.c_str());
        return 1;
    }
    CRecordingCache cache(options.cache, &synthesizer);

    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    // Headers and body go out in separate writes: without this, Nagle's
    // algorithm holds the body back for the client's delayed ACK (~40 ms).
    server.set_tcp_nodelay(true);
    // The recordings are public, and the web app is served from the bridge,
    // whose port differs between runs and tests: any origin may read them.
    server.set_default_headers({{"Access-Control-Allow-Origin", "*"}});
    server.Get("/pron/vox/.*", [&](const httplib::Request& request, httplib::Response& response) {
        ServeRecording(index, &cache, request, response);
    });

    int port = BindExclusively(server, kHost, options.port);
    if (port <= 0) {
        ReportListenFailure("lxaudio", kHost, options.port, "LXAUDIO_PORT");
        return 1;
    }
    Stopper stopper{&server, signals};
    std::thread stopperThread(&Stopper::Run, &stopper);
    printf("lxaudio listening on %s:%d (%zu recordings)\n", kHost, port, index.Size());
    fflush(stdout);
    bool served = server.listen_after_bind();
    stopper.listening = false;
    if (!stopper.signalled) pthread_kill(stopperThread.native_handle(), SIGTERM);
    stopperThread.join();
    return served ? 0 : 1;
}
