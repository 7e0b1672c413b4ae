/* Runtime hooks for tests and for the runtime's own modules; not part of the interface. */
#ifndef SA_INTERNAL_H
#define SA_INTERNAL_H

#include "SA.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Added to the platform tick, so tests can put the tick just before its wrap. */
void SA_SetTickOffsetForTest(uint32_t u32Offset);
/* Forces the processor probe's result: 0 plain copy, 1 SSE, -1 probe again. */
void SA_SetSseStateForTest(int32_t i32State);

/* Makes every allocation of at least that many bytes fail; 0 ends it. */
void SA_FailAllocationsForTest(uint32_t u32FromSize);

/* Bytes of the header in front of every block in tracking mode. */
#define SA_TRACKED_HEADER_SIZE 32u

/* Start and release steps of other runtime modules, called by SA_Init / SA_Release. */
int SA_InitLog(void);
void SA_ReleaseLog(void);
int SA_InitNet(void);
void SA_ReleaseNet(void);
int SA_StartDebugServer(int32_t i32Port, int32_t i32FirstChannelPort, int32_t i32LastChannelPort);
void SA_StopDebugServer(void);
void AES_InitTables(void);

#ifdef __cplusplus
}
#endif

#endif
