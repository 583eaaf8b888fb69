// Builds one trie section of the dictionary file (count word, entries, end
// marker) from keys and their record references. Refuses, with an error text,
// any key or size the format cannot hold; a refused Add leaves no trace.
#ifndef LEXORA_DB_TRIEWRITER_H
#define LEXORA_DB_TRIEWRITER_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CTrieWriter {
public:
    // `rawEntries`: every byte 1..255 may appear in a key and keys carry no
    // record references (hyphenation tries). Otherwise keys are headword keys
    // (bytes 1..127) and each reference must have its top bit set.
    explicit CTrieWriter(bool rawEntries);
    virtual ~CTrieWriter();

    // Adds `key` with `refs` appended to any the key already has. False with
    // GetError() set when the key or a reference cannot be stored.
    bool Add(const std::string& key, const std::vector<uint32_t>& refs = {});
    // Adds a headword under its key (capitals folded, see KeyOf).
    bool AddHeadword(const std::string& headword, const std::vector<uint32_t>& refs);
    // The section as little-endian bytes. False with GetError() set when the
    // trie needs more entries than a child index can address.
    bool Finish(std::vector<unsigned char>* section);

    const std::string& GetError() const { return error; }
    size_t GetKeyCount() const { return keys.size(); }

    // The trie key of a headword: capitals lower-cased, then the marker and
    // one position byte per capital when it has any.
    static std::string KeyOf(const std::string& headword);

private:
    struct Node;
    bool Fail(const std::string& text);
    static uint32_t ListEntries(const std::vector<Node>& list);
    static uint64_t SubtreeEntries(const std::vector<Node>& list);
    static void PlaceList(const std::vector<Node>& list, uint32_t first,
                          std::vector<uint32_t>* entries, uint32_t* next);

    bool rawEntries;                                    // hyphenation trie mode
    std::map<std::string, std::vector<uint32_t>> keys;  // sorted keys and their references
    std::string error;                                  // why the last call failed
};

#endif  // LEXORA_DB_TRIEWRITER_H
