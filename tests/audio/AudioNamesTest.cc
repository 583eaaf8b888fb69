#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "host/AudioNames.h"

namespace {

struct Names {
    bool made;
    std::string url;
    std::string fileName;
};

Names Make(const std::string& word, size_t fileNameSize = 251) {
    char url[512];
    char fileName[256];
    bool made = MakeAudioNames(word.c_str(), "http://h", url, sizeof(url), fileName, fileNameSize);
    return {made, url, fileName};
}

TEST(AudioNames, NamesComeFromTheCrcOfTheLowerCasedWord) {
    Names abc = Make("abc");
    ASSERT_TRUE(abc.made);
    EXPECT_EQ(abc.fileName, "vox_C2_352441_abc");
    EXPECT_EQ(abc.url, "http://h/pron/vox/C2/352441_abc");

    Names upper = Make("ABC");
    EXPECT_EQ(upper.fileName, abc.fileName);
    EXPECT_EQ(upper.url, abc.url);

    // The CRC is taken before the name part is made, so words that differ
    // only in replaced bytes get the same name part but different numbers.
    Names cant = Make("can't");
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>("can't"), 5);
    char expected[64];
    snprintf(expected, sizeof(expected), "vox_%02X_%06X_can_t", static_cast<unsigned>(crc & 0xFF),
             static_cast<unsigned>(crc >> 8));
    EXPECT_EQ(cant.fileName, expected);
    Names iceCream = Make("ice cream");
    Names iceHyphenCream = Make("Ice-Cream");
    EXPECT_EQ(iceCream.fileName.substr(14), "ice_cream");
    EXPECT_EQ(iceHyphenCream.fileName.substr(14), "ice_cream");
    EXPECT_NE(iceCream.fileName, iceHyphenCream.fileName);

    // Only ASCII capitals fold; every byte from 0x80 up becomes '_'.
    EXPECT_EQ(Make("caf\xC3\xA9").fileName.substr(14), "caf__");
    EXPECT_EQ(Make("").fileName, "vox_00_000000_");
}

TEST(AudioNames, WordsTooLongForTheBuffersAreRefused) {
    // "vox_XX_XXXXXX_" + name + NUL must fit the 251 bytes behind "pron/".
    EXPECT_TRUE(Make(std::string(236, 'a')).made);
    Names tooLong = Make(std::string(237, 'a'));
    EXPECT_FALSE(tooLong.made);
    EXPECT_EQ(tooLong.fileName, "");
    EXPECT_EQ(tooLong.url, "");

    // The URL is checked against its own buffer.
    char url[32];
    char fileName[256];
    EXPECT_FALSE(MakeAudioNames("abc", "http://a-very-long-host-name.example", url, sizeof(url),
                                fileName, sizeof(fileName)));
    EXPECT_STREQ(fileName, "");
}

}  // namespace
