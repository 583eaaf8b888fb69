#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
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
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | uint8_t(bytes[offset + i]);
    return value;
}

// Checks a 16-bit mono PCM WAV file and returns its sample count.
size_t CheckWav(const std::string& wav, int sampleRate) {
    if (wav.size() < 44) {
        ADD_FAILURE() << "a WAV file of " << wav.size() << " bytes";
        return 0;
    }
    EXPECT_EQ(wav.substr(0, 16), "RIFF" + wav.substr(4, 4) + "WAVEfmt ");
    EXPECT_EQ(wav.substr(36, 4), "data");
    const uint32_t size = static_cast<uint32_t>(wav.size());
    const uint32_t fields[][3] = {// offset, width, value
                                  {4, 4, size - 8},
                                  {20, 2, 1},  // PCM
                                  {22, 2, 1},  // mono
                                  {24, 4, uint32_t(sampleRate)},
                                  {34, 2, 16},
                                  {40, 4, size - 44}};
    for (const auto& field : fields) {
        EXPECT_EQ(LittleEndian(wav, field[0], int(field[1])), field[2]) << "at " << field[0];
    }
    return (wav.size() - 44) / 2;
}

// One whole zlib stream with nothing after it, inflated.
std::string Inflate(const std::string& stream) {
    std::string out(16 << 20, '\0');
    uLongf outSize = out.size();
    uLong inSize = stream.size();
    EXPECT_EQ(uncompress2(reinterpret_cast<Bytef*>(&out[0]), &outSize,
                          reinterpret_cast<const Bytef*>(stream.data()), &inSize),
              Z_OK);
    EXPECT_EQ(inSize, stream.size());
    out.resize(outSize);
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
    // The capitals of a headword do not change its path; the word keeps them.
    std::string paris = CHeadwordIndex::FileNameOf("paris");
    ASSERT_EQ(paris.size(), 19u);
    const std::pair<std::string, std::string> found[] = {
        {"/pron/vox/C2/352441_abc", "abc"},
        {"/pron/vox/" + paris.substr(4, 2) + "/" + paris.substr(7), "Paris"}};
    for (const auto& entry : found) {
        const std::string* word = index.Find(entry.first);
        EXPECT_EQ(word ? *word : "(none)", entry.second) << entry.first;
    }
    for (const char* path :
         {"/pron/vox/C2/352441_abd", "/pron/vox/C3/352441_abc", "/pron/vox/C2/352441_abc/", ""}) {
        EXPECT_EQ(index.Find(path), nullptr) << path;
    }
    CHeadwordIndex missing;
    EXPECT_FALSE(missing.Load(db.Dir() + "/none.lxd", &error));
    EXPECT_NE(error.find("none.lxd"), std::string::npos);
}

TEST(Recordings, SpeechBecomesAWavFileThatIsMadeOnceAndServedFromTheDisk) {
    CSpeechSynthesizer synthesizer;
    std::string error;
    EXPECT_FALSE(CSpeechSynthesizer().Initialise("no-such-voice-xx", &error));
    ASSERT_TRUE(synthesizer.Initialise("en-us", &error)) << error;
    std::vector<uint8_t> wav;
    ASSERT_TRUE(synthesizer.Speak("pronunciation", &wav));
    size_t samples = CheckWav(std::string(wav.begin(), wav.end()), synthesizer.SampleRate());
    // Several tenths of a second of sound, not silence.
    EXPECT_GT(samples, static_cast<size_t>(synthesizer.SampleRate() / 5));
    size_t loud = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) {
        if (std::abs(int16_t(wav[i] | (wav[i + 1] << 8))) > 1000) ++loud;
    }
    EXPECT_GT(loud, samples / 20);

    lxtest::TempDir dir;
    CRecordingCache cache(dir.File("cache"), &synthesizer);
    std::string first;
    ASSERT_TRUE(cache.Get("abc", "vox_C2_352441_abc", &first));
    CheckWav(Inflate(first), synthesizer.SampleRate());
    EXPECT_EQ(lxtest::ReadTextFile(dir.File("cache/vox_C2_352441_abc.z")), first);
    // What is on the disk is served as it is.
    lxtest::WriteTextFile(dir.File("cache/vox_C2_352441_abc.z"), "stored");
    ASSERT_TRUE(cache.Get("abc", "vox_C2_352441_abc", &first));
    EXPECT_EQ(first, "stored");

    // Concurrent first requests of one word all get the same recording.
    std::vector<std::string> results(8);
    std::vector<std::thread> clients;
    for (std::string& result : results) {
        clients.emplace_back([&cache, &result] { cache.Get("zebra", "vox_zebra", &result); });
    }
    for (std::thread& client : clients) client.join();
    for (const std::string& result : results) EXPECT_EQ(result, results[0]);
    CheckWav(Inflate(results[0]), synthesizer.SampleRate());
    std::filesystem::directory_iterator files(dir.File("cache"));
    EXPECT_EQ(std::distance(begin(files), end(files)), 2) << "abc and zebra, no temporary left";
}

}  // namespace
