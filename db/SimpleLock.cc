#include "db/SimpleLock.h"

#include <new>

CSimpleLock::CSimpleLock() : mutex(new (std::nothrow) pthread_mutex_t) {
    if (mutex) pthread_mutex_init(mutex, nullptr);
}

CSimpleLock::~CSimpleLock() {
    if (!mutex) return;
    pthread_mutex_destroy(mutex);
    delete mutex;
}

void CSimpleLock::Lock() {
    if (mutex) pthread_mutex_lock(mutex);
}

void CSimpleLock::Unlock() {
    if (mutex) pthread_mutex_unlock(mutex);
}
