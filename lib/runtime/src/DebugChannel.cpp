/* The debug service's channel list: look-up by name and destruction of a channel. */
#include "DebugInternal.h"

#include <string.h>

extern "C" {

int CmpForEqual(const char *pcsz1, const char *pcsz2)
{
    SA_ASSERT(pcsz1 && pcsz2);
    if (pcsz1 == nullptr || pcsz2 == nullptr)
        return 0;
    if (strlen(pcsz1) != strlen(pcsz2))
        return 0;
    for (; *pcsz1 != '\0'; pcsz1++, pcsz2++) {
        char c1 = (*pcsz1 >= 'a' && *pcsz1 <= 'z') ? static_cast<char>(*pcsz1 - 'a' + 'A') : *pcsz1;
        char c2 = (*pcsz2 >= 'a' && *pcsz2 <= 'z') ? static_cast<char>(*pcsz2 - 'a' + 'A') : *pcsz2;
        if (c1 != c2)
            return 0;
    }
    return 1;
}

SA_DebugChannel LocateDebugChannel(SA_DebugData psDebugData, const char *pcszChannelName)
{
    SA_ASSERT(psDebugData && pcszChannelName);
    if (psDebugData == nullptr || pcszChannelName == nullptr)
        return nullptr;
    for (SA_DebugChannel psChannel = psDebugData->psChannels; psChannel != nullptr; psChannel = psChannel->psNext)
        if (CmpForEqual(psChannel->pszName, pcszChannelName))
            return psChannel;
    return nullptr;
}

void DestroyDebugChannel(SA_DebugData psDebugData, SA_DebugChannel *ppsChannel)
{
    SA_ASSERT(psDebugData);
    if (psDebugData == nullptr || ppsChannel == nullptr || *ppsChannel == nullptr)
        return;
    SA_DebugChannel psChannel = *ppsChannel;
    psChannel->bRunning = 0;
    SA_LockMutex(psDebugData->hChannelListMutex);
    for (SA_DebugChannel *ppsLink = &psDebugData->psChannels; *ppsLink != nullptr; ppsLink = &(*ppsLink)->psNext) {
        if (*ppsLink == psChannel) {
            *ppsLink = psChannel->psNext;
            break;
        }
    }
    SA_UnlockMutex(psDebugData->hChannelListMutex);
    for (SA_Thread &psThread : psChannel->apsThread) {
        if (psThread != nullptr) {
            SA_WaitThreadTimeout(psThread, SA_INFINITE);
            SA_ExitThread(&psThread);
        }
    }
    SA_Free(&psChannel->pBuffer);
    SA_DestroyMutex(&psChannel->hMutex);
    SA_DestroyEvent(&psChannel->hEvent);
    SA_Free(&psChannel->pszName);
    psChannel->~SA_DebugChannelRec();
    SA_Free(ppsChannel);
}

} /* extern "C" */
