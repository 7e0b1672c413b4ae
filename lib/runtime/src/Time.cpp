/* The time service's start and release steps, and tick arithmetic that survives the wrap. */
#include "SA_Platform.h"

static SA_Mutex g_hTimeMutex = nullptr;

extern "C" {

int SA_InitTime(void) {
  SA_PlatformTimeZoneInit();
  if (g_hTimeMutex != nullptr) return SA_OK;
  return SA_CreateMutex(&g_hTimeMutex);
}

void SA_ReleaseTime(void) { SA_DestroyMutex(&g_hTimeMutex); }

int32_t SA_DiffTime(uint32_t u32Start, uint32_t u32End) { return (int32_t)(u32End - u32Start); }

uint32_t SA_ElapsedTime(uint32_t u32Start, uint32_t u32End) { return u32End - u32Start; }

}  // extern "C"
