// libFuzzer target of discovery: datagrams of either family, from two senders in turn, handed
// to the listener as its thread would; after each one the list of sensors heard stays sound
// (one entry at most per datagram, each a "discover" root with its sender and a key of its own).
#include "FuzzPieces.h"
#include "PXR_Internal.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

const char *const kSenders[] = {"10.0.0.5", "192.168.1.20"};

bool fromASender(const char *pcszAddress)
{
    for (const char *pcszSender : kSenders) {
        if (PXRMsgStringEqual(pcszAddress, pcszSender))
            return true;
    }
    return false;
}

// The number of sensors held, after checking each of them.
size_t checkedSensors(PXRDiscover *psDiscover)
{
    uint32_t u32Count = 0;
    PXRDiscoverGetDiscovered(psDiscover, nullptr, &u32Count);
    std::vector<PXRMsg *> copies(u32Count + 1, nullptr);
    PXRDiscoverGetDiscovered(psDiscover, copies.data(), &u32Count);
    std::set<std::string> keys;
    for (uint32_t i = 0; i < u32Count; ++i) {
        PXRMsgElement *psRoot = PXRMsgChild(copies[i]);
        const char *pcszKey = PXRMsgElementAttributeValue(psRoot, "uniqueKey");
        if (!PXRMsgStringEqual(PXRMsgElementName(psRoot), "discover") || !pcszKey ||
            !fromASender(PXRMsgElementAttributeValue(psRoot, "ipAddress")) || !keys.insert(pcszKey).second)
            __builtin_trap();
        PXRMsgDestroy(copies[i]);
    }
    return u32Count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    static int iStarted = PXR_initLibrary();
    (void)iStarted;
    PXRDiscover *psDiscover = PXRDiscoverCreate();
    if (!psDiscover)
        return 0;
    size_t szHeld = 0;
    size_t szIndex = 0;
    for (std::string_view datagram : fuzzpieces::split(pu8Data, szSize, 16)) {
        PXRDiscover_handleDatagram(psDiscover, reinterpret_cast<const uint8_t *>(datagram.data()),
                                   uint32_t(datagram.size()), kSenders[szIndex++ % 2]);
        const size_t szNow = checkedSensors(psDiscover);
        if (szNow < szHeld || szNow > szHeld + 1)
            __builtin_trap();
        szHeld = szNow;
    }
    PXRDiscoverDestroy(psDiscover);
    return 0;
}
