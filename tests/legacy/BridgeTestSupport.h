// Fixture of the bridge's request tests: a PXR handle's bridge on the test KGV sensor (command,
// stream and time ports), the stream answers handed over as the bridge's callbacks do, request
// trees built from a compact description, and the bridge's traces recorded from a mark.
#ifndef BRIDGE_TEST_SUPPORT_H
#define BRIDGE_TEST_SUPPORT_H

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "KgvDevice.h"
#include "KgvSensor.h"
#include "KgvStream.h"
#include "LegacyTestSupport.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

// An element with its attributes and children, turned into a PXR tree.
struct Node {
    using Attributes = std::vector<std::pair<std::string, std::string>>;
    Node(std::string n, Attributes a = {}, std::vector<Node> c = {}, std::string data = {})
        : name(std::move(n)), attributes(std::move(a)), children(std::move(c)), content(std::move(data))
    {
    }
    std::string name;
    Attributes attributes;
    std::vector<Node> children;
    std::string content;

    PXRMsgElement *build() const
    {
        PXRMsgElement *psElement = PXRMsgElementCreate(name.c_str());
        for (const auto &[key, value] : attributes)
            PXRMsgElementSetAttribute(psElement, key.c_str(), value.c_str());
        if (!content.empty())
            PXRMsgElementSetContentBinary(psElement, content.data(), uint32_t(content.size()));
        for (const Node &child : children)
            PXRMsgElementAddChild(psElement, child.build());
        return psElement;
    }
    PXRMsg *message() const
    {
        PXRMsg *psMsg = PXRMsgCreate();
        PXRMsgSetChild(psMsg, build());
        return psMsg;
    }
};

// The attributes of an element, in order, as "name=value" joined by blanks.
inline std::string attributesOf(PXRMsgElement *psElement)
{
    std::string text;
    for (uint32_t i = 0; i < PXRMsgElementAttributeCount(psElement); i++) {
        const char *pcszName = PXRMsgElementAttributeName(psElement, i);
        text += (text.empty() ? "" : " ") + std::string(pcszName) + "=" + PXRMsgElementAttributeValue(psElement, pcszName);
    }
    return text;
}

class BridgeOnSensor : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        LT_Timing *psTiming = LT_timing();
        psTiming->u32ReconnectPauseMs = 40;
        psTiming->u32CommandRetryGapMs = 20;
        psTiming->u32CameraRetryMs = 20;
        psTiming->u32TransferTimeoutMs = 3000;
        psTiming->u32SlowTransferMs = 3000;
        psTiming->u32CommandKeepAliveMs = 10000;
        psTiming->u32StreamKeepAliveMs = 10000;
        ASSERT_EQ(PXR_initLibrary(), 1);
        PXRSetTraceFunction(&BridgeOnSensor::onTrace, this);
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
        PXRSetTraceFunction(nullptr, nullptr);
        PXR_releaseLibrary();
        stream.reset();
        clock.reset();
        device.reset();
        sensor.reset();
        LumatrekTest::TearDown();
    }

    // The bridge made on a sensor of that setup, its light connection ready.
    void start(kgvsim::DeviceSetup setup = {}, uint32_t u32RequestTimeoutMs = 1500)
    {
        sensor = std::make_unique<kgvsim::KgvSensor>();
        device = std::make_unique<kgvsim::KgvDevice>(*sensor, setup);
        clock = std::make_unique<kgvsim::KgvClock>(*sensor, 0x10000);
        stream = std::make_unique<kgvsim::KgvStream>(*sensor, setup);
        pxr->pszServer = aszServer;
        pxr->u16Port = sensor->port(kgvsim::Port::Stream);
        pxr->u16TimePort = sensor->port(kgvsim::Port::Time);
        pxr->u16CommandPort = sensor->port(kgvsim::Port::Command);
        pxr->u32RequestTimeoutMs = u32RequestTimeoutMs;
        ASSERT_EQ(PXRLT_create(pxr), 1);
        LumatrekHandle *psLight = pxr->psBridge->psLightHandle;
        ASSERT_NE(psLight, nullptr);
        // The answers reach the bridge as its own callbacks hand them over.
        ASSERT_TRUE(LumatrekAddEventCallback(psLight, &BridgeOnSensor::onEvent, pxr));
        ASSERT_TRUE(LumatrekAddRemoteRecognition(psLight, 0, &BridgeOnSensor::onRecognition, this));
        // The stream may have brought its whole configuration before this callback is in: the
        // installation replays the blocks, not the end mark, which the cache's flag then tells.
        LT_lock(psLight, LT_MUTEX_CONFIG);
        const int32_t bInstalled = LumatrekAddConfigCallback(psLight, &BridgeOnSensor::onConfig, this);
        const bool bEnded = (psLight->au32Received[1] & LT_RECEIVED_END_OF_CONFIG) != 0;
        LT_unlock(psLight, LT_MUTEX_CONFIG);
        ASSERT_TRUE(bInstalled);
        ASSERT_EQ(WaitReady(psLight, 5000), 0) << "the light connection did not become ready";
        ASSERT_TRUE(bEnded || waitFor(5s, [&] { return configEnds > 0; })) << "the pushed configuration did not arrive";
    }
    void lock() { ASSERT_EQ(send(Node{"lock"}), "answer status=ok"); }

    // The answer's root and attributes, or "null" and the last error.
    std::string send(const Node &request)
    {
        PXRMsg *psAnswer = request_(request);
        if (!psAnswer)
            return std::string("null ") + PXRGetLastError(pxr);
        std::string text = summary(psAnswer);
        PXRMsgDestroy(psAnswer);
        return text;
    }
    PXRMsg *request_(const Node &request)
    {
        PXRMsg *psRequest = request.message();
        PXRMsg *psAnswer = PXRLT_sendRequest(pxr, psRequest, 0);
        PXRMsgDestroy(psRequest);
        return psAnswer;
    }
    static std::string summary(PXRMsg *psAnswer)
    {
        PXRMsgElement *psRoot = PXRMsgChild(psAnswer);
        if (!psRoot)
            return "<no root>";
        const std::string attributes = attributesOf(psRoot);
        return std::string(PXRMsgElementName(psRoot)) + (attributes.empty() ? "" : " " + attributes);
    }

    size_t commandMark() { return sensor->packets(kgvsim::Port::Command).size(); }
    // Codes the command port received after the mark, keep-alives left out.
    std::vector<uint32_t> commandCodesSince(size_t szMark)
    {
        std::vector<uint32_t> codes;
        const auto all = sensor->packets(kgvsim::Port::Command);
        for (size_t i = szMark; i < all.size(); i++)
            if (all[i].code != kgvsim::kKeepAlive)
                codes.push_back(all[i].code);
        return codes;
    }
    std::vector<kgvsim::Packet> streamPacketsSince(size_t szMark, uint32_t u32Code)
    {
        std::vector<kgvsim::Packet> found;
        const auto all = sensor->packets(kgvsim::Port::Stream);
        for (size_t i = szMark; i < all.size(); i++)
            if (all[i].code == u32Code)
                found.push_back(all[i]);
        return found;
    }
    size_t streamMark() { return sensor->packets(kgvsim::Port::Stream).size(); }

    size_t traceMark()
    {
        std::lock_guard lock(mutex);
        return traces.size();
    }
    std::vector<std::string> tracesSince(size_t szMark)
    {
        std::lock_guard lock(mutex);
        return {traces.begin() + static_cast<std::ptrdiff_t>(szMark), traces.end()};
    }
    size_t pushedCount()
    {
        std::lock_guard lock(mutex);
        return pushed.size();
    }

    static int onTrace(PXR *, int, const char *pcszText, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnSensor *>(pUser);
        const std::string text = pcszText ? pcszText : "";
        const std::string prefix = "[LTDLL]";
        if (text.rfind(prefix, 0) != 0)
            return 1;
        std::lock_guard lock(psTest->mutex);
        psTest->traces.push_back(text.substr(prefix.size()));
        return 1;
    }
    static void onConfig(LumatrekHandle *, LumatrekConfigRecord *psRecord, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnSensor *>(pUser);
        // As the bridge's own callback: no tree while a setConfig runs.
        const int bDeferred = psRecord && PXRLT_deferTreeRebuild(psTest->pxr);
        std::lock_guard lock(psTest->mutex);
        if (!psRecord)
            psTest->rebuilds++;
        else if (psRecord->u32Type == LUMATREK_CONFIG_END)
            psTest->configEnds++;
        else
            psTest->configBlocks++;
        psTest->deferred += bDeferred;
        psTest->changed.notify_all();
    }
    static void onEvent(LumatrekHandle *, LumatrekEvent *psEvent, void *pUser)
    {
        PXRLT_handOverEvent(static_cast<PXR *>(pUser), psEvent);
    }
    static void onRecognition(LumatrekHandle *, LumatrekRecognition *psRecord, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnSensor *>(pUser);
        if (psRecord->u32RequestNumber >= 10) {
            PXRLT_handOverRecognition(psTest->pxr, psRecord);
            return;
        }
        {
            std::lock_guard lock(psTest->mutex);
            psTest->pushed.emplace_back(psRecord->aszPlate);
            psTest->changed.notify_all();
        }
        LumatrekReleaseRecognition(&psRecord);
    }

    PXR *pxr = nullptr;
    char *psSavedServer = nullptr;
    char aszServer[16] = "127.0.0.1";
    size_t configEnds = 0, configBlocks = 0, rebuilds = 0, deferred = 0;
    std::vector<std::string> traces;
    std::vector<std::string> pushed;
    std::unique_ptr<kgvsim::KgvSensor> sensor;
    std::unique_ptr<kgvsim::KgvDevice> device;
    std::unique_ptr<kgvsim::KgvClock> clock;
    std::unique_ptr<kgvsim::KgvStream> stream;
};

#endif
