/* Counted start and release of the runtime, with the fixed order of their steps. */
#include <atomic>

#include "SA_Internal.h"

static std::atomic<int32_t> g_i32InitCount{0};

/* Each step does nothing for a service that was not started. The log goes before the heap:
 * its record comes from the runtime allocator, which must not be used after the heap step. */
static void ReleaseSteps(void) {
  SA_ReleaseNonWaitThread();
  SA_StopDebugServer();
  SA_ReleaseNet();
  SA_ReleaseTimers();
  SA_ReleaseNamedObjects();
  SA_ReleaseTime();
  SA_ReleaseLog();
  SA_ReleaseHeap();
}

static int StartSteps(uint32_t u32HeapSize, int bTracking, int32_t i32DebugPort) {
  if (SA_InitHeap(u32HeapSize, bTracking) != SA_OK) return SA_ERROR;
  if (SA_InitTime() != SA_OK) return SA_ERROR;
  if (SA_InitLog() != SA_OK) return SA_ERROR;
  if (SA_InitNamedObjects() != SA_OK) return SA_ERROR;
  if (SA_InitTimers() != SA_OK) return SA_ERROR;
  if (SA_InitNonWaitThread() != SA_OK) return SA_ERROR;
  if (SA_InitNet() != SA_OK) return SA_ERROR;
  if (i32DebugPort != -1 && SA_StartDebugServer(i32DebugPort, i32DebugPort + 1, i32DebugPort + 250) != SA_OK)
    return SA_ERROR;
  AES_InitTables();
  return SA_OK;
}

extern "C" {

int SA_Init(uint32_t u32HeapSize, int bTracking, int32_t i32DebugPort) {
  if (g_i32InitCount.fetch_add(1) != 0) return SA_OK;
  if (StartSteps(u32HeapSize, bTracking, i32DebugPort) == SA_OK) return SA_OK;
  if (g_i32InitCount.fetch_sub(1) == 1) ReleaseSteps();
  return SA_ERROR;
}

void SA_Release(void) {
  int32_t i32Count = g_i32InitCount.load();
  while (i32Count > 0 && !g_i32InitCount.compare_exchange_weak(i32Count, i32Count - 1)) {
  }
  if (i32Count == 1) ReleaseSteps();
}

int32_t SA_GetInitCount(void) { return g_i32InitCount.load(); }

}  // extern "C"
