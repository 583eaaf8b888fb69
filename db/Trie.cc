#include "db/Trie.h"

#include <cstring>

#include "db/Format.h"
#include "db/SmartFile.h"

namespace {

unsigned char EntryChar(uint32_t entry) {
    return entry >> lxd::kEntryCharShift;
}
bool IsTerminal(uint32_t entry) {
    return (entry & lxd::kEntryTerminal) != 0;
}
bool IsLast(uint32_t entry) {
    return (entry & lxd::kEntryLast) != 0;
}
bool IsRecordRef(uint32_t entry) {
    return (entry & lxd::kEntryRecordRef) != 0;
}
uint32_t ChildOf(uint32_t entry) {
    return entry & lxd::kEntryChildMask;
}

uint32_t DecodeLittleEndian(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

int32_t IgnoreWord(void*, const char*, uint32_t) {
    return 0;
}

// Writes one character of the key being walked and terminates it there.
void WriteChar(char* buffer, int depth, uint32_t entry) {
    buffer[depth] = static_cast<char>(EntryChar(entry));
    buffer[depth + 1] = 0;
}

bool MayDescend(uint32_t entry, int depth) {
    return ChildOf(entry) != 0 && depth <= lxd::kMaxEnumerationDepth;
}

// Adds `delta` to every letter a capitals list names. Position bytes that
// name nothing before the marker are ignored, so a damaged key changes no
// byte outside the word and the same call with -delta undoes it exactly.
void ShiftCapitals(char* buffer, int marker, const unsigned char* positions, int delta) {
    for (const unsigned char* b = positions; *b != 0; ++b) {
        int at = *b - lxd::kCapitalPositionBase;
        if (at >= 0 && at < marker) buffer[at] = static_cast<char>(buffer[at] + delta);
    }
}

}  // namespace

CTrie::CTrie(CSmartFile* file, uint32_t sectionOffset, bool rawEntries)
    : visitor(IgnoreWord),
      visitorContext(nullptr),
      status(0),
      entryCount(0),
      file(file),
      sectionOffset(sectionOffset),
      rawEntries(rawEntries),
      walkSteps(0),
      storedEntries(0) {
    unsigned char bytes[4];
    if (file == nullptr || file->Read(sectionOffset, 4, bytes) != 4) {
        status = kStatusBadTrie;
        return;
    }
    entryCount = DecodeLittleEndian(bytes);
    // Without the file's length (a failed seek) the count is taken as it is.
    const int32_t fileSize = file->GetSize();
    const uint64_t firstEntry = sectionOffset + 4ull;
    storedEntries = entryCount;
    if (fileSize >= 0) {
        const uint64_t held =
            static_cast<uint64_t>(fileSize) > firstEntry ? (fileSize - firstEntry) / 4 : 0;
        if (held < storedEntries) storedEntries = static_cast<uint32_t>(held);
    }
    uint64_t markerOffset = sectionOffset + 4ull * (static_cast<uint64_t>(entryCount) + 1);
    if (markerOffset > UINT32_MAX ||
        file->Read(static_cast<uint32_t>(markerOffset), 4, bytes) != 4 ||
        DecodeLittleEndian(bytes) != lxd::kTrieEndMarker) {
        status = kStatusBadTrie;
    }
}

CTrie::~CTrie() {}

uint32_t CTrie::ReadEntry(uint32_t index) {
    if (index < 1 || index > entryCount) return 0;
    uint64_t offset = sectionOffset + 4ull * index;
    unsigned char bytes[4];
    if (offset > UINT32_MAX || file->Read(static_cast<uint32_t>(offset), 4, bytes) != 4) {
        status = kStatusBadTrie;
        return 0;
    }
    return DecodeLittleEndian(bytes);
}

uint32_t CTrie::FindChild(uint32_t* index, unsigned char c) {
    if (*index == 0) return 0;
    unsigned char batch[lxd::kTrieBatchEntries * 4];
    while (*index <= entryCount) {
        // A batch never reaches past the table: a list that runs off its end
        // without a last node is a miss, not a walk into the end marker.
        uint32_t wanted = entryCount - *index + 1;
        if (wanted > lxd::kTrieBatchEntries) wanted = lxd::kTrieBatchEntries;
        uint64_t offset = sectionOffset + 4ull * *index;
        if (offset > UINT32_MAX) return 0;
        int32_t got = file->Read(static_cast<uint32_t>(offset), wanted * 4, batch);
        if (got < 4) return 0;
        uint32_t n = static_cast<uint32_t>(got) / 4;
        for (uint32_t j = 0; j < n; ++j) {
            uint32_t entry = DecodeLittleEndian(batch + 4 * j);
            if (!rawEntries && IsRecordRef(entry)) continue;
            if (IsLast(entry) || EntryChar(entry) >= c) {
                *index += j;
                return entry;
            }
        }
        *index += n;
    }
    return 0;
}

uint32_t CTrie::NextEntry(uint32_t* index, int step) {
    uint32_t entry;
    do {
        entry = ReadEntry(*index);
        *index += step;
    } while (entry != 0 && !rawEntries && IsRecordRef(entry));
    return entry;
}

int CTrie::GetRecordRefs(uint32_t index, uint32_t* out, int max) {
    if (rawEntries) return 0;
    uint32_t entry = ReadEntry(index);
    uint32_t next = index + 1;
    if (!IsRecordRef(entry)) {
        entry = ReadEntry(index + 1);
        next = index + 2;
    }
    int count = 0;
    while (count < max && IsRecordRef(entry)) {
        out[count++] = entry;
        entry = ReadEntry(next++);
    }
    return count;
}

uint32_t CTrie::FindWord(char* word, uint32_t startIndex, bool allowVariant) {
    return FindWord(word, startIndex, allowVariant, lxd::kKeyBufferSize);
}

uint32_t CTrie::FindWord(char* word, uint32_t startIndex, bool allowVariant, size_t capacity) {
    uint32_t index = startIndex;
    char* p = word;
    uint32_t entry;
    for (;;) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == 0) return 0;
        entry = FindChild(&index, c);
        if (entry == 0 || EntryChar(entry) != c) return 0;
        if (p[1] == 0 || p[1] == ':') break;
        if (ChildOf(entry) == 0) return 0;
        index = ChildOf(entry);
        ++p;
    }
    if (IsTerminal(entry)) return index;
    if (!allowVariant || ChildOf(entry) == 0) return 0;

    // Not a key, but a capitalised form of it may be: the marker node sorts
    // first among the children, and its first key is the variant chosen.
    uint32_t i = ChildOf(entry);
    uint32_t marker = NextEntry(&i, +1);
    if (EntryChar(marker) != lxd::kCapitalsMarker) return 0;
    size_t used = static_cast<size_t>(p - word) + 2;  // letters and marker
    if (capacity <= used + 1) return 0;
    char tail[lxd::kKeyBufferSize];
    size_t tailLength = strnlen(p + 1, capacity - used + 1);
    if (tailLength >= sizeof(tail)) return 0;
    memcpy(tail, p + 1, tailLength + 1);

    p[1] = static_cast<char>(lxd::kCapitalsMarker);
    p[2] = 0;
    uint32_t position = FollowVariant(p + 2, capacity - used, ChildOf(marker));
    if (position == 0) {
        memcpy(p + 1, tail, tailLength + 1);
        return 0;
    }
    DecodeCapitals(word);
    return position;
}

uint32_t CTrie::FollowFirstVariant(char* out, uint32_t index) {
    return FollowVariant(out, lxd::kKeyBufferSize, index);
}

uint32_t CTrie::FollowVariant(char* out, size_t room, uint32_t index) {
    // No key is longer than a key buffer, so a longer chain is a loop.
    for (int steps = 0; index != 0 && steps < lxd::kKeyBufferSize; ++steps) {
        uint32_t entry = NextEntry(&index, +1);
        if (entry == 0) return 0;
        if (out != nullptr) {
            if (room < 2) return 0;
            *out++ = static_cast<char>(EntryChar(entry));
            *out = 0;
            --room;
        }
        if (IsTerminal(entry)) return index;
        index = ChildOf(entry);
    }
    return 0;
}

int32_t CTrie::VisitWord(char* buffer, uint32_t position) {
    int marker = DecodeCapitals(buffer);
    int32_t result = visitor(visitorContext, buffer, position) & 0xFF;
    if (marker >= 0) ReencodeCapitals(buffer, marker);
    return result;
}

bool CTrie::Enumerate(TrieVisitor newVisitor, void* context, const char* key, bool forward) {
    visitor = newVisitor;
    visitorContext = context;
    // A sound trie writes each entry at most once per walk. A damaged count
    // may promise far more entries than the file holds; only those can be
    // written, so a looping walk over them ends after that many steps.
    walkSteps = entryCount < lxd::kMaxTrieEntries ? entryCount : lxd::kMaxTrieEntries;
    if (walkSteps > storedEntries) walkSteps = storedEntries;
    char buffer[lxd::kKeyBufferSize];
    memset(buffer, 0, sizeof(buffer));
    if (forward) return WalkForwardFrom(buffer, 1, key, 0);
    return WalkBackwardFrom(buffer, 1, key, 0);
}

bool CTrie::TakeWalkStep() {
    if (walkSteps == 0) return false;
    --walkSteps;
    return true;
}

bool CTrie::WalkForward(char* buffer, uint32_t index, int depth) {
    for (;;) {
        uint32_t entry = NextEntry(&index, +1);
        if (entry == 0 || !TakeWalkStep()) return false;
        WriteChar(buffer, depth, entry);
        if (IsTerminal(entry) && VisitWord(buffer, index) != 1) return false;
        if (MayDescend(entry, depth) && !WalkForward(buffer, ChildOf(entry), depth + 1)) {
            return false;
        }
        if (IsLast(entry)) return true;
    }
}

bool CTrie::WalkForwardFrom(char* buffer, uint32_t index, const char* key, int depth) {
    unsigned char c = static_cast<unsigned char>(key[0]);
    uint32_t entry = FindChild(&index, c);
    if (entry == 0) return false;
    WriteChar(buffer, depth, entry);
    // Only an entry the key passes through is counted here; any other is
    // counted by the walk below, which starts at it.
    if (EntryChar(entry) != 0 && EntryChar(entry) == c && key[1] != 0) {
        if (!TakeWalkStep()) return false;
        if (MayDescend(entry, depth) &&
            !WalkForwardFrom(buffer, ChildOf(entry), key + 1, depth + 1)) {
            return false;
        }
        if (IsLast(entry)) return true;
        ++index;
    }
    return EntryChar(entry) < c || WalkForward(buffer, index, depth);
}

bool CTrie::WalkBackward(char* buffer, uint32_t index, int depth) {
    uint32_t start = index;
    if (FindChild(&index, 0x80) == 0) return false;
    for (;;) {
        uint32_t current = index;
        uint32_t entry = NextEntry(&index, -1);
        if (entry == 0 || !TakeWalkStep()) return false;
        if (!WalkEntryBackward(buffer, entry, current, depth)) return false;
        if (index < start) return true;
    }
}

bool CTrie::WalkBackwardFrom(char* buffer, uint32_t index, const char* key, int depth) {
    unsigned char c = static_cast<unsigned char>(key[0]);
    uint32_t start = index;
    uint32_t entry = FindChild(&index, c);
    if (entry == 0) return false;
    if (EntryChar(entry) != 0 && EntryChar(entry) == c) {
        if (!TakeWalkStep()) return false;
        WriteChar(buffer, depth, entry);
        if (key[1] != 0 && MayDescend(entry, depth) &&
            !WalkBackwardFrom(buffer, ChildOf(entry), key + 1, depth + 1)) {
            return false;
        }
        if (IsTerminal(entry) && key[1] != 0) {
            buffer[depth + 1] = 0;
            if (VisitWord(buffer, index + 1) != 1) return false;
        }
    }
    while (index >= start && index <= entryCount) {
        uint32_t current = index;
        entry = NextEntry(&index, -1);
        // Record references stepped over down to entry 0 wrap the index
        // around; under a damaged count it could stay in range for billions
        // of steps.
        if (index > current) break;
        if (entry == 0 || EntryChar(entry) >= c) continue;
        if (!TakeWalkStep()) return false;
        if (!WalkEntryBackward(buffer, entry, current, depth)) return false;
    }
    return true;
}

// One step of a backward walk: the entry's subtree, nearest last, then the
// entry's own word; `current` is where the step for this entry began.
bool CTrie::WalkEntryBackward(char* buffer, uint32_t entry, uint32_t current, int depth) {
    WriteChar(buffer, depth, entry);
    if (MayDescend(entry, depth) && !WalkBackward(buffer, ChildOf(entry), depth + 1)) {
        return false;
    }
    if (IsTerminal(entry)) {
        buffer[depth + 1] = 0;
        if (VisitWord(buffer, current) != 1) return false;
    }
    return true;
}

int EncodeCapitals(char* buffer) {
    size_t length = strlen(buffer);
    char* positions = buffer + length + 1;
    int capitals = 0;
    for (size_t i = 0; i < length; ++i) {
        if (buffer[i] >= 'A' && buffer[i] <= 'Z') {
            positions[capitals++] = static_cast<char>(lxd::kCapitalPositionBase + i);
            buffer[i] = static_cast<char>(buffer[i] + 0x20);
        }
    }
    if (capitals == 0) return -1;
    buffer[length] = static_cast<char>(lxd::kCapitalsMarker);
    positions[capitals] = 0;
    return static_cast<int>(length) + 1 + capitals;
}

int DecodeCapitals(char* buffer) {
    char* marker = strchr(buffer, lxd::kCapitalsMarker);
    if (marker == nullptr) return -1;
    int at = static_cast<int>(marker - buffer);
    *marker = 0;
    ShiftCapitals(buffer, at, reinterpret_cast<unsigned char*>(marker + 1), -0x20);
    return at;
}

void ReencodeCapitals(char* buffer, int marker) {
    buffer[marker] = static_cast<char>(lxd::kCapitalsMarker);
    ShiftCapitals(buffer, marker, reinterpret_cast<unsigned char*>(buffer + marker + 1), 0x20);
}

void RestoreCapitals(char* buffer, int end) {
    int marker = end - 1;
    while (marker > 0 && buffer[marker] != lxd::kCapitalsMarker) --marker;
    if (buffer[marker] != lxd::kCapitalsMarker) return;
    buffer[marker] = 0;
    ShiftCapitals(buffer, marker, reinterpret_cast<unsigned char*>(buffer + marker + 1), -0x20);
}

void LowercaseWord(char* buffer) {
    for (char* p = buffer; *p != 0; ++p) {
        if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p + 0x20);
    }
}
