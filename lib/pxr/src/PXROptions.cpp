/* The bind options text: "name=value" items separated by ";" that set the legacy ports and
 * switch either connection off. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const size_t kItemMax = 127;

enum OptionKind { kPort, kDisable };

struct Option {
    const char *pcszName;
    OptionKind eKind;
    size_t szField; // offset of the handle field the option sets
};

const Option kOptions[] = {
    {"commandPort", kPort, offsetof(PXR, u16CommandPort)},
    {"timePort", kPort, offsetof(PXR, u16TimePort)},
    {"disableSynchronousConnection", kDisable, offsetof(PXR, bSynchronousEnabled)},
    {"disableAsynchronousConnection", kDisable, offsetof(PXR, bAsynchronousEnabled)},
};

// A port written in decimal digits, from 1 to 65535; 0 for anything else, which the caller refuses
// rather than connect to a port cut to 16 bits.
uint16_t portOf(const char *pcszValue)
{
    uint32_t u32Port = 0;
    for (const char *pc = pcszValue; *pc; ++pc) {
        if (*pc < '0' || *pc > '9')
            return 0;
        u32Port = u32Port * 10 + uint32_t(*pc - '0');
        if (u32Port > 65535)
            return 0;
    }
    return uint16_t(u32Port);
}

// 1, or 0 with the reason.
int apply(PXR *psPxr, const Option &sOption, const char *pcszValue)
{
    char *pField = reinterpret_cast<char *>(psPxr) + sOption.szField;
    if (sOption.eKind == kPort) {
        uint16_t u16Port = portOf(pcszValue);
        if (u16Port == 0) {
            PXR_setHandleError(psPxr, "Invalid option : '%s' is not a port from 1 to 65535 for '%s'", pcszValue,
                               sOption.pcszName);
            return 0;
        }
        memcpy(pField, &u16Port, sizeof(u16Port));
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "Option '%s' = '%u'", sOption.pcszName, unsigned(u16Port));
        return 1;
    }
    int32_t bDisabled = PXRMsgStrToBool(pcszValue);
    int32_t bEnabled = !bDisabled;
    memcpy(pField, &bEnabled, sizeof(bEnabled));
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "Option '%s' = '%s'", sOption.pcszName,
              bDisabled ? "true" : "false");
    return 1;
}

// One item, already cut out of the text and terminated; 1, or 0 with the reason.
int parseItem(PXR *psPxr, const char *pcszItem)
{
    const char *pcszEquals = strchr(pcszItem, '=');
    if (!pcszEquals) {
        PXR_setHandleError(psPxr, "Invalid option : can not found '=' in '%s'", pcszItem);
        return 0;
    }
    for (const Option &sOption : kOptions) {
        if (strncmp(pcszItem, sOption.pcszName, strlen(sOption.pcszName)) == 0) {
            return apply(psPxr, sOption, pcszEquals + 1);
        }
    }
    PXR_setHandleError(psPxr, "Unknown option : '%s'", pcszItem);
    return 0;
}

} // namespace

extern "C" {

int PXR_parseOptions(PXR *psPxr, const char *pcszOptions)
{
    for (const char *pcszItem = pcszOptions; pcszItem && *pcszItem;) {
        const char *pcszEnd = strchr(pcszItem, ';');
        size_t szLength = pcszEnd ? size_t(pcszEnd - pcszItem) : strlen(pcszItem);
        if (szLength > kItemMax) {
            PXR_setHandleError(psPxr, "Option item is too long");
            return 0;
        }
        char aszItem[kItemMax + 1];
        memcpy(aszItem, pcszItem, szLength);
        aszItem[szLength] = '\0';
        if (szLength > 0 && !parseItem(psPxr, aszItem))
            return 0;
        pcszItem = pcszEnd ? pcszEnd + 1 : pcszItem + szLength;
    }
    if (!psPxr->bSynchronousEnabled && !psPxr->bAsynchronousEnabled) {
        PXR_setHandleError(psPxr, "The synchronous and asynchronous connections are both disabled : nothing will be done!");
        return 0;
    }
    return 1;
}

} // extern "C"
