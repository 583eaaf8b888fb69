// Builds trie sections with CTrieWriter, stores them in temporary files and
// opens them the way the database does, for the trie and listing tests.
#ifndef LEXORA_TESTS_TRIE_TRIEFILES_H
#define LEXORA_TESTS_TRIE_TRIEFILES_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "db/DictDatabase.h"
#include "db/SmartFile.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"

// A key built the plain way, independently of the engine's encoders.
inline std::string PlainKey(const std::string& headword) {
    std::string letters, capitals;
    for (size_t i = 0; i < headword.size(); ++i) {
        char c = headword[i];
        if (c >= 'A' && c <= 'Z') {
            letters += static_cast<char>(c - 'A' + 'a');
            capitals += static_cast<char>(0x20 + i);
        } else {
            letters += c;
        }
    }
    return capitals.empty() ? letters : letters + '\x03' + capitals;
}

inline std::vector<unsigned char> SectionOf(const std::vector<std::string>& headwords) {
    CTrieWriter writer(false);
    uint32_t position = 0;
    for (const std::string& word : headwords) {
        writer.AddHeadword(word, {0x84000000u | position++});
    }
    std::vector<unsigned char> section;
    writer.Finish(&section);
    return section;
}

inline uint32_t WordAt(const std::vector<unsigned char>& bytes, uint32_t index) {
    const unsigned char* p = bytes.data() + 4 * index;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void PutWord(std::vector<unsigned char>* bytes, uint32_t index, uint32_t word) {
    for (int i = 0; i < 4; ++i) (*bytes)[4 * index + i] = static_cast<unsigned char>(word >> 8 * i);
}

// A database object that holds just a word list over a file containing one
// trie section at offset 0, cached in the window as an open database caches it.
class TrieDatabase {
public:
    explicit TrieDatabase(const std::vector<unsigned char>& section, bool raw = false) {
        char name[] = "/tmp/lxtrieXXXXXX";
        int fd = mkstemp(name);
        path = name;
        FILE* out = fdopen(fd, "wb");
        fwrite(section.data(), 1, section.size(), out);
        fclose(out);
        database.file = new CSmartFile();
        database.file->Open(path.c_str());
        database.wordList = new CWordList(database.file, 0, raw);
        database.file->CacheRange(0, (database.wordList->GetEntryCount() + 128) * 4);
    }
    ~TrieDatabase() { remove(path.c_str()); }

    CWordList* trie() { return database.wordList; }
    CDictDatabase* db() { return &database; }

private:
    std::string path;
    CDictDatabase database;
};

// Collects the words a walk hands out; stops after `limit` with `stopCode`.
struct Collector {
    std::vector<std::string> words;
    size_t limit = SIZE_MAX;
    int32_t stopCode = 0;

    static int32_t Visit(void* context, const char* word, uint32_t) {
        Collector* self = static_cast<Collector*>(context);
        self->words.push_back(word);
        return self->words.size() >= self->limit ? self->stopCode : 1;
    }
};

#endif  // LEXORA_TESTS_TRIE_TRIEFILES_H
