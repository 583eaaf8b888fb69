#include <gtest/gtest.h>
#include <httplib.h>

#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/Bridge.h"
#include "platform/JSParameters.h"

namespace {

using nlohmann::json;

// A stand-in engine that answers nothing: GetDefinition records its word;
// GetAudioFile and CleanUp accept any call.
std::mutex postedMutex;
std::vector<std::string> posted;

PDL_bool PostWord(PDL_JSParameters* params) {
    if (PDL_GetNumJSParams(params) != 1) {
        PDL_JSException(params, "wrong number of parameters for GetDefinition");
        return 0;
    }
    std::lock_guard<std::mutex> lock(postedMutex);
    posted.push_back(PDL_GetJSParamString(params, 0));
    return 1;
}

PDL_bool Accept(PDL_JSParameters*) {
    return 1;
}

int Status(const httplib::Result& result) {
    return result ? result->status : 0;
}

json Body(const httplib::Result& result) {
    return json::parse(result ? result->body : "", nullptr, false);
}

class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        handlers.Register("GetDefinition", PostWord);
        handlers.Register("GetAudioFile", Accept);
        handlers.Register("CleanUp", Accept);
        handlers.Complete();
        ASSERT_TRUE(bridge.Start(0));
    }
    void TearDown() override { bridge.Stop(); }

    httplib::Client Client() const {
        httplib::Client client("127.0.0.1", bridge.Port());
        client.set_read_timeout(30, 0);
        return client;
    }
    httplib::Result Post(const std::string& path, const std::string& body,
                         const httplib::Headers& headers = {},
                         const char* type = "application/json") {
        return Client().Post(path.c_str(), headers, body, type);
    }

    CHandlerTable handlers;
    CBridge bridge{handlers};
};

TEST_F(BridgeTest, OnlyTheLocalUsersOwnRequestsGetThrough) {
    const std::string port = std::to_string(bridge.Port());
    const std::string call = R"({"method":"CleanUp"})";
    const std::string evil = "http://evil.example";
    struct Case {
        int status;
        httplib::Headers headers;
        const char* type;
    };
    const Case cases[] = {
        {200, {}, "application/json"},
        {200, {{"Host", "localhost:" + port}}, "application/json"},
        {200, {{"Origin", "http://127.0.0.1:" + port}}, "application/json"},
        {200, {}, "application/json; charset=utf-8"},
        {403, {{"Host", "evil.example:" + port}}, "application/json"},
        {403, {{"Host", "127.0.0.1:1"}}, "application/json"},
        {403, {{"Origin", evil}}, "application/json"},
        {403, {{"Origin", "null"}}, "application/json"},
        {403, {}, "text/plain"},
        {403, {}, "application/x-www-form-urlencoded"},
        {403, {}, "application/octet-stream"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status, Status(Post("/pdl/call", call, c.headers, c.type))) << c.type;
    }
    EXPECT_EQ(403, Status(Client().Get("/pdl/events", {{"Origin", evil}})));
}

TEST_F(BridgeTest, CallsReportResultsAndRefuseBadBodies) {
    const json exception = "wrong number of parameters for GetDefinition";
    httplib::Result done = Post("/pdl/call", R"({"method":"GetAudioFile","params":["cat", 3]})");
    EXPECT_EQ(json({{"result", true}}), Body(done));
    httplib::Result raised = Post("/pdl/call", R"({"method":"GetDefinition","params":[]})");
    EXPECT_EQ(json({{"result", false}, {"exception", exception}}), Body(raised));
    httplib::Result refused = Post("/pdl/request", R"({"method":"GetDefinition","params":[]})");
    EXPECT_EQ(400, Status(refused));
    EXPECT_EQ(exception, Body(refused)["exception"]);

    EXPECT_EQ(404, Status(Post("/pdl/call", R"({"method":"Unknown"})")));
    for (const char* bad :
         {"", "not json", "[]", R"({"params":[]})", R"({"method":7})",
          R"({"method":"CleanUp","params":"x"})", R"({"method":"GetDefinition","params":[1.5]})",
          R"({"method":"GetDefinition","params":[true]})"}) {
        EXPECT_EQ(400, Status(Post("/pdl/request", bad))) << bad;
    }
    httplib::Result immediate = Post("/pdl/request", R"({"method":"CleanUp","params":[]})");
    EXPECT_EQ(200, Status(immediate));
    EXPECT_EQ(json({{"result", true}}), Body(immediate));
    {
        std::lock_guard<std::mutex> lock(postedMutex);
        EXPECT_TRUE(posted.empty()) << "no refused body reached the engine";
    }

    bridge.SetRequestTimeout(std::chrono::milliseconds(50));
    EXPECT_EQ(504, Status(Post("/pdl/request", R"({"method":"GetAudioFile","params":["cat"]})")));
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
