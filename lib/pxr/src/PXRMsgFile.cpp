/* Message files (.pxrmsg): exactly the bytes of one exported message, nothing before or
 * after them. */
#include "PXR_Internal.h"

#include <cstdio>

namespace {

int writeToFile(const void *pData, uint32_t u32Length, void *pUser)
{
    return fwrite(pData, 1, u32Length, static_cast<FILE *>(pUser)) == u32Length;
}

int32_t readFromFile(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    FILE *psFile = static_cast<FILE *>(pUser);
    if (u32MaxLength > INT32_MAX)
        u32MaxLength = INT32_MAX;
    size_t szRead = fread(pDestination, 1, u32MaxLength, psFile);
    if (szRead == 0 && ferror(psFile))
        return -1;
    return int32_t(szRead);
}

// Bytes from the current position to the end, or -1.
int64_t bytesLeft(FILE *psFile)
{
    long lStart = ftell(psFile);
    if (lStart < 0 || fseek(psFile, 0, SEEK_END) != 0)
        return -1;
    long lEnd = ftell(psFile);
    if (lEnd < lStart || fseek(psFile, lStart, SEEK_SET) != 0)
        return -1;
    return lEnd - lStart;
}

} // namespace

extern "C" {

int PXRMsg_exportToFile(PXRMsg *psMsg, const char *pcszPath)
{
    if (!psMsg || !pcszPath)
        return 0;
    FILE *psFile = fopen(pcszPath, "wb");
    if (!psFile) {
        PXR_setLastError(psMsg, "Unable to open file %s", pcszPath);
        return 0;
    }
    int iResult = PXRMsgExport(psMsg, &writeToFile, psFile);
    if (fclose(psFile) != 0 && iResult) {
        PXR_setLastError(psMsg, "Unable to write file %s", pcszPath);
        iResult = 0;
    }
    // A half-written file would read back as a damaged message.
    if (!iResult)
        remove(pcszPath);
    return iResult;
}

int PXRMsg_importFromFile(PXRMsg *psMsg, const char *pcszPath)
{
    if (!psMsg || !pcszPath || !PXRMsgClear(psMsg))
        return 0;
    FILE *psFile = fopen(pcszPath, "rb");
    if (!psFile) {
        PXR_setLastError(psMsg, "Unable to open file %s", pcszPath);
        return 0;
    }
    int64_t i64Size = bytesLeft(psFile);
    int iResult = 0;
    if (i64Size < 0)
        PXR_setLastError(psMsg, "Unable to read file %s", pcszPath);
    else
        iResult = PXRMsg_importBounded(psMsg, &readFromFile, psFile, uint64_t(i64Size));
    fclose(psFile);
    return iResult;
}

} // extern "C"
