// Writes the search companion of a dictionary (layout in search/SearchFormat.h).
// Words are added in the dictionary's index order; Finish() computes their
// Double Metaphone keys and lays the file out. REQUIRES: no call after Finish().
#ifndef LEXORA_SEARCH_SEARCHDATAWRITER_H
#define LEXORA_SEARCH_SEARCHDATAWRITER_H

#include <cstdint>
#include <string>
#include <vector>

struct SearchWord {
    std::string headword;     // as the index spells it
    uint32_t tagCount = 0;    // tagged uses in running text (capped at 65535)
    uint32_t senseCount = 0;  // senses of its definition (capped at 255)
    uint32_t tier = 0;        // 0 rare, 1 common, 2 everyday (capped at 2)
};

class CSearchDataWriter {
public:
    CSearchDataWriter(uint32_t dictionarySize, uint32_t dictionaryEntries);
    virtual ~CSearchDataWriter() = default;

    // False (nothing added) for an empty headword, one holding byte 0, or
    // past the word limit.
    bool AddWord(const SearchWord& word);
    // Adds a word to the filter list (duplicates are kept once).
    void AddFilterWord(const std::string& headword);
    bool Finish(std::vector<unsigned char>* out);
    const std::string& GetError() const { return error; }

private:
    void AppendPhonetic(std::vector<uint64_t>* pairs) const;

    uint32_t dictionarySize;
    uint32_t dictionaryEntries;
    std::vector<SearchWord> words;
    std::vector<std::string> filterWords;
    std::string error;
};

#endif  // LEXORA_SEARCH_SEARCHDATAWRITER_H
