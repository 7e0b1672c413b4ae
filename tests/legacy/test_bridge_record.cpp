// The bridge record of a PXR handle: made with its light connection and caches, released
// with both legacy connections, and still made when the address cannot form a connection.
#include <gtest/gtest.h>

#include <string>

#include "LegacyTestSupport.h"
#include "PXRLT_Internal.h"
#include "PXR_Internal.h"

namespace {

class BridgeRecord : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        ASSERT_EQ(PXR_initLibrary(), 1);
        pxr = PXRCreate();
        ASSERT_NE(pxr, nullptr);
        psSavedServer = pxr->pszServer;
    }
    void TearDown() override
    {
        if (pxr) {
            PXRLT_release(pxr);
            pxr->pszServer = psSavedServer;
            PXRDestroy(pxr);
        }
        PXR_releaseLibrary();
        LumatrekTest::TearDown();
    }
    PXR *pxr = nullptr;
    char *psSavedServer = nullptr;
};

TEST_F(BridgeRecord, CreatedWithLightConnectionAndReleasedClean)
{
    char aszServer[] = "127.0.0.1";
    pxr->pszServer = aszServer;
    pxr->u16Port = 1;
    pxr->u16TimePort = 1;
    ASSERT_EQ(PXRLT_create(pxr), 1);
    PXRLT *psBridge = pxr->psBridge;
    ASSERT_NE(psBridge, nullptr);
    EXPECT_NE(psBridge->psLightHandle, nullptr);
    EXPECT_EQ(psBridge->psCommandHandle, nullptr);
    EXPECT_EQ(psBridge->u32RequestId, 11u);
    EXPECT_EQ(PXRMsgChild(psBridge->psCachedInfos), nullptr);
    EXPECT_EQ(PXRMsgChild(psBridge->psCachedConfig), nullptr);
    EXPECT_EQ(PXRLT_release(pxr), 1);
    EXPECT_EQ(pxr->psBridge, nullptr);
    EXPECT_EQ(PXRLT_release(pxr), 1);
}

TEST_F(BridgeRecord, TooLongAddressLeavesNoLightConnection)
{
    std::string server(200, 'h');
    pxr->pszServer = server.data();
    ASSERT_EQ(PXRLT_create(pxr), 1);
    ASSERT_NE(pxr->psBridge, nullptr);
    EXPECT_EQ(pxr->psBridge->psLightHandle, nullptr);
    EXPECT_EQ(PXRLT_release(pxr), 1);
    EXPECT_EQ(pxr->psBridge, nullptr);
}

} // namespace
