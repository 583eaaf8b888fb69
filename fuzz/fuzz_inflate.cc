// Inflation of a downloaded recording: arbitrary bytes as the download. A
// stream reported complete must hold exactly what zlib makes of the input.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/AudioFiles.h"

namespace {

// What zlib makes of `data` inflated in one piece; false when the data is
// not one complete stream.
bool ReferenceInflate(const uint8_t* data, size_t size, std::vector<unsigned char>* out) {
    z_stream stream;
    memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    unsigned char chunk[16384];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = chunk;
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out->insert(out->end(), chunk, chunk + (sizeof chunk - stream.avail_out));
    }
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
    std::vector<unsigned char> expected;
    bool referenceComplete = ReferenceInflate(data, size, &expected);
    if (complete != referenceComplete) abort();
    if (complete &&
        (outputSize != expected.size() ||
         !std::equal(expected.begin(), expected.end(), reinterpret_cast<unsigned char*>(output)))) {
        abort();
    }
    free(output);
    return 0;
}
