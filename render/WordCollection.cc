#include "render/WordCollection.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kGrowthSlots = 128;

int FoldCase(int c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

int QsortCompare(const void* a, const void* b) {
    return CompareItems(*static_cast<char* const*>(a), *static_cast<char* const*>(b));
}

}  // namespace

int CompareItems(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    int rawDifference = 0;
    for (;; ++p, ++q) {
        const int x = (*p == '\t') ? 0 : *p;
        const int y = (*q == '\t') ? 0 : *q;
        if (rawDifference == 0) rawDifference = x - y;
        const int folded = FoldCase(x) - FoldCase(y);
        if (folded != 0) return folded;
        if (x == 0) return rawDifference;
    }
}

CWordCollection::CWordCollection()
    : allowDuplicates(false), items(nullptr), count(0), capacity(0) {}

CWordCollection::~CWordCollection() {
    Clear();
    free(items);
}

int CWordCollection::Add(const char* text) {
    if (text == nullptr) return -1;
    if (!allowDuplicates) {
        const int found = Find(text);
        if (found >= 0) {
            if (strcmp(items[found], text) != 0) {
                char* copy = strdup(text);
                if (copy == nullptr) return -1;
                free(items[found]);
                items[found] = copy;
            }
            return found;
        }
    }
    if (count == capacity && !Grow()) return -1;
    char* copy = strdup(text);
    if (copy == nullptr) return -1;
    items[count] = copy;
    return count++;
}

int CWordCollection::Add(const char* text, int n) {
    if (text == nullptr) return -1;
    if (n < 0) return Add(text);
    char* copy = static_cast<char*>(malloc(static_cast<size_t>(n) + 1));
    if (copy == nullptr) return -1;
    memcpy(copy, text, n);
    copy[n] = '\0';
    const int index = Add(copy);
    free(copy);
    return index;
}

int CWordCollection::Find(const char* text) const {
    for (int i = 0; i < count; ++i) {
        if (CompareItems(items[i], text) == 0) return i;
    }
    return -1;
}

void CWordCollection::Clear() {
    while (count > 0) free(items[--count]);
}

void CWordCollection::RemoveLast() {
    if (count > 0) free(items[--count]);
}

void CWordCollection::Sort() {
    if (count > 1) qsort(items, count, sizeof(char*), QsortCompare);
}

bool CWordCollection::Grow() {
    const int32_t grown = capacity + kGrowthSlots;
    char** array = static_cast<char**>(malloc(sizeof(char*) * grown));
    if (array == nullptr) return false;
    if (count > 0) memcpy(array, items, sizeof(char*) * count);
    free(items);
    items = array;
    capacity = grown;
    return true;
}
