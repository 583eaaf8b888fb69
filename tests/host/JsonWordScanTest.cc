// Plain text is scanned for bytes to escape eight bytes at a time: every byte
// value, at every place in a word and next to bytes whose arithmetic could
// mislead the test, is escaped exactly as it is on its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/JsonAnswer.h"

namespace {

// The escaped text of `text`, which must escape to at most 4 KB.
std::string Written(const std::string& text) {
    char escaped[4096];
    FILE* stream = fmemopen(escaped, sizeof escaped, "w");
    WriteJsonStringBody(text.c_str(), stream);
    const long size = ftell(stream);
    fclose(stream);
    return std::string(escaped, static_cast<size_t>(size));
}

// Each byte escaped alone, where no eight-byte test is made.
std::string WrittenByteByByte(const std::string& text) {
    std::string result;
    for (char c : text) result += Written(std::string(1, c));
    return result;
}

}  // namespace

TEST(JsonWordScan, EveryByteAtEveryPlaceOfAWordIsEscapedAsAlone) {
    // Fillers: UTF-8 and other high bytes, the neighbours of the escaped
    // values ('!' and '#' beside '"', '[' and ']' beside '\\', ' ' above
    // 0x1F) and bytes that borrow or carry in the word arithmetic.
    const std::string fillers[] = {"\xC3\xA9\xFF\x80", "!#[] ", "\x21\x5B\x5D\x7F\x20\xA0"};
    for (const std::string& filler : fillers) {
        for (int value = 1; value < 256; ++value) {
            for (size_t place = 0; place < 16; ++place) {
                std::string text;
                while (text.size() < 24) text += filler;
                text[place] = static_cast<char>(value);
                ASSERT_EQ(WrittenByteByByte(text), Written(text)) << value << " at " << place;
            }
        }
    }
}
