#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/Bridge.h"
#include "platform/JSParameters.h"

namespace {

// A stand-in engine: GetDefinition posts its word, which a responder thread
// answers in order as "echo <word>"; GetAudioFile posts nothing and so is
// never answered; CleanUp has no answer at all.
std::mutex postedMutex;
std::condition_variable postedSignal;
std::deque<std::string> posted;

PDL_bool PostWord(PDL_JSParameters* params) {
    if (PDL_GetNumJSParams(params) != 1) {
        PDL_JSException(params, "wrong number of parameters for GetDefinition");
        return 0;
    }
    std::lock_guard<std::mutex> lock(postedMutex);
    posted.push_back(PDL_GetJSParamString(params, 0));
    postedSignal.notify_one();
    return 1;
}

PDL_bool Accept(PDL_JSParameters*) {
    return 1;
}

class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        handlers.Register("GetDefinition", PostWord);
        handlers.Register("GetAudioFile", Accept);
        handlers.Register("CleanUp", Accept);
        handlers.Complete();
        bridge.AllowPostContentType("/upload/", "application/octet-stream");
        bridge.Server().Post("/upload/file", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("stored", "text/plain");
        });
        ASSERT_TRUE(bridge.Start(0));
        responder = std::thread([this] { Respond(); });
    }
    void TearDown() override {
        {
            std::lock_guard<std::mutex> lock(postedMutex);
            stopping = true;
        }
        postedSignal.notify_all();
        responder.join();
        bridge.Stop();
    }

    void Respond() {
        std::unique_lock<std::mutex> lock(postedMutex);
        for (;;) {
            postedSignal.wait(lock, [this] { return stopping || !posted.empty(); });
            if (stopping) return;
            std::string word = posted.front();
            posted.pop_front();
            lock.unlock();
            bridge.Publish("Callback_GetDefinition", {"echo " + word});
            lock.lock();
        }
    }

    httplib::Client Client() const {
        httplib::Client client("127.0.0.1", bridge.Port());
        client.set_read_timeout(30, 0);
        return client;
    }
    std::string Origin() const { return "http://127.0.0.1:" + std::to_string(bridge.Port()); }

    httplib::Result Post(const std::string& path, const std::string& body,
                         const httplib::Headers& headers = {},
                         const char* type = "application/json") {
        return Client().Post(path.c_str(), headers, body, type);
    }

    CHandlerTable handlers;
    CBridge bridge{handlers};
    std::thread responder;
    bool stopping = false;
};

int Status(const httplib::Result& result) {
    return result ? result->status : 0;
}

TEST_F(BridgeTest, OnlyTheLocalUsersOwnRequestsGetThrough) {
    const std::string call = R"({"method":"CleanUp"})";
    std::string port = std::to_string(bridge.Port());
    EXPECT_EQ(200, Status(Post("/pdl/call", call)));
    EXPECT_EQ(200, Status(Post("/pdl/call", call, {{"Host", "localhost:" + port}})));
    EXPECT_EQ(200, Status(Post("/pdl/call", call, {{"Origin", Origin()}})));
    EXPECT_EQ(200, Status(Post("/pdl/call", call, {}, "application/json; charset=utf-8")));

    EXPECT_EQ(403, Status(Post("/pdl/call", call, {{"Host", "evil.example:" + port}})));
    EXPECT_EQ(403, Status(Post("/pdl/call", call, {{"Host", "127.0.0.1:1"}})));
    EXPECT_EQ(403, Status(Post("/pdl/call", call, {{"Origin", "http://evil.example"}})));
    EXPECT_EQ(403, Status(Post("/pdl/call", call, {{"Origin", "null"}})));
    EXPECT_EQ(403, Status(Post("/pdl/call", call, {}, "text/plain")));
    EXPECT_EQ(403, Status(Post("/pdl/call", call, {}, "application/x-www-form-urlencoded")));
    EXPECT_EQ(403, Status(Client().Get("/pdl/events", {{"Origin", "http://evil.example"}})));
    EXPECT_EQ(403, Status(Post("/pdl/call", call, {}, "application/octet-stream")));
    EXPECT_EQ(200, Status(Post("/upload/file", "bytes", {}, "application/octet-stream")));
    EXPECT_EQ(403, Status(Post("/upload/file", "bytes", {{"Origin", "http://evil.example"}},
                               "application/octet-stream")));
}

TEST_F(BridgeTest, CallsReportResultsAndRefuseBadBodies) {
    httplib::Result done = Post("/pdl/call", R"({"method":"GetAudioFile","params":["cat", 3]})");
    ASSERT_EQ(200, Status(done));
    EXPECT_EQ(nlohmann::json({{"result", true}}), nlohmann::json::parse(done->body));

    httplib::Result raised = Post("/pdl/call", R"({"method":"GetDefinition","params":[]})");
    ASSERT_EQ(200, Status(raised));
    EXPECT_EQ(nlohmann::json({{"result", false},
                              {"exception", "wrong number of parameters for GetDefinition"}}),
              nlohmann::json::parse(raised->body));
    httplib::Result refused = Post("/pdl/request", R"({"method":"GetDefinition","params":[]})");
    ASSERT_EQ(400, Status(refused));
    EXPECT_EQ("wrong number of parameters for GetDefinition",
              nlohmann::json::parse(refused->body)["exception"]);

    EXPECT_EQ(404, Status(Post("/pdl/call", R"({"method":"Unknown"})")));
    for (const char* bad :
         {"", "not json", "[]", R"({"params":[]})", R"({"method":7})",
          R"({"method":"CleanUp","params":"x"})", R"({"method":"GetDefinition","params":[1.5]})",
          R"({"method":"GetDefinition","params":[true]})"}) {
        EXPECT_EQ(400, Status(Post("/pdl/request", bad))) << bad;
    }
    httplib::Result immediate = Post("/pdl/request", R"({"method":"CleanUp","params":[]})");
    ASSERT_EQ(200, Status(immediate));
    EXPECT_EQ(nlohmann::json({{"result", true}}), nlohmann::json::parse(immediate->body));
    std::lock_guard<std::mutex> lock(postedMutex);
    EXPECT_TRUE(posted.empty());
}

TEST_F(BridgeTest, ConcurrentRequestsGetTheirOwnAnswers) {
    constexpr int kClients = 8;
    constexpr int kEach = 60;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client client = Client();
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            for (int i = 0; i < kEach; ++i) {
                std::string word = "w" + std::to_string(c) + "-" + std::to_string(i);
                std::string body = R"({"method":"GetDefinition","params":[")" + word + "\"]}";
                httplib::Result result = client.Post("/pdl/request", body, "application/json");
                if (!result || result->status != 200 || result->body != "echo " + word) {
                    ++mismatches;
                }
                // Calls without a waiter take their answers out of the order too.
                if (i % 10 == 0) client.Post("/pdl/call", body, "application/json");
            }
        });
    }
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(0, mismatches.load());
}

TEST_F(BridgeTest, UnansweredRequestTimesOut) {
    bridge.SetRequestTimeout(std::chrono::milliseconds(50));
    EXPECT_EQ(504, Status(Post("/pdl/request", R"({"method":"GetAudioFile","params":["cat"]})")));
}

TEST_F(BridgeTest, EventStreamStartsWithReady) {
    bridge.Publish("ready", {});
    std::string received;
    Client().Get("/pdl/events", [&](const char* data, size_t length) {
        received.append(data, length);
        return received.find("\n\n") == std::string::npos;
    });
    EXPECT_EQ("data: {\"function\":\"ready\",\"params\":[]}\n\n", received);
}

TEST(Bridge, RefusesCallsBeforeRegistrationIsComplete) {
    CHandlerTable handlers;
    handlers.Register("CleanUp", Accept);
    CBridge bridge(handlers);
    ASSERT_TRUE(bridge.Start(0));
    httplib::Client client("127.0.0.1", bridge.Port());
    EXPECT_EQ(503, Status(client.Post("/pdl/call", R"({"method":"CleanUp"})", "application/json")));
}

}  // namespace
