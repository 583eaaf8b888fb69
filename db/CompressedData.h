// The compressed record store: a text stream cut into 4096-byte blocks, each
// a zlib stream. Holds the block directory and the inflated block(s) last
// read; a record that crosses blocks is handed out as one contiguous piece.
#ifndef LEXORA_DB_COMPRESSEDDATA_H
#define LEXORA_DB_COMPRESSEDDATA_H

#include <cstdint>

#include "db/Format.h"

class CSmartFile;

class CCompressedData {
public:
    // Longest compressed block accepted. zlib never needs near this much for
    // 4096 bytes; a directory that claims more is damaged.
    static constexpr uint32_t kMaxCompressedBlock = 2 * lxd::kBlockSize;

    // Reads the block directory; a bad directory leaves blockCount 0.
    CCompressedData(CSmartFile* file, uint32_t directoryOffset, uint32_t dataOffset);
    virtual ~CCompressedData();
    CCompressedData(const CCompressedData&) = delete;
    CCompressedData& operator=(const CCompressedData&) = delete;

    // The byte at `position`, or 0 when it cannot be read. With `append` a
    // miss appends the block after the buffer (only for the position right
    // after the buffer's last valid byte); otherwise it replaces the buffer.
    unsigned char GetByte(uint32_t position, bool append);
    // The record starting at `position`, or null. `*length` gets the bytes
    // before its terminator (CR, LF or FF), which may be read at [*length].
    // Not NUL-terminated; valid until the next read of this store.
    const char* GetLine(uint32_t position, int32_t* length);
    // Address of `position` in the buffer, or null when not held.
    const char* PointerAt(uint32_t position) const;

    uint32_t GetBlockCount() const { return blockCount; }
    // True when the block directory could not be held for lack of memory.
    bool OutOfMemory() const { return outOfMemory; }
    uint32_t GetBlockEnd(uint32_t block) const { return block < blockCount ? blockEnds[block] : 0; }

private:
    bool Holds(uint32_t position) const;
    bool CanAppend(uint32_t position) const;
    bool LoadBlock(uint32_t position, bool append);
    unsigned char* EnsureBuffer(uint32_t size);
    unsigned char* EnsureAppend(uint32_t count);

    CSmartFile* file;       // not owned
    uint32_t dataOffset;    // file offset of the first block
    uint32_t blockCount;    // 0 when the directory is unreadable
    uint32_t* blockEnds;    // end of each block, relative to dataOffset
    unsigned char* buffer;  // inflated data
    uint32_t capacity;      // allocated size of buffer
    uint32_t bufferStart;   // stream position of buffer[0], a multiple of 4096
    uint32_t bufferLength;  // valid bytes in buffer
    bool outOfMemory;       // the directory's allocation failed
};

#endif  // LEXORA_DB_COMPRESSEDDATA_H
