/* Clocks, sleep and timer period on POSIX: the 32-bit millisecond tick from the monotonic
 * clock (with an offset tests set to reach its wrap), and the wall clock. */
#include <atomic>
#include <errno.h>
#include <time.h>

#include "SA_Internal.h"
#include "SA_Platform.h"

static std::atomic<uint32_t> g_u32TickOffset{0};

extern "C" {

void SA_SetTickOffsetForTest(uint32_t u32Offset) { g_u32TickOffset.store(u32Offset); }

uint32_t SA_GetTickMs(void) {
  struct timespec sNow;
  clock_gettime(CLOCK_MONOTONIC, &sNow);
  uint64_t u64Ms = (uint64_t)sNow.tv_sec * 1000u + (uint64_t)sNow.tv_nsec / 1000000u;
  return (uint32_t)u64Ms + g_u32TickOffset.load();
}

uint64_t SA_GetTimeMs(void) {
  struct timespec sNow;
  clock_gettime(CLOCK_REALTIME, &sNow);
  return (uint64_t)sNow.tv_sec * 1000u + (uint64_t)sNow.tv_nsec / 1000000u;
}

int32_t SA_GetTimeSeconds(void) { return (int32_t)time(nullptr); }

void SA_Sleep(uint32_t u32Ms) {
  struct timespec sDelay;
  sDelay.tv_sec = (time_t)(u32Ms / 1000u);
  sDelay.tv_nsec = (long)(u32Ms % 1000u) * 1000000L;
  while (nanosleep(&sDelay, &sDelay) != 0 && errno == EINTR) {
  }
}

/* Linux has no adjustable timer resolution: report 1 ms and accept every period. */
int SA_GetTimerPeriodRange(uint32_t *pu32Min, uint32_t *pu32Max) {
  if (pu32Min != nullptr) *pu32Min = 1;
  if (pu32Max != nullptr) *pu32Max = 1;
  return SA_OK;
}

int SA_BeginTimerPeriod(uint32_t) { return SA_OK; }

int SA_EndTimerPeriod(uint32_t) { return SA_OK; }

void SA_PlatformTimeZoneInit(void) { tzset(); }

}  // extern "C"
