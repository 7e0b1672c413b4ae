/* The runtime's process-wide log: an optional file with a size cap and one ".old" copy,
 * plain and dated lines, hex dumps, and the callback that carries plain lines onward. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "LocalTime.h"
#include "SA_Internal.h"

namespace {

constexpr size_t LOG_PATH_SIZE = 260;
constexpr size_t CALLBACK_TEXT_SIZE = 125;
constexpr char OLD_SUFFIX[] = ".old";
constexpr char DEFAULT_LOG_FILE[] = "Brondmere.log";

constexpr int DUMP_BYTES_PER_LINE = 16;
constexpr int DUMP_LINE_WIDTH = 80;
constexpr int DUMP_HEX_COLUMN = 10;
constexpr int DUMP_TEXT_COLUMN = 59;

/* Reports a check under the expression text the runtime has always shown for it. */
#define LOG_ASSERT_AS(condition, text) \
    SA_Assert((condition) ? 1 : 0, (text), __FILE__, __func__, (uint32_t)__LINE__, nullptr)

struct SA_LogData {
    SA_OsMutex hMutex;
    char aszLogFile[LOG_PATH_SIZE];
    uint32_t u32MaxSize;
    SA_LogCallback rCallback;
};

/* Outlives the runtime's heap (released after it), so it comes from the C library. */
SA_LogData *psLogData = nullptr;

bool lockLog(void)
{
    SA_ASSERT(psLogData);
    if (psLogData == nullptr)
        return false;
    int iLocked = SA_LockOsMutex(psLogData->hMutex);
    LOG_ASSERT_AS(iLocked == SA_OK, "SA_LockOsMutex(psLogData->hMutex) == SA_OK");
    return iLocked == SA_OK;
}

void unlockLog(void)
{
    int iUnlocked = SA_UnlockOsMutex(psLogData->hMutex);
    LOG_ASSERT_AS(iUnlocked == SA_OK, "SA_UnlockOsMutex(psLogData->hMutex) == SA_OK");
}

/* Under the lock: a file that reached its cap becomes the ".old" copy. */
void rotateLog(void)
{
    uint64_t u64Size = 0;
    if (psLogData->u32MaxSize == 0 || !SA_FileGetSizeDirect(psLogData->aszLogFile, &u64Size) ||
        u64Size < psLogData->u32MaxSize)
        return;
    char aszOld[LOG_PATH_SIZE + sizeof(OLD_SUFFIX)];
    snprintf(aszOld, sizeof(aszOld), "%s%s", psLogData->aszLogFile, OLD_SUFFIX);
    SA_FileDelete(aszOld);
    SA_FileRename(psLogData->aszLogFile, aszOld);
}

/* Opens, appends through rWrite, closes and rotates, all under the lock; no file is
 * written while the path is empty or the runtime is not started. */
template <typename Writer>
void appendToLog(Writer rWrite)
{
    if (!lockLog())
        return;
    if (psLogData->aszLogFile[0] != '\0') {
        FILE *psFile = fopen(psLogData->aszLogFile, "a");
        if (psFile != nullptr) {
            rWrite(psFile);
            fclose(psFile);
            rotateLog();
        }
    }
    unlockLog();
}

SA_LogCallback currentCallback(void)
{
    if (!lockLog())
        return nullptr;
    SA_LogCallback rCallback = psLogData->rCallback;
    unlockLog();
    return rCallback;
}

void writeDumpLine(FILE *psFile, const uint8_t *pu8Bytes, uint32_t u32Count, uint32_t u32Offset)
{
    char acLine[DUMP_LINE_WIDTH + 1];
    memset(acLine, ' ', DUMP_LINE_WIDTH);
    char acHex[9];
    snprintf(acHex, sizeof(acHex), "%08X", (unsigned)u32Offset);
    memcpy(acLine, acHex, 8);
    for (uint32_t i = 0; i < u32Count; i++) {
        uint8_t u8Byte = pu8Bytes[i];
        snprintf(acHex, sizeof(acHex), "%02X", (unsigned)u8Byte);
        memcpy(acLine + DUMP_HEX_COLUMN + 3 * i, acHex, 2);
        acLine[DUMP_TEXT_COLUMN + i] = (u8Byte >= 0x20 && u8Byte < 0x7F) ? (char)u8Byte : '.';
    }
    acLine[DUMP_LINE_WIDTH] = '\n';
    fwrite(acLine, 1, sizeof(acLine), psFile);
}

}  // namespace

extern "C" {

int SA_InitLog(void)
{
    if (psLogData != nullptr)
        return SA_OK;
    psLogData = (SA_LogData *)calloc(1, sizeof(SA_LogData));
    if (psLogData == nullptr)
        return SA_ERROR;
    if (SA_CreateOsMutex(&psLogData->hMutex) != SA_OK) {
        free(psLogData);
        psLogData = nullptr;
        return SA_ERROR;
    }
    memcpy(psLogData->aszLogFile, DEFAULT_LOG_FILE, sizeof(DEFAULT_LOG_FILE));
    return SA_OK;
}

void SA_ReleaseLog(void)
{
    if (psLogData == nullptr)
        return;
    SA_DestroyOsMutex(&psLogData->hMutex);
    free(psLogData);
    psLogData = nullptr;
}

int SA_SetLogFileEx(const char *pcszLogFile, uint32_t u32MaxSize)
{
    if (pcszLogFile != nullptr) {
        /* A longer path is refused whole rather than cut into another file's name. */
        size_t uLength = strnlen(pcszLogFile, LOG_PATH_SIZE);
        LOG_ASSERT_AS(uLength < LOG_PATH_SIZE, "strlen(pcszLogFile) < sizeof(psLogData->aszLogFile)");
        if (uLength >= LOG_PATH_SIZE)
            return SA_ERROR;
    }
    if (!lockLog())
        return SA_ERROR;
    if (pcszLogFile != nullptr) {
        snprintf(psLogData->aszLogFile, LOG_PATH_SIZE, "%s", pcszLogFile);
        psLogData->u32MaxSize = u32MaxSize;
    } else {
        psLogData->aszLogFile[0] = '\0';
    }
    unlockLog();
    return SA_OK;
}

void SA_SetLogCallback(SA_LogCallback rCallback)
{
    if (!lockLog())
        return;
    psLogData->rCallback = rCallback;
    unlockLog();
}

void SA_Log(const char *pcszFormat, ...)
{
    va_list args;
    va_start(args, pcszFormat);
    appendToLog([&](FILE *psFile) {
        va_list fileArgs;
        va_copy(fileArgs, args);
        fputc('\n', psFile);
        vfprintf(psFile, pcszFormat, fileArgs);
        fputc('\n', psFile);
        va_end(fileArgs);
    });
    SA_LogCallback rCallback = psLogData != nullptr ? currentCallback() : nullptr;
    if (rCallback != nullptr) {
        char aszText[CALLBACK_TEXT_SIZE];
        vsnprintf(aszText, sizeof(aszText), pcszFormat, args);
        rCallback(aszText);
    }
    va_end(args);
}

void SA_WriteLogDateV(const char *pcszFormat, ...)
{
    va_list args;
    va_start(args, pcszFormat);
    appendToLog([&](FILE *psFile) {
        SA_LocalTime sNow;
        SA_PlatformLocalTime(&sNow);
        fprintf(psFile, "%02d:%02d:%02d %02d/%02d/%04d: ", (int)sNow.i32Hour, (int)sNow.i32Minute,
                (int)sNow.i32Second, (int)sNow.i32Day, (int)sNow.i32Month, (int)sNow.i32Year);
        vfprintf(psFile, pcszFormat, args);
    });
    va_end(args);
}

void SA_WriteLogDump(const void *pData, uint32_t u32Length, uint32_t u32Offset)
{
    SA_ASSERT(pData || u32Length == 0);
    if (pData == nullptr)
        u32Length = 0;
    appendToLog([&](FILE *psFile) {
        const uint8_t *pu8Data = (const uint8_t *)pData;
        for (uint64_t u64Done = 0; u64Done < u32Length; u64Done += DUMP_BYTES_PER_LINE) {
            uint32_t u32Done = (uint32_t)u64Done;
            uint32_t u32Count = u32Length - u32Done;
            if (u32Count > DUMP_BYTES_PER_LINE)
                u32Count = DUMP_BYTES_PER_LINE;
            writeDumpLine(psFile, pu8Data + u32Done, u32Count, u32Offset + u32Done);
        }
    });
}

}  // extern "C"
