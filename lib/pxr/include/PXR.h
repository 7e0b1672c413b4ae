/* The sensor-communication library's whole exported interface: start-up, last error and
 * trace, the message model, lists, wire form and merge. C linkage; results are 1/0 or a pointer/null. */
#ifndef PXR_H
#define PXR_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PXR_API __attribute__((visibility("default")))

/* Every PXR object begins with its last-error text of this many bytes. */
#define PXR_LAST_ERROR_SIZE 2048
/* Smallest buffer PXRGetFullVersion may be given; it never writes more than this. */
#define PXR_FULL_VERSION_SIZE 128

/* Trace levels. */
#define PXR_LEVEL_FATAL 2
#define PXR_LEVEL_ERROR 3
#define PXR_LEVEL_WARNING 4
#define PXR_LEVEL_EVENT 5
#define PXR_LEVEL_DETAIL 6
#define PXR_LEVEL_DEBUG 7

typedef struct PXR PXR;                     /* connection handle */
typedef struct PXRQueue PXRQueue;           /* receive queue */
typedef struct PXRDiscover PXRDiscover;     /* discovery listener */
typedef struct PXRMsg PXRMsg;               /* message: one root element tree */
typedef struct PXRMsgElement PXRMsgElement; /* element: name, attributes, children, content */
typedef struct PXRList PXRList;             /* doubly linked list of untyped pointers */

/* A list item; its data slot comes first, so an item pointer also addresses its data. */
typedef struct PXRListItem {
    void *pData;
    struct PXRListItem *psPrevious;
    struct PXRListItem *psNext;
} PXRListItem;

/* Process-wide trace receiver: (handle or null, level 2..7, "[module]text", user). */
typedef int (*PXRTraceFunction)(PXR *pPxr, int iLevel, const char *pcszText, void *pUser);
/* Releases an element's binary content. */
typedef void (*PXRMsgContentFreeCallback)(void *pContent, void *pUser);
/* Receives one piece of an exported message; non-zero when it accepted the bytes. */
typedef int (*PXRMsgWriteFunction)(const void *pData, uint32_t u32Length, void *pUser);
/* Fills up to u32MaxLength bytes for an import: the count written, 0 at the end of the
 * data, or a negative number on error. */
typedef int32_t (*PXRMsgReadFunction)(void *pDestination, uint32_t u32MaxLength, void *pUser);

/* ---- library start-up, last error, trace, version ---- */

/* 1 once the library (and the runtime under it) is started; later calls return 1 at once. */
PXR_API int PXR_initLibrary(void);
/* Ends what PXR_initLibrary started; does nothing when the library is not started. */
PXR_API void PXR_releaseLibrary(void);
/* The object's last-error text ("" for null); owned by the object. */
PXR_API const char *PXRGetLastError(const void *pObject);
/* Installs (or, with null, removes) the process-wide trace function; returns nothing. */
PXR_API void PXRSetTraceFunction(PXRTraceFunction rFunction, void *pUser);
/* The library version text; a constant owned by the library. */
PXR_API const char *PXRGetVersion(void);
/* Writes the PXR and legacy library versions into the caller's buffer of at least
 * PXR_FULL_VERSION_SIZE bytes; returns that buffer (null for a null buffer). */
PXR_API char *PXRGetFullVersion(char *pszBuffer);

/* ---- lists ---- */

/* A new empty list, or null; the caller destroys it with PXRListDestroy. */
PXR_API PXRList *PXRListCreate(void);
/* 1 when the empty list was freed; 0 (list kept) when it still holds items or is null. */
PXR_API int PXRListDestroy(PXRList *psList);
/* The first item or null; owned by the list. */
PXR_API PXRListItem *PXRListFirstItem(PXRList *psList);
/* The item after this one or null; owned by the list. */
PXR_API PXRListItem *PXRListNextItem(PXRListItem *psItem);
/* The item before this one or null; owned by the list. */
PXR_API PXRListItem *PXRListPreviousItem(PXRListItem *psItem);
/* The number of items. */
PXR_API uint32_t PXRListSize(PXRList *psList);
/* The new last item holding the data, or null; the list owns the item, never the data. */
PXR_API PXRListItem *PXRListPushBack(PXRList *psList, void *pData);
/* The new item holding the data, placed before the given one (at the end for null), or null. */
PXR_API PXRListItem *PXRListInsert(PXRList *psList, PXRListItem *psItem, void *pData);
/* Unlinks and frees the item; returns its data, which stays the caller's. */
PXR_API void *PXRListTakeItem(PXRList *psList, PXRListItem *psItem);

/* ---- messages ---- */

/* A new empty, writable message, or null; the caller destroys it. */
PXR_API PXRMsg *PXRMsgCreate(void);
/* Drops one reference; the last holder's call frees the message and its tree. */
PXR_API void PXRMsgDestroy(PXRMsg *psMsg);
/* 1 with one more reference taken on a read-only message; 0 on a writable one. */
PXR_API int PXRMsgAddRef(PXRMsg *psMsg);
/* 1 when the read-only flag was set (non-zero) or cleared (0, only without references). */
PXR_API int PXRMsgSetReadOnly(PXRMsg *psMsg, int iReadOnly);
/* The read-only value, 0 when writable. */
PXR_API int PXRMsgIsReadOnly(PXRMsg *psMsg);
/* 1 after the root tree was destroyed and the owner cleared; 0 on a read-only message. */
PXR_API int PXRMsgClear(PXRMsg *psMsg);
/* A new writable deep copy without owner or user data, or null; the caller owns it. */
PXR_API PXRMsg *PXRMsgCopy(PXRMsg *psMsg);
/* The root element or null; owned by the message. */
PXR_API PXRMsgElement *PXRMsgChild(PXRMsg *psMsg);
/* 1 after a detached element became the root (the old tree destroyed); the message owns it. */
PXR_API int PXRMsgSetChild(PXRMsg *psMsg, PXRMsgElement *psElement);
/* The application's pointer kept with the message. */
PXR_API void *PXRMsgGetUserData(PXRMsg *psMsg);
/* 1 after storing the application's pointer; 0 on a read-only message. */
PXR_API int PXRMsgSetUserData(PXRMsg *psMsg, void *pUserData);
/* The handle that received the message, or null for one built locally; not the caller's. */
PXR_API PXR *PXRMsgGetPXR(PXRMsg *psMsg);
/* 1 exactly for "true" and "1", 0 otherwise. */
PXR_API int PXRMsgStrToBool(const char *pcszText);
/* 1 when both texts are non-null and equal up to ASCII letter case, 0 otherwise. */
PXR_API int PXRMsgStringEqual(const char *pcszText1, const char *pcszText2);

/* ---- elements ---- */

/* A new detached element, or null; the caller destroys it or hands it to a tree. */
PXR_API PXRMsgElement *PXRMsgElementCreate(const char *pcszName);
/* 1 after the element and its subtree were destroyed and unlinked; 0 in a read-only message. */
PXR_API int PXRMsgElementDestroy(PXRMsgElement *psElement);
/* A detached deep copy, or null; the caller owns it. */
PXR_API PXRMsgElement *PXRMsgElementCopy(PXRMsgElement *psElement);
/* 1 after the element left its parent or message; the caller then owns it. */
PXR_API int PXRMsgElementDetach(PXRMsgElement *psElement);
/* 1 after the detached child was appended; the parent then owns it. */
PXR_API int PXRMsgElementAddChild(PXRMsgElement *psParent, PXRMsgElement *psChild);
/* The parent element or null; not the caller's. */
PXR_API PXRMsgElement *PXRMsgElementParent(PXRMsgElement *psElement);
/* The message the element belongs to, or null; not the caller's. */
PXR_API PXRMsg *PXRMsgElementMsg(PXRMsgElement *psElement);
/* The element's name; owned by the element. */
PXR_API const char *PXRMsgElementName(PXRMsgElement *psElement);
/* 1 after the name was replaced by a copy of the given one. */
PXR_API int PXRMsgElementSetName(PXRMsgElement *psElement, const char *pcszName);
/* The first child (with that name unless null or ""), or null; owned by the element. */
PXR_API PXRMsgElement *PXRMsgElementFirstChild(PXRMsgElement *psElement, const char *pcszName);
/* The next sibling of a child of this parent (with that name unless null or ""), or null. */
PXR_API PXRMsgElement *PXRMsgElementNextChild(PXRMsgElement *psParent, PXRMsgElement *psChild,
                                              const char *pcszName);
/* The number of children, or of children with that name when one is given (even ""). */
PXR_API uint32_t PXRMsgElementChildCount(PXRMsgElement *psElement, const char *pcszName);
/* The number of attributes. */
PXR_API uint32_t PXRMsgElementAttributeCount(PXRMsgElement *psElement);
/* The name of the attribute at that position, "" past the end; owned by the element. */
PXR_API const char *PXRMsgElementAttributeName(PXRMsgElement *psElement, uint32_t u32Index);
/* The value of the attribute of that name, or null; owned by the element. */
PXR_API const char *PXRMsgElementAttributeValue(PXRMsgElement *psElement, const char *pcszName);
/* 1 after the value was replaced in place or the attribute appended (copies kept). */
PXR_API int PXRMsgElementSetAttribute(PXRMsgElement *psElement, const char *pcszName,
                                      const char *pcszValue);
/* 1 after storing "1" for a non-zero flag, "0" otherwise. */
PXR_API int PXRMsgElementSetAttributeBool(PXRMsgElement *psElement, const char *pcszName, int bValue);
/* 1 after storing the value in decimal. */
PXR_API int PXRMsgElementSetAttributeInt(PXRMsgElement *psElement, const char *pcszName, int32_t i32Value);
/* 1 after storing the value in decimal. */
PXR_API int PXRMsgElementSetAttributeUInt(PXRMsgElement *psElement, const char *pcszName, uint32_t u32Value);
/* 1 after storing the value in decimal. */
PXR_API int PXRMsgElementSetAttributeInt64(PXRMsgElement *psElement, const char *pcszName, int64_t i64Value);
/* 1 after storing the value with six decimals and a point ("1.500000"), whatever the locale. */
PXR_API int PXRMsgElementSetAttributeFloat(PXRMsgElement *psElement, const char *pcszName, float fValue);
/* 1 when the attribute of that name is gone (also when there was none). */
PXR_API int PXRMsgElementRemoveAttribute(PXRMsgElement *psElement, const char *pcszName);
/* The binary content or null; owned by the element. */
PXR_API const void *PXRMsgElementContent(PXRMsgElement *psElement);
/* The content size in bytes, 0 without content. */
PXR_API uint32_t PXRMsgElementContentSize(PXRMsgElement *psElement);
/* 1 after the content was replaced by a copy of the data (no content for null data or
 * size 0); on failure the old content stays. */
PXR_API int PXRMsgElementSetContentBinary(PXRMsgElement *psElement, const void *pData, uint32_t u32Size);

/* ---- wire form ---- */

/* 1 when the whole message went through the write function; 0 with the message's last error. */
PXR_API int PXRMsgExport(PXRMsg *psMsg, PXRMsgWriteFunction rWrite, void *pUser);
/* Bytes of the exported message written into the caller's buffer; 0 when it failed or does not fit. */
PXR_API uint32_t PXRMsgExportToBinaryArray(PXRMsg *psMsg, void *pBuffer, uint32_t u32Capacity);
/* 1 when one message was read through the function into the (cleared) message; 0 with its
 * last error. Bytes after the message may have been read and are dropped. */
PXR_API int PXRMsgImport(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser);
/* PXRMsgImport over a block of bytes, which stays the caller's. */
PXR_API int PXRMsgImportFromBinaryArray(PXRMsg *psMsg, const void *pData, uint32_t u32Size);

/* ---- merge ---- */

/* 1 when folding the source into the destination changed it, 0 otherwise. With a delta
 * pointer, a new element holding what changed is stored there; the caller owns it. A
 * non-zero add-missing flag adds what the destination lacks; zero only updates. */
PXR_API int PXRMsgElementMerge(PXRMsgElement *psDestination, PXRMsgElement *psSource,
                               PXRMsgElement **ppsDelta, int bAddMissing);

/* ---- discovery ---- */

/* A stopped listener for sensor announcements on UDP port 22022, or null; destroy it with
 * PXRDiscoverDestroy. */
PXR_API PXRDiscover *PXRDiscoverCreate(void);
/* 1 once the listening thread runs; 0 with "Already started" when it already does. */
PXR_API int PXRDiscoverStart(PXRDiscover *psDiscover);
/* 1 once the listening thread has ended (the sensors heard are kept). */
PXR_API int PXRDiscoverStop(PXRDiscover *psDiscover);
/* With a null array: 1 and the number of sensors heard in *pu32Count. Otherwise 1 with the
 * first *pu32Count places (lowered to the number of sensors) filled with copies of their
 * discover messages, in the order first heard; the caller destroys the copies. */
PXR_API int PXRDiscoverGetDiscovered(PXRDiscover *psDiscover, PXRMsg **ppsMsgs, uint32_t *pu32Count);
/* Stops the listener and frees it with every sensor heard. */
PXR_API void PXRDiscoverDestroy(PXRDiscover *psDiscover);

#ifdef __cplusplus
}
#endif

#endif
