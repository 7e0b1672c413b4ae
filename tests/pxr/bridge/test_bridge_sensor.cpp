// A PXR handle bound to the test KGV sensor's stream port, end to end through the legacy
// library's own threads and waits: protocol "KGV", connection, trees and their changes,
// recognitions, speed, video and inputs from the receive queue, lock, unlock and getXSD, a
// dropped stream and its return, and an unbind that does not wait on a silent sensor.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "KgvDevice.h"
#include "KgvSensor.h"
#include "KgvStreamPackets.h"
#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"
#include "PXR_Internal.h"

using namespace std::chrono_literals;
using kgvsim::Port;

namespace {

class BridgeOnKgvSensor : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The library's own waits, as in the program.
        LT_resetTiming();
        ASSERT_EQ(PXR_initLibrary(), 1);
        PXRSetTraceFunction(&BridgeOnKgvSensor::onTrace, this);
        sensor = std::make_unique<kgvsim::KgvSensor>();
        device = std::make_unique<kgvsim::KgvDevice>(*sensor);
        clock = std::make_unique<kgvsim::KgvClock>(*sensor, 0x20000);
        pxr = PXRCreate();
        ASSERT_NE(pxr, nullptr);
        PXRSetConnectionStateCallback2(pxr, &BridgeOnKgvSensor::onState, this);
    }
    void TearDown() override
    {
        for (PXRMsg *psMsg : backlog)
            PXRMsgDestroy(psMsg);
        PXRDestroy(pxr);
        PXRSetTraceFunction(nullptr, nullptr);
        if (HasFailure()) {
            std::lock_guard lock(mutex);
            for (const std::string &line : traces)
                printf("  trace: %s\n", line.c_str());
        }
        clock.reset();
        device.reset();
        sensor.reset();
        PXR_releaseLibrary();
    }

    void bind(const kgvsim::StreamSetup &setup)
    {
        sensor->setGreeting(Port::Stream, kgvsim::streamConfiguration(setup));
        const std::string options = "timePort=" + std::to_string(sensor->port(Port::Time)) +
                                    ";commandPort=" + std::to_string(sensor->port(Port::Command));
        ASSERT_EQ(PXRBind(pxr, "127.0.0.1", sensor->port(Port::Stream), options.c_str()), 1);
    }
    size_t stateMark()
    {
        std::lock_guard lock(mutex);
        return states.size();
    }
    // Until the handle reports that state after the mark.
    bool waitState(size_t szMark, int bConnected, std::chrono::milliseconds timeout = 10s)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [&] {
            for (size_t i = szMark; i < states.size(); ++i)
                if (states[i] == bConnected)
                    return true;
            return false;
        });
    }
    static int onTrace(PXR *, int, const char *pcszText, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnKgvSensor *>(pUser);
        std::lock_guard lock(psTest->mutex);
        psTest->traces.emplace_back(pcszText);
        return 1;
    }
    static void onState(PXR *, int bConnected, uint32_t, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnKgvSensor *>(pUser);
        std::lock_guard lock(psTest->mutex);
        psTest->states.push_back(bConnected);
        psTest->changed.notify_all();
    }
    // The next message of that root from the receive queue; the others on the way are kept
    // for later calls (frames come on the network thread, ahead of the records before them).
    PXRMsg *waitMessage(const char *pcszRoot, std::chrono::milliseconds timeout = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            while (PXRMsg *psMsg = PXRPopMessage(pxr))
                backlog.push_back(psMsg);
            for (auto it = backlog.begin(); it != backlog.end(); ++it)
                if (PXRMsgStringEqual(PXRMsgElementName(PXRMsgChild(*it)), pcszRoot)) {
                    PXRMsg *psMsg = *it;
                    backlog.erase(it);
                    return psMsg;
                }
            if (std::chrono::steady_clock::now() >= deadline)
                return nullptr;
            PXRWaitForNewMessage(pxr, 200);
        }
    }
    std::string attribute(PXRMsg *psMsg, const char *pcszChild, const char *pcszName)
    {
        PXRMsgElement *psElement = PXRMsgChild(psMsg);
        if (pcszChild)
            psElement = PXRMsgElementFirstChild(psElement, pcszChild);
        const char *pcszValue = PXRMsgElementAttributeValue(psElement, pcszName);
        return pcszValue ? pcszValue : "<none>";
    }
    // The answer's root name and status.
    std::string request(const char *pcszRoot)
    {
        PXRMsg *psRequest = PXRMsgCreate();
        PXRLT_newRoot(psRequest, pcszRoot);
        PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, 5000);
        PXRMsgDestroy(psRequest);
        if (!psAnswer)
            return std::string("null ") + PXRGetLastError(pxr);
        const char *pcszStatus = PXRMsgElementAttributeValue(PXRMsgChild(psAnswer), "status");
        std::string text = std::string(PXRMsgElementName(PXRMsgChild(psAnswer))) + (pcszStatus ? " " : "") +
                           (pcszStatus ? pcszStatus : "");
        PXRMsgDestroy(psAnswer);
        return text;
    }
    void subscribe()
    {
        PXRMsg *psMsg = PXRMsgCreate();
        PXRMsgElement *psRoot = PXRLT_newRoot(psMsg, "setEnableStreams");
        PXRMsgElementSetAttribute(psRoot, "infoChanges", "1");
        PXRMsgElementSetAttribute(psRoot, "configChanges", "1");
        PXRMsgElement *psCamera = PXRLT_addChild(PXRLT_addChild(psRoot, "cameras"), "camera");
        PXRMsgElementSetAttribute(psCamera, "id", "0");
        PXRMsgElementSetAttribute(psCamera, "enabled", "1");
        EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psMsg), 1);
        PXRMsgDestroy(psMsg);
    }

    std::unique_ptr<kgvsim::KgvSensor> sensor;
    std::unique_ptr<kgvsim::KgvDevice> device;
    std::unique_ptr<kgvsim::KgvClock> clock;
    PXR *pxr = nullptr;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> states;
    std::vector<PXRMsg *> backlog;
    std::vector<std::string> traces;
};

TEST_F(BridgeOnKgvSensor, ServesTheSensorThroughThePxrHandle)
{
    const size_t szBound = stateMark();
    bind({});
    ASSERT_TRUE(waitState(szBound, 1)) << "never reported connected";
    EXPECT_STREQ(PXRGetDetectedProtocol(pxr), "KGV");

    subscribe();
    PXRMsg *psInfos = waitMessage("infos");
    ASSERT_NE(psInfos, nullptr);
    EXPECT_EQ(attribute(psInfos, "sensor", "firmwareVersion"), "6.2.0");
    PXRMsgDestroy(psInfos);
    PXRMsg *psConfig = waitMessage("config");
    ASSERT_NE(psConfig, nullptr);
    EXPECT_NE(PXRMsgElementFirstChild(PXRMsgChild(psConfig), "network"), nullptr);
    PXRMsgDestroy(psConfig);

    kgvsim::StreamSetup changed;
    changed.anpr.context = "NL";
    sensor->send(Port::Stream, kgvsim::configurationForm(changed));
    PXRMsg *psDelta = waitMessage("config");
    ASSERT_NE(psDelta, nullptr);
    PXRMsgElement *psAnpr = PXRMsgElementFirstChild(
        PXRMsgElementFirstChild(PXRMsgElementFirstChild(PXRMsgChild(psDelta), "cameras"), "camera"), "anpr");
    EXPECT_STREQ(PXRMsgElementAttributeValue(psAnpr, "context"), "NL");
    PXRMsgDestroy(psDelta);

    sensor->send(Port::Stream, kgvsim::recognitionPacket({}) + kgvsim::speedPacket(72, 77, 0, 2, 0) +
                                   kgvsim::framePacket(kgvsim::fourcc("JPEG"), 0x20000, 1, 1, "frame") +
                                   kgvsim::inputPacket(0x20000, 1));
    PXRMsg *psDecision = waitMessage("anpr");
    ASSERT_NE(psDecision, nullptr);
    EXPECT_EQ(attribute(psDecision, "decision", "plate"), "AB123CD");
    PXRMsgDestroy(psDecision);
    PXRMsg *psSpeed = waitMessage("anpr");
    ASSERT_NE(psSpeed, nullptr);
    EXPECT_EQ(attribute(psSpeed, "speed", "instantSpeed_km_h"), "72");
    PXRMsgDestroy(psSpeed);
    PXRMsg *psVideo = waitMessage("video");
    ASSERT_NE(psVideo, nullptr);
    EXPECT_EQ(attribute(psVideo, nullptr, "codec"), "jpeg");
    PXRMsgDestroy(psVideo);
    PXRMsg *psInput = waitMessage("ioState");
    ASSERT_NE(psInput, nullptr);
    EXPECT_EQ(attribute(psInput, nullptr, "state"), "true");
    PXRMsgDestroy(psInput);

    EXPECT_EQ(request("getXSD"), "xsd");
    EXPECT_EQ(request("getInfos"), "infos");
    EXPECT_EQ(request("reboot"), "answer failed");
    EXPECT_EQ(request("lock"), "answer ok");
    EXPECT_EQ(request("lock"), "answer ok");
    EXPECT_EQ(sensor->acceptedCount(Port::Command), 1u) << "locked once";
    EXPECT_EQ(request("unlock"), "answer ok");
    EXPECT_TRUE(sensor->waitForOpenCount(Port::Command, 0, 5s));
}

TEST_F(BridgeOnKgvSensor, DroppedStreamDisconnectsAndComesBack)
{
    const size_t szBound = stateMark();
    bind({});
    ASSERT_TRUE(waitState(szBound, 1));
    const size_t szDropped = stateMark();
    sensor->dropConnections(Port::Stream);
    ASSERT_TRUE(waitState(szDropped, 0)) << "the drop was not reported";
    EXPECT_EQ(request("getInfos"), "null Not connected");
    ASSERT_TRUE(waitState(szDropped, 1)) << "did not come back";
    // Reported again only with the new connection's whole configuration.
    EXPECT_EQ(request("getConfig"), "config");
    PXRMsg *psRequest = PXRMsgCreate();
    PXRLT_newRoot(psRequest, "getConfig");
    PXRMsg *psConfig = PXRSendRequest(pxr, psRequest, 5000);
    PXRMsgDestroy(psRequest);
    ASSERT_NE(psConfig, nullptr);
    EXPECT_NE(PXRMsgElementFirstChild(PXRMsgChild(psConfig), "network"), nullptr);
    PXRMsgDestroy(psConfig);
}

TEST_F(BridgeOnKgvSensor, TooColdStatusOnTheSameStreamReportsConnectedAgain)
{
    const size_t szBound = stateMark();
    bind({});
    ASSERT_TRUE(waitState(szBound, 1));
    const size_t szCold = stateMark();
    sensor->send(Port::Stream, kgvsim::statusPacket(0x2001));
    ASSERT_TRUE(waitState(szCold, 0));
    const size_t szWarm = stateMark();
    sensor->send(Port::Stream, kgvsim::statusPacket(0x1));
    ASSERT_TRUE(waitState(szWarm, 1)) << "stayed disconnected after the status came back";
    EXPECT_EQ(request("getInfos"), "infos");
}

TEST_F(BridgeOnKgvSensor, UnbindDoesNotWaitOnASilentSensor)
{
    const size_t szBound = stateMark();
    bind({});
    ASSERT_TRUE(waitState(szBound, 1));
    clock->setDelay(60s);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PXRUnbind(pxr), 1);
    const auto took = std::chrono::steady_clock::now() - start;
    // About a second (the library's poll slice); far below its joins' limits.
    EXPECT_LT(took, 4s);
}

} // namespace

namespace {

class BridgeLockOnKgvSensor : public BridgeOnKgvSensor {
protected:
    // A sensor whose camera word is the same on both connections.
    void bindWithCamera(uint32_t u32CameraWord)
    {
        kgvsim::DeviceSetup deviceSetup;
        deviceSetup.anpr.cameraWord = u32CameraWord;
        device.reset();
        device = std::make_unique<kgvsim::KgvDevice>(*sensor, deviceSetup);
        kgvsim::StreamSetup setup;
        setup.anpr.cameraWord = u32CameraWord;
        const size_t szBound = stateMark();
        bind(setup);
        ASSERT_TRUE(waitState(szBound, 1));
    }
    std::vector<uint32_t> commandCodesSince(size_t szMark)
    {
        std::vector<uint32_t> codes;
        const auto all = sensor->packets(Port::Command);
        for (size_t i = szMark; i < all.size(); ++i)
            if (all[i].code == 0xFFF8 || all[i].code == 0xAAC1)
                codes.push_back(all[i].code);
        return codes;
    }
};

struct OpticsCase {
    uint32_t u32CameraWord;
    bool bOpticsChanged;
    std::vector<uint32_t> codes; // save focus, store
};

class BridgeOptics : public BridgeLockOnKgvSensor, public ::testing::WithParamInterface<OpticsCase> {};

TEST_P(BridgeOptics, ChangedOpticsAreStoredBeforeTheCommandConnectionCloses)
{
    bindWithCamera(GetParam().u32CameraWord);
    ASSERT_EQ(request("lock"), "answer ok");
    pxr->psBridge->bOpticsChanged = GetParam().bOpticsChanged;
    const size_t szMark = sensor->packets(Port::Command).size();
    EXPECT_EQ(request("unlock"), "answer ok");
    EXPECT_EQ(commandCodesSince(szMark), GetParam().codes);
    EXPECT_EQ(pxr->psBridge->bOpticsChanged, 0);
}

INSTANTIATE_TEST_SUITE_P(Cameras, BridgeOptics,
                         ::testing::Values(OpticsCase{0x00200435, true, {0xFFF8, 0xAAC1}},
                                           OpticsCase{0x0020042F, true, {0xAAC1}},
                                           OpticsCase{0x00200435, false, {}}));

TEST_F(BridgeLockOnKgvSensor, LostCommandConnectionWhileLockedReportsDownThenBack)
{
    // An idle command connection notices its loss at its next keep-alive.
    LT_timing()->u32CommandKeepAliveMs = 300;
    bindWithCamera(0x0520042F);
    ASSERT_EQ(request("lock"), "answer ok");
    const size_t szDropped = stateMark();
    sensor->dropConnections(Port::Command);
    ASSERT_TRUE(waitState(szDropped, 0, 20s)) << "the lost command connection was not reported";
    ASSERT_TRUE(waitState(szDropped, 1, 20s)) << "not reported back once the command connection returned";
    EXPECT_EQ(request("lock"), "answer ok") << "still locked: no second connection";
    EXPECT_EQ(request("unlock"), "answer ok");
}

} // namespace
