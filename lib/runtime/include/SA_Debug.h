/* The debug name service: tells a debugging client on which TCP port a named debug
 * channel of the process listens. Started by SA_Init only when given a debug port. */
#ifndef SA_DEBUG_H
#define SA_DEBUG_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The running service: its port, thread and channel list. */
typedef struct SA_DebugDataRec *SA_DebugData;
/* One named debug channel with its own TCP port. */
typedef struct SA_DebugChannelRec *SA_DebugChannel;

/* Starts the service on the name port, channels using the given port range; null on failure. */
SA_DebugData DebugConnectionServerInit(int32_t i32Port, int32_t i32FirstChannelPort, int32_t i32LastChannelPort);
/* Stops the service, destroys its channels, frees it and sets the variable null. */
void DebugConnectionServerRelease(SA_DebugData *ppsDebugData);
/* Unlinks a channel from the service, stops its workers, frees it and sets the variable null. */
void DestroyDebugChannel(SA_DebugData psDebugData, SA_DebugChannel *ppsChannel);
/* The first channel with that name, ASCII letter case ignored, or null. */
SA_DebugChannel LocateDebugChannel(SA_DebugData psDebugData, const char *pcszChannelName);
/* 1 when both texts are equal with ASCII letter case ignored, else 0. */
int CmpForEqual(const char *pcsz1, const char *pcsz2);

#ifdef __cplusplus
}
#endif

#endif
