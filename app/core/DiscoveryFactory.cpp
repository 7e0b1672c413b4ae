// Where the main window gets its sensor discovery object: one function that tests replace,
// so that their window listens on a free loopback port.
#include "DiscoveryFactory.h"

namespace {

DiscoveryFactory::Creator &creator()
{
    static DiscoveryFactory::Creator current;
    return current;
}

} // namespace

PXRDiscover *DiscoveryFactory::createStarted()
{
    PXRDiscover *discover = creator() ? creator()() : PXRDiscoverCreate();
    // A discovery that cannot start stays empty; the list simply shows no sensor.
    if (discover != nullptr)
        PXRDiscoverStart(discover);
    return discover;
}

void DiscoveryFactory::setCreator(Creator newCreator)
{
    creator() = std::move(newCreator);
}
