// The open dictionary file: validates the header and owns the file and one
// object per section. Sections are read by other modules through the public
// slots; none of them takes ownership.
#ifndef LEXORA_DB_DICTDATABASE_H
#define LEXORA_DB_DICTDATABASE_H

#include <cstdint>

class CCompressedData;
class CWordList;
class CWildWord;
class CScrollHelper;
class CSmartFile;
class CWordFilter;
class CHyphenator;

class CDictDatabase {
public:
    // status values left by a failed Open().
    enum { kStatusOk = 0, kStatusCannotOpen = 2, kStatusWrongSize = 3 };

    CDictDatabase();
    virtual ~CDictDatabase();
    CDictDatabase(const CDictDatabase&) = delete;
    CDictDatabase& operator=(const CDictDatabase&) = delete;

    // Opens and validates the file, builds the sections and the file window.
    // On false no new section exists and `status` says why.
    bool Open(const char* path);

    CCompressedData* records;     // record store
    CWordList* wordList;          // headword trie for lookup and listing
    CWildWord* wildWord;          // second walker over the same trie section
    CScrollHelper* scrollHelper;  // scroll table
    CSmartFile* file;             // the open file
    int32_t status;               // 0, or the cause of a failed open
    CWordFilter* wordFilter;      // filter of the offered word lists, or null; owned
    CHyphenator* hyphenator;      // hyphenation tries, or null without them
    uint32_t auxValue;            // header word 24; all bits set until an open succeeds

private:
    void ReleaseSections();
    bool BuildSections(const unsigned char* header);
};

#endif  // LEXORA_DB_DICTDATABASE_H
