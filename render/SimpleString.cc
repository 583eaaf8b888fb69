#include "render/SimpleString.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMinimumCapacity = 63;
constexpr int kHeadroom = 3;
constexpr int kGrowth = 256;

}  // namespace

CSimpleString::CSimpleString() : buffer(nullptr), capacity(0), length(0) {}

CSimpleString::CSimpleString(int initialCapacity) : buffer(nullptr), capacity(0), length(0) {
    const int size =
        (initialCapacity > kMinimumCapacity ? initialCapacity : kMinimumCapacity) + kHeadroom;
    buffer = static_cast<char*>(malloc(size));
    if (buffer != nullptr) {
        buffer[0] = '\0';
        capacity = size;
    }
}

CSimpleString::~CSimpleString() {
    free(buffer);
}

bool CSimpleString::Reserve(int extra) {
    if (extra < 0) return false;
    const int64_t needed = static_cast<int64_t>(length) + extra;
    if (buffer != nullptr && capacity >= needed + kHeadroom) return true;
    if (needed + kGrowth > INT32_MAX) return false;
    const int32_t size = static_cast<int32_t>(needed + kGrowth);
    char* grown = static_cast<char*>(malloc(size));
    if (grown == nullptr) return false;
    if (length > 0) memcpy(grown, buffer, length);
    grown[length] = '\0';
    free(buffer);
    buffer = grown;
    capacity = size;
    return true;
}

void CSimpleString::Assign(const char* text, int n) {
    length = 0;
    if (buffer != nullptr) buffer[0] = '\0';
    if (text == nullptr) return;
    if (n < 0) n = static_cast<int>(strlen(text));
    if (n > 0 && Reserve(n)) {
        memcpy(buffer, text, n);
        buffer[n] = '\0';
        length = n;
    }
}

void CSimpleString::Assign(const char* text) {
    Assign(text, -1);
}

void CSimpleString::Append(const char* text, int n) {
    if (text == nullptr || n <= 0 || !Reserve(n)) return;
    memcpy(buffer + length, text, n);
    length += n;
    buffer[length] = '\0';
}

void CSimpleString::Append(const char* text) {
    if (text != nullptr) Append(text, static_cast<int>(strlen(text)));
}

void CSimpleString::Clear() {
    length = 0;
    if (buffer != nullptr) buffer[0] = '\0';
}

// Replaces in place: a definition replaces a few symbols in each of its
// views and pronunciations, which would otherwise each take a new buffer.
// When the text grows it is first moved to the end of the room it needs and
// then rewritten from the start, so what is still to be read always lies at
// or behind what has been written.
int CSimpleString::ReplaceAll(const char* find, const char* replace) {
    if (length == 0 || find == nullptr || find[0] == '\0') return 0;
    if (strstr(buffer, find) == nullptr) return 0;
    // Text behind a NUL byte inside the string cannot be searched: such a
    // string is left as it is.
    if (strlen(buffer) != static_cast<size_t>(length)) return 0;
    if (replace == nullptr) replace = "";
    const int64_t findLength = static_cast<int64_t>(strlen(find));
    const int64_t replaceLength = static_cast<int64_t>(strlen(replace));
    int count = 0;
    for (const char* hit = strstr(buffer, find); hit != nullptr;
         hit = strstr(hit + findLength, find))
        ++count;
    const int64_t newLength = length + count * (replaceLength - findLength);
    if (newLength + kGrowth > INT32_MAX) return 0;
    int32_t shift = 0;
    if (newLength > length) {
        shift = static_cast<int32_t>(newLength - length);
        if (!Reserve(shift)) return 0;
        memmove(buffer + shift, buffer, static_cast<size_t>(length) + 1);
    }
    char* write = buffer;
    const char* read = buffer + shift;
    for (const char* hit = strstr(read, find); hit != nullptr; hit = strstr(read, find)) {
        memmove(write, read, static_cast<size_t>(hit - read));
        write += hit - read;
        memcpy(write, replace, static_cast<size_t>(replaceLength));
        write += replaceLength;
        read = hit + findLength;
    }
    memmove(write, read, strlen(read) + 1);
    length = static_cast<int32_t>(newLength);
    return count;
}
