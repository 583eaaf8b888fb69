#include "db/IndexListing.h"

#include <cstring>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/ScrollHelper.h"
#include "db/WordList.h"

namespace {

constexpr unsigned char kAfterKey = 0x01;  // appended to start just after a key

int CountCapitals(const char* text) {
    int count = 0;
    for (; *text != 0; ++text) count += (*text >= 'A' && *text <= 'Z');
    return count;
}

// Writes the anchor's key into `key`. An anchor whose key does not fit is
// at least 63 bytes long; it is cut to the buffer and lower-cased, which
// orders it against every key an enumeration can reach (57 bytes at most)
// exactly as its full key would.
void MakeAnchorKey(const char* anchor, char* key) {
    size_t length = strlen(anchor);
    size_t needed = length + CountCapitals(anchor) + 3;  // marker, 0x01, terminator
    if (needed > static_cast<size_t>(lxd::kKeyBufferSize)) {
        size_t cut = lxd::kKeyBufferSize - 2;
        if (length > cut) length = cut;
        memcpy(key, anchor, length);
        key[length] = 0;
        LowercaseWord(key);
        return;
    }
    memcpy(key, anchor, length + 1);
    EncodeCapitals(key);
}

}  // namespace

bool ListIndexWords(CDictDatabase* database, TrieVisitor visitor, void* context, const char* anchor,
                    bool forward, bool exclusive) {
    if (database == nullptr || database->wordList == nullptr || anchor == nullptr) return false;
    char key[lxd::kKeyBufferSize];
    MakeAnchorKey(anchor, key);
    if (forward && exclusive) {
        size_t length = strlen(key);
        key[length] = static_cast<char>(kAfterKey);
        key[length + 1] = 0;
    }
    return database->wordList->Enumerate(visitor, context, key, forward);
}

bool ListFromScrollPosition(CDictDatabase* database, TrieVisitor visitor, void* context,
                            int position) {
    if (database == nullptr || database->scrollHelper == nullptr) return false;
    char prefix[5];
    database->scrollHelper->GetScrollPrefix(position, prefix);
    return ListIndexWords(database, visitor, context, prefix, true, false);
}
