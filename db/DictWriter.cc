#include "db/DictWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "db/BlockCompressor.h"
#include "db/Format.h"
#include "db/Trie.h"
#include "db/TrieWriter.h"

namespace {

constexpr uint32_t kSimilarToLowestTarget = 1u << 24;  // below it the entry reads as 0xCC
constexpr char kListEnd = '\n';  // closes a link list; any byte below 0x80 would do
constexpr char kPadByte = '\n';  // padding: empty records, no byte 0

void PutWord(std::vector<unsigned char>* out, size_t at, uint32_t word) {
    for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<unsigned char>(word >> (8 * i));
}

void AppendWord(std::vector<unsigned char>* out, uint32_t word) {
    out->resize(out->size() + 4);
    PutWord(out, out->size() - 4, word);
}

void Append(std::vector<unsigned char>* out, const std::vector<unsigned char>& bytes) {
    out->insert(out->end(), bytes.begin(), bytes.end());
}

bool IsRecordEnd(char c) {
    return c == lxd::kRecordEndCR || c == lxd::kRecordEndLF || c == lxd::kRecordEndFF;
}

bool IsKind(uint32_t kind) {
    return kind >= 0x80 && kind <= 0xFC && kind % 4 == 0;
}

// Byte 0 of a link entry through byte 3: kind with the target's bits 25..24,
// then the target's bits 0..23, little-endian.
void PutLinkTarget(char* entry, uint32_t kind, uint32_t target) {
    entry[0] = static_cast<char>(kind | ((target >> 24) & 3));
    entry[1] = static_cast<char>(target);
    entry[2] = static_cast<char>(target >> 8);
    entry[3] = static_cast<char>(target >> 16);
}

std::string Printable(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        }
    }
    return "\"" + shown + "\"";
}

std::string HeadwordOfKey(const std::string& key) {
    char buffer[2 * lxd::kKeyBufferSize];
    snprintf(buffer, sizeof buffer, "%s", key.c_str());
    DecodeCapitals(buffer);
    return buffer;
}

// Writes all of `bytes` to `fd` and flushes them to the disk; false with
// errno set otherwise.
bool WriteAll(int fd, const std::vector<unsigned char>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return fsync(fd) == 0;
}

}  // namespace

CDictWriter::CDictWriter() : hasPatterns(false), hasExceptions(false), auxValue(0) {}

CDictWriter::~CDictWriter() {}

bool CDictWriter::Fail(const std::string& text) {
    error = text;
    return false;
}

bool CDictWriter::CheckRoom(const char* what) {
    if (stream.size() < lxd::kMaxRecordPosition) return true;
    return Fail(std::string(what) + " would start at position " + std::to_string(stream.size()) +
                ", at or beyond 2^26, which a record reference cannot address");
}

bool CDictWriter::CheckTextLine(const std::string& text, const char* what) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 0) {
            return Fail(std::string(what) + " " + Printable(text) + " holds byte 0 at offset " +
                        std::to_string(i) + "; the record stream never contains it");
        }
        if (IsRecordEnd(text[i])) {
            return Fail(std::string(what) + " " + Printable(text) +
                        " holds a record terminator (CR, LF or FF) at offset " + std::to_string(i));
        }
    }
    return true;
}

bool CDictWriter::AddLine(const std::string& text, uint32_t* position, char terminator) {
    if (!IsRecordEnd(terminator)) {
        return Fail("record terminator must be CR, LF or FF, not byte " +
                    std::to_string(static_cast<unsigned char>(terminator)));
    }
    if (!CheckRoom("record") || !CheckTextLine(text, "record")) return false;
    if (position) *position = GetStreamLength();
    stream += text;
    stream += terminator;
    return true;
}

bool CDictWriter::AddRaw(const std::string& bytes, uint32_t* position) {
    if (!CheckRoom("raw bytes")) return false;
    if (position) *position = GetStreamLength();
    stream += bytes;
    return true;
}

bool CDictWriter::PadTo(uint32_t position) {
    if (position < stream.size()) {
        return Fail("cannot pad to position " + std::to_string(position) +
                    ": the stream is already " + std::to_string(stream.size()) + " bytes long");
    }
    if (position > lxd::kMaxRecordPosition) {
        return Fail("cannot pad to position " + std::to_string(position) + ", beyond 2^26");
    }
    stream.append(position - stream.size(), kPadByte);
    return true;
}

bool CDictWriter::CheckLink(const DictSenseLink& link, size_t ordinal) {
    std::string which = "link " + std::to_string(ordinal + 1);
    if (!IsKind(link.kind)) {
        return Fail(which + ": kind " + std::to_string(link.kind) +
                    " is not a multiple of 4 between 128 and 252");
    }
    if (!link.targetLabel.empty()) {
        auto known = labels.find(link.targetLabel);
        return known == labels.end() || CheckLinkTarget(link.kind, known->second, which);
    }
    return CheckLinkTarget(link.kind, link.targetPosition, which);
}

bool CDictWriter::CheckLinkTarget(uint32_t kind, uint32_t target, const std::string& which) {
    if (target >= lxd::kMaxRecordPosition) {
        return Fail(which + ": target position " + std::to_string(target) +
                    " is at or beyond 2^26");
    }
    if (kind == lxd::kLinkSimilarTo && target < kSimilarToLowestTarget) {
        return Fail(which + ": a similar-to link (kind 204) to position " + std::to_string(target) +
                    " below 2^24 would begin with byte 0xCC and read as a filler; place its "
                    "target at 2^24 or above (see PadTo)");
    }
    return true;
}

bool CDictWriter::CheckSense(const DictSense& sense, const std::string& label) {
    if (!CheckRoom("sense record")) return false;
    if (!label.empty() && labels.count(label)) {
        return Fail("sense label " + Printable(label) + " is already used");
    }
    for (const std::string& member : sense.members) {
        if (!CheckTextLine(member, "member")) return false;
    }
    if (!CheckTextLine(sense.gloss, "gloss")) return false;
    for (size_t i = 0; i < sense.links.size(); ++i) {
        if (!CheckLink(sense.links[i], i)) return false;
    }
    return true;
}

void CDictWriter::AppendLinks(const DictSense& sense) {
    for (const DictSenseLink& link : sense.links) {
        if (link.fillerBefore) stream += static_cast<char>(lxd::kLinkFiller);
        char entry[lxd::kLinkEntrySize];
        PutLinkTarget(entry, link.kind, link.targetLabel.empty() ? link.targetPosition : 0);
        entry[4] = static_cast<char>(link.targetMember);
        entry[5] = static_cast<char>(link.sourceMember);
        if (!link.targetLabel.empty()) {
            pendingLinks.push_back({stream.size(), link.kind, link.targetLabel});
        }
        stream.append(entry, sizeof entry);
    }
    if (sense.fillerAtEnd) stream += static_cast<char>(lxd::kLinkFiller);
    stream += kListEnd;
}

bool CDictWriter::AddSense(const DictSense& sense, const std::string& label, uint32_t* position) {
    if (!CheckSense(sense, label)) return false;
    uint32_t start = GetStreamLength();
    for (size_t i = 0; i < sense.members.size(); ++i) {
        stream += sense.members[i];
        stream +=
            static_cast<char>(i + 1 < sense.members.size() ? lxd::kRecordEndCR : lxd::kRecordEndLF);
    }
    stream += sense.gloss;
    stream += static_cast<char>(sense.members.empty() ? lxd::kRecordEndFF : lxd::kRecordEndLF);
    AppendLinks(sense);
    if (!label.empty()) labels[label] = start;
    if (position) *position = start;
    return true;
}

bool CDictWriter::CheckHeadword(const std::string& headword) {
    if (headword.empty()) return Fail("empty headword");
    size_t capitals = 0;
    size_t lastCapital = 0;
    for (size_t i = 0; i < headword.size(); ++i) {
        unsigned char c = headword[i];
        if (c < 0x01 || c > 0x7F) {
            return Fail("headword " + Printable(headword) + " holds byte " + std::to_string(c) +
                        ", outside 0x01..0x7F");
        }
        if (c == lxd::kCapitalsMarker) {
            return Fail("headword " + Printable(headword) +
                        " holds byte 0x03, which marks the capitals in a key");
        }
        if (c >= 'A' && c <= 'Z') {
            ++capitals;
            lastCapital = i;
        }
    }
    // Key: the word, then the marker and one byte per capital when it has any.
    size_t keyLength = headword.size() + (capitals ? 1 + capitals : 0);
    if (keyLength >= static_cast<size_t>(lxd::kKeyBufferSize)) {
        return Fail("headword " + Printable(headword) + " makes a key of " +
                    std::to_string(keyLength) + " bytes; at most " +
                    std::to_string(lxd::kKeyBufferSize - 1) + " fit");
    }
    if (capitals && lxd::kCapitalPositionBase + lastCapital > 0x7F) {
        return Fail("headword " + Printable(headword) + " has a capital at position " +
                    std::to_string(lastCapital) + "; positions above " +
                    std::to_string(0x7F - lxd::kCapitalPositionBase) + " cannot be encoded");
    }
    return true;
}

bool CDictWriter::CheckRefs(const std::string& headword, const std::vector<DictRecordRef>& refs) {
    for (const DictRecordRef& ref : refs) {
        if (!IsKind(ref.kind)) {
            return Fail("headword " + Printable(headword) + ": record kind " +
                        std::to_string(ref.kind) + " is not a multiple of 4 between 128 and 252");
        }
        if (ref.position >= lxd::kMaxRecordPosition) {
            return Fail("headword " + Printable(headword) + ": record position " +
                        std::to_string(ref.position) + " is at or beyond 2^26");
        }
    }
    return true;
}

bool CDictWriter::AddHeadword(const std::string& headword, const std::vector<DictRecordRef>& refs) {
    if (!CheckHeadword(headword) || !CheckRefs(headword, refs)) return false;
    char buffer[2 * lxd::kKeyBufferSize + 2];
    memcpy(buffer, headword.data(), headword.size());
    buffer[headword.size()] = 0;
    EncodeCapitals(buffer);
    std::string key(buffer);
    if (headwords.count(key)) return Fail("headword " + Printable(headword) + " is already added");
    headwords[key] = refs;
    return true;
}

bool CDictWriter::SetScrollTable(const std::vector<std::string>& prefixes) {
    if (prefixes.size() != lxd::kScrollEntries) {
        return Fail("scroll table needs " + std::to_string(lxd::kScrollEntries) +
                    " prefixes, not " + std::to_string(prefixes.size()));
    }
    for (const std::string& prefix : prefixes) {
        if (prefix.size() > 4 || prefix.find('\0') != std::string::npos) {
            return Fail("scroll prefix " + Printable(prefix) +
                        " is longer than four bytes or holds byte 0");
        }
    }
    scrollTable = prefixes;
    return true;
}

bool CDictWriter::CheckRawKeys(const std::vector<std::string>& keys, const char* what) {
    CTrieWriter trie(true);
    for (const std::string& key : keys) {
        if (!trie.Add(key)) return Fail(std::string(what) + ": " + trie.GetError());
    }
    return true;
}

bool CDictWriter::SetHyphenPatterns(const std::vector<std::string>& keys) {
    if (!CheckRawKeys(keys, "hyphenation pattern")) return false;
    patterns = keys;
    hasPatterns = true;
    return true;
}

bool CDictWriter::SetHyphenExceptions(const std::vector<std::string>& keys) {
    if (!CheckRawKeys(keys, "hyphenation exception")) return false;
    exceptions = keys;
    hasExceptions = true;
    return true;
}

bool CDictWriter::ResolveLinks(std::string* resolved) {
    *resolved = stream;
    for (const PendingLink& link : pendingLinks) {
        auto target = labels.find(link.label);
        if (target == labels.end()) {
            return Fail("a link names the sense label " + Printable(link.label) +
                        ", which no sense record has");
        }
        if (!CheckLinkTarget(link.kind, target->second, "link to " + Printable(link.label))) {
            return false;
        }
        PutLinkTarget(&(*resolved)[link.offset], link.kind, target->second);
    }
    return true;
}

bool CDictWriter::CheckHeadwordRefs() {
    for (const auto& item : headwords) {
        for (const DictRecordRef& ref : item.second) {
            if (ref.position >= stream.size()) {
                return Fail("headword " + Printable(HeadwordOfKey(item.first)) +
                            " refers to position " + std::to_string(ref.position) +
                            ", past the end of the record stream (" +
                            std::to_string(stream.size()) + " bytes)");
            }
        }
    }
    return true;
}

std::vector<std::string> CDictWriter::DefaultScrollTable() const {
    std::vector<std::string> table(lxd::kScrollEntries);
    if (headwords.empty()) return table;
    std::vector<const std::string*> sorted;
    sorted.reserve(headwords.size());
    for (const auto& item : headwords) sorted.push_back(&item.first);
    for (uint32_t p = 0; p < lxd::kScrollEntries; ++p) {
        const std::string& key =
            *sorted[static_cast<uint64_t>(p) * sorted.size() / lxd::kScrollEntries];
        std::string prefix = key.substr(0, key.find(static_cast<char>(lxd::kCapitalsMarker)));
        table[p] = prefix.substr(0, 4);
    }
    return table;
}

std::vector<unsigned char> CDictWriter::ScrollSection() const {
    std::vector<std::string> table = scrollTable.empty() ? DefaultScrollTable() : scrollTable;
    std::vector<unsigned char> scroll(lxd::kScrollTableSize, 0);
    for (uint32_t p = 0; p < lxd::kScrollEntries; ++p) {
        // Stored reversed: the prefix's first byte is the entry's byte 3.
        for (size_t i = 0; i < table[p].size(); ++i) scroll[4 * p + 3 - i] = table[p][i];
    }
    return scroll;
}

bool CDictWriter::BuildWordIndex(std::vector<unsigned char>* out) {
    CTrieWriter trie(false);
    for (const auto& item : headwords) {
        std::vector<uint32_t> refs;
        for (const DictRecordRef& ref : item.second)
            refs.push_back(lxd::MakeRef(ref.kind, ref.position));
        if (!trie.Add(item.first, refs)) return Fail("headword index: " + trie.GetError());
    }
    if (!trie.Finish(out)) return Fail("headword index: " + trie.GetError());
    return true;
}

bool CDictWriter::BuildRawTrie(const std::vector<std::string>& keys, const char* what,
                               std::vector<unsigned char>* out) {
    CTrieWriter trie(true);
    for (const std::string& key : keys) {
        if (!trie.Add(key)) return Fail(std::string(what) + ": " + trie.GetError());
    }
    if (!trie.Finish(out)) return Fail(std::string(what) + ": " + trie.GetError());
    return true;
}

bool CDictWriter::CompressStream(const std::string& data, std::vector<unsigned char>* directory,
                                 std::vector<unsigned char>* blocks) {
    uint32_t count = static_cast<uint32_t>((data.size() + lxd::kBlockSize - 1) / lxd::kBlockSize);
    directory->clear();
    AppendWord(directory, count);
    blocks->clear();
    CBlockCompressor compressor;
    for (uint32_t b = 0; b < count; ++b) {
        size_t start = static_cast<size_t>(b) * lxd::kBlockSize;
        size_t length = std::min<size_t>(lxd::kBlockSize, data.size() - start);
        if (!compressor.Compress(data.data() + start, length, blocks)) {
            return Fail("could not compress block " + std::to_string(b));
        }
        if (blocks->size() > INT32_MAX) return Fail("compressed records exceed 2 GiB");
        AppendWord(directory, static_cast<uint32_t>(blocks->size()));
    }
    return true;
}

bool CDictWriter::Finish(std::vector<unsigned char>* out) {
    std::string resolved;
    if (!ResolveLinks(&resolved) || !CheckHeadwordRefs()) return false;
    std::vector<unsigned char> wordIndex, patternTrie, exceptionTrie, directory, blocks;
    if (!BuildWordIndex(&wordIndex)) return false;
    if (hasPatterns && !BuildRawTrie(patterns, "hyphenation patterns", &patternTrie)) return false;
    if (hasExceptions && !BuildRawTrie(exceptions, "hyphenation exceptions", &exceptionTrie)) {
        return false;
    }
    if (!CompressStream(resolved, &directory, &blocks)) return false;

    std::vector<unsigned char> scroll = ScrollSection();

    uint64_t total = lxd::kHeaderSize + wordIndex.size() + scroll.size() + patternTrie.size() +
                     exceptionTrie.size() + directory.size() + blocks.size();
    if (total > INT32_MAX) {
        return Fail("the file would be " + std::to_string(total) +
                    " bytes; its size must stay below 2 GiB");
    }
    std::vector<unsigned char> file(lxd::kHeaderSize, 0);
    PutWord(&file, lxd::kHeaderMagic, lxd::kMagic);
    PutWord(&file, lxd::kHeaderWordIndexOffset, file.size());
    Append(&file, wordIndex);
    PutWord(&file, lxd::kHeaderScrollTableOffset, file.size());
    Append(&file, scroll);
    if (hasPatterns) {
        PutWord(&file, lxd::kHeaderHyphenPatternsOffset, file.size());
        Append(&file, patternTrie);
    }
    if (hasExceptions) {
        PutWord(&file, lxd::kHeaderHyphenExceptionsOffset, file.size());
        Append(&file, exceptionTrie);
    }
    PutWord(&file, lxd::kHeaderBlockDirectoryOffset, file.size());
    Append(&file, directory);
    PutWord(&file, lxd::kHeaderBlockDataOffset, file.size());
    Append(&file, blocks);
    PutWord(&file, lxd::kHeaderFileSize, file.size());
    PutWord(&file, lxd::kHeaderAuxValue, auxValue);
    out->swap(file);
    return true;
}

bool CDictWriter::WriteFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!Finish(&bytes)) return false;
    // Readers of `path` see the old file or the whole new one, never a part.
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return Fail("cannot create a temporary file beside " + path + ": " + strerror(errno));
    int failure = WriteAll(fd, bytes) ? 0 : errno;
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && chmod(temporary.c_str(), 0644) != 0) failure = errno;
    if (failure == 0 && rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
    if (failure != 0) {
        unlink(temporary.c_str());
        return Fail("cannot write " + path + ": " + strerror(failure));
    }
    return true;
}
