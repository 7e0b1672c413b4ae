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
