/* The optics of setConfig: zoom, shutter, exposure, iris and gain, flip, focus modes, display,
 * and the focus values kept for each position of the IR-cut filter. Every change but the flip
 * marks the optics to be stored in the sensor when the command connection closes. */
#include <string.h>

#include "PXRLT_SetConfig.h"

extern "C" {

namespace {

typedef int32_t (*WordSetter)(LumatrekHandle *psHandle, uint32_t u32Value);

int32_t setShutter(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LumatrekSetShutter(psHandle, u32Value, nullptr, nullptr);
}

void opticsChanged(PXRLT_SetConfigRun *psRun)
{
    psRun->psPxr->psBridge->bOpticsChanged = 1;
}

// A traced setter of one value; the optics count as changed once it is sent.
int sendWord(PXRLT_SetConfigRun *psRun, const char *pcszTrace, WordSetter rSetter, uint32_t u32Value)
{
    PXRLT_runTrace(psRun, "%s", pcszTrace);
    if (!PXRLT_runChecked(psRun, rSetter(psRun->psCommand, u32Value)))
        return 0;
    opticsChanged(psRun);
    return 1;
}

int sendNumber(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, const char *pcszName, const char *pcszTrace,
               WordSetter rSetter)
{
    uint32_t u32Value = 0;
    return !PXRLT_takeU32(psOptics, pcszName, &u32Value) || sendWord(psRun, pcszTrace, rSetter, u32Value);
}

// A value of a camera table, by its exact name.
int sendTableValue(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, const char *pcszName,
                   const char *const *ppcszTable, uint32_t u32FirstCode, const char *pcszInvalid, const char *pcszTrace,
                   WordSetter rSetter)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psOptics, pcszName);
    if (!pcszValue)
        return 1;
    const int32_t i32Position = PXRLT_valueCode(ppcszTable, pcszValue);
    if (i32Position < 0)
        return PXRLT_runFail(psRun, pcszInvalid);
    PXRMsgElementRemoveAttribute(psOptics, pcszName);
    return sendWord(psRun, pcszTrace, rSetter, (uint32_t)i32Position + u32FirstCode);
}

// Iris and gain belong to the enslavement while it runs.
int sendUnlessEnslaved(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, int bEnslaved, const char *pcszName,
                       const char *const *ppcszTable, const char *pcszInvalid, const char *pcszTrace,
                       const char *pcszIgnored, WordSetter rSetter)
{
    if (!PXRMsgElementAttributeValue(psOptics, pcszName))
        return 1;
    if (bEnslaved) {
        PXRLT_runTrace(psRun, "%s", pcszIgnored);
        PXRMsgElementRemoveAttribute(psOptics, pcszName);
        return 1;
    }
    return sendTableValue(psRun, psOptics, pcszName, ppcszTable, 0, pcszInvalid, pcszTrace, rSetter);
}

int sendBool(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, const char *pcszName, const char *pcszTrace,
             WordSetter rSetter)
{
    int bValue = 0;
    return !PXRLT_takeBool(psOptics, pcszName, &bValue) || sendWord(psRun, pcszTrace, rSetter, (uint32_t)bValue);
}

int runFlip(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics)
{
    int bFlip = 0;
    if (!PXRLT_takeBool(psOptics, "flip", &bFlip) || !PXRLT_hasFlip(psRun->psLight))
        return 1;
    PXRLT_runTrace(psRun, "LumatrekSetFlip");
    return PXRLT_runChecked(psRun, LumatrekSetFlip(psRun->psCommand, (uint32_t)bFlip));
}

int runAutofocus(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics)
{
    int bOn = 0;
    if (!PXRLT_takeBool(psOptics, "autofocus", &bOn))
        return 1;
    PXRLT_runTrace(psRun, bOn ? "LumatrekSetAutofocusOn" : "LumatrekSetAutofocusOff");
    if (!PXRLT_runChecked(psRun, bOn ? LumatrekSetAutofocusOn(psRun->psCommand)
                                     : LumatrekSetAutofocusOff(psRun->psCommand, nullptr)))
        return 0;
    opticsChanged(psRun);
    return 1;
}

// The focus of the other filter position: switch to it, set and save its focus, switch back and
// return to the focus in use.
int focusOtherPosition(PXRLT_SetConfigRun *psRun, uint32_t u32Position, uint32_t u32Focus)
{
    const char *pcszOn = u32Position ? "   LumatrekSetIRCut on" : "   LumatrekSetIRCut off";
    const char *pcszBack = u32Position ? "   LumatrekSetIRCut off" : "   LumatrekSetIRCut on";
    LumatrekHandle *psCommand = psRun->psCommand;
    PXRLT_runTrace(psRun, "%s", pcszOn);
    if (!PXRLT_runChecked(psRun, LumatrekSetIRCut(psCommand, u32Position)))
        return 0;
    PXRLT_runTrace(psRun, "   LumatrekSetFocus");
    if (!PXRLT_runChecked(psRun, LumatrekSetFocus(psCommand, u32Focus)))
        return 0;
    PXRLT_runTrace(psRun, "   LumatrekSaveFocus");
    if (!PXRLT_runChecked(psRun, LumatrekSaveFocus(psCommand)))
        return 0;
    PXRLT_runTrace(psRun, "%s", pcszBack);
    if (!PXRLT_runChecked(psRun, LumatrekSetIRCut(psCommand, u32Position ? 0 : 1)))
        return 0;
    PXRLT_runTrace(psRun, "   LumatrekSetFocus back to current focus");
    return PXRLT_runChecked(psRun, LumatrekSetFocus(psCommand, psRun->u32Focus));
}

int focusFor(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, uint32_t u32Position)
{
    const char *pcszName = u32Position ? "focusIRCutOn" : "focusIRCutOff";
    uint32_t u32Focus = 0;
    if (!PXRLT_takeU32(psOptics, pcszName, &u32Focus))
        return 1;
    const int bCurrent = (psRun->u32IrCut != 0) == (u32Position != 0);
    if (bCurrent) {
        PXRLT_runTrace(psRun, u32Position ? "LumatrekSetFocus (focusIRCutOn: irCut is already on)"
                                          : "LumatrekSetFocus (focusIRCutOff: irCut is already off)");
        return PXRLT_runChecked(psRun, LumatrekSetFocus(psRun->psCommand, u32Focus));
    }
    PXRLT_runTrace(psRun, u32Position ? "focusIRCutOn: irCut is off, current focus is %u"
                                      : "focusIRCutOn: irCut is on, current focus is %u",
                   psRun->u32Focus);
    return focusOtherPosition(psRun, u32Position, u32Focus);
}

int runFocusValues(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics)
{
    if (!PXRMsgElementAttributeValue(psOptics, "focusIRCutOn") && !PXRMsgElementAttributeValue(psOptics, "focusIRCutOff"))
        return 1;
    if (PXRLT_commandFocusAuto(psRun->psCommand)) {
        PXRLT_runTrace(psRun, "FocusAuto is enabled, focus values are ignored");
        PXRMsgElementRemoveAttribute(psOptics, "focusIRCutOn");
        PXRMsgElementRemoveAttribute(psOptics, "focusIRCutOff");
        return 1;
    }
    opticsChanged(psRun);
    if (!PXRLT_hasFocusToSave(&psRun->sConfig)) {
        uint32_t u32Focus = 0;
        if (!PXRLT_takeU32(psOptics, "focusIRCutOff", &u32Focus))
            return 1;
        PXRLT_runTrace(psRun, "LumatrekSetFocus (focusIRCutOn : noIRcut)");
        return PXRLT_runChecked(psRun, LumatrekSetFocus(psRun->psCommand, u32Focus));
    }
    return focusFor(psRun, psOptics, 1) && focusFor(psRun, psOptics, 0);
}

int runIrCut(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psOptics, "irCutFilter");
    if (!pcszValue)
        return 1;
    const uint32_t u32Wanted = PXRMsgStringEqual(pcszValue, "on") ? 1 : 0;
    PXRMsgElementRemoveAttribute(psOptics, "irCutFilter");
    if (!PXRLT_hasFocusToSave(&psRun->sConfig) || u32Wanted == (psRun->u32IrCut != 0))
        return 1;
    LumatrekHandle *psCommand = psRun->psCommand;
    PXRLT_runTrace(psRun, "LumatrekSaveFocus");
    if (!PXRLT_runChecked(psRun, LumatrekSaveFocus(psCommand)))
        return 0;
    uint32_t au32Focus[2] = {0, 0};
    PXRLT_runTrace(psRun, "LumatrekGetFocusValues");
    if (!PXRLT_runChecked(psRun, LumatrekGetFocusValues(psCommand, &au32Focus[0], &au32Focus[1])))
        return 0;
    PXRLT_runTrace(psRun, "LumatrekSetIRCut");
    if (!PXRLT_runChecked(psRun, LumatrekSetIRCut(psCommand, u32Wanted)))
        return 0;
    if (!PXRLT_commandFocusAuto(psCommand)) {
        PXRLT_runTrace(psRun, "LumatrekSetFocus");
        if (!PXRLT_runChecked(psRun, LumatrekSetFocus(psCommand, u32Wanted ? au32Focus[0] : au32Focus[1])))
            return 0;
    }
    opticsChanged(psRun);
    return 1;
}

} // namespace

int PXRLT_runOptics(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, int bEnslaved)
{
    return sendNumber(psRun, psOptics, "zoom", "LumatrekSetZoom", &LumatrekSetZoom) &&
           sendTableValue(psRun, psOptics, "shutter", g_apcszPxrltShutter, PXRLT_SHUTTER_FIRST_CODE,
                          "Invalid shutter value!", "LumatrekSetShutter", &setShutter) &&
           sendNumber(psRun, psOptics, "expComp", "LumatrekSetExpComp", &LumatrekSetExpComp) &&
           sendUnlessEnslaved(psRun, psOptics, bEnslaved, "iris", g_apcszPxrltIris, "Invalid iris value!",
                              "LumatrekSetIris", "Iris ignored : enslavement is enabled", &LumatrekSetIris) &&
           sendUnlessEnslaved(psRun, psOptics, bEnslaved, "gain", g_apcszPxrltGain, "Invalid gain value!",
                              "LumatrekSetGain", "Gain ignored : enslavement is enabled", &LumatrekSetGain) &&
           runFlip(psRun, psOptics) && runAutofocus(psRun, psOptics) &&
           sendBool(psRun, psOptics, "infoDisplay", "LumatrekSetDisplay", &LumatrekSetDisplay) &&
           sendBool(psRun, psOptics, "macro", "LumatrekSetMacroMode", &LumatrekSetMacroMode) &&
           runFocusValues(psRun, psOptics) && runIrCut(psRun, psOptics);
}

} // extern "C"
