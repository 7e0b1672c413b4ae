/* The timer service: pending timers and the system timer period, held at its minimum
 * while the runtime runs. */
#include "SA_Core.h"

struct PendingTimer {
  SA_Event hEvent;
  int bArmed;
  PendingTimer *psNext;
};

struct TimerService {
  PendingTimer *psList;
  SA_Mutex hMutex;
  uint32_t u32MinimumPeriod;
  int bPeriodRaised;
};

static TimerService *g_psTimers = nullptr;

static void ReleaseService(TimerService **ppsService) {
  TimerService *psService = *ppsService;
  SA_DestroyMutex(&psService->hMutex);
  if (psService->bPeriodRaised) SA_EndTimerPeriod(psService->u32MinimumPeriod);
  SA_Free(ppsService);
}

static void DropPendingTimers(TimerService *psService) {
  SA_LockMutex(psService->hMutex);
  while (psService->psList != nullptr) {
    PendingTimer *psTimer = psService->psList;
    psService->psList = psTimer->psNext;
    if (psTimer->bArmed) SA_SetEvent(psTimer->hEvent);
    SA_DestroyEvent(&psTimer->hEvent);
    SA_Free(&psTimer);
  }
  SA_UnlockMutex(psService->hMutex);
}

extern "C" {

int SA_InitTimers(void) {
  if (g_psTimers != nullptr) return SA_OK;
  TimerService *psService = (TimerService *)SA_Calloc(1, sizeof(TimerService));
  if (psService == nullptr) return SA_ERROR;
  if (SA_CreateMutex(&psService->hMutex) != SA_OK ||
      SA_GetTimerPeriodRange(&psService->u32MinimumPeriod, nullptr) != SA_OK ||
      SA_BeginTimerPeriod(psService->u32MinimumPeriod) != SA_OK) {
    ReleaseService(&psService);
    return SA_ERROR;
  }
  psService->bPeriodRaised = 1;
  g_psTimers = psService;
  return SA_OK;
}

void SA_ReleaseTimers(void) {
  if (g_psTimers == nullptr) return;
  DropPendingTimers(g_psTimers);
  ReleaseService(&g_psTimers);
}

}  // extern "C"
