// Helpers of the discovery tests: the sensors a listener holds, in the compact tree text.
#ifndef DISCOVER_TEST_SUPPORT_H
#define DISCOVER_TEST_SUPPORT_H

#include <string>
#include <string_view>
#include <vector>

#include "PXR_Internal.h"
#include "TreeText.h"

namespace discovertest {

// The discover messages held, in list order, each as its root's tree text.
inline std::vector<std::string> sensors(PXRDiscover *psDiscover)
{
    uint32_t u32Count = 0;
    PXRDiscoverGetDiscovered(psDiscover, nullptr, &u32Count);
    // Sensors may be heard between the two calls: leave room, and never pass a null array.
    std::vector<PXRMsg *> copies(u32Count + 16, nullptr);
    u32Count = static_cast<uint32_t>(copies.size());
    PXRDiscoverGetDiscovered(psDiscover, copies.data(), &u32Count);
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < u32Count; ++i) {
        texts.push_back(treetext::print(PXRMsgChild(copies[i])));
        PXRMsgDestroy(copies[i]);
    }
    return texts;
}

// One datagram handed to the listener as its thread would, without a socket.
inline void receive(PXRDiscover *psDiscover, std::string_view datagram, const char *pcszSender)
{
    PXRDiscover_handleDatagram(psDiscover, reinterpret_cast<const uint8_t *>(datagram.data()),
                               static_cast<uint32_t>(datagram.size()), pcszSender);
}

} // namespace discovertest

#endif
