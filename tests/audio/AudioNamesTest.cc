#include <gtest/gtest.h>

#include <string>

#include "host/AudioNames.h"

namespace {

struct Names {
    bool made;
    std::string url;
    std::string fileName;
};

Names Make(const std::string& word, const char* base = "http://h", size_t urlSize = 512) {
    char url[512];
    char fileName[251];  // what is left of the 256-byte cache path behind "pron/"
    bool made = MakeAudioNames(word.c_str(), base, url, urlSize, fileName, sizeof(fileName));
    return {made, url, fileName};
}

// "abc" and "ABC" become vox_C2_352441_abc along the audio server's whole
// path (AudioEndToEnd).
TEST(AudioNames, NamesComeFromTheCrcOfTheLowerCasedWord) {
    // The CRC is taken before the name part is made, so words that differ
    // only in replaced bytes get the same name part but different numbers.
    const Names cant = Make("can't");  // CRC-32 0x54CE8B8C
    EXPECT_TRUE(cant.made);
    EXPECT_EQ(cant.fileName, "vox_8C_54CE8B_can_t");
    EXPECT_EQ(cant.url, "http://h/pron/vox/8C/54CE8B_can_t");
    Names iceCream = Make("ice cream");
    EXPECT_EQ(iceCream.fileName.substr(14), "ice_cream");
    EXPECT_EQ(Make("Ice-Cream").fileName.substr(14), "ice_cream");
    EXPECT_NE(iceCream.fileName, Make("Ice-Cream").fileName);
    // Only ASCII capitals fold; every byte from 0x80 up becomes '_'.
    EXPECT_EQ(Make("caf\xC3\xA9").fileName.substr(14), "caf__");
    EXPECT_EQ(Make("").fileName, "vox_00_000000_");
}

TEST(AudioNames, WordsTooLongForTheBuffersAreRefused) {
    // "vox_XX_XXXXXX_" + name + NUL must fit the 251 bytes behind "pron/".
    EXPECT_TRUE(Make(std::string(236, 'a')).made);
    // The URL is checked against its own buffer.
    for (const Names& refused :
         {Make(std::string(237, 'a')), Make("abc", "http://a-very-long-host-name.example", 32)}) {
        EXPECT_FALSE(refused.made);
        EXPECT_EQ(refused.fileName, "");
        EXPECT_EQ(refused.url, "");
    }
}

}  // namespace
