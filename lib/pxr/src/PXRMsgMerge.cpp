/* Folding one element tree into another, children matched by name and identifier, with
 * the optional delta: what of the source actually changed the destination. The walk keeps
 * its own stack, so trees from the network cannot exhaust a thread's stack. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const char kValue[] = "value";
const char kText[] = "text";
const char kId[] = "id";

// One pair of elements being merged, with the position reached in its children.
struct MergeFrame {
    PXRMsgElement *psDestination;
    PXRMsgElement *psSource;
    PXRListItem *psCursor; // next source child (add-missing) or destination child (update)
    int bChanged;
};

struct MergeRun {
    int bConsume;
    int bAddMissing;
    PXRMsgElementMatchRule rMatch;
    PXRMsgElementRemoveAttributeRule rRemove;
};

int valuesDiffer(const char *pcszA, const char *pcszB)
{
    return !pcszA || !pcszB || strcmp(pcszA, pcszB) != 0;
}

const char *nameAt(PXRListItem *psItem)
{
    return static_cast<const char *>(psItem->pData);
}

const char *valueAt(PXRListItem *psItem)
{
    return static_cast<const char *>(psItem->psNext->pData);
}

int mergeAttributesAddMissing(PXRMsgElement *psDestination, PXRMsgElement *psSource, const MergeRun &sRun)
{
    int bChanged = 0;
    PXRListItem *psItem = psSource->sAttributes.psFirst;
    while (psItem && psItem->psNext) {
        // Noted first: the removal rule may take this pair out of the source.
        PXRListItem *psNext = psItem->psNext->psNext;
        if (valuesDiffer(PXRMsgElementAttributeValue(psDestination, nameAt(psItem)), valueAt(psItem))) {
            PXRMsgElementSetAttribute(psDestination, nameAt(psItem), valueAt(psItem));
            bChanged = 1;
        } else if (sRun.bConsume) {
            sRun.rRemove(psSource, nameAt(psItem));
        }
        psItem = psNext;
    }
    return bChanged;
}

int mergeAttributesUpdate(PXRMsgElement *psDestination, PXRMsgElement *psSource, const MergeRun &sRun)
{
    int bChanged = 0;
    for (PXRListItem *psItem = psDestination->sAttributes.psFirst; psItem && psItem->psNext;
         psItem = psItem->psNext->psNext) {
        const char *pcszSourceValue = PXRMsgElementAttributeValue(psSource, nameAt(psItem));
        if (!pcszSourceValue)
            continue;
        if (valuesDiffer(valueAt(psItem), pcszSourceValue)) {
            PXRMsgElementSetAttribute(psDestination, nameAt(psItem), pcszSourceValue);
            bChanged = 1;
        } else if (sRun.bConsume) {
            sRun.rRemove(psSource, nameAt(psItem));
        }
    }
    return bChanged;
}

int mergeContent(PXRMsgElement *psDestination, PXRMsgElement *psSource, const MergeRun &sRun)
{
    uint32_t u32Size = psSource->u32ContentSize;
    if (psDestination->u32ContentSize != u32Size ||
        (u32Size != 0 && memcmp(psDestination->pu8Content, psSource->pu8Content, u32Size) != 0)) {
        PXRMsgElementSetContentBinary(psDestination, psSource->pu8Content, u32Size);
        return 1;
    }
    if (sRun.bConsume)
        PXRMsgElementSetContentBinary(psSource, nullptr, 0);
    return 0;
}

// Attributes and content of one pair; its children are walked afterwards.
void mergeNode(MergeFrame *psFrame, const MergeRun &sRun)
{
    PXRMsgElement *psDestination = psFrame->psDestination;
    PXRMsgElement *psSource = psFrame->psSource;
    psFrame->bChanged = sRun.bAddMissing ? mergeAttributesAddMissing(psDestination, psSource, sRun)
                                         : mergeAttributesUpdate(psDestination, psSource, sRun);
    if (mergeContent(psDestination, psSource, sRun))
        psFrame->bChanged = 1;
    psFrame->psCursor = sRun.bAddMissing ? psSource->sChildren.psFirst : psDestination->sChildren.psFirst;
}

PXRMsgElement *firstMatch(PXRMsgElement *psParent, PXRMsgElement *psOther, PXRMsgElementMatchRule rMatch,
                          int bParentIsSource)
{
    for (PXRListItem *psItem = psParent->sChildren.psFirst; psItem; psItem = psItem->psNext) {
        PXRMsgElement *psChild = static_cast<PXRMsgElement *>(psItem->pData);
        if (bParentIsSource ? rMatch(psChild, psOther) : rMatch(psOther, psChild))
            return psChild;
    }
    return nullptr;
}

// The next child pair of the frame to descend into, or 0 when its children are done.
// A source child without a match is appended whole in add-missing mode.
int nextPair(MergeFrame *psFrame, const MergeRun &sRun, MergeFrame *psChild)
{
    while (psFrame->psCursor) {
        PXRMsgElement *psAt = static_cast<PXRMsgElement *>(psFrame->psCursor->pData);
        psFrame->psCursor = psFrame->psCursor->psNext;
        if (!sRun.bAddMissing) {
            PXRMsgElement *psSource = firstMatch(psFrame->psSource, psAt, sRun.rMatch, 1);
            if (!psSource)
                continue;
            *psChild = MergeFrame{psAt, psSource, nullptr, 0};
            return 1;
        }
        PXRMsgElement *psDestination = firstMatch(psFrame->psDestination, psAt, sRun.rMatch, 0);
        if (psDestination) {
            *psChild = MergeFrame{psDestination, psAt, nullptr, 0};
            return 1;
        }
        PXRMsgElement *psCopy = PXRMsgElementCopy(psAt);
        if (psCopy && PXRMsgElementAddChild(psFrame->psDestination, psCopy))
            psFrame->bChanged = 1;
        else if (psCopy)
            PXRMsgElement_destroyInternal(psCopy);
    }
    return 0;
}

// A small growable stack of frames from the runtime allocator.
struct FrameStack {
    MergeFrame *psFrames;
    uint32_t u32Count;
    uint32_t u32Capacity;
};

int pushFrame(FrameStack *psStack, const MergeFrame &sFrame)
{
    if (psStack->u32Count == psStack->u32Capacity) {
        uint32_t u32Capacity = psStack->u32Capacity ? psStack->u32Capacity * 2 : 16;
        MergeFrame *psFrames = static_cast<MergeFrame *>(SA_Calloc(u32Capacity, sizeof(MergeFrame)));
        if (!psFrames)
            return 0;
        if (psStack->u32Count)
            memcpy(psFrames, psStack->psFrames, psStack->u32Count * sizeof(MergeFrame));
        SA_Free(&psStack->psFrames);
        psStack->psFrames = psFrames;
        psStack->u32Capacity = u32Capacity;
    }
    psStack->psFrames[psStack->u32Count++] = sFrame;
    return 1;
}

} // namespace

extern "C" {

int PXRMsgElement_mergeMatch(PXRMsgElement *psSource, PXRMsgElement *psDestination)
{
    if (!PXRMsgStringEqual(psSource->pszName, psDestination->pszName))
        return 0;
    // "value" elements are told apart by their text; two without text are the same value.
    const char *pcszKey = PXRMsgStringEqual(psSource->pszName, kValue) ? kText : kId;
    const char *pcszSource = PXRMsgElementAttributeValue(psSource, pcszKey);
    const char *pcszDestination = PXRMsgElementAttributeValue(psDestination, pcszKey);
    if (!pcszSource || !pcszDestination)
        return !pcszSource && !pcszDestination;
    return PXRMsgStringEqual(pcszSource, pcszDestination);
}

int PXRMsgElement_mergeRemoveAttribute(PXRMsgElement *psSource, const char *pcszName)
{
    if (PXRMsgStringEqual(pcszName, kId))
        return 0;
    return PXRMsgElementRemoveAttribute(psSource, pcszName);
}

int PXRMsgElement_mergeInternal(PXRMsgElement *psDestination, PXRMsgElement *psSource, int bConsume,
                                int bAddMissing, PXRMsgElementMatchRule rMatch,
                                PXRMsgElementRemoveAttributeRule rRemove)
{
    const MergeRun sRun{bConsume, bAddMissing, rMatch, rRemove};
    FrameStack sStack{nullptr, 0, 0};
    MergeFrame sRoot{psDestination, psSource, nullptr, 0};
    mergeNode(&sRoot, sRun);
    if (!pushFrame(&sStack, sRoot))
        return sRoot.bChanged;
    int bChanged = 0;
    while (sStack.u32Count > 0) {
        MergeFrame *psTop = &sStack.psFrames[sStack.u32Count - 1];
        MergeFrame sChild;
        if (nextPair(psTop, sRun, &sChild)) {
            mergeNode(&sChild, sRun);
            if (pushFrame(&sStack, sChild))
                continue;
            // Without room to go deeper, this pair keeps what its own level changed.
            psTop->bChanged |= sChild.bChanged;
            continue;
        }
        MergeFrame sDone = *psTop;
        sStack.u32Count--;
        if (sStack.u32Count == 0) {
            bChanged = sDone.bChanged;
            break;
        }
        MergeFrame *psParent = &sStack.psFrames[sStack.u32Count - 1];
        if (sDone.bChanged)
            psParent->bChanged = 1;
        else if (bConsume)
            PXRMsgElementDestroy(sDone.psSource);
    }
    SA_Free(&sStack.psFrames);
    return bChanged;
}

int PXRMsgElementMerge(PXRMsgElement *psDestination, PXRMsgElement *psSource, PXRMsgElement **ppsDelta,
                       int bAddMissing)
{
    static const char kFunction[] = "PXRMsgElementMerge";
    if (ppsDelta)
        *ppsDelta = nullptr;
    if (!psDestination || !psSource)
        return 0;
    if (PXRMsg_refuseReadOnly(psDestination, psDestination->psMsg, kFunction))
        return 0;
    PXRMsgElement *psFrom = psSource;
    if (ppsDelta) {
        psFrom = PXRMsgElementCopy(psSource);
        if (!psFrom) {
            PXRMsg_fail(psDestination, kFunction, "Memory allocation failed");
            return 0;
        }
    }
    int bChanged = PXRMsgElement_mergeInternal(psDestination, psFrom, ppsDelta != nullptr, bAddMissing,
                                               &PXRMsgElement_mergeMatch, &PXRMsgElement_mergeRemoveAttribute);
    if (ppsDelta)
        *ppsDelta = psFrom;
    return bChanged;
}

} // extern "C"
