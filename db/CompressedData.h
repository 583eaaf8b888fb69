// The compressed record store: a text stream cut into 4096-byte blocks, each
// a zlib stream inflated in one call by libdeflate. Holds the block
// directory, the inflated block(s) last read and a bounded cache of recently
// inflated blocks; a record that crosses blocks is handed out as one
// contiguous piece.
#ifndef LEXORA_DB_COMPRESSEDDATA_H
#define LEXORA_DB_COMPRESSEDDATA_H

#include <cstdint>

#include "db/Format.h"

class CSmartFile;
struct libdeflate_decompressor;

class CCompressedData {
public:
    // Longest compressed block accepted. zlib never needs near this much for
    // 4096 bytes; a directory that claims more is damaged.
    static constexpr uint32_t kMaxCompressedBlock = 2 * lxd::kBlockSize;
    // Inflated blocks kept for reuse unless SetCacheBlocks says otherwise
    // (4 MiB when full): a definition reads records from several scattered
    // blocks, some repeatedly, and link targets and redirects are shared by
    // many words. On the WordNet dictionary, every headword shown once in
    // random order, 1,024 slots inflate a fifth fewer blocks than 128 did.
    static constexpr uint32_t kDefaultCacheBlocks = 1024;
    // A block may only be kept in one set of this many slots.
    static constexpr uint32_t kCacheWays = 8;

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

    // Keeps up to `count` inflated blocks for reuse, rounded down to a multiple
    // of kCacheWays; 0 keeps none. Drops what was kept. The cache is allocated
    // when first needed; without the memory for it, blocks are not kept. Only
    // blocks that inflated soundly are kept: reads give the same results with
    // or without it.
    void SetCacheBlocks(uint32_t count);
    // Asks the cache to keep the block holding `position`, when it is kept,
    // ahead of blocks read without this request: in its set, such a block
    // is replaced only when every slot holds one. For a few blocks that are
    // read now and then by many words (redirects), which the replacement of
    // the least recently used block would otherwise push out between reads.
    void PreferBlock(uint32_t position);
    // Blocks inflated since construction, failed ones included; a block taken
    // from the cache is not counted.
    uint32_t GetBlocksInflated() const { return blocksInflated; }
    // Blocks taken from the cache since construction.
    uint32_t GetCacheHits() const { return cacheHits; }

private:
    struct CacheSlot {
        uint32_t key;      // number of the block held + 1; 0 = empty
        uint32_t length;   // its inflated bytes
        uint32_t lastUse;  // cacheClock when last filled or found
        bool preferred;    // see PreferBlock
        unsigned char bytes[lxd::kBlockSize];
    };

    bool Holds(uint32_t position) const;
    bool CanAppend(uint32_t position) const;
    bool LoadBlock(uint32_t position, bool append);
    unsigned char* EnsureBuffer(uint32_t size);
    unsigned char* EnsureAppend(uint32_t count);
    const unsigned char* ReadCompressed(uint32_t start, uint32_t size);
    bool Inflate(uint32_t block, const unsigned char* source, uint32_t size,
                 unsigned char* destination, uint32_t* length);
    CacheSlot* SetOf(uint32_t block) const;
    CacheSlot* SlotOf(uint32_t block) const;
    CacheSlot* FindCached(uint32_t block);
    void Remember(uint32_t block, const unsigned char* bytes, uint32_t length);

    CSmartFile* file;         // not owned
    uint32_t dataOffset;      // file offset of the first block
    uint32_t blockCount;      // 0 when the directory is unreadable
    uint32_t* blockEnds;      // end of each block, relative to dataOffset
    unsigned char* buffer;    // inflated data
    uint32_t capacity;        // allocated size of buffer
    uint32_t bufferStart;     // stream position of buffer[0], a multiple of 4096
    uint32_t bufferLength;    // valid bytes in buffer
    bool outOfMemory;         // the directory's allocation failed
    CacheSlot* cache;         // cacheBlocks slots in sets of kCacheWays, or null
    uint32_t cacheBlocks;     // slots wanted; 0 = no cache
    uint32_t cacheClock;      // counts cache uses, for least-recently-used replacement
    uint32_t blocksInflated;  // see GetBlocksInflated

    uint32_t cacheHits;                     // see GetCacheHits
    unsigned char* compressed;              // kMaxCompressedBlock bytes, or null
    libdeflate_decompressor* decompressor;  // made with the first inflate, or null
};

#endif  // LEXORA_DB_COMPRESSEDDATA_H
