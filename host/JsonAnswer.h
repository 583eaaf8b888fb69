// The engine's answers to the script side: JSON texts written fragment by
// fragment into an in-memory stream and handed to one script callback.
#ifndef LEXORA_HOST_JSONANSWER_H
#define LEXORA_HOST_JSONANSWER_H

#include <cstdio>

// Writes the NUL-terminated bytes of `text` to `out` as a JSON string literal.
// Quote, backslash and control bytes are escaped; bytes 0x20..0xFF (UTF-8
// included) pass unchanged. A null `text` writes nothing, not even quotes.
void WriteJsonString(const char* text, FILE* out);

// Writes `text` escaped as WriteJsonString does, without the enclosing quotes.
void WriteJsonStringBody(const char* text, FILE* out);

// The answer sent for every dictionary request while the database cannot open.
extern const char kDatabaseErrorAnswer[];

// One answer under construction. Owns the stream and its heap text until
// Deliver() or destruction; not copyable.
class CAnswer {
public:
    CAnswer();
    virtual ~CAnswer();
    CAnswer(const CAnswer&) = delete;
    CAnswer& operator=(const CAnswer&) = delete;

    // The stream to write fragments to. Never null: when the in-memory stream
    // cannot be created, writes go to a sink and Deliver() sends nothing; nor
    // does it send a text that a failed write left incomplete.
    FILE* Stream() const { return stream_; }

    // Closes the stream and calls the script function `callbackName` with the
    // text as its one parameter; a failed call is logged at LOG_ERR. Delivers
    // at most once; later calls do nothing.
    void Deliver(const char* callbackName);

private:
    FILE* stream_;   // open_memstream over text_, or the shared discard sink
    char* text_;     // heap text owned by the stream until it is closed
    size_t size_;    // length of text_ once closed
    bool inMemory_;  // false when stream_ is the sink
};

#endif  // LEXORA_HOST_JSONANSWER_H
