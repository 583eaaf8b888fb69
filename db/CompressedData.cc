#include "db/CompressedData.h"

#include <libdeflate.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "db/Format.h"
#include "db/SmartFile.h"

namespace {

// Stream positions are 32-bit, so no position reaches a block beyond this.
constexpr uint32_t kMaxBlocks = 1u << (32 - lxd::kBlockShift);

// More slots than this (256 MiB of blocks) are not kept.
constexpr uint32_t kMaxCacheBlocks = 1u << 16;

bool IsRecordEnd(unsigned char c) {
    return c == lxd::kRecordEndCR || c == lxd::kRecordEndLF || c == lxd::kRecordEndFF;
}

}  // namespace

CCompressedData::CCompressedData(CSmartFile* file, uint32_t directoryOffset, uint32_t dataOffset)
    : file(file),
      dataOffset(dataOffset),
      blockCount(0),
      blockEnds(nullptr),
      buffer(nullptr),
      capacity(0),
      bufferStart(0),
      bufferLength(0),
      outOfMemory(false),
      cache(nullptr),
      cacheBlocks(kDefaultCacheBlocks),
      cacheClock(0),
      blocksInflated(0),
      cacheHits(0),
      compressed(nullptr),
      decompressor(nullptr) {
    uint32_t count = 0;
    if (!file || file->Read(directoryOffset, 4, &count) != 4) return;
    if (count == 0 || count > kMaxBlocks) return;
    uint32_t bytes = count * 4;
    blockEnds = static_cast<uint32_t*>(malloc(bytes));
    if (!blockEnds) {
        outOfMemory = true;
        return;
    }
    if (file->Read(directoryOffset + 4, bytes, blockEnds) != static_cast<int32_t>(bytes)) return;
    blockCount = count;
}

CCompressedData::~CCompressedData() {
    free(blockEnds);
    free(buffer);
    free(cache);
    free(compressed);
    libdeflate_free_decompressor(decompressor);
}

void CCompressedData::SetCacheBlocks(uint32_t count) {
    free(cache);
    cache = nullptr;
    if (count > kMaxCacheBlocks) count = kMaxCacheBlocks;
    cacheBlocks = count - count % kCacheWays;
}

CCompressedData::CacheSlot* CCompressedData::SetOf(uint32_t block) const {
    return cache + (block % (cacheBlocks / kCacheWays)) * kCacheWays;
}

CCompressedData::CacheSlot* CCompressedData::SlotOf(uint32_t block) const {
    if (!cache) return nullptr;
    CacheSlot* set = SetOf(block);
    for (uint32_t i = 0; i < kCacheWays; ++i) {
        if (set[i].key == block + 1) return &set[i];
    }
    return nullptr;
}

CCompressedData::CacheSlot* CCompressedData::FindCached(uint32_t block) {
    CacheSlot* slot = SlotOf(block);
    if (slot) {
        slot->lastUse = ++cacheClock;
        ++cacheHits;
    }
    return slot;
}

void CCompressedData::PreferBlock(uint32_t position) {
    CacheSlot* slot = SlotOf(position >> lxd::kBlockShift);
    if (slot) slot->preferred = true;
}

void CCompressedData::Remember(uint32_t block, const unsigned char* bytes, uint32_t length) {
    if (!cache && cacheBlocks) {
        // Zeroed slots are empty; their pages are only touched once filled.
        // Should the memory be missing, the next block kept tries again.
        cache = static_cast<CacheSlot*>(calloc(cacheBlocks, sizeof(CacheSlot)));
    }
    if (!cache) return;
    // Replace the set's least recently used slot, a preferred one only when
    // all are; empty slots have never been used. When the clock wraps the
    // order is briefly wrong, which only makes the choice of victim worse,
    // never a block wrong.
    CacheSlot* set = SetOf(block);
    CacheSlot* victim = set;
    for (uint32_t i = 1; i < kCacheWays; ++i) {
        const CacheSlot& slot = set[i];
        if (slot.preferred != victim->preferred ? !slot.preferred
                                                : slot.lastUse < victim->lastUse) {
            victim = &set[i];
        }
    }
    victim->key = block + 1;
    victim->preferred = false;
    victim->length = length;
    victim->lastUse = ++cacheClock;
    memcpy(victim->bytes, bytes, length);
}

unsigned char* CCompressedData::EnsureBuffer(uint32_t size) {
    if (capacity >= size) return buffer;
    unsigned char* fresh = static_cast<unsigned char*>(malloc(size));
    if (!fresh) return nullptr;
    free(buffer);
    buffer = fresh;
    capacity = size;
    return buffer;
}

unsigned char* CCompressedData::EnsureAppend(uint32_t count) {
    uint64_t needed = static_cast<uint64_t>(bufferLength) + count;
    if (needed > UINT32_MAX) return nullptr;
    if (capacity < needed) {
        // The first append grows to exactly two blocks; longer runs double, so
        // that a record crossing many blocks costs linear, not quadratic, copying.
        uint64_t size = needed;
        if (bufferLength > lxd::kBlockSize && 2ull * capacity > size) size = 2ull * capacity;
        if (size > UINT32_MAX) size = needed;
        unsigned char* fresh = static_cast<unsigned char*>(malloc(size));
        if (!fresh) return nullptr;
        if (bufferLength) memcpy(fresh, buffer, bufferLength);
        free(buffer);
        buffer = fresh;
        capacity = static_cast<uint32_t>(size);
    }
    return buffer + bufferLength;
}

bool CCompressedData::CanAppend(uint32_t position) const {
    // Appending is only sound for the block boundary right after the buffer;
    // anything else (the end of a short last block included) is a fresh load.
    return bufferLength > 0 && position == bufferStart + bufferLength &&
           (position & (lxd::kBlockSize - 1)) == 0;
}

// The compressed bytes of a block go into one buffer kept for every block
// (the directory check bounds them by kMaxCompressedBlock).
const unsigned char* CCompressedData::ReadCompressed(uint32_t start, uint32_t size) {
    if (!compressed) compressed = static_cast<unsigned char*>(malloc(kMaxCompressedBlock));
    if (!compressed || size > kMaxCompressedBlock) return nullptr;
    if (file->Read(dataOffset + start, size, compressed) != static_cast<int32_t>(size))
        return nullptr;
    return compressed;
}

// Each block is one whole zlib stream of known inflated size, which is what a
// one-shot inflate is made for. As with zlib's uncompress, bytes after the end
// of the stream are ignored and a wrong Adler-32 fails the block.
bool CCompressedData::Inflate(uint32_t block, const unsigned char* source, uint32_t size,
                              unsigned char* destination, uint32_t* length) {
    ++blocksInflated;
    if (!decompressor) decompressor = libdeflate_alloc_decompressor();
    if (!decompressor) return false;
    size_t outLength = 0;
    if (libdeflate_zlib_decompress(decompressor, source, size, destination, lxd::kBlockSize,
                                   &outLength) != LIBDEFLATE_SUCCESS) {
        return false;
    }
    // Only the last block may be short; a short block elsewhere would shift
    // every position after it.
    if (outLength != lxd::kBlockSize && block + 1 != blockCount) return false;
    *length = static_cast<uint32_t>(outLength);
    Remember(block, destination, *length);
    return true;
}

bool CCompressedData::LoadBlock(uint32_t position, bool append) {
    uint32_t block = position >> lxd::kBlockShift;
    if (block >= blockCount) return false;
    uint32_t start = block ? blockEnds[block - 1] : 0;
    uint32_t end = blockEnds[block];
    if (end < start || end - start > kMaxCompressedBlock) return false;
    uint32_t size = end - start;
    // Only blocks that inflated soundly are kept, so a damaged block is read
    // and refused again on every attempt.
    const CacheSlot* cached = FindCached(block);
    const unsigned char* source = nullptr;
    if (!cached) {
        source = ReadCompressed(start, size);
        if (!source) return false;
    }
    append = append && CanAppend(position);
    unsigned char* destination;
    if (append) {
        destination = EnsureAppend(lxd::kBlockSize);
    } else {
        bufferStart = 0;
        bufferLength = 0;
        destination = EnsureBuffer(lxd::kBlockSize);
    }
    uint32_t length = 0;
    bool loaded = false;
    if (destination && cached) {
        memcpy(destination, cached->bytes, cached->length);
        length = cached->length;
        loaded = true;
    } else if (destination) {
        loaded = Inflate(block, source, size, destination, &length);
    }
    if (!loaded) return false;
    if (append) {
        bufferLength += length;
    } else {
        bufferStart = block << lxd::kBlockShift;
        bufferLength = length;
    }
    return true;
}

bool CCompressedData::Holds(uint32_t position) const {
    return position >= bufferStart && position - bufferStart < bufferLength;
}

unsigned char CCompressedData::GetByte(uint32_t position, bool append) {
    if (Holds(position)) return buffer[position - bufferStart];
    if (!LoadBlock(position, append) || !Holds(position)) return 0;
    return buffer[position - bufferStart];
}

const char* CCompressedData::GetLine(uint32_t position, int32_t* length) {
    if (GetByte(position, false) == 0) return nullptr;
    uint32_t p = position;
    for (;;) {
        // Scan what the buffer holds, then pull in the next block.
        const unsigned char* end = buffer + bufferLength;
        for (const unsigned char* q = buffer + (p - bufferStart); q < end; ++q) {
            if (*q == 0) return nullptr;
            if (IsRecordEnd(*q)) {
                uint32_t found = static_cast<uint32_t>(q - buffer) + bufferStart;
                if (found - position > static_cast<uint32_t>(INT32_MAX)) return nullptr;
                *length = static_cast<int32_t>(found - position);
                return PointerAt(position);
            }
        }
        p = bufferStart + bufferLength;
        if (p < bufferStart) return nullptr;  // the stream cannot go past 2^32
        if (GetByte(p, true) == 0) return nullptr;
        if (!Holds(position)) return nullptr;
    }
}

const char* CCompressedData::PointerAt(uint32_t position) const {
    if (!Holds(position)) return nullptr;
    return reinterpret_cast<const char*>(buffer + (position - bufferStart));
}
