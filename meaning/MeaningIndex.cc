#include "meaning/MeaningIndex.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "db/DictDatabase.h"
#include "db/SmartFile.h"
#include "meaning/MeaningFormat.h"

namespace {

// Larger files are not ours: the index is a few megabytes.
constexpr long kMaxFileSize = 64L << 20;

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return false;
    bool read = fseek(file, 0, SEEK_END) == 0;
    const long size = read ? ftell(file) : -1;
    read = size > 0 && size <= kMaxFileSize && fseek(file, 0, SEEK_SET) == 0;
    if (read) {
        bytes->resize(static_cast<size_t>(size));
        read = fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    fclose(file);
    return read;
}

// Whether [offset, offset + size) lies inside a file of `fileSize` bytes.
bool Inside(uint64_t offset, uint64_t size, uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

CMeaningIndex::CPostings::CPostings(const unsigned char* at, const unsigned char* end,
                                    uint32_t senseCount)
    : at(at), end(end), senseCount(senseCount) {
    if (!ReadVarint(&count) || count > senseCount) count = 0;
    left = count;
}

bool CMeaningIndex::CPostings::ReadVarint(uint32_t* value) {
    uint32_t result = 0;
    for (int shift = 0; shift < 35 && at < end; shift += 7) {
        const unsigned char byte = *at++;
        result |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            *value = result;
            return true;
        }
    }
    at = end;
    return false;
}

bool CMeaningIndex::CPostings::Next(uint32_t* senseOut, uint32_t* fields) {
    uint32_t value = 0;
    if (left == 0 || !ReadVarint(&value)) return false;
    const uint32_t gap = value >> lxm::kFieldBits;
    if ((!first && gap == 0) || gap >= senseCount - sense) {
        left = 0;  // a repeated or out-of-range sense: the list is damaged
        return false;
    }
    sense += gap;
    first = false;
    --left;
    *senseOut = sense;
    *fields = value & ((1u << lxm::kFieldBits) - 1);
    return true;
}

bool CMeaningIndex::IdentifyDictionary(CDictDatabase* database, uint32_t* size, uint32_t* check) {
    if (database == nullptr || database->file == nullptr) return false;
    const int32_t fileSize = database->file->GetSize();
    if (fileSize <= 0) return false;
    std::vector<unsigned char> head(lxm::kCheckedBytes);
    const int32_t read = database->file->Read(0, lxm::kCheckedBytes, head.data());
    if (read <= 0) return false;
    *size = static_cast<uint32_t>(fileSize);
    *check = static_cast<uint32_t>(crc32(0L, head.data(), static_cast<uInt>(read)));
    return true;
}

bool CMeaningIndex::Open(const char* path, CDictDatabase* database) {
    uint32_t size = 0, check = 0;
    std::vector<unsigned char> file;
    return IdentifyDictionary(database, &size, &check) && ReadWholeFile(path, &file) &&
           Load(std::move(file), size, check);
}

uint32_t CMeaningIndex::Word(uint32_t offset) const {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

bool CMeaningIndex::Load(std::vector<unsigned char> file, uint32_t dictionarySize,
                         uint32_t dictionaryCheck) {
    bytes = std::move(file);
    const bool loaded =
        bytes.size() >= lxm::kHeaderSize && Word(lxm::kHeaderMagic) == lxm::kMagic &&
        Word(lxm::kHeaderVersion) == lxm::kVersion && Word(lxm::kHeaderFileSize) == bytes.size() &&
        Word(lxm::kHeaderDictionarySize) == dictionarySize &&
        Word(lxm::kHeaderDictionaryCheck) == dictionaryCheck && CheckTables();
    if (!loaded) {
        std::vector<unsigned char>().swap(bytes);
        senseCount = termCount = vectorDims = 0;
    }
    return loaded;
}

bool CMeaningIndex::CheckTables() {
    const uint64_t size = bytes.size();
    senseCount = Word(lxm::kHeaderSenseCount);
    termCount = Word(lxm::kHeaderTermCount);
    senseTable = Word(lxm::kHeaderSenseTable);
    termTable = Word(lxm::kHeaderTermTable);
    texts = Word(lxm::kHeaderTermTexts);
    textsSize = Word(lxm::kHeaderTermTextsSize);
    lists = Word(lxm::kHeaderPostings);
    listsSize = Word(lxm::kHeaderPostingsSize);
    averageLength = Word(lxm::kHeaderAverageLength) / 256.0;
    if (!Inside(senseTable, uint64_t{senseCount} * lxm::kSenseEntrySize, size) ||
        !Inside(termTable, uint64_t{termCount} * lxm::kTermEntrySize, size) ||
        !Inside(texts, textsSize, size) || !Inside(lists, listsSize, size) ||
        (termCount > 0 && (textsSize == 0 || bytes[texts + textsSize - 1] != 0)) ||
        averageLength < 0.5) {
        return false;
    }
    // Every term's text and postings start inside their areas, postings in
    // order, so a term's list ends where the next one begins.
    uint32_t previous = 0;
    for (uint32_t i = 0; i < termCount; ++i) {
        const uint32_t entry = termTable + i * lxm::kTermEntrySize;
        const uint32_t postings = Word(entry + lxm::kTermPostings);
        if (Word(entry + lxm::kTermText) >= textsSize || postings < previous ||
            postings > listsSize) {
            return false;
        }
        previous = postings;
    }
    return CheckVectors();
}

bool CMeaningIndex::CheckVectors() {
    const uint32_t at = Word(lxm::kHeaderVectors);
    const uint32_t size = Word(lxm::kHeaderVectorsSize);
    vectorDims = 0;
    vectorRanks.clear();
    if (at == 0 && size == 0) return true;
    const uint64_t bitWords = (uint64_t{termCount} + 31) / 32;
    if (!Inside(at, size, bytes.size()) || size < lxm::kVectorBits + 4 * bitWords) return false;
    const uint32_t dims = Word(at + lxm::kVectorDims);
    const uint32_t count = Word(at + lxm::kVectorCount);
    if (dims == 0 || dims > lxm::kMaxVectorDims ||
        size - lxm::kVectorBits - 4 * bitWords != uint64_t{count} * dims) {
        return false;
    }
    // Each bit word's first vector number, so that a term's is found at once.
    vectorBits = at + lxm::kVectorBits;
    uint32_t rank = 0;
    for (uint32_t i = 0; i < bitWords; ++i) {
        vectorRanks.push_back(rank);
        rank += static_cast<uint32_t>(__builtin_popcount(Word(vectorBits + 4 * i)));
    }
    if (rank != count) return false;
    vectors = static_cast<uint32_t>(vectorBits + 4 * bitWords);
    vectorDims = dims;
    return true;
}

MeaningSense CMeaningIndex::GetSense(uint32_t index, uint32_t* length) const {
    MeaningSense sense;
    *length = 0;
    if (index >= senseCount) return sense;
    const uint32_t entry = senseTable + index * lxm::kSenseEntrySize;
    sense.record = Word(entry + lxm::kSenseRecord);
    sense.member = bytes[entry + lxm::kSenseMember];
    sense.number = bytes[entry + lxm::kSenseNumber];
    sense.commonness = bytes[entry + lxm::kSenseCommonness];
    *length = bytes[entry + lxm::kSenseLength];
    return sense;
}

const char* CMeaningIndex::TermText(uint32_t index) const {
    return reinterpret_cast<const char*>(bytes.data()) + texts +
           Word(termTable + index * lxm::kTermEntrySize + lxm::kTermText);
}

int32_t CMeaningIndex::FindTerm(const char* term) const {
    uint32_t low = 0, high = termCount;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        const int order = strcmp(TermText(middle), term);
        if (order == 0) return static_cast<int32_t>(middle);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return -1;
}

const int8_t* CMeaningIndex::TermVector(uint32_t index) const {
    if (vectorDims == 0 || index >= termCount) return nullptr;
    const uint32_t bits = Word(vectorBits + 4 * (index / 32));
    const uint32_t below = bits & ((1u << (index % 32)) - 1);
    if ((bits & (1u << (index % 32))) == 0) return nullptr;
    const uint64_t row = vectorRanks[index / 32] + static_cast<uint32_t>(__builtin_popcount(below));
    return reinterpret_cast<const int8_t*>(bytes.data()) + vectors + row * vectorDims;
}

CMeaningIndex::CPostings CMeaningIndex::Postings(uint32_t index) const {
    if (index >= termCount) return CPostings();
    const uint32_t entry = termTable + index * lxm::kTermEntrySize;
    const uint32_t start = Word(entry + lxm::kTermPostings);
    const uint32_t end =
        index + 1 < termCount ? Word(entry + lxm::kTermEntrySize + lxm::kTermPostings) : listsSize;
    const unsigned char* base = bytes.data() + lists;
    return CPostings(base + start, base + end, senseCount);
}
