#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"

namespace {

using lxtest::EngineProcess;
using lxtest::HttpReply;
using nlohmann::json;

const char kDatabaseError[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

bool FileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// Counts the events of one subscription to /pdl/events on a thread of its own.
class EventCounter {
public:
    explicit EventCounter(EngineProcess& engine) : client(engine.NewClient()) {
        reader = std::thread([this] {
            client->Get("/pdl/events", [this](const char* data, size_t length) {
                std::lock_guard<std::mutex> lock(mutex);
                text.append(data, length);
                for (size_t end; (end = text.find("\n\n")) != std::string::npos;) {
                    if (text.compare(0, 6, "data: ") == 0)
                        events.push_back(text.substr(6, end - 6));
                    text.erase(0, end + 2);
                }
                return true;
            });
        });
    }
    // Ends when the engine stops and closes the stream.
    ~EventCounter() { reader.join(); }

    // Waits (up to 30 s) until `count` events arrived; returns them all.
    std::vector<std::string> WaitFor(size_t count) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (events.size() >= count || std::chrono::steady_clock::now() > deadline) {
                    return events;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

private:
    std::unique_ptr<httplib::Client> client;
    std::thread reader;
    std::mutex mutex;
    std::string text;                 // what has not yet formed a whole event
    std::vector<std::string> events;  // each event's data
};

TEST(BridgeEngine, AnswersErrorsAndStopsCleanlyWithoutADatabase) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    EXPECT_EQ(kDatabaseError, engine.Request("GetDefinition", {"cat"}).body);
    EXPECT_EQ(kDatabaseError, engine.Request("GetIndexWords", {"cat", 20, 1, 0}).body);
    EXPECT_EQ(kDatabaseError, engine.Request("GetManagedWords", {"recent"}).body);

    HttpReply wrong = engine.Request("GetIndexWords", {"cat", 20, 1});
    EXPECT_EQ(400, wrong.status);
    EXPECT_EQ(json({{"exception", "wrong number of parameters for GetIndexWords"}}),
              json::parse(wrong.body));
    EXPECT_EQ(404, engine.Call("Unknown").status);
    EXPECT_EQ(400, engine.Send("POST", "/pdl/request", "{\"method\":").status);

    HttpReply stored = engine.Request("SetManagedWords", {"recent", "[\"cat\"]"});
    EXPECT_EQ(200, stored.status);
    EXPECT_EQ(json({{"result", true}}), json::parse(stored.body));
    EXPECT_TRUE(FileExists(engine.DataDir() + "/recent"));

    EXPECT_EQ(0, engine.Stop());
    EXPECT_EQ("", engine.Output());
    EXPECT_NE(std::string::npos, engine.Log().find("LXCORE PLUGIN UNLOADED"));
}

TEST(BridgeEngine, RefusedRequestsNeverReachTheEngine) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    std::string body = lxtest::CallBody("SetManagedWords", {"recent", "[]"});
    std::string port = std::to_string(engine.Port());
    EXPECT_EQ(403, engine
                       .Send("POST", "/pdl/call", body, "application/json",
                             {"Host: attacker.example:" + port})
                       .status);
    EXPECT_EQ(403, engine
                       .Send("POST", "/pdl/call", body, "application/json",
                             {"Origin: http://attacker.example"})
                       .status);
    EXPECT_EQ(403, engine.Send("POST", "/pdl/call", body, "text/plain").status);
    EXPECT_FALSE(FileExists(engine.DataDir() + "/recent"));
    EXPECT_EQ(200, engine
                       .Send("POST", "/pdl/call", body, "application/json",
                             {"Origin: http://localhost:" + port})
                       .status);
    EXPECT_TRUE(FileExists(engine.DataDir() + "/recent"));
}

TEST(BridgeEngine, EventStreamReplaysReadyThenCarriesCallbacks) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    {
        EventCounter events(engine);
        std::vector<std::string> first = events.WaitFor(1);
        ASSERT_EQ(1u, first.size());
        EXPECT_EQ(json({{"function", "ready"}, {"params", json::array()}}), json::parse(first[0]));
        engine.Call("GetDefinition", {"cat"});
        std::vector<std::string> all = events.WaitFor(2);
        ASSERT_EQ(2u, all.size());
        EXPECT_EQ(json({{"function", "Callback_GetDefinition"}, {"params", {kDatabaseError}}}),
                  json::parse(all[1]));
        EXPECT_EQ(0, engine.Stop());
    }
}

// A burst larger than SDL's event queue: every accepted call is answered, and
// answers reach the requests they belong to.
TEST(BridgeEngine, BurstOfTenThousandRequestsIsAnsweredInFull) {
    lxtest::TestDatabase db;
    db.WordWithLines("cat", {{lxd::kKindOrigin, "from Latin cattus"}});
    ASSERT_TRUE(db.Write());
    EngineProcess engine(db.Path());
    ASSERT_TRUE(engine.Start());
    EventCounter events(engine);
    events.WaitFor(1);

    // Posting threads keep SDL's queue full; waiting threads check pairing.
    constexpr int kPosters = 4;
    constexpr int kPosts = 2400;
    constexpr int kWaiters = 2;
    constexpr int kWaits = 200;
    std::atomic<int> accepted{0};
    std::atomic<int> mismatched{0};
    auto run = [&](int thread, bool wait, int count) {
        std::unique_ptr<httplib::Client> client = engine.NewClient();
        for (int i = 0; i < count; ++i) {
            std::string word = "w" + std::to_string(thread) + "x" + std::to_string(i);
            std::string body = lxtest::CallBody("GetDefinition", {word});
            httplib::Result result =
                client->Post(wait ? "/pdl/request" : "/pdl/call", body, "application/json");
            if (!result || result->status != 200) continue;
            ++accepted;
            if (wait && json::parse(result->body)["word"] != word) ++mismatched;
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < kPosters; ++t) threads.emplace_back(run, t, false, kPosts);
    for (int t = 0; t < kWaiters; ++t) threads.emplace_back(run, kPosters + t, true, kWaits);
    for (std::thread& thread : threads) thread.join();
    constexpr int kTotal = kPosters * kPosts + kWaiters * kWaits;
    EXPECT_EQ(kTotal, accepted.load());
    EXPECT_EQ(0, mismatched.load());
    EXPECT_EQ(size_t{1} + kTotal, events.WaitFor(1 + kTotal).size());
    EXPECT_EQ(0, engine.Stop());
}

}  // namespace
