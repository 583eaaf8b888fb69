// The web runtime on a running bridge: which files it serves and which it
// refuses, the access rules on its routes, and the upload store.
#include <dirent.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "platform/AppRuntime.h"
#include "platform/Bridge.h"
#include "platform/HandlerTable.h"

namespace {

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    while (directory) {
        struct dirent* entry = readdir(directory.get());
        if (entry == nullptr) break;
        if (entry->d_name[0] != '.') names.insert(entry->d_name);
    }
    return names;
}

// An application directory beside a file outside it, served by a bridge on a
// free port.
class AppRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/lxruntime-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        base_ = pattern;
        app_ = base_ + "/app";
        for (const char* folder :
             {"", "/css", "/images", "/pron", "/data", "/downloads", "/.git"}) {
            mkdir((app_ + folder).c_str(), 0755);
        }
        WriteFile(base_ + "/outside.html", "secret");
        WriteFile(app_ + "/index.html", "<!doctype html><title>app</title>");
        WriteFile(app_ + "/css/app.css", "body{}");
        WriteFile(app_ + "/images/link.png", "\x89PNG");
        WriteFile(app_ + "/pron/vox_C2_352441_abc", std::string("RIFF\0\0\0\0WAVEfmt ", 16));
        WriteFile(app_ + "/pron/.store-123456", "partial");
        WriteFile(app_ + "/.hidden", "hidden");
        WriteFile(app_ + "/notes.lxd", "not a web file");
        mkdir((app_ + "/audiocache").c_str(), 0755);
        WriteFile(app_ + "/audiocache/abc", "x\x9c");
        WriteFile(app_ + "/.git/config", "x");
        WriteFile(app_ + "/data/wordnet.lxd", "database");
        WriteFile(app_ + "/data/page.html", "engine data");
        WriteFile(app_ + "/downloads/recording.z", "someone's download");
        ASSERT_EQ(symlink("../../outside.html", (app_ + "/images/away.html").c_str()), 0);
        ASSERT_EQ(symlink("../data/wordnet.lxd", (app_ + "/images/db.png").c_str()), 0);
        ASSERT_EQ(symlink("css/app.css", (app_ + "/same.css").c_str()), 0);

        bridge_ = std::make_unique<CBridge>(handlers_);
        CAppRuntime::Install(*bridge_, app_);
        ASSERT_TRUE(bridge_->Start(0));
        client_ = std::make_unique<httplib::Client>("127.0.0.1", bridge_->Port());
    }

    void TearDown() override {
        client_.reset();
        bridge_.reset();
        std::string command = "rm -rf '" + base_ + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }

    int Status(const std::string& path, const httplib::Headers& headers = {}) {
        auto res = client_->Get(path.c_str(), headers);
        return res ? res->status : -1;
    }

    httplib::Result Upload(const std::string& body, const char* type = "application/octet-stream") {
        return client_->Post("/runtime/upload", body, type);
    }

    std::string base_, app_;
    CHandlerTable handlers_;
    std::unique_ptr<CBridge> bridge_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(AppRuntimeTest, ServesWebFilesAndRecordingsWithTheirTypes) {
    auto index = client_->Get("/");
    ASSERT_TRUE(index);
    EXPECT_EQ(index->status, 200);
    EXPECT_EQ(index->body, "<!doctype html><title>app</title>");
    EXPECT_EQ(index->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(index->get_header_value("Content-Security-Policy").find("script-src 'self'"),
              std::string::npos);
    EXPECT_EQ(index->get_header_value("X-Content-Type-Options"), "nosniff");

    auto css = client_->Get("/css/app.css");
    ASSERT_TRUE(css);
    EXPECT_EQ(css->get_header_value("Content-Type"), "text/css; charset=utf-8");
    EXPECT_EQ(css->get_header_value("Content-Security-Policy"), "");

    auto recording = client_->Get("/pron/vox_C2_352441_abc");
    ASSERT_TRUE(recording);
    EXPECT_EQ(recording->status, 200);
    EXPECT_EQ(recording->get_header_value("Content-Type"), "audio/wav");

    EXPECT_EQ(Status("/images/link.png"), 200);
    EXPECT_EQ(Status("/same.css"), 200) << "a link that stays inside is followed";
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
        EXPECT_EQ(Status(path), 404) << path;
    }
}

TEST_F(AppRuntimeTest, KeepsTheBridgeAccessRules) {
    EXPECT_EQ(Status("/", {{"Host", "evil.example:80"}}), 403);
    EXPECT_EQ(Status("/", {{"Origin", "http://evil.example"}}), 403);
    EXPECT_EQ(Status("/", {{"Origin", "http://127.0.0.1:" + std::to_string(bridge_->Port())}}),
              200);
    auto form = Upload("x", "application/x-www-form-urlencoded");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->status, 403);
    auto foreign = client_->Post("/runtime/upload", {{"Origin", "http://evil.example"}}, "x",
                                 "application/octet-stream");
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->status, 403);
    EXPECT_EQ(FilesIn(app_ + "/downloads"), std::set<std::string>{"recording.z"});
}

TEST_F(AppRuntimeTest, StoresUploadsUnderItsOwnNamesWithinTheCap) {
    std::string recording(100000, '\0');
    for (size_t i = 0; i < recording.size(); ++i) recording[i] = static_cast<char>(i * 7);
    auto stored = Upload(recording);
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->status, 200);
    std::string path = nlohmann::json::parse(stored->body).at("path");
    ASSERT_EQ(path.compare(0, 17, "downloads/upload-"), 0) << path;
    EXPECT_EQ(path.find('/', 10), std::string::npos);
    EXPECT_EQ(ReadFile(app_ + "/" + path), recording);

    auto full = Upload(std::string(CAppRuntime::kMaxUploadBytes, 'z'));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->status, 200);
    auto over = Upload(std::string(CAppRuntime::kMaxUploadBytes + 1, 'z'));
    if (over) {
        EXPECT_EQ(over->status, 413);  // else the connection was cut mid-body
    }
    EXPECT_EQ(FilesIn(app_ + "/downloads").size(), 3u) << "the oversized upload left nothing";

    // An upload nobody consumed is cleared once it is old; a fresh one stays.
    std::string stale = app_ + "/" + path;
    struct timeval old[2] = {{time(nullptr) - CAppRuntime::kStaleUploadSeconds - 5, 0},
                             {time(nullptr) - CAppRuntime::kStaleUploadSeconds - 5, 0}};
    ASSERT_EQ(utimes(stale.c_str(), old), 0);
    ASSERT_EQ(utimes((app_ + "/downloads/recording.z").c_str(), old), 0);
    ASSERT_TRUE(Upload("next"));
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    EXPECT_EQ(FilesIn(app_ + "/downloads").size(), 3u);
    EXPECT_EQ(ReadFile(app_ + "/downloads/recording.z"), "someone's download")
        << "only the runtime's own uploads are cleared";
}

}  // namespace
