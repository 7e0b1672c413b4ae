/* Test hook of the wait queues; not part of the interface. */
#ifndef SA_WAIT_QUEUE_INTERNAL_H
#define SA_WAIT_QUEUE_INTERNAL_H

#include "SA_Queue.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Called with each request once it is pending, so tests can order clients without sleeping. */
typedef void (*SA_WaitQueueSentHook)(void *pRequest);
void SA_SetWaitQueueSentHookForTest(SA_WaitQueueSentHook rHook);

#ifdef __cplusplus
}
#endif

#endif
