// Fixture of the connection tests: the library started, the dialogue's time constants
// shortened, every trace and connection-state report recorded (from any thread), and a
// test sensor to bind to.
#ifndef CONNECTION_TEST_SUPPORT_H
#define CONNECTION_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <algorithm>
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
        // Connections dropped by the tests stay up only briefly: no back-off unless a test asks.
        psTiming->u32StableConnectionMs = 0;
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
        fybsim::FybSensor::Mark since = sensor.mark();
        ASSERT_EQ(bindTo(sensor, pcszOptions), 1);
        ASSERT_TRUE(waitConnected());
        if (pxr->bAsynchronousEnabled) {
            ASSERT_TRUE(sensor.waitForConnections(since, fybsim::Role::Asynchronous, 1, 5s));
        }
        if (pxr->bSynchronousEnabled) {
            ASSERT_TRUE(sensor.waitForConnections(since, fybsim::Role::Synchronous, 1, 5s));
        }
    }
    // Until the handle is connected and its report of it has come: the state turns before the
    // report is made, and a mark taken between the two would count that report as news.
    bool waitConnected(std::chrono::milliseconds timeout = 5s)
    {
        return waitFor(timeout, [&] {
            return PXRGetConnectionState(pxr) == 1 && !states.empty() && states.back().bConnected == 1;
        });
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
    // What has been traced and reported so far: waits count only what comes after a mark taken
    // when the action under test starts.
    struct Mark {
        size_t szTraces;
        size_t szReports;
    };
    Mark mark() const
    {
        std::lock_guard lock(mutex);
        return {traces.size(), states.size()};
    }
    bool traced(const std::string &text) const
    {
        std::lock_guard lock(mutex);
        return countLocked(text, 0) > 0;
    }
    size_t traceCount(const std::string &text) const
    {
        std::lock_guard lock(mutex);
        return countLocked(text, 0);
    }
    // Until a trace line holding the text has been seen count times since the mark.
    bool waitTrace(const Mark &since, const std::string &text, std::chrono::milliseconds timeout = 5s,
                   size_t count = 1)
    {
        return waitFor(timeout, [&] { return countLocked(text, since.szTraces) >= count; });
    }
    // The state reports since the mark.
    std::vector<StateReport> reports(const Mark &since) const
    {
        std::lock_guard lock(mutex);
        return {states.begin() + std::min(since.szReports, states.size()), states.end()};
    }
    // Until count state reports have come since the mark.
    bool waitReports(const Mark &since, size_t count, std::chrono::milliseconds timeout = 5s)
    {
        return waitFor(timeout, [&] { return states.size() >= since.szReports + count; });
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
    size_t countLocked(const std::string &text, size_t szFrom) const
    {
        size_t n = 0;
        for (size_t i = szFrom; i < traces.size(); i++)
            n += traces[i].find(text) != std::string::npos ? 1 : 0;
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
