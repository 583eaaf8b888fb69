#include "search/SearchData.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "db/SmartFile.h"
#include "search/SearchFormat.h"
#include "search/SearchSource.h"

namespace {

// True when [offset, offset + length) lies within `size` bytes.
bool FitsIn(uint64_t offset, uint64_t length, uint64_t size) {
    return offset <= size && length <= size - offset;
}

}  // namespace

bool CSearchData::Load(CSmartFile* file, uint32_t dictionarySize, uint32_t dictionaryEntries) {
    bytes.clear();
    unsigned char header[lxs::kHeaderSize];
    if (file == nullptr || file->Read(0, sizeof header, header) != sizeof header) return false;
    uint32_t size = lxs::ReadWord32(header + lxs::kHeaderFileSize);
    if (lxs::ReadWord32(header + lxs::kHeaderMagic) != lxs::kMagic || size < lxs::kHeaderSize ||
        size > INT32_MAX || file->GetSize() != static_cast<int32_t>(size)) {
        return false;
    }
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (file->Read(0, size, bytes.data()) != static_cast<int32_t>(size) ||
        !CheckLayout(dictionarySize, dictionaryEntries)) {
        bytes.clear();
        bytes.shrink_to_fit();
        words = nullptr;
        wordCount = phoneticCount = textLength = 0;
        filterWords.clear();
        return false;
    }
    MeasureSharedPrefixes();
    return true;
}

void CSearchData::MeasureSharedPrefixes() {
    sharedPrefix.assign(wordCount, 0);
    for (uint32_t i = 1; i < wordCount; ++i) {
        const char* previous = Word(i - 1);
        const char* word = Word(i);
        uint32_t shared = 0;
        while (shared < 255 && word[shared] != '\0' &&
               FoldAscii(word[shared]) == FoldAscii(previous[shared])) {
            ++shared;
        }
        sharedPrefix[i] = static_cast<uint8_t>(shared);
    }
}

bool CSearchData::CheckLayout(uint32_t dictionarySize, uint32_t dictionaryEntries) {
    const unsigned char* h = bytes.data();
    uint64_t size = bytes.size();
    if (lxs::ReadWord32(h + lxs::kHeaderVersion) != lxs::kVersion ||
        lxs::ReadWord32(h + lxs::kHeaderDictionarySize) != dictionarySize ||
        lxs::ReadWord32(h + lxs::kHeaderDictionaryEntries) != dictionaryEntries) {
        return false;
    }
    uint32_t count = lxs::ReadWord32(h + lxs::kHeaderWordCount);
    uint32_t wordsAt = lxs::ReadWord32(h + lxs::kHeaderWordsOffset);
    uint32_t textAt = lxs::ReadWord32(h + lxs::kHeaderTextOffset);
    uint32_t textSize = lxs::ReadWord32(h + lxs::kHeaderTextLength);
    uint32_t phoneticAt = lxs::ReadWord32(h + lxs::kHeaderPhoneticOffset);
    uint32_t phonetics = lxs::ReadWord32(h + lxs::kHeaderPhoneticCount);
    if (count > lxs::kMaxWords || phonetics > 2 * lxs::kMaxWords ||
        !FitsIn(wordsAt, uint64_t{count} * lxs::kWordRecordSize, size) ||
        !FitsIn(textAt, textSize, size) || textSize == 0 || h[textAt + textSize - 1] != '\0' ||
        !FitsIn(phoneticAt, uint64_t{phonetics} * lxs::kPhoneticRecordSize, size)) {
        return false;
    }
    words = h + wordsAt;
    wordCount = count;
    text = reinterpret_cast<const char*>(h + textAt);
    textLength = textSize;
    phonetic = h + phoneticAt;
    phoneticCount = phonetics;
    return CheckWords() && CheckPhonetic() && CollectFilterWords();
}

bool CSearchData::CheckWords() const {
    for (uint32_t i = 0; i < wordCount; ++i) {
        if (lxs::ReadWord32(Record(i)) >= textLength) return false;
    }
    return true;
}

bool CSearchData::CheckPhonetic() const {
    uint32_t previous = 0;
    for (uint32_t i = 0; i < phoneticCount; ++i) {
        uint32_t key = lxs::ReadWord32(phonetic + i * 8u);
        if (key < previous || lxs::ReadWord32(phonetic + i * 8u + 4) >= wordCount) return false;
        previous = key;
    }
    return true;
}

bool CSearchData::CollectFilterWords() {
    const unsigned char* h = bytes.data();
    uint32_t at = lxs::ReadWord32(h + lxs::kHeaderFilterOffset);
    uint32_t length = lxs::ReadWord32(h + lxs::kHeaderFilterLength);
    uint32_t count = lxs::ReadWord32(h + lxs::kHeaderFilterCount);
    filterWords.clear();
    if (count == 0) return true;
    if (!FitsIn(at, length, bytes.size()) || length == 0 || h[at + length - 1] != '\0' ||
        count > length) {
        return false;
    }
    const char* next = reinterpret_cast<const char*>(h + at);
    for (uint32_t i = 0; i < count; ++i) {
        const char* end = reinterpret_cast<const char*>(h + at + length);
        if (next >= end) return false;
        filterWords.push_back(next);
        next += strlen(next) + 1;
    }
    return true;
}

const char* CSearchData::Word(uint32_t index) const {
    return text + lxs::ReadWord32(Record(index));
}

uint32_t CSearchData::TagCount(uint32_t index) const {
    const unsigned char* r = Record(index);
    return static_cast<uint32_t>(r[4]) | static_cast<uint32_t>(r[5]) << 8;
}

bool CSearchData::HasSenses(uint32_t index) const {
    return (Record(index)[7] & lxs::kFlagHasSenses) != 0;
}

uint32_t CSearchData::Tier(uint32_t index) const {
    return (Record(index)[7] >> lxs::kTierShift) & lxs::kTierMask;
}

uint32_t CSearchData::Commonness(uint32_t index) const {
    return Tier(index) << 24 | TagCount(index) << 8 | SenseCount(index);
}

void CSearchData::FindPhonetic(uint32_t key, std::vector<uint32_t>* out) const {
    uint32_t low = 0;
    uint32_t high = phoneticCount;
    while (low < high) {
        uint32_t middle = low + (high - low) / 2;
        if (lxs::ReadWord32(phonetic + middle * 8u) < key) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    for (uint32_t i = low; i < phoneticCount && lxs::ReadWord32(phonetic + i * 8u) == key; ++i) {
        out->push_back(lxs::ReadWord32(phonetic + i * 8u + 4));
    }
}
