#include "db/ScrollHelper.h"

#include <cstring>

#include "db/SmartFile.h"

CScrollHelper::CScrollHelper(CSmartFile* file, uint32_t offset) {
    if (file == nullptr ||
        file->Read(offset, sizeof(prefixes), prefixes) != static_cast<int32_t>(sizeof(prefixes))) {
        memset(prefixes, 0, sizeof(prefixes));
    }
}

CScrollHelper::~CScrollHelper() {}

void CScrollHelper::GetScrollPrefix(int position, char* out) const {
    if (position < 0) position = 0;
    if (position >= static_cast<int>(lxd::kScrollEntries)) {
        out[0] = 1;
        out[1] = 0;
        return;
    }
    // Each entry is stored reversed: the prefix's first character is byte 3.
    const unsigned char* entry = prefixes + 4 * position;
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(entry[3 - i]);
    out[4] = 0;
}
