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

namespace {

PXRMsg *request(const char *pcszRoot)
{
    PXRMsg *psMsg = PXRMsgCreate();
    if (pcszRoot)
        PXRMsgSetChild(psMsg, PXRMsgElementCreate(pcszRoot));
    return psMsg;
}

std::string answerText(PXRMsg *psAnswer)
{
    PXRMsgElement *psRoot = PXRMsgChild(psAnswer);
    if (!psRoot)
        return "<no root>";
    const char *pcszStatus = PXRMsgElementAttributeValue(psRoot, "status");
    const char *pcszText = PXRMsgElementAttributeValue(psRoot, "errorText");
    return std::string(PXRMsgElementName(psRoot)) + " " + (pcszStatus ? pcszStatus : "") + " " +
           (pcszText ? pcszText : "");
}

class BridgeDispatch : public BridgeRecord {
protected:
    // A bridge whose light connection is a thread-less handle that the test makes ready.
    void makeBridge(bool bReady)
    {
        std::string server(200, 'h');
        pxr->pszServer = server.data();
        ASSERT_EQ(PXRLT_create(pxr), 1);
        pxr->pszServer = aszServer;
        pxr->u16CommandPort = 1;
        pxr->u32RequestTimeoutMs = 300;
        if (bReady) {
            pxr->psBridge->psLightHandle = create("127.0.0.1", 1);
            ASSERT_NE(pxr->psBridge->psLightHandle, nullptr);
            SetConnectionState(pxr->psBridge->psLightHandle, LT_SOCKET_STREAM, LT_SOCKET_CONNECTED);
        }
    }
    std::string send(const char *pcszRoot)
    {
        PXRMsg *psRequest = request(pcszRoot);
        PXRMsg *psAnswer = PXRLT_sendRequest(pxr, psRequest, 0);
        PXRMsgDestroy(psRequest);
        if (!psAnswer)
            return std::string("null ") + PXRGetLastError(pxr);
        std::string text = answerText(psAnswer);
        PXRMsgDestroy(psAnswer);
        return text;
    }
    char aszServer[16] = "127.0.0.1";
};

TEST_F(BridgeDispatch, WithoutLightConnectionEveryRequestIsNotConnected)
{
    makeBridge(false);
    EXPECT_EQ(send(nullptr), "answer failed empty message not supported");
    EXPECT_EQ(send("getInfos"), "null Not connected");
    EXPECT_EQ(send("lock"), "null Not connected");
}

TEST_F(BridgeDispatch, RequestsAreCheckedAgainstTheLockAndTheTable)
{
    makeBridge(true);
    LumatrekConnectionState sState{};
    LumatrekGetState(pxr->psBridge->psLightHandle, &sState);
    ASSERT_EQ(sState.u32Global, 2u);
    struct Case {
        const char *pcszRoot;
        const char *pcszAnswer;
    } const asCases[] = {
        {"reboot", "answer failed Must be locked"},
        {"SETCONFIG", "answer failed Must be locked"},
        {"resetCounters", "answer failed Must be locked"},
        {"noSuchRequest", "answer failed unknown command"},
        {"unlock", "answer ok "},
        {"Unlock", "answer ok "},
        {"lock", "answer failed Unable to connect to command port : already locked?"},
    };
    for (const Case &sCase : asCases)
        EXPECT_EQ(send(sCase.pcszRoot), sCase.pcszAnswer) << sCase.pcszRoot;
    EXPECT_EQ(pxr->psBridge->psCommandHandle, nullptr);
}

} // namespace

namespace {

PXRMsg *subscription(const char *pcszInfo, const char *pcszConfig)
{
    PXRMsgElement *psRoot = PXRMsgElementCreate("setEnableStreams");
    if (pcszInfo)
        PXRMsgElementSetAttribute(psRoot, "infoChanges", pcszInfo);
    if (pcszConfig)
        PXRMsgElementSetAttribute(psRoot, "configChanges", pcszConfig);
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgSetChild(psMsg, psRoot);
    return psMsg;
}

std::vector<std::string> popAll(PXR *psPxr)
{
    std::vector<std::string> roots;
    while (PXRMsg *psMsg = PXRPopMessage(psPxr)) {
        roots.push_back(PXRMsgElementName(PXRMsgChild(psMsg)));
        PXRMsgDestroy(psMsg);
    }
    return roots;
}

TEST_F(BridgeDispatch, SubscriptionPushesACachedTreeOncePerFlagChange)
{
    makeBridge(true);
    PXRLT *psBridge = pxr->psBridge;
    struct Step {
        const char *pcszInfo;
        const char *pcszConfig;
        bool bCachesFilled;
        std::vector<std::string> pushed;
    } const asSteps[] = {
        {"true", "true", false, {}}, // nothing cached yet: nothing pushed
        {"true", "true", true, {}},  // no change
        {"false", nullptr, true, {"infos"}},
        {"1", "false", true, {"infos", "config"}},
        {nullptr, nullptr, true, {}},
    };
    for (const Step &sStep : asSteps) {
        if (sStep.bCachesFilled && !PXRMsgChild(psBridge->psCachedInfos)) {
            PXRMsgSetChild(psBridge->psCachedInfos, PXRMsgElementCreate("infos"));
            PXRMsgSetChild(psBridge->psCachedConfig, PXRMsgElementCreate("config"));
        }
        PXRMsg *psMsg = subscription(sStep.pcszInfo, sStep.pcszConfig);
        EXPECT_EQ(PXRLT_sendAsynchronousMessage(pxr, psMsg), 1);
        PXRMsgDestroy(psMsg);
        EXPECT_EQ(popAll(pxr), sStep.pushed);
    }
    EXPECT_EQ(psBridge->bInfoChangesEnabled, 1);
    EXPECT_EQ(psBridge->bConfigChangesEnabled, 0);
    PXRMsg *psOther = request("trace");
    EXPECT_EQ(PXRLT_sendAsynchronousMessage(pxr, psOther), 0);
    PXRMsgDestroy(psOther);
}

TEST_F(BridgeRecord, LibraryStartInstallsTheBridge)
{
    const PXR_LegacyBridge *psBridge = PXR_legacyBridge();
    ASSERT_NE(psBridge, nullptr);
    EXPECT_EQ(psBridge->rCreate, &PXRLT_create);
    EXPECT_EQ(psBridge->rRelease, &PXRLT_release);
    EXPECT_EQ(psBridge->rSendRequest, &PXRLT_sendRequest);
    EXPECT_EQ(psBridge->rSendAsynchronousMessage, &PXRLT_sendAsynchronousMessage);
}

} // namespace
