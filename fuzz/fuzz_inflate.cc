// Inflation of a downloaded recording: arbitrary bytes as the download. A
// stream reported complete must hold exactly what zlib makes of the input.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/AudioFiles.h"

namespace {

// What zlib's one-shot inflate makes of `data`, up to `limit` bytes; false
// when the data is not one complete stream within the limit.
bool ReferenceInflate(const uint8_t* data, size_t size, size_t limit,
                      std::vector<unsigned char>* out) {
    z_stream stream;
    memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) return false;
    out->resize(limit);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out->data();
    stream.avail_out = static_cast<uInt>(limit);
    int result = inflate(&stream, Z_FINISH);
    out->resize(limit - stream.avail_out);
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (in == nullptr) return 0;
    char* output = nullptr;
    size_t outputSize = 0;
    FILE* out = open_memstream(&output, &outputSize);
    if (out == nullptr) {
        fclose(in);
        return 0;
    }
    bool complete = InflateFile(in, out);
    fclose(out);
    fclose(in);
    // Deflate expands at most about 1032:1, so this limit never cuts a
    // complete stream of the input's size short.
    std::vector<unsigned char> expected;
    bool referenceComplete = ReferenceInflate(data, size, size * 1100 + 64, &expected);
    if (complete != referenceComplete) abort();
    if (complete && (outputSize != expected.size() ||
                     memcmp(output, expected.data(), outputSize) != 0)) {
        abort();
    }
    free(output);
    return 0;
}
