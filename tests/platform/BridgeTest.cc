// The bridge on a free port with a stand-in engine and the web runtime: the
// access rules, the calls' answers and refusals, which files the runtime
// serves and which it refuses, and its upload store.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/AppRuntime.h"
#include "platform/Bridge.h"
#include "platform/JSParameters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

namespace fs = std::filesystem;
using lxtest::ReadTextFile;
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

// The bridge with the stand-in engine and the web runtime on an application
// directory beside a file outside it.
class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::pair<const char*, std::string> files[] = {
            {"/../outside.html", "secret"},
            {"/index.html", "<!doctype html><title>app</title>"},
            {"/css/app.css", "body{}"},
            {"/images/link.png", "\x89PNG"},
            {"/pron/vox_C2_352441_abc", std::string("RIFF\0\0\0\0WAVEfmt ", 16)},
            {"/pron/.store-123456", "partial"},
            {"/.hidden", "hidden"},
            {"/notes.lxd", "not a web file"},
            {"/audiocache/abc", "x\x9c"},
            {"/.git/config", "x"},
            {"/data/wordnet.lxd", "database"},
            {"/data/page.html", "engine data"},
            {"/downloads/recording.z", "someone's download"},
        };
        for (const auto& file : files) lxtest::WriteTextFile(app + file.first, file.second);
        fs::create_symlink("../../outside.html", app + "/images/away.html");
        fs::create_symlink("../data/wordnet.lxd", app + "/images/db.png");
        fs::create_symlink("css/app.css", app + "/same.css");
        handlers.Register("GetDefinition", PostWord);
        handlers.Register("GetAudioFile", Accept);
        handlers.Register("CleanUp", Accept);
        handlers.Complete();
        CAppRuntime::Install(bridge, app);
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
    httplib::Result Get(const std::string& path, const httplib::Headers& headers = {}) {
        return Client().Get(path.c_str(), headers);
    }
    httplib::Result Upload(const std::string& body, const httplib::Headers& headers = {},
                           const char* type = "application/octet-stream") {
        return Post("/runtime/upload", body, headers, type);
    }
    size_t Downloads() {
        fs::directory_iterator files(app + "/downloads");
        return static_cast<size_t>(std::distance(begin(files), end(files)));
    }

    lxtest::TempDir base;
    const std::string app = base.File("app");
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

TEST_F(BridgeTest, RuntimeServesWebFilesAndRecordings) {
    auto index = Get("/");
    ASSERT_EQ(Status(index), 200);
    EXPECT_EQ(index->body, "<!doctype html><title>app</title>");
    EXPECT_EQ(index->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(index->get_header_value("Content-Security-Policy").find("script-src 'self'"),
              std::string::npos);
    EXPECT_EQ(index->get_header_value("X-Content-Type-Options"), "nosniff");
    auto css = Get("/css/app.css");
    EXPECT_EQ(css->get_header_value("Content-Type"), "text/css; charset=utf-8");
    EXPECT_EQ(css->get_header_value("Content-Security-Policy"), "");
    auto recording = Get("/pron/vox_C2_352441_abc");
    EXPECT_EQ(Status(recording), 200);
    EXPECT_EQ(recording->get_header_value("Content-Type"), "audio/wav");
    EXPECT_EQ(Status(Get("/images/link.png")), 200);
    EXPECT_EQ(Status(Get("/same.css")), 200) << "a link that stays inside is followed";
    // The bridge's rules hold on every route (its table checks them, the
    // upload's content type on the calls' route included).
    EXPECT_EQ(Status(Get("/", {{"Host", "evil.example:80"}})), 403);
    EXPECT_EQ(Status(Upload("x", {}, "application/x-www-form-urlencoded")), 403);
    EXPECT_EQ(Downloads(), 1u);
}

TEST_F(BridgeTest, RuntimeRefusesWhatLiesOutsideTheWebFiles) {
    for (const char* path : {"/../outside.html", "/%2e%2e/outside.html", "/css/../../outside.html",
                             "/images/away.html",  // a link that leads out of the directory
                             "/images/db.png",     // a link into the engine's data
                             "/data/wordnet.lxd", "/data/page.html", "/downloads/recording.z",
                             "/.hidden", "/.git/config",
                             "/pron/.store-123456",            // the cache's unfinished store
                             "/notes.lxd", "/audiocache/abc",  // neither web files nor recordings
                             "/images", "/images/", "//index.html", "/css\\app.css",
                             "/index.html%00.png", "/missing.html"}) {
        EXPECT_EQ(Status(Get(path)), 404) << path;
    }
}

// A word link opened in a new tab, or a copied address, is a page of the app:
// the browser gets the app's page for it, never a file the path names.
TEST_F(BridgeTest, RuntimeAnswersTheAppsOwnAddressesWithItsPage) {
    const httplib::Headers page = {{"Accept", "text/html,application/xhtml+xml,*/*;q=0.8"}};
    for (const char* path : {"/cat", "/cat%3A2", "/St.%20Louis", "/?q=cat", "/%25%25",
                             "/data/wordnet.lxd", "/images"}) {
        auto answer = Get(path, page);
        ASSERT_EQ(Status(answer), 200) << path;
        EXPECT_EQ(answer->body, "<!doctype html><title>app</title>") << path;
    }
    for (const char* path : {"/missing.html", "/js/missing.js", "/pron/missing", "/runtime/x"}) {
        EXPECT_EQ(Status(Get(path, page)), 404) << path;
    }
    EXPECT_EQ(Status(Get("/cat")), 404) << "a script's request is not a page";
}

TEST_F(BridgeTest, RuntimeStoresUploadsUnderItsOwnNamesWithinTheCap) {
    std::string recording(100000, '\0');
    for (size_t i = 0; i < recording.size(); ++i) recording[i] = static_cast<char>(i * 7);
    auto stored = Upload(recording);
    ASSERT_EQ(Status(stored), 200);
    std::string path = nlohmann::json::parse(stored->body).at("path");
    ASSERT_EQ(path.compare(0, 17, "downloads/upload-"), 0) << path;
    EXPECT_EQ(path.find('/', 10), std::string::npos);
    EXPECT_EQ(ReadTextFile(app + "/" + path), recording);

    EXPECT_EQ(Status(Upload(std::string(CAppRuntime::kMaxUploadBytes, 'z'))), 200);
    auto over = Upload(std::string(CAppRuntime::kMaxUploadBytes + 1, 'z'));
    EXPECT_TRUE(!over || over->status == 413);  // else the connection was cut mid-body
    EXPECT_EQ(Downloads(), 3u) << "the oversized upload left nothing";

    // An upload nobody consumed is cleared once it is old; a fresh one stays.
    std::string stale = app + "/" + path;
    time_t old = time(nullptr) - CAppRuntime::kStaleUploadSeconds - 5;
    struct timeval times[2] = {{old, 0}, {old, 0}};
    ASSERT_EQ(utimes(stale.c_str(), times), 0);
    ASSERT_EQ(utimes((app + "/downloads/recording.z").c_str(), times), 0);
    ASSERT_TRUE(Upload("next"));
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    EXPECT_EQ(Downloads(), 3u);
    EXPECT_EQ(ReadTextFile(app + "/downloads/recording.z"), "someone's download")
        << "only the runtime's own uploads are cleared";
}

}  // namespace
