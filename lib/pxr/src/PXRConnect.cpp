/* One connection's opening, shared by both connection threads: connect (plain or TLS) with
 * retries, sniff the protocol from the first bytes, read and check the sensor's hello. */
#include "PXR_Internal.h"

#include <cstdlib>

namespace {

const uint32_t kKeepAliveMs = 30000;

// Tells the application about a refused handshake; 1 when it changed the ignore mask meanwhile.
int reportTlsFailure(PXR *psPxr, uint32_t u32Mask, uint32_t u32Errors, const char *pcszConnection)
{
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DEBUG, "%s: SSL connection failed : SSL errors=%x", pcszConnection,
              u32Errors);
    SA_LockMutex(psPxr->hMutexState);
    if (psPxr->rStateCallback2)
        psPxr->rStateCallback2(psPxr, 0, u32Errors, psPxr->pStateUser2);
    SA_UnlockMutex(psPxr->hMutexState);
    return PXRGetIgnoreSSLErrors(psPxr) != u32Mask;
}

// One TLS attempt; 1 connected, else 0 after the wait the failure calls for.
int connectSecured(PXR *psPxr, SA_Socket *ppsSocket, const char *pcszConnection)
{
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DEBUG, "%s: Connecting with SSL ...", pcszConnection);
    uint32_t u32Mask = PXRGetIgnoreSSLErrors(psPxr);
    uint32_t u32Errors = 0;
    SA_LockMutex(psPxr->hMutexTls);
    int iResult = SA_ConnectSocketTCPsTimeoutEx(psPxr->pszServer, psPxr->u16Port, ppsSocket, nullptr, nullptr,
                                                PXR_timing()->u32ConnectTimeoutMs, u32Mask, &u32Errors,
                                                psPxr->psClientCert, psPxr->psClientKey, kKeepAliveMs);
    SA_UnlockMutex(psPxr->hMutexTls);
    SA_AtomicStoreU(&psPxr->u32SslErrors, u32Errors);
    if (iResult == SA_OK)
        return 1;
    if (u32Errors == 0)
        PXR_pause(psPxr, PXR_timing()->u32ConnectRetryMs);
    else if (!reportTlsFailure(psPxr, u32Mask, u32Errors, pcszConnection))
        PXR_pause(psPxr, PXR_timing()->u32TlsRetryMs);
    return 0;
}

int connectPlain(PXR *psPxr, SA_Socket *ppsSocket, const char *pcszConnection)
{
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DEBUG, "%s: Connecting ...", pcszConnection);
    if (SA_ConnectSocketTCPTimeout(psPxr->pszServer, psPxr->u16Port, ppsSocket, nullptr, nullptr,
                                   PXR_timing()->u32ConnectTimeoutMs) == SA_OK)
        return 1;
    PXR_pause(psPxr, PXR_timing()->u32ConnectRetryMs);
    return 0;
}

// Connects until it succeeds; 0 once the handle stops or the sensor went to the bridge.
int connectUntilDone(PXR *psPxr, SA_Socket *ppsSocket, const char *pcszConnection)
{
    while (PXR_isRunning(psPxr) && PXR_protocol(psPxr) != PXR_PROTOCOL_KGV) {
        if (psPxr->bSecured ? connectSecured(psPxr, ppsSocket, pcszConnection)
                            : connectPlain(psPxr, ppsSocket, pcszConnection)) {
            SA_SetCancelCallbackSocket(*ppsSocket, &PXR_cancelCallback, psPxr);
            return 1;
        }
    }
    return 0;
}

// The hello's root must be named "hello"; anything else costs a pause before the retry.
int checkHelloRoot(PXR *psPxr, PXRMsg *psMsg, const char *pcszConnection)
{
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    const char *pcszName = psRoot ? PXRMsgElementName(psRoot) : nullptr;
    const char *pcszProblem = nullptr;
    if (!psRoot)
        pcszProblem = "no element in msg";
    else if (!pcszName || !*pcszName)
        pcszProblem = "no type defined";
    else if (!PXRMsgStringEqual(pcszName, "hello"))
        pcszProblem = "type is not 'hello'";
    if (!pcszProblem) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL, "%s: PXR_connectToSocket finished", pcszConnection);
        return 1;
    }
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL,
              "%s: Invalid message received, %s : disconnect and try to reconnect", pcszConnection, pcszProblem);
    PXR_pause(psPxr, PXR_timing()->u32ReconnectDelayMs);
    return 0;
}

int readHello(PXR *psPxr, PXRMsg *psMsg, SA_Socket psSocket, PXRStreamBuffer *psBuffer, XML_Parser hParser,
              const char *pcszConnection)
{
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "%s: Socket connected", pcszConnection);
    PXRStreamBufferClear(psBuffer);
    if (PXR_fillBuffer(psPxr, psSocket, psBuffer, PXR_FIRST_BYTES, PXR_timing()->u32FirstBytesTimeoutMs) != SA_OK) {
        if (PXR_isRunning(psPxr))
            PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL, "%s: No data read, disconnect and try to reconnect",
                      pcszConnection);
        return 0;
    }
    PXR_detectProtocol(psPxr, PXRStreamBufferData(psBuffer), pcszConnection);
    if (PXR_protocol(psPxr) == PXR_PROTOCOL_KGV || !PXR_isRunning(psPxr))
        return 0;
    if (PXR_readMessage(psPxr, psMsg, psSocket, PXR_timing()->u32HelloTimeoutMs, psBuffer, hParser) != 0) {
        if (PXR_isRunning(psPxr))
            PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL,
                      "%s: No hello message received : disconnect and try to reconnect", pcszConnection);
        return 0;
    }
    return PXR_isRunning(psPxr) && checkHelloRoot(psPxr, psMsg, pcszConnection);
}

} // namespace

extern "C" {

int PXR_connectToSocket(PXR *psPxr, PXRMsg *psMsg, SA_Socket *ppsSocket, PXRStreamBuffer *psBuffer,
                        XML_Parser hParser, const char *pcszConnection)
{
    SA_LockMutex(psPxr->hMutexConnect);
    int bDone = connectUntilDone(psPxr, ppsSocket, pcszConnection) &&
                readHello(psPxr, psMsg, *ppsSocket, psBuffer, hParser, pcszConnection);
    SA_UnlockMutex(psPxr->hMutexConnect);
    return bDone;
}

int PXR_checkHello(PXR *psPxr, PXRMsg *psHello, uint32_t *pu32Version)
{
    PXRMsgElement *psRoot = PXRMsgChild(psHello);
    if (!psRoot) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_WARNING, "Empty 'hello' message");
        return 0;
    }
    if (!PXRMsgStringEqual(PXRMsgElementName(psRoot), "hello")) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_WARNING, "Invalid 'hello' message (2)");
        return 0;
    }
    const char *pcszVersion = PXRMsgElementAttributeValue(psRoot, "protocolVersion");
    if (!pcszVersion) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_WARNING, "No protocol version defined in 'hello' message!");
        return 0;
    }
    uint32_t u32Version = uint32_t(atoi(pcszVersion));
    *pu32Version = u32Version;
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "Equipment protocol: %u", u32Version);
    const char *pcszType = PXRMsgElementAttributeValue(psRoot, "serverType");
    if (pcszType)
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "Equipment type: %s", pcszType);
    if (u32Version < 3)
        return 1;
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_WARNING, "Unknown protocol version, you should update your PXR!");
    return 0;
}

} // extern "C"
