#include <cerrno>
#include <cstddef>

#include "tests/faults/FaultFixture.h"

// glibc's own entry points, which the replacements below forward to; free
// stays glibc's and releases what they return.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);

namespace {

bool ShouldFail() {
    if (!lxfault::IsChosenCall()) return false;
    errno = ENOMEM;
    return true;
}

}  // namespace

lxfault::FaultSwitch lxfault::AllocationFaults() {
    return {ArmCounter, DisarmCounter};
}

extern "C" void* malloc(size_t size) {
    return ShouldFail() ? nullptr : __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) {
    return ShouldFail() ? nullptr : __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, size_t size) {
    return ShouldFail() ? nullptr : __libc_realloc(pointer, size);
}
