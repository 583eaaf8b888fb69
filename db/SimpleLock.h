// A heap-allocated POSIX mutex. Lock() and Unlock() ignore the results of the
// underlying calls; a lock that could not be allocated does nothing.
#ifndef LEXORA_DB_SIMPLELOCK_H
#define LEXORA_DB_SIMPLELOCK_H

#include <pthread.h>

class CSimpleLock {
public:
    CSimpleLock();
    virtual ~CSimpleLock();
    CSimpleLock(const CSimpleLock&) = delete;
    CSimpleLock& operator=(const CSimpleLock&) = delete;

    void Lock();
    void Unlock();

private:
    pthread_mutex_t* mutex;  // owned; null when allocation failed
};

#endif  // LEXORA_DB_SIMPLELOCK_H
