#include "host/HeapTrim.h"

#include <malloc.h>

void CHeapTrim::CountAnswer() {
    if (++answered < kAnswersPerTrim) return;
    answered = 0;
    malloc_trim(0);
}
