/* Elements: the named nodes of a message tree, with their ordered attributes, children
 * and optional binary content. Tree walks are iterative, so deep trees need no stack. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const char kAllocationFailed[] = "Memory allocation failed";
const size_t kNumberTextSize = 64;

void releaseContent(PXRMsgElement *psElement)
{
    if (psElement->pu8Content) {
        if (psElement->rContentFree)
            psElement->rContentFree(psElement->pu8Content, psElement->pContentFreeUser);
        else
            SA_Free(&psElement->pu8Content);
    }
    psElement->pu8Content = nullptr;
    psElement->u32ContentSize = 0;
    psElement->rContentFree = nullptr;
    psElement->pContentFreeUser = nullptr;
}

void freeAttributes(PXRMsgElement *psElement)
{
    while (psElement->sAttributes.psFirst) {
        char *pszText = static_cast<char *>(PXRListTakeItem(&psElement->sAttributes, psElement->sAttributes.psFirst));
        SA_Free(&pszText);
    }
}

// Frees one element whose children are already gone.
void freeRecord(PXRMsgElement *psElement)
{
    freeAttributes(psElement);
    releaseContent(psElement);
    SA_Free(&psElement->pszName);
    SA_Free(&psElement);
}

void unlinkFromParent(PXRMsgElement *psElement)
{
    if (psElement->psParent)
        PXRListTakeItem(&psElement->psParent->sChildren, psElement->psParentItem);
    psElement->psParent = nullptr;
    psElement->psParentItem = nullptr;
}

int appendChild(PXRMsgElement *psParent, PXRMsgElement *psChild)
{
    PXRListItem *psItem = PXRListPushBack(&psParent->sChildren, psChild);
    if (!psItem)
        return 0;
    psChild->psParent = psParent;
    psChild->psParentItem = psItem;
    return 1;
}

PXRMsgElement *elementOf(PXRListItem *psItem)
{
    return psItem ? static_cast<PXRMsgElement *>(psItem->pData) : nullptr;
}

// The name item of the attribute whose name compares equal, or null.
PXRListItem *findAttribute(PXRMsgElement *psElement, const char *pcszName)
{
    for (PXRListItem *psItem = psElement->sAttributes.psFirst; psItem && psItem->psNext;
         psItem = psItem->psNext->psNext) {
        if (PXRMsgStringEqual(static_cast<const char *>(psItem->pData), pcszName))
            return psItem;
    }
    return nullptr;
}

int appendAttribute(PXRMsgElement *psElement, const char *pcszName, const char *pcszValue)
{
    char *pszName = SU_Strdup(pcszName);
    char *pszValue = SU_Strdup(pcszValue);
    PXRListItem *psNameItem = (pszName && pszValue) ? PXRListPushBack(&psElement->sAttributes, pszName) : nullptr;
    if (psNameItem && PXRListPushBack(&psElement->sAttributes, pszValue))
        return 1;
    if (psNameItem)
        PXRListTakeItem(&psElement->sAttributes, psNameItem);
    SA_Free(&pszName);
    SA_Free(&pszValue);
    return 0;
}

// A copy of one element without its children.
PXRMsgElement *copyNode(PXRMsgElement *psSource)
{
    PXRMsgElement *psCopy = PXRMsgElementCreate(psSource->pszName);
    if (!psCopy)
        return nullptr;
    for (PXRListItem *psItem = psSource->sAttributes.psFirst; psItem && psItem->psNext;
         psItem = psItem->psNext->psNext) {
        if (!appendAttribute(psCopy, static_cast<const char *>(psItem->pData),
                             static_cast<const char *>(psItem->psNext->pData))) {
            freeRecord(psCopy);
            return nullptr;
        }
    }
    if (psSource->pu8Content && !PXRMsgElementSetContentBinary(psCopy, psSource->pu8Content, psSource->u32ContentSize)) {
        freeRecord(psCopy);
        return nullptr;
    }
    return psCopy;
}

int refuseReadOnly(PXRMsgElement *psElement, const char *pcszFunction)
{
    return PXRMsg_refuseReadOnly(psElement, psElement->psMsg, pcszFunction);
}

// Whether a detached child holds the parent somewhere in its subtree. A childless child or
// a parent inside a message (whose elements all know it) cannot be there, so building a
// tree leaf by leaf never walks up.
int containsParent(PXRMsgElement *psChild, PXRMsgElement *psParent)
{
    if (psChild == psParent)
        return 1;
    if (!psChild->sChildren.psFirst || psParent->psMsg)
        return 0;
    for (PXRMsgElement *psElement = psParent; psElement; psElement = psElement->psParent) {
        if (psElement == psChild)
            return 1;
    }
    return 0;
}

int setAttributeNumber(PXRMsgElement *psElement, const char *pcszName, const char *pcszText)
{
    return PXRMsgElementSetAttribute(psElement, pcszName, pcszText);
}

} // namespace

extern "C" {

int PXRMsgElement_isReadOnly(PXRMsgElement *psElement)
{
    return psElement && psElement->psMsg && PXRMsgIsReadOnly(psElement->psMsg);
}

PXRMsgElement *PXRMsgElement_nextInTree(PXRMsgElement *psElement, PXRMsgElement *psTop)
{
    if (!psElement)
        return nullptr;
    if (psElement->sChildren.psFirst)
        return elementOf(psElement->sChildren.psFirst);
    for (; psElement && psElement != psTop; psElement = psElement->psParent) {
        if (psElement->psParentItem && psElement->psParentItem->psNext)
            return elementOf(psElement->psParentItem->psNext);
    }
    return nullptr;
}

void PXRMsgElement_setMsgInTree(PXRMsgElement *psTop, PXRMsg *psMsg)
{
    for (PXRMsgElement *psElement = psTop; psElement; psElement = PXRMsgElement_nextInTree(psElement, psTop))
        psElement->psMsg = psMsg;
}

void PXRMsgElement_destroyInternal(PXRMsgElement *psTop)
{
    // Leaves first: always the first child, so every unlink is at the list's head.
    PXRMsgElement *psElement = psTop;
    while (psElement) {
        while (psElement->sChildren.psFirst)
            psElement = elementOf(psElement->sChildren.psFirst);
        PXRMsgElement *psParent = (psElement == psTop) ? nullptr : psElement->psParent;
        if (psParent)
            PXRListTakeItem(&psParent->sChildren, psParent->sChildren.psFirst);
        freeRecord(psElement);
        psElement = psParent;
    }
}

void PXRMsg_dataClearCallback(void *pContent, void *)
{
    SA_Free(&pContent);
}

PXRMsgElement *PXRMsgElementCreate(const char *pcszName)
{
    if (!pcszName)
        return nullptr;
    PXRMsgElement *psElement = static_cast<PXRMsgElement *>(SA_Calloc(1, sizeof(PXRMsgElement)));
    if (!psElement)
        return nullptr;
    psElement->pszName = SU_Strdup(pcszName);
    if (!psElement->pszName)
        SA_Free(&psElement);
    return psElement;
}

int PXRMsgElementDestroy(PXRMsgElement *psElement)
{
    if (!psElement)
        return 0;
    if (refuseReadOnly(psElement, "PXRMsgElementDestroy"))
        return 0;
    unlinkFromParent(psElement);
    if (psElement->psMsg && psElement->psMsg->psRoot == psElement)
        psElement->psMsg->psRoot = nullptr;
    PXRMsgElement_destroyInternal(psElement);
    return 1;
}

PXRMsgElement *PXRMsgElementCopy(PXRMsgElement *psSource)
{
    if (!psSource)
        return nullptr;
    PXRMsgElement *psCopyTop = copyNode(psSource);
    // Walk the source depth-first; psCopy is always the copy of psFrom.
    PXRMsgElement *psFrom = psSource;
    PXRMsgElement *psCopy = psCopyTop;
    while (psCopy) {
        PXRMsgElement *psNext = PXRMsgElement_nextInTree(psFrom, psSource);
        if (!psNext)
            return psCopyTop;
        // The copy's ancestors mirror the source's: climb both to the next one's parent.
        PXRMsgElement *psFromParent = psFrom;
        PXRMsgElement *psCopyParent = psCopy;
        while (psFromParent != psNext->psParent) {
            psFromParent = psFromParent->psParent;
            psCopyParent = psCopyParent->psParent;
        }
        PXRMsgElement *psNextCopy = copyNode(psNext);
        if (!psNextCopy || !appendChild(psCopyParent, psNextCopy)) {
            if (psNextCopy)
                freeRecord(psNextCopy);
            PXRMsgElement_destroyInternal(psCopyTop);
            return nullptr;
        }
        psFrom = psNext;
        psCopy = psNextCopy;
    }
    return nullptr;
}

int PXRMsgElementDetach(PXRMsgElement *psElement)
{
    static const char kFunction[] = "PXRMsgElementDetach";
    if (!psElement)
        return 0;
    if (!psElement->psParent && !psElement->psMsg) {
        PXRMsg_fail(psElement, kFunction, "Element has not parent");
        return 0;
    }
    if (refuseReadOnly(psElement, kFunction))
        return 0;
    if (psElement->psMsg && psElement->psMsg->psRoot == psElement)
        psElement->psMsg->psRoot = nullptr;
    unlinkFromParent(psElement);
    PXRMsgElement_setMsgInTree(psElement, nullptr);
    return 1;
}

int PXRMsgElementAddChild(PXRMsgElement *psParent, PXRMsgElement *psChild)
{
    static const char kFunction[] = "PXRMsgElementAddChild";
    if (!psParent || !psChild)
        return 0;
    if (refuseReadOnly(psParent, kFunction))
        return 0;
    if (psChild->psParent) {
        PXRMsg_fail(psParent, kFunction, "Child Element is already owned by another Element");
        return 0;
    }
    if (psChild->psMsg) {
        PXRMsg_fail(psParent, kFunction, "Child Element is already owned by a Message");
        return 0;
    }
    // A detached subtree that holds the parent would become a loop.
    if (containsParent(psChild, psParent)) {
        PXRMsg_fail(psParent, kFunction, "Child Element contains the parent Element");
        return 0;
    }
    if (!appendChild(psParent, psChild)) {
        PXRMsg_fail(psParent, kFunction, kAllocationFailed);
        return 0;
    }
    PXRMsgElement_setMsgInTree(psChild, psParent->psMsg);
    return 1;
}

PXRMsgElement *PXRMsgElementParent(PXRMsgElement *psElement)
{
    return psElement ? psElement->psParent : nullptr;
}

PXRMsg *PXRMsgElementMsg(PXRMsgElement *psElement)
{
    return psElement ? psElement->psMsg : nullptr;
}

const char *PXRMsgElementName(PXRMsgElement *psElement)
{
    return psElement ? psElement->pszName : nullptr;
}

int PXRMsgElementSetName(PXRMsgElement *psElement, const char *pcszName)
{
    static const char kFunction[] = "PXRMsgElementSetName";
    if (!psElement || !pcszName)
        return 0;
    if (refuseReadOnly(psElement, kFunction))
        return 0;
    char *pszName = SU_Strdup(pcszName);
    if (!pszName) {
        PXRMsg_fail(psElement, kFunction, kAllocationFailed);
        return 0;
    }
    SA_Free(&psElement->pszName);
    psElement->pszName = pszName;
    return 1;
}

PXRMsgElement *PXRMsgElementFirstChild(PXRMsgElement *psElement, const char *pcszName)
{
    if (!psElement)
        return nullptr;
    PXRMsgElement *psFirst = elementOf(psElement->sChildren.psFirst);
    if (!psFirst || !pcszName || !pcszName[0] || PXRMsgStringEqual(psFirst->pszName, pcszName))
        return psFirst;
    return PXRMsgElementNextChild(psElement, psFirst, pcszName);
}

PXRMsgElement *PXRMsgElementNextChild(PXRMsgElement *psParent, PXRMsgElement *psChild, const char *pcszName)
{
    if (!psParent || !psChild || psChild->psParent != psParent)
        return nullptr;
    for (PXRListItem *psItem = psChild->psParentItem->psNext; psItem; psItem = psItem->psNext) {
        PXRMsgElement *psNext = elementOf(psItem);
        if (!pcszName || !pcszName[0] || PXRMsgStringEqual(psNext->pszName, pcszName))
            return psNext;
    }
    return nullptr;
}

uint32_t PXRMsgElementChildCount(PXRMsgElement *psElement, const char *pcszName)
{
    if (!psElement)
        return 0;
    if (!pcszName)
        return psElement->sChildren.u32Count;
    uint32_t u32Count = 0;
    for (PXRListItem *psItem = psElement->sChildren.psFirst; psItem; psItem = psItem->psNext) {
        if (PXRMsgStringEqual(elementOf(psItem)->pszName, pcszName))
            u32Count++;
    }
    return u32Count;
}

uint32_t PXRMsgElementAttributeCount(PXRMsgElement *psElement)
{
    return psElement ? psElement->sAttributes.u32Count / 2 : 0;
}

const char *PXRMsgElementAttributeName(PXRMsgElement *psElement, uint32_t u32Index)
{
    if (!psElement)
        return nullptr;
    PXRListItem *psItem = psElement->sAttributes.psFirst;
    for (uint32_t i = 0; psItem && i < u32Index; i++)
        psItem = psItem->psNext ? psItem->psNext->psNext : nullptr;
    return psItem ? static_cast<const char *>(psItem->pData) : "";
}

const char *PXRMsgElementAttributeValue(PXRMsgElement *psElement, const char *pcszName)
{
    PXRListItem *psItem = psElement ? findAttribute(psElement, pcszName) : nullptr;
    return psItem ? static_cast<const char *>(psItem->psNext->pData) : nullptr;
}

int PXRMsgElementSetAttribute(PXRMsgElement *psElement, const char *pcszName, const char *pcszValue)
{
    static const char kFunction[] = "PXRMsgElementSetAttribute";
    if (!psElement || !pcszName || !pcszValue)
        return 0;
    if (PXRMsgElement_isReadOnly(psElement)) {
        PXR_setLastError(psElement, "%s", PXR_REASON_READ_ONLY);
        PXR_trace(nullptr, PXR_MODULE_MSG, PXR_LEVEL_ERROR, "%s error : %s (%s/%s)", kFunction,
                  PXR_REASON_READ_ONLY, psElement->pszName, pcszName);
        return 0;
    }
    PXRListItem *psItem = findAttribute(psElement, pcszName);
    if (!psItem) {
        if (appendAttribute(psElement, pcszName, pcszValue))
            return 1;
        PXRMsg_fail(psElement, kFunction, kAllocationFailed);
        return 0;
    }
    char *pszValue = SU_Strdup(pcszValue);
    if (!pszValue) {
        PXRMsg_fail(psElement, kFunction, kAllocationFailed);
        return 0;
    }
    SA_Free(&psItem->psNext->pData);
    psItem->psNext->pData = pszValue;
    return 1;
}

int PXRMsgElementSetAttributeBool(PXRMsgElement *psElement, const char *pcszName, int bValue)
{
    return setAttributeNumber(psElement, pcszName, bValue ? "1" : "0");
}

int PXRMsgElementSetAttributeInt(PXRMsgElement *psElement, const char *pcszName, int32_t i32Value)
{
    return PXRMsgElementSetAttributeInt64(psElement, pcszName, i32Value);
}

int PXRMsgElementSetAttributeUInt(PXRMsgElement *psElement, const char *pcszName, uint32_t u32Value)
{
    char aszText[kNumberTextSize];
    PXRMsg_formatUInt64(aszText, sizeof(aszText), u32Value);
    return setAttributeNumber(psElement, pcszName, aszText);
}

int PXRMsgElementSetAttributeInt64(PXRMsgElement *psElement, const char *pcszName, int64_t i64Value)
{
    char aszText[kNumberTextSize];
    PXRMsg_formatInt64(aszText, sizeof(aszText), i64Value);
    return setAttributeNumber(psElement, pcszName, aszText);
}

int PXRMsgElementSetAttributeFloat(PXRMsgElement *psElement, const char *pcszName, float fValue)
{
    char aszText[kNumberTextSize];
    PXRMsg_formatDouble(aszText, sizeof(aszText), static_cast<double>(fValue));
    return setAttributeNumber(psElement, pcszName, aszText);
}

int PXRMsgElementRemoveAttribute(PXRMsgElement *psElement, const char *pcszName)
{
    if (!psElement)
        return 0;
    if (refuseReadOnly(psElement, "PXRMsgElementRemoveAttribute"))
        return 0;
    PXRListItem *psItem = findAttribute(psElement, pcszName);
    if (psItem) {
        char *pszValue = static_cast<char *>(PXRListTakeItem(&psElement->sAttributes, psItem->psNext));
        char *pszName = static_cast<char *>(PXRListTakeItem(&psElement->sAttributes, psItem));
        SA_Free(&pszValue);
        SA_Free(&pszName);
    }
    return 1;
}

const void *PXRMsgElementContent(PXRMsgElement *psElement)
{
    return psElement ? psElement->pu8Content : nullptr;
}

uint32_t PXRMsgElementContentSize(PXRMsgElement *psElement)
{
    return psElement ? psElement->u32ContentSize : 0;
}

int PXRMsgElementSetContentBinary(PXRMsgElement *psElement, const void *pData, uint32_t u32Size)
{
    static const char kFunction[] = "PXRMsgElementSetContentBinary";
    if (!psElement)
        return 0;
    if (refuseReadOnly(psElement, kFunction))
        return 0;
    if (!pData || u32Size == 0) {
        releaseContent(psElement);
        return 1;
    }
    // The old content stays until its replacement exists.
    uint8_t *pu8Block = static_cast<uint8_t *>(SA_Malloc(u32Size));
    if (!pu8Block) {
        PXRMsg_fail(psElement, kFunction, "Content allocation failed");
        return 0;
    }
    memcpy(pu8Block, pData, u32Size);
    releaseContent(psElement);
    psElement->pu8Content = pu8Block;
    psElement->u32ContentSize = u32Size;
    psElement->rContentFree = &PXRMsg_dataClearCallback;
    return 1;
}

int PXRMsgElementSetContentBinaryNoCopy(PXRMsgElement *psElement, void *pData, uint32_t u32Size,
                                        PXRMsgContentFreeCallback rContentFree, void *pContentFreeUser)
{
    if (!psElement)
        return 0;
    if (refuseReadOnly(psElement, "PXRMsgElementSetContentBinaryNoCopy"))
        return 0;
    releaseContent(psElement);
    if (!pData)
        return 1;
    psElement->pu8Content = static_cast<uint8_t *>(pData);
    psElement->u32ContentSize = u32Size;
    psElement->rContentFree = rContentFree;
    psElement->pContentFreeUser = pContentFreeUser;
    // An empty block is released at once: size 0 means no content.
    if (u32Size == 0)
        releaseContent(psElement);
    return 1;
}

} // extern "C"
