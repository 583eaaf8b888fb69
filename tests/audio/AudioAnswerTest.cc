#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/AudioFiles.h"
#include "platform/PDLFake.h"
#include "tests/support/ScriptAnswer.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

const char kAbcCache[] = "pron/vox_C2_352441_abc";
const char kPlayAbc[] = "{\"word\":\"abc\",\"playUrl\":\"pron/vox_C2_352441_abc\"}";
const char kAudioFileError[] =
    "{\"errorcode\":\"audiofileerror\",\"error\":\"Lexora could not open the audio file.\"}";

std::string Compress(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
              data.size(), 6);
    out.resize(size);
    return out;
}

// Posts a GetAudioFile request the way the method handler does and returns
// the answer delivered to the script side.
std::string Ask(const char* word, const char* download = nullptr) {
    SDL_UserEvent event{};
    event.type = SDL_USEREVENT;
    event.code = 3;
    event.data1 = strdup(word);
    event.data2 = download ? strdup(download) : nullptr;
    AnswerGetAudioFile(event);
    return lxtest::TakeAnswer("Callback_GetAudioFile");
}

// Lists what a store left in the cache directory besides recordings.
bool CacheHasTemporaryFiles() {
    return system("ls -A pron 2>/dev/null | grep -q '^\\.'") == 0;
}

class AudioAnswer : public ::testing::Test {
protected:
    void SetUp() override {
        pdlfake::Reset();
        mkdir("downloads", 0777);
    }
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd{dir.Path()};
    const std::string wav = "RIFF....WAVEfmt " + std::string(50000, 'x');
};

TEST_F(AudioAnswer, DownloadStoreAndCacheHit) {
    std::string first = Ask("abc");
    EXPECT_EQ(first.rfind("{\"word\":\"abc\",\"downloadUrl\":\"http", 0), 0u) << first;
    EXPECT_NE(first.find("/pron/vox/C2/352441_abc\"}"), std::string::npos) << first;
    EXPECT_FALSE(lxtest::PathExists("pron"));

    lxtest::WriteTextFile("downloads/abc.z", Compress(wav));
    EXPECT_EQ(Ask("abc", "downloads/abc.z"), kPlayAbc);
    EXPECT_FALSE(lxtest::PathExists("downloads/abc.z"));
    EXPECT_EQ(lxtest::ReadTextFile(kAbcCache), wav);

    // The same name for any case of the word, answered from the cache.
    EXPECT_EQ(Ask("ABC"), "{\"word\":\"ABC\",\"playUrl\":\"pron/vox_C2_352441_abc\"}");
    // An absolute path inside the download folder is fine too.
    lxtest::WriteTextFile("downloads/sub/x", Compress("second"));
    EXPECT_EQ(Ask("abc", (dir.Path() + "/downloads/sub/x").c_str()), kPlayAbc);
    EXPECT_EQ(lxtest::ReadTextFile(kAbcCache), "second");
}

TEST_F(AudioAnswer, AFailedStoreLeavesNothingAndConsumesTheDownload) {
    std::string stream = Compress(wav);
    const std::string bad[] = {
        "plain uncompressed data",
        "",
        stream.substr(0, stream.size() / 2),
    };
    for (const std::string& content : bad) {
        lxtest::WriteTextFile("downloads/bad", content);
        EXPECT_EQ(Ask("abc", "downloads/bad"), kAudioFileError);
        EXPECT_FALSE(lxtest::PathExists("downloads/bad"));
        EXPECT_FALSE(lxtest::PathExists(kAbcCache));
        EXPECT_FALSE(CacheHasTemporaryFiles());
    }
    EXPECT_NE(Ask("abc").find("downloadUrl"), std::string::npos);

    // Bytes after the end of the stream do not spoil the recording.
    lxtest::WriteTextFile("downloads/trailing", stream + "junk");
    EXPECT_EQ(Ask("abc", "downloads/trailing"), kPlayAbc);
    EXPECT_EQ(lxtest::ReadTextFile(kAbcCache), wav);
    EXPECT_FALSE(lxtest::PathExists("downloads/trailing"));

    // A missing download is an error with nothing to delete.
    EXPECT_EQ(Ask("abc", "downloads/none"), kAudioFileError);
}

TEST_F(AudioAnswer, PathsOutsideTheDownloadFolderAreNeitherReadNorDeleted) {
    std::string stream = Compress(wav);
    lxtest::WriteTextFile("outside/file", stream);
    lxtest::WriteTextFile("downloads-other/file", stream);
    ASSERT_EQ(symlink("../outside/file", "downloads/link"), 0);
    mkdir("downloads/dir", 0777);
    ASSERT_EQ(symlink("../outside", "downloads/dirlink"), 0);
    const std::string refused[] = {
        dir.Path() + "/outside/file",
        "downloads/../outside/file",
        "downloads/link",
        "downloads/dirlink/file",
        "downloads-other/file",
        "outside/file",
        "downloads/dir",
        "downloads",
    };
    for (const std::string& path : refused) {
        EXPECT_EQ(Ask("abc", path.c_str()), kAudioFileError) << path;
        EXPECT_FALSE(lxtest::PathExists(kAbcCache)) << path;
    }
    EXPECT_EQ(lxtest::ReadTextFile("outside/file"), stream);
    EXPECT_EQ(lxtest::ReadTextFile("downloads-other/file"), stream);
    EXPECT_TRUE(lxtest::PathExists("downloads/link"));
    EXPECT_TRUE(lxtest::PathExists("downloads/dir"));
}

TEST_F(AudioAnswer, WordsTooLongForTheBuffersAreAnErrorThatStillConsumesTheDownload) {
    std::string longWord(300, 'a');
    EXPECT_EQ(Ask(longWord.c_str()), kAudioFileError);
    lxtest::WriteTextFile("downloads/long", Compress(wav));
    EXPECT_EQ(Ask(longWord.c_str(), "downloads/long"), kAudioFileError);
    EXPECT_FALSE(lxtest::PathExists("downloads/long"));
}

TEST_F(AudioAnswer, CleanUpRemovesTheCacheOnce) {
    lxtest::WriteTextFile("downloads/abc.z", Compress(wav));
    ASSERT_EQ(Ask("abc", "downloads/abc.z"), kPlayAbc);
    EXPECT_TRUE(CleanUpAudioCache());
    EXPECT_FALSE(lxtest::PathExists("pron"));
    EXPECT_FALSE(CleanUpAudioCache());
    EXPECT_NE(Ask("abc").find("downloadUrl"), std::string::npos);

    // The next store makes the directory again.
    lxtest::WriteTextFile("downloads/abc.z", Compress(wav));
    EXPECT_EQ(Ask("abc", "downloads/abc.z"), kPlayAbc);
}

}  // namespace
