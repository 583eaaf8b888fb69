#include "db/WildWord.h"

CWildWord::CWildWord(CSmartFile* file, uint32_t sectionOffset, bool rawEntries)
    : CTrie(file, sectionOffset, rawEntries), atStart(1), finished(0) {
    status = 0;
    pattern[0] = 0;
}

CWildWord::~CWildWord() {}
