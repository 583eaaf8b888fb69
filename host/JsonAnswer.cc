#include "host/JsonAnswer.h"

#include <syslog.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/PDL.h"

const char kDatabaseErrorAnswer[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

namespace {

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\';
}

// The high bit of each of the eight bytes of `word` (in memory order) that
// needs an escape: a byte below 0x20, a quote or a backslash. A borrow may
// also mark a byte above one that is marked, never one below: the lowest
// mark is the first such byte.
uint64_t EscapeMarks(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    const uint64_t quote = word ^ (kOnes * '"');
    const uint64_t backslash = word ^ (kOnes * '\\');
    const uint64_t below = (word - kOnes * 0x20) & ~word;
    const uint64_t isQuote = (quote - kOnes) & ~quote;
    const uint64_t isBackslash = (backslash - kOnes) & ~backslash;
    return (below | isQuote | isBackslash) & kHighBits;
}

// Eight bytes with the first in the low bits, whatever the machine's order.
uint64_t LoadLittleEndian(const unsigned char* p) {
    uint64_t word;
    memcpy(&word, p, sizeof word);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

// Writes the escape sequence of `c` (at most 6 bytes) to `to`; returns its length.
size_t Escape(unsigned char c, char* to) {
    static const char kHex[] = "0123456789abcdef";
    to[0] = '\\';
    switch (c) {
        case '"':
        case '\\':
            to[1] = static_cast<char>(c);
            return 2;
        case '\b':
            to[1] = 'b';
            return 2;
        case '\t':
            to[1] = 't';
            return 2;
        case '\n':
            to[1] = 'n';
            return 2;
        case '\f':
            to[1] = 'f';
            return 2;
        case '\r':
            to[1] = 'r';
            return 2;
        default:
            memcpy(to + 1, "u00", 3);
            to[4] = kHex[c >> 4];
            to[5] = kHex[c & 15];
            return 6;
    }
}

}  // namespace

void WriteJsonStringBody(const char* text, FILE* out) {
    // Answers run to kilobytes with an escaped quote every few dozen bytes:
    // the escaped text is gathered in a local chunk, eight plain bytes at a
    // time where it can, and written a chunk at a time. One step writes at
    // most 8 bytes, or up to 7 plain bytes and one escape of 6.
    constexpr size_t kMaxStep = 13;
    char chunk[4096];
    size_t used = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = p + strlen(text);
    while (p < end) {
        if (used + kMaxStep > sizeof chunk) {
            fwrite(chunk, 1, used, out);
            used = 0;
        }
        if (end - p >= 8) {
            memcpy(chunk + used, p, 8);
            const uint64_t marks = EscapeMarks(LoadLittleEndian(p));
            const size_t plain = marks == 0 ? 8 : static_cast<size_t>(__builtin_ctzll(marks)) / 8;
            used += plain;
            p += plain;
            if (plain == 8) continue;
        } else if (!NeedsEscape(*p)) {
            chunk[used++] = static_cast<char>(*p++);
            continue;
        }
        used += Escape(*p++, chunk + used);
    }
    if (used > 0) fwrite(chunk, 1, used, out);
}

void WriteJsonString(const char* text, FILE* out) {
    if (text == nullptr) return;
    fputc('"', out);
    WriteJsonStringBody(text, out);
    fputc('"', out);
}

namespace {

// Where an answer's writes go when no in-memory stream can be made. Opened
// before any request runs; should even that fail, stdin stands in: it is
// read-only, so writes to it fail without effect.
FILE* OpenDiscardStream() {
    FILE* sink = fopen("/dev/null", "w");
    return sink != nullptr ? sink : stdin;
}

FILE* const discardStream = OpenDiscardStream();

}  // namespace

CAnswer::CAnswer() : stream_(nullptr), text_(nullptr), size_(0), inMemory_(true) {
    stream_ = open_memstream(&text_, &size_);
    if (stream_ == nullptr) {
        inMemory_ = false;
        stream_ = discardStream;
    }
}

CAnswer::~CAnswer() {
    if (inMemory_ && stream_ != nullptr) fclose(stream_);
    free(text_);
}

void CAnswer::Deliver(const char* callbackName) {
    if (stream_ == nullptr) return;
    // A write that ran out of memory leaves a cut text: never send that.
    bool complete = inMemory_ && ferror(stream_) == 0;
    if (inMemory_ && fclose(stream_) != 0) complete = false;
    stream_ = nullptr;
    if (!complete || text_ == nullptr) {
        syslog(LOG_ERR, "*** answer for %s could not be built", callbackName);
        return;
    }
    const char* params[1] = {text_};
    if (PDL_CallJS(callbackName, params, 1) != 0) {
        syslog(LOG_ERR, "*** PDL_CallJS failed, %s", PDL_GetError());
    }
    free(text_);
    text_ = nullptr;
}
