// The bytes a DICT server sends for its answers: status lines and text
// blocks, with CRLF line ends, lines that begin with "." doubled, lines cut
// to the protocol's 1024 bytes and a lone "." ending each block. Gathers them
// and hands them to a sink in pieces, so an answer of any size passes
// through a bounded buffer.
#ifndef LEXORA_TOOLS_LXDICTD_DICTRESPONSE_H
#define LEXORA_TOOLS_LXDICTD_DICTRESPONSE_H

#include <cstddef>
#include <functional>
#include <string>

class CDictResponse {
public:
    // Takes bytes to send; false when the connection is lost.
    using Sink = std::function<bool(const char* data, size_t size)>;
    // Bytes gathered before they are handed on without waiting for Flush().
    static constexpr size_t kFlushSize = 64 * 1024;
    // Longest line sent, its CRLF included.
    static constexpr size_t kMaxLine = 1024;

    explicit CDictResponse(Sink sink);
    CDictResponse(const CDictResponse&) = delete;
    CDictResponse& operator=(const CDictResponse&) = delete;

    // "code text" as one line.
    void Status(int code, const std::string& text);
    // Opens a text block; with MIME headers on, a plain-text UTF-8 header and
    // a blank line come first.
    void BeginText();
    // Appends text ('\n' separates lines; a final line without '\n' counts).
    void Text(const char* text, size_t length);
    void Text(const std::string& text) { Text(text.data(), text.size()); }
    // Closes the text block with a lone ".".
    void EndText();
    // Hands what is gathered to the sink; false once the sink has failed.
    bool Flush();
    bool Failed() const { return failed; }

    bool mimeHeaders;  // OPTION MIME was given

private:
    void Line(const char* text, size_t length);

    Sink sink;
    std::string pending;  // bytes not yet handed to the sink
    bool failed;          // the sink refused bytes; later output is dropped
};

#endif  // LEXORA_TOOLS_LXDICTD_DICTRESPONSE_H
