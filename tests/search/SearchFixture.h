// Search data for tests: a word set written by CSearchDataWriter into a
// temporary file and loaded back through the database's file reader.
#ifndef LEXORA_TESTS_SEARCH_SEARCHFIXTURE_H
#define LEXORA_TESTS_SEARCH_SEARCHFIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>

#include "db/SmartFile.h"
#include "search/SearchData.h"
#include "search/SearchDataWriter.h"
#include "search/WildcardSearch.h"
#include "tests/support/TestDatabase.h"

namespace searchtest {

constexpr uint32_t kDictionarySize = 1234;
constexpr uint32_t kDictionaryEntries = 56;

// The search data of `words` for a dictionary of `size` bytes and `entries`
// index entries, the words put into index order (by their index keys) first.
inline std::vector<unsigned char> WriteSearchBytes(std::vector<SearchWord> words,
                                                   const std::vector<std::string>& filter = {},
                                                   uint32_t size = kDictionarySize,
                                                   uint32_t entries = kDictionaryEntries) {
    std::sort(words.begin(), words.end(), [](const SearchWord& a, const SearchWord& b) {
        return IndexKey(a.headword.c_str()) < IndexKey(b.headword.c_str());
    });
    CSearchDataWriter writer(size, entries);
    for (const SearchWord& word : words) EXPECT_TRUE(writer.AddWord(word)) << word.headword;
    for (const std::string& word : filter) writer.AddFilterWord(word);
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(writer.Finish(&bytes)) << writer.GetError();
    return bytes;
}

// Loads `bytes` as a search data file; null when Load refuses it.
inline std::unique_ptr<CSearchData> LoadBytes(const std::vector<unsigned char>& bytes,
                                              uint32_t size = kDictionarySize,
                                              uint32_t entries = kDictionaryEntries) {
    lxtest::TempDir dir;
    std::string path = dir.File("search.lxs");
    lxtest::WriteBytes(path, bytes);
    CSmartFile file;
    EXPECT_TRUE(file.Open(path.c_str()));
    auto data = std::make_unique<CSearchData>();
    if (!data->Load(&file, size, entries)) return nullptr;
    return data;
}

// Words with one sense each and no commonness.
inline std::vector<SearchWord> PlainWords(const std::vector<std::string>& headwords) {
    std::vector<SearchWord> words;
    for (const std::string& headword : headwords) {
        SearchWord word;
        word.headword = headword;
        word.senseCount = 1;
        words.push_back(word);
    }
    return words;
}

inline std::vector<std::string> Headwords(const CSearchData& data,
                                          const std::vector<uint32_t>& found) {
    std::vector<std::string> words;
    for (uint32_t index : found) words.push_back(data.Word(index));
    return words;
}

}  // namespace searchtest

#endif  // LEXORA_TESTS_SEARCH_SEARCHFIXTURE_H
