// Writes small dictionary files for tests. A TestDatabase owns a temporary
// directory (removed with everything in it when the object dies) and a
// CDictWriter; every refusal of the writer is reported as a test failure
// with the writer's error text, so tests need not check each call.
//
//   lxtest::TestDatabase db;
//   uint32_t gloss = db.Line("a small domesticated feline");
//   db.Word("cat", {{lxd::kKindNoun, db.Sense({{"cat", "true cat"}, "feline mammal"})}});
//   db.WordWithLines("Paris", {{lxd::kKindPronunciation, "pa-ris"}});
//   std::unique_ptr<CDictDatabase> open = db.Open();   // writes, then opens
//
// Path() names the written file (<dir>/data/wordnet.lxd, so Dir() can serve
// as the engine's working directory); the byte helpers damage it in place.
#ifndef LEXORA_TESTS_SUPPORT_TESTDATABASE_H
#define LEXORA_TESTS_SUPPORT_TESTDATABASE_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/DictDatabase.h"
#include "db/DictWriter.h"

namespace lxtest {

// A fresh directory under $TMPDIR (or /tmp), removed recursively on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

class TestDatabase {
public:
    TestDatabase();

    CDictWriter& Writer() { return writer; }
    const std::string& Dir() const { return dir.Path(); }
    // <Dir()>/data/wordnet.lxd, where Write() puts the file.
    std::string Path() const;

    // Append records and return their positions (0 after a refusal).
    uint32_t Line(const std::string& text, char terminator = '\n');
    uint32_t Sense(const DictSense& sense, const std::string& label = "");
    // Adds a headword with references to records already appended.
    void Word(const std::string& headword, const std::vector<DictRecordRef>& refs);
    // Appends one line record per (kind, text) and adds the headword with
    // references to them, in the order given.
    void WordWithLines(const std::string& headword,
                       const std::vector<std::pair<uint32_t, std::string>>& lines);
    // Adds each headword with one noun sense of its own ("<headword>" as the
    // member, "a word" as the gloss).
    void Words(const std::vector<std::string>& headwords);

    // Writes the file to Path() (or `path`); true on success.
    bool Write();
    bool WriteTo(const std::string& path);
    // Write() and open it; null (with a test failure) when either fails.
    std::unique_ptr<CDictDatabase> Open();

private:
    TempDir dir;
    CDictWriter writer;
};

// Whole-file helpers for building damaged files.
std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
// One whole zlib stream holding `data`.
std::string Compress(const std::string& data);
// Little-endian 32-bit word at `offset` of bytes (0 and a test failure when
// it lies outside them); PutWord grows the bytes to hold the word.
uint32_t GetWord(const std::vector<unsigned char>& bytes, size_t offset);
void PutWord(std::vector<unsigned char>* bytes, size_t offset, uint32_t value);
// The same at `offset` of a file.
uint32_t ReadWordAt(const std::string& path, uint32_t offset);
void WriteWordAt(const std::string& path, uint32_t offset, uint32_t value);

}  // namespace lxtest

#endif  // LEXORA_TESTS_SUPPORT_TESTDATABASE_H
