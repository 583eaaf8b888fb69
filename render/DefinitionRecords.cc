#include "render/DefinitionRecords.h"

#include <cstring>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "render/Render.h"
#include "render/SimpleString.h"
#include "render/WordCollection.h"

namespace {

int FoldToUpper(char c) {
    const int byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? byte - 32 : byte;
}

// A member is the headword when both have the same length and differ at most
// in letter case. Comparing only `length` bytes keeps the read inside the line
// even when the headword holds a terminator byte.
bool IsHeadword(const char* headword, int32_t headLength, const char* line, int32_t length) {
    return headLength == length && CompareNoCase(headword, line, length) == 0;
}

void AddMember(CWordCollection* collection, unsigned char prefix, const char* line,
               int32_t length) {
    const char prefixText = static_cast<char>(prefix);
    collection->AddPrefixed(&prefixText, prefix == 0 ? 0 : 1, line, length);
}

}  // namespace

int CompareNoCase(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        const int ca = FoldToUpper(a[i]);
        const int cb = FoldToUpper(b[i]);
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
    return 0;
}

uint32_t ReadMembers(CRender* renderer, CWordCollection* collection, uint32_t position,
                     unsigned char wanted, unsigned char prefix, int32_t* headIndex) {
    const char* headword = renderer->Headword();
    const int32_t headLength = static_cast<int32_t>(strlen(headword));
    uint32_t p = position & lxd::kRefPositionMask;
    int count = 0;
    for (;;) {
        int32_t length = 0;
        const char* line = renderer->records->GetLine(p, &length);
        if (!line || line[length] == lxd::kRecordEndFF) return p;
        ++count;
        if (length > 0) {
            if (IsHeadword(headword, headLength, line, length)) {
                *headIndex = count;
            } else if (wanted == 0 || wanted == count) {
                AddMember(collection, prefix, line, length);
            }
        }
        p += static_cast<uint32_t>(length) + 1;
        if (line[length] == lxd::kRecordEndLF || (wanted != 0 && wanted <= count)) return p;
    }
}

int TakeLinks(CCompressedData* records, uint32_t start, int32_t headIndex, SenseLink* taken,
              int maxTaken) {
    int n = 0;
    uint32_t p = start;
    while (n < maxTaken) {
        const unsigned char first = records->GetByte(p, true);
        if (first < 0x80) break;  // also an unreadable byte: the list ends
        if (first == lxd::kLinkFiller) {
            ++p;
            continue;
        }
        unsigned char entry[lxd::kLinkEntrySize];
        entry[0] = first;
        for (uint32_t i = 1; i < lxd::kLinkEntrySize; ++i) entry[i] = records->GetByte(p + i, true);
        p += lxd::kLinkEntrySize;
        const unsigned char sourceMember = entry[5];
        if (sourceMember != 0 && sourceMember != headIndex) continue;
        taken[n].target = (static_cast<uint32_t>(entry[0]) << 24) | entry[1] |
                          (static_cast<uint32_t>(entry[2]) << 8) |
                          (static_cast<uint32_t>(entry[3]) << 16);
        taken[n].targetMember = entry[4];
        ++n;
    }
    return n;
}

uint32_t CollectLinks(CRender* renderer, CWordCollection* collection, CSimpleString* glossOut,
                      uint32_t reference) {
    int32_t headIndex = 0;
    const uint32_t glossPosition =
        ReadMembers(renderer, collection, reference, 0, lxd::kLinkSynonym, &headIndex);
    int32_t glossLength = 0;
    const char* gloss = renderer->records->GetLine(glossPosition, &glossLength);
    // Without a readable gloss the link list cannot be located.
    if (!gloss) return glossPosition;
    if (glossOut) glossOut->Assign(gloss, glossLength);
    if (headIndex < 1) return glossPosition;

    SenseLink taken[lxd::kMaxLinksTaken];
    const int n =
        TakeLinks(renderer->records, glossPosition + static_cast<uint32_t>(glossLength) + 1,
                  headIndex, taken, lxd::kMaxLinksTaken);
    for (int i = 0; i < n; ++i) {
        int32_t scratch = 0;
        ReadMembers(renderer, collection, taken[i].target, taken[i].targetMember,
                    static_cast<unsigned char>(lxd::RefKind(taken[i].target)), &scratch);
    }
    return glossPosition;
}

bool EmitPronunciations(CRender* renderer, const uint32_t* references, int count) {
    for (int i = 0; i < count; ++i) {
        if (lxd::RefKind(references[i]) != lxd::kKindPronunciation) continue;
        int32_t length = 0;
        const char* line = renderer->records->GetLine(lxd::RefPosition(references[i]), &length);
        if (!line) continue;
        if (renderer->output(renderer->context, line, length, OUTPUT_PRONUNCIATION) == 0)
            return false;
    }
    return true;
}
