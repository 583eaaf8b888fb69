// Round trips through the HTTP bridge of a running engine: a call that the
// bridge answers itself (client and bridge), and definition requests that
// cross the event loop, sent back to back and after an idle pause.
#include <httplib.h>

#include <cstdio>
#include <random>
#include <thread>

#include "bench/compare/Peers.h"

namespace lxcompare {

namespace {

std::string CallBody(const std::string& method, const std::string& word) {
    std::string body = "{\"method\":\"" + method + "\",\"params\":[";
    if (!word.empty()) {
        body += '"';
        for (char c : word) {
            if (c == '"' || c == '\\') body += '\\';
            body += c == '_' ? ' ' : c;
        }
        body += '"';
    }
    return body + "]}";
}

}  // namespace

int RunBridge(int port, const std::string& wordsFile, int count, const std::string& out) {
    std::vector<std::string> words = ReadLines(wordsFile);
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);  // as browsers do; else Nagle holds the body back
    client.set_read_timeout(std::chrono::seconds(30));
    if (words.empty() || !client.Post("/pdl/call", CallBody("CleanUp", ""), "application/json")) {
        fprintf(stderr, "no bridge on 127.0.0.1:%d\n", port);
        return 1;
    }
    auto word = [&](int i) { return words[static_cast<size_t>(i) * 7919 % words.size()]; };
    Timings call(out, "bridge", "call");
    Timings busy(out, "bridge", "request");
    Timings idle(out, "bridge", "request-after-pause");
    std::mt19937 random(5);
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        call.Start();
        failures += !client.Post("/pdl/call", CallBody("CleanUp", ""), "application/json");
        call.Stop();
        busy.Start();
        failures +=
            !client.Post("/pdl/request", CallBody("GetDefinition", word(i)), "application/json");
        busy.Stop();
        // A pause of 15 to 25 ms lets the event loop fall idle in its wait.
        std::this_thread::sleep_for(std::chrono::microseconds(15000 + random() % 10000));
        idle.Start();
        failures +=
            !client.Post("/pdl/request", CallBody("GetDefinition", word(i)), "application/json");
        idle.Stop();
    }
    printf("bridge: %d round trips of each kind, %d failed\n", count, failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace lxcompare
