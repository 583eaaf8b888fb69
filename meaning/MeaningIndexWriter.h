// Writes the meaning index: collects the senses in the order they are added
// and, for each, the terms of its fields, then lays the file out (terms in
// byte order, postings gap- and varint-coded).
#ifndef LEXORA_MEANING_MEANINGINDEXWRITER_H
#define LEXORA_MEANING_MEANINGINDEXWRITER_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct MeaningSense {
    uint32_t record = 0;     // record store position of the sense record
    uint8_t member = 0;      // member number (from 1) of the headword shown
    uint8_t number = 0;      // n of "headword:n"
    uint8_t commonness = 0;  // see lxm::kCommonnessScale
};

class CMeaningIndexWriter {
public:
    CMeaningIndexWriter() = default;
    virtual ~CMeaningIndexWriter() = default;
    CMeaningIndexWriter(const CMeaningIndexWriter&) = delete;
    CMeaningIndexWriter& operator=(const CMeaningIndexWriter&) = delete;

    // The dictionary the index belongs to (see CMeaningIndex::IdentifyDictionary).
    void SetDictionary(uint32_t size, uint32_t check);
    // Adds a sense after the last one; returns its number.
    uint32_t AddSense(const MeaningSense& sense);
    // Notes that `term` occurs in `field` (lxm::kField*) of the sense added
    // last. Repeats are counted in the sense's length only.
    void AddTerm(const std::string& term, uint32_t field);

    // Term vectors to store (term -> components, all of one length); the
    // other terms have none. None by default.
    void SetTermVectors(std::unordered_map<std::string, std::vector<int8_t>> vectors);

    // The whole file.
    std::vector<unsigned char> Finish() const;
    // Writes Finish() to `path` through a temporary file; false when it fails.
    bool WriteFile(const std::string& path) const;

    size_t SenseCount() const { return senses.size(); }
    size_t TermCount() const { return postings.size(); }

private:
    struct SenseRow {
        MeaningSense sense;
        uint32_t length;  // weighted term count, in halves
    };
    // Appends the term vectors, if any, for `terms` in order, and notes
    // them in the header.
    void AppendTermVectors(const std::vector<const std::string*>& terms,
                           std::vector<unsigned char>& out) const;

    std::vector<SenseRow> senses;
    // term -> (sense << kFieldBits | fields), senses increasing
    std::unordered_map<std::string, std::vector<uint32_t>> postings;
    std::unordered_map<std::string, std::vector<int8_t>> termVectors;
    uint32_t dictionarySize = 0;
    uint32_t dictionaryCheck = 0;
};

#endif  // LEXORA_MEANING_MEANINGINDEXWRITER_H
