/* The bridge's setConfig: the configuration tree of the request written into a legacy sensor
 * with the legacy setters, section by section, stopping at the first failure; what no section
 * used is traced at the end. Sections other than the camera's are here. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "PXRLT_SetConfig.h"

extern "C" {

namespace {

const uint32_t kCommandTimeoutMs = 60000;
const uint32_t kUnicastClients = 4;
const uint32_t kUnicastDefaultPort = 22022;
const uint32_t kUnicastKeptPort = 32023;
const uint32_t kUnicastListMax = 64;
const uint32_t kDataBaseReceived = 0x100000;
const uint32_t kCardClassConfigured = 1;
const uint32_t kCardClassAuto = 3;
const size_t kMacFields = 6;

const PXRLT_Choice kIoModes[] = {{"off", 0}, {"input", 1}, {"output", 2}, {nullptr, 0}};
const PXRLT_Choice kPulseModes[] = {{"rising", 1}, {"falling", 0}, {nullptr, 0}};
const PXRLT_Choice kSlaveModes[] = {{"autoConfigure", 3}, {"configured", 1}, {"disabled", 0}, {nullptr, 0}};
const PXRLT_Choice kSynchro[] = {{"inPhase", 1}, {"outOfPhase", 0}, {nullptr, 0}};

// ---- the run ----

// While it runs, configuration blocks leave the trees alone (see PXRLT_deferTreeRebuild).
void beginRun(PXRLT *psBridge)
{
    SA_LockMutex(psBridge->hConfigMutex);
    psBridge->bSetConfigRunning = 1;
    psBridge->bRebuildOwed = 0;
    SA_UnlockMutex(psBridge->hConfigMutex);
}

// One rebuild for every block that came meanwhile, made as the library runs the configuration
// callback: under the light connection's configuration mutex.
void endRun(PXR *psPxr)
{
    PXRLT *psBridge = psPxr->psBridge;
    SA_LockMutex(psBridge->hConfigMutex);
    const int bOwed = psBridge->bRebuildOwed;
    psBridge->bSetConfigRunning = 0;
    psBridge->bRebuildOwed = 0;
    SA_UnlockMutex(psBridge->hConfigMutex);
    LumatrekHandle *psLight = psBridge->psLightHandle;
    if (!bOwed || !psLight)
        return;
    LT_lock(psLight, LT_MUTEX_CONFIG);
    PXRLT_configCallback(psLight, nullptr, psPxr);
    LT_unlock(psLight, LT_MUTEX_CONFIG);
}

// The light connection's blocks that the sections start from, copied so that its mutex is held
// only for the copy and the stream's dispatch never waits for the sensor's answers.
void readLightBlocks(PXRLT_SetConfigRun *psRun)
{
    LumatrekHandle *psLight = psRun->psLight;
    if (!psLight)
        return;
    LT_lock(psLight, LT_MUTEX_CONFIG);
    psRun->sLateStack = psLight->sLateStack;
    psRun->sDataBase = psLight->sDataBase;
    psRun->bDataBaseReceived = (psLight->au32Received[0] & kDataBaseReceived) != 0;
    psRun->u32IoMode = psLight->sBoard.u32IoMode;
    LT_unlock(psLight, LT_MUTEX_CONFIG);
    LT_lock(psLight, LT_MUTEX_CAMERA_CONFIG);
    psRun->u32IrCut = psLight->sCamera.u32IrCut;
    psRun->u32Focus = psLight->sCamera.u32Focus;
    LT_unlock(psLight, LT_MUTEX_CAMERA_CONFIG);
}

// ---- sections other than the camera ----

int runDevice(PXRLT_SetConfigRun *psRun, PXRMsgElement *psDevice)
{
    char aszName[33];
    if (!psDevice || !PXRLT_takeText(psDevice, "name", aszName, sizeof(aszName)))
        return 1;
    return PXRLT_runChecked(psRun, LumatrekSetUniqueName(psRun->psCommand, aszName));
}

int runLed(PXRLT_SetConfigRun *psRun, PXRMsgElement *psLed)
{
    LumatrekHandle *psCommand = psRun->psCommand;
    uint32_t u32Power = 0;
    if (PXRLT_takeU32(psLed, "power", &u32Power)) {
        PXRLT_runTrace(psRun, "LumatrekSetPower");
        if (!PXRLT_runChecked(psRun, LumatrekSetPower(psCommand, u32Power, u32Power, nullptr, nullptr)))
            return 0;
    }
    int bEco = 0;
    if (PXRLT_takeBool(psLed, "ecoMode", &bEco)) {
        if (!PXRLT_checkPindrel2Level(psRun->psLight))
            return PXRLT_runFail(psRun, "EcoMode is not supported");
        PXRLT_runTrace(psRun, "LumatrekSetEcoMode");
        if (!PXRLT_runChecked(psRun, LumatrekSetEcoMode(psCommand, (uint32_t)bEco)))
            return 0;
    }
    if (!PXRMsgElementAttributeValue(psLed, "bracketing") && !PXRMsgElementAttributeValue(psLed, "powerLowBracketing"))
        return 1;
    if (!PXRLT_checkModelAndBuild(psRun->psLight))
        return PXRLT_runFail(psRun, "Bracketing is not supported");
    uint32_t au32Bracketing[2] = {0, 0};
    if (!PXRLT_runChecked(psRun, LumatrekGetBracketingConfig(psCommand, &au32Bracketing[0], &au32Bracketing[1])))
        return 0;
    int bBracketing = 0;
    if (PXRLT_takeBool(psLed, "bracketing", &bBracketing))
        au32Bracketing[0] = (uint32_t)bBracketing;
    PXRLT_takeU32(psLed, "powerLowBracketing", &au32Bracketing[1]);
    PXRLT_runTrace(psRun, "LumatrekSetBracketingConfig");
    return PXRLT_runChecked(psRun, LumatrekSetBracketingConfig(psCommand, au32Bracketing[0], au32Bracketing[1]));
}

int runProjector(PXRLT_SetConfigRun *psRun, PXRMsgElement *psProjector)
{
    LumatrekLedExternalTriggerConfig sTrigger;
    memset(&sTrigger, 0, sizeof(sTrigger));
    if (!PXRLT_runChecked(psRun, LumatrekGetLedExternalTriggerConfig(psRun->psCommand, &sTrigger)))
        return 0;
    int bValue = 0;
    if (PXRLT_takeBool(psProjector, "enabled", &bValue))
        sTrigger.u32Enabled = (uint32_t)bValue;
    PXRLT_takeU32(psProjector, "delay", &sTrigger.u32Delay);
    PXRLT_takeU32(psProjector, "width", &sTrigger.u32Width);
    if (PXRLT_takeBool(psProjector, "bracketing", &bValue))
        sTrigger.u32Bracketing = (uint32_t)bValue;
    PXRLT_runTrace(psRun, "LumatrekSetLedExternalTriggerConfig");
    return PXRLT_runChecked(psRun, LumatrekSetLedExternalTriggerConfig(psRun->psCommand, &sTrigger));
}

int hasIdZero(PXRMsgElement *psElement)
{
    const char *pcszId = PXRMsgElementAttributeValue(psElement, "id");
    return pcszId && strcmp(pcszId, "0") == 0;
}

int runLightings(PXRLT_SetConfigRun *psRun, PXRMsgElement *psLightings)
{
    if (!psLightings)
        return 1;
    const char *pcszSynchro = PXRMsgElementAttributeValue(psLightings, "shutterSynchronization");
    int32_t i32Synchro = -1;
    if (pcszSynchro)
        for (const PXRLT_Choice *psChoice = kSynchro; psChoice->pcszName; psChoice++)
            if (PXRMsgStringEqual(pcszSynchro, psChoice->pcszName))
                i32Synchro = psChoice->i32Code;
    // Another text stays, to be reported as not used.
    if (i32Synchro >= 0) {
        PXRMsgElementRemoveAttribute(psLightings, "shutterSynchronization");
        PXRLT_runTrace(psRun, "LumatrekSetCameraSynchro");
        if (!PXRLT_runChecked(psRun, LumatrekSetCameraSynchro(psRun->psCommand, (uint32_t)i32Synchro)))
            return 0;
    }
    for (PXRMsgElement *psLed = PXRMsgElementFirstChild(psLightings, "led"); psLed;
         psLed = PXRMsgElementNextChild(psLightings, psLed, "led"))
        if (hasIdZero(psLed) && !runLed(psRun, psLed))
            return 0;
    for (PXRMsgElement *psProjector = PXRMsgElementFirstChild(psLightings, "projector"); psProjector;
         psProjector = PXRMsgElementNextChild(psLightings, psProjector, "projector"))
        if (hasIdZero(psProjector) && !runProjector(psRun, psProjector))
            return 0;
    return 1;
}

int runIo(PXRLT_SetConfigRun *psRun, PXRMsgElement *psIo)
{
    if (!psIo)
        return 1;
    int32_t i32Mode = (int32_t)psRun->u32IoMode;
    if (PXRLT_takeChoice(psIo, "mode", kIoModes, &i32Mode)) {
        PXRLT_runTrace(psRun, "LumatrekSetIoMode");
        if (!PXRLT_runChecked(psRun, LumatrekSetIoMode(psRun->psCommand, (uint32_t)i32Mode)))
            return 0;
    }
    PXRMsgElement *psImpulse = PXRMsgElementFirstChild(psIo, "defaultImpulse");
    if (!psImpulse)
        return 1;
    LumatrekDataBaseConfig sConfig;
    memset(&sConfig, 0, sizeof(sConfig));
    if (!PXRLT_runChecked(psRun, LumatrekGetDataBaseConfig(psRun->psCommand, &sConfig)))
        return 0;
    int32_t i32Pulse = (int32_t)sConfig.u32RisingEdge;
    PXRLT_takeChoice(psImpulse, "pulseMode", kPulseModes, &i32Pulse);
    sConfig.u32RisingEdge = (uint32_t)i32Pulse;
    PXRLT_takeU32(psImpulse, "duration_ms", &sConfig.u32ImpulseDurationMs);
    PXRLT_runTrace(psRun, "LumatrekSetDataBaseConfig");
    return PXRLT_runChecked(psRun, LumatrekSetDataBaseConfig(psRun->psCommand, &sConfig));
}

// Six hexadecimal fields or nothing: a cut address must never reach the sensor.
int parseMac(const char *pcszText, uint8_t au8Mac[6])
{
    unsigned int auFields[kMacFields];
    char cExtra = 0;
    if (sscanf(pcszText, "%x:%x:%x:%x:%x:%x%c", &auFields[0], &auFields[1], &auFields[2], &auFields[3], &auFields[4],
               &auFields[5], &cExtra) != (int)kMacFields)
        return 0;
    for (size_t i = 0; i < kMacFields; i++) {
        if (auFields[i] > 0xFF)
            return 0;
        au8Mac[i] = (uint8_t)auFields[i];
    }
    return 1;
}

int takeMac(PXRLT_SetConfigRun *psRun, PXRMsgElement *psElement, uint8_t au8Mac[6])
{
    char aszMac[64];
    if (!psElement || !PXRLT_takeText(psElement, "macAddress", aszMac, sizeof(aszMac)))
        return 1;
    if (!parseMac(aszMac, au8Mac))
        return PXRLT_runFail(psRun, "Invalid macAddress: six hexadecimal fields expected");
    return 1;
}

int configureSlaves(PXRLT_SetConfigRun *psRun, PXRMsgElement *psSlaves, LumatrekMasterParameters *psParams)
{
    psParams->au32Kept[1] = 0;
    PXRMsgElement *psAnpr = PXRMsgElementFirstChild(psSlaves, "slaveAnpr");
    PXRMsgElement *psContext = PXRMsgElementFirstChild(psSlaves, "slaveContext");
    if (psAnpr) {
        char aszPosition[16];
        int32_t i32Sign = psParams->i32CoveringZone > 0 ? 1 : -1;
        if (PXRLT_takeText(psAnpr, "position", aszPosition, sizeof(aszPosition)))
            i32Sign = PXRMsgStringEqual(aszPosition, "left") ? -1 : 1;
        int64_t i64Zone = psParams->i32CoveringZone;
        PXRLT_takeNumber(psAnpr, "coveringZone", &i64Zone);
        const int64_t i64Width = i64Zone < 0 ? -i64Zone : i64Zone;
        psParams->i32CoveringZone = (int32_t)(i64Width > 0x7FFFFFFF ? 0x7FFFFFFF : i64Width) * i32Sign;
    }
    if (!takeMac(psRun, psAnpr, psParams->au8SlaveAnprMac) || !takeMac(psRun, psContext, psParams->au8SlaveContextMac))
        return 0;
    PXRLT_runTrace(psRun, "LumatrekSetMasterParameters");
    return PXRLT_runChecked(psRun, LumatrekSetMasterParameters(psRun->psCommand, psParams));
}

int runSlaves(PXRLT_SetConfigRun *psRun, PXRMsgElement *psSlaves)
{
    if (!psSlaves)
        return 1;
    LumatrekHandle *psCommand = psRun->psCommand;
    uint32_t u32CardClass = 0;
    if (!PXRLT_runChecked(psRun, LumatrekGetCardClass(psCommand, &u32CardClass)))
        return 0;
    LumatrekMasterParameters sParams;
    memset(&sParams, 0, sizeof(sParams));
    if (u32CardClass == kCardClassConfigured && !PXRLT_runChecked(psRun, LumatrekGetMasterParameters(psCommand, &sParams)))
        return 0;
    int32_t i32Mode = -1;
    if (PXRLT_takeChoice(psSlaves, "mode", kSlaveModes, &i32Mode) && i32Mode >= 0) {
        if (i32Mode == (int32_t)kCardClassAuto && u32CardClass != kCardClassAuto) {
            PXRLT_runTrace(psRun, "LumatrekResetMasterSlaveParameters");
            if (!PXRLT_runChecked(psRun, LumatrekResetMasterSlaveParameters(psCommand)))
                return 0;
        } else if (i32Mode == 0) {
            sParams.au32Kept[1] = 1;
            PXRLT_runTrace(psRun, "LumatrekSetMasterParameters");
            if (!PXRLT_runChecked(psRun, LumatrekSetMasterParameters(psCommand, &sParams)))
                return 0;
        }
        u32CardClass = (uint32_t)i32Mode;
    }
    return u32CardClass == kCardClassConfigured ? configureSlaves(psRun, psSlaves, &sParams) : 1;
}

int sameClient(const LumatrekDiscoverAddress *psFirst, const LumatrekDiscoverAddress *psSecond)
{
    return strncmp(psFirst->aszAddress, psSecond->aszAddress, sizeof(psFirst->aszAddress)) == 0 &&
           psFirst->u32Port == psSecond->u32Port;
}

int listed(const LumatrekDiscoverAddress *psList, uint32_t u32Count, const LumatrekDiscoverAddress *psClient)
{
    for (uint32_t i = 0; i < u32Count; i++)
        if (sameClient(&psList[i], psClient))
            return 1;
    return 0;
}

int runUnicast(PXRLT_SetConfigRun *psRun, PXRMsgElement *psUnicast)
{
    LumatrekDiscoverAddress asRequested[kUnicastClients];
    memset(asRequested, 0, sizeof(asRequested));
    PXRMsgElement *psClient = PXRMsgElementFirstChild(psUnicast, nullptr);
    for (uint32_t i = 0; i < kUnicastClients; i++) {
        asRequested[i].u32Port = kUnicastDefaultPort;
        if (!psClient)
            continue;
        PXRLT_takeText(psClient, "address", asRequested[i].aszAddress, sizeof(asRequested[i].aszAddress));
        PXRLT_takeU32(psClient, "port", &asRequested[i].u32Port);
        psClient = PXRMsgElementNextChild(psUnicast, psClient, nullptr);
    }
    LumatrekDiscoverAddress asSubscribed[kUnicastListMax];
    uint32_t u32Count = kUnicastListMax;
    LumatrekHandle *psCommand = psRun->psCommand;
    if (!PXRLT_runChecked(psRun, LumatrekGetSubscribedUnicastDiscover(psCommand, asSubscribed, &u32Count)))
        return 0;
    if (u32Count > kUnicastListMax)
        u32Count = kUnicastListMax;
    for (uint32_t i = 0; i < u32Count; i++) {
        const LumatrekDiscoverAddress &sOld = asSubscribed[i];
        if (sOld.u32Port == kUnicastKeptPort || listed(asRequested, kUnicastClients, &sOld))
            continue;
        PXRLT_runTrace(psRun, "LumatrekUnsubscribeUnicastDiscover %.16s:%u", sOld.aszAddress, sOld.u32Port);
        if (!PXRLT_runChecked(psRun, LumatrekUnsubscribeUnicastDiscover(psCommand, &sOld)))
            return 0;
    }
    for (const LumatrekDiscoverAddress &sNew : asRequested) {
        if (!sNew.aszAddress[0] || listed(asSubscribed, u32Count, &sNew))
            continue;
        PXRLT_runTrace(psRun, "LumatrekSubscribeUnicastDiscover %s:%u", sNew.aszAddress, sNew.u32Port);
        if (!PXRLT_runChecked(psRun, LumatrekSubscribeUnicastDiscover(psCommand, &sNew)))
            return 0;
    }
    return 1;
}

int runNetwork(PXRLT_SetConfigRun *psRun, PXRMsgElement *psNetwork)
{
    if (!psNetwork)
        return 1;
    PXRMsgElement *psUnicast = PXRMsgElementFirstChild(psNetwork, "unicastDiscover");
    if (psUnicast && !runUnicast(psRun, psUnicast))
        return 0;
    LumatrekIpConfig sIp = psRun->sConfig.sIp;
    PXRMsgElement *psInterface = PXRMsgElementFirstChild(psNetwork, "interface");
    if (psInterface) {
        int bDhcp = 0;
        if (PXRLT_takeBool(psInterface, "dhcp", &bDhcp))
            sIp.u32Dhcp = (uint32_t)bDhcp;
        PXRLT_takeText(psInterface, "ipAddress", sIp.aszAddress, sizeof(sIp.aszAddress));
        PXRLT_takeText(psInterface, "ipMask", sIp.aszMask, sizeof(sIp.aszMask));
        PXRLT_takeText(psInterface, "ipGateway", sIp.aszGateway, sizeof(sIp.aszGateway));
    }
    PXRMsgElement *psDns = PXRMsgElementFirstChild(psNetwork, "dns");
    if (psDns)
        PXRLT_takeText(psDns, "dns0", sIp.aszDns, sizeof(sIp.aszDns));
    PXRMsgElement *psKgv = PXRMsgElementFirstChild(psNetwork, "kgv");
    if (psKgv) {
        PXRLT_takeU32(psKgv, "port", &sIp.u32StreamPort);
        PXRLT_takeU32(psKgv, "commandPort", &sIp.u32CommandPort);
        PXRLT_takeU32(psKgv, "timePort", &sIp.u32TimePort);
        PXRLT_takeU32(psKgv, "timeout_ms", &sIp.u32TimeoutMs);
    }
    PXRLT_runTrace(psRun, "LumatrekSetIPConfigV3");
    return PXRLT_runChecked(psRun, LumatrekSetIPConfigV3(psRun->psCommand, sIp.aszAddress, sIp.aszMask, sIp.aszGateway,
                                                         sIp.aszDns, sIp.u32TimeoutMs, sIp.u32CommandPort,
                                                         sIp.u32StreamPort, sIp.u32TimePort, sIp.u32Dhcp));
}

PXRMsgElement *firstCamera(PXRMsgElement *psConfig)
{
    PXRMsgElement *psCameras = PXRMsgElementFirstChild(psConfig, "cameras");
    return psCameras ? PXRMsgElementFirstChild(psCameras, "camera") : nullptr;
}

int runSections(PXRLT_SetConfigRun *psRun, PXRMsgElement *psConfig)
{
    PXRMsgElement *psCamera = firstCamera(psConfig);
    PXRMsgElement *psDatabase = PXRMsgElementFirstChild(psConfig, "database");
    return runDevice(psRun, PXRMsgElementFirstChild(psConfig, "device")) &&
           (!psCamera || PXRLT_runCamera(psRun, psCamera)) && (!psDatabase || PXRLT_runDatabase(psRun, psDatabase)) &&
           runLightings(psRun, PXRMsgElementFirstChild(psConfig, "lightings")) &&
           runIo(psRun, PXRMsgElementFirstChild(psConfig, "io")) &&
           runSlaves(psRun, PXRMsgElementFirstChild(psConfig, "slaves")) &&
           runNetwork(psRun, PXRMsgElementFirstChild(psConfig, "network"));
}

// The settings every section starts from; 0 with the answer set.
int readSettings(PXRLT_SetConfigRun *psRun)
{
    LumatrekSetCommandMode(psRun->psCommand, kCommandTimeoutMs);
    if (LumatrekGetConfig(psRun->psCommand, &psRun->sConfig) != 0)
        return PXRLT_runFail(psRun, "LumatrekGetConfig failed");
    if (LumatrekGetBoardConfig(psRun->psCommand, &psRun->sBoard) != 0)
        return PXRLT_runFail(psRun, "LumatrekGetBoardConfig failed");
    const char *pcszContext = psRun->sConfig.uBody.sAnpr.aszContext;
    const size_t szContext = strnlen(pcszContext, sizeof(psRun->sConfig.uBody.sAnpr.aszContext));
    memcpy(psRun->aszContext, pcszContext, szContext);
    psRun->aszContext[szContext] = '\0';
    readLightBlocks(psRun);
    return 1;
}

} // namespace

const PXRLT_Choice g_asPxrltDirections[] = {{"both", 3}, {"rear", 2}, {"front", 1}, {nullptr, 0}};

void PXRLT_runTrace(PXRLT_SetConfigRun *psRun, const char *pcszFormat, ...)
{
    char aszText[512];
    va_list args;
    va_start(args, pcszFormat);
    vsnprintf(aszText, sizeof(aszText), pcszFormat, args);
    va_end(args);
    PXR_trace(psRun->psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "%s", aszText);
}

int PXRLT_runChecked(PXRLT_SetConfigRun *psRun, int32_t i32Result)
{
    if (i32Result == 0)
        return 1;
    PXRLT_setErrorAnswerWhere(psRun->psCommand, psRun->psAnswer);
    return 0;
}

int PXRLT_runFail(PXRLT_SetConfigRun *psRun, const char *pcszText)
{
    PXRLT_setAnswer(psRun->psAnswer, 0, pcszText);
    return 0;
}

int PXRLT_takeNumber(PXRMsgElement *psElement, const char *pcszName, int64_t *pi64Value)
{
    if (!PXRMsgElementAttributeValue(psElement, pcszName))
        return 0;
    *pi64Value = PXRLT_attributeNumber(psElement, pcszName);
    PXRMsgElementRemoveAttribute(psElement, pcszName);
    return 1;
}

int PXRLT_takeU32(PXRMsgElement *psElement, const char *pcszName, uint32_t *pu32Value)
{
    int64_t i64Value = 0;
    if (!PXRLT_takeNumber(psElement, pcszName, &i64Value))
        return 0;
    *pu32Value = (uint32_t)i64Value;
    return 1;
}

int PXRLT_takeBool(PXRMsgElement *psElement, const char *pcszName, int *pbValue)
{
    if (!PXRMsgElementAttributeValue(psElement, pcszName))
        return 0;
    *pbValue = PXRLT_attributeBool(psElement, pcszName);
    PXRMsgElementRemoveAttribute(psElement, pcszName);
    return 1;
}

int PXRLT_takeText(PXRMsgElement *psElement, const char *pcszName, char *pszText, size_t szSize)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psElement, pcszName);
    if (!pcszValue)
        return 0;
    snprintf(pszText, szSize, "%s", pcszValue);
    PXRMsgElementRemoveAttribute(psElement, pcszName);
    return 1;
}

int PXRLT_takeChoice(PXRMsgElement *psElement, const char *pcszName, const PXRLT_Choice *psTable, int32_t *pi32Code)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psElement, pcszName);
    if (!pcszValue)
        return 0;
    for (const PXRLT_Choice *psChoice = psTable; psChoice->pcszName; psChoice++)
        if (PXRMsgStringEqual(pcszValue, psChoice->pcszName)) {
            *pi32Code = psChoice->i32Code;
            break;
        }
    PXRMsgElementRemoveAttribute(psElement, pcszName);
    return 1;
}

int PXRLT_runDatabase(PXRLT_SetConfigRun *psRun, PXRMsgElement *psDatabase)
{
    if (!psRun->bDataBaseReceived)
        return PXRLT_runFail(psRun, "databaseConfig has not been received");
    LumatrekDataBaseConfig sConfig = psRun->sDataBase;
    int bEnabled = 0;
    int bOpen = 0;
    const int bHasOpen = PXRLT_takeBool(psDatabase, "openForAll", &bOpen);
    if (PXRLT_takeBool(psDatabase, "enabled", &bEnabled))
        sConfig.u32Mode = !bEnabled ? 0 : bOpen ? 2 : 1;
    else if (bHasOpen && bOpen)
        sConfig.u32Mode = 2;
    uint32_t u32Tolerance = 0;
    if (PXRLT_takeU32(psDatabase, "matchTolerance", &u32Tolerance))
        sConfig.u8MatchTolerance = (uint8_t)u32Tolerance;
    return PXRLT_runChecked(psRun, LumatrekSetDataBaseConfig(psRun->psCommand, &sConfig));
}

uint32_t PXRLT_commandFocusAuto(LumatrekHandle *psCommand)
{
    LT_lock(psCommand, LT_MUTEX_CONFIG);
    const uint32_t u32Value = psCommand->sActivation.u32AutomaticFocus;
    LT_unlock(psCommand, LT_MUTEX_CONFIG);
    return u32Value;
}

uint32_t PXRLT_commandShutterPriority(LumatrekHandle *psCommand)
{
    LT_lock(psCommand, LT_MUTEX_CAMERA_CONFIG);
    const uint32_t u32Value = psCommand->sCamera.u32ManualMode;
    LT_unlock(psCommand, LT_MUTEX_CAMERA_CONFIG);
    return u32Value;
}

void PXRLT_reportUnusedAttributes(PXR *psPxr, PXRMsgElement *psElement, const char *pcszParentPath, int *pbFirst)
{
    char aszPath[512];
    snprintf(aszPath, sizeof(aszPath), "%s/%s", pcszParentPath, PXRMsgElementName(psElement));
    char aszList[512];
    size_t szUsed = 0;
    aszList[0] = '\0';
    const uint32_t u32Count = PXRMsgElementAttributeCount(psElement);
    for (uint32_t i = 0; i < u32Count; i++) {
        const char *pcszName = PXRMsgElementAttributeName(psElement, i);
        if (strcmp(pcszName, "id") == 0 || szUsed >= sizeof(aszList) - 1)
            continue;
        const int iWritten = snprintf(aszList + szUsed, sizeof(aszList) - szUsed, "%s ", pcszName);
        szUsed = iWritten < 0 ? szUsed : szUsed + (size_t)iWritten;
    }
    if (aszList[0]) {
        if (*pbFirst)
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "Not used attributes from setConfig message:");
        *pbFirst = 0;
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "%s : %s", aszPath, aszList);
    }
    for (PXRMsgElement *psChild = PXRMsgElementFirstChild(psElement, nullptr); psChild;
         psChild = PXRMsgElementNextChild(psElement, psChild, nullptr))
        PXRLT_reportUnusedAttributes(psPxr, psChild, aszPath, pbFirst);
}

int PXRLT_deferTreeRebuild(PXR *psPxr)
{
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psBridge)
        return 0;
    SA_LockMutex(psBridge->hConfigMutex);
    const int bRunning = psBridge->bSetConfigRunning;
    if (bRunning)
        psBridge->bRebuildOwed = 1;
    SA_UnlockMutex(psBridge->hConfigMutex);
    return bRunning;
}

int PXRLT_sendMessage_setConfig(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "setConfig");
    PXRMsgElement *psSource = PXRMsgElementFirstChild(PXRMsgChild(psRequest), "config");
    if (!psSource) {
        PXRLT_setAnswer(psAnswer, 0, "Invalid message");
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "setConfig failed");
        return 0;
    }
    PXRMsgElement *psConfig = PXRMsgElementCopy(psSource);
    if (!psConfig)
        return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
    PXRLT_SetConfigRun *psRun = static_cast<PXRLT_SetConfigRun *>(calloc(1, sizeof(PXRLT_SetConfigRun)));
    if (!psRun) {
        PXRMsgElementDestroy(psConfig);
        return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
    }
    psRun->psPxr = psPxr;
    psRun->psCommand = psPxr->psBridge->psCommandHandle;
    psRun->psLight = psPxr->psBridge->psLightHandle;
    psRun->psAnswer = psAnswer;
    beginRun(psPxr->psBridge);
    const int bDone = readSettings(psRun) && runSections(psRun, psConfig);
    if (bDone) {
        int bFirst = 1;
        PXRLT_reportUnusedAttributes(psPxr, psConfig, "", &bFirst);
        PXRLT_setAnswer(psAnswer, 1, nullptr);
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "setConfig succesful");
    } else {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "setConfig failed");
    }
    endRun(psPxr);
    free(psRun);
    PXRMsgElementDestroy(psConfig);
    return bDone;
}

} // extern "C"
