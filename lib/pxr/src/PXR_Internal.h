/* Records and internal operations of the sensor-communication library, shared by its
 * sources, the legacy bridge and the tests; nothing here is exported. */
#ifndef PXR_INTERNAL_H
#define PXR_INTERNAL_H

#include "PXR.h"
#include "SA_Core.h"
#include "SA_Net.h"
#include "SA_Queue.h"

#include <expat.h>

#include <atomic>

#ifdef __cplusplus
extern "C" {
#endif

/* Trace module names. */
#define PXR_MODULE_PXR "PXR"
#define PXR_MODULE_MSG "PXRMsg"
#define PXR_MODULE_EXPORT "Export"

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
/* The same for a connection handle: the calling thread's own copy of the text is what it reads
 * back with PXRGetLastError, whatever other threads write meanwhile. */
void PXR_setHandleError(PXR *psPxr, const char *pcszFormat, ...) __attribute__((format(printf, 2, 3)));
void PXR_clearHandleError(PXR *psPxr);
/* Voids every thread's copies: called before a handle is freed, so a new handle at the same
 * address never shows an old text. */
void PXR_forgetHandleErrors(void);
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

/* ---- wire form writer ---- */

#define PXR_MAX_CONTENTS 15          /* binary parts per message, Content-IDs "A" to "O" */
#define PXR_BUFFER_BLOCK_SIZE 2048   /* bytes of XML and part headers per pooled item */
#define PXR_CONNECTION_BUFFER_ITEMS 32
#define PXR_EXPORT_BUFFER_ITEMS 256
#define PXR_SOCKET_SLICE 256000      /* largest single socket write or read of a content */
#define PXR_SEND_TIMEOUT_MS 30000

/* One piece of a document being written: a pooled 2048-byte block, or (detached) a
 * pointer at a constant header or at an element's content. */
typedef struct PXRMsg_BufferItem {
    SA_Pool psPool;
    uint8_t *pu8Data;
    uint32_t u32Length;
    uint32_t u32Capacity;
    uint8_t u8Detached;
} PXRMsg_BufferItem;

/* 1 with *ppsPool holding u32Count items (blocks come on first use), 0 with it null. */
int PXRMsg_createBufferPool(SA_Pool *ppsPool, uint32_t u32Count, int bDetached);
/* Frees every item in the pool with its block, then the pool; the variable becomes null. */
void PXRMsg_releaseBufferPool(SA_Pool *ppsPool);
/* The next item of the pool with its length set to its capacity, or null when none is left. */
PXRMsg_BufferItem *PXRMsg_BufferItemTake(SA_Pool psPool);
/* Gives the item back to its pool. */
void PXRMsg_BufferItemRelease(PXRMsg_BufferItem *psItem);
/* Gives every item of the list back to its pool; the list is left empty. */
void PXRMsg_releaseBufferList(PXRList *psList);

/* Builds the whole document into the list: 1, or 0 with the message's last error set and
 * every item already back in its pool. */
int PXRMsg_writeToBufferList(PXRMsg *psMsg, PXRList *psList, SA_Pool psBufferPool, SA_Pool psDetachedPool);
/* Receives one write of at most PXR_SOCKET_SLICE bytes; 1 when it went through. */
typedef int (*PXRMsg_SliceWriter)(void *pUser, const void *pData, uint32_t u32Length);
/* Passes every item of the list to the writer in order, in pieces of at most u32Slice bytes;
 * 1 when all went through, 0 at the first refusal. */
int PXRMsg_writeBufferList(PXRList *psList, uint32_t u32Slice, PXRMsg_SliceWriter rWriter, void *pUser);
/* Writes the message on the socket; 1 when every byte was written. */
int PXRMsg_writeToSocket(PXRMsg *psMsg, SA_Socket psSocket, SA_Pool psBufferPool, SA_Pool psDetachedPool);

/* Target of PXRMsgExportToBinaryArray. */
typedef struct PXRMsg_BinaryArray {
    uint8_t *pu8Data;
    uint32_t u32Capacity;
    uint32_t u32Used;
} PXRMsg_BinaryArray;
/* Appends the piece when it fits in the array; 1, or 0 when it does not. */
int PXRMsg_toBinaryArrayCallback(const void *pData, uint32_t u32Length, void *pUser);

/* ---- wire form reader ---- */

#define PXR_STREAM_BUFFER_SIZE 50000
#define PXR_MAX_CONTENT_ID 63
#define PXR_MAX_BOUNDARY 124
/* Guards against hostile input: no longer header line, binary part, XML part or single XML
 * token (Expat scans a pending token again at every feed), no more elements (each costs over
 * 2 KB), no deeper nesting. */
#define PXR_MAX_HEADER_LINE 8192
#define PXR_MAX_CONTENT_LENGTH (128u * 1024u * 1024u)
#define PXR_MAX_XML_SIZE (16u * 1024u * 1024u)
#define PXR_MAX_XML_TOKEN (256u * 1024u)
#define PXR_MAX_ELEMENTS 100000u
#define PXR_MAX_DEPTH 1000

typedef struct PXRStreamBuffer {
    uint8_t *pu8Data;
    uint32_t u32Capacity;
    uint32_t u32Length; /* unread bytes */
    uint32_t u32Start;  /* offset of the first unread byte */
} PXRStreamBuffer;

/* A buffer with a 50000-byte block, or null; release it with PXRStreamBufferRelease. */
PXRStreamBuffer *PXRStreamBufferCreate(void);
/* Frees the block and the record (null accepted). */
void PXRStreamBufferRelease(PXRStreamBuffer *psBuffer);
/* Drops every unread byte. */
void PXRStreamBufferClear(PXRStreamBuffer *psBuffer);
/* The first unread byte. */
uint8_t *PXRStreamBufferData(PXRStreamBuffer *psBuffer);
/* Offset from the first unread byte of the pattern at or after u32From, or -1. */
int32_t PXRStreamBufferFind(PXRStreamBuffer *psBuffer, const void *pPattern, uint32_t u32Length, uint32_t u32From);
/* 1 when the unread bytes begin with the pattern. */
int PXRStreamBufferStartsWith(PXRStreamBuffer *psBuffer, const void *pPattern, uint32_t u32Length);
/* Drops n unread bytes (at most the unread length). */
void PXRStreamBufferConsume(PXRStreamBuffer *psBuffer, uint32_t u32Count);
/* Appends exactly n bytes read from the socket: 0, 1 time-out, -1 error, 2 no memory. */
int PXRStreamBufferReadFromSocket(PXRStreamBuffer *psBuffer, SA_Socket psSocket, uint32_t u32Count,
                                  uint32_t u32TimeoutMs);
/* Appends exactly n bytes (n > 0) or one read of up to 1024 (n = 0) from the function:
 * 0, 1 when the function gave 0 bytes (end of input), 2 no memory, or its negative result
 * (-1 also when it claimed more bytes than offered); bytes got before a failure stay. */
int PXRStreamBufferReadWithCallback(PXRStreamBuffer *psBuffer, PXRMsgReadFunction rRead, void *pUser,
                                    uint32_t u32Count);

/* Reads one message through the function: 0, or -1 with the reason in the message. */
int PXRMsg_read(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser, PXRStreamBuffer *psBuffer, XML_Parser hParser);
/* PXRMsg_read from a function that can deliver at most u64SourceSize more bytes (binary
 * parts that claim more than that plus the buffered bytes are refused before allocation). */
int PXRMsg_readBounded(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser, PXRStreamBuffer *psBuffer,
                       XML_Parser hParser, uint64_t u64SourceSize);
/* PXRMsgImport (message cleared, a buffer and parser of its own) from a function that can
 * deliver at most u64SourceSize bytes; 1 when one message was read. */
int PXRMsg_importBounded(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser, uint64_t u64SourceSize);
/* Called after each slice of a large binary part; 0 interrupts the read. */
typedef int (*PXRMsg_ProgressFunction)(void *pUser);
/* Reads one message from the socket within the time-out: 0, 1 time-out, -1 failure. */
int PXRMsg_readFromSocket2(PXRMsg *psMsg, SA_Socket psSocket, uint32_t u32TimeoutMs, PXRStreamBuffer *psBuffer,
                           XML_Parser hParser, PXRMsg_ProgressFunction rProgress, void *pProgressUser);

/* Source of PXRMsgImportFromBinaryArray. */
typedef struct PXRMsg_BinaryCursor {
    const uint8_t *pu8Data;
    uint32_t u32Size;
    uint32_t u32Position;
} PXRMsg_BinaryCursor;
/* Copies the next bytes of the block; the count (0 at its end). */
int32_t PXRMsg_fromBinaryArrayCallback(void *pDestination, uint32_t u32MaxLength, void *pUser);

/* ---- message files ---- */

/* 1 when the file holds exactly the exported message; 0 with the message's last error. */
int PXRMsg_exportToFile(PXRMsg *psMsg, const char *pcszPath);
/* 1 when the file held one whole message, read into the (cleared) message; 0 otherwise. */
int PXRMsg_importFromFile(PXRMsg *psMsg, const char *pcszPath);

/* ==== connection handle, threads, requests and receive queue ==== */

#define PXR_MODULE_ASYNCHRONOUS "taskAsynchronous"
#define PXR_MODULE_SYNCHRONOUS "taskSynchronous"
#define PXR_MODULE_LEGACY "LTDLL"

#define PXR_PROTOCOL_UNKNOWN 0
#define PXR_PROTOCOL_KGV 1
#define PXR_PROTOCOL_FYB 2

#define PXR_QUEUE_DEFAULT_CAPACITY 128
#define PXR_REQUEST_TIMEOUT_MS 5000
#define PXR_DEFAULT_COMMAND_PORT 11011
#define PXR_DEFAULT_TIME_PORT 10000
#define PXR_THREAD_STACK_SIZE 50000
#define PXR_FIRST_BYTES 19
#define PXR_CERTIFICATE_FILE_MAX 10000

/* The time constants of the connection dialogue; tests shorten them before binding. */
typedef struct PXR_Timing {
    uint32_t u32ConnectTimeoutMs;        /* TCP connect and TLS handshake */
    uint32_t u32ConnectRetryMs;          /* after a refused or timed-out connect */
    uint32_t u32TlsRetryMs;              /* after a handshake refused for its problem bits */
    uint32_t u32FirstBytesTimeoutMs;     /* the 19 bytes that tell the protocol */
    uint32_t u32HelloTimeoutMs;          /* the rest of the hello */
    uint32_t u32ReconnectDelayMs;        /* after a failed dialogue, and after an invalid hello root */
    uint32_t u32AsynchronousReadMs;      /* one receive slice of the asynchronous thread */
    uint32_t u32MessageTimeoutMs;        /* the rest of a pushed message */
    uint32_t u32KeepAliveMs;             /* idle time before a keep-alive, both connections */
    uint32_t u32SilenceDropMs;           /* silence that drops the asynchronous connection */
    uint32_t u32KeepAliveReplyTimeoutMs; /* reply to the synchronous keep-alive */
    uint32_t u32RequestPollMs;           /* synchronous thread's wait for a posted request */
    uint32_t u32StopPollMs;              /* longest socket wait between two looks at the stop flag */
    uint32_t u32StableConnectionMs;      /* a connection up this long resets the back-off */
    uint32_t u32BackOffFirstMs;          /* wait after a connection that broke sooner */
    uint32_t u32BackOffMaxMs;            /* the doubling of that wait stops here */
} PXR_Timing;

/* The process-wide record, with the defaults until a test changes it. */
PXR_Timing *PXR_timing(void);
/* Puts the defaults back. */
void PXR_resetTiming(void);

/* Where a handle hands a legacy-family sensor; the legacy bridge installs its operations. */
typedef struct PXR_LegacyBridge {
    int (*rCreate)(PXR *psPxr);
    int (*rRelease)(PXR *psPxr);
    int (*rSendAsynchronousMessage)(PXR *psPxr, PXRMsg *psMsg);
    PXRMsg *(*rSendRequest)(PXR *psPxr, PXRMsg *psRequest, uint32_t u32TimeoutMs);
} PXR_LegacyBridge;
/* Installs the bridge's operations (null: none; a legacy sensor is then only detected). */
void PXR_setLegacyBridge(const PXR_LegacyBridge *psBridge);
const PXR_LegacyBridge *PXR_legacyBridge(void);

struct PXRLT;

struct PXRQueue {
    char aszLastError[PXR_LAST_ERROR_SIZE];
    PXRList *psClients; /* handles delivering into this queue as their shared queue */
    SA_Mutex hMutex;    /* guards the messages and the capacity */
    SA_Event hNewMessageEvent;
    PXRList *psMessages;
    uint32_t u32Capacity;
    uint32_t u32Drops; /* atomic */
    PXRQueueNewMessageCallback rQueueCallback;
    void *pQueueUser;
    PXRNewMessageCallback rHandleCallback;
    void *pHandleUser;
};

struct PXR {
    char aszLastError[PXR_LAST_ERROR_SIZE];
    SA_Mutex hMutexConnect;
    int32_t i32Running; /* atomic */
    SA_Thread psThreadAsynchronous;
    SA_Thread psThreadSynchronous;
    SA_Mutex hMutexAsynchronousSend; /* guards the asynchronous socket and its writes */
    SA_Socket psAsynchronousSocket;
    SA_Mutex hMutexSynchronousSend;
    SA_Event hEventSynchronousSend;
    SA_Event hEventSynchronousAnswer;
    PXRMsg *psPendingRequest;
    uint32_t u32PendingTimeoutMs;
    PXRMsg *psAnswer;
    SA_Mutex hMutexSynchronousSend2; /* guards the request slot, the ids and the link flag */
    uint32_t u32SentId;
    uint32_t u32AnsweredId;
    uint32_t u32FailedId;       /* the last request whose exchange broke the connection */
    int32_t bSynchronousLinkUp; /* requests can be posted */
    SA_Pool psSendBufferPool;
    SA_Pool psDetachedSendBufferPool;
    char *pszServer;
    uint16_t u16Port;
    SA_Mutex hMutexTestProtocol;
    int32_t i32DetectedProtocol; /* atomic */
    int32_t bSecured;
    SA_Mutex hMutexTls; /* guards the client certificate and key */
    X509 *psClientCert;
    EVP_PKEY *psClientKey;
    uint32_t u32IgnoreMask; /* atomic */
    uint32_t u32SslErrors;  /* atomic */
    int32_t bSynchronousConnected;  /* atomic */
    int32_t bAsynchronousConnected; /* atomic */
    uint32_t u32LinkChecks;         /* atomic; idle synchronous socket looks, counted */
    SA_Mutex hMutexState; /* orders the connection-state reports */
    PXRConnectionStateCallback rStateCallback;
    void *pStateUser;
    PXRConnectionStateCallback2 rStateCallback2;
    void *pStateUser2;
    SA_Event hConnectionEvent;
    SA_Mutex hMutexSubscription; /* guards the stored subscription and the link flag */
    PXRMsg *psSubscription;
    int32_t bAsynchronousLinkUp; /* atomic; set once the stored subscription went out */
    PXRQueue *psQueue;
    int32_t bExternalQueue;
    uint32_t u32RequestTimeoutMs;
    struct PXRLT *psBridge;
    uint16_t u16CommandPort;
    uint16_t u16TimePort;
    int32_t bSynchronousEnabled;
    int32_t bAsynchronousEnabled;
    SA_Event hStopEvent; /* manual reset; set by unbind so that every pause ends at once */
};

/* Atomic access to the flags that threads share without a lock. */

/* 1 while the handle is bound and not being unbound. */
int PXR_isRunning(PXR *psPxr);
/* Waits the time unless the handle stops first; 1 when still running afterwards. */
int PXR_pause(PXR *psPxr, uint32_t u32Ms);
/* Cancel callback of the handle's sockets: ends their waits once the handle stops. */
int32_t PXR_cancelCallback(SA_Socket psSocket, void *pArgument);
/* Waits for readable bytes in slices that look at the stop flag: 0 with their count, 1
 * time-out, -1 error, closed or stopped. */
int PXR_waitForData(PXR *psPxr, SA_Socket psSocket, uint32_t u32TimeoutMs, uint32_t *pu32Count);
/* Appends readable bytes to the buffer until it holds at least u32Count unread bytes; what a
 * partial read brought stays there. 0, 1 time-out, -1 error, closed or stopped. */
int PXR_fillBuffer(PXR *psPxr, SA_Socket psSocket, PXRStreamBuffer *psBuffer, uint32_t u32Count,
                   uint32_t u32TimeoutMs);
/* Reads one message after waiting (stoppably) for its first bytes: 0, 1 time-out, -1 failure. */
int PXR_readMessage(PXR *psPxr, PXRMsg *psMsg, SA_Socket psSocket, uint32_t u32TimeoutMs,
                    PXRStreamBuffer *psBuffer, XML_Parser hParser);

/* Applies the bind options text (null: none) to the handle; 1, or 0 with the reason. */
int PXR_parseOptions(PXR *psPxr, const char *pcszOptions);
/* Releases the client certificate and key. */
void PXR_freeClientCertificate(PXR *psPxr);

/* Stores both connection flags and reports a change of the overall state to the callbacks. */
void PXR_setConnectionState(PXR *psPxr, int bAsynchronousConnected, int bSynchronousConnected);
/* Decides the protocol from the first bytes; hands a legacy sensor to the bridge. */
void PXR_detectProtocol(PXR *psPxr, const uint8_t *pu8FirstBytes, const char *pcszConnection);
/* The detected protocol code. */
int PXR_protocol(PXR *psPxr);

/* Connects (plain or TLS), reads the first bytes and the hello into the message: 1, or 0
 * (the caller closes the socket). */
int PXR_connectToSocket(PXR *psPxr, PXRMsg *psMsg, SA_Socket *ppsSocket, PXRStreamBuffer *psBuffer,
                        XML_Parser hParser, const char *pcszConnection);
/* 1 when the hello is acceptable, with its protocol version. */
int PXR_checkHello(PXR *psPxr, PXRMsg *psHello, uint32_t *pu32Version);
/* A message whose root is the named element with one attribute (or none for a null name). */
PXRMsg *PXR_makeMessage(const char *pcszRoot, const char *pcszAttribute, const char *pcszValue);
/* Writes the request and reads exactly one answer: 1, or 0 after a traced failure. */
int PXR_sendAndReceive(PXR *psPxr, SA_Socket psSocket, PXRStreamBuffer *psBuffer, XML_Parser hParser,
                       PXRMsg *psRequest, PXRMsg *psAnswer, uint32_t u32TimeoutMs);
/* Writes the message on a socket of the handle; 1 when every byte went. */
int PXR_writeMessage(PXR *psPxr, SA_Socket psSocket, PXRMsg *psMsg);

void PXR_taskAsynchronous(void *pArgument);
void PXR_taskSynchronous(void *pArgument);

/* Sets one connection's flag, keeping the other's, and reports as PXR_setConnectionState. */
void PXR_setConnectionFlag(PXR *psPxr, int bAsynchronous, int bConnected);

/* Synchronous thread: one exchange of the posted request; 1 on success or when nothing was
 * posted, 0 when the exchange failed (the connection must go), with its request id. */
int PXR_exchangeRequest(PXR *psPxr, SA_Socket psSocket, PXRStreamBuffer *psBuffer, XML_Parser hParser,
                        uint32_t *pu32FailedId);
/* Synchronous thread: the link goes up (1) or down (0). Going down fails the pending request,
 * unless a failed exchange (its id, 0 for none) broke the link and a newer request waits: that
 * one was never sent and goes out after the reconnection. 1 when a request was failed. */
int PXR_setSynchronousLink(PXR *psPxr, int bUp, uint32_t u32BrokenId);
/* The link went down with nothing sent: a posted request waits for the next connection. */
void PXR_keepPendingRequest(PXR *psPxr);
/* Asynchronous thread: publishes the connected socket for the application's writes (still
 * closed to them). */
void PXR_publishAsynchronousSocket(PXR *psPxr, SA_Socket psSocket);
/* Asynchronous thread: writes the stored subscription and opens the link to senders; a
 * subscription sent meanwhile is either in what was written or written by its sender. */
int PXR_sendStoredSubscription(PXR *psPxr, SA_Socket psSocket);
/* Asynchronous thread: closes the link to senders and takes the socket back from them. */
void PXR_closeAsynchronousLink(PXR *psPxr);
/* Writes on the asynchronous socket under its send mutex: 1 written, 0 failed, -1 link down. */
int PXR_writeAsynchronous(PXR *psPxr, PXRMsg *psMsg);

/* Hands a received message to the handle's queue (owner set, read-only); 1 when taken (also
 * for a message without root, which is destroyed), 0 when the queue refused it. */
int PXR_pushReceivedMessage(PXR *psPxr, PXRMsg *psMsg);
void PXRQueue_addClient(PXRQueue *psQueue, PXR *psPxr);
void PXRQueue_removeClient(PXRQueue *psQueue, PXR *psPxr);
void PXRQueue_setHandleCallback(PXRQueue *psQueue, PXRNewMessageCallback rCallback, void *pUser);

/* ---- discovery ---- */

#define PXR_MODULE_DISCOVER "PXRDiscover"
#define PXR_DISCOVER_PORT 22022
#define PXR_DISCOVER_EXPIRY_MS 20000
#define PXR_DISCOVER_BUFFER_SIZE 30720
#define PXR_DISCOVER_MAX_DATAGRAM 5006   /* larger datagrams are dropped */
#define PXR_DISCOVER_STOP_WAIT_MS 5000   /* before the stop says the thread is late */
#define PXR_DISCOVER_RECEIVE_TIMEOUT_MS 1000
#define PXR_DISCOVER_RETRY_MS 500        /* between attempts to open the listening socket */
#define PXR_DISCOVER_RECEIVE_FAILURES 3  /* failed receives in a row that close the socket */
#define PXR_DISCOVER_KEY_SIZE 64

/* The listener. Port, expiry and stop wait are fixed at creation; tests change them
 * before the start. */
struct PXRDiscover {
    char aszLastError[PXR_LAST_ERROR_SIZE];
    std::atomic<int32_t> bRunning; /* cleared to stop the thread */
    SA_Thread psThread;            /* null when not started */
    SA_Mutex hMutex;               /* guards sEntries and the entries' messages */
    uint16_t u16Port;
    uint32_t u32ExpiryMs;
    uint32_t u32StopWaitMs;
    PXRList sEntries; /* PXRDiscover_Entry, in the order their sensors were first heard */
};

/* One sensor heard: its discover message and when it was last heard (tick). */
typedef struct PXRDiscover_Entry {
    PXRMsg *psMsg;
    uint32_t u32LastHeardMs;
} PXRDiscover_Entry;

/* The listening thread of a started object. */
void PXRDiscover_taskDiscover(void *pArgument);
/* Handles one received datagram by its kind; malformed ones are traced and dropped. */
void PXRDiscover_handleDatagram(PXRDiscover *psDiscover, const uint8_t *pu8Data, uint32_t u32Size,
                                const char *pcszSender);
/* Under the mutex: the entry of that key, marked heard now, or a new one; null without memory. */
PXRDiscover_Entry *PXRDiscover_findOrAddSensor(PXRDiscover *psDiscover, const char *pcszKey);
/* Under the mutex: sets the entry root's ipAddress and uniqueKey. */
void PXRDiscover_setIdentity(PXRDiscover_Entry *psEntry, const char *pcszSender, const char *pcszKey);
/* A legacy datagram into its sensor's entry (a short one traced and dropped): 1, or 0 when
 * the first two bytes name no legacy kind. */
int PXRDiscover_parseKGVDatagram(PXRDiscover *psDiscover, const uint8_t *pu8Data, uint32_t u32Size,
                                 const char *pcszSender);
/* Attributes of the 0xEEEE and 0xEEEF kinds onto the root; the datagram's length was checked. */
void PXRDiscover_fillKGVSensor(PXRMsgElement *psRoot, const uint8_t *pu8Data, uint16_t u16Kind);
/* Attributes of the 0xEEFF kind onto the root; the datagram's length was checked. */
void PXRDiscover_fillLumatrekCard(PXRMsgElement *psRoot, const uint8_t *pu8Data);

#ifdef __cplusplus
}
#endif

#endif
