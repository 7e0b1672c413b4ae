/* The legacy library as a whole: its reference count with the handlers its first start
 * installs, its version and its switch of the runtime's log file. */
#include "Lumatrek_Internal.h"
#include "SA_Log.h"

#include <atomic>
#include <cstdio>

namespace {

const uint16_t kMajor = 10;
const uint16_t kMinor = 9;
const uint32_t kRevision = 6;
const char kVersionText[] = "Lumatrek 10.9.6.0 Build (" __DATE__ " " __TIME__ ")";
const uint32_t kBytesPerKb = 1024;

// The lock of the count is made once and kept: freeing it when the count falls to 0 would
// let a start racing with that release lock freed memory.
std::atomic<SA_OsMutex> g_hLock{nullptr};
int32_t g_i32References = 0;

SA_OsMutex libraryLock()
{
    SA_OsMutex hLock = g_hLock.load();
    if (hLock)
        return hLock;
    SA_OsMutex hNew = nullptr;
    if (SA_CreateOsMutex(&hNew) != SA_OK)
        return nullptr;
    if (!g_hLock.compare_exchange_strong(hLock, hNew)) {
        SA_DestroyOsMutex(&hNew);
        return hLock;
    }
    return hNew;
}

const char *orEmpty(const char *pcszText)
{
    return pcszText ? pcszText : "";
}

void AssertHandler(const char *pcszExpression, const char *pcszFile, const char *pcszFunction, uint32_t u32Line,
                   const char *pcszTask, const char *pcszInformation)
{
    printf("SA_ASSERT: exp <%s> file: %s func: %s line: %u task: %s info %s\n", orEmpty(pcszExpression),
           orEmpty(pcszFile), orEmpty(pcszFunction), u32Line, orEmpty(pcszTask), orEmpty(pcszInformation));
    fflush(stdout);
    SA_WriteLogDateV("%s: ASSERT exp <%s> file: %s func: %s line: %u task: %s info %s\n", LT_text(LT_TEXT_FILE_NAME),
                     orEmpty(pcszExpression), orEmpty(pcszFile), orEmpty(pcszFunction), u32Line, orEmpty(pcszTask),
                     orEmpty(pcszInformation));
}

void MemoryLeakHandler(const char *pcszTitle, const char *pcszInformation, void *)
{
    SA_WriteLogDateV("%s: MEMORY LEAK title <%s> info <%s>\n", LT_text(LT_TEXT_FILE_NAME), orEmpty(pcszTitle),
                     orEmpty(pcszInformation));
}

} // namespace

extern "C" {

int LumatrekInit(LumatrekErrorInfo *psError)
{
    if (psError)
        LT_initError(psError, LT_text(LT_TEXT_FN_INIT), 1);
    SA_OsMutex hLock = libraryLock();
    if (!hLock)
        return 0;
    SA_LockOsMutex(hLock);
    if (g_i32References++ == 0) {
        SA_SetAssertHandler(&AssertHandler);
        SA_SetMemoryLeakCallback(&MemoryLeakHandler, LT_text(LT_TEXT_FILE_NAME), nullptr);
    }
    SA_UnlockOsMutex(hLock);
    return 1;
}

void LumatrekRelease(void)
{
    SA_OsMutex hLock = g_hLock.load();
    if (!hLock)
        return;
    SA_LockOsMutex(hLock);
    if (g_i32References > 0)
        g_i32References--;
    SA_UnlockOsMutex(hLock);
}

int32_t LT_libraryReferences(void)
{
    SA_OsMutex hLock = g_hLock.load();
    if (!hLock)
        return 0;
    SA_LockOsMutex(hLock);
    int32_t i32Count = g_i32References;
    SA_UnlockOsMutex(hLock);
    return i32Count;
}

LumatrekVersion *LumatrekGetVersion(LumatrekVersion *psVersion)
{
    if (!psVersion)
        return nullptr;
    psVersion->pcszVersion = kVersionText;
    psVersion->u16Major = kMajor;
    psVersion->u16Minor = kMinor;
    psVersion->u32Revision = kRevision;
    return psVersion;
}

void LumatrekSetLogFile(const char *pcszLogFile, uint32_t u32MaxSizeKb)
{
    // A cap beyond what 32 bits of bytes hold is taken as the largest cap.
    if (pcszLogFile && u32MaxSizeKb != 0) {
        uint64_t u64Bytes = static_cast<uint64_t>(u32MaxSizeKb) * kBytesPerKb;
        SA_SetLogFileEx(pcszLogFile, u64Bytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(u64Bytes));
    } else {
        SA_SetLogFileEx(nullptr, 0);
    }
}

} // extern "C"
