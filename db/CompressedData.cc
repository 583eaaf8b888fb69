#include "db/CompressedData.h"

#include <zlib.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "db/Format.h"
#include "db/SmartFile.h"

namespace {

// Stream positions are 32-bit, so no position reaches a block beyond this.
constexpr uint32_t kMaxBlocks = 1u << (32 - lxd::kBlockShift);

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
      outOfMemory(false) {
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

bool CCompressedData::LoadBlock(uint32_t position, bool append) {
    uint32_t block = position >> lxd::kBlockShift;
    if (block >= blockCount) return false;
    uint32_t start = block ? blockEnds[block - 1] : 0;
    uint32_t end = blockEnds[block];
    if (end < start || end - start > kMaxCompressedBlock) return false;
    uint32_t size = end - start;
    unsigned char* compressed = static_cast<unsigned char*>(malloc(size ? size : 1));
    if (!compressed) return false;
    if (file->Read(dataOffset + start, size, compressed) != static_cast<int32_t>(size)) {
        free(compressed);
        return false;
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
    if (!destination) {
        free(compressed);
        return false;
    }
    uLongf outLength = lxd::kBlockSize;
    int result = uncompress(destination, &outLength, compressed, size);
    free(compressed);
    if (result != Z_OK || outLength > lxd::kBlockSize) return false;
    // Only the last block may be short; a short block elsewhere would shift
    // every position after it.
    if (outLength != lxd::kBlockSize && block + 1 != blockCount) return false;
    if (append) {
        bufferLength += static_cast<uint32_t>(outLength);
    } else {
        bufferStart = block << lxd::kBlockShift;
        bufferLength = static_cast<uint32_t>(outLength);
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
