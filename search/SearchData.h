// The search companion of an open dictionary, read whole into memory through
// the database's file reader: headwords in index order with their
// commonness and flags, the phonetic key table and the filter list. Every
// offset is checked at Load, so accessors never read outside the data.
#ifndef LEXORA_SEARCH_SEARCHDATA_H
#define LEXORA_SEARCH_SEARCHDATA_H

#include <cstdint>
#include <string>
#include <vector>

class CSmartFile;

class CSearchData {
public:
    CSearchData() = default;
    virtual ~CSearchData() = default;
    CSearchData(const CSearchData&) = delete;
    CSearchData& operator=(const CSearchData&) = delete;

    // Reads and checks the whole file. False (and empty data) when it cannot
    // be read, is damaged, or was not built with the dictionary whose size and
    // trie entry count are given.
    bool Load(CSmartFile* file, uint32_t dictionarySize, uint32_t dictionaryEntries);

    uint32_t WordCount() const { return wordCount; }
    // Headword number `index` (< WordCount()), spelled as the index spells it.
    const char* Word(uint32_t index) const;
    uint32_t TagCount(uint32_t index) const;
    uint32_t SenseCount(uint32_t index) const { return Record(index)[6]; }
    bool HasSenses(uint32_t index) const;
    // 0 rare, 1 common, 2 everyday.
    uint32_t Tier(uint32_t index) const;
    // A measure of how common the word is: grows with its tier, then its
    // tagged uses in running text, then its number of senses.
    uint32_t Commonness(uint32_t index) const;

    // How many leading characters (ASCII case folded, at most 255) word
    // `index` shares with the word before it; 0 for the first word.
    uint32_t SharedPrefix(uint32_t index) const { return sharedPrefix[index]; }

    // Appends the numbers of the words that have the packed phonetic key.
    void FindPhonetic(uint32_t key, std::vector<uint32_t>* out) const;
    // The filter list, each entry NUL-terminated.
    const std::vector<const char*>& FilterWords() const { return filterWords; }

private:
    const unsigned char* Record(uint32_t index) const { return words + index * 8u; }
    bool CheckLayout(uint32_t dictionarySize, uint32_t dictionaryEntries);
    bool CheckWords() const;
    bool CheckPhonetic() const;
    bool CollectFilterWords();
    void MeasureSharedPrefixes();

    std::vector<unsigned char> bytes;  // the whole file
    const unsigned char* words = nullptr;
    uint32_t wordCount = 0;
    const char* text = nullptr;
    uint32_t textLength = 0;
    const unsigned char* phonetic = nullptr;
    uint32_t phoneticCount = 0;
    std::vector<const char*> filterWords;
    std::vector<uint8_t> sharedPrefix;  // per word, see SharedPrefix
};

#endif  // LEXORA_SEARCH_SEARCHDATA_H
