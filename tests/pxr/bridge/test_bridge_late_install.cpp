// A sensor whose whole configuration arrives before the bridge's callbacks are installed: the
// end mark is not replayed with the cached blocks, yet the connection must be reported.
#include "BridgeFeedSupport.h"

namespace {

TEST_F(BridgeTest, ConfigurationCompleteBeforeTheCallbacksStillReportsTheConnection)
{
    LumatrekAddConfigCallback(light, nullptr, nullptr);
    LumatrekAddConfigCallbackEx(light, nullptr, nullptr);
    connect(kgvsim::StreamSetup{});
    EXPECT_FALSE(connected());
    PXRLT_installCallbacks(pxr, light);
    EXPECT_TRUE(connected());
    EXPECT_EQ(valueAt(cachedRoot(bridge->psCachedConfig), "cameras/camera/anpr@context"), "F|GB");
}

} // namespace
