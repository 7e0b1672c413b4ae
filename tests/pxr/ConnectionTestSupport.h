// Fixture of the connection tests: the library started, the dialogue's time constants
// shortened, every trace and connection-state report recorded (from any thread), and a
// test sensor to bind to.
#ifndef CONNECTION_TEST_SUPPORT_H
#define CONNECTION_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "FybSensor.h"
#include "PXR_Internal.h"

using namespace std::chrono_literals;

struct StateReport {
    int bConnected;
    uint32_t u32SslErrors;
};

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(PXR_initLibrary(), 1);
        PXRSetTraceFunction(&ConnectionTest::record, this);
        PXR_resetTiming();
        PXR_Timing *psTiming = PXR_timing();
        psTiming->u32ConnectRetryMs = 50;
        psTiming->u32TlsRetryMs = 50;
        psTiming->u32FirstBytesTimeoutMs = 1000;
        psTiming->u32HelloTimeoutMs = 1000;
        psTiming->u32ReconnectDelayMs = 100;
        psTiming->u32AsynchronousReadMs = 100;
        psTiming->u32MessageTimeoutMs = 1000;
        psTiming->u32KeepAliveMs = 300;
        psTiming->u32SilenceDropMs = 1000;
        psTiming->u32KeepAliveReplyTimeoutMs = 1000;
        psTiming->u32RequestPollMs = 50;
        psTiming->u32StopPollMs = 50;
        pxr = PXRCreate();
        ASSERT_NE(pxr, nullptr);
        PXRSetConnectionStateCallback2(pxr, &ConnectionTest::onState, this);
    }
    void TearDown() override
    {
        PXRDestroy(pxr);
        if (HasFailure() || getenv("PXR_TEST_TRACES")) {
            std::lock_guard lock(mutex);
            for (const std::string &line : traces)
                printf("  trace: %s\n", line.c_str());
        }
        PXRSetTraceFunction(nullptr, nullptr);
        PXR_setLegacyBridge(nullptr);
        PXR_resetTiming();
        PXR_releaseLibrary();
    }

    int bindTo(const fybsim::FybSensor &sensor, const char *pcszOptions = nullptr, bool bSecured = false)
    {
        return bSecured ? PXRBindS(pxr, "127.0.0.1", sensor.port(), pcszOptions)
                        : PXRBind(pxr, "127.0.0.1", sensor.port(), pcszOptions);
    }
    // Binds and waits until both sides see both connections up.
    void connectTo(const fybsim::FybSensor &sensor, const char *pcszOptions = nullptr)
    {
        ASSERT_EQ(bindTo(sensor, pcszOptions), 1);
        ASSERT_TRUE(waitConnected());
        if (pxr->bAsynchronousEnabled) {
            ASSERT_TRUE(sensor.waitForConnections(fybsim::Role::Asynchronous, 1, 5s));
        }
        if (pxr->bSynchronousEnabled) {
            ASSERT_TRUE(sensor.waitForConnections(fybsim::Role::Synchronous, 1, 5s));
        }
    }
    // Until the handle reports itself connected.
    bool waitConnected(std::chrono::milliseconds timeout = 5s)
    {
        return waitFor(timeout, [&] { return PXRGetConnectionState(pxr) == 1; });
    }

    // Until the handle's queue holds count messages (each push, taken or dropped, sets its event).
    bool waitQueueSize(uint32_t u32Count, uint32_t u32TimeoutMs = 5000)
    {
        while (PXRGetQueueSize(pxr) < u32Count)
            if (!PXRWaitForNewMessage(pxr, u32TimeoutMs))
                return false;
        return true;
    }
    bool waitDrops(uint32_t u32Count, uint32_t u32TimeoutMs = 5000)
    {
        while (PXRGetMessageDrops(pxr) < u32Count)
            if (!PXRWaitForNewMessage(pxr, u32TimeoutMs))
                return false;
        return true;
    }
    bool traced(const std::string &text) const
    {
        std::lock_guard lock(mutex);
        return countLocked(text) > 0;
    }
    size_t traceCount(const std::string &text) const
    {
        std::lock_guard lock(mutex);
        return countLocked(text);
    }
    // Until a trace line holding the text has been seen count times.
    bool waitTrace(const std::string &text, std::chrono::milliseconds timeout = 5s, size_t count = 1)
    {
        return waitFor(timeout, [&] { return countLocked(text) >= count; });
    }
    std::vector<StateReport> reports() const
    {
        std::lock_guard lock(mutex);
        return states;
    }
    bool waitReports(size_t count, std::chrono::milliseconds timeout = 5s)
    {
        return waitFor(timeout, [&] { return states.size() >= count; });
    }
    template <typename Pred> bool waitFor(std::chrono::milliseconds timeout, Pred pred)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, pred);
    }

    // Called on the connection threads with each report; tests may act from here.
    std::function<void(const StateReport &)> onReport;

    PXR *pxr = nullptr;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> traces;
    std::vector<StateReport> states;

private:
    size_t countLocked(const std::string &text) const
    {
        size_t n = 0;
        for (const std::string &line : traces)
            n += line.find(text) != std::string::npos ? 1 : 0;
        return n;
    }
    static int record(PXR *, int iLevel, const char *pcszText, void *pUser)
    {
        auto *self = static_cast<ConnectionTest *>(pUser);
        std::lock_guard lock(self->mutex);
        self->traces.push_back(std::to_string(iLevel) + " " + pcszText);
        self->changed.notify_all();
        return 0;
    }
    static void onState(PXR *, int bConnected, uint32_t u32SslErrors, void *pUser)
    {
        auto *self = static_cast<ConnectionTest *>(pUser);
        StateReport report{bConnected, u32SslErrors};
        if (self->onReport)
            self->onReport(report);
        std::lock_guard lock(self->mutex);
        self->states.push_back(report);
        self->changed.notify_all();
    }
};

// A message whose root is the named element with attributes name, value, name, value...
inline PXRMsg *makeMessage(const char *pcszRoot, std::initializer_list<const char *> attributes = {})
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate(pcszRoot);
    for (auto it = attributes.begin(); it != attributes.end() && it + 1 != attributes.end(); it += 2)
        PXRMsgElementSetAttribute(psRoot, *it, *(it + 1));
    PXRMsgSetChild(psMsg, psRoot);
    return psMsg;
}

inline std::string attributeOf(PXRMsg *psMsg, const char *pcszName)
{
    const char *pcszValue = PXRMsgElementAttributeValue(PXRMsgChild(psMsg), pcszName);
    return pcszValue ? pcszValue : "(none)";
}

inline std::string rootName(PXRMsg *psMsg)
{
    return PXRMsgChild(psMsg) ? PXRMsgElementName(PXRMsgChild(psMsg)) : "";
}

#endif
