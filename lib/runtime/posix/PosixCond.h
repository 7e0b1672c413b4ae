/* A mutex and a condition variable on the monotonic clock: the base of events,
 * semaphores and the threads' end signal. */
#ifndef POSIX_COND_H
#define POSIX_COND_H

#include <pthread.h>
#include <stdint.h>

struct SA_PosixCond {
  pthread_mutex_t sMutex;
  pthread_cond_t sCond;
};

typedef int (*SA_PosixReady)(void *pState);
typedef void (*SA_PosixTake)(void *pState);

int SA_PosixCondInit(SA_PosixCond *psCond);
void SA_PosixCondDestroy(SA_PosixCond *psCond);
/* With the mutex held: waits until rReady(pState) is non-zero. 0 ready, 1 time-out, -1 error. */
int SA_PosixCondWait(SA_PosixCond *psCond, uint32_t u32TimeoutMs, SA_PosixReady rReady, void *pState);
/* Takes the mutex, waits as above and, when ready, runs rTake(pState) (if given) before unlocking. */
int SA_PosixCondLockAndWait(SA_PosixCond *psCond, uint32_t u32TimeoutMs, SA_PosixReady rReady, SA_PosixTake rTake,
                           void *pState);
/* Absolute CLOCK_MONOTONIC time u32Ms from now. */
struct timespec SA_PosixDeadline(uint32_t u32Ms);

#endif
