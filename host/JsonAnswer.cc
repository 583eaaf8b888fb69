#include "host/JsonAnswer.h"

#include <syslog.h>

#include <cstdlib>

#include "platform/PDL.h"

const char kDatabaseErrorAnswer[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

void WriteJsonStringBody(const char* text, FILE* out) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        switch (*p) {
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
                if (*p < 0x20) {
                    fprintf(out, "\\u%04x", *p);
                } else {
                    fputc(*p, out);
                }
        }
    }
}

void WriteJsonString(const char* text, FILE* out) {
    if (text == nullptr) return;
    fputc('"', out);
    WriteJsonStringBody(text, out);
    fputc('"', out);
}

CAnswer::CAnswer() : stream_(nullptr), text_(nullptr), size_(0), inMemory_(true) {
    stream_ = open_memstream(&text_, &size_);
    if (stream_ == nullptr) {
        // Out of memory: keep the answer routines' writes harmless.
        inMemory_ = false;
        stream_ = fopen("/dev/null", "w");
    }
}

CAnswer::~CAnswer() {
    if (stream_ != nullptr) fclose(stream_);
    free(text_);
}

void CAnswer::Deliver(const char* callbackName) {
    if (stream_ == nullptr) return;
    fclose(stream_);
    stream_ = nullptr;
    if (!inMemory_ || text_ == nullptr) {
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
