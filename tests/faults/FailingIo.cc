#include <cerrno>
#include <cstdio>

#include "tests/faults/FaultFixture.h"

extern "C" size_t __real_fread(void* buffer, size_t size, size_t count, FILE* stream);
extern "C" int __real_fseek(FILE* stream, long offset, int whence);

namespace {

lxfault::IoFault mode = lxfault::IoFault::kFail;

}  // namespace

lxfault::FaultSwitch lxfault::IoFaults(IoFault fault) {
    return {[fault](unsigned long failAt) {
                mode = fault;
                ArmCounter(failAt);
            },
            DisarmCounter};
}

extern "C" size_t __wrap_fread(void* buffer, size_t size, size_t count, FILE* stream) {
    if (!lxfault::IsChosenCall()) return __real_fread(buffer, size, count, stream);
    if (mode == lxfault::IoFault::kShort && count > 1) {
        return __real_fread(buffer, size, count / 2, stream);
    }
    errno = EIO;
    return 0;
}

extern "C" int __wrap_fseek(FILE* stream, long offset, int whence) {
    if (!lxfault::IsChosenCall()) return __real_fseek(stream, offset, whence);
    errno = EIO;
    return -1;
}
