// libFuzzer target of the wire reader: any bytes, whole or fed in small pieces, give a
// message or a reason, never a crash; whatever is read and written again reads back the same.
#include "PXR_Internal.h"

#include <cstring>
#include <string>

namespace {

struct Piecewise {
    const uint8_t *pu8Data;
    size_t szSize;
    size_t szPosition;
    uint32_t u32Piece;
};

int32_t readPiece(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    Piecewise *psSource = static_cast<Piecewise *>(pUser);
    size_t szCopy = psSource->szSize - psSource->szPosition;
    if (szCopy > u32MaxLength)
        szCopy = u32MaxLength;
    if (szCopy > psSource->u32Piece)
        szCopy = psSource->u32Piece;
    memcpy(pDestination, psSource->pu8Data + psSource->szPosition, szCopy);
    psSource->szPosition += szCopy;
    return int32_t(szCopy);
}

int appendPiece(const void *pData, uint32_t u32Length, void *pUser)
{
    static_cast<std::string *>(pUser)->append(static_cast<const char *>(pData), u32Length);
    return 1;
}

std::string exported(PXRMsg *psMsg, int *piResult)
{
    std::string bytes;
    *piResult = PXRMsgExport(psMsg, &appendPiece, &bytes);
    return bytes;
}

// An include left without its binary part stays in the tree as a plain element and would
// claim the letter that the writer gives to a real content; such trees are not compared.
bool holdsInclude(PXRMsg *psMsg)
{
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    for (PXRMsgElement *psElement = psRoot; psElement; psElement = PXRMsgElement_nextInTree(psElement, psRoot)) {
        if (PXRMsgStringEqual(PXRMsgElementName(psElement), "xop:Include"))
            return true;
    }
    return false;
}

// Reads the input in pieces of 1 to 8 bytes, as a slow socket would deliver it.
int readPiecewise(PXRMsg *psMsg, const uint8_t *pu8Data, size_t szSize)
{
    PXRStreamBuffer *psBuffer = PXRStreamBufferCreate();
    XML_Parser hParser = XML_ParserCreate(nullptr);
    Piecewise sSource = {pu8Data, szSize, 0, uint32_t(szSize % 8 + 1)};
    int iResult = PXRMsg_readBounded(psMsg, &readPiece, &sSource, psBuffer, hParser, szSize);
    XML_ParserFree(hParser);
    PXRStreamBufferRelease(psBuffer);
    return iResult;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    static int iStarted = PXR_initLibrary();
    (void)iStarted;
    if (szSize > UINT32_MAX)
        return 0;
    PXRMsg *psWhole = PXRMsgCreate();
    int iWhole = PXRMsgImportFromBinaryArray(psWhole, pu8Data, uint32_t(szSize));
    PXRMsg *psPieces = PXRMsgCreate();
    int iPieces = readPiecewise(psPieces, pu8Data, szSize) == 0;
    // How the bytes arrive must not change what is read. Only the reason of a failure may
    // differ: Expat can notice bad bytes earlier or later depending on where a feed ends.
    if (iWhole != iPieces)
        __builtin_trap();
    int iExported = 0;
    std::string first = iWhole ? exported(psWhole, &iExported) : std::string();
    if (iExported) {
        std::string second = exported(psPieces, &iExported);
        if (!iExported || second != first)
            __builtin_trap();
        PXRMsg *psAgain = PXRMsgCreate();
        if (!holdsInclude(psWhole) && PXRMsgImportFromBinaryArray(psAgain, first.data(), uint32_t(first.size())) &&
            exported(psAgain, &iExported) != first)
            __builtin_trap();
        PXRMsgDestroy(psAgain);
    }
    PXRMsgDestroy(psPieces);
    PXRMsgDestroy(psWhole);
    return 0;
}
