/* Events: a set flag under a condition variable, auto-reset or manual-reset. */
#include <stdlib.h>

#include "PosixCond.h"
#include "SA_Core.h"

struct SA_EventRec {
  SA_PosixCond sCond;
  int bSet;
  int bManual;
};

static int IsSet(void *pState) { return ((SA_EventRec *)pState)->bSet; }

/* A successful wait clears an auto-reset event. */
static void Consume(void *pState) {
  SA_EventRec *psEvent = (SA_EventRec *)pState;
  if (!psEvent->bManual) psEvent->bSet = 0;
}

static int CreateEvent(SA_Event *phEvent, int bManual) {
  if (phEvent == nullptr) return SA_ERROR;
  *phEvent = nullptr;
  SA_Event hEvent = (SA_Event)calloc(1, sizeof(SA_EventRec));
  if (hEvent == nullptr) return SA_ERROR;
  if (SA_PosixCondInit(&hEvent->sCond) != SA_OK) {
    free(hEvent);
    return SA_ERROR;
  }
  hEvent->bManual = bManual;
  *phEvent = hEvent;
  return SA_OK;
}

extern "C" {

int SA_CreateEventInfo(SA_Event *phEvent, const char *, const char *, uint32_t) {
  return CreateEvent(phEvent, 0);
}

int SA_CreateEventManualInfo(SA_Event *phEvent, const char *, const char *, uint32_t) {
  return CreateEvent(phEvent, 1);
}

int SA_DestroyEvent(SA_Event *phEvent) {
  if (phEvent == nullptr || *phEvent == nullptr) return SA_OK;
  SA_PosixCondDestroy(&(*phEvent)->sCond);
  free(*phEvent);
  *phEvent = nullptr;
  return SA_OK;
}

int SA_SetEvent(SA_Event hEvent) {
  if (hEvent == nullptr) return SA_OK;
  pthread_mutex_lock(&hEvent->sCond.sMutex);
  hEvent->bSet = 1;
  if (hEvent->bManual)
    pthread_cond_broadcast(&hEvent->sCond.sCond);
  else
    pthread_cond_signal(&hEvent->sCond.sCond);
  pthread_mutex_unlock(&hEvent->sCond.sMutex);
  return SA_OK;
}

int SA_ClearEvent(SA_Event hEvent) {
  if (hEvent == nullptr) return SA_ERROR;
  pthread_mutex_lock(&hEvent->sCond.sMutex);
  hEvent->bSet = 0;
  pthread_mutex_unlock(&hEvent->sCond.sMutex);
  return SA_OK;
}

int SA_WaitEventTimeout(SA_Event hEvent, uint32_t u32TimeoutMs) {
  if (hEvent == nullptr) return SA_ERROR;
  return SA_PosixCondLockAndWait(&hEvent->sCond, u32TimeoutMs, IsSet, Consume, hEvent);
}

}  // extern "C"
