/* Runtime core: start-up, clocks, assertions, memory, mutexes, events,
 * semaphores and threads. C linkage; results are SA_OK, SA_TIMEOUT or SA_ERROR. */
#ifndef SA_CORE_H
#define SA_CORE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SA_OK 0
#define SA_TIMEOUT 1
#define SA_ERROR (-1)
/* A time-out of all bits set waits without limit. */
#define SA_INFINITE 0xFFFFFFFFu

/* ---- start-up, clocks and assertions ---- */

/* Counted start: only the first call runs the start steps. 0 or -1. */
int SA_Init(uint32_t u32HeapSize, int bTracking, int32_t i32DebugPort);
/* Counted release: the call that brings the count to 0 releases everything. */
void SA_Release(void);
/* Number of SA_Init calls not yet matched by SA_Release. */
int32_t SA_GetInitCount(void);

/* Wall clock: milliseconds since 1970-01-01 00:00:00 UTC. */
uint64_t SA_GetTimeMs(void);
/* Wall clock: seconds since 1970-01-01 00:00:00 UTC. */
int32_t SA_GetTimeSeconds(void);
/* The 32-bit millisecond tick of every time-out; wraps after 2^32 ms. */
uint32_t SA_GetTickMs(void);
void SA_Sleep(uint32_t u32Ms);
/* end - start as a signed value. */
int32_t SA_DiffTime(uint32_t u32Start, uint32_t u32End);
/* end - start modulo 2^32. */
uint32_t SA_ElapsedTime(uint32_t u32Start, uint32_t u32End);

/* Words that threads share without a lock. Sequentially consistent: a caller may store one
 * flag and then load another while a second thread does the reverse. */
static inline int32_t SA_AtomicLoad(const int32_t *pi32Value)
{
    return __atomic_load_n(pi32Value, __ATOMIC_SEQ_CST);
}
static inline void SA_AtomicStore(int32_t *pi32Value, int32_t i32Value)
{
    __atomic_store_n(pi32Value, i32Value, __ATOMIC_SEQ_CST);
}
static inline uint32_t SA_AtomicLoadU(const uint32_t *pu32Value)
{
    return __atomic_load_n(pu32Value, __ATOMIC_SEQ_CST);
}
static inline void SA_AtomicStoreU(uint32_t *pu32Value, uint32_t u32Value)
{
    __atomic_store_n(pu32Value, u32Value, __ATOMIC_SEQ_CST);
}

int SA_GetTimerPeriodRange(uint32_t *pu32Min, uint32_t *pu32Max);
int SA_BeginTimerPeriod(uint32_t u32Period);
int SA_EndTimerPeriod(uint32_t u32Period);

int SA_InitTime(void);
void SA_ReleaseTime(void);
int SA_InitNamedObjects(void);
void SA_ReleaseNamedObjects(void);
int SA_InitTimers(void);
void SA_ReleaseTimers(void);

typedef void (*SA_AssertHandler)(const char *pcszExpression, const char *pcszFile,
                                 const char *pcszFunction, uint32_t u32Line,
                                 const char *pcszTaskName, const char *pcszInfo);

/* Reports a false condition to the installed handler; never stops the program. */
void SA_Assert(int iCondition, const char *pcszExpression, const char *pcszFile,
               const char *pcszFunction, uint32_t u32Line, const char *pcszInfo);
/* Installs a handler (or none); returns the previous one. */
SA_AssertHandler SA_SetAssertHandler(SA_AssertHandler rHandler);

#define SA_ASSERT(exp) SA_Assert((exp) ? 1 : 0, #exp, __FILE__, __func__, (uint32_t)__LINE__, NULL)

/* ---- memory ---- */

typedef void (*SA_MemoryLeakCallback)(const char *pcszTitle, const char *pcszLine, void *pUser);
typedef struct SA_MemoryRec *SA_Memory;

/* Block of at least size bytes (not zeroed), or null for 0 or no memory. Caller frees. */
void *SA_MallocInfo(uint32_t u32Size, const char *pcszFile, uint32_t u32Line);
/* Zeroed block of count x size bytes, or null (also when the product overflows). */
void *SA_CallocInfo(uint32_t u32Count, uint32_t u32Size, const char *pcszFile, uint32_t u32Line);
/* Releases *pp and sets it null; a null *pp is left alone. 0, or -1 when tracking refuses the block. */
int SA_FreeInfo(void **pp, const char *pcszFile, const char *pcszFunction, uint32_t u32Line);
int SA_InitHeap(uint32_t u32Size, int bTracking);
void SA_ReleaseHeap(void);
void SA_SetMemoryLeakCallback(SA_MemoryLeakCallback rCallback, const char *pcszTitle, void *pUser);

/* Size of an arena block's header (pointer-sized links, payloads kept 16-byte aligned);
 * an arena must be larger than one header. */
#define SA_MEMORY_HEADER_SIZE ((uint32_t)((8u + 4u * sizeof(void *) + 15u) / 16u * 16u))

SA_Memory SA_MemoryCreate(uint32_t u32MemorySizeInBytes);
void *SA_MemoryAlloc(SA_Memory psMemory, uint32_t u32RequiredSizeInBytes);
void SA_MemoryFree(SA_Memory psMemory, void **pp);
void SA_MemoryRelease(SA_Memory *ppsMemory);
/* Counters of an arena, for diagnosis and tests. */
void SA_MemoryGetStats(SA_Memory psMemory, uint32_t *pu32Total, uint32_t *pu32InUse,
                       uint32_t *pu32HandedOut, uint32_t *pu32FreeBlocks);

/* 16-byte-aligned block, or null. Release with SA_FreeParaAlignedInfo. */
void *SA_AllocParaAlignedInfo(uint32_t u32Size, const char *pcszFile, uint32_t u32Line);
int SA_FreeParaAlignedInfo(void **pp, const char *pcszFile, const char *pcszFunction, uint32_t u32Line);

void SA_MemZero(void *p, uint32_t u32Length);
void memcpyC(void *pDest, const void *pSrc, uint32_t u32Length);
void SA_MemCpy(void *pDest, const void *pSrc, uint32_t u32Length);
void SA_MemCpyBlocks(void *pDest, const void *pSrc, uint32_t u32Length);
void SA_DetectSse(void);
int SA_GetCpuFeatures(int *pbMmx, int *pbSse, int *pbSse2);
/* Copy of a text from the runtime allocator, or null. Caller frees. */
char *SU_Strdup(const char *pcszStringToDup);

#define SA_Malloc(size) SA_MallocInfo((size), __FILE__, (uint32_t)__LINE__)
#define SA_Calloc(count, size) SA_CallocInfo((count), (size), __FILE__, (uint32_t)__LINE__)
#define SA_Free(pp) SA_FreeInfo((void **)(pp), __FILE__, __func__, (uint32_t)__LINE__)
#define SA_AllocParaAligned(size) SA_AllocParaAlignedInfo((size), __FILE__, (uint32_t)__LINE__)
#define SA_FreeParaAligned(pp) SA_FreeParaAlignedInfo((void **)(pp), __FILE__, __func__, (uint32_t)__LINE__)

/* ---- mutexes, events, semaphores, threads ---- */

typedef struct SA_OsMutexRec *SA_OsMutex;
typedef struct SA_EventRec *SA_Event;
typedef struct SA_SemaphoreRec *SA_Semaphore;
typedef struct SA_MutexRec *SA_Mutex;
typedef struct SA_ThreadRec *SA_Thread;
typedef void (*PTHREADFUNCTION)(void *pArgument);

/* Recursive mutexes owned by the locking thread. */
int SA_CreateOsMutex(SA_OsMutex *phMutex);
int SA_DestroyOsMutex(SA_OsMutex *phMutex);
int SA_LockOsMutexTimeout(SA_OsMutex hMutex, uint32_t u32TimeoutMs);
int SA_UnlockOsMutex(SA_OsMutex hMutex);
#define SA_LockOsMutex(h) SA_LockOsMutexTimeout((h), SA_INFINITE)

int SA_CreateMutexInfo(SA_Mutex *phMutex, const char *pcszFile, const char *pcszFunction, uint32_t u32Line);
int SA_DestroyMutex(SA_Mutex *phMutex);
int SA_LockMutexTimeout(SA_Mutex hMutex, uint32_t u32TimeoutMs);
int SA_UnlockMutex(SA_Mutex hMutex);
#define SA_CreateMutex(ph) SA_CreateMutexInfo((ph), __FILE__, __func__, (uint32_t)__LINE__)
#define SA_LockMutex(h) SA_LockMutexTimeout((h), SA_INFINITE)

/* Events are created clear; auto-reset events release one waiter. */
int SA_CreateEventInfo(SA_Event *phEvent, const char *pcszFile, const char *pcszFunction, uint32_t u32Line);
int SA_CreateEventManualInfo(SA_Event *phEvent, const char *pcszFile, const char *pcszFunction, uint32_t u32Line);
int SA_DestroyEvent(SA_Event *phEvent);
int SA_SetEvent(SA_Event hEvent);
int SA_ClearEvent(SA_Event hEvent);
int SA_WaitEventTimeout(SA_Event hEvent, uint32_t u32TimeoutMs);
#define SA_CreateEvent(ph) SA_CreateEventInfo((ph), __FILE__, __func__, (uint32_t)__LINE__)
#define SA_CreateEventManual(ph) SA_CreateEventManualInfo((ph), __FILE__, __func__, (uint32_t)__LINE__)
#define SA_WaitEvent(h) SA_WaitEventTimeout((h), SA_INFINITE)

int SA_CreateSemaphore(SA_Semaphore *phSemaphore, uint32_t u32Initial, uint32_t u32Maximum);
int SA_DestroySemaphore(SA_Semaphore *phSemaphore);
int SA_ReleaseSemaphore(SA_Semaphore hSemaphore, uint32_t u32Count);
int SA_TakeSemaphoreTimeout(SA_Semaphore hSemaphore, uint32_t u32TimeoutMs);

int SA_CreateThreadExInfo(SA_Thread *ppsThread, PTHREADFUNCTION rThreadMain, void *pArgument,
                          uint32_t u32StackSize, int32_t i32Priority, const char *pcszFile,
                          const char *pcszFunction, uint32_t u32Line, const char *pcszThreadName);
int SA_CreateThreadInfo(SA_Thread *ppsThread, PTHREADFUNCTION rThreadMain, void *pArgument,
                        const char *pcszFile, const char *pcszFunction, uint32_t u32Line,
                        const char *pcszThreadName);
int SA_WaitThreadTimeout(SA_Thread psThread, uint32_t u32TimeoutMs);
/* Frees the record; a running thread is not stopped. */
void SA_ExitThread(SA_Thread *ppsThread);
void SA_ExitCurrentThread(void);
/* Priority of a thread of this runtime: -3 (idle) .. 3 (time critical). 0, or -1 for a value
 * outside that scale or a refusal of the system; above normal needs privileges on Linux and
 * otherwise stays at normal. */
int SA_SetThreadPriority(SA_Thread psThread, int32_t i32Priority);
#define SA_CreateThread(pps, r, arg) SA_CreateThreadInfo((pps), (r), (arg), __FILE__, __func__, (uint32_t)__LINE__, #r)
#define SA_CreateThreadEx(pps, r, arg, stack, prio) \
    SA_CreateThreadExInfo((pps), (r), (arg), (stack), (prio), __FILE__, __func__, (uint32_t)__LINE__, #r)

int SA_InitNonWaitThread(void);
void SA_ReleaseNonWaitThread(void);
/* Hands a thread to the reaper, which frees its record once it has ended: 0 with *ppsThread
 * null, or -1 (runtime not started). The runtime's last release waits for such threads. */
int SA_NonWaitThread(SA_Thread *ppsThread);

#ifdef __cplusplus
}
#endif

#endif
