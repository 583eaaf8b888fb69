#include "tests/faults/FailingAllocator.h"

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

// glibc's own entry points, which the replacements below forward to; free
// stays glibc's and releases what they return.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);

namespace {

std::atomic<bool> armed{false};
pthread_t armedThread;
unsigned long failAt = 0;
unsigned long seen = 0;

bool ShouldFail() {
    if (!armed.load(std::memory_order_acquire) || !pthread_equal(pthread_self(), armedThread)) {
        return false;
    }
    if (++seen != failAt) return false;
    errno = ENOMEM;
    return true;
}

}  // namespace

namespace lxfault {

void ArmAllocations(unsigned long failAtNumber) {
    armedThread = pthread_self();
    failAt = failAtNumber;
    seen = 0;
    armed.store(true, std::memory_order_release);
}

unsigned long DisarmAllocations() {
    armed.store(false, std::memory_order_release);
    return seen;
}

}  // namespace lxfault

extern "C" void* malloc(size_t size) {
    return ShouldFail() ? nullptr : __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) {
    return ShouldFail() ? nullptr : __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, size_t size) {
    return ShouldFail() ? nullptr : __libc_realloc(pointer, size);
}
