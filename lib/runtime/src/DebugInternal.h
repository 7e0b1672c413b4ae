/* Records of the debug name service and its channels. */
#ifndef DEBUG_INTERNAL_H
#define DEBUG_INTERNAL_H

#include "SA_Internal.h"

#include <atomic>

struct SA_DebugChannelRec {
    SA_DebugChannel psNext;
    char *pszName;
    int32_t i32Port;
    SA_Thread apsThread[2];
    SA_Mutex hMutex;
    std::atomic<int> bRunning;
    void *pBuffer;
    SA_Event hEvent;
};

struct SA_DebugDataRec {
    int32_t i32Port;
    SA_Thread psThread;
    std::atomic<int> bRunning;
    SA_DebugChannel psChannels;
    SA_Mutex hChannelListMutex;
    int32_t i32FirstChannelPort;
    int32_t i32LastChannelPort;
    int32_t i32NextChannelPort;
};

#endif
