// Fixture of the bridge's tests without sockets: a PXR handle with its bridge, whose light
// connection is a thread-less stream handle fed with the test sensor's bytes on the test's
// thread; the socket's state is set by the test. Also element lookups by path.
#ifndef BRIDGE_FEED_SUPPORT_H
#define BRIDGE_FEED_SUPPORT_H

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "KgvStreamPackets.h"
#include "LegacyTestSupport.h"
#include "PXRLT_Internal.h"
#include "PXR_Internal.h"

// The element at "a/b/c" below the given one (first child of each name); null when missing.
inline PXRMsgElement *elementAt(PXRMsgElement *psElement, const std::string &path)
{
    size_t szFrom = 0;
    while (psElement && szFrom < path.size()) {
        const size_t szEnd = path.find('/', szFrom);
        const std::string name = path.substr(szFrom, szEnd == std::string::npos ? std::string::npos : szEnd - szFrom);
        psElement = PXRMsgElementFirstChild(psElement, name.c_str());
        szFrom = szEnd == std::string::npos ? path.size() : szEnd + 1;
    }
    return psElement;
}

// "path@attribute" below the element: its text, "<none>" without the attribute, "<no element>".
inline std::string valueAt(PXRMsgElement *psElement, const std::string &where)
{
    const size_t szAt = where.find('@');
    PXRMsgElement *psFound = elementAt(psElement, where.substr(0, szAt));
    if (!psFound)
        return "<no element>";
    if (szAt == std::string::npos)
        return "<element>";
    const char *pcszValue = PXRMsgElementAttributeValue(psFound, where.substr(szAt + 1).c_str());
    return pcszValue ? pcszValue : "<none>";
}

class BridgeTest : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        ASSERT_EQ(PXR_initLibrary(), 1);
        PXRSetTraceFunction(&BridgeTest::onTrace, this);
        pxr = PXRCreate();
        ASSERT_NE(pxr, nullptr);
        pxr->bSynchronousEnabled = 1;
        pxr->bAsynchronousEnabled = 1;
        // An address too long for a connection text: the bridge is made without a light connection.
        std::string server(200, 'h');
        psSavedServer = pxr->pszServer;
        pxr->pszServer = server.data();
        ASSERT_EQ(PXRLT_create(pxr), 1);
        pxr->pszServer = aszServer;
        pxr->u32RequestTimeoutMs = 300;
        bridge = pxr->psBridge;
        LumatrekErrorInfo sError;
        LT_initError(&sError, "test", 1);
        light = LumatrekCreateInternal("127.0.0.1:0,0,0", LT_CREATE_STREAM, &PXRLT_connectionStateCallback, pxr,
                                       &PXRLT_errorCallback, pxr, &sError);
        ASSERT_NE(light, nullptr);
        int32_t i32Code = 0;
        LT_TextId eText = LT_TEXT_EMPTY;
        ASSERT_TRUE(LT_makeStreamArea(light, &i32Code, &eText));
        light->u32StreamOption = 1;
        bridge->psLightHandle = light;
        PXRLT_installCallbacks(pxr, light);
    }
    void TearDown() override
    {
        PXRLT_release(pxr);
        pxr->pszServer = psSavedServer;
        PXRDestroy(pxr);
        PXRSetTraceFunction(nullptr, nullptr);
        PXR_releaseLibrary();
        LumatrekTest::TearDown();
    }

    // The stream socket as the network thread would set it.
    void stream(bool bUp) { SetConnectionState(light, LT_SOCKET_STREAM, bUp ? LT_SOCKET_CONNECTED : 0); }
    // Reads the bytes as reception does and dispatches every packet on this thread.
    void feed(const std::string &bytes)
    {
        LT_Link sLink = {nullptr, reinterpret_cast<const uint8_t *>(bytes.data()), uint32_t(bytes.size()), 0};
        LumatrekMessageHeader sHeader;
        while (LT_readHeader(&sLink, &sHeader, 0) && ReceivePacket(light, &sLink, &sHeader)) {
        }
        while (auto *psEntry = static_cast<LT_PacketEntry *>(SA_ReadQueue(light->psStream->psNetQueue, 0))) {
            LT_dispatchEntry(light, psEntry);
            SA_WritePool(light->psStream->psPool, psEntry);
        }
    }
    // The stream comes up and the sensor sends its configuration.
    void connect(const kgvsim::StreamSetup &setup)
    {
        stream(true);
        feed(kgvsim::streamConfiguration(setup));
    }
    bool connected() { return SA_AtomicLoad(&pxr->bSynchronousConnected) && SA_AtomicLoad(&pxr->bAsynchronousConnected); }
    void subscribe(const char *pcszInfo, const char *pcszConfig)
    {
        PXRMsg *psMsg = PXRMsgCreate();
        PXRMsgElement *psRoot = PXRLT_newRoot(psMsg, "setEnableStreams");
        PXRMsgElementSetAttribute(psRoot, "infoChanges", pcszInfo);
        PXRMsgElementSetAttribute(psRoot, "configChanges", pcszConfig);
        EXPECT_EQ(PXRLT_sendAsynchronousMessage(pxr, psMsg), 1);
        PXRMsgDestroy(psMsg);
    }
    // Every message waiting in the handle's queue, taken out; the caller destroys them.
    std::vector<PXRMsg *> popAll()
    {
        std::vector<PXRMsg *> messages;
        while (PXRMsg *psMsg = PXRPopMessage(pxr))
            messages.push_back(psMsg);
        return messages;
    }
    void drain()
    {
        std::vector<PXRMsg *> messages = popAll();
        destroyAll(messages);
    }
    static std::vector<std::string> roots(const std::vector<PXRMsg *> &messages)
    {
        std::vector<std::string> names;
        for (PXRMsg *psMsg : messages)
            names.push_back(PXRMsgElementName(PXRMsgChild(psMsg)));
        return names;
    }
    static void destroyAll(std::vector<PXRMsg *> &messages)
    {
        for (PXRMsg *psMsg : messages)
            PXRMsgDestroy(psMsg);
        messages.clear();
    }
    PXRMsgElement *cachedRoot(PXRMsg *psCache) { return PXRMsgChild(psCache); }
    size_t traceCount(const std::string &text)
    {
        std::lock_guard lock(traceMutex);
        size_t szCount = 0;
        for (const std::string &line : traceLines)
            szCount += line.find(text) != std::string::npos;
        return szCount;
    }
    static int onTrace(PXR *, int, const char *pcszText, void *pUser)
    {
        auto *psTest = static_cast<BridgeTest *>(pUser);
        std::lock_guard lock(psTest->traceMutex);
        psTest->traceLines.emplace_back(pcszText);
        return 1;
    }

    PXR *pxr = nullptr;
    PXRLT *bridge = nullptr;
    LumatrekHandle *light = nullptr;
    char aszServer[16] = "127.0.0.1";
    char *psSavedServer = nullptr;
    std::mutex traceMutex;
    std::vector<std::string> traceLines;
};

#endif
