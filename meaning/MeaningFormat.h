// Layout constants of the meaning index, the companion file of the dictionary
// that finds senses by the words of their glosses, samples and members. Shared
// by its reader and its writer. All integers are little-endian.
//
// File: header, sense table, term table, term texts, postings, term vectors.
// - Sense table: one 8-byte entry per indexed sense (see kSense*).
// - Term table: one 8-byte entry per term, in byte order of the term texts:
//   offset of the text in the term texts, offset of its postings.
// - Term texts: NUL-terminated terms.
// - Postings of a term: varint sense count, then per sense varint
//   ((sense number gap << kFieldBits) | field bits); the first gap is the
//   sense number itself, later gaps are at least 1. A term's postings end
//   where the next term's begin.
#ifndef LEXORA_MEANING_MEANINGFORMAT_H
#define LEXORA_MEANING_MEANINGFORMAT_H

#include <cstdint>

namespace lxm {

constexpr char kFileName[] = "./data/meaning.lxm";

// Header: sixteen 32-bit words.
constexpr uint32_t kMagic = 0x4D584C4Du;  // the bytes "MLXM"
constexpr uint32_t kVersion = 1;
constexpr uint32_t kHeaderSize = 64;
constexpr uint32_t kHeaderMagic = 0;
constexpr uint32_t kHeaderVersion = 4;
constexpr uint32_t kHeaderDictionarySize = 8;    // size of the dictionary it was built for
constexpr uint32_t kHeaderDictionaryCheck = 12;  // crc32 of that file's first kCheckedBytes
constexpr uint32_t kHeaderSenseCount = 16;
constexpr uint32_t kHeaderTermCount = 20;
constexpr uint32_t kHeaderSenseTable = 24;  // offsets from the start of the file
constexpr uint32_t kHeaderTermTable = 28;
constexpr uint32_t kHeaderTermTexts = 32;
constexpr uint32_t kHeaderTermTextsSize = 36;
constexpr uint32_t kHeaderPostings = 40;
constexpr uint32_t kHeaderPostingsSize = 44;
constexpr uint32_t kHeaderAverageLength = 48;  // mean sense length in 1/256 units
constexpr uint32_t kHeaderFileSize = 52;
constexpr uint32_t kHeaderVectors = 56;  // term vectors: offset, 0 when the file has none
constexpr uint32_t kHeaderVectorsSize = 60;

// The dictionary's first bytes that identify the build the index belongs to.
constexpr uint32_t kCheckedBytes = 4096;

// Sense table entry.
constexpr uint32_t kSenseEntrySize = 8;
constexpr uint32_t kSenseRecord = 0;                // 32 bits: record store position and flags
constexpr uint32_t kSenseProperName = 0x80000000u;  // flag: the word shown is a name
constexpr uint32_t kSenseVerb = 0x40000000u;        // flag: a verb sense
constexpr uint32_t kSenseNoun = 0x20000000u;        // flag: a noun sense
constexpr uint32_t kSenseCategoryShift = 26;        // bits 26-28: kCategory*, 0 for none
constexpr uint32_t kSenseCategoryMask = 0x1C000000u;
constexpr uint32_t kSenseMember = 4;      // member number (from 1) of the headword shown
constexpr uint32_t kSenseNumber = 5;      // n of "headword:n" that opens this sense
constexpr uint32_t kSenseLength = 6;      // weighted term count, capped at 255
constexpr uint32_t kSenseCommonness = 7;  // 0..255, see kCommonnessScale

// Categories of noun senses a description's wording can hint at.
constexpr uint32_t kCategoryPerson = 1;
constexpr uint32_t kCategoryAnimal = 2;
constexpr uint32_t kCategoryArtifact = 3;    // made things: tools, instruments, buildings
constexpr uint32_t kCategoryDiscipline = 4;  // fields of study
constexpr uint32_t kCategoryPlace = 5;
constexpr uint32_t kCategoryTime = 6;
constexpr uint32_t kCategoryCommunication = 7;  // words, speech, texts

// Tagged-use counts are stored as round(log2(1 + count) * kCommonnessScale).
constexpr double kCommonnessScale = 16.0;

// Term table entry.
constexpr uint32_t kTermEntrySize = 8;
constexpr uint32_t kTermText = 0;
constexpr uint32_t kTermPostings = 4;

// Where a term occurs in a sense.
constexpr uint32_t kFieldBits = 4;
constexpr uint32_t kFieldGloss = 1;    // the definition
constexpr uint32_t kFieldSample = 2;   // a sample sentence or a second dictionary's definition
constexpr uint32_t kFieldMember = 4;   // a member word of the synonym set
constexpr uint32_t kFieldRelated = 8;  // a broader sense's members or the sense's category

// Term vectors (optional; a reader that does not know them reads the rest as
// before): a term's direction in a space where terms used alike lie close.
// 32-bit component count d and vector count n; a bit set per term that has a
// vector (32-bit words, bit i % 32 of word i / 32 for term i); then n
// vectors, in term order, of d signed bytes each, scaled to length 127.
constexpr uint32_t kVectorDims = 0;
constexpr uint32_t kVectorCount = 4;
constexpr uint32_t kVectorBits = 8;
constexpr uint32_t kMaxVectorDims = 256;
constexpr float kVectorScale = 127.0f;

// Terms longer than this are neither indexed nor searched.
constexpr uint32_t kMaxTermLength = 40;

}  // namespace lxm

#endif  // LEXORA_MEANING_MEANINGFORMAT_H
