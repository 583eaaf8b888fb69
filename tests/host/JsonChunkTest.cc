// Escaped JSON text is written in chunks: escapes and long plain runs at and
// around a chunk's end keep every byte in its place.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/JsonAnswer.h"

namespace {

// One byte at a time, the plain way.
std::string ReferenceEscaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char escape[8];
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c >= 0x20) {
                    out += static_cast<char>(c);
                } else {
                    snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                }
        }
    }
    return out;
}

std::string Written(const std::string& text) {
    char* written = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&written, &size);
    WriteJsonStringBody(text.c_str(), out);
    fclose(out);
    std::string result(written, size);
    free(written);
    return result;
}

TEST(JsonChunks, EscapesAndLongRunsAroundTheChunkEndKeepTheirPlace) {
    // Plain lead-ins that end just before, at and after a 4096-byte chunk,
    // each followed by escapes and by runs shorter and longer than a chunk.
    const std::string tails[] = {"\"", "\x01\x1f", "\\" + std::string(5000, 'r') + "\"",
                                 std::string(4090, 's') + "\n" + std::string(9000, 't')};
    for (size_t lead = 4080; lead <= 4100; ++lead) {
        for (const std::string& tail : tails) {
            const std::string text = std::string(lead, 'p') + "\"" + tail + "end";
            ASSERT_EQ(ReferenceEscaped(text), Written(text)) << lead << " " << tail.size();
        }
    }
}

}  // namespace
