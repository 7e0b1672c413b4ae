/* Library start and end, the last-error text every object carries, the process-wide
 * trace function and the version texts. */
#include "PXR_Internal.h"
#include "Lumatrek.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char kVersion[] = "1.5.1.0 Build 734 (Dec 19 2023 14:58:58)";
const size_t kTraceBufferSize = 512;

PXRTraceFunction g_rTraceFunction = nullptr;
void *g_pTraceUser = nullptr;
int g_bInitialised = 0;

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
    return pObject ? static_cast<const char *>(pObject) : "";
}

void PXR_clearLastError(void *pObject)
{
    if (pObject)
        static_cast<char *>(pObject)[0] = '\0';
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
