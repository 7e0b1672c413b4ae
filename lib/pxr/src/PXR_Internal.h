/* Records and internal operations of the sensor-communication library, shared by its
 * sources, the legacy bridge and the tests; nothing here is exported. */
#ifndef PXR_INTERNAL_H
#define PXR_INTERNAL_H

#include "PXR.h"
#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Trace module names. */
#define PXR_MODULE_PXR "PXR"
#define PXR_MODULE_MSG "PXRMsg"

struct PXRList {
    PXRListItem *psFirst;
    PXRListItem *psLast;
    uint32_t u32Count;
};

struct PXRMsg {
    char aszLastError[PXR_LAST_ERROR_SIZE];
    PXRMsgElement *psRoot;
    int32_t i32ReadOnly;
    uint32_t u32RefCount;
    SA_Mutex hMutex; /* guards i32ReadOnly and u32RefCount only */
    void *pUserData;
    PXR *psOwner;
};

struct PXRMsgElement {
    char aszLastError[PXR_LAST_ERROR_SIZE];
    char *pszName;
    uint8_t *pu8Content;
    uint32_t u32ContentSize;
    PXRMsgContentFreeCallback rContentFree; /* null: the runtime's free */
    void *pContentFreeUser;
    PXRMsg *psMsg; /* kept on every element of a message's tree, null on detached trees */
    PXRMsgElement *psParent;
    PXRList sAttributes; /* name, value, name, value... */
    PXRList sChildren;
    PXRListItem *psParentItem; /* this element's item in its parent's children */
};

/* ---- library ---- */

/* Empties the object's last-error text. */
void PXR_clearLastError(void *pObject);
/* Formats the reason into the object's last-error text, cut to fit. */
void PXR_setLastError(void *pObject, const char *pcszFormat, ...) __attribute__((format(printf, 2, 3)));
/* "[module]" and the formatted text to the trace function, when one is installed. */
void PXR_trace(PXR *pPxr, const char *pcszModule, int iLevel, const char *pcszFormat, ...)
    __attribute__((format(printf, 4, 5)));
/* The runtime's assertion handler while the library runs. */
void PXR_assertCallback(const char *pcszExpression, const char *pcszFile, const char *pcszFunction,
                        uint32_t u32Line, const char *pcszTaskName, const char *pcszInfo);
/* 1 while PXR_initLibrary has been called and not released. */
int PXR_isInitialised(void);
/* The full version text into a buffer of the given size, always terminated; the buffer. */
char *PXR_getFullVersion(char *pszBuffer, size_t szSize);

/* ---- lists ---- */

/* Unlinks and frees every item; the data stays the caller's. */
void PXRList_clear(PXRList *psList);

/* ---- messages and elements ---- */

#define PXR_REASON_READ_ONLY "Message is read only"

/* Writes the reason into the object and traces "<function> error : <reason>" at level 3. */
void PXRMsg_fail(void *pObject, const char *pcszFunction, const char *pcszReason);
/* 1 after refusing a change in a read-only message, its reason written into the object. */
int PXRMsg_refuseReadOnly(void *pObject, PXRMsg *psMsg, const char *pcszFunction);
/* Points every element of the subtree at the message (null for a detached subtree). */
void PXRMsgElement_setMsgInTree(PXRMsgElement *psElement, PXRMsg *psMsg);

/* Content release through the runtime's free; the default for copied contents. */
void PXRMsg_dataClearCallback(void *pContent, void *pUser);
/* Number of elements of the root tree that carry content. */
uint32_t PXRMsg_countContents(PXRMsg *psMsg);
/* The element whose first "xop:Include" child's first "href" equals the id, or null. */
PXRMsgElement *PXRMsg_findXopID(PXRMsg *psMsg, const char *pcszId);
PXRMsgElement *PXRMsgElement_findXopID(PXRMsgElement *psElement, const char *pcszId);
/* Destroys the element's subtree without any read-only check or unlinking from a parent. */
void PXRMsgElement_destroyInternal(PXRMsgElement *psElement);
/* Takes the caller's block as content without copying it; 1, or 0 in a read-only message. */
int PXRMsgElementSetContentBinaryNoCopy(PXRMsgElement *psElement, void *pData, uint32_t u32Size,
                                        PXRMsgContentFreeCallback rContentFree, void *pContentFreeUser);
/* 1 when the element belongs to a read-only message. */
int PXRMsgElement_isReadOnly(PXRMsgElement *psElement);
/* The next element after this one in depth-first order, staying inside the top element. */
PXRMsgElement *PXRMsgElement_nextInTree(PXRMsgElement *psElement, PXRMsgElement *psTop);
/* Decimal and fixed-point texts in the C locale, whatever the process locale. */
void PXRMsg_formatInt64(char *pszBuffer, size_t szSize, int64_t i64Value);
void PXRMsg_formatUInt64(char *pszBuffer, size_t szSize, uint64_t u64Value);
void PXRMsg_formatDouble(char *pszBuffer, size_t szSize, double dValue);

/* ---- merge ---- */

typedef int (*PXRMsgElementMatchRule)(PXRMsgElement *psSource, PXRMsgElement *psDestination);
/* Removes an unchanged attribute from a delta; returns 1 when it was removed. */
typedef int (*PXRMsgElementRemoveAttributeRule)(PXRMsgElement *psSource, const char *pcszName);

int PXRMsgElement_mergeMatch(PXRMsgElement *psSource, PXRMsgElement *psDestination);
int PXRMsgElement_mergeRemoveAttribute(PXRMsgElement *psSource, const char *pcszName);
int PXRMsgElement_mergeInternal(PXRMsgElement *psDestination, PXRMsgElement *psSource, int bConsume,
                                int bAddMissing, PXRMsgElementMatchRule rMatch,
                                PXRMsgElementRemoveAttributeRule rRemove);

#ifdef __cplusplus
}
#endif

#endif
