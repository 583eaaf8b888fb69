#include "db/SmartFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>

CSmartFile::CSmartFile()
    : fp(nullptr), path(nullptr), window(nullptr), windowStart(0), windowLength(0), readErrors(0) {}

CSmartFile::~CSmartFile() {
    free(path);
    if (fp) fclose(fp);
    free(window);
}

bool CSmartFile::Open(const char* newPath) {
    if (!newPath || !*newPath) return false;
    FILE* stream = fopen(newPath, "rb");
    if (!stream) return false;
    // Every read is a seek plus one block-sized read: stdio's own buffer would
    // only add a second read() whenever a block crosses its 4 KB boundary.
    setvbuf(stream, nullptr, _IONBF, 0);
    if (fp) fclose(fp);
    fp = stream;
    if (newPath != path) {
        readErrors = 0;
        char* copy = strdup(newPath);
        // Without a copy the stream still works; only the reopen after an
        // I/O error is lost.
        free(path);
        path = copy;
    }
    return true;
}

bool CSmartFile::InWindow(uint32_t offset, uint32_t length) const {
    // 64-bit sums: a range near the top of the 32-bit space must not wrap
    // around into the window.
    uint64_t end = static_cast<uint64_t>(offset) + length;
    return windowStart <= offset && end <= static_cast<uint64_t>(windowStart) + windowLength;
}

bool CSmartFile::SeekOrReopen(uint32_t offset) {
    if (fseek(fp, static_cast<long>(offset), SEEK_SET) == 0) return true;
    if (!path || !Open(path)) return false;
    return fseek(fp, static_cast<long>(offset), SEEK_SET) == 0;
}

int32_t CSmartFile::Read(uint32_t offset, uint32_t length, void* buffer) {
    if (InWindow(offset, length)) {
        memcpy(buffer, window + (offset - windowStart), length);
        return static_cast<int32_t>(length);
    }
    if (length > static_cast<uint32_t>(INT32_MAX)) return -1;
    int32_t result = -1;
    lock.Lock();
    if (fp && SeekOrReopen(offset)) {
        size_t count = fread(buffer, 1, length, fp);
        if (count < length && !feof(fp)) ++readErrors;
        if (count == 0) {
            // End of file or an I/O error: start the next read on a fresh stream.
            if (path) Open(path);
        } else {
            result = static_cast<int32_t>(count);
        }
    } else {
        ++readErrors;
    }
    lock.Unlock();
    return result;
}

int32_t CSmartFile::GetSize() {
    if (!fp || fseek(fp, 0, SEEK_END) != 0) return -1;
    long size = ftell(fp);
    if (size < 0 || size > INT32_MAX) return -1;
    return static_cast<int32_t>(size);
}

uint32_t CSmartFile::CacheRange(uint32_t offset, uint32_t size) {
    windowLength = 0;
    free(window);
    window = size ? static_cast<unsigned char*>(malloc(size)) : nullptr;
    if (!window) return 0;
    windowStart = offset;
    int32_t count = Read(offset, size, window);
    windowLength = count > 0 ? static_cast<uint32_t>(count) : 0;
    return windowLength;
}

int32_t CSmartFile::Write(const void* buffer, uint32_t length) {
    if (length > static_cast<uint32_t>(INT32_MAX)) return -1;
    lock.Lock();
    size_t count = fp ? fwrite(buffer, 1, length, fp) : 0;
    lock.Unlock();
    return count ? static_cast<int32_t>(count) : -1;
}
