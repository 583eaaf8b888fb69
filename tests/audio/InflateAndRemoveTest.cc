#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <string>

#include "host/AudioFiles.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

std::string Compress(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
              data.size(), 6);
    out.resize(size);
    return out;
}

// Varied bytes that compress a little, so input and output span many buffers.
std::string SampleData(size_t size) {
    std::string data(size, '\0');
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = static_cast<char>((state >> 16) % 40);
    }
    return data;
}

// Runs InflateFile from a file holding `input`; `output` gets what it wrote.
bool Inflate(const std::string& input, std::string* output) {
    lxtest::WriteTextFile("in", input);
    FILE* in = fopen("in", "rb");
    FILE* out = fopen("out", "wb");
    bool ended = InflateFile(in, out);
    fclose(in);
    fclose(out);
    *output = lxtest::ReadTextFile("out");
    return ended;
}

TEST(InflateFile, TrueOnlyForAStreamThatEndsProperly) {
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());
    std::string data = SampleData(100000);
    std::string stream = Compress(data);
    std::string output;

    EXPECT_TRUE(Inflate(stream, &output));
    EXPECT_EQ(output, data);

    // Bytes after the end of the stream are not read.
    EXPECT_TRUE(Inflate(stream + "trailing bytes", &output));
    EXPECT_EQ(output, data);

    EXPECT_FALSE(Inflate(stream.substr(0, stream.size() / 2), &output));
    EXPECT_FALSE(Inflate(stream.substr(0, stream.size() - 1), &output));  // Adler-32 cut
    EXPECT_FALSE(Inflate("", &output));
    EXPECT_FALSE(Inflate("RIFF plain uncompressed data", &output));
    EXPECT_FALSE(Inflate(Compress("").substr(0, 2), &output));  // header only
}

TEST(InflateFile, AnOutputThatFillsTheBufferExactlyStillEnds) {
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());
    std::string output;
    for (size_t size : {4095u, 4096u, 4097u, 8192u}) {
        std::string data = SampleData(size);
        EXPECT_TRUE(Inflate(Compress(data), &output)) << size;
        EXPECT_EQ(output, data) << size;
    }
}

TEST(RemoveDirectoryTree, RemovesNestedFoldersButNeverFollowsLinks) {
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());
    lxtest::WriteTextFile("outside/keep.txt", "keep");
    lxtest::WriteTextFile("tree/a.txt", "a");
    lxtest::WriteTextFile("tree/sub/b.txt", "b");
    lxtest::WriteTextFile("tree/sub/deeper/c.txt", "c");
    mkdir("tree/empty", 0777);
    ASSERT_EQ(symlink("../../outside", "tree/sub/dirlink"), 0);
    ASSERT_EQ(symlink("../outside/keep.txt", "tree/filelink"), 0);
    ASSERT_EQ(symlink("missing", "tree/dangling"), 0);

    EXPECT_EQ(RemoveDirectoryTree("tree"), 0);
    EXPECT_FALSE(lxtest::PathExists("tree"));
    EXPECT_EQ(lxtest::ReadTextFile("outside/keep.txt"), "keep");

    EXPECT_EQ(RemoveDirectoryTree("tree"), -1);
    // A link given as the tree itself is not entered.
    ASSERT_EQ(symlink("outside", "treelink"), 0);
    EXPECT_EQ(RemoveDirectoryTree("treelink"), -1);
    EXPECT_EQ(lxtest::ReadTextFile("outside/keep.txt"), "keep");
}

}  // namespace
