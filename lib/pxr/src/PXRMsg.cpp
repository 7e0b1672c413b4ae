/* Messages: the holder of one element tree, with its read-only flag, reference count,
 * user data and receiving handle; and the library's name comparison. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const char kXopInclude[] = "xop:Include";
const char kHref[] = "href";

int lockedIsReadOnly(PXRMsg *psMsg)
{
    SA_LockMutex(psMsg->hMutex);
    int iReadOnly = psMsg->i32ReadOnly;
    SA_UnlockMutex(psMsg->hMutex);
    return iReadOnly;
}

void destroyTree(PXRMsg *psMsg)
{
    PXRMsgElement *psRoot = psMsg->psRoot;
    psMsg->psRoot = nullptr;
    if (psRoot)
        PXRMsgElement_destroyInternal(psRoot);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

extern "C" {

void PXRMsg_fail(void *pObject, const char *pcszFunction, const char *pcszReason)
{
    PXR_setLastError(pObject, "%s", pcszReason);
    PXR_trace(nullptr, PXR_MODULE_MSG, PXR_LEVEL_ERROR, "%s error : %s", pcszFunction, pcszReason);
}

int PXRMsg_refuseReadOnly(void *pObject, PXRMsg *psMsg, const char *pcszFunction)
{
    if (!psMsg || !lockedIsReadOnly(psMsg))
        return 0;
    PXRMsg_fail(pObject, pcszFunction, PXR_REASON_READ_ONLY);
    return 1;
}

PXRMsg *PXRMsgCreate(void)
{
    PXRMsg *psMsg = static_cast<PXRMsg *>(SA_Calloc(1, sizeof(PXRMsg)));
    if (!psMsg)
        return nullptr;
    if (SA_CreateMutex(&psMsg->hMutex) != SA_OK) {
        SA_Free(&psMsg);
        return nullptr;
    }
    return psMsg;
}

void PXRMsgDestroy(PXRMsg *psMsg)
{
    if (!psMsg)
        return;
    SA_LockMutex(psMsg->hMutex);
    if (psMsg->u32RefCount > 0) {
        psMsg->u32RefCount--;
        SA_UnlockMutex(psMsg->hMutex);
        return;
    }
    psMsg->i32ReadOnly = 0;
    // The last holder: nobody else can reach the mutex, so it is released before it goes.
    SA_UnlockMutex(psMsg->hMutex);
    destroyTree(psMsg);
    SA_DestroyMutex(&psMsg->hMutex);
    SA_Free(&psMsg);
}

int PXRMsgAddRef(PXRMsg *psMsg)
{
    if (!psMsg)
        return 0;
    PXR_clearLastError(psMsg);
    SA_LockMutex(psMsg->hMutex);
    int bShared = psMsg->i32ReadOnly != 0;
    if (bShared)
        psMsg->u32RefCount++;
    SA_UnlockMutex(psMsg->hMutex);
    if (!bShared)
        PXRMsg_fail(psMsg, "PXRMsgAddRef", "Message must be read only");
    return bShared;
}

int PXRMsgSetReadOnly(PXRMsg *psMsg, int iReadOnly)
{
    if (!psMsg)
        return 0;
    PXR_clearLastError(psMsg);
    SA_LockMutex(psMsg->hMutex);
    int bDone = 1;
    if (iReadOnly != 0) {
        if (psMsg->i32ReadOnly == 0)
            psMsg->i32ReadOnly = iReadOnly;
    } else if (psMsg->u32RefCount > 0) {
        bDone = 0;
    } else {
        psMsg->i32ReadOnly = 0;
    }
    SA_UnlockMutex(psMsg->hMutex);
    if (!bDone)
        PXRMsg_fail(psMsg, "PXRMsgSetReadOnly", "Message has more than one reference");
    return bDone;
}

int PXRMsgIsReadOnly(PXRMsg *psMsg)
{
    return psMsg ? lockedIsReadOnly(psMsg) : 0;
}

int PXRMsgClear(PXRMsg *psMsg)
{
    if (!psMsg)
        return 0;
    PXR_clearLastError(psMsg);
    if (PXRMsg_refuseReadOnly(psMsg, psMsg, "PXRMsgClear"))
        return 0;
    destroyTree(psMsg);
    psMsg->psOwner = nullptr;
    return 1;
}

PXRMsg *PXRMsgCopy(PXRMsg *psMsg)
{
    if (!psMsg)
        return nullptr;
    PXRMsg *psCopy = PXRMsgCreate();
    if (!psCopy || !psMsg->psRoot)
        return psCopy;
    PXRMsgElement *psRoot = PXRMsgElementCopy(psMsg->psRoot);
    if (!psRoot) {
        PXRMsgDestroy(psCopy);
        return nullptr;
    }
    PXRMsgSetChild(psCopy, psRoot);
    return psCopy;
}

PXRMsgElement *PXRMsgChild(PXRMsg *psMsg)
{
    return psMsg ? psMsg->psRoot : nullptr;
}

int PXRMsgSetChild(PXRMsg *psMsg, PXRMsgElement *psElement)
{
    static const char kFunction[] = "PXRMsgSetChild";
    if (!psMsg) {
        PXR_trace(nullptr, PXR_MODULE_MSG, PXR_LEVEL_WARNING, "PXRMsgSetChild : pMsg is NULL");
        return 0;
    }
    PXR_clearLastError(psMsg);
    if (PXRMsg_refuseReadOnly(psMsg, psMsg, kFunction))
        return 0;
    if (!psElement) {
        PXRMsg_fail(psMsg, kFunction, "Element is NULL");
        return 0;
    }
    if (psElement->psMsg) {
        PXRMsg_fail(psMsg, kFunction, "Element is already owned by another Message");
        return 0;
    }
    // An element still inside another tree would end up in two trees at once.
    if (psElement->psParent) {
        PXRMsg_fail(psMsg, kFunction, "Element is already owned by another Element");
        return 0;
    }
    destroyTree(psMsg);
    psMsg->psOwner = nullptr;
    psMsg->psRoot = psElement;
    PXRMsgElement_setMsgInTree(psElement, psMsg);
    return 1;
}

void *PXRMsgGetUserData(PXRMsg *psMsg)
{
    return psMsg ? psMsg->pUserData : nullptr;
}

int PXRMsgSetUserData(PXRMsg *psMsg, void *pUserData)
{
    if (!psMsg)
        return 0;
    PXR_clearLastError(psMsg);
    if (PXRMsg_refuseReadOnly(psMsg, psMsg, "PXRMsgSetUserData"))
        return 0;
    psMsg->pUserData = pUserData;
    return 1;
}

PXR *PXRMsgGetPXR(PXRMsg *psMsg)
{
    return psMsg ? psMsg->psOwner : nullptr;
}

int PXRMsgStrToBool(const char *pcszText)
{
    return pcszText && (strcmp(pcszText, "true") == 0 || strcmp(pcszText, "1") == 0);
}

int PXRMsgStringEqual(const char *pcszText1, const char *pcszText2)
{
    if (!pcszText1 || !pcszText2)
        return 0;
    size_t szLength = strlen(pcszText1);
    if (szLength != strlen(pcszText2))
        return 0;
    for (size_t i = 0; i < szLength; i++) {
        if (asciiLower(pcszText1[i]) != asciiLower(pcszText2[i]))
            return 0;
    }
    return 1;
}

uint32_t PXRMsg_countContents(PXRMsg *psMsg)
{
    uint32_t u32Count = 0;
    PXRMsgElement *psTop = PXRMsgChild(psMsg);
    for (PXRMsgElement *psElement = psTop; psElement; psElement = PXRMsgElement_nextInTree(psElement, psTop)) {
        if (psElement->pu8Content)
            u32Count++;
    }
    return u32Count;
}

PXRMsgElement *PXRMsg_findXopID(PXRMsg *psMsg, const char *pcszId)
{
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    return psRoot ? PXRMsgElement_findXopID(psRoot, pcszId) : nullptr;
}

PXRMsgElement *PXRMsgElement_findXopID(PXRMsgElement *psTop, const char *pcszId)
{
    for (PXRMsgElement *psElement = psTop; psElement; psElement = PXRMsgElement_nextInTree(psElement, psTop)) {
        // Attribute names are unique per element, so this is its first "href".
        PXRMsgElement *psInclude = PXRMsgElementFirstChild(psElement, kXopInclude);
        if (psInclude && PXRMsgStringEqual(PXRMsgElementAttributeValue(psInclude, kHref), pcszId))
            return psElement;
    }
    return nullptr;
}

} // extern "C"
