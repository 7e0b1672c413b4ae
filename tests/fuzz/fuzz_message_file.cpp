// libFuzzer target of message files the operator opens: the bytes written to a file are read by
// the library's file reader, streamed from the open file in small reads as the restore window
// does, and imported whole as the message sender does; the readers agree, and never crash.
#include "PXR_Internal.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

int appendPiece(const void *pData, uint32_t u32Length, void *pUser)
{
    static_cast<std::string *>(pUser)->append(static_cast<const char *>(pData), u32Length);
    return 1;
}

std::string exported(PXRMsg *psMsg)
{
    std::string bytes;
    if (!PXRMsgExport(psMsg, &appendPiece, &bytes))
        bytes = "(not exported)";
    return bytes;
}

// A short read now and then, as a file on a slow disk may give.
int32_t readFromFile(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    FILE *psFile = static_cast<FILE *>(pUser);
    const size_t szWanted = u32MaxLength < 7 ? u32MaxLength : 7;
    const size_t szRead = fread(pDestination, 1, szWanted, psFile);
    return szRead == 0 && ferror(psFile) ? -1 : int32_t(szRead);
}

const std::string &scratchPath()
{
    static const std::string path = [] {
        char aszPath[] = "/tmp/fuzz_message_file.XXXXXX";
        const int iFile = mkstemp(aszPath);
        if (iFile < 0)
            abort();
        close(iFile);
        return std::string(aszPath);
    }();
    return path;
}

bool writeFile(const uint8_t *pu8Data, size_t szSize)
{
    FILE *psFile = fopen(scratchPath().c_str(), "wb");
    if (!psFile)
        return false;
    const bool bWritten = fwrite(pu8Data, 1, szSize, psFile) == szSize;
    return fclose(psFile) == 0 && bWritten;
}

// The restore window's reading: the open file streamed into the reader.
PXRMsg *streamed(int *piResult)
{
    PXRMsg *psMsg = PXRMsgCreate();
    FILE *psFile = fopen(scratchPath().c_str(), "rb");
    *piResult = psFile ? PXRMsgImport(psMsg, &readFromFile, psFile) : 0;
    if (psFile)
        fclose(psFile);
    return psMsg;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    static int iStarted = (atexit([] { remove(scratchPath().c_str()); }), PXR_initLibrary());
    (void)iStarted;
    if (szSize > UINT32_MAX || !writeFile(pu8Data, szSize))
        return 0;
    PXRMsg *psFromFile = PXRMsgCreate();
    const int iFromFile = PXRMsg_importFromFile(psFromFile, scratchPath().c_str());
    PXRMsg *psWhole = PXRMsgCreate();
    const int iWhole = PXRMsgImportFromBinaryArray(psWhole, pu8Data, uint32_t(szSize));
    int iStreamed = 0;
    PXRMsg *psStreamed = streamed(&iStreamed);
    // The same bytes in memory or in a file are the same message.
    if (iFromFile != iWhole)
        __builtin_trap();
    if (iFromFile) {
        const std::string bytes = exported(psFromFile);
        if (!iStreamed || exported(psWhole) != bytes || exported(psStreamed) != bytes)
            __builtin_trap();
    }
    PXRMsgDestroy(psStreamed);
    PXRMsgDestroy(psWhole);
    PXRMsgDestroy(psFromFile);
    return 0;
}
