#include "host/JsonAnswer.h"

#include <syslog.h>

#include <cstdlib>

#include "platform/PDL.h"

const char kDatabaseErrorAnswer[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

namespace {

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\';
}

void WriteEscape(unsigned char c, FILE* out) {
    switch (c) {
        case '"':
            fputs("\\\"", out);
            break;
        case '\\':
            fputs("\\\\", out);
            break;
        case '\b':
            fputs("\\b", out);
            break;
        case '\t':
            fputs("\\t", out);
            break;
        case '\n':
            fputs("\\n", out);
            break;
        case '\f':
            fputs("\\f", out);
            break;
        case '\r':
            fputs("\\r", out);
            break;
        default:
            fprintf(out, "\\u%04x", c);
    }
}

}  // namespace

void WriteJsonStringBody(const char* text, FILE* out) {
    // Answers run to tens of kilobytes with few escapes: the plain runs
    // between escapes go out in one write each.
    const unsigned char* run = reinterpret_cast<const unsigned char*>(text);
    for (const unsigned char* p = run;; ++p) {
        if (!NeedsEscape(*p)) continue;
        if (p > run) fwrite(run, 1, static_cast<size_t>(p - run), out);
        if (*p == 0) return;
        WriteEscape(*p, out);
        run = p + 1;
    }
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
