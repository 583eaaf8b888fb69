// Every headword of a dictionary in index order, held in one buffer so that
// any number of threads can scan it while the database serves one request at
// a time. Built once by one walk of the headword trie; never changes after.
#ifndef LEXORA_TOOLS_LXDICTD_HEADWORDLIST_H
#define LEXORA_TOOLS_LXDICTD_HEADWORDLIST_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CDictDatabase;

class CHeadwordList {
public:
    CHeadwordList() = default;
    CHeadwordList(const CHeadwordList&) = delete;
    CHeadwordList& operator=(const CHeadwordList&) = delete;

    // Replaces the list with the headwords `database` enumerates.
    void Load(CDictDatabase* database);
    // Appends one headword (the loader's visitor; tests build lists with it).
    void Add(const char* word);

    uint32_t Count() const { return static_cast<uint32_t>(starts.size()); }
    // REQUIRES: i < Count(). The headword with its capitals, NUL-terminated.
    const char* Get(uint32_t i) const { return text.data() + starts[i]; }
    // The index range [first, last) of the headwords whose lower-case form
    // begins with `prefix` (lower case); with `whole`, equals it. Found by
    // binary search when the list is in lower-case order; otherwise the
    // whole list, whose words the caller must test one by one.
    std::pair<uint32_t, uint32_t> FindPrefix(const std::string& prefix, bool whole) const;
    // True when the list is in lower-case order, so FindPrefix is exact.
    bool IsOrdered() const { return ordered; }

private:
    std::string text;              // the headwords, each followed by a NUL
    std::vector<uint32_t> starts;  // where each headword begins in text
    bool ordered = true;           // lower-case forms never decrease along the list
};

// `word` with 'A'..'Z' lower-cased.
std::string LowerCased(const std::string& word);

#endif  // LEXORA_TOOLS_LXDICTD_HEADWORDLIST_H
