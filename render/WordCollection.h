// An owning list of NUL-terminated strings: each item is the collection's own
// heap copy. Indices returned by Add stay valid until Clear, Sort or destruction.
#ifndef LEXORA_RENDER_WORDCOLLECTION_H
#define LEXORA_RENDER_WORDCOLLECTION_H

#include <cstdint>

// Orders like strcmp, case-insensitive over 'A'..'Z' with a case-sensitive
// tie-break; a TAB ends the compared part (what follows is payload).
int CompareItems(const char* a, const char* b);

class CWordCollection {
public:
    CWordCollection();
    virtual ~CWordCollection();
    CWordCollection(const CWordCollection&) = delete;
    CWordCollection& operator=(const CWordCollection&) = delete;

    // Index of the stored copy, or -1. Without allowDuplicates an item equal by
    // CompareItems is reused: its text is replaced when the full texts differ.
    int Add(const char* text);
    // Adds the first n bytes of text (n < 0: all of it).
    int Add(const char* text, int n);
    // Adds the first `prefixLength` bytes of prefix followed by the first n
    // bytes of text (n >= 0), as Add would add the joined text.
    int AddPrefixed(const char* prefix, int prefixLength, const char* text, int n);
    // First item equal to text by CompareItems, or -1.
    int Find(const char* text) const;
    int Count() const { return count; }
    // REQUIRES: 0 <= i < Count().
    const char* Get(int i) const { return items[i]; }
    // Frees every item; the pointer array is kept for reuse.
    void Clear();
    // Frees the last item, if any.
    void RemoveLast();
    void Sort();

    bool allowDuplicates;  // true: Add always appends

private:
    int Store(const char* text, char* copy);
    bool Grow();
    void EnsureIndex();
    void IndexLast();
    void IndexItem(int32_t i);
    int FindIndexed(const char* text) const;

    char** items;      // owned array of owned copies
    int32_t count;     // items in use
    int32_t capacity;  // slots allocated in items
    // A hash of the items by their compared part, so that adding to a long
    // collection does not compare the text with every item: open-addressed
    // item indices, -1 for an empty slot. Owned; used only while it holds
    // items[0, indexedCount) and indexedCount == count.
    int32_t* slots;
    uint32_t slotMask;     // slot count - 1
    int32_t indexedCount;  // -1 when the slots must be rebuilt
};

#endif  // LEXORA_RENDER_WORDCOLLECTION_H
