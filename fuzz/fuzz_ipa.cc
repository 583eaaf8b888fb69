// The pronunciation table loader and its conversion. The input is the table
// file, a NUL byte, then the pronunciation text to convert.
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "render/IPAConversion.h"
#include "render/SimpleString.h"

namespace {

// The table applies its rows one after another, each to the output of the
// ones before, so a row whose replacement is longer than its symbol may
// multiply the text. A real table grows a pronunciation a few times; a random
// one can grow it without bound, which only measures the allocator. Inputs
// whose worst case passes this size are loaded but not converted.
constexpr double kMaxConvertedSize = 1 << 20;

// Worst-case converted size: the text length times, for every line of the
// table, the ratio of the replacement to the symbol (read as the loader reads
// them: lines of at most 255 bytes, symbol before the first TAB).
double WorstCaseSize(const std::string& table, size_t textLength) {
    double size = static_cast<double>(textLength) + 1;
    size_t start = 0;
    while (start < table.size() && size <= kMaxConvertedSize) {
        size_t end = table.find('\n', start);
        end = end == std::string::npos ? table.size() : end + 1;
        if (end - start > 255) end = start + 255;
        std::string line = table.substr(start, end - start);
        start = end;
        size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        double ratio = static_cast<double>(line.size() - tab) / static_cast<double>(tab);
        if (ratio > 1) size *= ratio + 1;
    }
    return size;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lxfuzz::EnterScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* split = memchr(data, 0, size);
    size_t tableSize =
        split ? static_cast<size_t>(static_cast<const uint8_t*>(split) - data) : size;
    std::string table(bytes, tableSize);
    std::string text = split ? std::string(bytes + tableSize + 1, size - tableSize - 1) : "";
    if (!lxfuzz::WriteFile("data/IPA_to_IMG.txt", data, tableSize)) return 0;

    CIPAConversion conversion;
    conversion.LoadTable("data/IPA_to_IMG.txt");
    if (WorstCaseSize(table, text.size()) > kMaxConvertedSize) return 0;
    CSimpleString converted;
    // The text ends at its first NUL, as a record's text does.
    converted.Assign(text.c_str());
    conversion.Convert(converted);
    if (converted.GetBuffer() != nullptr &&
        strlen(converted.GetBuffer()) != static_cast<size_t>(converted.GetLength())) {
        abort();
    }
    return 0;
}
