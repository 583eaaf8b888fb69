#include "tests/faults/FailingIo.h"

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

extern "C" size_t __real_fread(void* buffer, size_t size, size_t count, FILE* stream);
extern "C" int __real_fseek(FILE* stream, long offset, int whence);

namespace {

std::atomic<bool> armed{false};
pthread_t armedThread;
unsigned long failAt = 0;
unsigned long seen = 0;
lxfault::IoFault mode = lxfault::IoFault::kFail;

bool IsChosenCall() {
    if (!armed.load(std::memory_order_acquire) || !pthread_equal(pthread_self(), armedThread)) {
        return false;
    }
    return ++seen == failAt;
}

}  // namespace

namespace lxfault {

void ArmIo(unsigned long failAtNumber, IoFault fault) {
    armedThread = pthread_self();
    failAt = failAtNumber;
    mode = fault;
    seen = 0;
    armed.store(true, std::memory_order_release);
}

unsigned long DisarmIo() {
    armed.store(false, std::memory_order_release);
    return seen;
}

}  // namespace lxfault

extern "C" size_t __wrap_fread(void* buffer, size_t size, size_t count, FILE* stream) {
    if (!IsChosenCall()) return __real_fread(buffer, size, count, stream);
    if (mode == lxfault::IoFault::kShort && count > 1) {
        return __real_fread(buffer, size, count / 2, stream);
    }
    errno = EIO;
    return 0;
}

extern "C" int __wrap_fseek(FILE* stream, long offset, int whence) {
    if (!IsChosenCall()) return __real_fseek(stream, offset, whence);
    errno = EIO;
    return -1;
}
