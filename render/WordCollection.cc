#include "render/WordCollection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kGrowthSlots = 128;
// Below this many items a linear search is as quick as hashing.
constexpr int kIndexFrom = 16;
constexpr uint32_t kMinIndexSlots = 64;

int FoldCase(int c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

// FNV-1a over the part CompareItems compares: up to a TAB or the end.
uint32_t HashItem(const char* text) {
    uint32_t hash = 2166136261u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
         *p != '\0' && *p != '\t'; ++p) {
        hash = (hash ^ *p) * 16777619u;
    }
    return hash;
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
    : allowDuplicates(false),
      items(nullptr),
      count(0),
      capacity(0),
      slots(nullptr),
      slotMask(0),
      indexedCount(-1) {}

CWordCollection::~CWordCollection() {
    Clear();
    free(items);
    free(slots);
}

int CWordCollection::Add(const char* text) {
    if (text == nullptr) return -1;
    return Store(text, nullptr);
}

int CWordCollection::Add(const char* text, int n) {
    if (text == nullptr) return -1;
    if (n < 0) return Add(text);
    return AddPrefixed("", 0, text, n);
}

int CWordCollection::AddPrefixed(const char* prefix, int prefixLength, const char* text, int n) {
    if (text == nullptr || n < 0) return -1;
    char* copy = static_cast<char*>(malloc(static_cast<size_t>(prefixLength) + n + 1));
    if (copy == nullptr) return -1;
    memcpy(copy, prefix, prefixLength);
    memcpy(copy + prefixLength, text, n);
    copy[prefixLength + n] = '\0';
    return Store(copy, copy);
}

// Adds `text`; `copy` is either null or a heap copy of it that the collection
// takes over (it is freed when not kept).
int CWordCollection::Store(const char* text, char* copy) {
    if (!allowDuplicates) {
        if (count >= kIndexFrom) EnsureIndex();
        const int found = Find(text);
        if (found >= 0) {
            if (strcmp(items[found], text) != 0) {
                if (copy == nullptr) copy = strdup(text);
                if (copy == nullptr) return -1;
                free(items[found]);
                items[found] = copy;
            } else {
                free(copy);
            }
            return found;
        }
    }
    if (count == capacity && !Grow()) {
        free(copy);
        return -1;
    }
    if (copy == nullptr) copy = strdup(text);
    if (copy == nullptr) return -1;
    items[count++] = copy;
    IndexLast();
    return count - 1;
}

int CWordCollection::Find(const char* text) const {
    if (slots != nullptr && indexedCount == count) return FindIndexed(text);
    for (int i = 0; i < count; ++i) {
        if (CompareItems(items[i], text) == 0) return i;
    }
    return -1;
}

int CWordCollection::FindIndexed(const char* text) const {
    for (uint32_t slot = HashItem(text) & slotMask;; slot = (slot + 1) & slotMask) {
        const int32_t i = slots[slot];
        if (i < 0) return -1;
        if (CompareItems(items[i], text) == 0) return i;
    }
}

// Rebuilds the slots for every item, at most a quarter of them in use.
// Without the memory for them the collection is searched linearly.
void CWordCollection::EnsureIndex() {
    if (slots != nullptr && indexedCount == count) return;
    uint32_t size = kMinIndexSlots;
    while (size < 4u * static_cast<uint32_t>(count)) size *= 2;
    if (slots == nullptr || size > slotMask + 1) {
        free(slots);
        slots = static_cast<int32_t*>(malloc(sizeof(int32_t) * size));
        indexedCount = -1;
        if (slots == nullptr) return;
        slotMask = size - 1;
    }
    memset(slots, 0xFF, sizeof(int32_t) * (slotMask + 1));
    for (int32_t i = 0; i < count; ++i) IndexItem(i);
    indexedCount = count;
}

// Keeps the slots in step with an item just appended; past half full they
// are rebuilt larger when next needed.
void CWordCollection::IndexLast() {
    if (slots == nullptr || indexedCount != count - 1) return;
    if (2u * static_cast<uint32_t>(count) > slotMask + 1) {
        indexedCount = -1;
        return;
    }
    IndexItem(count - 1);
    indexedCount = count;
}

// Files item i unless an equal item is filed already: the first of equal
// items is the one a linear search finds.
void CWordCollection::IndexItem(int32_t i) {
    uint32_t slot = HashItem(items[i]) & slotMask;
    for (; slots[slot] >= 0; slot = (slot + 1) & slotMask) {
        if (CompareItems(items[slots[slot]], items[i]) == 0) return;
    }
    slots[slot] = i;
}

void CWordCollection::Clear() {
    while (count > 0) free(items[--count]);
    indexedCount = -1;
}

void CWordCollection::RemoveLast() {
    if (count > 0) free(items[--count]);
    indexedCount = -1;
}

void CWordCollection::Sort() {
    // A stable sort, as the C library's merge sort is; equal items keep their order.
    if (count > 1) {
        std::stable_sort(items, items + count,
                         [](const char* a, const char* b) { return CompareItems(a, b) < 0; });
    }
    indexedCount = -1;
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
