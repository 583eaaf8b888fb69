// lxdictd: Lexora's dictionary over the DICT protocol (RFC 2229), for dict,
// GoldenDict and editors with a DICT mode.
//
//   lxdictd [--data APPDIR] [--listen ADDRESS] [--port N] [--max-connections N]
//           [--idle-timeout SECONDS]
//
// Serves the database "lexora" from APPDIR/data/wordnet.lxd (default: the
// working directory) on 127.0.0.1:2628 unless told otherwise. The line
// "lxdictd listening on ADDRESS:PORT" on standard output says it is ready;
// SIGINT or SIGTERM stops it.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "tools/lxdictd/DictServer.h"
#include "tools/lxdictd/DictionaryService.h"

namespace {

struct Settings {
    std::string appDir = ".";
    CDictServer::Options server;
};

bool ReadNumber(const char* text, int low, int high, int* out) {
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high) return false;
    *out = static_cast<int>(value);
    return true;
}

bool ParseArguments(int argc, char** argv, Settings* settings) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (value == nullptr) return false;
        bool good = true;
        if (option == "--data") {
            settings->appDir = value;
        } else if (option == "--listen") {
            settings->server.address = value;
        } else if (option == "--port") {
            good = ReadNumber(value, 0, 65535, &settings->server.port);
        } else if (option == "--max-connections") {
            good = ReadNumber(value, 1, 4096, &settings->server.maxConnections);
        } else if (option == "--idle-timeout") {
            good = ReadNumber(value, 1, 86400, &settings->server.idleSeconds);
        } else {
            good = false;
        }
        if (!good) return false;
        ++i;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!ParseArguments(argc, argv, &settings)) {
        fprintf(stderr,
                "usage: lxdictd [--data APPDIR] [--listen ADDRESS] [--port N] "
                "[--max-connections N] [--idle-timeout SECONDS]\n");
        return 2;
    }
    // Signals are taken by one thread with sigwait, outside any handler.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    CDictionaryService service;
    CDictionaryService::Options serviceOptions;
    serviceOptions.keepWholeStore = true;
    std::string error;
    if (!service.Open(settings.appDir, serviceOptions, &error)) {
        fprintf(stderr, "lxdictd: %s\n", error.c_str());
        return 1;
    }
    const uint32_t headwords = service.Headwords().Count();
    CDictServer server(&service, settings.server);
    if (!server.Listen(&error)) {
        fprintf(stderr, "lxdictd: %s\n", error.c_str());
        return 1;
    }
    std::atomic<bool> signalled{false};
    std::thread stopper([&server, &signals, &signalled] {
        int received = 0;
        sigwait(&signals, &received);
        signalled = true;
        server.Stop();
    });
    printf("lxdictd listening on %s:%d (%u headwords)\n", settings.server.address.c_str(),
           server.Port(), headwords);
    fflush(stdout);
    server.Run();
    // Should the accept loop end on its own, the signal thread still waits.
    if (!signalled) pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return signalled ? 0 : 1;
}
