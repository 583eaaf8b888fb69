#include "meaning/MeaningIndexWriter.h"

#include <algorithm>
#include <cstdio>

#include "meaning/MeaningFormat.h"

namespace {

void Put32(std::vector<unsigned char>& out, uint32_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void Append32(std::vector<unsigned char>& out, uint32_t value) {
    out.resize(out.size() + 4);
    Put32(out, static_cast<uint32_t>(out.size() - 4), value);
}

void AppendVarint(std::vector<unsigned char>& out, uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<unsigned char>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<unsigned char>(value));
}

// Weight of one occurrence in a sense's length, in halves: samples are long
// and count half, the related field not at all.
uint32_t LengthWeight(uint32_t field) {
    switch (field) {
        case lxm::kFieldGloss:
        case lxm::kFieldMember:
            return 2;
        case lxm::kFieldSample:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void CMeaningIndexWriter::SetDictionary(uint32_t size, uint32_t check) {
    dictionarySize = size;
    dictionaryCheck = check;
}

uint32_t CMeaningIndexWriter::AddSense(const MeaningSense& sense) {
    senses.push_back({sense, 0});
    return static_cast<uint32_t>(senses.size() - 1);
}

void CMeaningIndexWriter::AddTerm(const std::string& term, uint32_t field) {
    if (senses.empty() || term.empty()) return;
    const uint32_t sense = static_cast<uint32_t>(senses.size() - 1);
    senses.back().length += LengthWeight(field);
    std::vector<uint32_t>& list = postings[term];
    if (!list.empty() && (list.back() >> lxm::kFieldBits) == sense) {
        list.back() |= field;
    } else {
        list.push_back(sense << lxm::kFieldBits | field);
    }
}

void CMeaningIndexWriter::SetTermVectors(
    std::unordered_map<std::string, std::vector<int8_t>> vectors) {
    termVectors = std::move(vectors);
}

void CMeaningIndexWriter::AppendTermVectors(const std::vector<const std::string*>& terms,
                                            std::vector<unsigned char>& out) const {
    const uint32_t dims =
        termVectors.empty() ? 0 : static_cast<uint32_t>(termVectors.begin()->second.size());
    if (dims == 0 || dims > lxm::kMaxVectorDims) return;
    std::vector<uint32_t> bits((terms.size() + 31) / 32, 0);
    std::vector<unsigned char> rows;
    for (size_t i = 0; i < terms.size(); ++i) {
        const auto found = termVectors.find(*terms[i]);
        if (found == termVectors.end() || found->second.size() != dims) continue;
        bits[i / 32] |= 1u << (i % 32);
        rows.insert(rows.end(), found->second.begin(), found->second.end());
    }
    const uint32_t at = static_cast<uint32_t>(out.size());
    Append32(out, dims);
    Append32(out, static_cast<uint32_t>(rows.size() / dims));
    for (uint32_t word : bits) Append32(out, word);
    out.insert(out.end(), rows.begin(), rows.end());
    Put32(out, lxm::kHeaderVectors, at);
    Put32(out, lxm::kHeaderVectorsSize, static_cast<uint32_t>(out.size()) - at);
}

std::vector<unsigned char> CMeaningIndexWriter::Finish() const {
    std::vector<const std::string*> terms;
    for (const auto& item : postings) terms.push_back(&item.first);
    std::sort(terms.begin(), terms.end(),
              [](const std::string* a, const std::string* b) { return *a < *b; });

    std::vector<unsigned char> out(lxm::kHeaderSize, 0);
    const uint32_t senseTable = static_cast<uint32_t>(out.size());
    uint64_t totalLength = 0;
    for (const SenseRow& row : senses) {
        const uint32_t length = std::min<uint32_t>(255, (row.length + 1) / 2);
        totalLength += length;
        Append32(out, row.sense.record);
        out.push_back(row.sense.member);
        out.push_back(row.sense.number);
        out.push_back(static_cast<unsigned char>(length));
        out.push_back(row.sense.commonness);
    }
    std::vector<unsigned char> texts;
    std::vector<unsigned char> lists;
    const uint32_t termTable = static_cast<uint32_t>(out.size());
    for (const std::string* term : terms) {
        Append32(out, static_cast<uint32_t>(texts.size()));
        Append32(out, static_cast<uint32_t>(lists.size()));
        texts.insert(texts.end(), term->begin(), term->end());
        texts.push_back(0);
        const std::vector<uint32_t>& list = postings.at(*term);
        AppendVarint(lists, static_cast<uint32_t>(list.size()));
        uint32_t previous = 0;
        for (uint32_t posting : list) {
            const uint32_t sense = posting >> lxm::kFieldBits;
            AppendVarint(lists, (sense - previous) << lxm::kFieldBits |
                                    (posting & ((1u << lxm::kFieldBits) - 1)));
            previous = sense;
        }
    }
    const uint32_t textsAt = static_cast<uint32_t>(out.size());
    out.insert(out.end(), texts.begin(), texts.end());
    const uint32_t listsAt = static_cast<uint32_t>(out.size());
    out.insert(out.end(), lists.begin(), lists.end());
    AppendTermVectors(terms, out);

    Put32(out, lxm::kHeaderMagic, lxm::kMagic);
    Put32(out, lxm::kHeaderVersion, lxm::kVersion);
    Put32(out, lxm::kHeaderDictionarySize, dictionarySize);
    Put32(out, lxm::kHeaderDictionaryCheck, dictionaryCheck);
    Put32(out, lxm::kHeaderSenseCount, static_cast<uint32_t>(senses.size()));
    Put32(out, lxm::kHeaderTermCount, static_cast<uint32_t>(terms.size()));
    Put32(out, lxm::kHeaderSenseTable, senseTable);
    Put32(out, lxm::kHeaderTermTable, termTable);
    Put32(out, lxm::kHeaderTermTexts, textsAt);
    Put32(out, lxm::kHeaderTermTextsSize, static_cast<uint32_t>(texts.size()));
    Put32(out, lxm::kHeaderPostings, listsAt);
    Put32(out, lxm::kHeaderPostingsSize, static_cast<uint32_t>(lists.size()));
    Put32(out, lxm::kHeaderAverageLength,
          senses.empty() ? 256 : static_cast<uint32_t>(totalLength * 256 / senses.size()));
    Put32(out, lxm::kHeaderFileSize, static_cast<uint32_t>(out.size()));
    return out;
}

bool CMeaningIndexWriter::WriteFile(const std::string& path) const {
    const std::vector<unsigned char> bytes = Finish();
    const std::string temporary = path + ".tmp";
    FILE* file = fopen(temporary.c_str(), "wb");
    bool written = file != nullptr && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr) written = fclose(file) == 0 && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        remove(temporary.c_str());
        return false;
    }
    return true;
}
