#include "meaning/SenseNumber.h"

#include <cstring>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/Trie.h"
#include "db/WordList.h"

namespace {

// The definition request's working buffer, which "headword:n" must fit.
constexpr size_t kDefinitionBufferSize = 57;
// References read per headword, and the highest n a result can carry.
constexpr int kMaxReferences = 128;
constexpr int kMaxSenseNumber = 255;

bool IsSenseKind(uint32_t kind) {
    return kind >= lxd::kFirstSenseKind && kind <= lxd::kLastSenseKind;
}

}  // namespace

uint32_t SenseNumberUnder(CDictDatabase* database, const std::string& headword, uint32_t position,
                          uint32_t* kind) {
    char buffer[kDefinitionBufferSize];
    if (headword.size() + 4 >= sizeof buffer || headword.find(':') != std::string::npos) return 0;
    memcpy(buffer, headword.c_str(), headword.size() + 1);
    uint32_t trie = 0;
    if (!LookupWord(database, buffer, sizeof buffer, &trie, true) || headword != buffer) return 0;
    uint32_t refs[kMaxReferences];
    const int count = database->wordList->GetRecordRefs(trie, refs, kMaxReferences);
    for (int i = 0; i < count && i < kMaxSenseNumber; ++i) {
        if (IsSenseKind(lxd::RefKind(refs[i])) && lxd::RefPosition(refs[i]) == position) {
            if (kind != nullptr) *kind = lxd::RefKind(refs[i]);
            return static_cast<uint32_t>(i + 1);
        }
    }
    return 0;
}
