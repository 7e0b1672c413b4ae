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
/* Fills up to u32MaxLength bytes for an import: the count written, 0 at the end of the data, negative on error. */
typedef int32_t (*PXRMsgReadFunction)(void *pDestination, uint32_t u32MaxLength, void *pUser);

/* ---- library start-up, last error, trace, version ---- */

/* 1 once the library (and the runtime under it) is started; later calls return 1 at once. */
PXR_API int PXR_initLibrary(void);
/* Ends what PXR_initLibrary started; does nothing when the library is not started. */
PXR_API void PXR_releaseLibrary(void);
/* The object's last-error text ("" for null); owned by the object. For a connection handle it is
 * the text of the calling thread's last failure on it, kept whole while other threads fail. */
PXR_API const char *PXRGetLastError(const void *pObject);
/* Installs (or, with null, removes) the process-wide trace function; returns nothing. */
PXR_API void PXRSetTraceFunction(PXRTraceFunction rFunction, void *pUser);
/* The library version text; a constant owned by the library. */
PXR_API const char *PXRGetVersion(void);
/* The caller's buffer (at least PXR_FULL_VERSION_SIZE bytes), filled with both library versions. */
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
/* 1 after the content became a copy of the data (none for null data or size 0); else the old one stays. */
PXR_API int PXRMsgElementSetContentBinary(PXRMsgElement *psElement, const void *pData, uint32_t u32Size);

/* ---- wire form ---- */

/* 1 when the whole message went through the write function; 0 with the message's last error. */
PXR_API int PXRMsgExport(PXRMsg *psMsg, PXRMsgWriteFunction rWrite, void *pUser);
/* Bytes of the exported message written into the caller's buffer; 0 when it failed or did not fit. */
PXR_API uint32_t PXRMsgExportToBinaryArray(PXRMsg *psMsg, void *pBuffer, uint32_t u32Capacity);
/* 1 when one message was read into the (cleared) message; 0 with its last error; bytes after it are dropped. */
PXR_API int PXRMsgImport(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser);
/* PXRMsgImport over a block of bytes, which stays the caller's. */
PXR_API int PXRMsgImportFromBinaryArray(PXRMsg *psMsg, const void *pData, uint32_t u32Size);

/* ---- merge: a non-zero bAddMissing adds what the destination lacks, zero only updates ---- */

/* 1 when folding the source in changed the destination; the delta stored through ppsDelta is the caller's. */
PXR_API int PXRMsgElementMerge(PXRMsgElement *psDestination, PXRMsgElement *psSource,
                               PXRMsgElement **ppsDelta, int bAddMissing);

/* ==== connection handle, requests, receive queue ==== */

/* Overall connection state changes: (handle, connected 1/0, user). */
typedef void (*PXRConnectionStateCallback)(PXR *psPxr, int bConnected, void *pUser);
/* The same with the TLS problem bits of the last handshake; also called with connected 0
 * after each TLS handshake refused for those bits. */
typedef void (*PXRConnectionStateCallback2)(PXR *psPxr, int bConnected, uint32_t u32SslErrors, void *pUser);
/* A message landed in an empty queue: (queue, user). */
typedef void (*PXRQueueNewMessageCallback)(PXRQueue *psQueue, void *pUser);
/* A message landed in the handle's empty queue: (handle, user). */
typedef void (*PXRNewMessageCallback)(PXR *psPxr, void *pUser);

/* TLS problem bits of PXRGetSSLErrors and PXRSetIgnoreSSLErrors. */
#define PXR_SSL_ERROR_NO_CRL 0x01u
#define PXR_SSL_ERROR_NOT_YET_VALID 0x02u
#define PXR_SSL_ERROR_EXPIRED 0x04u
#define PXR_SSL_ERROR_UNTRUSTED 0x08u
#define PXR_SSL_ERROR_PATH_LENGTH 0x10u
#define PXR_SSL_ERROR_REVOKED 0x20u
#define PXR_SSL_ERROR_NOT_TRUSTED 0x40u
#define PXR_SSL_ERROR_ALL 0xFFFFFFFFu

/* A new unbound handle with its own queue, or null (library not started, no memory);
 * the caller destroys it with PXRDestroy. */
PXR_API PXR *PXRCreate(void);
/* Unbinds and frees the handle, its own queue with its messages and its client certificate. */
PXR_API void PXRDestroy(PXR *psPxr);
/* 1 once the two connection threads to server:port (plain TCP) are started; 0 with the reason.
 * Options: "name=value" items separated by ";". The handle connects on its own afterwards. */
PXR_API int PXRBind(PXR *psPxr, const char *pcszServer, uint16_t u16Port, const char *pcszOptions);
/* As PXRBind, over TLS. */
PXR_API int PXRBindS(PXR *psPxr, const char *pcszServer, uint16_t u16Port, const char *pcszOptions);
/* Stops and joins the connection threads and releases the binding; 1. */
PXR_API int PXRUnbind(PXR *psPxr);
/* The bound server text (owned by the handle), or null. */
PXR_API const char *PXRGetAddress(PXR *psPxr);
/* The bound port. */
PXR_API uint16_t PXRGetPort(PXR *psPxr);
/* 1 when bound with PXRBindS. */
PXR_API int PXRGetSSL(PXR *psPxr);
/* 1 while every enabled connection is up, 0 otherwise (and for null). */
PXR_API int PXRGetConnectionState(PXR *psPxr);
/* 1 when the handle became connected within the time-out (each signal wakes one waiter). */
PXR_API int PXRWaitForConnection(PXR *psPxr, uint32_t u32TimeoutMs);
/* "FYB", "KGV" or "Unknown"; a constant text. */
PXR_API const char *PXRGetDetectedProtocol(PXR *psPxr);
/* Sets the TLS problem bits the next handshakes accept. */
PXR_API void PXRSetIgnoreSSLErrors(PXR *psPxr, uint32_t u32Mask);
/* The TLS problem bits accepted. */
PXR_API uint32_t PXRGetIgnoreSSLErrors(PXR *psPxr);
/* The TLS problem bits met by the last handshake. */
PXR_API uint32_t PXRGetSSLErrors(PXR *psPxr);
/* 1 after the PEM certificate and key replaced the client certificate; 0 with the reason and
 * no client certificate left. The texts stay the caller's. */
PXR_API int PXRUseClientCertificate(PXR *psPxr, const char *pcszCertificate, uint32_t u32CertificateLength,
                                    const char *pcszKey, uint32_t u32KeyLength);
/* PXRUseClientCertificate with the contents of the two PEM files (at most 10000 bytes each). */
PXR_API int PXRUseClientCertificateFile(PXR *psPxr, const char *pcszCertificateFile, const char *pcszKeyFile);
/* Installs the state callback (null removes it). */
PXR_API void PXRSetConnectionStateCallback(PXR *psPxr, PXRConnectionStateCallback rCallback, void *pUser);
/* Installs the state callback with TLS bits (null removes it). */
PXR_API void PXRSetConnectionStateCallback2(PXR *psPxr, PXRConnectionStateCallback2 rCallback, void *pUser);

/* Sends the request on the synchronous connection and waits up to the time-out for its
 * answer: a new read-only message owned by the caller, or null (reason in the handle's last
 * error). The request stays the caller's and must not change until this returns. */
PXR_API PXRMsg *PXRSendRequest(PXR *psPxr, PXRMsg *psRequest, uint32_t u32TimeoutMs);
/* 1 when the message was written on the asynchronous connection (a setEnableStreams also
 * when it was kept for the next connection); 0 otherwise. The message stays the caller's. */
PXR_API int PXRSendAsynchronousMessage(PXR *psPxr, PXRMsg *psMsg);

/* A new empty queue of 128 messages, or null; destroy it with PXRQueueDestroy. */
PXR_API PXRQueue *PXRQueueCreate(void);
/* 1 after the queue and the messages in it were freed; 0 while handles deliver into it. */
PXR_API int PXRQueueDestroy(PXRQueue *psQueue);
/* 1 when the message was appended (the queue owns it); 0 when full (it stays the caller's). */
PXR_API int PXRQueuePushMessage(PXRQueue *psQueue, PXRMsg *psMsg);
/* The oldest message, now the caller's, or null. */
PXR_API PXRMsg *PXRQueuePopMessage(PXRQueue *psQueue);
/* The number of messages waiting. */
PXR_API uint32_t PXRQueueGetQueueSize(PXRQueue *psQueue);
/* The capacity. */
PXR_API uint32_t PXRQueueGetMaxQueueSize(PXRQueue *psQueue);
/* Sets the capacity; messages beyond it stay until popped. */
PXR_API void PXRQueueSetMaxQueueSize(PXRQueue *psQueue, uint32_t u32MaxSize);
/* Messages refused because the queue was full. */
PXR_API uint32_t PXRQueueGetMessageDrops(PXRQueue *psQueue);
/* Sets the drop count to 0. */
PXR_API void PXRQueueResetMessageDrops(PXRQueue *psQueue);
/* Installs the callback fired when a message lands in the empty queue (null removes it). */
PXR_API void PXRQueueSetNewMessageCallback(PXRQueue *psQueue, PXRQueueNewMessageCallback rCallback, void *pUser);
/* 1 when a message was pushed within the time-out (each push wakes one waiter). */
PXR_API int PXRQueueWaitForNewMessage(PXRQueue *psQueue, uint32_t u32TimeoutMs);

/* The handle's queue functions, acting on its own queue or on the one given to PXRSetQueue. */
PXR_API PXRMsg *PXRPopMessage(PXR *psPxr);
PXR_API uint32_t PXRGetQueueSize(PXR *psPxr);
PXR_API uint32_t PXRGetMaxQueueSize(PXR *psPxr);
PXR_API void PXRSetMaxQueueSize(PXR *psPxr, uint32_t u32MaxSize);
PXR_API uint32_t PXRGetMessageDrops(PXR *psPxr);
PXR_API void PXRResetMessageDrops(PXR *psPxr);
PXR_API int PXRWaitForNewMessage(PXR *psPxr, uint32_t u32TimeoutMs);
/* Installs the new-message callback on the handle's own queue; nothing with a shared queue. */
PXR_API void PXRSetNewMessageCallback(PXR *psPxr, PXRNewMessageCallback rCallback, void *pUser);
/* 1 once the unbound handle delivers into the shared queue (its own queue is destroyed with
 * its messages); 0 with the reason for a bound handle or a null queue. */
PXR_API int PXRSetQueue(PXR *psPxr, PXRQueue *psQueue);

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
