// Layout constants of the dictionary file, shared by its readers and its
// writer so that every field is defined in one place. All integers in the
// file are little-endian.
#ifndef LEXORA_DB_FORMAT_H
#define LEXORA_DB_FORMAT_H

#include <cstdint>

namespace lxd {

// File header: sixteen 32-bit words at offset 0.
constexpr uint32_t kMagic = 0x98AB;
constexpr uint32_t kHeaderSize = 64;
constexpr uint32_t kHeaderMagic = 0;
constexpr uint32_t kHeaderWordIndexOffset = 4;
constexpr uint32_t kHeaderScrollTableOffset = 8;
constexpr uint32_t kHeaderBlockDirectoryOffset = 12;
constexpr uint32_t kHeaderBlockDataOffset = 16;
constexpr uint32_t kHeaderFileSize = 20;
constexpr uint32_t kHeaderAuxValue = 24;
constexpr uint32_t kHeaderHyphenPatternsOffset = 28;
constexpr uint32_t kHeaderHyphenExceptionsOffset = 32;

// Compressed record store: the stream is cut into blocks of this size, each
// compressed on its own as one zlib stream.
constexpr uint32_t kBlockShift = 12;
constexpr uint32_t kBlockSize = 1u << kBlockShift;
constexpr uint32_t kRecordEndCR = 13;  // ends a member line that is not the last
constexpr uint32_t kRecordEndLF = 10;  // ends the last member line, or any record
constexpr uint32_t kRecordEndFF = 12;  // a gloss that follows no member lines

// Trie sections: a count word, the entries, then the end marker.
constexpr uint32_t kTrieEndMarker = 0x1100FAFA;
constexpr uint32_t kEntryRecordRef = 0x80000000u;  // record reference (word index only)
constexpr uint32_t kEntryCharShift = 24;
constexpr uint32_t kEntryTerminal = 0x00800000u;   // a key ends at this node
constexpr uint32_t kEntryLast = 0x00400000u;       // last node of its sibling list
constexpr uint32_t kEntryChildMask = 0x003FFFFFu;  // index of the first child, 0 = none
constexpr uint32_t kMaxTrieEntries = kEntryChildMask;  // child indices must fit 22 bits
constexpr uint32_t kTrieBatchEntries = 128;        // entries read per sibling-list batch
constexpr uint32_t kWindowSlackEntries = 128;      // window words beyond the table

// Headword keys: lower-case letters, then the capitals marker and one byte per
// capital (0x20 + its position) when the headword has capitals.
constexpr unsigned char kCapitalsMarker = 0x03;
constexpr unsigned char kCapitalPositionBase = 0x20;
constexpr int kKeyBufferSize = 128;
constexpr int kMaxEnumeratedKey = 57;  // longer keys are never reached by enumeration
constexpr int kMaxEnumerationDepth = 55;

// Record references: kind in the top six bits, store position in the low 26.
constexpr uint32_t kRefPositionMask = 0x03FFFFFFu;
constexpr uint32_t kRefKindMask = 0xFC;
constexpr uint32_t kMaxRecordPosition = 1u << 26;
inline uint32_t RefKind(uint32_t ref) { return (ref >> 24) & kRefKindMask; }
inline uint32_t RefPosition(uint32_t ref) { return ref & kRefPositionMask; }
inline uint32_t MakeRef(uint32_t kind, uint32_t position) {
    return (kind << 24) | (position & kRefPositionMask);
}

// Record kinds.
enum RecordKind : uint32_t {
    // An interjection's sense record (oh, wow), shaped as the others. Readers
    // that predate it skip it.
    kKindInterjection = 128,
    kKindNoun = 132,
    kKindVerb = 136,
    kKindAdjective = 140,
    kKindAdjectiveSatellite = 144,
    kKindAdverb = 148,
    kKindArticle = 152,
    kKindPronoun = 156,
    kKindConjunction = 160,
    kKindDeterminer = 164,
    kKindPreposition = 168,
    kKindParticle = 172,
    kKindRedirect = 176,
    kKindPlural = 180,
    kKindPlural2 = 184,
    kKindTense1 = 192,
    kKindTense2 = 196,
    // "relation<TAB>base" (past tense<TAB>eat): the headword is also an
    // inflected form of another headword. Readers that predate it skip it.
    kKindFormOf = 200,
    kKindUsage = 208,
    kKindAdjectiveForm = 212,
    kKindAdjectiveForm2 = 216,
    kKindAdverbForm = 220,
    kKindAdverbForm2 = 224,
    kKindPronunciation = 228,
    kKindOrigin = 232,
    kKindThesaurusSynonym = 236,
    kKindThesaurusNoun = 240,
    kKindThesaurusVerb = 244,
    kKindThesaurusAdjective = 248,
    kKindThesaurusAdverb = 252,
};
constexpr uint32_t kFirstSenseKind = kKindInterjection;
constexpr uint32_t kLastSenseKind = kKindParticle;

// Link kinds inside a sense record's link list (a subset; see the renderer's
// name table for all of them).
constexpr uint32_t kLinkSynonym = 132;
constexpr uint32_t kLinkHypernym = 140;
constexpr uint32_t kLinkSimilarTo = 204;
constexpr unsigned char kLinkFiller = 0xCC;  // one-byte entry that carries nothing
constexpr uint32_t kLinkEntrySize = 6;
constexpr uint32_t kMaxLinksTaken = 128;
constexpr uint32_t kMaxRenderedRefs = 128;

// Scroll table: 1024 prefixes of up to four characters, stored reversed.
constexpr uint32_t kScrollEntries = 1024;
constexpr uint32_t kScrollTableSize = kScrollEntries * 4;

}  // namespace lxd

#endif  // LEXORA_DB_FORMAT_H
