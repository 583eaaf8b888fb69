// The web runtime on a running bridge: which files it serves and which it
// refuses, the access rules on its routes, and the upload store.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/AppRuntime.h"
#include "platform/Bridge.h"
#include "platform/HandlerTable.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

namespace fs = std::filesystem;
using lxtest::ReadTextFile;

// An application directory beside a file outside it, served by a bridge on a
// free port.
class AppRuntimeTest : public ::testing::Test {
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
        CAppRuntime::Install(bridge, app);
        ASSERT_TRUE(bridge.Start(0));
    }
    void TearDown() override { bridge.Stop(); }

    httplib::Result Get(const std::string& path, const httplib::Headers& headers = {}) {
        return client().Get(path.c_str(), headers);
    }
    int Status(const httplib::Result& result) { return result ? result->status : -1; }
    httplib::Result Upload(const std::string& body, const httplib::Headers& headers = {},
                           const char* type = "application/octet-stream") {
        return client().Post("/runtime/upload", headers, body, type);
    }
    httplib::Client client() { return httplib::Client("127.0.0.1", bridge.Port()); }
    size_t Downloads() {
        fs::directory_iterator files(app + "/downloads");
        return static_cast<size_t>(std::distance(begin(files), end(files)));
    }

    lxtest::TempDir base;
    const std::string app = base.File("app");
    CHandlerTable handlers;
    CBridge bridge{handlers};
};

TEST_F(AppRuntimeTest, ServesWebFilesAndRecordingsUnderTheBridgeRules) {
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

    const std::string own = "http://127.0.0.1:" + std::to_string(bridge.Port());
    EXPECT_EQ(Status(Get("/", {{"Origin", own}})), 200);
    EXPECT_EQ(Status(Get("/", {{"Host", "evil.example:80"}})), 403);
    EXPECT_EQ(Status(Get("/", {{"Origin", "http://evil.example"}})), 403);
    EXPECT_EQ(Status(Upload("x", {}, "application/x-www-form-urlencoded")), 403);
    EXPECT_EQ(Status(Upload("x", {{"Origin", "http://evil.example"}})), 403);
    EXPECT_EQ(Downloads(), 1u);
    // The upload's content type is allowed on the upload route only.
    EXPECT_EQ(
        Status(client().Post("/pdl/call", R"({"method":"CleanUp"})", "application/octet-stream")),
        403);
}

TEST_F(AppRuntimeTest, RefusesWhatLiesOutsideTheWebFiles) {
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

TEST_F(AppRuntimeTest, StoresUploadsUnderItsOwnNamesWithinTheCap) {
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
