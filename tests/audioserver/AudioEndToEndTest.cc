// Runs the audio server beside the engine: a recording travels from lxaudio
// through a download into the engine's cache, as the web app moves it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

extern char** environ;

namespace {

// lxaudio started in `appDir` on a free port; stopped on destruction.
class AudioServer {
public:
    AudioServer(const std::string& appDir, const std::string& cacheDir) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        std::string command = "cd '" + appDir +
                              "' && LXAUDIO_PORT=0 exec '" LXAUDIO_PATH "' --cache '" + cacheDir +
                              "'";
        char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), &command[0], nullptr};
        if (posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        port = ReadPort(pipeEnds[0]);
        close(pipeEnds[0]);
    }
    ~AudioServer() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    int Port() const { return port; }

private:
    // Reads the ready line "lxaudio listening on 127.0.0.1:PORT ..." (10 s at most).
    static int ReadPort(int fd) {
        std::string line;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        fcntl(fd, F_SETFL, O_NONBLOCK);
        while (line.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            char buffer[256];
            ssize_t got = read(fd, buffer, sizeof(buffer));
            if (got > 0) {
                line.append(buffer, static_cast<size_t>(got));
            } else if (got == 0) {
                break;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        size_t colon = line.find("127.0.0.1:");
        return colon == std::string::npos ? 0 : atoi(line.c_str() + colon + 10);
    }

    pid_t pid = -1;
    int port = 0;
};

nlohmann::json Answer(const lxtest::HttpReply& reply) {
    EXPECT_EQ(reply.status, 200) << reply.body;
    return nlohmann::json::parse(reply.body, nullptr, false);
}

TEST(AudioEndToEnd, ARecordingTravelsFromTheServerIntoTheCache) {
    lxtest::TestDatabase db;
    db.WordWithLines("abc", {{lxd::kKindNoun, "the alphabet"}});
    db.WordWithLines("cat", {{lxd::kKindNoun, "a small domesticated feline"}});
    ASSERT_TRUE(db.Write());
    lxtest::EngineProcess engine(db.Path());
    ASSERT_TRUE(engine.Start());
    lxtest::TempDir cache;
    AudioServer server(engine.AppDir(), cache.Path());
    ASSERT_GT(server.Port(), 0) << "lxaudio did not start";

    nlohmann::json first = Answer(engine.Request("GetAudioFile", {"abc"}));
    ASSERT_TRUE(first.contains("downloadUrl")) << first.dump();
    std::string url = first["downloadUrl"];
    const std::string path = "/pron/vox/C2/352441_abc";
    ASSERT_EQ(url.rfind("http://127.0.0.1:"), 0u) << url;
    ASSERT_EQ(url.substr(url.size() - path.size()), path) << url;

    // The base address is a build setting; the server of this test has its own port.
    httplib::Client client("127.0.0.1", server.Port());
    client.set_read_timeout(30, 0);
    httplib::Result fetched = client.Get(path.c_str());
    ASSERT_TRUE(fetched) << "no answer from lxaudio";
    ASSERT_EQ(fetched->status, 200);
    EXPECT_EQ(fetched->get_header_value("Access-Control-Allow-Origin"), "*");
    ASSERT_GT(fetched->body.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(fetched->body[0]), 0x78);  // zlib, deflate, 32K window

    httplib::Result unknown = client.Get("/pron/vox/C2/352441_abd");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);

    // The page hands the download to the runtime, which keeps it in "downloads".
    lxtest::HttpReply upload =
        engine.Send("POST", "/runtime/upload", fetched->body, "application/octet-stream");
    ASSERT_EQ(upload.status, 200) << upload.body;
    std::string download = nlohmann::json::parse(upload.body)["path"];
    EXPECT_EQ(download.rfind("downloads/", 0), 0u) << download;
    nlohmann::json stored = Answer(engine.Request("GetAudioFile", {"abc", download}));
    EXPECT_EQ(stored["playUrl"], "pron/vox_C2_352441_abc") << stored.dump();
    EXPECT_FALSE(lxtest::PathExists(engine.AppDir() + "/" + download));

    // The page plays the cached file from the bridge.
    lxtest::HttpReply played = engine.Send("GET", "/pron/vox_C2_352441_abc", "");
    ASSERT_EQ(played.status, 200);
    ASSERT_GT(played.body.size(), 44u);
    EXPECT_EQ(played.body.substr(0, 4), "RIFF");
    EXPECT_EQ(played.body.substr(8, 4), "WAVE");
    EXPECT_EQ(played.body, lxtest::ReadTextFile(engine.AppDir() + "/pron/vox_C2_352441_abc"));

    nlohmann::json cached = Answer(engine.Request("GetAudioFile", {"ABC"}));
    EXPECT_EQ(cached["playUrl"], "pron/vox_C2_352441_abc") << cached.dump();
    EXPECT_EQ(engine.Stop(), 0);
}

}  // namespace
