#include "search/SearchDataWriter.h"

#include <algorithm>

#include "search/DoubleMetaphone.h"
#include "search/SearchFormat.h"
#include "search/SearchSource.h"
#include "search/SoundSpelling.h"

namespace {

void AppendWord32(std::vector<unsigned char>* out, uint32_t value) {
    size_t at = out->size();
    out->resize(at + 4);
    lxs::WriteWord32(out->data() + at, value);
}

void PutHeader(std::vector<unsigned char>* out, uint32_t offset, uint32_t value) {
    lxs::WriteWord32(out->data() + offset, value);
}

}  // namespace

CSearchDataWriter::CSearchDataWriter(uint32_t dictionarySize, uint32_t dictionaryEntries)
    : dictionarySize(dictionarySize), dictionaryEntries(dictionaryEntries) {}

bool CSearchDataWriter::AddWord(const SearchWord& word) {
    if (word.headword.empty() || word.headword.find('\0') != std::string::npos ||
        words.size() >= lxs::kMaxWords) {
        error = "headword refused: " + word.headword;
        return false;
    }
    words.push_back(word);
    return true;
}

void CSearchDataWriter::AddFilterWord(const std::string& headword) {
    if (headword.empty() || headword.find('\0') != std::string::npos) return;
    if (std::find(filterWords.begin(), filterWords.end(), headword) == filterWords.end()) {
        filterWords.push_back(headword);
    }
}

// Pairs of (key << 32 | word number), one per distinct non-empty key.
void CSearchDataWriter::AppendPhonetic(std::vector<uint64_t>* pairs) const {
    for (uint32_t i = 0; i < words.size(); ++i) {
        CDoubleMetaphone keys(words[i].headword.c_str());
        uint32_t primary = lxs::PackPhoneticKey(keys.Primary().c_str());
        uint32_t alternate = lxs::PackPhoneticKey(keys.Alternate().c_str());
        if (primary != 0) pairs->push_back(uint64_t{primary} << 32 | i);
        if (alternate != 0 && alternate != primary) pairs->push_back(uint64_t{alternate} << 32 | i);
        std::string sound = SoundSpelling(FoldAscii(words[i].headword.c_str()));
        pairs->push_back(uint64_t{lxs::SoundSpellingKey(sound.c_str())} << 32 | i);
    }
    std::sort(pairs->begin(), pairs->end());
}

bool CSearchDataWriter::Finish(std::vector<unsigned char>* out) {
    if (words.empty()) {
        error = "no headwords";
        return false;
    }
    out->assign(lxs::kHeaderSize, 0);
    std::vector<unsigned char> text;
    uint32_t wordsAt = static_cast<uint32_t>(out->size());
    for (const SearchWord& word : words) {
        AppendWord32(out, static_cast<uint32_t>(text.size()));
        uint32_t tags = std::min<uint32_t>(word.tagCount, 0xFFFF);
        out->push_back(static_cast<unsigned char>(tags));
        out->push_back(static_cast<unsigned char>(tags >> 8));
        out->push_back(static_cast<unsigned char>(std::min<uint32_t>(word.senseCount, 255)));
        uint8_t flags = static_cast<uint8_t>(std::min<uint32_t>(word.tier, 2) << lxs::kTierShift);
        if (word.senseCount > 0) flags |= lxs::kFlagHasSenses;
        out->push_back(flags);
        text.insert(text.end(), word.headword.begin(), word.headword.end());
        text.push_back('\0');
    }
    uint32_t textAt = static_cast<uint32_t>(out->size());
    out->insert(out->end(), text.begin(), text.end());
    std::vector<uint64_t> pairs;
    AppendPhonetic(&pairs);
    uint32_t phoneticAt = static_cast<uint32_t>(out->size());
    for (uint64_t pair : pairs) {
        AppendWord32(out, static_cast<uint32_t>(pair >> 32));
        AppendWord32(out, static_cast<uint32_t>(pair));
    }
    uint32_t filterAt = static_cast<uint32_t>(out->size());
    for (const std::string& word : filterWords) {
        out->insert(out->end(), word.begin(), word.end());
        out->push_back('\0');
    }
    PutHeader(out, lxs::kHeaderMagic, lxs::kMagic);
    PutHeader(out, lxs::kHeaderVersion, lxs::kVersion);
    PutHeader(out, lxs::kHeaderFileSize, static_cast<uint32_t>(out->size()));
    PutHeader(out, lxs::kHeaderDictionarySize, dictionarySize);
    PutHeader(out, lxs::kHeaderDictionaryEntries, dictionaryEntries);
    PutHeader(out, lxs::kHeaderWordCount, static_cast<uint32_t>(words.size()));
    PutHeader(out, lxs::kHeaderWordsOffset, wordsAt);
    PutHeader(out, lxs::kHeaderTextOffset, textAt);
    PutHeader(out, lxs::kHeaderTextLength, static_cast<uint32_t>(text.size()));
    PutHeader(out, lxs::kHeaderPhoneticOffset, phoneticAt);
    PutHeader(out, lxs::kHeaderPhoneticCount, static_cast<uint32_t>(pairs.size()));
    PutHeader(out, lxs::kHeaderFilterOffset, filterAt);
    PutHeader(out, lxs::kHeaderFilterLength, static_cast<uint32_t>(out->size() - filterAt));
    PutHeader(out, lxs::kHeaderFilterCount, static_cast<uint32_t>(filterWords.size()));
    return true;
}
