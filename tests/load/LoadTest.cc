// Load through the bridge with the real engine: eight clients post the four
// answered requests as fast as the bridge accepts them, and every answer is
// read back from the event stream. Each request carries a word that names its
// client and its sequence number, so the stream shows whether an answer was
// lost, doubled or overtaken by a later one of the same kind.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"

namespace {

using lxtest::EngineProcess;
using nlohmann::json;

constexpr int kClients = 8;
constexpr int kKinds = 4;

// The four answered methods and the answer member that echoes the request's
// first argument.
struct Kind {
    const char* method;
    const char* echo;
};
const Kind kKindTable[kKinds] = {{"GetIndexWords", "anchor"},
                                 {"GetDefinition", "word"},
                                 {"GetAudioFile", "word"},
                                 {"GetManagedWords", "fileName"}};

// "<kind>k<client>n<sequence>", read back by sscanf.
std::string RequestWord(int kind, int client, int sequence) {
    return std::to_string(kind) + "k" + std::to_string(client) + "n" + std::to_string(sequence);
}

// Every event of one subscription to /pdl/events, collected on its own thread.
class EventLog {
public:
    explicit EventLog(EngineProcess& engine) : client(engine.NewClient()) {
        client->set_read_timeout(std::chrono::seconds(60));
        reader = std::thread([this] {
            client->Get("/pdl/events", [this](const char* data, size_t length) {
                std::lock_guard<std::mutex> lock(mutex);
                text.append(data, length);
                for (size_t end; (end = text.find("\n\n")) != std::string::npos;) {
                    if (text.compare(0, 6, "data: ") == 0)
                        events.push_back(text.substr(6, end - 6));
                    text.erase(0, end + 2);
                }
                arrived.notify_all();
                return true;
            });
        });
    }
    // Closes the stream (the engine may still run when a check failed).
    ~EventLog() {
        client->stop();
        reader.join();
    }

    // Waits (40 s at most) until `count` events arrived in all; returns them all.
    std::vector<std::string> WaitFor(size_t count) {
        std::unique_lock<std::mutex> lock(mutex);
        arrived.wait_for(lock, std::chrono::seconds(40), [&] { return events.size() >= count; });
        return events;
    }

private:
    std::unique_ptr<httplib::Client> client;
    std::thread reader;
    std::mutex mutex;
    std::condition_variable arrived;
    std::string text;                 // what has not yet formed a whole event
    std::vector<std::string> events;  // each event's data
};

// Resident set of the engine process in kB.
long EngineResidentKb(const EngineProcess& engine) {
    std::ifstream status("/proc/" + std::to_string(engine.Pid()) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return atol(line.c_str() + 6);
    }
    return -1;
}

// One round: every client posts `perKind` requests of each kind, the kinds
// interleaved, through /pdl/call; when `waiting`, the even clients wait for
// each answer through /pdl/request instead, which must be their own while the
// odd ones' answers of the same kinds come in between. Then every request
// must be answered once on the event stream, by its own callback, and the
// answers of one client and kind in posting order. `answered` counts the
// events seen so far (the "ready" event included).
void RunRound(EngineProcess& engine, EventLog& events, int perKind, size_t* answered,
              bool waiting = false) {
    std::atomic<int> accepted{0};
    std::atomic<int> mismatched{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            std::unique_ptr<httplib::Client> http = engine.NewClient();
            const bool waits = waiting && c % 2 == 0;
            for (int sequence = 0; sequence < perKind; ++sequence) {
                for (int k = 0; k < kKinds; ++k) {
                    std::string word = RequestWord(k, c, sequence);
                    lxtest::CallParams params = {word};
                    if (k == 0) params = {word, 5, sequence % 2, 0};
                    httplib::Result r = http->Post(waits ? "/pdl/request" : "/pdl/call",
                                                   lxtest::CallBody(kKindTable[k].method, params),
                                                   "application/json");
                    if (!r || r->status != 200) continue;
                    ++accepted;
                    json answer = json::parse(r->body, nullptr, false);
                    if (waits && answer.value(kKindTable[k].echo, "") != word) ++mismatched;
                }
            }
        });
    }
    for (std::thread& client : clients) client.join();
    const size_t round = kKinds * kClients * perKind;
    ASSERT_EQ(static_cast<int>(round), accepted.load());
    EXPECT_EQ(0, mismatched.load());

    std::vector<std::string> seen = events.WaitFor(*answered + round);
    ASSERT_EQ(*answered + round, seen.size());
    std::map<std::pair<int, int>, int> next;  // (kind, client) -> expected sequence
    int foundDefinitions = 0;
    for (size_t e = *answered; e < seen.size(); ++e) {
        json event = json::parse(seen[e]);
        ASSERT_EQ(1u, event["params"].size());
        json answer = json::parse(event["params"][0].get<std::string>());
        int kind = 0, client = -1, sequence = -1;
        while (kind < kKinds &&
               event["function"] != "Callback_" + std::string(kKindTable[kind].method))
            ++kind;
        ASSERT_LT(kind, kKinds) << seen[e];
        int echoed = -1;
        sscanf(answer.value(kKindTable[kind].echo, "").c_str(), "%dk%dn%d", &echoed, &client,
               &sequence);
        ASSERT_EQ(kind, echoed) << seen[e];
        int& expected = next[{kind, client}];
        ASSERT_EQ(expected, sequence) << seen[e];
        ++expected;
        if (answer.contains("dictionary")) ++foundDefinitions;
    }
    EXPECT_EQ(static_cast<size_t>(kKinds * kClients), next.size());
    for (const auto& stream : next) EXPECT_EQ(perKind, stream.second);
    EXPECT_EQ(kClients * ((perKind + 1) / 2), foundDefinitions);
    *answered = seen.size();
}

// Two more rounds after the first: the engine's resident memory stays flat.
// Losing 32 bytes per request (one argument copy) would add some 640 kB over
// the two rounds on top of the 250 kB or so that the allocator and the thread
// pools still take while they settle. Sanitizer runtimes hold freed memory
// back (and find leaks themselves), so there the check is left out.
void CheckMemoryFlat(EngineProcess& engine, EventLog& events, int perKind, size_t* answered) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return;
#elif defined(__has_feature)
    if (__has_feature(address_sanitizer) || __has_feature(thread_sanitizer)) return;
#endif
    long firstKb = EngineResidentKb(engine);
    for (int round = 0; round < 2; ++round) {
        ASSERT_NO_FATAL_FAILURE(RunRound(engine, events, perKind, answered));
    }
    long lastKb = EngineResidentKb(engine);
    ASSERT_GT(firstKb, 0);
    EXPECT_LT(lastKb - firstKb, 480) << firstKb << " kB, then " << lastKb << " kB";
    ::testing::Test::RecordProperty("rss_first_round_kb", static_cast<int>(firstKb));
    ::testing::Test::RecordProperty("rss_third_round_kb", static_cast<int>(lastKb));
}

// A writer replaces one list again and again with two different texts (both
// larger than the engine's copy buffer) while readers fetch it: every answer
// holds one of the two texts whole.
void CheckListRace(EngineProcess& engine, EventLog& events, size_t* answered) {
    auto answerOf = [](const char* stem, int words) {
        json list = json::array();
        for (int i = 0; i < words; ++i) list.push_back(stem + std::to_string(i));
        return std::make_pair(list.dump(),
                              "{\"fileName\":\"race\",\"words\":\n" + list.dump() + "}");
    };
    const std::pair<std::string, std::string> lists[2] = {answerOf("alpha", 400),
                                                          answerOf("omega-word-", 900)};
    constexpr int kStores = 300, kReaders = 3, kReads = 200;
    auto post = [&](int count, bool store) {
        std::unique_ptr<httplib::Client> http = engine.NewClient();
        for (int i = 0; i < count; ++i) {
            std::string body =
                store ? lxtest::CallBody("SetManagedWords", {"race", lists[i % 2].first})
                      : lxtest::CallBody("GetManagedWords", {"race"});
            httplib::Result r = http->Post("/pdl/call", body, "application/json");
            EXPECT_TRUE(r && r->status == 200);
        }
    };
    post(1, true);
    std::vector<std::thread> threads;
    threads.emplace_back(post, kStores, true);
    for (int t = 0; t < kReaders; ++t) threads.emplace_back(post, kReads, false);
    for (std::thread& thread : threads) thread.join();

    std::vector<std::string> seen = events.WaitFor(*answered + kReaders * kReads);
    ASSERT_EQ(*answered + kReaders * kReads, seen.size());
    for (size_t e = *answered; e < seen.size(); ++e) {
        std::string answer = json::parse(seen[e])["params"][0];
        EXPECT_TRUE(answer == lists[0].second || answer == lists[1].second)
            << "an answer of " << answer.size() << " bytes: " << answer.substr(0, 80);
    }
    *answered = seen.size();
}

// After a warm-up, three rounds of 10,016 requests (one under a sanitizer):
// all answered in order, none lost, and the engine's resident memory flat
// after the first round; then one list stored and fetched in a race.
TEST(Load, EightClientsTenThousandRequestsAnsweredInOrder) {
    constexpr int kWarmUpPerKind = 63;  // 8 clients x 4 kinds x 63 = 2,016 requests
    constexpr int kRoundPerKind = 313;  // 8 x 4 x 313 = 10,016 requests
    // A dictionary in which half the definition words of every client exist.
    lxtest::TestDatabase db;
    uint32_t gloss = db.Sense({{"load"}, "a word made for the load test", {}});
    for (int client = 0; client < kClients; ++client) {
        for (int sequence = 0; sequence < kRoundPerKind; sequence += 2) {
            db.Word(RequestWord(1, client, sequence), {{lxd::kKindNoun, gloss}});
        }
    }
    ASSERT_TRUE(db.Write());
    EngineProcess engine(db.Path());
    ASSERT_TRUE(engine.Start());
    EventLog events(engine);
    // A subscriber that comes after "ready" still gets it first, in the
    // stream's "data: ...\n\n" framing.
    std::vector<std::string> ready = events.WaitFor(1);
    ASSERT_EQ(1u, ready.size());
    EXPECT_EQ(json({{"function", "ready"}, {"params", json::array()}}), json::parse(ready[0]));
    size_t answered = 1;

    ASSERT_NO_FATAL_FAILURE(RunRound(engine, events, kWarmUpPerKind, &answered, true));
    ASSERT_NO_FATAL_FAILURE(RunRound(engine, events, kRoundPerKind, &answered));
    ASSERT_NO_FATAL_FAILURE(CheckMemoryFlat(engine, events, kRoundPerKind, &answered));
    ASSERT_NO_FATAL_FAILURE(CheckListRace(engine, events, &answered));
    EXPECT_EQ(0, engine.Stop());
}

}  // namespace
