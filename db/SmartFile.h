// The only path to the database file's bytes. Read() serves ranges inside the
// in-memory window without locking and everything else by a locked
// seek-and-read on the stream, reopening the stream once after an I/O error.
#ifndef LEXORA_DB_SMARTFILE_H
#define LEXORA_DB_SMARTFILE_H

#include <cstdint>
#include <cstdio>

#include "db/SimpleLock.h"

class CSmartFile {
public:
    CSmartFile();
    virtual ~CSmartFile();
    CSmartFile(const CSmartFile&) = delete;
    CSmartFile& operator=(const CSmartFile&) = delete;

    // Opens `path` for reading; false (nothing changed) for a null or empty
    // path or a failed fopen. Replaces a previously open stream.
    bool Open(const char* path);
    // Bytes placed in `buffer` (fewer at end of file), or -1.
    int32_t Read(uint32_t offset, uint32_t length, void* buffer);
    // Length of the file, or -1. Moves the stream position; takes no lock.
    int32_t GetSize();
    // Fills the window with the file's bytes [offset, offset + size); returns
    // the number of bytes it holds (0 when none). Used only while opening.
    uint32_t CacheRange(uint32_t offset, uint32_t size);
    // Writes `length` bytes at the current position under the lock; the count
    // written, or -1.
    int32_t Write(const void* buffer, uint32_t length);

    // Reads that failed or came short before the end of the file (I/O
    // errors, as opposed to ranges that lie past the end), since Open.
    uint32_t GetReadErrors() const { return readErrors; }
    uint32_t GetWindowStart() const { return windowStart; }
    uint32_t GetWindowLength() const { return windowLength; }

private:
    bool InWindow(uint32_t offset, uint32_t length) const;
    bool SeekOrReopen(uint32_t offset);

    FILE* fp;               // the open stream, or null
    char* path;             // heap copy of the last opened path, or null
    CSimpleLock lock;       // serialises seek-and-read pairs on fp
    unsigned char* window;  // in-memory copy of one stretch of the file, or null
    uint32_t windowStart;   // file offset of window[0]
    uint32_t windowLength;  // valid bytes in window; 0 = no window
    uint32_t readErrors;    // see GetReadErrors
};

#endif  // LEXORA_DB_SMARTFILE_H
