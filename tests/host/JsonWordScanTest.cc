// Plain text is scanned for bytes to escape eight at a time: every byte value,
// at every place of a word, beside high bytes and the neighbours of the escaped
// values, is escaped exactly as it is on its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/JsonAnswer.h"

namespace {

std::string Written(const std::string& text) {
    char escaped[512];
    FILE* stream = fmemopen(escaped, sizeof escaped, "w");
    WriteJsonStringBody(text.c_str(), stream);
    const long size = ftell(stream);
    fclose(stream);
    return std::string(escaped, static_cast<size_t>(size));
}

}  // namespace

TEST(JsonWordScan, EveryByteAtEveryPlaceOfAWordIsEscapedAsAlone) {
    for (const std::string filler : {"\xC3\xA9\xFF\x80", "!#[] ", "\x21\x5B\x5D\x7F\x20\xA0"}) {
        for (int value = 1; value < 256; ++value) {
            for (size_t place = 0; place < 16; ++place) {
                std::string text, alone;
                while (text.size() < 24) text += filler;
                text[place] = static_cast<char>(value);
                for (char c : text) alone += Written(std::string(1, c));
                ASSERT_EQ(alone, Written(text)) << value << " at " << place;
            }
        }
    }
}
