// Writes a complete dictionary file: header, headword trie, scroll table,
// hyphenation tries, block directory and compressed record blocks. Every call
// that refuses its input returns false, leaves the writer unchanged and sets
// GetError() to a text naming what the file format cannot hold.
//
// Use: append the records (AddLine, AddSense, AddRaw, PadTo); each append
// returns the record's stream position at once, so headwords can refer to it.
// A sense record's links may name a target sense by a label that is given to
// that sense when it is appended, earlier or later: labels are resolved and
// patched into the stream by Finish(). Then add the headwords with their
// references, optionally the scroll table, the hyphenation tries and the aux
// value, and call Finish() or WriteFile().
#ifndef LEXORA_DB_DICTWRITER_H
#define LEXORA_DB_DICTWRITER_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One reference stored with a headword: record kind (a multiple of 4, 0x80 to
// 0xFC) and the stream position of the record.
struct DictRecordRef {
    uint32_t kind;
    uint32_t position;
};

// One entry of a sense record's link list. The target is the sense appended
// under `targetLabel`, or, when the label is empty, the stream position
// `targetPosition`. With `fillerBefore` the one-byte entry 0xCC is written
// just before this entry.
struct DictSenseLink {
    uint32_t kind = 0;               // multiple of 4, 0x80 to 0xFC
    std::string targetLabel;         // label of the target sense, or empty
    uint32_t targetPosition = 0;     // used when targetLabel is empty
    unsigned char targetMember = 0;  // 0: every member of the target
    unsigned char sourceMember = 0;  // 0: the whole synset
    bool fillerBefore = false;
};

// A sense record: member lines (CR-ended, the last LF-ended), the gloss
// (FF-ended when there are no members) and the link list, closed by one
// byte below 0x80.
struct DictSense {
    std::vector<std::string> members;
    std::string gloss;
    std::vector<DictSenseLink> links;
    bool fillerAtEnd = false;  // one 0xCC entry after the last link
};

class CDictWriter {
public:
    CDictWriter();
    virtual ~CDictWriter();
    CDictWriter(const CDictWriter&) = delete;
    CDictWriter& operator=(const CDictWriter&) = delete;

    // Length of the record stream so far: the position the next record gets.
    uint32_t GetStreamLength() const { return static_cast<uint32_t>(stream.size()); }

    // Appends `text` ended by `terminator` (CR, LF or FF). Refuses text that
    // holds byte 0 or a terminator. `position` (may be null) gets the
    // record's position.
    bool AddLine(const std::string& text, uint32_t* position, char terminator = '\n');
    // Appends a sense record. A non-empty `label` names it for links (labels
    // are unique). Refuses terminators or byte 0 in members or gloss, a bad
    // link kind, a target at or beyond 2^26 and a similar-to link (kind 204)
    // whose target lies below 2^24, where its first byte would read as the
    // filler 0xCC (checked by Finish for targets not yet appended).
    bool AddSense(const DictSense& sense, const std::string& label, uint32_t* position);
    // Appends bytes as they are (any value, byte 0 included): for tests that
    // need records the other calls refuse to make.
    bool AddRaw(const std::string& bytes, uint32_t* position);
    // Appends LF bytes (empty records that compress to almost nothing) until
    // the stream is `position` long. Refuses a position below the length.
    bool PadTo(uint32_t position);

    // Adds a headword (its key is made here; bytes 0x01..0x7F only, not the
    // capitals marker 0x03) with its references in the order given.
    bool AddHeadword(const std::string& headword, const std::vector<DictRecordRef>& refs);
    // 1024 prefixes of at most four bytes each, no byte 0. Without this call
    // the table holds the lower-cased first four key bytes of the headwords
    // at 1024 evenly spaced places of the sorted index.
    bool SetScrollTable(const std::vector<std::string>& prefixes);
    // Raw tries for hyphenation (keys as byte strings, no byte 0). A trie
    // that is never set is absent and its header offset stays 0.
    bool SetHyphenPatterns(const std::vector<std::string>& keys);
    bool SetHyphenExceptions(const std::vector<std::string>& keys);
    void SetAuxValue(uint32_t value) { auxValue = value; }

    // Builds the whole file into `out`. False with GetError() set when a
    // label is unknown, a reference points past the stream or a section
    // cannot be built; the writer is unchanged and may be completed further.
    bool Finish(std::vector<unsigned char>* out);
    // Finish() written to `path` through a temporary file renamed into place.
    bool WriteFile(const std::string& path);

    const std::string& GetError() const { return error; }
    size_t GetHeadwordCount() const { return headwords.size(); }

private:
    struct PendingLink {
        size_t offset;      // stream offset of the entry's first byte
        uint32_t kind;      // link kind
        std::string label;  // target sense
    };

    bool Fail(const std::string& text);
    bool CheckRoom(const char* what);
    bool CheckTextLine(const std::string& text, const char* what);
    bool CheckLink(const DictSenseLink& link, size_t ordinal);
    bool CheckLinkTarget(uint32_t kind, uint32_t target, const std::string& which);
    bool CheckSense(const DictSense& sense, const std::string& label);
    void AppendLinks(const DictSense& sense);
    bool CheckHeadword(const std::string& headword);
    bool CheckRefs(const std::string& headword, const std::vector<DictRecordRef>& refs);
    bool CheckRawKeys(const std::vector<std::string>& keys, const char* what);
    bool ResolveLinks(std::string* resolved);
    bool CheckHeadwordRefs();
    std::vector<std::string> DefaultScrollTable() const;
    std::vector<unsigned char> ScrollSection() const;
    bool BuildWordIndex(std::vector<unsigned char>* out);
    bool BuildRawTrie(const std::vector<std::string>& keys, const char* what,
                      std::vector<unsigned char>* out);
    bool CompressStream(const std::string& data, std::vector<unsigned char>* directory,
                        std::vector<unsigned char>* blocks);

    std::string stream;                                           // the uncompressed record stream
    std::map<std::string, uint32_t> labels;                       // sense label -> position
    std::vector<PendingLink> pendingLinks;                        // labelled link targets to patch
    std::map<std::string, std::vector<DictRecordRef>> headwords;  // key -> references
    std::vector<std::string> scrollTable;                         // empty: computed by Finish
    bool hasPatterns;
    bool hasExceptions;
    std::vector<std::string> patterns;
    std::vector<std::string> exceptions;
    uint32_t auxValue;
    std::string error;
};

#endif  // LEXORA_DB_DICTWRITER_H
