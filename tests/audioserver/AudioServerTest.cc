#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "db/Format.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/lxaudio/HeadwordIndex.h"
#include "tools/lxaudio/RecordingCache.h"
#include "tools/lxaudio/SpeechSynthesizer.h"

namespace {

uint32_t LittleEndian(const std::string& bytes, size_t offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

// Checks a 16-bit mono PCM WAV file and returns its sample count.
size_t CheckWav(const std::string& wav, int sampleRate) {
    EXPECT_GE(wav.size(), 44u);
    if (wav.size() < 44) return 0;
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(LittleEndian(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LittleEndian(wav, 20, 2), 1u);  // PCM
    EXPECT_EQ(LittleEndian(wav, 22, 2), 1u);  // mono
    EXPECT_EQ(LittleEndian(wav, 24, 4), static_cast<uint32_t>(sampleRate));
    EXPECT_EQ(LittleEndian(wav, 34, 2), 16u);  // bits per sample
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(LittleEndian(wav, 40, 4), wav.size() - 44);
    return (wav.size() - 44) / 2;
}

std::string Inflate(const std::string& stream) {
    z_stream inflater{};
    inflateInit(&inflater);
    inflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    inflater.avail_in = static_cast<uInt>(stream.size());
    std::string out;
    char buffer[4096];
    int result = Z_OK;
    while (result == Z_OK) {
        inflater.next_out = reinterpret_cast<Bytef*>(buffer);
        inflater.avail_out = sizeof(buffer);
        result = inflate(&inflater, Z_NO_FLUSH);
        out.append(buffer, sizeof(buffer) - inflater.avail_out);
    }
    inflateEnd(&inflater);
    EXPECT_EQ(result, Z_STREAM_END);
    EXPECT_EQ(inflater.avail_in, 0u);
    return out;
}

TEST(HeadwordIndex, MapsTheAudioPathOfEveryHeadwordToIt) {
    lxtest::TestDatabase db;
    for (const char* word : {"abc", "Paris", "ice cream", "ice-cream", "can't"}) {
        db.WordWithLines(word, {{lxd::kKindNoun, std::string("about ") + word}});
    }
    ASSERT_TRUE(db.Write());
    CHeadwordIndex index;
    std::string error;
    ASSERT_TRUE(index.Load(db.Path(), &error)) << error;
    EXPECT_EQ(index.Size(), 5u);

    const std::string* abc = index.Find("/pron/vox/C2/352441_abc");
    ASSERT_NE(abc, nullptr);
    EXPECT_EQ(*abc, "abc");
    EXPECT_EQ(CHeadwordIndex::FileNameOf("abc"), "vox_C2_352441_abc");

    // The capitals of a headword do not change its path; the word keeps them.
    std::string paris = CHeadwordIndex::FileNameOf("paris");
    ASSERT_EQ(paris.size(), 19u);
    std::string parisPath = "/pron/vox/" + paris.substr(4, 2) + "/" + paris.substr(7);
    ASSERT_NE(index.Find(parisPath), nullptr);
    EXPECT_EQ(*index.Find(parisPath), "Paris");

    EXPECT_EQ(index.Find("/pron/vox/C2/352441_abd"), nullptr);
    EXPECT_EQ(index.Find("/pron/vox/C3/352441_abc"), nullptr);
    EXPECT_EQ(index.Find("/pron/vox/C2/352441_abc/"), nullptr);
    EXPECT_EQ(index.Find(""), nullptr);

    CHeadwordIndex missing;
    EXPECT_FALSE(missing.Load(db.Dir() + "/none.lxd", &error));
    EXPECT_NE(error.find("none.lxd"), std::string::npos);
}

class Recordings : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(synthesizer.Initialise("en-us", &error)) << error;
    }
    static CSpeechSynthesizer synthesizer;
    lxtest::TempDir dir;
};

CSpeechSynthesizer Recordings::synthesizer;

TEST_F(Recordings, SpeechBecomesAWavFile) {
    std::vector<uint8_t> wav;
    ASSERT_TRUE(synthesizer.Speak("pronunciation", &wav));
    size_t samples = CheckWav(std::string(wav.begin(), wav.end()), synthesizer.SampleRate());
    // Several tenths of a second of sound, not silence.
    EXPECT_GT(samples, static_cast<size_t>(synthesizer.SampleRate() / 5));
    size_t loud = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) {
        int16_t sample = static_cast<int16_t>(wav[i] | (wav[i + 1] << 8));
        if (sample > 1000 || sample < -1000) ++loud;
    }
    EXPECT_GT(loud, samples / 20);

    std::string error;
    CSpeechSynthesizer other;
    EXPECT_FALSE(other.Initialise("no-such-voice-xx", &error));
}

TEST_F(Recordings, AreMadeOnceAndServedFromTheDisk) {
    CRecordingCache cache(dir.File("cache"), &synthesizer);
    std::string first;
    ASSERT_TRUE(cache.Get("abc", "vox_C2_352441_abc", &first));
    CheckWav(Inflate(first), synthesizer.SampleRate());
    EXPECT_EQ(lxtest::ReadTextFile(dir.File("cache/vox_C2_352441_abc.z")), first);

    // What is on the disk is served as it is.
    lxtest::WriteTextFile(dir.File("cache/vox_C2_352441_abc.z"), "stored");
    std::string again;
    ASSERT_TRUE(cache.Get("abc", "vox_C2_352441_abc", &again));
    EXPECT_EQ(again, "stored");

    // Concurrent first requests of one word all get the same recording.
    std::vector<std::string> results(8);
    std::vector<std::thread> clients;
    for (std::string& result : results) {
        clients.emplace_back([&cache, &result] { cache.Get("zebra", "vox_zebra", &result); });
    }
    for (std::thread& client : clients) client.join();
    for (const std::string& result : results) EXPECT_EQ(result, results[0]);
    CheckWav(Inflate(results[0]), synthesizer.SampleRate());
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("cache"))) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2u);  // abc and zebra, no temporary left
}

}  // namespace
