/* The library's generic container: a doubly linked list of untyped pointers that owns its
 * items, never their data. */
#include "PXR_Internal.h"

extern "C" {

PXRList *PXRListCreate(void)
{
    return static_cast<PXRList *>(SA_Calloc(1, sizeof(PXRList)));
}

int PXRListDestroy(PXRList *psList)
{
    if (!psList)
        return 0;
    SA_ASSERT(psList->u32Count == 0);
    if (psList->u32Count != 0)
        return 0;
    SA_Free(&psList);
    return 1;
}

PXRListItem *PXRListFirstItem(PXRList *psList)
{
    return psList ? psList->psFirst : nullptr;
}

PXRListItem *PXRListNextItem(PXRListItem *psItem)
{
    return psItem ? psItem->psNext : nullptr;
}

PXRListItem *PXRListPreviousItem(PXRListItem *psItem)
{
    return psItem ? psItem->psPrevious : nullptr;
}

uint32_t PXRListSize(PXRList *psList)
{
    return psList ? psList->u32Count : 0;
}

PXRListItem *PXRListPushBack(PXRList *psList, void *pData)
{
    return PXRListInsert(psList, nullptr, pData);
}

PXRListItem *PXRListInsert(PXRList *psList, PXRListItem *psItem, void *pData)
{
    if (!psList)
        return nullptr;
    PXRListItem *psNew = static_cast<PXRListItem *>(SA_Calloc(1, sizeof(PXRListItem)));
    if (!psNew)
        return nullptr;
    psNew->pData = pData;
    psNew->psNext = psItem;
    psNew->psPrevious = psItem ? psItem->psPrevious : psList->psLast;
    if (psNew->psPrevious)
        psNew->psPrevious->psNext = psNew;
    else
        psList->psFirst = psNew;
    if (psItem)
        psItem->psPrevious = psNew;
    else
        psList->psLast = psNew;
    psList->u32Count++;
    return psNew;
}

void *PXRListTakeItem(PXRList *psList, PXRListItem *psItem)
{
    if (!psList || !psItem)
        return nullptr;
    if (psItem->psPrevious)
        psItem->psPrevious->psNext = psItem->psNext;
    else
        psList->psFirst = psItem->psNext;
    if (psItem->psNext)
        psItem->psNext->psPrevious = psItem->psPrevious;
    else
        psList->psLast = psItem->psPrevious;
    psList->u32Count--;
    void *pData = psItem->pData;
    SA_Free(&psItem);
    return pData;
}

void PXRList_clear(PXRList *psList)
{
    while (psList && psList->psFirst)
        PXRListTakeItem(psList, psList->psFirst);
}

} // extern "C"
