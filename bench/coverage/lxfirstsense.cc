// Reads words, one a line, looks each up as a definition request does and
// prints what its page opens with: word, record kind of the first sense,
// that sense's gloss and the origin line, separated by tabs ("-" for none).
//   lxfirstsense DICTIONARY < words
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/WordList.h"

namespace {

constexpr int kMaxRefs = 1024;
constexpr int kMaxMembers = 256;

std::string LineAt(CCompressedData* records, uint32_t position) {
    int32_t length = 0;
    const char* line = records->GetLine(position, &length);
    return line ? std::string(line, length) : std::string("-");
}

// The gloss of the sense record at position: the line after its members.
std::string GlossAt(CCompressedData* records, uint32_t position) {
    for (int members = 0; members < kMaxMembers; ++members) {
        int32_t length = 0;
        const char* line = records->GetLine(position, &length);
        if (!line) return "-";
        if (static_cast<unsigned char>(line[length]) == lxd::kRecordEndFF)
            return std::string(line, length);
        position += length + 1;
        if (static_cast<unsigned char>(line[length]) == lxd::kRecordEndLF)
            return LineAt(records, position);
    }
    return "-";
}

void PrintOpening(CDictDatabase* database, const std::string& word, uint32_t position) {
    uint32_t refs[kMaxRefs];
    int count = database->wordList->GetRecordRefs(position, refs, kMaxRefs);
    uint32_t firstKind = 0;
    std::string gloss = "-", origin = "-";
    for (int i = 0; i < count; ++i) {
        uint32_t kind = lxd::RefKind(refs[i]);
        bool sense = kind < lxd::kKindRedirect;
        if (sense && firstKind == 0) {
            firstKind = kind;
            gloss = GlossAt(database->records, lxd::RefPosition(refs[i]));
        } else if (kind == lxd::kKindOrigin) {
            origin = LineAt(database->records, lxd::RefPosition(refs[i]));
        }
    }
    std::printf("%s\t%u\t%s\t%s\n", word.c_str(), firstKind, gloss.c_str(), origin.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lxfirstsense DICTIONARY < words\n");
        return 2;
    }
    CDictDatabase database;
    if (!database.Open(argv[1])) {
        std::fprintf(stderr, "lxfirstsense: cannot open %s\n", argv[1]);
        return 1;
    }
    for (std::string word; std::getline(std::cin, word);) {
        char buffer[57];
        uint32_t position = 0;
        if (word.empty() || word.size() >= sizeof buffer) continue;
        std::strcpy(buffer, word.c_str());
        if (LookupWord(&database, buffer, sizeof buffer, &position, true)) {
            PrintOpening(&database, word, position);
        } else {
            std::printf("%s\t0\t-\t-\n", word.c_str());
        }
    }
    return 0;
}
