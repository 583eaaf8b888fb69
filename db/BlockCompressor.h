// Compresses the record store's blocks for the writer: each block becomes one
// whole zlib stream (zlib header, deflate data, Adler-32), as any zlib
// inflate reads it, made by libdeflate at its highest level, which packs
// 4 KB of dictionary text several per cent tighter than zlib's level 9. The
// same input always gives the same bytes.
#ifndef LEXORA_DB_BLOCKCOMPRESSOR_H
#define LEXORA_DB_BLOCKCOMPRESSOR_H

#include <cstddef>
#include <vector>

struct libdeflate_compressor;

class CBlockCompressor {
public:
    CBlockCompressor();
    virtual ~CBlockCompressor();
    CBlockCompressor(const CBlockCompressor&) = delete;
    CBlockCompressor& operator=(const CBlockCompressor&) = delete;

    // Appends the zlib stream of `size` bytes at `data` to `out`. False when
    // the compressor could not be made or the data did not fit its bound.
    bool Compress(const void* data, size_t size, std::vector<unsigned char>* out);

private:
    libdeflate_compressor* compressor;  // null when it could not be allocated
    std::vector<unsigned char> packed;  // room for one compressed block
};

#endif  // LEXORA_DB_BLOCKCOMPRESSOR_H
