/* The wire reader: one state machine over MIME header lines, the XML part (fed to Expat)
 * and the binary parts, fed by a read function or by a socket with an overall time-out. */
#include "PXR_Internal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

enum {
    kStateVersion = 1,
    kStateDocumentHeaders = 2,
    kStateXmlBeforeMsg = 4,
    kStatePartHeaders = 5,
    kStateBoundary = 6,
    kStateXmlInMsg = 7,
    kStateBinary = 8,
    kStateDone = 100
};

// What one step of the machine did.
enum Step { kAdvanced, kNeedMore, kFailed };

const char kVersionLine[] = "MIME-Version: 1.0\r\n";
const uint32_t kVersionLength = sizeof(kVersionLine) - 1;
const char kContentType[] = "Content-Type: ";
const char kContentLength[] = "Content-Length: ";
const char kContentId[] = "Content-ID: ";
const char kCrLf[] = "\r\n";
const char kEndOfData[] = "Incomplete message: end of data";
const char kNoMemory[] = "Memory allocation failed";
const uint32_t kSocketReadMax = 65536;

struct Reader;

// Where the bytes come from: more of them into the stream buffer (a known count, or 0 for
// whatever comes), the rest of a binary part straight into its block, the overall deadline.
struct Source {
    int (*rFetch)(Reader *psReader, uint32_t u32Count);
    int (*rFill)(Reader *psReader, uint8_t *pu8Destination, uint32_t u32Count);
    bool (*rExpired)(Reader *psReader);
};

struct Reader {
    PXRMsg *psMsg;
    PXRStreamBuffer *psBuffer;
    XML_Parser hParser;
    const Source *psSource;
    int iState;
    bool bMultipart;
    char aszBoundaryLine[PXR_MAX_BOUNDARY + 5];
    char aszClosingLine[PXR_MAX_BOUNDARY + 5];
    uint32_t u32BoundaryLineLength;
    uint32_t u32SearchFrom;
    uint32_t u32Need; // bytes still missing for a step, 0 when unknown
    int iPartType;    // 1 XML part, 2 binary part, 0 not given by the part's headers
    bool bXmlRead;
    int64_t i64ContentLength;
    char aszContentId[PXR_MAX_CONTENT_ID + 1];
    PXRMsgElement *psCurrent;
    uint32_t u32Depth;
    uint32_t u32Elements;
    uint64_t u64XmlFed;
    uint64_t u64XmlEvent; // index just past the last thing Expat reported
    uint64_t u64XmlEnd;   // index just past the end tag of "msg"
    bool bHandlerFailed;
    // read-function source
    PXRMsgReadFunction rRead;
    void *pUser;
    uint64_t u64SourceSize;
    uint64_t u64Pulled;
    // socket source
    SA_Socket psSocket;
    uint32_t u32TimeoutMs;
    uint32_t u32StartTick;
    PXRMsg_ProgressFunction rProgress;
    void *pProgressUser;
};

Step fail(Reader *psReader, const char *pcszFormat, const char *pcszValue = "")
{
    PXR_setLastError(psReader->psMsg, pcszFormat, pcszValue);
    return kFailed;
}

Step needMore(Reader *psReader, uint32_t u32Count)
{
    psReader->u32Need = u32Count;
    return kNeedMore;
}

uint32_t unread(Reader *psReader)
{
    return psReader->psBuffer->u32Length;
}

const char *unreadText(Reader *psReader)
{
    return reinterpret_cast<const char *>(PXRStreamBufferData(psReader->psBuffer));
}

bool startsWith(const char *pcszText, uint32_t u32Length, const char *pcszPrefix)
{
    size_t szPrefix = strlen(pcszPrefix);
    return u32Length >= szPrefix && memcmp(pcszText, pcszPrefix, szPrefix) == 0;
}

// ---- Expat handlers ----

uint64_t eventEnd(Reader *psReader)
{
    psReader->u64XmlEvent = uint64_t(XML_GetCurrentByteIndex(psReader->hParser)) +
                            uint64_t(XML_GetCurrentByteCount(psReader->hParser));
    return psReader->u64XmlEvent;
}

void handlerFail(Reader *psReader, const char *pcszReason)
{
    PXR_setLastError(psReader->psMsg, "%s", pcszReason);
    psReader->bHandlerFailed = true;
    XML_StopParser(psReader->hParser, XML_FALSE);
}

bool attachElement(Reader *psReader, PXRMsgElement *psElement, const XML_Char **ppcszAttributes)
{
    for (int i = 0; ppcszAttributes[i] && ppcszAttributes[i + 1]; i += 2) {
        if (!PXRMsgElementSetAttribute(psElement, ppcszAttributes[i], ppcszAttributes[i + 1]))
            return false;
    }
    if (psReader->psCurrent)
        return PXRMsgElementAddChild(psReader->psCurrent, psElement);
    return PXRMsgSetChild(psReader->psMsg, psElement);
}

void XMLCALL startElementHandler(void *pUser, const XML_Char *pcszName, const XML_Char **ppcszAttributes)
{
    Reader *psReader = static_cast<Reader *>(pUser);
    eventEnd(psReader);
    if (psReader->iState == kStateXmlBeforeMsg) {
        if (PXRMsgStringEqual(pcszName, "msg"))
            psReader->iState = kStateXmlInMsg;
        return;
    }
    if (psReader->u32Depth >= PXR_MAX_DEPTH) {
        handlerFail(psReader, "Element nesting too deep");
        return;
    }
    if (++psReader->u32Elements > PXR_MAX_ELEMENTS) {
        handlerFail(psReader, "Too many elements");
        return;
    }
    PXRMsgElement *psElement = PXRMsgElementCreate(pcszName);
    if (!psElement || !attachElement(psReader, psElement, ppcszAttributes)) {
        if (psElement && !psElement->psParent && PXRMsgChild(psReader->psMsg) != psElement)
            PXRMsgElement_destroyInternal(psElement);
        handlerFail(psReader, kNoMemory);
        return;
    }
    psReader->psCurrent = psElement;
    psReader->u32Depth++;
}

void XMLCALL endElementHandler(void *pUser, const XML_Char *pcszName)
{
    Reader *psReader = static_cast<Reader *>(pUser);
    if (PXRMsgStringEqual(pcszName, "msg")) {
        psReader->iState = psReader->bMultipart ? kStateBoundary : kStateDone;
        psReader->bXmlRead = true;
        psReader->u64XmlEnd = eventEnd(psReader);
        // Whatever follows belongs to the next part or the next message, not to Expat.
        XML_StopParser(psReader->hParser, XML_FALSE);
        return;
    }
    eventEnd(psReader);
    if (psReader->psCurrent) {
        psReader->psCurrent = psReader->psCurrent->psParent;
        psReader->u32Depth--;
    }
}

// The text itself is dropped; only the progress counts.
void XMLCALL characterDataHandler(void *pUser, const XML_Char *, int)
{
    eventEnd(static_cast<Reader *>(pUser));
}

// ---- steps ----

Step stepVersion(Reader *psReader)
{
    if (unread(psReader) < kVersionLength)
        return needMore(psReader, kVersionLength - unread(psReader));
    if (!PXRStreamBufferStartsWith(psReader->psBuffer, kVersionLine, kVersionLength)) {
        char aszStart[kVersionLength];
        memcpy(aszStart, unreadText(psReader), kVersionLength - 1);
        aszStart[kVersionLength - 1] = '\0';
        return fail(psReader, "Invalid data received : %s", aszStart);
    }
    PXRStreamBufferConsume(psReader->psBuffer, kVersionLength);
    psReader->u32SearchFrom = 0;
    psReader->iState = kStateDocumentHeaders;
    return kAdvanced;
}

// Length of the next header line, or -1 with the step to return in *peStep.
int32_t findLine(Reader *psReader, Step *peStep)
{
    int32_t i32Line = PXRStreamBufferFind(psReader->psBuffer, kCrLf, 2, psReader->u32SearchFrom);
    if (i32Line >= 0) {
        psReader->u32SearchFrom = 0;
        return i32Line;
    }
    if (unread(psReader) > PXR_MAX_HEADER_LINE) {
        *peStep = fail(psReader, "Header line too long");
        return -1;
    }
    psReader->u32SearchFrom = unread(psReader) > 2 ? unread(psReader) - 2 : 0;
    *peStep = needMore(psReader, 0);
    return -1;
}

Step setBoundary(Reader *psReader, const char *pcszLine, uint32_t u32Length)
{
    static const char kBoundary[] = "boundary=";
    for (uint32_t i = 0; i < u32Length;) {
        const char *pcszItem = pcszLine + i;
        const char *pcszEnd = static_cast<const char *>(memchr(pcszItem, ';', u32Length - i));
        uint32_t u32Item = pcszEnd ? uint32_t(pcszEnd - pcszItem) : u32Length - i;
        if (startsWith(pcszItem, u32Item, kBoundary)) {
            uint32_t u32Boundary = u32Item - (sizeof(kBoundary) - 1);
            if (u32Boundary == 0)
                break;
            if (u32Boundary > PXR_MAX_BOUNDARY)
                return fail(psReader, "Boundary too long");
            const char *pcszBoundary = pcszItem + sizeof(kBoundary) - 1;
            snprintf(psReader->aszBoundaryLine, sizeof(psReader->aszBoundaryLine), "--%.*s\r\n", int(u32Boundary),
                     pcszBoundary);
            snprintf(psReader->aszClosingLine, sizeof(psReader->aszClosingLine), "--%.*s--", int(u32Boundary),
                     pcszBoundary);
            psReader->u32BoundaryLineLength = u32Boundary + 4;
            return kAdvanced;
        }
        i += u32Item + 1;
    }
    return fail(psReader, "Boundary not found!");
}

Step documentContentType(Reader *psReader, const char *pcszValue, uint32_t u32Length)
{
    if (startsWith(pcszValue, u32Length, "application/xml;")) {
        psReader->bMultipart = false;
        return kAdvanced;
    }
    static const char kMultipart[] = "Multipart/Related;";
    if (!startsWith(pcszValue, u32Length, kMultipart))
        return kAdvanced;
    psReader->bMultipart = true;
    return setBoundary(psReader, pcszValue + sizeof(kMultipart) - 1, u32Length - (sizeof(kMultipart) - 1));
}

Step stepDocumentHeader(Reader *psReader)
{
    Step eStep = kAdvanced;
    int32_t i32Line = findLine(psReader, &eStep);
    if (i32Line < 0)
        return eStep;
    const char *pcszLine = unreadText(psReader);
    uint32_t u32Line = uint32_t(i32Line);
    if (u32Line == 0)
        psReader->iState = psReader->bMultipart ? kStateBoundary : kStateXmlBeforeMsg;
    else if (startsWith(pcszLine, u32Line, kContentType))
        eStep = documentContentType(psReader, pcszLine + sizeof(kContentType) - 1, u32Line - (sizeof(kContentType) - 1));
    if (eStep == kAdvanced)
        PXRStreamBufferConsume(psReader->psBuffer, u32Line + 2);
    return eStep;
}

// Digits only, optionally closed by ";" and blanks: a sign, another character or a value
// beyond the cap is refused before anything is allocated.
Step setContentLength(Reader *psReader, const char *pcszValue, uint32_t u32Length)
{
    char aszValue[32];
    snprintf(aszValue, sizeof(aszValue), "%.*s", int(u32Length < 31 ? u32Length : 31), pcszValue);
    uint32_t i = 0;
    while (i < u32Length && pcszValue[i] == ' ')
        i++;
    uint64_t u64Value = 0;
    uint32_t u32Digits = 0;
    for (; i < u32Length && pcszValue[i] >= '0' && pcszValue[i] <= '9'; i++, u32Digits++) {
        u64Value = u64Value * 10 + uint64_t(pcszValue[i] - '0');
        if (u64Value > PXR_MAX_CONTENT_LENGTH)
            return fail(psReader, "Content-Length too large : %s", aszValue);
    }
    if (i < u32Length && pcszValue[i] == ';')
        i++;
    while (i < u32Length && pcszValue[i] == ' ')
        i++;
    if (u32Digits == 0 || i != u32Length)
        return fail(psReader, "Invalid Content-Length : %s", aszValue);
    psReader->i64ContentLength = int64_t(u64Value);
    return kAdvanced;
}

Step setContentId(Reader *psReader, const char *pcszValue, uint32_t u32Length)
{
    if (u32Length > 0 && pcszValue[u32Length - 1] == ';')
        u32Length--;
    if (u32Length == 0)
        return fail(psReader, "Content-ID was not defined");
    if (u32Length > PXR_MAX_CONTENT_ID)
        return fail(psReader, "Content-ID too long");
    memcpy(psReader->aszContentId, pcszValue, u32Length);
    psReader->aszContentId[u32Length] = '\0';
    return kAdvanced;
}

Step partHeaderLine(Reader *psReader, const char *pcszLine, uint32_t u32Line)
{
    if (startsWith(pcszLine, u32Line, kContentType)) {
        const char *pcszValue = pcszLine + sizeof(kContentType) - 1;
        psReader->iPartType = startsWith(pcszValue, u32Line - (sizeof(kContentType) - 1), "application/xop+xml") ? 1 : 2;
    } else if (startsWith(pcszLine, u32Line, kContentLength)) {
        size_t szName = sizeof(kContentLength) - 1;
        return setContentLength(psReader, pcszLine + szName, u32Line - uint32_t(szName));
    } else if (startsWith(pcszLine, u32Line, kContentId)) {
        size_t szName = sizeof(kContentId) - 1;
        return setContentId(psReader, pcszLine + szName, u32Line - uint32_t(szName));
    }
    return kAdvanced;
}

Step stepPartHeader(Reader *psReader)
{
    Step eStep = kAdvanced;
    int32_t i32Line = findLine(psReader, &eStep);
    if (i32Line < 0)
        return eStep;
    // A part that does not say what it holds is the XML part until that was read.
    int iPartType = psReader->iPartType ? psReader->iPartType : psReader->bXmlRead ? 2 : 1;
    if (i32Line == 0)
        psReader->iState = iPartType == 1 ? kStateXmlBeforeMsg : kStateBinary;
    else
        eStep = partHeaderLine(psReader, unreadText(psReader), uint32_t(i32Line));
    if (eStep == kAdvanced)
        PXRStreamBufferConsume(psReader->psBuffer, uint32_t(i32Line) + 2);
    return eStep;
}

Step stepXml(Reader *psReader)
{
    uint32_t u32Unread = unread(psReader);
    if (u32Unread == 0)
        return needMore(psReader, 0);
    psReader->u64XmlFed += u32Unread;
    if (psReader->u64XmlFed > PXR_MAX_XML_SIZE)
        return fail(psReader, "XML part too large");
    XML_Status eStatus = XML_Parse(psReader->hParser, unreadText(psReader), int(u32Unread), XML_FALSE);
    if (psReader->bHandlerFailed)
        return kFailed;
    bool bEnded = psReader->iState == kStateBoundary || psReader->iState == kStateDone;
    if (!bEnded && eStatus == XML_STATUS_OK) {
        if (psReader->u64XmlFed - psReader->u64XmlEvent > PXR_MAX_XML_TOKEN)
            return fail(psReader, "XML token too long");
        PXRStreamBufferClear(psReader->psBuffer); // the parser keeps what it still needs
        return needMore(psReader, 0);
    }
    if (!bEnded)
        return fail(psReader, "XML read error");
    uint64_t u64After = psReader->u64XmlFed - psReader->u64XmlEnd;
    PXRStreamBufferConsume(psReader->psBuffer, u32Unread - uint32_t(u64After));
    return kAdvanced;
}

Step stepBoundary(Reader *psReader)
{
    uint32_t u32Length = psReader->u32BoundaryLineLength;
    if (unread(psReader) < u32Length)
        return needMore(psReader, u32Length - unread(psReader));
    if (PXRStreamBufferStartsWith(psReader->psBuffer, psReader->aszClosingLine, u32Length)) {
        psReader->iState = kStateDone;
    } else if (PXRStreamBufferStartsWith(psReader->psBuffer, psReader->aszBoundaryLine, u32Length)) {
        psReader->iState = kStatePartHeaders;
        psReader->i64ContentLength = -1;
        psReader->iPartType = 0;
    } else {
        return fail(psReader, "invalid data, was waiting for boundary");
    }
    PXRStreamBufferConsume(psReader->psBuffer, u32Length);
    return kAdvanced;
}

uint64_t bytesAvailable(Reader *psReader)
{
    if (psReader->u64SourceSize == UINT64_MAX)
        return UINT64_MAX;
    return psReader->u64SourceSize - psReader->u64Pulled + unread(psReader);
}

// The element that references the current id, its include gone and an empty block of the
// part's size in place; null after a failure.
uint8_t *prepareContent(Reader *psReader, Step *peStep)
{
    *peStep = kFailed;
    if (psReader->i64ContentLength < 0) {
        fail(psReader, "Content-Length was not defined");
        return nullptr;
    }
    if (psReader->aszContentId[0] == '\0') {
        fail(psReader, "Content-ID was not defined");
        return nullptr;
    }
    PXRMsgElement *psElement = PXRMsg_findXopID(psReader->psMsg, psReader->aszContentId);
    if (!psElement) {
        fail(psReader, "No Xop include defined in XML for this ID : %s", psReader->aszContentId);
        return nullptr;
    }
    PXRMsgElementDestroy(PXRMsgElementFirstChild(psElement, "xop:Include"));
    uint32_t u32Length = uint32_t(psReader->i64ContentLength);
    if (u32Length > bytesAvailable(psReader)) {
        PXR_setLastError(psReader->psMsg, "Content-Length exceeds the data left (%u bytes announced)", u32Length);
        return nullptr;
    }
    uint8_t *pu8Block = u32Length ? static_cast<uint8_t *>(SA_Malloc(u32Length)) : nullptr;
    if (!pu8Block) {
        fail(psReader, "Content allocation failed");
        return nullptr;
    }
    PXRMsgElementSetContentBinaryNoCopy(psElement, pu8Block, u32Length, &PXRMsg_dataClearCallback, nullptr);
    *peStep = kAdvanced;
    return pu8Block;
}

Step stepBinary(Reader *psReader)
{
    Step eStep = kAdvanced;
    uint8_t *pu8Block = prepareContent(psReader, &eStep);
    if (!pu8Block)
        return eStep;
    uint32_t u32Length = uint32_t(psReader->i64ContentLength);
    uint32_t u32Buffered = unread(psReader) < u32Length ? unread(psReader) : u32Length;
    memcpy(pu8Block, PXRStreamBufferData(psReader->psBuffer), u32Buffered);
    PXRStreamBufferConsume(psReader->psBuffer, u32Buffered);
    if (u32Buffered < u32Length && psReader->psSource->rFill(psReader, pu8Block + u32Buffered, u32Length - u32Buffered) != 0)
        return kFailed;
    psReader->iState = kStateBoundary;
    return kAdvanced;
}

Step step(Reader *psReader)
{
    switch (psReader->iState) {
    case kStateVersion: return stepVersion(psReader);
    case kStateDocumentHeaders: return stepDocumentHeader(psReader);
    case kStateXmlBeforeMsg:
    case kStateXmlInMsg: return stepXml(psReader);
    case kStatePartHeaders: return stepPartHeader(psReader);
    case kStateBoundary: return stepBoundary(psReader);
    case kStateBinary: return stepBinary(psReader);
    default: return fail(psReader, "Invalid reader state");
    }
}

void setUp(Reader *psReader, PXRMsg *psMsg, PXRStreamBuffer *psBuffer, XML_Parser hParser, const Source *psSource)
{
    psReader->psMsg = psMsg;
    psReader->psBuffer = psBuffer;
    psReader->hParser = hParser;
    psReader->psSource = psSource;
    psReader->iState = kStateVersion;
    psReader->i64ContentLength = -1;
    psReader->u64SourceSize = UINT64_MAX;
    XML_ParserReset(hParser, nullptr);
#ifdef BZK_HAVE_EXPAT_REPARSE_DEFERRAL
    XML_SetReparseDeferralEnabled(hParser, XML_FALSE); // the reset switches it back on
#endif
    XML_SetUserData(hParser, psReader);
    XML_SetElementHandler(hParser, &startElementHandler, &endElementHandler);
    XML_SetCharacterDataHandler(hParser, &characterDataHandler);
}

// 0 one message read, 1 time-out, -1 failure.
int run(Reader *psReader)
{
    for (;;) {
        // A message read in full is delivered even when the time ran out on its last step.
        if (psReader->iState == kStateDone)
            return 0;
        if (psReader->psSource->rExpired(psReader))
            return 1;
        Step eStep = step(psReader);
        if (eStep == kFailed)
            return -1;
        if (eStep == kNeedMore) {
            int iFetched = psReader->psSource->rFetch(psReader, psReader->u32Need);
            if (iFetched != 0)
                return iFetched;
        }
    }
}

// ---- read-function source ----

int callbackFetch(Reader *psReader, uint32_t u32Count)
{
    uint32_t u32Before = unread(psReader);
    int iResult = PXRStreamBufferReadWithCallback(psReader->psBuffer, psReader->rRead, psReader->pUser, u32Count);
    psReader->u64Pulled += unread(psReader) - u32Before;
    if (iResult == 1)
        PXR_setLastError(psReader->psMsg, kEndOfData);
    else if (iResult == 2)
        PXR_setLastError(psReader->psMsg, kNoMemory);
    return iResult == 0 ? 0 : -1;
}

int callbackFill(Reader *psReader, uint8_t *pu8Destination, uint32_t u32Count)
{
    for (uint32_t u32Done = 0; u32Done < u32Count;) {
        int32_t i32Read = psReader->rRead(pu8Destination + u32Done, u32Count - u32Done, psReader->pUser);
        if (i32Read < 0 || uint32_t(i32Read) > u32Count - u32Done)
            return fail(psReader, "Unable to read binary data"), -1;
        if (i32Read == 0)
            return fail(psReader, kEndOfData), -1;
        u32Done += uint32_t(i32Read);
        psReader->u64Pulled += uint32_t(i32Read);
    }
    return 0;
}

bool neverExpires(Reader *)
{
    return false;
}

const Source kCallbackSource = {&callbackFetch, &callbackFill, &neverExpires};

// ---- socket source ----

int socketFailure(Reader *psReader)
{
    PXR_setLastError(psReader->psMsg, "Unable to read binary data (socket error %d)", errno);
    return -1;
}

int socketFetchExact(Reader *psReader, uint32_t u32Count)
{
    int iResult = PXRStreamBufferReadFromSocket(psReader->psBuffer, psReader->psSocket, u32Count, psReader->u32TimeoutMs);
    if (iResult == 2)
        return fail(psReader, kNoMemory), -1;
    return iResult == 0 ? 0 : socketFailure(psReader);
}

bool socketExpired(Reader *psReader)
{
    return psReader->u32TimeoutMs != SA_INFINITE &&
           uint32_t(SA_GetTickMs() - psReader->u32StartTick) > psReader->u32TimeoutMs;
}

// Waits for the first bytes (a silent peer is a time-out, not a failure, so that an idle
// connection survives), then reads the count asked for, or what is there when none was.
int socketFetch(Reader *psReader, uint32_t u32Count)
{
    for (;;) {
        uint32_t u32Readable = 0;
        int iResult = SA_WaitForDataOnSocket(psReader->psSocket, &u32Readable, psReader->u32TimeoutMs);
        if (iResult == SA_TIMEOUT) {
            PXR_setLastError(psReader->psMsg, "Socket timeouted");
            return 1;
        }
        if (iResult != SA_OK)
            return socketFailure(psReader);
        if (u32Count > 0)
            return socketFetchExact(psReader, u32Count);
        if (u32Readable > 0)
            return socketFetchExact(psReader, u32Readable < kSocketReadMax ? u32Readable : kSocketReadMax);
        if (socketExpired(psReader))
            return 1;
    }
}

int socketFill(Reader *psReader, uint8_t *pu8Destination, uint32_t u32Count)
{
    uint32_t u32Slice = psReader->rProgress ? PXR_SOCKET_SLICE : u32Count;
    for (uint32_t u32Done = 0; u32Done < u32Count;) {
        uint32_t u32Length = u32Count - u32Done < u32Slice ? u32Count - u32Done : u32Slice;
        if (SA_ReadSocketLength(psReader->psSocket, pu8Destination + u32Done, u32Length, psReader->u32TimeoutMs) != SA_OK)
            return socketFailure(psReader);
        u32Done += u32Length;
        if (psReader->rProgress && !psReader->rProgress(psReader->pProgressUser))
            return fail(psReader, "interrupted"), -1;
    }
    return 0;
}

const Source kSocketSource = {&socketFetch, &socketFill, &socketExpired};

} // namespace

extern "C" {

int PXRMsg_readBounded(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser, PXRStreamBuffer *psBuffer,
                       XML_Parser hParser, uint64_t u64SourceSize)
{
    Reader sReader = {};
    setUp(&sReader, psMsg, psBuffer, hParser, &kCallbackSource);
    sReader.rRead = rRead;
    sReader.pUser = pUser;
    sReader.u64SourceSize = u64SourceSize;
    return run(&sReader) == 0 ? 0 : -1;
}

int PXRMsg_read(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser, PXRStreamBuffer *psBuffer, XML_Parser hParser)
{
    return PXRMsg_readBounded(psMsg, rRead, pUser, psBuffer, hParser, UINT64_MAX);
}

int PXRMsg_readFromSocket2(PXRMsg *psMsg, SA_Socket psSocket, uint32_t u32TimeoutMs, PXRStreamBuffer *psBuffer,
                           XML_Parser hParser, PXRMsg_ProgressFunction rProgress, void *pProgressUser)
{
    Reader sReader = {};
    setUp(&sReader, psMsg, psBuffer, hParser, &kSocketSource);
    sReader.psSocket = psSocket;
    sReader.u32TimeoutMs = u32TimeoutMs;
    sReader.u32StartTick = SA_GetTickMs();
    sReader.rProgress = rProgress;
    sReader.pProgressUser = pProgressUser;
    return run(&sReader);
}

int32_t PXRMsg_fromBinaryArrayCallback(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    PXRMsg_BinaryCursor *psCursor = static_cast<PXRMsg_BinaryCursor *>(pUser);
    uint32_t u32Left = psCursor->u32Size - psCursor->u32Position;
    uint32_t u32Copy = u32Left < u32MaxLength ? u32Left : u32MaxLength;
    if (u32Copy > INT32_MAX)
        u32Copy = INT32_MAX;
    if (u32Copy)
        memcpy(pDestination, psCursor->pu8Data + psCursor->u32Position, u32Copy);
    psCursor->u32Position += u32Copy;
    return int32_t(u32Copy);
}

int PXRMsg_importBounded(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser, uint64_t u64SourceSize)
{
    if (!psMsg || !PXRMsgClear(psMsg))
        return 0;
    PXRStreamBuffer *psBuffer = PXRStreamBufferCreate();
    XML_Parser hParser = XML_ParserCreate(nullptr);
    int iResult = -1;
    if (!psBuffer || !hParser || !rRead)
        PXR_setLastError(psMsg, "%s", rRead ? kNoMemory : "No read function");
    else
        iResult = PXRMsg_readBounded(psMsg, rRead, pUser, psBuffer, hParser, u64SourceSize);
    if (hParser)
        XML_ParserFree(hParser);
    PXRStreamBufferRelease(psBuffer);
    return iResult == 0;
}

int PXRMsgImport(PXRMsg *psMsg, PXRMsgReadFunction rRead, void *pUser)
{
    return PXRMsg_importBounded(psMsg, rRead, pUser, UINT64_MAX);
}

int PXRMsgImportFromBinaryArray(PXRMsg *psMsg, const void *pData, uint32_t u32Size)
{
    PXRMsg_BinaryCursor sCursor = {static_cast<const uint8_t *>(pData), pData ? u32Size : 0, 0};
    return PXRMsg_importBounded(psMsg, &PXRMsg_fromBinaryArrayCallback, &sCursor, sCursor.u32Size);
}

} // extern "C"
