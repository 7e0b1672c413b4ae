/* The legacy family's discovery datagrams (sensors 0xEEEE and 0xEEEF, acquisition cards
 * 0xEEFF), read field by field into the sensor's discover message. */
#include "PXR_Internal.h"

#include <cstdio>
#include <cstring>

namespace {

const uint16_t kKindSensor = 0xEEEE;
const uint16_t kKindSensorVersion = 0xEEEF;
const uint16_t kKindCard = 0xEEFF;

// Each kind's fixed layout; a shorter datagram lacks fields and is dropped.
const uint32_t kSensorSize = 12;
const uint32_t kSensorVersionSize = 32;
const uint32_t kCardSize = 445;

const uint16_t kSensorKeyPort = 11011;

// Card layout: texts are bounded by the next field.
const uint32_t kCardNameAt = 4;
const uint32_t kCardModelAt = 48;
const uint32_t kCardLockingClientAt = 52;
const uint32_t kCardSlaveAnprMacAt = 404;
const uint32_t kCardSlaveContextMacAt = 414;
const uint32_t kCardClassAt = 426;
const uint32_t kCardSecondaryAt = 427;
const uint32_t kCardSpeedAt = 444;
const uint32_t kLongestText = kCardSlaveAnprMacAt - kCardLockingClientAt;
static_assert(kCardModelAt - kCardNameAt <= kLongestText);

const char kEnabledAlgorithms[] = "enabledAlgorithms";

struct CodeName {
    uint32_t u32Code;
    const char *pcszName;
};

const CodeName kAlgorithms[] = {
    {0x1111, "streaming"}, {0x2222, "anpr"},           {0x2223, "dgpr"},
    {0x2224, "signature"}, {0x2225, "classification"}, {0x6666, "anprBDXSimu"},
};

const CodeName kCardClasses[] = {{0, "inhibited"}, {1, "master"}, {2, "slave"}, {3, "unconfigured"}};

const CodeName kEquipments[] = {
    {1, "Lumatek2"}, {2, "Lumatek"}, {3, "Pindrel"}, {4, "Lumatek3 (primary)"}, {5, "Pindrel2"}, {6, "Sabrel"},
};

template <size_t N>
const char *nameOf(const CodeName (&table)[N], uint32_t u32Code)
{
    for (const CodeName &sEntry : table)
        if (sEntry.u32Code == u32Code)
            return sEntry.pcszName;
    return nullptr;
}

uint16_t read16(const uint8_t *pu8At)
{
    return static_cast<uint16_t>(pu8At[0] | (pu8At[1] << 8));
}

uint32_t read32(const uint8_t *pu8At)
{
    return static_cast<uint32_t>(pu8At[0]) | (static_cast<uint32_t>(pu8At[1]) << 8) |
           (static_cast<uint32_t>(pu8At[2]) << 16) | (static_cast<uint32_t>(pu8At[3]) << 24);
}

uint32_t minimumSize(uint16_t u16Kind)
{
    return u16Kind == kKindSensor ? kSensorSize : u16Kind == kKindSensorVersion ? kSensorVersionSize : kCardSize;
}

uint16_t keyPort(const uint8_t *pu8Data, uint16_t u16Kind)
{
    if (u16Kind == kKindSensorVersion)
        return static_cast<uint16_t>(read32(pu8Data + 20));
    return u16Kind == kKindCard ? read16(pu8Data + 2) : kSensorKeyPort;
}

void setMac(PXRMsgElement *psElement, const char *pcszName, const uint8_t *pu8Mac)
{
    char aszMac[18];
    snprintf(aszMac, sizeof(aszMac), "%02x:%02x:%02x:%02x:%02x:%02x", pu8Mac[0], pu8Mac[1], pu8Mac[2], pu8Mac[3],
             pu8Mac[4], pu8Mac[5]);
    PXRMsgElementSetAttribute(psElement, pcszName, aszMac);
}

// A text field: up to its first zero byte, never past the field's end.
void setText(PXRMsgElement *psElement, const char *pcszName, const uint8_t *pu8Field, uint32_t u32FieldSize)
{
    char aszText[kLongestText + 1];
    if (u32FieldSize > kLongestText)
        u32FieldSize = kLongestText;
    const void *pEnd = memchr(pu8Field, 0, u32FieldSize);
    size_t szLength = pEnd ? static_cast<size_t>(static_cast<const uint8_t *>(pEnd) - pu8Field) : u32FieldSize;
    memcpy(aszText, pu8Field, szLength);
    aszText[szLength] = '\0';
    PXRMsgElementSetAttribute(psElement, pcszName, aszText);
}

PXRMsgElement *findOrAddChild(PXRMsgElement *psParent, const char *pcszName)
{
    PXRMsgElement *psChild = PXRMsgElementFirstChild(psParent, pcszName);
    if (psChild)
        return psChild;
    psChild = PXRMsgElementCreate(pcszName);
    if (psChild && !PXRMsgElementAddChild(psParent, psChild)) {
        PXRMsgElementDestroy(psChild);
        return nullptr;
    }
    return psChild;
}

void addChild(PXRMsgElement *psParent, const char *pcszName)
{
    PXRMsgElement *psChild = PXRMsgElementCreate(pcszName);
    if (psChild && !PXRMsgElementAddChild(psParent, psChild))
        PXRMsgElementDestroy(psChild);
}

void setUInt(PXRMsgElement *psElement, const char *pcszName, uint32_t u32Value)
{
    PXRMsgElementSetAttributeUInt(psElement, pcszName, u32Value);
}

// Firmware 7.6 and later take triggers on their ANPR sensors.
void addTriggerWhenKnown(PXRMsgElement *psRoot, const uint8_t *pu8Data)
{
    uint16_t u16Major = read16(pu8Data + 12), u16Minor = read16(pu8Data + 14);
    PXRMsgElement *psAlgorithms = PXRMsgElementFirstChild(psRoot, kEnabledAlgorithms);
    if ((u16Major > 7 || (u16Major == 7 && u16Minor >= 6)) && PXRMsgElementFirstChild(psAlgorithms, "anpr"))
        addChild(psAlgorithms, "trigger");
}

void fillSensorVersion(PXRMsgElement *psRoot, const uint8_t *pu8Data)
{
    addTriggerWhenKnown(psRoot, pu8Data);
    char aszVersion[24];
    snprintf(aszVersion, sizeof(aszVersion), "%u.%u.%u", static_cast<unsigned>(read16(pu8Data + 12)),
             static_cast<unsigned>(read16(pu8Data + 14)), static_cast<unsigned>(read16(pu8Data + 16)));
    PXRMsgElementSetAttribute(psRoot, "version", aszVersion);
    setUInt(psRoot, "locked", read16(pu8Data + 18));
    setUInt(psRoot, "port", read32(pu8Data + 24));
    setUInt(psRoot, "commandPort", read32(pu8Data + 20));
    setUInt(psRoot, "timePort", read32(pu8Data + 28));
}

} // namespace

extern "C" {

void PXRDiscover_fillKGVSensor(PXRMsgElement *psRoot, const uint8_t *pu8Data, uint16_t u16Kind)
{
    PXRMsgElement *psAlgorithms = findOrAddChild(psRoot, kEnabledAlgorithms);
    while (PXRMsgElement *psChild = PXRMsgElementFirstChild(psAlgorithms, nullptr))
        PXRMsgElementDestroy(psChild);
    if (const char *pcszAlgorithm = nameOf(kAlgorithms, read32(pu8Data + 8)))
        addChild(psAlgorithms, pcszAlgorithm);
    setMac(psRoot, "macAddress", pu8Data + 2);
    PXRMsgElementSetAttribute(psRoot, "equipment", "KGV sensor");
    setUInt(psRoot, "port", kSensorKeyPort);
    if (u16Kind == kKindSensorVersion)
        fillSensorVersion(psRoot, pu8Data);
}

void PXRDiscover_fillLumatrekCard(PXRMsgElement *psRoot, const uint8_t *pu8Data)
{
    setText(psRoot, "name", pu8Data + kCardNameAt, kCardModelAt - kCardNameAt);
    setText(psRoot, "lockingClientIP", pu8Data + kCardLockingClientAt, kCardSlaveAnprMacAt - kCardLockingClientAt);
    if (const char *pcszClass = nameOf(kCardClasses, pu8Data[kCardClassAt]))
        PXRMsgElementSetAttribute(psRoot, "cardClass", pcszClass);
    setMac(psRoot, "slaveANPRMacAddress", pu8Data + kCardSlaveAnprMacAt);
    setMac(psRoot, "slaveContextMacAddress", pu8Data + kCardSlaveContextMacAt);
    if (const char *pcszEquipment = nameOf(kEquipments, (read32(pu8Data + kCardModelAt) & 0x3F000000u) >> 24))
        PXRMsgElementSetAttribute(psRoot, "equipment", pcszEquipment);
    if (pu8Data[kCardSecondaryAt])
        PXRMsgElementSetAttribute(psRoot, "equipment", "Lumatek3 (secondary)");
    PXRMsgElement *psAlgorithms = findOrAddChild(psRoot, kEnabledAlgorithms);
    PXRMsgElement *psSpeed = PXRMsgElementFirstChild(psAlgorithms, "speed");
    if (psSpeed && !pu8Data[kCardSpeedAt])
        PXRMsgElementDestroy(psSpeed);
    else if (!psSpeed && pu8Data[kCardSpeedAt])
        addChild(psAlgorithms, "speed");
}

int PXRDiscover_parseKGVDatagram(PXRDiscover *psDiscover, const uint8_t *pu8Data, uint32_t u32Size,
                                 const char *pcszSender)
{
    if (u32Size < 2)
        return 0;
    uint16_t u16Kind = read16(pu8Data);
    if (u16Kind != kKindSensor && u16Kind != kKindSensorVersion && u16Kind != kKindCard)
        return 0;
    if (u32Size < minimumSize(u16Kind)) {
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING,
                  "Datagram from %s dropped : KGV datagram 0x%04X of %u bytes, %u expected", pcszSender,
                  static_cast<unsigned>(u16Kind), u32Size, minimumSize(u16Kind));
        return 1;
    }
    char aszKey[PXR_DISCOVER_KEY_SIZE];
    snprintf(aszKey, sizeof(aszKey), "%s:%u", pcszSender, static_cast<unsigned>(keyPort(pu8Data, u16Kind)));
    SA_LockMutex(psDiscover->hMutex);
    PXRDiscover_Entry *psEntry = PXRDiscover_findOrAddSensor(psDiscover, aszKey);
    if (psEntry) {
        PXRMsgElement *psRoot = PXRMsgChild(psEntry->psMsg);
        if (u16Kind == kKindCard)
            PXRDiscover_fillLumatrekCard(psRoot, pu8Data);
        else
            PXRDiscover_fillKGVSensor(psRoot, pu8Data, u16Kind);
        PXRDiscover_setIdentity(psEntry, pcszSender, aszKey);
    }
    SA_UnlockMutex(psDiscover->hMutex);
    return 1;
}

} // extern "C"
