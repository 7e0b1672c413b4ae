/* The wire writer: a message as a MIME document (XML part, then its binary contents as XOP
 * parts), built into pooled pieces and written to a socket or through a caller's function. */
#include "PXR_Internal.h"

#include <cstdio>
#include <cstring>

namespace {

const char kSingleHeader[] = "MIME-Version: 1.0\r\nContent-Type: application/xml;\r\n\r\n";
const char kMultiHeader[] = "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=MIME_boundary;\r\n\r\n"
                            "--MIME_boundary\r\nContent-Type: application/xop+xml;\r\n\r\n";
const char kPartHeader[] = "--MIME_boundary\r\nContent-Type: application/octet-stream;\r\n"
                           "Content-Transfer-Encoding: binary;\r\nContent-ID: ";
const char kClosingBoundary[] = "--MIME_boundary--";
const char kPoolEmpty[] = "Pool is empty";

struct Writer {
    PXRMsg *psMsg;
    PXRList *psList;
    SA_Pool psBufferPool;
    SA_Pool psDetachedPool;
    PXRMsg_BufferItem *psCurrent;
    uint32_t u32Used;
    PXRMsgElement *apsContents[PXR_MAX_CONTENTS];
    uint32_t u32Contents;
    bool bFailed;
};

bool failPool(Writer *psWriter, const char *pcszTrace)
{
    PXR_trace(nullptr, PXR_MODULE_EXPORT, PXR_LEVEL_DEBUG, "%s", pcszTrace);
    PXR_setLastError(psWriter->psMsg, "%s", kPoolEmpty);
    psWriter->bFailed = true;
    return false;
}

bool takeCurrent(Writer *psWriter, const char *pcszTrace)
{
    psWriter->psCurrent = PXRMsg_BufferItemTake(psWriter->psBufferPool);
    psWriter->u32Used = 0;
    return psWriter->psCurrent ? true : failPool(psWriter, pcszTrace);
}

bool pushItem(Writer *psWriter, PXRMsg_BufferItem *psItem)
{
    if (PXRListPushBack(psWriter->psList, psItem))
        return true;
    PXRMsg_BufferItemRelease(psItem);
    PXR_setLastError(psWriter->psMsg, "Memory allocation failed");
    psWriter->bFailed = true;
    return false;
}

// The current item joins the list when it holds bytes, else goes back to its pool.
bool closeCurrent(Writer *psWriter)
{
    PXRMsg_BufferItem *psItem = psWriter->psCurrent;
    psWriter->psCurrent = nullptr;
    if (!psItem)
        return true;
    if (psWriter->u32Used == 0) {
        PXRMsg_BufferItemRelease(psItem);
        return true;
    }
    psItem->u32Length = psWriter->u32Used;
    return pushItem(psWriter, psItem);
}

bool append(Writer *psWriter, const void *pData, size_t szLength)
{
    const uint8_t *pu8Data = static_cast<const uint8_t *>(pData);
    while (szLength > 0 && !psWriter->bFailed) {
        PXRMsg_BufferItem *psItem = psWriter->psCurrent;
        if (psWriter->u32Used == psItem->u32Capacity) {
            if (!closeCurrent(psWriter) || !takeCurrent(psWriter, "No more buffer available (2)"))
                return false;
            continue;
        }
        size_t szCopy = psItem->u32Capacity - psWriter->u32Used;
        if (szCopy > szLength)
            szCopy = szLength;
        memcpy(psItem->pu8Data + psWriter->u32Used, pu8Data, szCopy);
        psWriter->u32Used += static_cast<uint32_t>(szCopy);
        pu8Data += szCopy;
        szLength -= szCopy;
    }
    return !psWriter->bFailed;
}

bool appendText(Writer *psWriter, const char *pcszText)
{
    return append(psWriter, pcszText, strlen(pcszText));
}

// A detached item pointing at bytes that stay where they are.
PXRMsg_BufferItem *takeDetached(Writer *psWriter, const void *pData, uint32_t u32Length, const char *pcszTrace)
{
    PXRMsg_BufferItem *psItem = PXRMsg_BufferItemTake(psWriter->psDetachedPool);
    if (!psItem) {
        failPool(psWriter, pcszTrace);
        return nullptr;
    }
    psItem->pu8Data = static_cast<uint8_t *>(const_cast<void *>(pData));
    psItem->u32Length = u32Length;
    return psItem;
}

// Tab, line feed and carriage return travel as character references so that they come back
// unchanged; other control characters have no XML 1.0 form at all.
const char *escapeOf(unsigned char c)
{
    switch (c) {
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '\'': return "&apos;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\t': return "&#9;";
    case '\n': return "&#10;";
    case '\r': return "&#13;";
    default: return nullptr;
    }
}

bool appendEscaped(Writer *psWriter, PXRMsgElement *psElement, const char *pcszName, const char *pcszValue)
{
    const char *pcszRun = pcszValue;
    for (const char *p = pcszValue; *p; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        const char *pcszEscape = escapeOf(c);
        if (!pcszEscape && c >= 0x20)
            continue;
        if (!append(psWriter, pcszRun, static_cast<size_t>(p - pcszRun)))
            return false;
        if (!pcszEscape) {
            PXR_setLastError(psWriter->psMsg, "Invalid control character 0x%02X in attribute value (%s/%s)", c,
                             psElement->pszName, pcszName);
            psWriter->bFailed = true;
            return false;
        }
        if (!appendText(psWriter, pcszEscape))
            return false;
        pcszRun = p + 1;
    }
    return appendText(psWriter, pcszRun);
}

bool appendAttributes(Writer *psWriter, PXRMsgElement *psElement)
{
    for (PXRListItem *psItem = psElement->sAttributes.psFirst; psItem && psItem->psNext;
         psItem = psItem->psNext->psNext) {
        const char *pcszName = static_cast<const char *>(psItem->pData);
        if (!appendText(psWriter, " ") || !appendText(psWriter, pcszName) || !appendText(psWriter, "=\"") ||
            !appendEscaped(psWriter, psElement, pcszName, static_cast<const char *>(psItem->psNext->pData)) ||
            !appendText(psWriter, "\""))
            return false;
    }
    return true;
}

bool appendInclude(Writer *psWriter, PXRMsgElement *psElement)
{
    if (psWriter->u32Contents == PXR_MAX_CONTENTS) {
        PXR_setLastError(psWriter->psMsg, "Too many binary contents (at most %u)", PXR_MAX_CONTENTS);
        psWriter->bFailed = true;
        return false;
    }
    char aszInclude[32];
    snprintf(aszInclude, sizeof(aszInclude), "<xop:Include href=\"%c\"/>", 'A' + psWriter->u32Contents);
    psWriter->apsContents[psWriter->u32Contents++] = psElement;
    return appendText(psWriter, aszInclude);
}

// The start tag; an element without children or content is closed at once, else *pbOpen
// says an end tag is owed.
bool appendStart(Writer *psWriter, PXRMsgElement *psElement, bool *pbOpen)
{
    *pbOpen = psElement->sChildren.u32Count > 0 || psElement->u32ContentSize > 0;
    if (!appendText(psWriter, "<") || !appendText(psWriter, psElement->pszName) ||
        !appendAttributes(psWriter, psElement))
        return false;
    if (!*pbOpen)
        return appendText(psWriter, "/>");
    if (!appendText(psWriter, ">"))
        return false;
    return psElement->u32ContentSize == 0 || appendInclude(psWriter, psElement);
}

bool appendEnd(Writer *psWriter, PXRMsgElement *psElement)
{
    return appendText(psWriter, "</") && appendText(psWriter, psElement->pszName) && appendText(psWriter, ">");
}

PXRMsgElement *nextSibling(PXRMsgElement *psElement)
{
    PXRListItem *psItem = psElement->psParentItem ? psElement->psParentItem->psNext : nullptr;
    return psItem ? static_cast<PXRMsgElement *>(psItem->pData) : nullptr;
}

// Depth first without recursion, so a deep tree needs no stack.
bool appendTree(Writer *psWriter, PXRMsgElement *psRoot)
{
    PXRMsgElement *psElement = psRoot;
    while (psElement) {
        bool bOpen = false;
        if (!appendStart(psWriter, psElement, &bOpen))
            return false;
        if (psElement->sChildren.psFirst) {
            psElement = static_cast<PXRMsgElement *>(psElement->sChildren.psFirst->pData);
            continue;
        }
        if (bOpen && !appendEnd(psWriter, psElement))
            return false;
        while (psElement != psRoot && !nextSibling(psElement)) {
            psElement = psElement->psParent;
            if (!appendEnd(psWriter, psElement))
                return false;
        }
        psElement = psElement == psRoot ? nullptr : nextSibling(psElement);
    }
    return true;
}

bool appendParts(Writer *psWriter)
{
    for (uint32_t i = 0; i < psWriter->u32Contents; i++) {
        PXRMsgElement *psElement = psWriter->apsContents[i];
        char aszHeader[64];
        snprintf(aszHeader, sizeof(aszHeader), "%c;\r\nContent-Length: %u;\r\n\r\n", 'A' + i,
                 psElement->u32ContentSize);
        if (!appendText(psWriter, kPartHeader) || !appendText(psWriter, aszHeader) || !closeCurrent(psWriter))
            return false;
        PXRMsg_BufferItem *psItem = takeDetached(psWriter, psElement->pu8Content, psElement->u32ContentSize,
                                                 "No more binary buffer available");
        if (!psItem || !pushItem(psWriter, psItem) || !takeCurrent(psWriter, "No more buffer available"))
            return false;
    }
    return appendText(psWriter, kClosingBoundary);
}

bool buildDocument(Writer *psWriter)
{
    if (!takeCurrent(psWriter, "No more buffer available (2)") || !appendText(psWriter, "<msg>"))
        return false;
    PXRMsgElement *psRoot = PXRMsgChild(psWriter->psMsg);
    if (psRoot && !appendTree(psWriter, psRoot))
        return false;
    if (!appendText(psWriter, "</msg>"))
        return false;
    if (psWriter->u32Contents > 0 && !appendParts(psWriter))
        return false;
    if (!closeCurrent(psWriter))
        return false;
    bool bMulti = psWriter->u32Contents > 0;
    const char *pcszHeader = bMulti ? kMultiHeader : kSingleHeader;
    uint32_t u32HeaderLength = static_cast<uint32_t>(bMulti ? sizeof(kMultiHeader) - 1 : sizeof(kSingleHeader) - 1);
    PXRMsg_BufferItem *psItem = takeDetached(psWriter, pcszHeader, u32HeaderLength, "No more binary buffer available (2)");
    if (!psItem)
        return false;
    if (PXRListInsert(psWriter->psList, PXRListFirstItem(psWriter->psList), psItem))
        return true;
    PXRMsg_BufferItemRelease(psItem);
    PXR_setLastError(psWriter->psMsg, "Memory allocation failed");
    return false;
}

int writeSlice(void *pUser, const void *pData, uint32_t u32Length)
{
    return SA_WriteSocketLength(static_cast<SA_Socket>(pUser), pData, u32Length, PXR_SEND_TIMEOUT_MS) == SA_OK;
}

struct ExportCall {
    PXRMsgWriteFunction rWrite;
    void *pUser;
};

int writeToCallback(void *pUser, const void *pData, uint32_t u32Length)
{
    ExportCall *psCall = static_cast<ExportCall *>(pUser);
    return psCall->rWrite(pData, u32Length, psCall->pUser) != 0;
}

// Builds the list and passes it on; every item goes back to its pool whatever happens.
int writeThrough(PXRMsg *psMsg, SA_Pool psBufferPool, SA_Pool psDetachedPool, uint32_t u32Slice,
                 PXRMsg_SliceWriter rWriter, void *pUser, const char *pcszWriteFailure)
{
    PXRList *psList = PXRListCreate();
    if (!psList) {
        PXR_setLastError(psMsg, "Memory allocation failed");
        return 0;
    }
    int iResult = PXRMsg_writeToBufferList(psMsg, psList, psBufferPool, psDetachedPool);
    if (iResult && !PXRMsg_writeBufferList(psList, u32Slice, rWriter, pUser)) {
        if (pcszWriteFailure)
            PXR_setLastError(psMsg, "%s", pcszWriteFailure);
        iResult = 0;
    }
    PXRMsg_releaseBufferList(psList);
    PXRListDestroy(psList);
    return iResult;
}

} // namespace

extern "C" {

int PXRMsg_writeToBufferList(PXRMsg *psMsg, PXRList *psList, SA_Pool psBufferPool, SA_Pool psDetachedPool)
{
    Writer sWriter = {};
    sWriter.psMsg = psMsg;
    sWriter.psList = psList;
    sWriter.psBufferPool = psBufferPool;
    sWriter.psDetachedPool = psDetachedPool;
    if (buildDocument(&sWriter))
        return 1;
    PXRMsg_BufferItemRelease(sWriter.psCurrent);
    PXRMsg_releaseBufferList(psList);
    return 0;
}

int PXRMsg_writeBufferList(PXRList *psList, uint32_t u32Slice, PXRMsg_SliceWriter rWriter, void *pUser)
{
    for (PXRListItem *psEntry = PXRListFirstItem(psList); psEntry; psEntry = PXRListNextItem(psEntry)) {
        PXRMsg_BufferItem *psItem = static_cast<PXRMsg_BufferItem *>(psEntry->pData);
        for (uint32_t u32Done = 0; u32Done < psItem->u32Length;) {
            uint32_t u32Length = psItem->u32Length - u32Done;
            if (u32Length > u32Slice)
                u32Length = u32Slice;
            if (!rWriter(pUser, psItem->pu8Data + u32Done, u32Length))
                return 0;
            u32Done += u32Length;
        }
    }
    return 1;
}

int PXRMsg_writeToSocket(PXRMsg *psMsg, SA_Socket psSocket, SA_Pool psBufferPool, SA_Pool psDetachedPool)
{
    if (!psMsg || !psSocket)
        return 0;
    return writeThrough(psMsg, psBufferPool, psDetachedPool, PXR_SOCKET_SLICE, &writeSlice, psSocket, nullptr);
}

int PXRMsgExport(PXRMsg *psMsg, PXRMsgWriteFunction rWrite, void *pUser)
{
    if (!psMsg)
        return 0;
    PXR_clearLastError(psMsg);
    if (!rWrite) {
        PXR_setLastError(psMsg, "Error in export callback");
        return 0;
    }
    SA_Pool psBufferPool = nullptr;
    SA_Pool psDetachedPool = nullptr;
    if (!PXRMsg_createBufferPool(&psBufferPool, PXR_EXPORT_BUFFER_ITEMS, 0)) {
        PXR_setLastError(psMsg, "Unable to create SendBuffer pool");
        return 0;
    }
    if (!PXRMsg_createBufferPool(&psDetachedPool, PXRMsg_countContents(psMsg) + 2, 1)) {
        PXRMsg_releaseBufferPool(&psBufferPool);
        PXR_setLastError(psMsg, "Unable to create DetachedSendBuffer pool");
        return 0;
    }
    ExportCall sCall = {rWrite, pUser};
    int iResult = writeThrough(psMsg, psBufferPool, psDetachedPool, UINT32_MAX, &writeToCallback, &sCall,
                               "Error in export callback");
    PXRMsg_releaseBufferPool(&psBufferPool);
    PXRMsg_releaseBufferPool(&psDetachedPool);
    return iResult;
}

int PXRMsg_toBinaryArrayCallback(const void *pData, uint32_t u32Length, void *pUser)
{
    PXRMsg_BinaryArray *psArray = static_cast<PXRMsg_BinaryArray *>(pUser);
    if (u32Length > psArray->u32Capacity - psArray->u32Used)
        return 0;
    memcpy(psArray->pu8Data + psArray->u32Used, pData, u32Length);
    psArray->u32Used += u32Length;
    return 1;
}

uint32_t PXRMsgExportToBinaryArray(PXRMsg *psMsg, void *pBuffer, uint32_t u32Capacity)
{
    if (!pBuffer && u32Capacity > 0)
        return 0;
    PXRMsg_BinaryArray sArray = {static_cast<uint8_t *>(pBuffer), u32Capacity, 0};
    return PXRMsgExport(psMsg, &PXRMsg_toBinaryArrayCallback, &sArray) ? sArray.u32Used : 0;
}

} // extern "C"
