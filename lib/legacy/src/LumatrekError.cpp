/* Error records: how a failure is checked, logged, reported to the error callback and kept
 * as the handle's last error, and the dated log lines of a handle. */
#include "Lumatrek_Internal.h"
#include "SA_Log.h"

#include <cstdarg>
#include <cstdio>

namespace {

const size_t kLogLineSize = 1024;

} // namespace

extern "C" {

void LT_initError(LumatrekErrorInfo *psError, const char *pcszFunction, int32_t i32Type)
{
    psError->i32Code = 0;
    psError->pcszText = nullptr;
    psError->i32Critical = 0;
    psError->i32Type = i32Type;
    psError->pcszFunction = pcszFunction;
}

void LT_setError(LumatrekErrorInfo *psError, int32_t i32Code, LT_TextId eText, int32_t bCritical)
{
    psError->i32Code = i32Code;
    psError->pcszText = LT_text(eText);
    psError->i32Critical = bCritical ? 1 : 0;
}

void LT_log(LumatrekHandle *psHandle, const char *pcszFunction, const char *pcszFormat, ...)
{
    char aszText[kLogLineSize];
    va_list args;
    va_start(args, pcszFormat);
    vsnprintf(aszText, sizeof(aszText), pcszFormat, args);
    va_end(args);
    LT_lock(psHandle, LT_MUTEX_PORT);
    SA_WriteLogDateV("%s: %s,%u,%u: %s", pcszFunction ? pcszFunction : "",
                     psHandle->pszHost ? psHandle->pszHost : "", psHandle->u32CommandPort,
                     psHandle->u32StreamPortInUse, aszText);
    LT_unlock(psHandle, LT_MUTEX_PORT);
}

void LumatrekError(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    if (!psHandle || !psError)
        return;
    LT_lock(psHandle, LT_MUTEX_ERROR);
    LT_log(psHandle, LT_text(LT_TEXT_FN_ERROR), "ERROR func=<%s> error=<%s (%d)> type %d critical %d\n",
           psError->pcszFunction ? psError->pcszFunction : "", psError->pcszText ? psError->pcszText : "",
           psError->i32Code, psError->i32Type, psError->i32Critical);
    if (psHandle->rErrorCallback)
        psHandle->rErrorCallback(psHandle, psError, psHandle->pErrorUser);
    // A stored critical error stays until destruction; reporting anything after it stops
    // the handle.
    if (psHandle->sLastError.i32Critical)
        SA_AtomicStore(&psHandle->i32Running, 0);
    else
        psHandle->sLastError = *psError;
    LT_unlock(psHandle, LT_MUTEX_ERROR);
    psError->i32Code = 0;
    psError->pcszText = nullptr;
    psError->i32Critical = 0;
    psError->i32Type = 0;
}

void ReportError(LumatrekHandle *psHandle, const char *pcszFunction, int32_t i32Type, int32_t i32Code,
                 const char *pcszText, int32_t bCritical)
{
    LumatrekErrorInfo sError = {i32Code, pcszText, bCritical ? 1 : 0, i32Type, pcszFunction};
    LumatrekError(psHandle, &sError);
}

int CheckHandle(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    if (!psHandle) {
        LT_setError(psError, LUMATREK_ERROR_INVALID_ARGUMENT, LT_TEXT_INVALID_ARGUMENT, 0);
        return 0;
    }
    if (!LT_isRunning(psHandle)) {
        LT_setError(psError, LUMATREK_ERROR_STOPPED, LT_TEXT_STOPPED, 0);
        return 0;
    }
    LT_lock(psHandle, LT_MUTEX_ERROR);
    int32_t bCritical = psHandle->sLastError.i32Critical;
    LT_unlock(psHandle, LT_MUTEX_ERROR);
    if (bCritical) {
        LT_setError(psError, LUMATREK_ERROR_CRITICAL_STORED, LT_TEXT_CRITICAL_STORED, 1);
        return 0;
    }
    return 1;
}

int LT_enterCall(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, LT_TextId eFunction)
{
    LT_initError(psError, LT_text(eFunction), 1);
    if (CheckHandle(psHandle, psError))
        return 1;
    LumatrekError(psHandle, psError);
    return 0;
}

void LumatrekGetLastError(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    if (!psHandle || !psError)
        return;
    LT_lock(psHandle, LT_MUTEX_ERROR);
    *psError = psHandle->sLastError;
    if (!psHandle->sLastError.i32Critical) {
        psHandle->sLastError.i32Code = 0;
        psHandle->sLastError.pcszText = nullptr;
        psHandle->sLastError.i32Critical = 0;
    }
    LT_unlock(psHandle, LT_MUTEX_ERROR);
}

} // extern "C"
