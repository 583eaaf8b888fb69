#include "db/BlockCompressor.h"

#include <libdeflate.h>

namespace {

// libdeflate's highest level: the slowest to write, not slower to inflate.
constexpr int kCompressionLevel = 12;

}  // namespace

CBlockCompressor::CBlockCompressor() : compressor(libdeflate_alloc_compressor(kCompressionLevel)) {}

CBlockCompressor::~CBlockCompressor() {
    libdeflate_free_compressor(compressor);
}

bool CBlockCompressor::Compress(const void* data, size_t size, std::vector<unsigned char>* out) {
    if (!compressor) return false;
    packed.resize(libdeflate_zlib_compress_bound(compressor, size));
    const size_t length =
        libdeflate_zlib_compress(compressor, data, size, packed.data(), packed.size());
    if (length == 0) return false;
    out->insert(out->end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(length));
    return true;
}
