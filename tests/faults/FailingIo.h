// Read faults on demand for code linked with --wrap=fread,--wrap=fseek:
// while armed, the calling thread's fread and fseek calls are counted and the
// chosen one fails (fread returns 0, fseek -1) or, for fread, comes short.
#ifndef LEXORA_TESTS_FAULTS_FAILINGIO_H
#define LEXORA_TESTS_FAULTS_FAILINGIO_H

namespace lxfault {

enum class IoFault { kFail, kShort };

// Call number `failAt` (from 1) gets `fault`; 0 only counts.
void ArmIo(unsigned long failAt, IoFault fault);
// Stops counting; the number of calls seen since ArmIo.
unsigned long DisarmIo();

}  // namespace lxfault

#endif  // LEXORA_TESTS_FAULTS_FAILINGIO_H
