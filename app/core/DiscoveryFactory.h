// Where the main window gets its sensor discovery object: one function that tests replace,
// so that their window listens on a free loopback port.
#pragma once

#include <functional>

#include "PXR.h"

class DiscoveryFactory
{
public:
    // Makes a discovery object, not yet started; null when it cannot.
    using Creator = std::function<PXRDiscover *()>;

    DiscoveryFactory() = delete;

    // A new object from the creator, started; the caller destroys it.
    static PXRDiscover *createStarted();
    // An empty creator goes back to the library's own (the standard discovery port).
    static void setCreator(Creator creator);
};
