#include "db/DictDatabase.h"

#include <new>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "db/Hyphenator.h"
#include "db/ScrollHelper.h"
#include "db/SmartFile.h"
#include "db/WildWord.h"
#include "db/WordFilter.h"
#include "db/WordList.h"

namespace {

uint32_t HeaderWord(const unsigned char* header, uint32_t offset) {
    return static_cast<uint32_t>(header[offset]) | static_cast<uint32_t>(header[offset + 1]) << 8 |
           static_cast<uint32_t>(header[offset + 2]) << 16 |
           static_cast<uint32_t>(header[offset + 3]) << 24;
}

// The window covers the trie's count word, its entries, the end marker and
// enough slack for a full sibling batch read at the last entry. It never asks
// for more than the file holds past the trie's start, so a damaged count
// cannot cause a huge allocation.
uint32_t WindowSize(uint32_t entryCount, uint32_t offset, uint32_t fileSize) {
    uint64_t size = (static_cast<uint64_t>(entryCount) + lxd::kWindowSlackEntries) * 4;
    uint64_t available = offset < fileSize ? fileSize - offset : 0;
    return static_cast<uint32_t>(size < available ? size : available);
}

}  // namespace

CDictDatabase::CDictDatabase()
    : records(nullptr),
      wordList(nullptr),
      wildWord(nullptr),
      scrollHelper(nullptr),
      file(nullptr),
      status(kStatusOk),
      wordFilter(nullptr),
      hyphenator(nullptr),
      auxValue(0xFFFFFFFFu) {}

CDictDatabase::~CDictDatabase() {
    delete scrollHelper;
    delete wordList;
    delete wildWord;
    delete records;
    delete file;
    delete wordFilter;
    delete hyphenator;
}

void CDictDatabase::ReleaseSections() {
    delete file;
    delete scrollHelper;
    delete wordList;
    delete wildWord;
    delete records;
    delete hyphenator;
    file = nullptr;
    scrollHelper = nullptr;
    wordList = nullptr;
    wildWord = nullptr;
    records = nullptr;
    hyphenator = nullptr;
}

bool CDictDatabase::Open(const char* path) {
    CSmartFile* opened = new (std::nothrow) CSmartFile();
    if (!opened || !opened->Open(path)) {
        delete opened;
        status = kStatusCannotOpen;
        return false;
    }
    unsigned char header[lxd::kHeaderSize];
    if (opened->Read(0, lxd::kHeaderSize, header) != static_cast<int32_t>(lxd::kHeaderSize) ||
        HeaderWord(header, lxd::kHeaderMagic) != lxd::kMagic) {
        delete opened;
        status = kStatusCannotOpen;
        return false;
    }
    uint32_t fileSize = HeaderWord(header, lxd::kHeaderFileSize);
    int32_t realSize = opened->GetSize();
    if (realSize < 0 || static_cast<uint32_t>(realSize) != fileSize) {
        delete opened;
        status = kStatusWrongSize;
        return false;
    }
    ReleaseSections();
    auxValue = HeaderWord(header, lxd::kHeaderAuxValue);
    file = opened;
    // A section whose read failed though the file holds its bytes would stay
    // incomplete for the life of the engine; failing the open lets the next
    // request try again.
    if (!BuildSections(header) || file->GetReadErrors() != 0) {
        ReleaseSections();
        status = kStatusCannotOpen;
        return false;
    }
    uint32_t wordIndexOffset = HeaderWord(header, lxd::kHeaderWordIndexOffset);
    file->CacheRange(wordIndexOffset,
                     WindowSize(wildWord->GetEntryCount(), wordIndexOffset, fileSize));
    return true;
}

bool CDictDatabase::BuildSections(const unsigned char* header) {
    uint32_t wordIndexOffset = HeaderWord(header, lxd::kHeaderWordIndexOffset);
    uint32_t patternsOffset = HeaderWord(header, lxd::kHeaderHyphenPatternsOffset);
    uint32_t exceptionsOffset = HeaderWord(header, lxd::kHeaderHyphenExceptionsOffset);
    scrollHelper =
        new (std::nothrow) CScrollHelper(file, HeaderWord(header, lxd::kHeaderScrollTableOffset));
    wordList = new (std::nothrow) CWordList(file, wordIndexOffset, false);
    wildWord = new (std::nothrow) CWildWord(file, wordIndexOffset, false);
    records = new (std::nothrow)
        CCompressedData(file, HeaderWord(header, lxd::kHeaderBlockDirectoryOffset),
                        HeaderWord(header, lxd::kHeaderBlockDataOffset));
    if (patternsOffset || exceptionsOffset) {
        hyphenator = new (std::nothrow) CHyphenator(file, patternsOffset, exceptionsOffset);
        if (!hyphenator || hyphenator->OutOfMemory()) return false;
    }
    // A section left incomplete for lack of memory would stay so while the
    // engine runs; failing the open lets the next request try again.
    return scrollHelper && wordList && wildWord && records && !records->OutOfMemory();
}
