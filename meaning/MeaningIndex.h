// The meaning index held in memory. Open() reads the file, checks that it was
// built for the open dictionary and checks every table offset (and the
// optional term vectors' extent) once, so that
// later reads stay inside the file whatever it holds; postings are decoded
// with their bounds checked at each step.
#ifndef LEXORA_MEANING_MEANINGINDEX_H
#define LEXORA_MEANING_MEANINGINDEX_H

#include <cstdint>
#include <vector>

#include "meaning/MeaningIndexWriter.h"

class CDictDatabase;

class CMeaningIndex {
public:
    // Walks the postings of one term: senses increasing, each once.
    class CPostings {
    public:
        CPostings() = default;
        CPostings(const unsigned char* at, const unsigned char* end, uint32_t senseCount);
        // The next sense and its field bits; false at the end or at damage.
        bool Next(uint32_t* sense, uint32_t* fields);
        // The number of senses the list says it holds (at most the sense count).
        uint32_t Count() const { return count; }

    private:
        bool ReadVarint(uint32_t* value);
        const unsigned char* at = nullptr;
        const unsigned char* end = nullptr;
        uint32_t senseCount = 0;
        uint32_t count = 0;
        uint32_t left = 0;
        uint32_t sense = 0;
        bool first = true;
    };

    CMeaningIndex() = default;
    virtual ~CMeaningIndex() = default;
    CMeaningIndex(const CMeaningIndex&) = delete;
    CMeaningIndex& operator=(const CMeaningIndex&) = delete;

    // Reads `path`; false (nothing held) when it cannot be read, is damaged,
    // or was built for another dictionary than `database`.
    bool Open(const char* path, CDictDatabase* database);
    // Takes the file's bytes; false (nothing held) as for Open().
    bool Load(std::vector<unsigned char> bytes, uint32_t dictionarySize, uint32_t dictionaryCheck);

    // The open dictionary's size and the crc32 of its first lxm::kCheckedBytes.
    static bool IdentifyDictionary(CDictDatabase* database, uint32_t* size, uint32_t* check);

    uint32_t SenseCount() const { return senseCount; }
    uint32_t TermCount() const { return termCount; }
    // Mean sense length (weighted terms).
    double AverageLength() const { return averageLength; }
    // Sense `index` (< SenseCount()) and its length.
    MeaningSense GetSense(uint32_t index, uint32_t* length) const;
    // The number of `term`, or -1 when the index does not hold it.
    int32_t FindTerm(const char* term) const;
    // The postings of term `index` (< TermCount()).
    CPostings Postings(uint32_t index) const;
    // Components of each term vector; 0 when the file holds none.
    uint32_t VectorDims() const { return vectorDims; }
    // The vector of term `index` (VectorDims() components of length
    // lxm::kVectorScale), or null when the term has none.
    const int8_t* TermVector(uint32_t index) const;

private:
    bool CheckTables();
    // Whether the optional term vectors are absent or lie inside the file,
    // as many as the terms marked as having one.
    bool CheckVectors();
    uint32_t Word(uint32_t offset) const;
    const char* TermText(uint32_t index) const;

    std::vector<unsigned char> bytes;
    uint32_t senseCount = 0;
    uint32_t termCount = 0;
    uint32_t senseTable = 0;
    uint32_t termTable = 0;
    uint32_t texts = 0;
    uint32_t textsSize = 0;
    uint32_t lists = 0;
    uint32_t listsSize = 0;
    double averageLength = 1.0;
    uint32_t vectorBits = 0;            // offset of the bits of the terms with a vector
    std::vector<uint32_t> vectorRanks;  // per bit word, the number of its first vector
    uint32_t vectors = 0;               // offset of the first vector
    uint32_t vectorDims = 0;
};

#endif  // LEXORA_MEANING_MEANINGINDEX_H
