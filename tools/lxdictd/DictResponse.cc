#include "tools/lxdictd/DictResponse.h"

#include <cstring>

namespace {

const char kMimeHeader[] =
    "Content-type: text/plain; charset=utf-8\r\nContent-transfer-encoding: 8bit\r\n\r\n";

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

CDictResponse::CDictResponse(Sink sink)
    : mimeHeaders(false), sink(std::move(sink)), failed(false) {}

void CDictResponse::Status(int code, const std::string& text) {
    pending += std::to_string(code);
    pending += ' ';
    Line(text.data(), text.size());
}

void CDictResponse::BeginText() {
    if (mimeHeaders) pending += kMimeHeader;
}

void CDictResponse::Text(const char* text, size_t length) {
    const char* end = text + length;
    while (text < end) {
        const char* newline = static_cast<const char*>(memchr(text, '\n', end - text));
        const char* lineEnd = newline != nullptr ? newline : end;
        if (text < lineEnd && *text == '.') pending += '.';
        Line(text, static_cast<size_t>(lineEnd - text));
        text = lineEnd + (newline != nullptr ? 1 : 0);
        if (pending.size() >= kFlushSize) Flush();
    }
}

void CDictResponse::EndText() {
    pending += ".\r\n";
}

// Writes the line with CRLF. A CR in it is dropped (it would end the line);
// a line too long for the protocol continues on the next line, cut where a
// UTF-8 sequence starts unless the sequence is too long to wait for.
void CDictResponse::Line(const char* text, size_t length) {
    if (length + 2 <= kMaxLine && memchr(text, '\r', length) == nullptr) {
        pending.append(text, length);
        pending += "\r\n";
        return;
    }
    constexpr size_t kSequenceRoom = 4;
    size_t lineStart = pending.size();
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r') continue;
        const size_t used = pending.size() - lineStart + 2;
        if (used >= kMaxLine || (used + kSequenceRoom >= kMaxLine && !IsContinuationByte(c))) {
            pending += "\r\n";
            lineStart = pending.size();
            if (c == '.') pending += '.';
        }
        pending += static_cast<char>(c);
    }
    pending += "\r\n";
}

bool CDictResponse::Flush() {
    if (!failed && !pending.empty() && !sink(pending.data(), pending.size())) failed = true;
    pending.clear();
    return !failed;
}
