#include "render/IPAConversion.h"

#include <cstdio>
#include <cstring>

#include "render/SimpleString.h"

namespace {

constexpr int kLineBufferSize = 256;

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

void CIPAConversion::Convert(CSimpleString& text) const {
    for (int i = 0; i < symbols.Count(); ++i) {
        text.ReplaceAll(symbols.Get(i), replacements.Get(i));
    }
}
