// The scroll table: 1024 prefixes of up to four characters that map a scroll
// position to a starting word of the index. Read whole at construction.
#ifndef LEXORA_DB_SCROLLHELPER_H
#define LEXORA_DB_SCROLLHELPER_H

#include <cstdint>

#include "db/Format.h"

class CSmartFile;

class CScrollHelper {
public:
    // Reads the table at `offset`; a table that cannot be read whole is all zeros.
    CScrollHelper(CSmartFile* file, uint32_t offset);
    virtual ~CScrollHelper();
    CScrollHelper(const CScrollHelper&) = delete;
    CScrollHelper& operator=(const CScrollHelper&) = delete;

    // Writes the prefix of `position` (negative counts as 0) into `out`, a
    // buffer of at least 5 bytes; past the table it is "\x01", which sorts
    // before every headword.
    void GetScrollPrefix(int position, char* out) const;

private:
    unsigned char prefixes[lxd::kScrollTableSize];  // the table as stored
};

#endif  // LEXORA_DB_SCROLLHELPER_H
