/* Counting semaphores with a maximum count, which POSIX sem_t does not have. */
#include <stdlib.h>

#include "PosixCond.h"
#include "SA_Core.h"

struct SA_SemaphoreRec {
  SA_PosixCond sCond;
  uint32_t u32Count;
  uint32_t u32Maximum;
};

static int IsAvailable(void *pState) { return ((SA_SemaphoreRec *)pState)->u32Count > 0; }
static void TakeOne(void *pState) { ((SA_SemaphoreRec *)pState)->u32Count--; }

extern "C" {

int SA_CreateSemaphore(SA_Semaphore *phSemaphore, uint32_t u32Initial, uint32_t u32Maximum) {
  if (phSemaphore == nullptr) return SA_ERROR;
  *phSemaphore = nullptr;
  if (u32Maximum == 0 || u32Initial > u32Maximum) return SA_ERROR;
  SA_Semaphore hSemaphore = (SA_Semaphore)calloc(1, sizeof(SA_SemaphoreRec));
  if (hSemaphore == nullptr) return SA_ERROR;
  if (SA_PosixCondInit(&hSemaphore->sCond) != SA_OK) {
    free(hSemaphore);
    return SA_ERROR;
  }
  hSemaphore->u32Count = u32Initial;
  hSemaphore->u32Maximum = u32Maximum;
  *phSemaphore = hSemaphore;
  return SA_OK;
}

int SA_DestroySemaphore(SA_Semaphore *phSemaphore) {
  if (phSemaphore == nullptr || *phSemaphore == nullptr) return SA_OK;
  SA_PosixCondDestroy(&(*phSemaphore)->sCond);
  free(*phSemaphore);
  *phSemaphore = nullptr;
  return SA_OK;
}

/* A count that would pass the maximum is refused as a whole; the count stays. */
int SA_ReleaseSemaphore(SA_Semaphore hSemaphore, uint32_t u32Count) {
  if (hSemaphore == nullptr || u32Count == 0) return SA_ERROR;
  pthread_mutex_lock(&hSemaphore->sCond.sMutex);
  int iResult = SA_ERROR;
  if (u32Count <= hSemaphore->u32Maximum - hSemaphore->u32Count) {
    hSemaphore->u32Count += u32Count;
    pthread_cond_broadcast(&hSemaphore->sCond.sCond);
    iResult = SA_OK;
  }
  pthread_mutex_unlock(&hSemaphore->sCond.sMutex);
  return iResult;
}

int SA_TakeSemaphoreTimeout(SA_Semaphore hSemaphore, uint32_t u32TimeoutMs) {
  if (hSemaphore == nullptr) return SA_ERROR;
  return SA_PosixCondLockAndWait(&hSemaphore->sCond, u32TimeoutMs, IsAvailable, TakeOne, hSemaphore);
}

}  // extern "C"
