// Layout of the search companion file "data/search.lxs", shared by its reader
// (CSearchData) and its writer (CSearchDataWriter). Little-endian throughout.
//
// Header: 16 unsigned 32-bit words (kHeader* give their byte offsets).
// Words: wordCount records of 8 bytes, in the index order of the dictionary
//   (the trie's key order): text offset (u32), tag count (u16), sense count
//   (u8), flags (u8: kFlagHasSenses, and the word's tier of commonness in
//   bits 1-2).
// Text: NUL-terminated headwords, spelled as the index spells them.
// Phonetic: phoneticCount pairs (key u32, word number u32), sorted by key then
//   word number; a word appears once per distinct Double Metaphone key and
//   once under the hash of its sound spelling (SoundSpellingKey).
// Filter: filterCount NUL-terminated entries: headwords leaving the filtered
//   lists, and "headword:n" naming an offensive sense n of a word that stays
//   (no headword holds ':', so these match none; results naming senses use them).
#ifndef LEXORA_SEARCH_SEARCHFORMAT_H
#define LEXORA_SEARCH_SEARCHFORMAT_H

#include <cstdint>

namespace lxs {

constexpr char kFileName[] = "search.lxs";
constexpr uint32_t kMagic = 0x5358454Cu;  // "LEXS"
constexpr uint32_t kVersion = 1;
constexpr uint32_t kHeaderSize = 64;

// Byte offsets of the header words.
constexpr uint32_t kHeaderMagic = 0;
constexpr uint32_t kHeaderVersion = 4;
constexpr uint32_t kHeaderFileSize = 8;            // length of this file
constexpr uint32_t kHeaderDictionarySize = 12;     // fileSize of the matching wordnet.lxd
constexpr uint32_t kHeaderDictionaryEntries = 16;  // its trie's entry count
constexpr uint32_t kHeaderWordCount = 20;
constexpr uint32_t kHeaderWordsOffset = 24;
constexpr uint32_t kHeaderTextOffset = 28;
constexpr uint32_t kHeaderTextLength = 32;
constexpr uint32_t kHeaderPhoneticOffset = 36;
constexpr uint32_t kHeaderPhoneticCount = 40;
constexpr uint32_t kHeaderFilterOffset = 44;
constexpr uint32_t kHeaderFilterLength = 48;
constexpr uint32_t kHeaderFilterCount = 52;

constexpr uint32_t kWordRecordSize = 8;
constexpr uint32_t kPhoneticRecordSize = 8;

// Word flags.
constexpr uint8_t kFlagHasSenses = 1;  // a definition with at least one sense
constexpr int kTierShift = 1;          // tier: 0 rare, 1 common, 2 everyday
constexpr uint8_t kTierMask = 3;

// At most this many words; keeps every offset and count within 32 bits.
constexpr uint32_t kMaxWords = 1u << 22;

// A Double Metaphone key (up to four characters) packed into 32 bits, first
// character in the highest byte; 0 for an empty key.
inline uint32_t PackPhoneticKey(const char* key) {
    uint32_t packed = 0;
    for (int i = 0; i < 4; ++i) {
        packed <<= 8;
        if (*key != '\0') packed |= static_cast<unsigned char>(*key++);
    }
    return packed;
}

// FNV-1a hash of a sound spelling with the top bit set, which no packed
// Double Metaphone key (ASCII characters) has.
inline uint32_t SoundSpellingKey(const char* spelling) {
    uint32_t hash = 2166136261u;
    while (*spelling != '\0') {
        hash = (hash ^ static_cast<unsigned char>(*spelling++)) * 16777619u;
    }
    return hash | 0x80000000u;
}

inline uint32_t ReadWord32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void WriteWord32(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

}  // namespace lxs

#endif  // LEXORA_SEARCH_SEARCHFORMAT_H
