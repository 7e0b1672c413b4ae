/* The other cached blocks into their records, field by field at their wire offsets, the
 * unicast discover subscriptions of a handle, and the kept-text helper. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

const uint32_t kTextSize = 16;
const uint32_t kMacSize = 6;

uint32_t word(const uint8_t *pu8Wire, size_t szIndex)
{
    return LT_getU32(pu8Wire, 4 * szIndex);
}

template <typename Record>
int usable(const Record *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize, uint32_t u32Needed)
{
    return psRecord && pu8Wire && u32WireSize >= u32Needed;
}

template <typename Record>
void clear(Record *psRecord)
{
    memset(psRecord, 0, sizeof(*psRecord));
}

} // namespace

extern "C" {

int ConvertOcrSettings(LumatrekOcrSettings *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_OCR))
        return 0;
    psRecord->u32MaxPlateHeight = word(pu8Wire, 0);
    psRecord->u32MaxPlateWidth = word(pu8Wire, 1);
    psRecord->u32MinPlateHeight = word(pu8Wire, 2);
    psRecord->u32MinPlateWidth = word(pu8Wire, 3);
    psRecord->u32ZoomPlateWidth = word(pu8Wire, 4);
    psRecord->u32MinReliabilityForCharacters = word(pu8Wire, 5);
    psRecord->u32MinReliability = word(pu8Wire, 6);
    psRecord->u32MinCharWidthStatic = word(pu8Wire, 7);
    psRecord->u32MinPlateWidthStatic8Char = word(pu8Wire, 8);
    psRecord->u32MinRecognitionStatic = word(pu8Wire, 9);
    psRecord->u32MinRecognition = word(pu8Wire, 10);
    psRecord->u32MaxNoPlateBeforeDecision = word(pu8Wire, 11);
    return 1;
}

int ConvertMeasures(LumatrekMeasures *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_MEASURES))
        return 0;
    clear(psRecord);
    for (size_t i = 0; i < 4; i++)
        psRecord->au16Kept[i] = LT_getU16(pu8Wire, 2 * i);
    psRecord->i16Temperature = static_cast<int16_t>(LT_getU16(pu8Wire, 8));
    return 1;
}

int ConvertLateStackConfig(LumatrekLateStackConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_LATE_STACK))
        return 0;
    psRecord->u32Enabled = word(pu8Wire, 0);
    psRecord->u32Size = pu8Wire[4];
    psRecord->u32JpegCompression = pu8Wire[5];
    return 1;
}

int ConvertDataBaseConfig(LumatrekDataBaseConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_DATABASE))
        return 0;
    clear(psRecord);
    psRecord->u32Mode = word(pu8Wire, 0);
    psRecord->u32RisingEdge = word(pu8Wire, 1);
    psRecord->u32ImpulseDurationMs = word(pu8Wire, 2);
    psRecord->u8MatchTolerance = pu8Wire[12];
    return 1;
}

int ConvertSpeedParams(LumatrekHandle *psHandle, LumatrekSpeedParams *psRecord, const uint8_t *pu8Wire,
                       uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_SPEED))
        return 0;
    const int bPlaced = LT_protocolAtLeast(psHandle, 4, 11);
    psRecord->u32FieldOfViewCm = LT_getU16(pu8Wire, 0);
    psRecord->i32HeightCm = bPlaced ? static_cast<int32_t>(word(pu8Wire, 1)) : -1;
    psRecord->i32AngleTenthDegree = bPlaced ? static_cast<int32_t>(word(pu8Wire, 2)) : -1;
    return 1;
}

int ConvertKeptTypeRecord(LumatrekKeptTypeRecord *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_KEPT_TYPE))
        return 0;
    psRecord->i32SensorType = SensorTypeFromCode(word(pu8Wire, 0));
    for (size_t i = 0; i < 6; i++)
        psRecord->au32Kept[i] = word(pu8Wire, i + 1);
    return 1;
}

int ConvertAreaOfInterest(LumatrekAreaOfInterest *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_AREA))
        return 0;
    psRecord->u32X = word(pu8Wire, 0);
    psRecord->u32Y = word(pu8Wire, 1);
    psRecord->u32Width = word(pu8Wire, 2);
    psRecord->u32Height = word(pu8Wire, 3);
    psRecord->u32Excluding = word(pu8Wire, 4);
    return 1;
}

int ConvertLedRecord(LumatrekLedRecord *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_LED))
        return 0;
    for (size_t i = 0; i < 4; i++)
        psRecord->au32Kept[i] = word(pu8Wire, i);
    psRecord->u32Kept6 = word(pu8Wire, 4);
    psRecord->u32Kept7 = word(pu8Wire, 5);
    if (psRecord->u32Kept7 == 0)
        psRecord->u32CurrentLimit = 0;
    else
        psRecord->u32CurrentLimit = psRecord->u32Kept6 != 0 ? 2000 : 4000;
    return 1;
}

int ConvertKeptShorts(LumatrekKeptShorts *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_KEPT_SHORTS))
        return 0;
    for (size_t i = 0; i < 3; i++)
        psRecord->au16Kept[i] = LT_getU16(pu8Wire, 2 * i);
    return 1;
}

int ConvertMasterAddresses(LumatrekMasterAddresses *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_MASTER_ADDRESSES))
        return 0;
    clear(psRecord);
    LT_copyText(psRecord->aszAddress1, sizeof(psRecord->aszAddress1), pu8Wire, kTextSize);
    LT_copyText(psRecord->aszAddress2, sizeof(psRecord->aszAddress2), pu8Wire + 28, kTextSize);
    for (size_t i = 0; i < 3; i++) {
        psRecord->au32Kept1[i] = LT_getU32(pu8Wire, 16 + 4 * i);
        psRecord->au32Kept2[i] = LT_getU32(pu8Wire, 44 + 4 * i);
    }
    return 1;
}

int ConvertKeptWords(LumatrekKeptWords *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_KEPT_WORDS))
        return 0;
    clear(psRecord);
    for (size_t i = 0; i < 3; i++)
        psRecord->au32Kept[i] = word(pu8Wire, i);
    return 1;
}

int ConvertActivationConfig(LumatrekActivationConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_ACTIVATION))
        return 0;
    psRecord->u32SpeedMeasure = pu8Wire[0] != 0;
    psRecord->u32AreaOfInterest = pu8Wire[1] != 0;
    psRecord->u32DuplicateFilter = pu8Wire[2] != 0;
    psRecord->u32AutomaticFocus = pu8Wire[3] != 0;
    psRecord->u32KeptSwitch = pu8Wire[4] != 0;
    return 1;
}

int ConvertMasterParameters(LumatrekMasterParameters *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_MASTER_PARAMETERS))
        return 0;
    clear(psRecord);
    psRecord->au32Kept[0] = word(pu8Wire, 0);
    psRecord->au32Kept[1] = word(pu8Wire, 1);
    psRecord->i32CoveringZone = static_cast<int32_t>(word(pu8Wire, 2));
    memcpy(psRecord->au8SlaveAnprMac, pu8Wire + 12, kMacSize);
    memcpy(psRecord->au8SlaveContextMac, pu8Wire + 18, kMacSize);
    psRecord->u32Kept = pu8Wire[24];
    return 1;
}

int ConvertSlaveParameters(LumatrekSlaveParameters *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_SLAVE_PARAMETERS))
        return 0;
    for (size_t i = 0; i < 3; i++)
        psRecord->au32Kept[i] = word(pu8Wire, i);
    return 1;
}

int ConvertKeptWord(uint32_t *pu32Record, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(pu32Record, pu8Wire, u32WireSize, LT_WIRE_KEPT_WORD))
        return 0;
    *pu32Record = word(pu8Wire, 0);
    return 1;
}

int ConvertRemoteEnslaveParams(LumatrekRemoteEnslaveParams *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_REMOTE_ENSLAVE))
        return 0;
    psRecord->u32ElectionWaitS = word(pu8Wire, 0);
    psRecord->u32MaxUndecidedS = word(pu8Wire, 1);
    psRecord->u32SwitchType = word(pu8Wire, 2);
    psRecord->u32PlateHysteresis = word(pu8Wire, 3);
    psRecord->u16MaxGain = LT_getU16(pu8Wire, 16);
    return 1;
}

int ConvertSignaturePictureSize(LumatrekSignaturePictureSize *psRecord, const uint8_t *pu8Wire,
                                uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_SIGNATURE_PICTURE))
        return 0;
    psRecord->u32Width = word(pu8Wire, 0);
    psRecord->u32Height = word(pu8Wire, 1);
    memcpy(psRecord->au8Kept, pu8Wire + 8, sizeof(psRecord->au8Kept));
    return 1;
}

int ConvertLedExternalTriggerConfig(LumatrekLedExternalTriggerConfig *psRecord, const uint8_t *pu8Wire,
                                    uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_LED_TRIGGER))
        return 0;
    psRecord->u32ProjectorPresent = word(pu8Wire, 4);
    psRecord->u32Enabled = word(pu8Wire, 0);
    psRecord->u32Bracketing = word(pu8Wire, 1);
    psRecord->u32Delay = word(pu8Wire, 2);
    psRecord->u32Width = word(pu8Wire, 3);
    return 1;
}

int ConvertSensorDescription(LumatrekHandle *psHandle, LumatrekSensorDescription *psRecord, const uint8_t *pu8Wire,
                             uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_DESCRIPTION))
        return 0;
    clear(psRecord);
    LumatrekSensorDescription &r = *psRecord;
    r.i32SensorType = SensorTypeFromCode(LT_getU32(pu8Wire, 8));
    memcpy(r.au8Mac, pu8Wire + 2, kMacSize);
    if (psHandle) {
        LT_lock(psHandle, LT_MUTEX_PORT);
        const char *pcszHost = psHandle->pszHost ? psHandle->pszHost : "";
        LT_copyText(r.aszAddress, sizeof(r.aszAddress), reinterpret_cast<const uint8_t *>(pcszHost),
                    uint32_t(strlen(pcszHost)));
        LT_unlock(psHandle, LT_MUTEX_PORT);
    }
    r.u32Valid = 1;
    r.u32Fixed = 1;
    r.u32Fixed2 = 1;
    for (size_t i = 0; i < 3; i++) {
        r.au16Version[i] = LT_getU16(pu8Wire, 12 + 2 * i);
        r.au32Words20[i] = LT_getU32(pu8Wire, 20 + 4 * i);
        r.au16Shorts364[i] = LT_getU16(pu8Wire, 364 + 2 * i);
    }
    r.u32Word18 = LT_getU16(pu8Wire, 18);
    r.u32Status = LT_getU32(pu8Wire, 84);
    LT_copyText(r.aszName, sizeof(r.aszName), pu8Wire + 44, 32);
    r.u32Word76 = LT_getU32(pu8Wire, 76);
    r.i32Word80 = static_cast<int16_t>(LT_getU16(pu8Wire, 80));
    r.u16Word82 = LT_getU16(pu8Wire, 82);
    r.u32Word88 = LT_getU32(pu8Wire, 88);
    LT_copyText(r.aszText92, sizeof(r.aszText92), pu8Wire + 92, 16);
    memcpy(r.au8Block108, pu8Wire + 108, sizeof(r.au8Block108));
    r.au32Bytes370[0] = pu8Wire[370];
    r.au32Bytes370[1] = pu8Wire[371];
    r.au32Words372[0] = LT_getU32(pu8Wire, 372);
    r.au32Words372[1] = LT_getU32(pu8Wire, 376);
    LT_copyText(r.aszText380, sizeof(r.aszText380), pu8Wire + 380, 436 - 380); // the fields at 436 follow
    r.u32Word460 = LT_getU32(pu8Wire, 460);
    r.u32Word464 = LT_getU16(pu8Wire, 464);
    r.au16Shorts450[0] = LT_getU16(pu8Wire, 450);
    r.au16Shorts450[1] = LT_getU16(pu8Wire, 452);
    r.u32Word468 = LT_getU32(pu8Wire, 468);
    r.u32Word472 = LT_getU32(pu8Wire, 472);
    memcpy(r.au8Mac436, pu8Wire + 436, kMacSize);
    memcpy(r.au8Mac446, pu8Wire + 446, kMacSize);
    r.u32Byte466 = pu8Wire[466];
    r.au32Words476[0] = LT_getU32(pu8Wire, 476);
    r.au32Words476[1] = LT_getU32(pu8Wire, 480);
    return 1;
}

int ConvertRecorderConfig(LumatrekConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!usable(psRecord, pu8Wire, u32WireSize, LT_WIRE_RECORDER_CONFIG))
        return 0;
    LumatrekIpConfig sSaved = psRecord->sIp;
    clear(psRecord);
    psRecord->sIp = sSaved;
    psRecord->u32SensorType = LUMATREK_SENSOR_RECORDER;
    LumatrekRecorderConfig &sRecorder = psRecord->uBody.sRecorder;
    memcpy(sRecorder.au8Block, pu8Wire, sizeof(sRecorder.au8Block));
    sRecorder.u32StreamPort = LT_getU32(pu8Wire, sizeof(sRecorder.au8Block));
    return 1;
}

void SaveString(char **ppszKept, const char *pcszNew)
{
    if (!ppszKept)
        return;
    SA_Free(ppszKept);
    if (pcszNew)
        *ppszKept = SU_Strdup(pcszNew);
}

int LumatrekUpdateUnicastDiscoverAddresses(LumatrekHandle *psHandle, const uint8_t *pu8Wire, uint32_t u32Count,
                                           uint32_t u32WireSize, LumatrekErrorInfo *psError)
{
    if (!psHandle || (u32Count > 0 && !pu8Wire) ||
        static_cast<uint64_t>(u32Count) * LT_WIRE_UNICAST_ENTRY > u32WireSize) {
        LT_setError(psError, LUMATREK_ERROR_INVALID_ARGUMENT, LT_TEXT_INVALID_ARGUMENT, 0);
        return 0;
    }
    if (psHandle->psDiscover && psHandle->u32DiscoverCount != u32Count)
        SA_Free(&psHandle->psDiscover);
    if (!psHandle->psDiscover && u32Count > 0) {
        psHandle->psDiscover = static_cast<LumatrekDiscoverAddress *>(
            SA_Calloc(u32Count, static_cast<uint32_t>(sizeof(LumatrekDiscoverAddress))));
        if (!psHandle->psDiscover) {
            psHandle->u32DiscoverCount = 0;
            LT_setError(psError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY, 1);
            return 0;
        }
    }
    psHandle->u32DiscoverCount = u32Count;
    for (uint32_t i = 0; i < u32Count; i++) {
        const uint8_t *pu8Entry = pu8Wire + static_cast<size_t>(i) * LT_WIRE_UNICAST_ENTRY;
        LumatrekDiscoverAddress &sEntry = psHandle->psDiscover[i];
        LT_copyText(sEntry.aszAddress, sizeof(sEntry.aszAddress), pu8Entry, kTextSize);
        sEntry.u32Port = LT_getU16(pu8Entry, 16);
    }
    return 1;
}

} // extern "C"
