#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "db/Format.h"

namespace lxtest {

TempDir::TempDir() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/lexora-test-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory from " << pattern;
    }
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

TestDatabase::TestDatabase() {
    std::error_code ignored;
    std::filesystem::create_directories(dir.File("data"), ignored);
}

std::string TestDatabase::Path() const {
    return dir.File("data/wordnet.lxd");
}

uint32_t TestDatabase::Line(const std::string& text, char terminator) {
    uint32_t position = 0;
    EXPECT_TRUE(writer.AddLine(text, &position, terminator)) << writer.GetError();
    return position;
}

uint32_t TestDatabase::Sense(const DictSense& sense, const std::string& label) {
    uint32_t position = 0;
    EXPECT_TRUE(writer.AddSense(sense, label, &position)) << writer.GetError();
    return position;
}

void TestDatabase::Word(const std::string& headword, const std::vector<DictRecordRef>& refs) {
    EXPECT_TRUE(writer.AddHeadword(headword, refs)) << writer.GetError();
}

void TestDatabase::WordWithLines(const std::string& headword,
                                 const std::vector<std::pair<uint32_t, std::string>>& lines) {
    std::vector<DictRecordRef> refs;
    for (const auto& line : lines) refs.push_back({line.first, Line(line.second)});
    Word(headword, refs);
}

void TestDatabase::Words(const std::vector<std::string>& headwords) {
    for (const std::string& word : headwords) {
        Word(word, {{lxd::kKindNoun, Sense({{word}, "a word", {}})}});
    }
}

bool TestDatabase::Write() {
    return WriteTo(Path());
}

bool TestDatabase::WriteTo(const std::string& path) {
    bool written = writer.WriteFile(path);
    EXPECT_TRUE(written) << writer.GetError();
    return written;
}

std::unique_ptr<CDictDatabase> TestDatabase::Open() {
    if (!Write()) return nullptr;
    std::unique_ptr<CDictDatabase> database(new CDictDatabase());
    if (!database->Open(Path().c_str())) {
        ADD_FAILURE() << "written database does not open, status " << database->status;
        return nullptr;
    }
    return database;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << path;
}

std::string Compress(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
             data.size());
    out.resize(size);
    return out;
}

uint32_t GetWord(const std::vector<unsigned char>& bytes, size_t offset) {
    if (offset + 4 > bytes.size()) {
        ADD_FAILURE() << "offset " << offset << " lies outside " << bytes.size() << " bytes";
        return 0;
    }
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

void PutWord(std::vector<unsigned char>* bytes, size_t offset, uint32_t value) {
    if (bytes->size() < offset + 4) bytes->resize(offset + 4);
    for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t ReadWordAt(const std::string& path, uint32_t offset) {
    return GetWord(ReadBytes(path), offset);
}

void WriteWordAt(const std::string& path, uint32_t offset, uint32_t value) {
    std::vector<unsigned char> bytes = ReadBytes(path);
    if (offset + 4ull > bytes.size()) {
        ADD_FAILURE() << "offset " << offset << " lies outside " << path;
        return;
    }
    PutWord(&bytes, offset, value);
    WriteBytes(path, bytes);
}

}  // namespace lxtest
