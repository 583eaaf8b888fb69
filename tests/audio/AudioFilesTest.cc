#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "host/AudioFiles.h"
#include "tests/host/HostFixture.h"

namespace {

using lxtest::Compress;
using lxtest::PathExists;
using lxtest::ReadTextFile;
using lxtest::WriteTextFile;

const char kAbcCache[] = "pron/vox_C2_352441_abc";
const char kPlayAbc[] = "{\"word\":\"abc\",\"playUrl\":\"pron/vox_C2_352441_abc\"}";
const char kAudioFileError[] =
    "{\"errorcode\":\"audiofileerror\",\"error\":\"Lexora could not open the audio file.\"}";

// Varied bytes that compress a little, so input and output span many buffers.
std::string SampleData(size_t size) {
    std::string data(size, '\0');
    uint32_t state = 12345;
    for (char& byte : data) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>((state >> 16) % 40);
    }
    return data;
}

// Each test runs in a temporary application directory of its own, with the
// engine's methods registered.
class AudioFiles : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        mkdir("downloads", 0777);
    }

    // Runs InflateFile from a file holding `input`; `output` gets what it wrote.
    static bool Inflate(const std::string& input, std::string* output) {
        WriteTextFile("in", input);
        FILE* in = fopen("in", "rb");
        FILE* out = fopen("out", "wb");
        bool ended = InflateFile(in, out);
        fclose(in);
        fclose(out);
        *output = ReadTextFile("out");
        return ended;
    }

    // The answer to GetAudioFile for `word`, with a download when given.
    static std::string Ask(const std::string& word, const char* download = nullptr) {
        return AskOne("GetAudioFile", download ? std::vector<std::string>{word, download}
                                               : std::vector<std::string>{word});
    }

    const std::string wav = "RIFF....WAVEfmt " + SampleData(50000);
};

TEST_F(AudioFiles, InflateIsTrueOnlyForAStreamThatEndsProperly) {
    std::string output;
    // Outputs that fill the 4096-byte buffer exactly still end.
    for (size_t size : {4095u, 4096u, 4097u, 8192u, 100000u}) {
        std::string data = SampleData(size);
        EXPECT_TRUE(Inflate(Compress(data), &output)) << size;
        EXPECT_EQ(output, data) << size;
    }
    std::string data = SampleData(100000);
    std::string stream = Compress(data);
    EXPECT_TRUE(Inflate(stream + "trailing bytes", &output))
        << "bytes after the stream are not read";
    EXPECT_EQ(output, data);
    const std::string broken[] = {
        stream.substr(0, stream.size() / 2),
        stream.substr(0, stream.size() - 1),  // Adler-32 cut
        "",
        "RIFF plain uncompressed data",
        Compress("").substr(0, 2),  // header only
    };
    for (const std::string& input : broken) EXPECT_FALSE(Inflate(input, &output)) << input.size();
}

// The store and cache hit of a relative download path are checked along the
// audio server's whole path (AudioEndToEnd).
TEST_F(AudioFiles, AbsoluteDownloadPathAndCleanUp) {
    EXPECT_NE(Ask("abc").find("downloadUrl"), std::string::npos);
    EXPECT_FALSE(PathExists("pron")) << "asking makes no cache";
    // An absolute path inside the download folder is fine.
    WriteTextFile("downloads/sub/x", Compress("second"));
    EXPECT_EQ(Ask("abc", (dir.Path() + "/downloads/sub/x").c_str()), kPlayAbc);
    EXPECT_EQ(ReadTextFile(kAbcCache), "second");

    EXPECT_TRUE(CleanUpAudioCache());
    EXPECT_FALSE(PathExists("pron"));
    EXPECT_FALSE(CleanUpAudioCache());
    EXPECT_NE(Ask("abc").find("downloadUrl"), std::string::npos);
    WriteTextFile("downloads/abc.z", Compress(wav));
    EXPECT_EQ(Ask("abc", "downloads/abc.z"), kPlayAbc) << "the next store makes the cache again";
}

TEST_F(AudioFiles, AFailedStoreLeavesNothingAndConsumesTheDownload) {
    std::string stream = Compress(wav);
    std::string longWord(300, 'a');  // too long for the name buffers
    const std::pair<std::string, std::string> failures[] = {
        {"abc", "plain uncompressed data"},
        {"abc", ""},
        {"abc", stream.substr(0, stream.size() / 2)},
        {longWord, stream},
    };
    for (const auto& failure : failures) {
        WriteTextFile("downloads/bad", failure.second);
        EXPECT_EQ(Ask(failure.first, "downloads/bad"), kAudioFileError);
        EXPECT_FALSE(PathExists("downloads/bad"));
        EXPECT_FALSE(PathExists(kAbcCache));
        // No temporary file of the store is left in the cache either.
        EXPECT_TRUE(!PathExists("pron") || std::filesystem::is_empty("pron"));
    }
    EXPECT_EQ(Ask(longWord), kAudioFileError);
    EXPECT_EQ(Ask("abc", "downloads/none"), kAudioFileError);
    EXPECT_NE(Ask("abc").find("downloadUrl"), std::string::npos);
}

TEST_F(AudioFiles, PathsOutsideTheDownloadFolderAreNeitherReadNorDeleted) {
    std::string stream = Compress(wav);
    WriteTextFile("outside/file", stream);
    WriteTextFile("downloads-other/file", stream);
    ASSERT_EQ(symlink("../outside/file", "downloads/link"), 0);
    mkdir("downloads/dir", 0777);
    ASSERT_EQ(symlink("../outside", "downloads/dirlink"), 0);
    for (std::string path :
         {"/outside/file", "downloads/../outside/file", "downloads/link", "downloads/dirlink/file",
          "downloads-other/file", "outside/file", "downloads/dir", "downloads"}) {
        if (path[0] == '/') path = dir.Path() + path;  // absolute, but elsewhere
        EXPECT_EQ(Ask("abc", path.c_str()), kAudioFileError) << path;
        EXPECT_FALSE(PathExists(kAbcCache)) << path;
    }
    EXPECT_EQ(ReadTextFile("outside/file"), stream);
    EXPECT_EQ(ReadTextFile("downloads-other/file"), stream);
    EXPECT_TRUE(PathExists("downloads/link"));
    EXPECT_TRUE(PathExists("downloads/dir"));
}

TEST_F(AudioFiles, RemoveDirectoryTreeRemovesNestedFoldersButNeverFollowsLinks) {
    WriteTextFile("outside/keep.txt", "keep");
    WriteTextFile("tree/a.txt", "a");
    WriteTextFile("tree/sub/deeper/c.txt", "c");
    mkdir("tree/empty", 0777);
    ASSERT_EQ(symlink("../../outside", "tree/sub/dirlink"), 0);
    ASSERT_EQ(symlink("../outside/keep.txt", "tree/filelink"), 0);
    ASSERT_EQ(symlink("missing", "tree/dangling"), 0);
    EXPECT_EQ(RemoveDirectoryTree("tree"), 0);
    EXPECT_FALSE(PathExists("tree"));
    EXPECT_EQ(RemoveDirectoryTree("tree"), -1);
    // A link given as the tree itself is not entered.
    ASSERT_EQ(symlink("outside", "treelink"), 0);
    EXPECT_EQ(RemoveDirectoryTree("treelink"), -1);
    EXPECT_EQ(ReadTextFile("outside/keep.txt"), "keep");
}

}  // namespace
