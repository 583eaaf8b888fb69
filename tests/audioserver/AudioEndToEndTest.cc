// Runs the audio server beside the engine: a recording travels from lxaudio
// through a download into the engine's cache, as the web app moves it.
#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>
#include <string>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

// The shell command that runs lxaudio in `appDir` on `port` (0: a free one).
std::string AudioServerCommand(const std::string& appDir, const std::string& cacheDir, int port) {
    return "cd '" + appDir + "' && LXAUDIO_PORT=" + std::to_string(port) +
           " exec '" LXAUDIO_PATH "' --cache '" + cacheDir + "'";
}

nlohmann::json Answer(const lxtest::HttpReply& reply) {
    EXPECT_EQ(reply.status, 200) << reply.body;
    return nlohmann::json::parse(reply.body, nullptr, false);
}

TEST(AudioEndToEnd, ARecordingTravelsFromTheServerIntoTheCacheAndThePortIsTheServersOwn) {
    lxtest::TestDatabase db;
    db.WordWithLines("abc", {{lxd::kKindNoun, "the alphabet"}});
    ASSERT_TRUE(db.Write());
    lxtest::EngineProcess engine(db.Path());
    ASSERT_TRUE(engine.Start());
    lxtest::TempDir cache;
    lxtest::ServerProcess server(AudioServerCommand(engine.AppDir(), cache.Path(), 0));
    const int port = server.Port();
    ASSERT_GT(port, 0) << "lxaudio did not start";

    nlohmann::json first = Answer(engine.Request("GetAudioFile", {"abc"}));
    std::string url = first.value("downloadUrl", "");
    const std::string path = "/pron/vox/C2/352441_abc";
    ASSERT_EQ(url.rfind("http://127.0.0.1:"), 0u) << first.dump();
    ASSERT_EQ(url.substr(url.size() - path.size()), path) << url;

    // The base address is a build setting; the server of this test has its own port.
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(30, 0);
    httplib::Result unknown = client.Get("/pron/vox/C2/352441_abd");
    EXPECT_EQ(unknown ? unknown->status : 0, 404);
    httplib::Result fetched = client.Get(path.c_str());
    ASSERT_TRUE(fetched && fetched->status == 200 && fetched->body.size() > 2);
    EXPECT_EQ(fetched->get_header_value("Access-Control-Allow-Origin"), "*");
    EXPECT_EQ(static_cast<unsigned char>(fetched->body[0]), 0x78);  // zlib, deflate, 32K window

    // The page hands the download to the runtime, which keeps it in "downloads".
    lxtest::HttpReply upload =
        engine.Send("POST", "/runtime/upload", fetched->body, "application/octet-stream");
    std::string download = Answer(upload).value("path", "");
    EXPECT_EQ(download.rfind("downloads/", 0), 0u) << upload.body;
    nlohmann::json stored = Answer(engine.Request("GetAudioFile", {"abc", download}));
    EXPECT_EQ(stored["playUrl"], "pron/vox_C2_352441_abc") << stored.dump();
    EXPECT_FALSE(lxtest::PathExists(engine.AppDir() + "/" + download));

    // The page plays the cached file from the bridge; the next ask hits the cache.
    lxtest::HttpReply played = engine.Send("GET", "/pron/vox_C2_352441_abc", "");
    ASSERT_EQ(played.status, 200);
    ASSERT_GT(played.body.size(), 44u);
    EXPECT_EQ(played.body.substr(0, 4) + played.body.substr(8, 4), "RIFFWAVE");
    EXPECT_EQ(played.body, lxtest::ReadTextFile(engine.AppDir() + "/pron/vox_C2_352441_abc"));
    EXPECT_EQ(Answer(engine.Request("GetAudioFile", {"ABC"}))["playUrl"], "pron/vox_C2_352441_abc");
    EXPECT_EQ(engine.Stop(), 0);

    // The audio server's port is its own as the engine's is: a second server
    // on it exits with the reason, and a restart binds it again at once.
    std::string errors;
    EXPECT_EQ(1,
              lxtest::RunToExit("timeout 20 sh -c \"" +
                                    AudioServerCommand(engine.AppDir(), cache.Path(), port) + "\"",
                                &errors));
    EXPECT_EQ("port " + std::to_string(port) +
                  " is in use: is Lexora already running? Set LXAUDIO_PORT to choose another\n",
              errors);
    httplib::Result served = client.Get(path.c_str());
    EXPECT_EQ(served ? served->status : 0, 200);
    EXPECT_EQ(server.Stop(), 0);
    EXPECT_TRUE(server.Start(AudioServerCommand(engine.AppDir(), cache.Path(), port)));
    EXPECT_EQ(port, server.Port());
}

}  // namespace
