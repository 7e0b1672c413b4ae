/* Bare runtime mutexes: recursive, owned by the locking thread, robust so that a lock
 * after the owner ended hands the mutex over instead of blocking for ever. */
#include <errno.h>
#include <pthread.h>
#include <stdlib.h>
#include <time.h>

#include "PosixCond.h"
#include "SA_Core.h"

struct SA_OsMutexRec {
  pthread_mutex_t sMutex;
};

static int InitRecursiveRobust(pthread_mutex_t *psMutex) {
  pthread_mutexattr_t sAttr;
  if (pthread_mutexattr_init(&sAttr) != 0) return SA_ERROR;
  int iResult = pthread_mutexattr_settype(&sAttr, PTHREAD_MUTEX_RECURSIVE);
  if (iResult == 0) iResult = pthread_mutexattr_setrobust(&sAttr, PTHREAD_MUTEX_ROBUST);
  if (iResult == 0) iResult = pthread_mutex_init(psMutex, &sAttr);
  pthread_mutexattr_destroy(&sAttr);
  return iResult == 0 ? SA_OK : SA_ERROR;
}

/* The owner ended while holding it: the caller now owns it and must be able to unlock it,
 * so this is a success, not an error. */
static int LockResult(pthread_mutex_t *psMutex, int iResult) {
  if (iResult == EOWNERDEAD) iResult = pthread_mutex_consistent(psMutex);
  if (iResult == 0) return SA_OK;
  if (iResult == EBUSY || iResult == ETIMEDOUT) return SA_TIMEOUT;
  return SA_ERROR;
}

extern "C" {

int SA_CreateOsMutex(SA_OsMutex *phMutex) {
  if (phMutex == nullptr) return SA_ERROR;
  *phMutex = nullptr;
  SA_OsMutex hMutex = (SA_OsMutex)malloc(sizeof(SA_OsMutexRec));
  if (hMutex == nullptr) return SA_ERROR;
  if (InitRecursiveRobust(&hMutex->sMutex) != SA_OK) {
    free(hMutex);
    return SA_ERROR;
  }
  *phMutex = hMutex;
  return SA_OK;
}

int SA_DestroyOsMutex(SA_OsMutex *phMutex) {
  if (phMutex == nullptr || *phMutex == nullptr) return SA_OK;
  pthread_mutex_destroy(&(*phMutex)->sMutex);
  free(*phMutex);
  *phMutex = nullptr;
  return SA_OK;
}

int SA_LockOsMutexTimeout(SA_OsMutex hMutex, uint32_t u32TimeoutMs) {
  if (hMutex == nullptr) return SA_ERROR;
  pthread_mutex_t *psMutex = &hMutex->sMutex;
  if (u32TimeoutMs == 0) return LockResult(psMutex, pthread_mutex_trylock(psMutex));
  if (u32TimeoutMs == SA_INFINITE) return LockResult(psMutex, pthread_mutex_lock(psMutex));
  struct timespec sDeadline = SA_PosixDeadline(u32TimeoutMs);
  int iResult;
  do {
    iResult = pthread_mutex_clocklock(psMutex, CLOCK_MONOTONIC, &sDeadline);
  } while (iResult == EINTR);
  return LockResult(psMutex, iResult);
}

int SA_UnlockOsMutex(SA_OsMutex hMutex) {
  if (hMutex == nullptr) return SA_ERROR;
  return pthread_mutex_unlock(&hMutex->sMutex) == 0 ? SA_OK : SA_ERROR;
}

}  // extern "C"
