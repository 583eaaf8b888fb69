#include "render/IPAConversion.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "render/SimpleString.h"

namespace {

constexpr int kLineBufferSize = 256;

// One bit per byte value.
typedef uint64_t ByteSet[4];

void AddBytes(ByteSet* set, const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        (*set)[*p >> 6] |= uint64_t{1} << (*p & 63);
    }
}

bool HoldsAll(const ByteSet& set, const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if ((set[*p >> 6] & (uint64_t{1} << (*p & 63))) == 0) return false;
    }
    return true;
}

}  // namespace

CIPAConversion::CIPAConversion() {
    symbols.allowDuplicates = true;
    replacements.allowDuplicates = true;
}

CIPAConversion::~CIPAConversion() {}

bool CIPAConversion::LoadTable(const char* path) {
    symbols.Clear();
    replacements.Clear();
    FILE* file = fopen(path, "rt");
    if (file == nullptr) return false;
    char line[kLineBufferSize];
    bool complete = true;
    while (complete && fgets(line, sizeof line, file) != nullptr) complete = AddRow(line);
    fclose(file);
    // A table cut short by a failed allocation would turn some symbols of a
    // pronunciation into images and leave others as they are: keep none.
    if (!complete) {
        symbols.Clear();
        replacements.Clear();
    }
    return complete;
}

// Comments, lines without a TAB and rows with an empty symbol are skipped; a
// carriage return before the line feed stays in the replacement. False only
// when memory runs out.
bool CIPAConversion::AddRow(char* line) {
    if (line[0] == '#' || line[0] == '\t') return true;
    char* tab = strchr(line, '\t');
    if (tab == nullptr) return true;
    *tab = '\0';
    char* replacement = tab + 1;
    char* lineFeed = strchr(replacement, '\n');
    if (lineFeed != nullptr) *lineFeed = '\0';
    if (symbols.Add(line) < 0) return false;
    if (replacements.Add(replacement) >= 0) return true;
    symbols.RemoveLast();
    return false;
}

// A row whose symbol holds a byte that the text lacks cannot match, and most
// rows do not: the bytes the text may hold (its own and those of every
// replacement made so far) are noted once, and only the other rows search.
void CIPAConversion::Convert(CSimpleString& text) const {
    ByteSet present = {};
    AddBytes(&present, text.GetBuffer() != nullptr ? text.GetBuffer() : "");
    for (int i = 0; i < symbols.Count(); ++i) {
        if (!HoldsAll(present, symbols.Get(i))) continue;
        if (text.ReplaceAll(symbols.Get(i), replacements.Get(i)) > 0) {
            AddBytes(&present, replacements.Get(i));
        }
    }
}
