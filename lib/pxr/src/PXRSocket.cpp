/* Socket waits of the connection threads that end as soon as the handle stops, reads that
 * keep every byte a partial read brought, and the writes of a handle's messages. */
#include "PXR_Internal.h"

#include <cerrno>

namespace {

const uint32_t kReadMax = 65536;

uint32_t remainingTime(uint32_t u32Start, uint32_t u32TimeoutMs)
{
    if (u32TimeoutMs == SA_INFINITE)
        return SA_INFINITE;
    uint32_t u32Elapsed = SA_ElapsedTime(u32Start, SA_GetTickMs());
    return u32Elapsed >= u32TimeoutMs ? 0 : u32TimeoutMs - u32Elapsed;
}

} // namespace

extern "C" {

int PXR_isRunning(PXR *psPxr)
{
    return psPxr && SA_AtomicLoad(&psPxr->i32Running) != 0;
}

int PXR_pause(PXR *psPxr, uint32_t u32Ms)
{
    if (!PXR_isRunning(psPxr))
        return 0;
    if (u32Ms > 0)
        SA_WaitEventTimeout(psPxr->hStopEvent, u32Ms);
    return PXR_isRunning(psPxr);
}

int32_t PXR_cancelCallback(SA_Socket, void *pArgument)
{
    return PXR_isRunning(static_cast<PXR *>(pArgument)) ? 0 : SA_ERROR;
}

int PXR_waitForData(PXR *psPxr, SA_Socket psSocket, uint32_t u32TimeoutMs, uint32_t *pu32Count)
{
    uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        if (!PXR_isRunning(psPxr))
            return SA_ERROR;
        uint32_t u32Remaining = remainingTime(u32Start, u32TimeoutMs);
        if (u32Remaining == 0)
            return SA_TIMEOUT;
        uint32_t u32Slice = PXR_timing()->u32StopPollMs;
        if (u32Remaining < u32Slice)
            u32Slice = u32Remaining;
        int iResult = SA_WaitForDataOnSocket(psSocket, pu32Count, u32Slice);
        if (iResult != SA_TIMEOUT)
            return iResult == SA_OK ? SA_OK : SA_ERROR;
    }
}

int PXR_fillBuffer(PXR *psPxr, SA_Socket psSocket, PXRStreamBuffer *psBuffer, uint32_t u32Count,
                   uint32_t u32TimeoutMs)
{
    uint32_t u32Start = SA_GetTickMs();
    while (psBuffer->u32Length < u32Count) {
        uint32_t u32Ready = 0;
        int iResult = PXR_waitForData(psPxr, psSocket, remainingTime(u32Start, u32TimeoutMs), &u32Ready);
        if (iResult != SA_OK)
            return iResult;
        if (u32Ready == 0)
            return SA_ERROR;
        // The bytes are there already: the read cannot wait for long.
        uint32_t u32Read = u32Ready < kReadMax ? u32Ready : kReadMax;
        if (PXRStreamBufferReadFromSocket(psBuffer, psSocket, u32Read, PXR_timing()->u32ConnectTimeoutMs) != 0)
            return SA_ERROR;
    }
    return SA_OK;
}

int PXR_readMessage(PXR *psPxr, PXRMsg *psMsg, SA_Socket psSocket, uint32_t u32TimeoutMs,
                    PXRStreamBuffer *psBuffer, XML_Parser hParser)
{
    uint32_t u32Start = SA_GetTickMs();
    if (psBuffer->u32Length == 0) {
        uint32_t u32Ready = 0;
        int iResult = PXR_waitForData(psPxr, psSocket, u32TimeoutMs, &u32Ready);
        if (iResult == SA_TIMEOUT) {
            PXR_setLastError(psMsg, "Socket timeouted");
            return 1;
        }
        if (iResult != SA_OK) {
            PXR_setLastError(psMsg, "Unable to read binary data (socket error %d)", errno);
            return -1;
        }
    }
    uint32_t u32Remaining = remainingTime(u32Start, u32TimeoutMs);
    return PXRMsg_readFromSocket2(psMsg, psSocket, u32Remaining ? u32Remaining : 1, psBuffer, hParser, nullptr,
                                  nullptr);
}

int PXR_writeMessage(PXR *psPxr, SA_Socket psSocket, PXRMsg *psMsg)
{
    return psSocket && PXRMsg_writeToSocket(psMsg, psSocket, psPxr->psSendBufferPool,
                                            psPxr->psDetachedSendBufferPool);
}

PXRMsg *PXR_makeMessage(const char *pcszRoot, const char *pcszAttribute, const char *pcszValue)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate(pcszRoot);
    if (!psMsg || !psRoot || !PXRMsgSetChild(psMsg, psRoot)) {
        PXRMsgElementDestroy(psRoot);
        PXRMsgDestroy(psMsg);
        return nullptr;
    }
    if (pcszAttribute)
        PXRMsgElementSetAttribute(psRoot, pcszAttribute, pcszValue);
    return psMsg;
}

} // extern "C"
