/* The bridge's answers: an `answer` root with its status, the error answers formed from a
 * legacy handle's last error, the light connection's text, and a child added to an element. */
#include <stdio.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"

namespace {

// A last error may come without its function or text: never format a null.
void errorParts(LumatrekHandle *psLegacy, LumatrekErrorInfo *psError, const char **ppcszFunction,
                const char **ppcszText)
{
    memset(psError, 0, sizeof(*psError));
    LumatrekGetLastError(psLegacy, psError);
    *ppcszFunction = psError->pcszFunction ? psError->pcszFunction : "Unknown";
    *ppcszText = psError->pcszText ? psError->pcszText : "";
}

} // namespace

extern "C" {

int PXRLT_setAnswer(PXRMsg *psAnswer, int bOk, const char *pcszErrorText)
{
    PXRMsgElement *psRoot = PXRMsgElementCreate("answer");
    if (!psRoot)
        return 0;
    int bSet = PXRMsgElementSetAttribute(psRoot, "status", bOk ? "ok" : "failed");
    if (bSet && !bOk)
        bSet = PXRMsgElementSetAttribute(psRoot, "errorText", pcszErrorText ? pcszErrorText : "");
    if (!bSet || !PXRMsgSetChild(psAnswer, psRoot)) {
        PXRMsgElementDestroy(psRoot);
        return 0;
    }
    return 1;
}

int PXRLT_setErrorAnswer(PXRMsg *psAnswer, LumatrekHandle *psLegacy)
{
    PXRMsgClear(psAnswer);
    LumatrekErrorInfo sError;
    const char *pcszFunction = nullptr;
    const char *pcszText = nullptr;
    errorParts(psLegacy, &sError, &pcszFunction, &pcszText);
    char aszText[512];
    snprintf(aszText, sizeof(aszText), "%s : %s", pcszFunction, pcszText);
    return PXRLT_setAnswer(psAnswer, 0, aszText);
}

int PXRLT_setErrorAnswerWhere(LumatrekHandle *psLegacy, PXRMsg *psAnswer)
{
    LumatrekErrorInfo sError;
    const char *pcszFunction = nullptr;
    const char *pcszText = nullptr;
    errorParts(psLegacy, &sError, &pcszFunction, &pcszText);
    char aszText[1024];
    snprintf(aszText, sizeof(aszText), "In %s : %s (%d)", pcszFunction, pcszText, sError.i32Code);
    return PXRLT_setAnswer(psAnswer, 0, aszText);
}

PXRMsgElement *PXRLT_addChild(PXRMsgElement *psParent, const char *pcszName)
{
    if (!psParent)
        return nullptr;
    PXRMsgElement *psChild = PXRMsgElementCreate(pcszName);
    if (psChild && !PXRMsgElementAddChild(psParent, psChild)) {
        PXRMsgElementDestroy(psChild);
        return nullptr;
    }
    return psChild;
}

int PXRLT_setMacAttribute(PXRMsgElement *psElement, const char *pcszName, const uint8_t *pu8Mac)
{
    char aszMac[18];
    snprintf(aszMac, sizeof(aszMac), "%02x:%02x:%02x:%02x:%02x:%02x", pu8Mac[0], pu8Mac[1], pu8Mac[2], pu8Mac[3],
             pu8Mac[4], pu8Mac[5]);
    return PXRMsgElementSetAttribute(psElement, pcszName, aszMac);
}

int PXRLT_lightConnectionText(char *pszText, size_t uSize, const char *pcszServer, uint32_t u32Port,
                              uint32_t u32TimePort)
{
    if (!pszText || uSize == 0 || !pcszServer)
        return 0;
    const int iLength = snprintf(pszText, uSize, "%s:0,%u,%u", pcszServer, u32Port, u32TimePort);
    // A cut text would name another host: refuse it rather than connect elsewhere.
    if (iLength < 0 || (size_t)iLength >= uSize) {
        pszText[0] = '\0';
        return 0;
    }
    return 1;
}

} // extern "C"
