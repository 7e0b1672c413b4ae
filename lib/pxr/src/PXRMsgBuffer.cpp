/* Pooled output pieces of the wire writer: 2048-byte blocks reused from message to message,
 * and detached items that point at bytes the writer does not copy. */
#include "PXR_Internal.h"

extern "C" {

// The item records of a pool are one array, so a pool costs one allocation; its first
// record is the lowest address among them, which is how the release finds the array.
int PXRMsg_createBufferPool(SA_Pool *ppsPool, uint32_t u32Count, int bDetached)
{
    PXRMsg_BufferItem *psItems = static_cast<PXRMsg_BufferItem *>(SA_Calloc(u32Count, sizeof(PXRMsg_BufferItem)));
    if (!psItems || SA_CreatePool(ppsPool, u32Count) != SA_OK) {
        SA_Free(&psItems);
        return 0;
    }
    for (uint32_t i = 0; i < u32Count; i++) {
        psItems[i].psPool = *ppsPool;
        psItems[i].u8Detached = bDetached ? 1 : 0;
        SA_WritePool(*ppsPool, &psItems[i]);
    }
    return 1;
}

void PXRMsg_releaseBufferPool(SA_Pool *ppsPool)
{
    if (!ppsPool || !*ppsPool)
        return;
    PXRMsg_BufferItem *psItems = nullptr;
    while (PXRMsg_BufferItem *psItem = static_cast<PXRMsg_BufferItem *>(SA_ReadPool(*ppsPool))) {
        if (!psItem->u8Detached)
            SA_Free(&psItem->pu8Data);
        if (!psItems || psItem < psItems)
            psItems = psItem;
    }
    SA_Free(&psItems);
    SA_ReleasePool(ppsPool);
}

PXRMsg_BufferItem *PXRMsg_BufferItemTake(SA_Pool psPool)
{
    PXRMsg_BufferItem *psItem = static_cast<PXRMsg_BufferItem *>(SA_ReadPool(psPool));
    if (!psItem)
        return nullptr;
    if (!psItem->u8Detached && !psItem->pu8Data) {
        psItem->pu8Data = static_cast<uint8_t *>(SA_Malloc(PXR_BUFFER_BLOCK_SIZE));
        if (!psItem->pu8Data) {
            SA_WritePool(psPool, psItem);
            return nullptr;
        }
        psItem->u32Capacity = PXR_BUFFER_BLOCK_SIZE;
    }
    psItem->u32Length = psItem->u32Capacity;
    return psItem;
}

void PXRMsg_BufferItemRelease(PXRMsg_BufferItem *psItem)
{
    if (!psItem)
        return;
    if (psItem->u8Detached)
        psItem->pu8Data = nullptr;
    SA_WritePool(psItem->psPool, psItem);
}

void PXRMsg_releaseBufferList(PXRList *psList)
{
    while (PXRListItem *psFirst = PXRListFirstItem(psList))
        PXRMsg_BufferItemRelease(static_cast<PXRMsg_BufferItem *>(PXRListTakeItem(psList, psFirst)));
}

} // extern "C"
