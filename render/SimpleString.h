// A growable, heap-owned byte string that holds every piece of rendered text.
// The text is NUL-terminated whenever a buffer exists; a failed allocation
// leaves the string as it was and the text that needed it is dropped.
#ifndef LEXORA_RENDER_SIMPLESTRING_H
#define LEXORA_RENDER_SIMPLESTRING_H

#include <cstdint>

class CSimpleString {
public:
    CSimpleString();
    // Allocates max(initialCapacity, 63) + 3 bytes and holds an empty text.
    explicit CSimpleString(int initialCapacity);
    virtual ~CSimpleString();
    CSimpleString(const CSimpleString&) = delete;
    CSimpleString& operator=(const CSimpleString&) = delete;

    // Null for a string that never held a buffer.
    const char* GetBuffer() const { return buffer; }
    char* GetBuffer() { return buffer; }
    int32_t GetLength() const { return length; }
    int32_t GetCapacity() const { return capacity; }

    // Makes room for `extra` more bytes, keeping 3 bytes of headroom; grows to
    // exactly the need plus 256. False only when the allocation failed.
    bool Reserve(int extra);
    // Replaces the content with the first n bytes of text (n < 0: all of it).
    void Assign(const char* text, int n);
    void Assign(const char* text);
    // Appends the first n bytes of text; the caller never passes more than it has.
    void Append(const char* text, int n);
    void Append(const char* text);
    // Empties the text but keeps the buffer for reuse.
    void Clear();
    // Replaces every non-overlapping occurrence of `find`; null `replace` is
    // the empty text. Returns the number of replacements.
    int ReplaceAll(const char* find, const char* replace);

private:
    char* buffer;      // owned text, null until the first allocation
    int32_t capacity;  // bytes allocated for buffer
    int32_t length;    // bytes of text, without the NUL
};

#endif  // LEXORA_RENDER_SIMPLESTRING_H
