// Lays plain text out for terminals and line-based protocols: every line is
// wrapped to a width with a hanging indent, control bytes become spaces and
// runs of spaces inside a line are collapsed, and no line exceeds
// kMaxLineBytes, so a line never breaks a protocol's line limit.
#ifndef LEXORA_RENDER_TEXTLAYOUT_H
#define LEXORA_RENDER_TEXTLAYOUT_H

#include <cstdint>

class CSimpleString;

// Longest line WrapText writes, in bytes, without its '\n'.
constexpr int32_t kMaxLineBytes = 1000;

// Appends `text` (`length` bytes) to `out`, line by line, each line ended by
// '\n'. A line longer than `width` columns (UTF-8 sequences count as one
// column) is broken at spaces; its continuation lines are indented by its own
// indentation plus the width of a leading "12. " or "[3] " marker, or plus 2
// without one. A word longer than the room stays whole up to kMaxLineBytes.
// `width` 0 breaks only lines over kMaxLineBytes.
void WrapText(const char* text, int32_t length, int width, CSimpleString* out);

#endif  // LEXORA_RENDER_TEXTLAYOUT_H
