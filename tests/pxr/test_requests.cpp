// Requests over the synchronous connection (answers, time-outs, late and lost answers, one
// at a time) and asynchronous messages with the stored subscription.
#include <atomic>
#include <thread>

#include "ConnectionTestSupport.h"

using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Reply;
using fybsim::Role;

namespace {

class RequestTest : public ConnectionTest {
protected:
    void connect(const char *pcszOptions = nullptr) { connectTo(sensor, pcszOptions); }
    // Sends a read-only request with that root; the answer or null.
    PXRMsg *request(const char *pcszRoot, uint32_t u32TimeoutMs)
    {
        PXRMsg *psRequest = makeMessage(pcszRoot);
        PXRMsgSetReadOnly(psRequest, 1);
        PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, u32TimeoutMs);
        PXRMsgDestroy(psRequest);
        return psAnswer;
    }
    std::string statusOf(const char *pcszRoot, uint32_t u32TimeoutMs)
    {
        PXRMsg *psAnswer = request(pcszRoot, u32TimeoutMs);
        std::string status = psAnswer ? attributeOf(psAnswer, "status") + attributeOf(psAnswer, "errorText") : "null";
        PXRMsgDestroy(psAnswer);
        return status;
    }
    // Until a setEnableStreams carrying that sequence attribute has reached the sensor.
    bool waitForSequence(const FybSensor::Mark &since, const std::string &value)
    {
        for (size_t n = 0;; n++) {
            auto r = sensor.waitForRoot(since, "setEnableStreams", 5s, n);
            if (!r)
                return false;
            if (r->attribute("sequence") && *r->attribute("sequence") == value)
                return true;
        }
    }
    FybSensor sensor;
};

} // namespace

TEST_F(RequestTest, AnswerIsReadOnlyOwnedByTheHandleWithItsContent)
{
    std::string schema(300000, 'x');
    schema[12345] = '\0';
    sensor.setReply("getXSD", Reply::message(Element("xsd").set("version", "1").withContent(schema)).after(300ms));
    connect();
    PXRMsg *psAnswer = request("getXSD", 300000);
    ASSERT_NE(psAnswer, nullptr) << PXRGetLastError(pxr);
    EXPECT_EQ(rootName(psAnswer), "xsd");
    EXPECT_NE(PXRMsgIsReadOnly(psAnswer), 0);
    EXPECT_EQ(PXRMsgGetPXR(psAnswer), pxr);
    PXRMsgElement *psRoot = PXRMsgChild(psAnswer);
    ASSERT_EQ(PXRMsgElementContentSize(psRoot), schema.size());
    EXPECT_EQ(std::string(static_cast<const char *>(PXRMsgElementContent(psRoot)), schema.size()), schema);
    PXRMsgDestroy(psAnswer);
}

TEST_F(RequestTest, RequestErrorsGiveTheirReason)
{
    PXRMsg *psEmpty = PXRMsgCreate();
    EXPECT_EQ(PXRSendRequest(pxr, psEmpty, 100), nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Synchronous mode is not enabled"); // never bound
    sensor.setHello("");
    ASSERT_EQ(bindTo(sensor), 1);
    EXPECT_EQ(PXRSendRequest(pxr, psEmpty, 100), nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Not connected");
    sensor.setHello(fybsim::wireOf(FybSensor::helloMessage()));
    sensor.dropConnections();
    ASSERT_TRUE(waitConnected());
    EXPECT_EQ(PXRSendRequest(pxr, psEmpty, 100), nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Invalid message : no element in msg");
    EXPECT_EQ(PXRSendRequest(nullptr, psEmpty, 100), nullptr);
    PXRMsgDestroy(psEmpty);
}

TEST_F(RequestTest, LateAnswerIsDroppedAndTheNextRequestGetsItsOwn)
{
    sensor.queueReply(Reply::failed("late").after(600ms));
    sensor.queueReply(Reply::failed("second"));
    connect();
    const FybSensor::Mark since = sensor.mark();
    EXPECT_EQ(request("first", 200), nullptr);
    EXPECT_TRUE(traced("7 [PXR]Timeout"));
    // The exchange read no answer within the request's time-out: the connection is made again.
    ASSERT_TRUE(sensor.waitForConnections(since, Role::Synchronous, 1, 5s));
    ASSERT_TRUE(waitConnected());
    EXPECT_EQ(statusOf("second", 5000), "failedsecond");
}

TEST_F(RequestTest, RequestNeverTakenTimesOutWithItsReason)
{
    connect();
    const FybSensor::Mark silent = sensor.mark();
    const Mark start = mark();
    sensor.setSilent(true, Role::Synchronous);
    // The thread waits for the reply to its keep-alive and takes no request meanwhile.
    ASSERT_TRUE(sensor.waitForRoot(silent, "keep-alive", 5s, 0, Role::Synchronous));
    EXPECT_EQ(request("getConfig", 200), nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Timeout");
    EXPECT_TRUE(waitTrace(start, "4 [taskSynchronous]Msg ReadFromSocket failed : Socket timeouted"));
    EXPECT_EQ(sensor.waitForRoot(silent, "getConfig", 300ms), std::nullopt);
}

TEST_F(RequestTest, AnswerEventLeftSetDoesNotEndTheNextRequest)
{
    sensor.setReply("slow", Reply::ok().after(300ms));
    connect();
    SA_SetEvent(pxr->hEventSynchronousAnswer); // as an answer that came at a requester's time-out
    EXPECT_EQ(statusOf("slow", 5000), "ok(none)");
}

TEST_F(RequestTest, BrokenConnectionEndsTheWaitingRequestAtOnce)
{
    sensor.queueReply(Reply::close().after(100ms));
    connect();
    const FybSensor::Mark since = sensor.mark();
    const Mark traces = mark();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(request("reboot", 30000), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_STREQ(PXRGetLastError(pxr), "Not connected");
    EXPECT_TRUE(waitTrace(traces, "5 [taskSynchronous]Disconnected, the message could NOT be sent"));
    ASSERT_TRUE(sensor.waitForConnections(since, Role::Synchronous, 1, 5s));
    ASSERT_TRUE(waitConnected());
    EXPECT_EQ(statusOf("getConfig", 5000), "ok(none)");
}

TEST_F(RequestTest, LinkBrokenByAnAbandonedExchangeFailsOnlyThatRequest)
{
    // No thread: the test plays the synchronous thread's part on the request slot.
    ASSERT_EQ(SA_CreateMutex(&pxr->hMutexSynchronousSend2), SA_OK);
    ASSERT_EQ(SA_CreateEvent(&pxr->hEventSynchronousAnswer), SA_OK);
    PXRMsg *psNewer = makeMessage("newer");
    pxr->psPendingRequest = psNewer;
    pxr->u32SentId = 8;
    EXPECT_EQ(PXR_setSynchronousLink(pxr, 0, 7), 0);
    EXPECT_EQ(pxr->psPendingRequest, psNewer);
    EXPECT_EQ(SA_WaitEventTimeout(pxr->hEventSynchronousAnswer, 0), SA_TIMEOUT);
    // The request whose own exchange broke the link, or any on another kind of break, fails.
    for (uint32_t u32Broken : {8u, 0u}) {
        pxr->psPendingRequest = psNewer;
        EXPECT_EQ(PXR_setSynchronousLink(pxr, 0, u32Broken), 1);
        EXPECT_EQ(pxr->psPendingRequest, nullptr);
        EXPECT_EQ(pxr->u32FailedId, 8u);
        EXPECT_EQ(SA_WaitEventTimeout(pxr->hEventSynchronousAnswer, 0), SA_OK);
    }
    PXRMsgDestroy(psNewer);
}

TEST_F(RequestTest, WritableRequestIsCopiedAndReadOnlyOneShared)
{
    connect();
    PXRMsg *psWritable = makeMessage("getConfig");
    PXRMsg *psAnswer = PXRSendRequest(pxr, psWritable, 5000);
    ASSERT_NE(psAnswer, nullptr);
    PXRMsgDestroy(psAnswer);
    const char kWarning[] = "4 [taskSynchronous]Warning, msg to be sent is NOT read only and will be copied";
    EXPECT_EQ(traceCount(kWarning), 1u);
    PXRMsgSetReadOnly(psWritable, 1);
    psAnswer = PXRSendRequest(pxr, psWritable, 5000);
    ASSERT_NE(psAnswer, nullptr);
    PXRMsgDestroy(psAnswer);
    EXPECT_EQ(traceCount(kWarning), 1u);
    // The thread's reference is gone once the request has returned.
    EXPECT_EQ(PXRMsgSetReadOnly(psWritable, 0), 1);
    PXRMsgDestroy(psWritable);
}

TEST_F(RequestTest, SecondRequestWaitsForTheFirstBeforeItsOwnTimeOut)
{
    sensor.setReply("first", Reply::failed("one").after(500ms));
    sensor.setReply("second", Reply::failed("two"));
    connect();
    std::string first;
    const FybSensor::Mark since = sensor.mark();
    std::thread other([&] { first = statusOf("first", 5000); });
    ASSERT_TRUE(sensor.waitForRoot(since, "first", 5s));
    EXPECT_EQ(statusOf("second", 300), "failedtwo");
    other.join();
    EXPECT_EQ(first, "failedone");
}

TEST_F(RequestTest, SynchronousKeepAliveIsExchangedAfterIdleTime)
{
    connect();
    const FybSensor::Mark since = sensor.mark();
    auto keepAlive = sensor.waitForRoot(since, "keep-alive", 5s, 0, Role::Synchronous);
    ASSERT_TRUE(keepAlive);
    EXPECT_EQ(statusOf("getConfig", 5000), "ok(none)");
}

// ---- asynchronous messages and the subscription ----

TEST_F(RequestTest, AsynchronousMessageErrorsGiveTheirReason)
{
    PXRMsg *psMsg = makeMessage("triggerOn");
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psMsg), 0);
    EXPECT_STREQ(PXRGetLastError(pxr), "Asynchronous mode is not enabled"); // never bound
    ASSERT_TRUE(sensor.setListening(false));
    ASSERT_EQ(bindTo(sensor), 1);
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psMsg), 0);
    EXPECT_STREQ(PXRGetLastError(pxr), "Not connected");
    PXRMsg *psEmpty = PXRMsgCreate();
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psEmpty), 0);
    EXPECT_STREQ(PXRGetLastError(pxr), "Invalid message : no element in msg");
    ASSERT_TRUE(sensor.setListening(true));
    ASSERT_TRUE(waitConnected());
    const FybSensor::Mark since = sensor.mark();
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psMsg), 1);
    auto sent = sensor.waitForRoot(since, "triggerOn", 5s, 0, Role::Asynchronous);
    EXPECT_TRUE(sent);
    EXPECT_TRUE(traced("7 [PXR]sending asynchronous message : triggerOn"));
    PXRMsgDestroy(psEmpty);
    PXRMsgDestroy(psMsg);
}

TEST_F(RequestTest, SubscriptionsBeforeTheConnectionAreMergedIntoOne)
{
    ASSERT_TRUE(sensor.setListening(false));
    ASSERT_EQ(bindTo(sensor), 1);
    for (const char *pcszValue : {"0", "1"}) {
        PXRMsg *psStreams =
            makeMessage("setEnableStreams", {"configChanges", pcszValue, "infoChanges", pcszValue, "traces", pcszValue});
        EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psStreams), 1);
        PXRMsgDestroy(psStreams);
    }
    EXPECT_EQ(traceCount("4 [PXR]Asynchronous connection not ready : the setEnableStreams message will be sent at "
                         "connection"),
              2u);
    const FybSensor::Mark since = sensor.mark();
    ASSERT_TRUE(sensor.setListening(true));
    ASSERT_TRUE(waitConnected());
    auto subscription = sensor.waitForRoot(since, "setEnableStreams", 5s);
    ASSERT_TRUE(subscription);
    for (const char *pcszName : {"configChanges", "infoChanges", "traces"})
        EXPECT_EQ(*subscription->attribute(pcszName), "1") << pcszName;
    // The sensor pushes its configuration and information in return.
    ASSERT_TRUE(waitQueueSize(2));
    PXRMsg *psConfig = PXRPopMessage(pxr);
    PXRMsg *psInfos = PXRPopMessage(pxr);
    EXPECT_EQ(rootName(psConfig), "config");
    EXPECT_EQ(rootName(psInfos), "infos");
    PXRMsgDestroy(psConfig);
    PXRMsgDestroy(psInfos);
    EXPECT_EQ(sensor.waitForRoot(since, "setEnableStreams", 300ms, 1), std::nullopt);
}

TEST_F(RequestTest, SubscriptionIsWrittenAgainAfterEveryReconnection)
{
    connect();
    PXRMsg *psStreams = makeMessage("setEnableStreams");
    PXRMsgElement *psCameras = PXRMsgElementCreate("cameras");
    PXRMsgElement *psCamera = PXRMsgElementCreate("camera");
    PXRMsgElementSetAttribute(psCamera, "id", "0");
    PXRMsgElementSetAttribute(psCamera, "enabled", "1");
    PXRMsgElementAddChild(psCameras, psCamera);
    PXRMsgElementAddChild(PXRMsgChild(psStreams), psCameras);
    const FybSensor::Mark sent = sensor.mark();
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psStreams), 1);
    PXRMsgDestroy(psStreams);
    ASSERT_TRUE(sensor.waitForRoot(sent, "setEnableStreams", 5s));
    for (int round = 0; round < 2; round++) {
        const FybSensor::Mark since = sensor.mark();
        sensor.dropConnections(Role::Asynchronous);
        ASSERT_TRUE(sensor.waitForConnections(since, Role::Asynchronous, 1, 5s));
        auto again = sensor.waitForRoot(since, "setEnableStreams", 5s);
        ASSERT_TRUE(again);
        const Element *psSent = again->message.root->child("cameras");
        ASSERT_NE(psSent, nullptr);
        ASSERT_NE(psSent->child("camera"), nullptr);
        EXPECT_EQ(*psSent->child("camera")->attribute("enabled"), "1");
    }
}

TEST_F(RequestTest, SubscriptionSentWhileTheStoredOneGoesOutIsNotLost)
{
    ASSERT_TRUE(sensor.setListening(false));
    ASSERT_EQ(bindTo(sensor), 1);
    // Hold the thread between the connection mode and the stored subscription.
    SA_LockMutex(pxr->hMutexSubscription);
    FybSensor::Mark since = sensor.mark();
    ASSERT_TRUE(sensor.setListening(true));
    ASSERT_TRUE(sensor.waitForConnections(since, Role::Asynchronous, 1, 5s));
    PXRMsg *psStreams = makeMessage("setEnableStreams", {"traces", "1"});
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psStreams), 1);
    SA_UnlockMutex(pxr->hMutexSubscription);
    auto subscription = sensor.waitForRoot(since, "setEnableStreams", 5s);
    ASSERT_TRUE(subscription);
    EXPECT_EQ(*subscription->attribute("traces"), "1");

    // Around many reconnections, every subscription reaches the sensor.
    for (int i = 0; i < 15; i++) {
        std::string value = std::to_string(i);
        if (i > 0) {
            ASSERT_TRUE(sensor.waitForConnections(since, Role::Asynchronous, 1, 5s));
        }
        since = sensor.mark();
        sensor.dropConnections(Role::Asynchronous);
        PXRMsgElementSetAttribute(PXRMsgChild(psStreams), "sequence", value.c_str());
        ASSERT_EQ(PXRSendAsynchronousMessage(pxr, psStreams), 1);
        EXPECT_TRUE(waitForSequence(since, value)) << value;
    }
    PXRMsgDestroy(psStreams);
}

// Requesters failing at the same moment while the sensor keeps dropping: each one reads the
// whole reason of its own failure, never an empty or half-written text.
TEST_F(RequestTest, EveryFailedRequestOfConcurrentThreadsReadsItsWholeReason)
{
    sensor.setDefaultReply(Reply::ok().after(5ms));
    connect();
    std::atomic<bool> stop{false};
    std::atomic<int> failures{0};
    std::mutex badMutex;
    std::vector<std::string> bad;
    auto requester = [&] {
        while (!stop) {
            PXRMsg *psRequest = makeMessage("getInfos");
            PXRMsgSetReadOnly(psRequest, 1);
            PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, 40);
            PXRMsgDestroy(psRequest);
            if (psAnswer) {
                PXRMsgDestroy(psAnswer);
                continue;
            }
            failures++;
            std::string reason = PXRGetLastError(pxr);
            if (reason != "Timeout" && reason != "Not connected") {
                std::lock_guard lock(badMutex);
                bad.push_back(reason);
            }
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; i++)
        threads.emplace_back(requester);
    // Drops until enough requests failed, with a bound so a stuck handle still ends the test.
    for (int round = 0; round < 400 && failures < 400; round++) {
        sensor.dropConnections(Role::Synchronous);
        std::this_thread::sleep_for(10ms);
    }
    stop = true;
    for (std::thread &t : threads)
        t.join();
    EXPECT_GE(failures.load(), 50);
    EXPECT_TRUE(bad.empty()) << bad.size() << " failures with the reason '" << (bad.empty() ? "" : bad[0]) << "'";
}
