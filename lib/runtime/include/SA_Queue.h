/* Containers for handing pointers between threads: pointer rings (pools and blocking
 * queues), request/reply wait queues, buffer pools and the parallel queue. */
#ifndef SA_QUEUE_H
#define SA_QUEUE_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SA_PoolRec *SA_Pool;
typedef struct SA_QueueRec *SA_Queue;
typedef struct SA_WaitQueueDataRec *SA_WaitQueueData;
typedef struct SA_WaitQueueItemRec *SA_WaitQueueItem;
typedef struct SU_ParaQueueRec *SU_ParaQueue;

/* ---- pointer rings; none of them copies or frees what its pointers point to ---- */

/* Empty ring of u32Capacity slots into *ppsPool. 0, or -1 (capacity 0, no memory). */
int SA_CreatePool(SA_Pool *ppsPool, uint32_t u32Capacity);
/* Frees the ring (not the pointers left in it) and sets the variable null. */
void SA_ReleasePool(SA_Pool *ppsPool);
/* 0 with the capacity stored, -1 when either argument is null. */
int SA_GetPoolSize(SA_Pool psPool, uint32_t *pu32Size);
/* Appends without waiting: 0, or -1 when the pool is null or full. */
int SA_WritePool(SA_Pool psPool, void *p);
/* Takes the oldest pointer without waiting; null when the pool is null or empty. */
void *SA_ReadPool(SA_Pool psPool);

/* Empty blocking ring of u32Capacity slots into *ppsQueue. 0, or -1. */
int SA_CreateQueue(SA_Queue *ppsQueue, uint32_t u32Capacity);
/* Frees the ring (not the pointers left in it) and sets the variable null. */
void SA_ReleaseQueue(SA_Queue *ppsQueue);
/* Appends and wakes one reader: 0, or -1 when the queue is null or full. */
int SA_WriteQueue(SA_Queue psQueue, void *p);
/* Takes the oldest pointer, waiting up to the time-out; null when nothing came. */
void *SA_ReadQueue(SA_Queue psQueue, uint32_t u32TimeoutMs);

/* ---- request/reply wait queues; requests are the client's records, never copied ---- */

/* Wait queue of u32Size items into *ppsQueue. 0, or -1 with the variable null. */
int SA_CreateWaitQueueInfo(SA_WaitQueueData *ppsQueue, uint32_t u32Size, const char *pcszFile,
                           uint32_t u32Line);
/* Frees the queue with all its items and sets the variable null. Drain it first. */
void SA_DestroyWaitQueue(SA_WaitQueueData *ppsQueue);
/* Client: hands pRequest to a server and waits up to the time-out for its reply. 0 replied,
 * 1 no reply in time (withdrawn), -1 no free item or no resources. Never returns while a
 * server still works on the request. */
int SA_SendWaitQueue(SA_WaitQueueData psQueue, void *pRequest, uint32_t u32TimeoutMs);
/* Server: the oldest request not yet taken, waiting up to the time-out, with its receive
 * handle in *phReceiveId; null with a null handle when none came. */
void *SA_WaitQueue(SA_WaitQueueData psQueue, uint32_t u32TimeoutMs, SA_WaitQueueItem *phReceiveId);
/* Server: replies to a taken request (from the thread that took it). 0, or -1. */
int SA_ReplyWaitQueue(SA_WaitQueueItem hReceiveId);
#define SA_CreateWaitQueue(pps, size) SA_CreateWaitQueueInfo((pps), (size), __FILE__, (uint32_t)__LINE__)

/* ---- buffer pools: an SA_Pool of free buffers that the pool owns ---- */

/* New empty pool, or null. Destroy with SU_PoolDestroy. */
SA_Pool SU_PoolCreate(uint32_t u32Capacity);
/* Frees every buffer left in the pool, then the pool; variable null. */
void SU_PoolDestroy(SA_Pool *ppsPool);
/* Takes every buffer out of the pool and frees it. */
void SU_PoolEmpty(SA_Pool psPool);
/* 1 after filling the pool to capacity with new buffers of u32BufferSize bytes; 0 after a
 * failure, with the pool emptied. */
int SU_PoolFillInfo(SA_Pool psPool, uint32_t u32BufferSize, int bAligned, const char *pcszFile,
                    uint32_t u32Line);
/* New zeroed buffer belonging to the pool (not put into it), or null. */
void *SU_PoolBufferCallocInfo(SA_Pool psPool, uint32_t u32BufferSize, int bAligned,
                              const char *pcszFile, uint32_t u32Line);
/* A free buffer taken out of the pool (now the caller's), or null when it is empty. */
void *SU_PoolRead(SA_Pool psPool);
/* 1 when *ppBuffer went back into its pool (variable null); 0 when null or the pool is full
 * (the buffer stays with the caller). */
int SU_PoolWrite(void **ppBuffer);
/* Frees a pool buffer with its header; variable null. */
void SU_PoolBufferFree(void **ppBuffer);
#define SU_PoolFill(pool, size, aligned) SU_PoolFillInfo((pool), (size), (aligned), __FILE__, (uint32_t)__LINE__)
#define SU_PoolBufferCalloc(pool, size, aligned) \
    SU_PoolBufferCallocInfo((pool), (size), (aligned), __FILE__, (uint32_t)__LINE__)

/* ---- parallel queue ---- */

typedef void (*SU_ParaQueueItemCallback)(void *pUserData, void *pBuffer);

typedef struct SU_ParaQueueParams {
    uint32_t u32Size;
    SU_ParaQueueItemCallback rItemCallback;
    void *pUserData;
} SU_ParaQueueParams;

/* New parallel queue with a pool of u32Size item buffers, or null. Destroy it. */
SU_ParaQueue SU_ParaQueueCreateInfo(const SU_ParaQueueParams *psParams, const char *pcszFile,
                                    const char *pcszFunction, uint32_t u32Line);
/* Frees the queue, its buffers and its worker queues; variable null. */
void SU_ParaQueueDestroy(SU_ParaQueue *ppsQueue);
#define SU_ParaQueueCreate(params) SU_ParaQueueCreateInfo((params), __FILE__, __func__, (uint32_t)__LINE__)

#ifdef __cplusplus
}
#endif

#endif
