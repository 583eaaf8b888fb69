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
    while (fgets(line, sizeof line, file) != nullptr) AddRow(line);
    fclose(file);
    return true;
}

// Comments, lines without a TAB and rows with an empty symbol are skipped; a
// carriage return before the line feed stays in the replacement.
void CIPAConversion::AddRow(char* line) {
    if (line[0] == '#' || line[0] == '\t') return;
    char* tab = strchr(line, '\t');
    if (tab == nullptr) return;
    *tab = '\0';
    char* replacement = tab + 1;
    char* lineFeed = strchr(replacement, '\n');
    if (lineFeed != nullptr) *lineFeed = '\0';
    if (symbols.Add(line) < 0) return;
    if (replacements.Add(replacement) < 0) symbols.RemoveLast();
}

void CIPAConversion::Convert(CSimpleString& text) const {
    for (int i = 0; i < symbols.Count(); ++i) {
        text.ReplaceAll(symbols.Get(i), replacements.Get(i));
    }
}
