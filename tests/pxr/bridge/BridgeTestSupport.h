// Fixture of the bridge's request tests: a PXR handle's bridge on the test KGV sensor (command,
// stream and time ports) with its own callbacks, the messages it pushes, request trees built
// from a compact description, and the bridge's traces recorded from a mark.
#ifndef BRIDGE_TEST_SUPPORT_H
#define BRIDGE_TEST_SUPPORT_H

#include <algorithm>
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
        // A firmware recent enough that the connection is reported at the end of the configuration.
        setup.version.firmware = {6, 2, 0};
        sensor = std::make_unique<kgvsim::KgvSensor>();
        device = std::make_unique<kgvsim::KgvDevice>(*sensor, setup);
        clock = std::make_unique<kgvsim::KgvClock>(*sensor, 0x10000);
        stream = std::make_unique<kgvsim::KgvStream>(*sensor, setup);
        pxr->pszServer = aszServer;
        pxr->u16Port = sensor->port(kgvsim::Port::Stream);
        pxr->u16TimePort = sensor->port(kgvsim::Port::Time);
        pxr->u16CommandPort = sensor->port(kgvsim::Port::Command);
        pxr->u32RequestTimeoutMs = u32RequestTimeoutMs;
        pxr->bSynchronousEnabled = 1;
        pxr->bAsynchronousEnabled = 1;
        PXRSetNewMessageCallback(pxr, &BridgeOnSensor::onMessage, this);
        PXRSetConnectionStateCallback2(pxr, &BridgeOnSensor::onConnection, this);
        ASSERT_EQ(PXRLT_create(pxr), 1);
        ASSERT_NE(pxr->psBridge->psLightHandle, nullptr);
        // The bridge reports the connection once the sensor's whole configuration is in.
        ASSERT_TRUE(waitFor(5s, [&] { return connected; })) << "the bridge did not report the connection";
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
    // Every message the bridge pushes, as "root" or "root plate" for a recognition.
    static void onMessage(PXR *psPxr, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnSensor *>(pUser);
        while (PXRMsg *psMsg = PXRPopMessage(psPxr)) {
            PXRMsgElement *psRoot = PXRMsgChild(psMsg);
            std::string text = PXRMsgElementName(psRoot);
            PXRMsgElement *psDecision = PXRMsgElementFirstChild(psRoot, "decision");
            if (psDecision && PXRMsgElementAttributeValue(psDecision, "plate"))
                text += std::string(" ") + PXRMsgElementAttributeValue(psDecision, "plate");
            PXRMsgDestroy(psMsg);
            std::lock_guard lock(psTest->mutex);
            psTest->pushed.push_back(text);
            psTest->changed.notify_all();
        }
    }
    static void onConnection(PXR *, int bConnected, uint32_t, void *pUser)
    {
        auto *psTest = static_cast<BridgeOnSensor *>(pUser);
        std::lock_guard lock(psTest->mutex);
        psTest->connected = bConnected != 0;
        psTest->changed.notify_all();
    }
    bool pushedSince(size_t szMark, const std::string &text)
    {
        return std::find(pushed.begin() + static_cast<std::ptrdiff_t>(szMark), pushed.end(), text) != pushed.end();
    }

    PXR *pxr = nullptr;
    char *psSavedServer = nullptr;
    char aszServer[16] = "127.0.0.1";
    bool connected = false;
    std::vector<std::string> traces;
    std::vector<std::string> pushed;
    std::unique_ptr<kgvsim::KgvSensor> sensor;
    std::unique_ptr<kgvsim::KgvDevice> device;
    std::unique_ptr<kgvsim::KgvClock> clock;
    std::unique_ptr<kgvsim::KgvStream> stream;
};

#endif
