#include "db/HyphPatternIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "db/Format.h"

namespace {

// The trie search writes at most this many bytes of a stored key (letters
// and digits); longer keys never match, so the walk does not go deeper.
constexpr int kMaxKeyBytes = 17;

// A pattern's letters are filed as 5-bit codes, the first in the top bits of
// a 64-bit key; the low bits hold the order in which the walk met it.
constexpr int kCodeBits = 5;
constexpr int kFirstLetterShift = 64 - kCodeBits;
constexpr int kSequenceBits = 24;
constexpr uint64_t kSequenceMask = (uint64_t{1} << kSequenceBits) - 1;
constexpr int kLevelBits = 4;
constexpr uint32_t kCodeCount = CHyphPatternIndex::kLetterCodes;

// 'a'..'z' are 1..26 and '_' is 27, in the order of the bytes; 0 for every
// byte no pattern letter can be.
uint32_t LetterCode(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    return c == '_' ? 27 : 0;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

uint32_t CodeAt(uint64_t key, int letter) {
    return static_cast<uint32_t>(key >> (kFirstLetterShift - kCodeBits * letter)) &
           (kCodeCount - 1);
}

uint64_t LettersOf(uint64_t key) {
    return key >> kSequenceBits;
}

}  // namespace

// A depth-first walk over the trie's paths, sibling lists in table order,
// which is the order in which the trie search tries them (digits before
// letters, each in ascending order): the first stored key met for a letter
// sequence is the one that search returns for it. Keys the search cannot
// match (a byte that is no pattern letter, more than eight letters, a digit
// at the end, more than kMaxKeyBytes bytes) are passed over.
struct CHyphPatternIndex::Walk {
    // The stored key so far, by its letters and the digits before them.
    struct Path {
        uint64_t letters;  // codes from the top bits
        uint32_t levels;   // kLevelBits per letter
        int count;         // letters
        uint32_t pending;  // highest digit since the last letter
    };

    const uint32_t* table;
    uint32_t entryCount;
    uint32_t visitsLeft;    // a sound trie visits each entry at most once
    uint64_t* keys;         // letters and sequence of each pattern met
    uint32_t* levelsBySeq;  // its levels, by sequence
    uint32_t count;         // patterns met

    // Visits the sibling list at `index`, whose keys' bytes start at byte
    // `position` after `path`. False when the table is no sound trie.
    bool VisitList(uint32_t index, int position, const Path& path) {
        if (position >= kMaxKeyBytes) return true;
        unsigned previous = 0;
        for (uint32_t i = index;; ++i) {
            if (i < 1 || i > entryCount || visitsLeft == 0) return false;
            --visitsLeft;
            const uint32_t entry = table[i - 1];
            const unsigned c = entry >> lxd::kEntryCharShift;
            if (i > index && c <= previous) return false;
            previous = c;
            Path next = path;
            if (Extend(&next, static_cast<unsigned char>(c))) {
                if ((entry & lxd::kEntryTerminal) != 0 && next.pending == 0 && next.count >= 2)
                    Record(next);
                const uint32_t child = entry & lxd::kEntryChildMask;
                if (child != 0 && !VisitList(child, position + 1, next)) return false;
            }
            if ((entry & lxd::kEntryLast) != 0) return true;
        }
    }

    // Adds byte `c` to the path; false when no key through it can match.
    static bool Extend(Path* path, unsigned char c) {
        if (IsDigit(c)) {
            // Several digits before one letter all name its gap: the highest counts.
            if (static_cast<uint32_t>(c - '0') > path->pending) path->pending = c - '0';
            return true;
        }
        const uint32_t code = LetterCode(c);
        if (code == 0 || path->count == kMaxLetters) return false;
        path->letters |= static_cast<uint64_t>(code)
                         << (kFirstLetterShift - kCodeBits * path->count);
        path->levels |= path->pending << (kLevelBits * path->count);
        path->count += 1;
        path->pending = 0;
        return true;
    }

    void Record(const Path& path) {
        if (keys != nullptr) {
            keys[count] = path.letters | count;
            levelsBySeq[count] = path.levels;
        }
        ++count;
    }
};

CHyphPatternIndex::CHyphPatternIndex() : nodes(nullptr), nodeCount(0), rootChild() {}

CHyphPatternIndex::~CHyphPatternIndex() {
    free(nodes);
}

bool CHyphPatternIndex::Build(const uint32_t* table, uint32_t entryCount) {
    free(nodes);
    nodes = nullptr;
    nodeCount = 0;
    memset(rootChild, 0, sizeof rootChild);
    if (table == nullptr || entryCount == 0 || entryCount > kSequenceMask) return false;
    // Each entry ends at most one key: the working arrays are sized by the
    // table, and freed before the first definition is rendered.
    uint64_t* keys = static_cast<uint64_t*>(malloc(sizeof(uint64_t) * entryCount));
    uint64_t* scratch = static_cast<uint64_t*>(malloc(sizeof(uint64_t) * entryCount));
    uint32_t* levelsBySeq = static_cast<uint32_t*>(malloc(sizeof(uint32_t) * entryCount));
    bool built = false;
    if (keys != nullptr && scratch != nullptr && levelsBySeq != nullptr) {
        Walk walk = {table, entryCount, entryCount, keys, levelsBySeq, 0};
        if (walk.VisitList(1, 0, Walk::Path{}) && walk.count > 0) {
            SortByLetters(keys, scratch, walk.count);
            built = BuildNodes(keys, walk.count, levelsBySeq);
        }
    }
    free(keys);
    free(scratch);
    free(levelsBySeq);
    return built;
}

// A stable sort on the letter codes, last letter first (a radix sort): keys
// with the same letters keep the order in which the walk met them.
void CHyphPatternIndex::SortByLetters(uint64_t* keys, uint64_t* scratch, uint32_t count) {
    static_assert(kMaxLetters % 2 == 0, "an even number of passes ends in keys");
    for (int letter = kMaxLetters - 1; letter >= 0; --letter) {
        uint32_t start[kCodeCount + 1] = {};
        for (uint32_t i = 0; i < count; ++i) ++start[CodeAt(keys[i], letter) + 1];
        for (uint32_t code = 1; code <= kCodeCount; ++code) start[code] += start[code - 1];
        for (uint32_t i = 0; i < count; ++i) scratch[start[CodeAt(keys[i], letter)]++] = keys[i];
        std::swap(keys, scratch);
    }
}

// Keeps the first key of each letter sequence in sorted `keys` and lays
// them out as a trie of letters, level by level: the few nodes near the
// root, which every search passes, share the processor's cache lines.
bool CHyphPatternIndex::BuildNodes(uint64_t* keys, uint32_t count, const uint32_t* levelsBySeq) {
    uint32_t unique = 0;
    size_t prefixes = 1;  // the root and one node per letter sequence that starts a key
    for (uint32_t i = 0; i < count; ++i) {
        if (unique > 0 && LettersOf(keys[unique - 1]) == LettersOf(keys[i])) continue;
        prefixes += NewLetters(unique > 0 ? keys[unique - 1] : 0, keys[i]);
        keys[unique++] = keys[i];
    }
    nodes = static_cast<Node*>(malloc(sizeof(Node) * prefixes));
    KeyRange* ranges = static_cast<KeyRange*>(malloc(sizeof(KeyRange) * prefixes));
    if (nodes == nullptr || ranges == nullptr) {
        free(ranges);
        return false;
    }
    nodes[0] = Node{0, 0, 0, 0};
    ranges[0] = KeyRange{0, unique};
    nodeCount = 1;
    int depth = 0;
    uint32_t levelEnd = 1;  // the first node of the next level
    for (uint32_t node = 0; node < nodeCount; ++node) {
        if (node == levelEnd) {
            ++depth;
            levelEnd = nodeCount;
        }
        AddChildren(keys, ranges, node, depth, levelsBySeq);
    }
    free(ranges);
    const uint32_t firstChild = nodes[0].firstChild;
    for (uint32_t child = firstChild; child < firstChild + nodes[0].childCount; ++child) {
        rootChild[nodes[child].letter] = child;
    }
    return true;
}

// The letters of `key` after those it shares with `previous` (0: none).
uint32_t CHyphPatternIndex::NewLetters(uint64_t previous, uint64_t key) {
    int shared = 0;
    while (shared < kMaxLetters && CodeAt(key, shared) != 0 &&
           CodeAt(key, shared) == CodeAt(previous, shared)) {
        ++shared;
    }
    int letters = shared;
    while (letters < kMaxLetters && CodeAt(key, letters) != 0) ++letters;
    return static_cast<uint32_t>(letters - shared);
}

// The keys of `parent`'s range share their first `depth` letters, which lead
// to it: the key made of just those letters is its pattern, and the others
// make its children, one per next letter, appended after the last node.
void CHyphPatternIndex::AddChildren(const uint64_t* keys, KeyRange* ranges, uint32_t parent,
                                    int depth, const uint32_t* levelsBySeq) {
    uint32_t lo = ranges[parent].lo;
    const uint32_t hi = ranges[parent].hi;
    if (lo < hi && (depth == kMaxLetters || CodeAt(keys[lo], depth) == 0)) {
        nodes[parent].levels = levelsBySeq[keys[lo] & kSequenceMask];
        ++lo;
    }
    nodes[parent].firstChild = nodeCount;
    for (uint32_t i = lo; i < hi;) {
        const uint32_t start = i;
        const uint32_t code = CodeAt(keys[i], depth);
        while (i < hi && CodeAt(keys[i], depth) == code) ++i;
        nodes[nodeCount] = Node{0, 0, code, 0};
        ranges[nodeCount++] = KeyRange{start, i};
    }
    nodes[parent].childCount = nodeCount - nodes[parent].firstChild;
}

uint32_t CHyphPatternIndex::ChildOf(uint32_t node, uint32_t letter) const {
    const Node& parent = nodes[node];
    const uint32_t end = parent.firstChild + parent.childCount;
    for (uint32_t child = parent.firstChild; child < end; ++child) {
        if (nodes[child].letter == letter) return child;
        if (nodes[child].letter > letter) break;
    }
    return kNoNode;
}

void CHyphPatternIndex::FindLevels(const char* work, int workLength, unsigned char* levels) const {
    if (nodes == nullptr) return;
    for (int i = 0; i <= workLength - 2; ++i) {
        const int maxLetters = std::min(workLength - i, static_cast<int>(kMaxLetters));
        uint32_t node = 0;
        for (int n = 1; n <= maxLetters; ++n) {
            const uint32_t code = LetterCode(static_cast<unsigned char>(work[i + n - 1]));
            node = n == 1 ? rootChild[code] : ChildOf(node, code);
            if (node == kNoNode) break;
            for (uint32_t digits = nodes[node].levels, j = 0; digits != 0;
                 digits >>= kLevelBits, ++j) {
                const unsigned char level = static_cast<unsigned char>('0' + (digits & 15));
                const int gap = i + static_cast<int>(j) - 1;
                if ((digits & 15) != 0 && gap >= 0 && level > levels[gap]) levels[gap] = level;
            }
        }
    }
}

size_t CHyphPatternIndex::MemoryBytes() const {
    return sizeof(Node) * nodeCount;
}
