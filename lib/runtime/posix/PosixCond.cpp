/* Waits with a time-out on a condition variable that runs on the monotonic clock. */
#include "PosixCond.h"

#include <errno.h>
#include <time.h>

#include "SA_Core.h"

struct timespec SA_PosixDeadline(uint32_t u32Ms) {
  struct timespec sNow;
  clock_gettime(CLOCK_MONOTONIC, &sNow);
  sNow.tv_sec += (time_t)(u32Ms / 1000u);
  sNow.tv_nsec += (long)(u32Ms % 1000u) * 1000000L;
  if (sNow.tv_nsec >= 1000000000L) {
    sNow.tv_sec += 1;
    sNow.tv_nsec -= 1000000000L;
  }
  return sNow;
}

int SA_PosixCondInit(SA_PosixCond *psCond) {
  pthread_condattr_t sAttr;
  if (pthread_condattr_init(&sAttr) != 0) return SA_ERROR;
  int iResult = pthread_condattr_setclock(&sAttr, CLOCK_MONOTONIC);
  if (iResult == 0) iResult = pthread_cond_init(&psCond->sCond, &sAttr);
  pthread_condattr_destroy(&sAttr);
  if (iResult != 0) return SA_ERROR;
  if (pthread_mutex_init(&psCond->sMutex, nullptr) != 0) {
    pthread_cond_destroy(&psCond->sCond);
    return SA_ERROR;
  }
  return SA_OK;
}

void SA_PosixCondDestroy(SA_PosixCond *psCond) {
  pthread_cond_destroy(&psCond->sCond);
  pthread_mutex_destroy(&psCond->sMutex);
}

int SA_PosixCondWait(SA_PosixCond *psCond, uint32_t u32TimeoutMs, SA_PosixReady rReady, void *pState) {
  if (rReady(pState)) return SA_OK;
  if (u32TimeoutMs == 0) return SA_TIMEOUT;
  struct timespec sDeadline = SA_PosixDeadline(u32TimeoutMs);
  while (!rReady(pState)) {
    int iResult = (u32TimeoutMs == SA_INFINITE)
                      ? pthread_cond_wait(&psCond->sCond, &psCond->sMutex)
                      : pthread_cond_timedwait(&psCond->sCond, &psCond->sMutex, &sDeadline);
    if (iResult == ETIMEDOUT) return rReady(pState) ? SA_OK : SA_TIMEOUT;
    if (iResult != 0) return SA_ERROR;
  }
  return SA_OK;
}

int SA_PosixCondLockAndWait(SA_PosixCond *psCond, uint32_t u32TimeoutMs, SA_PosixReady rReady, SA_PosixTake rTake,
                           void *pState) {
  pthread_mutex_lock(&psCond->sMutex);
  int iResult = SA_PosixCondWait(psCond, u32TimeoutMs, rReady, pState);
  if (iResult == SA_OK && rTake != nullptr) rTake(pState);
  pthread_mutex_unlock(&psCond->sMutex);
  return iResult;
}
