// lxfuzzseeds: writes the seed corpus of every fuzz target into the folder
// given (fuzz/corpus in the source tree), one subfolder per target. Run it
// again when the file format changes; crash inputs kept beside the seeds as
// regression cases are left alone.
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "db/DictWriter.h"
#include "db/Format.h"
#include "fuzz/SeedDictionaries.h"

namespace {

namespace fs = std::filesystem;

bool Save(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::cerr << "cannot write " << path << "\n";
    return static_cast<bool>(out);
}

uint32_t GetWord(const std::vector<unsigned char>& bytes, uint32_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

void PutWord(std::vector<unsigned char>* bytes, uint32_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The same file without its scroll table, whose offset then lies past the
// end (the reader falls back to an empty table). The table is most of a
// small file's bytes, and mutations of it reach little code.
std::vector<unsigned char> WithoutScrollTable(std::vector<unsigned char> bytes) {
    const uint32_t table = GetWord(bytes, lxd::kHeaderScrollTableOffset);
    bytes.erase(bytes.begin() + table, bytes.begin() + table + lxd::kScrollTableSize);
    for (uint32_t field : {lxd::kHeaderHyphenPatternsOffset, lxd::kHeaderHyphenExceptionsOffset,
                           lxd::kHeaderBlockDirectoryOffset, lxd::kHeaderBlockDataOffset}) {
        const uint32_t offset = GetWord(bytes, field);
        if (offset > table) PutWord(&bytes, field, offset - lxd::kScrollTableSize);
    }
    PutWord(&bytes, lxd::kHeaderFileSize, static_cast<uint32_t>(bytes.size()));
    PutWord(&bytes, lxd::kHeaderScrollTableOffset, static_cast<uint32_t>(bytes.size()));
    return bytes;
}

// Writes `name`.lxd and, without its scroll table, `name`-compact.lxd.
bool SaveDictionary(const fs::path& dir, const std::string& name,
                    const std::function<bool(CDictWriter&)>& fill) {
    CDictWriter writer;
    std::vector<unsigned char> bytes;
    if (!fill(writer) || !writer.Finish(&bytes)) {
        std::cerr << name << ": " << writer.GetError() << "\n";
        return false;
    }
    const std::vector<unsigned char> compact = WithoutScrollTable(bytes);
    return Save(dir / (name + ".lxd"), std::string(bytes.begin(), bytes.end())) &&
           Save(dir / (name + "-compact.lxd"), std::string(compact.begin(), compact.end()));
}

std::string Compress(const std::string& text) {
    uLongf size = compressBound(text.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(text.data()),
             text.size());
    out.resize(size);
    return out;
}

// A text that compresses to more than one 4096-byte read.
std::string NoisyText(size_t length) {
    std::string text;
    uint32_t state = 12345;
    while (text.size() < length) {
        state = state * 1103515245u + 12345u;
        text += static_cast<char>(state >> 16);
    }
    return text;
}

bool WriteDatabaseSeeds(const fs::path& dir) {
    return SaveDictionary(dir, "tiny", lxfuzz::WriteTinyDictionary) &&
           SaveDictionary(dir, "linked", lxfuzz::WriteLinkedDictionary) &&
           SaveDictionary(dir, "listing", lxfuzz::WriteListingDictionary);
}

bool WriteIpaSeeds(const fs::path& dir) {
    const std::string table = "# symbol and replacement\nk\t<i>k</i>\n@\t&#601;\nr\t&#633;\n";
    return Save(dir / "table", table + std::string(1, '\0') + "k@t r@n") &&
           Save(dir / "crlf", "e\t&#603;\r\nI\t&#618;\r\n" + std::string(1, '\0') + "bEd bId") &&
           Save(dir / "long-line",
                "a\t" + std::string(300, 'b') + "\n" + std::string(1, '\0') + "a");
}

bool WriteInflateSeeds(const fs::path& dir) {
    const std::string sound = Compress("sound");
    const std::string noisy = Compress(NoisyText(6000));
    return Save(dir / "sound", sound) && Save(dir / "empty", Compress("")) &&
           Save(dir / "noisy", noisy) && Save(dir / "truncated", noisy.substr(0, 5000)) &&
           Save(dir / "trailing", sound + "trailing bytes");
}

bool WriteAnswerSeeds(const fs::path& dir) {
    // Option byte (count, direction, recording) then the word.
    return Save(dir / "cat", std::string("\x05", 1) + "cat") &&
           Save(dir / "paris", std::string("\x48", 1) + "Paris:1") &&
           Save(dir / "inflected", std::string("\x83", 1) + "running") &&
           Save(dir / "utf8", std::string("\x02", 1) + "caf\xC3\xA9 \"q\"\\") &&
           Save(dir / "long", std::string("\x3F", 1) + std::string(200, 'x'));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lxfuzzseeds CORPUS_DIR\n";
        return 2;
    }
    const fs::path root = argv[1];
    const std::vector<std::pair<std::string, std::function<bool(const fs::path&)>>> targets = {
        {"fuzz_database", WriteDatabaseSeeds},
        {"fuzz_ipa", WriteIpaSeeds},
        {"fuzz_inflate", WriteInflateSeeds},
        {"fuzz_answers", WriteAnswerSeeds}};
    for (const auto& [name, write] : targets) {
        std::error_code error;
        fs::create_directories(root / name, error);
        if (!write(root / name)) return 1;
    }
    return 0;
}
