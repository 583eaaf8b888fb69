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

int CSimpleString::ReplaceAll(const char* find, const char* replace) {
    if (length == 0 || find == nullptr || find[0] == '\0') return 0;
    const char* hit = strstr(buffer, find);
    if (hit == nullptr) return 0;
    if (replace == nullptr) replace = "";
    const int findLength = static_cast<int>(strlen(find));
    const int replaceLength = static_cast<int>(strlen(replace));

    CSimpleString result(length + replaceLength - findLength);
    const char* rest = buffer;
    int count = 0;
    for (; hit != nullptr; hit = strstr(rest, find)) {
        result.Append(rest, static_cast<int>(hit - rest));
        result.Append(replace, replaceLength);
        rest = hit + findLength;
        ++count;
    }
    result.Append(rest);
    // A failed allocation on the way leaves the text as it was.
    if (result.length != length + count * (replaceLength - findLength)) return 0;
    TakeOver(result);
    return count;
}

void CSimpleString::TakeOver(CSimpleString& other) {
    free(buffer);
    buffer = other.buffer;
    capacity = other.capacity;
    length = other.length;
    other.buffer = nullptr;
    other.capacity = 0;
    other.length = 0;
}
