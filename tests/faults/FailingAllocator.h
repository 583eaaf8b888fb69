// Allocation failure on demand: while armed, the allocations (malloc, calloc,
// realloc and everything built on them, strdup and operator new included)
// made by the arming thread are counted, and the chosen one fails.
#ifndef LEXORA_TESTS_FAULTS_FAILINGALLOCATOR_H
#define LEXORA_TESTS_FAULTS_FAILINGALLOCATOR_H

namespace lxfault {

// Starts counting on the calling thread; allocation number `failAt` (from 1)
// returns null. 0 only counts.
void ArmAllocations(unsigned long failAt);
// Stops counting; the number of allocations seen since ArmAllocations.
unsigned long DisarmAllocations();

}  // namespace lxfault

#endif  // LEXORA_TESTS_FAULTS_FAILINGALLOCATOR_H
