#include "render/TextLayout.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "render/SimpleString.h"

namespace {

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

int Columns(const std::string& text) {
    int columns = 0;
    for (unsigned char c : text) columns += IsContinuationByte(c) ? 0 : 1;
    return columns;
}

// Width of a leading "12. " or "[3] " list marker at `at`, or 0.
size_t MarkerWidth(const std::string& line, size_t at) {
    size_t p = at;
    const bool bracketed = p < line.size() && line[p] == '[';
    if (bracketed) ++p;
    const size_t digits = p;
    while (p < line.size() && line[p] >= '0' && line[p] <= '9') ++p;
    if (p == digits || p >= line.size()) return 0;
    if (line[p] != (bracketed ? ']' : '.')) return 0;
    ++p;
    return p < line.size() && line[p] == ' ' ? p + 1 - at : 0;
}

// Deepest indentation kept; the renderers indent far less.
constexpr size_t kMaxIndent = 16;

// The line with control bytes as spaces, the indentation capped, runs of
// spaces after it collapsed and trailing spaces dropped.
std::string Normalised(const char* text, size_t length) {
    std::string line;
    line.reserve(length);
    bool inIndent = true;
    for (size_t i = 0; i < length; ++i) {
        const char c = static_cast<unsigned char>(text[i]) < 0x20 ? ' ' : text[i];
        if (c != ' ') inIndent = false;
        const bool collapse =
            inIndent ? line.size() >= kMaxIndent : !line.empty() && line.back() == ' ';
        if (c == ' ' && collapse) continue;
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// Appends the word, split at UTF-8 sequence starts into pieces of at most
// `room` bytes on lines of their own. Returns the bytes of the last piece.
size_t AppendPieces(const std::string& word, size_t room, CSimpleString* out,
                    const std::string& indent) {
    size_t start = 0;
    while (word.size() - start > room) {
        size_t cut = start + room;
        while (cut > start + 1 && IsContinuationByte(static_cast<unsigned char>(word[cut]))) --cut;
        out->Append(word.data() + start, static_cast<int>(cut - start));
        out->Append("\n");
        out->Append(indent.c_str());
        start = cut;
    }
    out->Append(word.data() + start, static_cast<int>(word.size() - start));
    return word.size() - start;
}

void WrapLine(const std::string& line, int width, CSimpleString* out) {
    const size_t indentWidth = line.find_first_not_of(' ');
    if (indentWidth == std::string::npos) {
        out->Append("\n");
        return;
    }
    const bool fits =
        static_cast<int>(line.size()) <= kMaxLineBytes && (width <= 0 || Columns(line) <= width);
    if (fits) {
        out->Append(line.c_str());
        out->Append("\n");
        return;
    }
    const size_t marker = MarkerWidth(line, indentWidth);
    size_t hang = indentWidth + (marker > 0 ? marker : 2);
    const int limit = width > 0 ? width : kMaxLineBytes;
    hang = std::min(hang, static_cast<size_t>(limit) / 2);
    const std::string indent(hang, ' ');
    const size_t room = static_cast<size_t>(kMaxLineBytes) - std::max(hang, indentWidth);

    out->Append(line.c_str(), static_cast<int>(indentWidth));
    int column = static_cast<int>(indentWidth);
    size_t bytes = indentWidth;
    bool lineHasWord = false;
    size_t p = indentWidth;
    while (p < line.size()) {
        size_t end = line.find(' ', p);
        if (end == std::string::npos) end = line.size();
        const std::string word = line.substr(p, end - p);
        const int wordColumns = Columns(word);
        if (lineHasWord && (column + 1 + wordColumns > limit ||
                            bytes + 1 + word.size() > static_cast<size_t>(kMaxLineBytes))) {
            out->Append("\n");
            out->Append(indent.c_str());
            column = static_cast<int>(hang);
            bytes = hang;
            lineHasWord = false;
        }
        if (lineHasWord) {
            out->Append(" ");
            ++column;
            ++bytes;
        }
        const size_t last = AppendPieces(word, room, out, indent);
        if (last == word.size()) {
            column += wordColumns;
            bytes += word.size();
        } else {
            column = static_cast<int>(hang + last);
            bytes = hang + last;
        }
        lineHasWord = true;
        p = end + 1;
    }
    out->Append("\n");
}

// True when the line needs no normalising and fits as it is: most lines.
bool FitsAsItIs(const char* text, size_t length, int width) {
    if (length == 0 || length > static_cast<size_t>(kMaxLineBytes) || text[length - 1] == ' ')
        return false;
    int columns = 0;
    bool indent = true;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20) return false;
        if (c != ' ') indent = false;
        if (c == ' ' && !indent && text[i - 1] == ' ') return false;
        if (indent && i >= kMaxIndent) return false;
        columns += IsContinuationByte(c) ? 0 : 1;
    }
    return width <= 0 || columns <= width;
}

}  // namespace

void WrapText(const char* text, int32_t length, int width, CSimpleString* out) {
    if (text == nullptr || length <= 0) return;
    if (width > kMaxLineBytes) width = kMaxLineBytes;
    const char* end = text + length;
    while (text < end) {
        const char* newline = static_cast<const char*>(memchr(text, '\n', end - text));
        const char* lineEnd = newline != nullptr ? newline : end;
        const size_t length = static_cast<size_t>(lineEnd - text);
        if (FitsAsItIs(text, length, width)) {
            out->Append(text, static_cast<int>(length));
            out->Append("\n", 1);
        } else {
            WrapLine(Normalised(text, length), width, out);
        }
        text = lineEnd + (newline != nullptr ? 1 : 0);
    }
}
