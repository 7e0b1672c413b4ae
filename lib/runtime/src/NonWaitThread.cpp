/* The reaper: a thread that frees the records of threads handed over to it once they end. */
#include "SA_Core.h"

struct ReaperEntry {
  ReaperEntry *psNext;
  SA_Thread psThread;
};

struct ReaperData {
  SA_Mutex hNonWaitThreadMutex;
  ReaperEntry *psList;
  int bRunning;
  SA_Thread psCollector;
  SA_Semaphore hWakeUp;
};

static ReaperData *psNonWaitData = nullptr;

/* Under the reaper's mutex. */
static void ReapEndedThreads(ReaperData *psData) {
  ReaperEntry **ppsLink = &psData->psList;
  while (*ppsLink != nullptr) {
    ReaperEntry *psEntry = *ppsLink;
    if (SA_WaitThreadTimeout(psEntry->psThread, 0) == SA_TIMEOUT) {
      ppsLink = &psEntry->psNext;
      continue;
    }
    *ppsLink = psEntry->psNext;
    SA_ExitThread(&psEntry->psThread);
    SA_Free(&psEntry);
  }
}

static int MayEnd(ReaperData *psData) {
  SA_ASSERT(SA_LockMutex(psData->hNonWaitThreadMutex) == SA_OK);
  int bMayEnd = !psData->bRunning && psData->psList == nullptr;
  SA_UnlockMutex(psData->hNonWaitThreadMutex);
  return bMayEnd;
}

/* The reaper record outlives this thread: its release waits for the thread to end. */
static void GarbageCollector(void *) {
  while (!MayEnd(psNonWaitData)) {
    SA_TakeSemaphoreTimeout(psNonWaitData->hWakeUp, 1000);
    SA_ASSERT(SA_LockMutex(psNonWaitData->hNonWaitThreadMutex) == SA_OK);
    ReapEndedThreads(psNonWaitData);
    SA_UnlockMutex(psNonWaitData->hNonWaitThreadMutex);
  }
}

extern "C" {

void SA_ReleaseNonWaitThread(void) {
  ReaperData *psData = psNonWaitData;
  if (psData == nullptr) return;
  if (psData->hNonWaitThreadMutex != nullptr) {
    SA_LockMutex(psData->hNonWaitThreadMutex);
    psData->bRunning = 0;
    SA_UnlockMutex(psData->hNonWaitThreadMutex);
  }
  if (psData->psCollector != nullptr) {
    SA_ReleaseSemaphore(psData->hWakeUp, 1);
    SA_WaitThreadTimeout(psData->psCollector, SA_INFINITE);
    SA_ExitThread(&psData->psCollector);
  }
  SA_DestroySemaphore(&psData->hWakeUp);
  SA_DestroyMutex(&psData->hNonWaitThreadMutex);
  SA_Free(&psNonWaitData);
}

int SA_InitNonWaitThread(void) {
  SA_ASSERT(!psNonWaitData);
  if (psNonWaitData != nullptr) return SA_ERROR;
  psNonWaitData = (ReaperData *)SA_Calloc(1, sizeof(ReaperData));
  if (psNonWaitData == nullptr) return SA_ERROR;
  psNonWaitData->bRunning = 1;
  if (SA_CreateSemaphore(&psNonWaitData->hWakeUp, 0, 1) != SA_OK ||
      SA_CreateMutex(&psNonWaitData->hNonWaitThreadMutex) != SA_OK ||
      SA_CreateThreadInfo(&psNonWaitData->psCollector, GarbageCollector, nullptr, __FILE__, __func__,
                          (uint32_t)__LINE__, "GarbageCollector") != SA_OK) {
    SA_ReleaseNonWaitThread();
    return SA_ERROR;
  }
  return SA_OK;
}

int SA_NonWaitThread(SA_Thread *ppsThread) {
  if (ppsThread == nullptr || *ppsThread == nullptr || psNonWaitData == nullptr) return SA_ERROR;
  ReaperEntry *psEntry = (ReaperEntry *)SA_Calloc(1, sizeof(ReaperEntry));
  if (psEntry == nullptr) return SA_ERROR;
  psEntry->psThread = *ppsThread;
  SA_LockMutex(psNonWaitData->hNonWaitThreadMutex);
  psEntry->psNext = psNonWaitData->psList;
  psNonWaitData->psList = psEntry;
  SA_UnlockMutex(psNonWaitData->hNonWaitThreadMutex);
  *ppsThread = nullptr;
  /* Already awake when the count is at its maximum. */
  SA_ReleaseSemaphore(psNonWaitData->hWakeUp, 1);
  return SA_OK;
}

}  // extern "C"
