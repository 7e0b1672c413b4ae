/* Library start and end, the last-error text every object carries, the process-wide
 * trace function and the version texts. */
#include "PXR_Internal.h"
#include "Lumatrek.h"
#include "PXRLT.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char kVersion[] = "1.5.1.0 Build 734 (Dec 19 2023 14:58:58)";
const size_t kTraceBufferSize = 512;

PXRTraceFunction g_rTraceFunction = nullptr;
void *g_pTraceUser = nullptr;
int g_bInitialised = 0;

// A connection handle is shared by threads whose requests fail at the same moment: each thread
// keeps the text of its own last failure on a handle, so the text it reads is never one being
// rewritten by another thread. The handle's own buffer still gets every text, under a lock.
struct ThreadError {
    const void *pHandle;
    uint64_t u64Epoch; // the handle epoch when written; a later destruction voids the slot
    char aszText[PXR_LAST_ERROR_SIZE];
};
const unsigned kThreadErrorSlots = 4;
thread_local ThreadError t_asErrors[kThreadErrorSlots];
thread_local unsigned t_uNextSlot = 0;
std::atomic<uint64_t> g_u64HandleEpoch{1};
std::atomic_flag g_bSharedTextBusy = ATOMIC_FLAG_INIT;

ThreadError *threadErrorOf(const void *pHandle)
{
    for (ThreadError &sError : t_asErrors)
        if (sError.pHandle == pHandle)
            return &sError;
    return nullptr;
}

// A thread that clears the text keeps no copy: it reads the handle's buffer again, and with it
// the failures of the handle's other users.
void writeHandleText(PXR *psPxr, const char *pcszText)
{
    ThreadError *psError = threadErrorOf(psPxr);
    if (!psError && pcszText[0]) {
        psError = &t_asErrors[t_uNextSlot];
        t_uNextSlot = (t_uNextSlot + 1) % kThreadErrorSlots;
    }
    if (psError && !pcszText[0]) {
        psError->pHandle = nullptr;
    } else if (psError) {
        psError->pHandle = psPxr;
        psError->u64Epoch = g_u64HandleEpoch.load(std::memory_order_acquire);
        snprintf(psError->aszText, sizeof psError->aszText, "%s", pcszText);
    }
    while (g_bSharedTextBusy.test_and_set(std::memory_order_acquire)) {
    }
    snprintf(psPxr->aszLastError, sizeof psPxr->aszLastError, "%s", pcszText);
    g_bSharedTextBusy.clear(std::memory_order_release);
}

const PXR_LegacyBridge kLegacyBridge = {&PXRLT_create, &PXRLT_release, &PXRLT_sendAsynchronousMessage,
                                        &PXRLT_sendRequest};

} // namespace

extern "C" {

int PXR_initLibrary(void)
{
    if (g_bInitialised)
        return 1;
    if (SA_Init(0, 0, -1) != SA_OK)
        return 0;
    SA_SetAssertHandler(&PXR_assertCallback);
    LumatrekSetLogFile(nullptr, 0);
    PXR_setLegacyBridge(&kLegacyBridge);
    g_bInitialised = 1;
    return 1;
}

void PXR_releaseLibrary(void)
{
    // Only the start made by PXR_initLibrary is given back, however often this is called.
    if (!g_bInitialised)
        return;
    g_bInitialised = 0;
    SA_Release();
}

int PXR_isInitialised(void)
{
    return g_bInitialised;
}

const char *PXRGetLastError(const void *pObject)
{
    if (!pObject)
        return "";
    const ThreadError *psError = threadErrorOf(pObject);
    if (psError && psError->u64Epoch == g_u64HandleEpoch.load(std::memory_order_acquire))
        return psError->aszText;
    return static_cast<const char *>(pObject);
}

void PXR_setHandleError(PXR *psPxr, const char *pcszFormat, ...)
{
    if (!psPxr)
        return;
    char aszText[PXR_LAST_ERROR_SIZE];
    va_list args;
    va_start(args, pcszFormat);
    vsnprintf(aszText, sizeof aszText, pcszFormat, args);
    va_end(args);
    writeHandleText(psPxr, aszText);
}

void PXR_clearHandleError(PXR *psPxr)
{
    if (psPxr)
        writeHandleText(psPxr, "");
}

void PXR_forgetHandleErrors(void)
{
    g_u64HandleEpoch.fetch_add(1, std::memory_order_acq_rel);
}

// Read-only messages are shared between threads and every call clears their text: it is
// only written when there is something to clear, and then as one atomic byte.
void PXR_clearLastError(void *pObject)
{
    if (!pObject)
        return;
    char *pcText = static_cast<char *>(pObject);
    if (__atomic_load_n(pcText, __ATOMIC_RELAXED) != '\0')
        __atomic_store_n(pcText, '\0', __ATOMIC_RELAXED);
}

void PXR_setLastError(void *pObject, const char *pcszFormat, ...)
{
    if (!pObject)
        return;
    va_list args;
    va_start(args, pcszFormat);
    vsnprintf(static_cast<char *>(pObject), PXR_LAST_ERROR_SIZE, pcszFormat, args);
    va_end(args);
}

void PXRSetTraceFunction(PXRTraceFunction rFunction, void *pUser)
{
    g_rTraceFunction = rFunction;
    g_pTraceUser = pUser;
}

void PXR_trace(PXR *pPxr, const char *pcszModule, int iLevel, const char *pcszFormat, ...)
{
    PXRTraceFunction rFunction = g_rTraceFunction;
    if (!rFunction)
        return;
    char aszText[kTraceBufferSize];
    int iPrefix = snprintf(aszText, sizeof(aszText), "[%s]", pcszModule ? pcszModule : "");
    if (iPrefix < 0)
        iPrefix = 0;
    size_t szPrefix = static_cast<size_t>(iPrefix) < sizeof(aszText) ? static_cast<size_t>(iPrefix)
                                                                       : sizeof(aszText) - 1;
    va_list args;
    va_start(args, pcszFormat);
    vsnprintf(aszText + szPrefix, sizeof(aszText) - szPrefix, pcszFormat, args);
    va_end(args);
    rFunction(pPxr, iLevel, aszText, g_pTraceUser);
}

void PXR_assertCallback(const char *, const char *pcszFile, const char *pcszFunction, uint32_t u32Line,
                        const char *, const char *)
{
    PXR_trace(nullptr, PXR_MODULE_PXR, PXR_LEVEL_FATAL, "ASSERT File=%s Function=%s l%u",
              pcszFile ? pcszFile : "", pcszFunction ? pcszFunction : "", u32Line);
}

const char *PXRGetVersion(void)
{
    return kVersion;
}

char *PXR_getFullVersion(char *pszBuffer, size_t szSize)
{
    if (!pszBuffer || szSize == 0)
        return pszBuffer;
    LumatrekVersion sLegacy;
    LumatrekGetVersion(&sLegacy);
    snprintf(pszBuffer, szSize, "PXR v%s\nLumatrekDLL v%i.%i.%i\n", kVersion,
             static_cast<int>(sLegacy.u16Major), static_cast<int>(sLegacy.u16Minor),
             static_cast<int>(sLegacy.u32Revision));
    return pszBuffer;
}

char *PXRGetFullVersion(char *pszBuffer)
{
    return PXR_getFullVersion(pszBuffer, PXR_FULL_VERSION_SIZE);
}

} // extern "C"
