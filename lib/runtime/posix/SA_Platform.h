/* The platform layer's internal interface: what the portable runtime sources need from
 * the system beyond the public mutex, event, semaphore and clock calls. */
#ifndef SA_PLATFORM_H
#define SA_PLATFORM_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SA_PlatformThreadRec *SA_PlatformThread;

/* Starts routine(argument) on a new thread; the stack is at least the given size (0: default).
 * 0 with *phThread and *pu32Id set, or -1. */
int SA_PlatformThreadCreate(SA_PlatformThread *phThread, PTHREADFUNCTION rRoutine, void *pArgument,
                            uint32_t u32StackSize, uint32_t *pu32Id);
/* 0 once the thread's routine has ended, 1 on time-out, -1 on error. */
int SA_PlatformThreadWait(SA_PlatformThread hThread, uint32_t u32TimeoutMs);
/* Drops the caller's hold on the thread; a running thread keeps running. */
void SA_PlatformThreadClose(SA_PlatformThread *phThread);
/* Runtime priority -3..3; 0 or -1. */
int SA_PlatformThreadSetPriority(SA_PlatformThread hThread, int32_t i32Priority);
void SA_PlatformThreadExitCurrent(void);

/* The C library's time-zone set-up. */
void SA_PlatformTimeZoneInit(void);

/* Processor feature report, leaf 1: 1 with the EDX bits, 0 without a report. */
int SA_PlatformCpuFeatures(uint32_t *pu32Edx);

#ifdef __cplusplus
}
#endif

#endif
