// lxddump: prints what a dictionary file holds, in the terms of its format.
//
//   lxddump FILE                           header, sections, tries, blocks
//   lxddump FILE --word WORD               key, trie position, references and records
//   lxddump FILE --list PREFIX [--count N] [--backward]
//                                          the run of headwords from PREFIX
//
// Every read goes through the engine's own readers, which treat damaged data
// as missing, so the tool reports a damaged file instead of failing on it.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/HyphTrie.h"
#include "db/Hyphenator.h"
#include "db/IndexListing.h"
#include "db/SmartFile.h"
#include "db/Trie.h"
#include "db/WordList.h"

namespace {

constexpr int kMaxRefs = 1024;
constexpr int kMaxMembers = 256;
constexpr int kMaxLinks = 4096;

struct Options {
    std::string path;
    std::string word;
    std::string prefix;
    bool listing = false;
    bool backward = false;
    long count = 20;
};

int Usage() {
    fprintf(stderr, "usage: lxddump FILE [--word WORD | --list PREFIX [--count N] [--backward]]\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    if (argc < 2) return false;
    options->path = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--word" && hasValue) {
            options->word = argv[++i];
        } else if (arg == "--list" && hasValue) {
            options->prefix = argv[++i];
            options->listing = true;
        } else if (arg == "--count" && hasValue) {
            char* end = nullptr;
            options->count = strtol(argv[++i], &end, 10);
            if (*end || options->count < 0) return false;
        } else if (arg == "--backward") {
            options->backward = true;
        } else {
            return false;
        }
    }
    return options->word.empty() || !options->listing;
}

uint32_t Word(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

const char* KindName(uint32_t kind) {
    switch (kind) {
        case lxd::kKindInterjection:
            return "interjection sense";
        case 132:
            return "noun sense";
        case 136:
            return "verb sense";
        case 140:
            return "adjective sense";
        case 144:
            return "adjective satellite sense";
        case 148:
            return "adverb sense";
        case 152:
            return "article sense";
        case 156:
            return "pronoun sense";
        case 160:
            return "conjunction sense";
        case 164:
            return "determiner sense";
        case 168:
            return "preposition sense";
        case 172:
            return "particle sense";
        case 176:
            return "redirect";
        case 180:
        case 184:
            return "plural";
        case 192:
            return "tense list 1";
        case 196:
            return "tense list 2";
        case lxd::kKindFormOf:
            return "form of";
        case 208:
            return "usage sample";
        case 212:
        case 216:
            return "adjective form";
        case 220:
        case 224:
            return "adverb form";
        case 228:
            return "pronunciation";
        case 232:
            return "origin";
        case 236:
            return "thesaurus";
        case 240:
            return "thesaurus noun";
        case 244:
            return "thesaurus verb";
        case 248:
            return "thesaurus adjective";
        case 252:
            return "thesaurus adverb";
        default:
            return "no meaning";
    }
}

const char* LinkName(uint32_t kind) {
    static const char* const names[] = {
        "synonym",           "antonym",         "hypernym",       "hyponym",
        "derivation",        "derived from",    "participle",     "pertainym",
        "domain category",   "category member", "domain region",  "region member",
        "domain usage",      "usage member",    "entailment",     "cause",
        "verb group",        "also see",        "similar to",     "member holonym",
        "substance holonym", "part holonym",    "member meronym", "substance meronym",
        "part meronym",      "attribute"};
    if (kind < 132 || kind > 232 || kind % 4) return "other";
    return names[(kind - 132) / 4];
}

// Shows a text with control and high bytes escaped.
std::string Shown(const char* text, size_t length) {
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = text[i];
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

const char* TerminatorName(char c) {
    return c == '\r' ? "CR" : c == '\n' ? "LF" : "FF";
}

// The first line at `position`, shown; "<unreadable>" when the store has none.
std::string LineAt(CCompressedData* records, uint32_t position) {
    int32_t length = 0;
    const char* line = records->GetLine(position, &length);
    return line ? Shown(line, length) : "<unreadable>";
}

// Whole-file view.

std::string TrieSummary(CTrie* trie) {
    if (!trie) return "absent";
    char text[160];
    snprintf(text, sizeof text, "offset %u, %u entries, %u bytes, status %d%s",
             trie->GetSectionOffset(), trie->GetEntryCount(), (trie->GetEntryCount() + 2) * 4,
             trie->GetStatus(), trie->GetStatus() ? " (count or end marker bad)" : "");
    return text;
}

int32_t CountWord(void* context, const char*, uint32_t) {
    ++*static_cast<uint64_t*>(context);
    return 1;
}

// Inflates every block on its own and reports those that fail or have the
// wrong size; returns the total inflated length.
uint64_t CheckBlocks(CSmartFile* file, uint32_t dataOffset, CCompressedData* records) {
    uint32_t count = records->GetBlockCount();
    std::vector<unsigned char> out(lxd::kBlockSize);
    uint64_t total = 0;
    int reported = 0;
    for (uint32_t b = 0; b < count; ++b) {
        uint32_t start = b ? records->GetBlockEnd(b - 1) : 0;
        uint32_t end = records->GetBlockEnd(b);
        const char* problem = nullptr;
        uLongf length = lxd::kBlockSize;
        if (end < start || end - start > CCompressedData::kMaxCompressedBlock) {
            problem = "directory entry out of order or implausible";
        } else {
            std::vector<unsigned char> packed(end - start + 1);
            if (file->Read(dataOffset + start, end - start, packed.data()) !=
                static_cast<int32_t>(end - start)) {
                problem = "compressed bytes lie outside the file";
            } else if (uncompress(out.data(), &length, packed.data(), end - start) != Z_OK) {
                problem = "does not inflate (damaged, or larger than 4096 bytes)";
            } else if (length != lxd::kBlockSize && b + 1 != count) {
                problem = "inflates to fewer than 4096 bytes but is not the last block";
            } else {
                total += length;
            }
        }
        if (problem && reported++ < 20) printf("  block %u: %s\n", b, problem);
    }
    if (reported > 20) printf("  ... %d damaged blocks in all\n", reported);
    return total;
}

void PrintHeader(const unsigned char* header, long realSize) {
    static const struct {
        uint32_t offset;
        const char* name;
    } fields[] = {{lxd::kHeaderMagic, "magic"},
                  {lxd::kHeaderWordIndexOffset, "word index offset"},
                  {lxd::kHeaderScrollTableOffset, "scroll table offset"},
                  {lxd::kHeaderBlockDirectoryOffset, "block directory offset"},
                  {lxd::kHeaderBlockDataOffset, "block data offset"},
                  {lxd::kHeaderFileSize, "file size"},
                  {lxd::kHeaderAuxValue, "aux value"},
                  {lxd::kHeaderHyphenPatternsOffset, "hyphenation patterns offset"},
                  {lxd::kHeaderHyphenExceptionsOffset, "hyphenation exceptions offset"}};
    printf("header:\n");
    for (const auto& field : fields) {
        printf("  %-30s 0x%08X  %u\n", field.name, Word(header + field.offset),
               Word(header + field.offset));
    }
    printf("  %-30s %ld%s\n", "real size", realSize,
           realSize == static_cast<long>(Word(header + lxd::kHeaderFileSize)) ? "" : "  (differs)");
}

int DumpFile(CDictDatabase* database, const unsigned char* header) {
    uint32_t directory = Word(header + lxd::kHeaderBlockDirectoryOffset);
    uint32_t dataOffset = Word(header + lxd::kHeaderBlockDataOffset);
    printf("sections:\n");
    printf("  word index:             %s\n", TrieSummary(database->wordList).c_str());
    uint64_t headwords = 0;
    database->wordList->Enumerate(CountWord, &headwords, "", true);
    printf("  headwords:              %llu\n", static_cast<unsigned long long>(headwords));
    printf("  scroll table:           offset %u, %u bytes\n",
           Word(header + lxd::kHeaderScrollTableOffset), lxd::kScrollTableSize);
    CHyphenator* hyphenator = database->hyphenator;
    printf("  hyphenation patterns:   %s\n",
           TrieSummary(hyphenator ? hyphenator->patterns : nullptr).c_str());
    printf("  hyphenation exceptions: %s\n",
           TrieSummary(hyphenator ? hyphenator->exceptions : nullptr).c_str());
    CCompressedData* records = database->records;
    uint32_t blocks = records->GetBlockCount();
    uint32_t compressed = blocks ? records->GetBlockEnd(blocks - 1) : 0;
    printf("  block directory:        offset %u, %u blocks, %u bytes%s\n", directory, blocks,
           4 + 4 * blocks, blocks ? "" : " (empty or unreadable)");
    printf("  block data:             offset %u, %u bytes\n", dataOffset, compressed);
    printf("  file window:            offset %u, %u bytes\n", database->file->GetWindowStart(),
           database->file->GetWindowLength());
    uint64_t inflated = CheckBlocks(database->file, dataOffset, records);
    printf("records:\n  %llu bytes inflated", static_cast<unsigned long long>(inflated));
    if (inflated)
        printf(", compression ratio %.2f", compressed ? double(inflated) / compressed : 0);
    printf("\n");
    return 0;
}

// One word's view.

void PrintSense(CCompressedData* records, uint32_t position) {
    uint32_t p = position;
    int32_t length = 0;
    const char* line = nullptr;
    int members = 0;
    for (; members < kMaxMembers; ++members) {
        line = records->GetLine(p, &length);
        if (!line || line[length] == lxd::kRecordEndFF) break;
        printf("      member %d: %s (%s)\n", members + 1, Shown(line, length).c_str(),
               TerminatorName(line[length]));
        p += length + 1;
        if (line[length] == lxd::kRecordEndLF) {
            ++members;
            line = records->GetLine(p, &length);
            break;
        }
    }
    if (!line) {
        printf("      gloss: <unreadable>\n");
        return;
    }
    printf("      gloss: %s%s\n", Shown(line, length).c_str(),
           members ? "" : " (FF-ended: no members)");
    p += length + 1;
    for (int n = 0; n < kMaxLinks; ++n) {
        unsigned char first = records->GetByte(p, true);
        if (first < 0x80) return;
        if (first == lxd::kLinkFiller) {
            printf("      filler 0xCC\n");
            ++p;
            continue;
        }
        unsigned char entry[lxd::kLinkEntrySize] = {first};
        for (uint32_t i = 1; i < lxd::kLinkEntrySize; ++i) entry[i] = records->GetByte(p + i, true);
        // Byte 0 is the top byte of a reference-shaped value, bytes 1..3 its
        // low 24 bits.
        uint32_t value =
            static_cast<uint32_t>(first) << 24 | entry[1] | entry[2] << 8 | entry[3] << 16;
        uint32_t target = lxd::RefPosition(value);
        uint32_t kind = lxd::RefKind(value);
        printf("      link %s (%u) -> %u, target member %u, source member %u: %s\n", LinkName(kind),
               kind, target, entry[4], entry[5], LineAt(records, target).c_str());
        // Reading the target moved the buffer; the next byte is a fresh load.
        p += lxd::kLinkEntrySize;
    }
}

int DumpWord(CDictDatabase* database, const std::string& word) {
    char key[lxd::kKeyBufferSize * 2] = {};
    if (word.size() >= static_cast<size_t>(lxd::kKeyBufferSize)) {
        printf("word longer than %d bytes: no key can hold it\n", lxd::kKeyBufferSize - 1);
        return 1;
    }
    memcpy(key, word.data(), word.size());
    EncodeCapitals(key);
    printf("key:");
    for (const char* c = key; *c; ++c) printf(" %02X", static_cast<unsigned char>(*c));
    printf("  (%s)\n", Shown(key, strlen(key)).c_str());
    uint32_t position = database->wordList->FindExactWord(key, 1);
    if (!position) {
        // As the lookup does: a lower-case word may stand for a capitalised headword.
        position = database->wordList->FindWord(key, 1, true);
        if (!position) {
            printf("not in the index\n");
            return 1;
        }
        printf("found as the capitalised headword %s\n", key);
    }
    printf("trie position: %u\n", position);
    uint32_t refs[kMaxRefs];
    int count = database->wordList->GetRecordRefs(position, refs, kMaxRefs);
    printf("references: %d\n", count);
    for (int i = 0; i < count; ++i) {
        uint32_t kind = lxd::RefKind(refs[i]);
        uint32_t at = lxd::RefPosition(refs[i]);
        printf("  %2d. %s (%u) at %u\n", i + 1, KindName(kind), kind, at);
        if (kind >= lxd::kFirstSenseKind && kind <= lxd::kLastSenseKind) {
            PrintSense(database->records, at);
        } else {
            printf("      %s\n", LineAt(database->records, at).c_str());
        }
    }
    return 0;
}

struct Listing {
    long left;
};

int32_t PrintListed(void* context, const char* word, uint32_t) {
    Listing* listing = static_cast<Listing*>(context);
    if (listing->left <= 0) return 0;
    printf("%s\n", word);
    return --listing->left > 0 ? 1 : 0;
}

int DumpListing(CDictDatabase* database, const Options& options) {
    if (options.prefix.size() >= static_cast<size_t>(lxd::kKeyBufferSize) / 2) {
        fprintf(stderr, "prefix too long\n");
        return 1;
    }
    Listing listing{options.count};
    ListIndexWords(database, PrintListed, &listing, options.prefix.c_str(), !options.backward,
                   false);
    return 0;
}

const char* OpenFailure(const CDictDatabase& database, const unsigned char* header,
                        int32_t headerBytes) {
    if (database.status == CDictDatabase::kStatusWrongSize) {
        return "size field differs from the file's length";
    }
    if (headerBytes != static_cast<int32_t>(lxd::kHeaderSize)) return "shorter than the header";
    if (Word(header + lxd::kHeaderMagic) != lxd::kMagic) return "bad magic";
    return "a section could not be read or held in memory";
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) return Usage();

    CSmartFile raw;
    unsigned char header[lxd::kHeaderSize] = {};
    if (!raw.Open(options.path.c_str())) {
        fprintf(stderr, "%s: cannot open\n", options.path.c_str());
        return 1;
    }
    int32_t got = raw.Read(0, lxd::kHeaderSize, header);
    long realSize = raw.GetSize();
    if (got == static_cast<int32_t>(lxd::kHeaderSize) && options.word.empty() && !options.listing) {
        PrintHeader(header, realSize);
    }

    CDictDatabase database;
    if (!database.Open(options.path.c_str())) {
        printf("open failed: status %d (%s)\n", database.status,
               OpenFailure(database, header, got));
        return 1;
    }
    if (!options.word.empty()) return DumpWord(&database, options.word);
    if (options.listing) return DumpListing(&database, options);
    return DumpFile(&database, header);
}
