#include "host/AudioNames.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The byte itself for 0-9 and a-z, '_' for every other byte.
char NamePartByte(unsigned char c) {
    return ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) ? static_cast<char>(c) : '_';
}

// True when snprintf wrote `written` bytes into a buffer of `size` in full.
bool Fits(int written, size_t size) {
    return written >= 0 && static_cast<size_t>(written) < size;
}

}  // namespace

bool MakeAudioNames(const char* word, const char* baseUrl, char* url, size_t urlSize,
                    char* fileName, size_t fileNameSize) {
    if (urlSize == 0 || fileNameSize == 0) return false;
    url[0] = '\0';
    fileName[0] = '\0';
    size_t length = strlen(word);
    char* name = static_cast<char*>(malloc(length + 1));
    if (name == nullptr) return false;
    for (size_t i = 0; i <= length; ++i) {
        name[i] =
            (word[i] >= 'A' && word[i] <= 'Z') ? static_cast<char>(word[i] - 'A' + 'a') : word[i];
    }
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(name), static_cast<uInt>(length));
    for (size_t i = 0; i < length; ++i) name[i] = NamePartByte(static_cast<unsigned char>(name[i]));
    unsigned low = static_cast<unsigned>(crc & 0xFF);
    unsigned high = static_cast<unsigned>((crc >> 8) & 0xFFFFFF);
    bool fits =
        Fits(snprintf(fileName, fileNameSize, "vox_%02X_%06X_%s", low, high, name), fileNameSize) &&
        Fits(snprintf(url, urlSize, "%s/pron/vox/%02X/%06X_%s", baseUrl, low, high, name), urlSize);
    free(name);
    if (!fits) {
        url[0] = '\0';
        fileName[0] = '\0';
    }
    return fits;
}
