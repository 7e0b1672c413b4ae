// The receive queue: capacity and drops, the new-message event and callbacks, sharing one
// queue between handles, and delivery of pushed messages through a bound handle.
#include <thread>

#include "ConnectionTestSupport.h"

using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Role;

namespace {

struct Calls {
    std::atomic<int> iQueue{0};
    std::atomic<int> iHandle{0};
};

void onQueue(PXRQueue *, void *pUser)
{
    static_cast<Calls *>(pUser)->iQueue++;
}

void onHandle(PXR *, void *pUser)
{
    static_cast<Calls *>(pUser)->iHandle++;
}

class QueueTest : public ConnectionTest {
protected:
    void SetUp() override
    {
        ConnectionTest::SetUp();
        queue = PXRQueueCreate();
        ASSERT_NE(queue, nullptr);
    }
    void TearDown() override
    {
        PXRDestroy(pxr);
        pxr = nullptr;
        EXPECT_EQ(PXRQueueDestroy(queue), 1);
        ConnectionTest::TearDown();
    }
    int push(const char *pcszRoot = "anpr")
    {
        PXRMsg *psMsg = makeMessage(pcszRoot);
        int bTaken = PXRQueuePushMessage(queue, psMsg);
        if (!bTaken)
            PXRMsgDestroy(psMsg);
        return bTaken;
    }
    void popAll()
    {
        while (PXRMsg *psMsg = PXRQueuePopMessage(queue))
            PXRMsgDestroy(psMsg);
    }
    PXRQueue *queue = nullptr;
};

} // namespace

TEST_F(QueueTest, FullQueueRefusesAndCountsTheDrop)
{
    EXPECT_EQ(PXRQueueGetMaxQueueSize(queue), 128u);
    for (int i = 0; i < 128; i++)
        ASSERT_EQ(push(), 1);
    EXPECT_EQ(push(), 0);
    EXPECT_STREQ(PXRGetLastError(queue), "Queue is full");
    EXPECT_EQ(PXRQueueGetMessageDrops(queue), 1u);
    EXPECT_EQ(PXRQueueGetQueueSize(queue), 128u);
    PXRQueueResetMessageDrops(queue);
    EXPECT_EQ(PXRQueueGetMessageDrops(queue), 0u);
    // A lower capacity refuses every push until enough messages are popped.
    PXRQueueSetMaxQueueSize(queue, 2);
    EXPECT_EQ(push(), 0);
    for (int i = 0; i < 126; i++)
        PXRMsgDestroy(PXRQueuePopMessage(queue));
    EXPECT_EQ(push(), 0);
    PXRMsgDestroy(PXRQueuePopMessage(queue));
    EXPECT_EQ(push(), 1);
    EXPECT_STREQ(PXRGetLastError(queue), "");
}

TEST_F(QueueTest, MessagesComeOutOldestFirst)
{
    push("first");
    push("second");
    PXRMsg *psFirst = PXRQueuePopMessage(queue);
    PXRMsg *psSecond = PXRQueuePopMessage(queue);
    EXPECT_EQ(rootName(psFirst), "first");
    EXPECT_EQ(rootName(psSecond), "second");
    EXPECT_EQ(PXRQueuePopMessage(queue), nullptr);
    PXRMsgDestroy(psFirst);
    PXRMsgDestroy(psSecond);
}

TEST_F(QueueTest, DropsFromConcurrentProducersAreAllCounted)
{
    PXRQueueSetMaxQueueSize(queue, 0);
    std::vector<std::thread> producers;
    for (int t = 0; t < 4; t++)
        producers.emplace_back([&] {
            for (int i = 0; i < 500; i++)
                push();
        });
    for (int i = 0; i < 500; i++)
        PXRQueueResetMessageDrops(queue), PXRQueueGetMessageDrops(queue);
    for (std::thread &producer : producers)
        producer.join();
    PXRQueueResetMessageDrops(queue);
    producers.clear();
    for (int t = 0; t < 4; t++)
        producers.emplace_back([&] {
            for (int i = 0; i < 500; i++)
                push();
        });
    for (std::thread &producer : producers)
        producer.join();
    EXPECT_EQ(PXRQueueGetMessageDrops(queue), 2000u);
}

TEST_F(QueueTest, CallbackFiresWhenAMessageLandsInTheEmptyQueue)
{
    Calls calls;
    PXRQueueSetNewMessageCallback(queue, &onQueue, &calls);
    PXRQueue_setHandleCallback(queue, &onHandle, &calls);
    push();
    push();
    EXPECT_EQ(calls.iQueue, 1);
    popAll();
    push();
    EXPECT_EQ(calls.iQueue, 2);
    EXPECT_EQ(calls.iHandle, 0); // the queue callback wins
    PXRQueueSetNewMessageCallback(queue, nullptr, nullptr);
    popAll();
    push();
    EXPECT_EQ(calls.iHandle, 1);
    popAll();
}

TEST_F(QueueTest, EventIsSetByEveryPushAcceptedOrRefused)
{
    EXPECT_EQ(PXRQueueWaitForNewMessage(queue, 0), 0);
    push();
    EXPECT_EQ(PXRQueueWaitForNewMessage(queue, 0), 1);
    EXPECT_EQ(PXRQueueWaitForNewMessage(queue, 0), 0);
    PXRQueueSetMaxQueueSize(queue, 1);
    EXPECT_EQ(push(), 0);
    EXPECT_EQ(PXRQueueWaitForNewMessage(queue, 0), 1);
    popAll();
}

TEST_F(QueueTest, SharedQueueOutlivesItsHandlesAndRefusesToGoWhileUsed)
{
    EXPECT_EQ(PXRSetQueue(pxr, queue), 1);
    EXPECT_EQ(PXRGetMaxQueueSize(pxr), 128u);
    push();
    EXPECT_EQ(PXRQueueDestroy(queue), 0);
    EXPECT_STREQ(PXRGetLastError(queue), "There are 1 sensors using this queue.");
    Calls calls;
    PXRSetNewMessageCallback(pxr, &onHandle, &calls);
    EXPECT_TRUE(traced("4 [PXR]PXR uses a external queue, it is not possible to set a callback for the PXR. Use "
                       "the callback of the queue"));
    EXPECT_EQ(queue->rHandleCallback, nullptr);
    PXRDestroy(pxr);
    pxr = nullptr;
    EXPECT_EQ(PXRQueueGetQueueSize(queue), 1u);
    popAll();
}

TEST_F(QueueTest, QueueOfABoundHandleCannotBeChanged)
{
    FybSensor sensor;
    ASSERT_EQ(bindTo(sensor), 1);
    EXPECT_EQ(PXRSetQueue(pxr, queue), 0);
    EXPECT_STREQ(PXRGetLastError(pxr), "The queue of a bound PXR can not be changed");
    PXRUnbind(pxr);
    EXPECT_EQ(PXRSetQueue(pxr, nullptr), 0);
    EXPECT_STREQ(PXRGetLastError(pxr), "No queue given");
    EXPECT_EQ(PXRSetQueue(pxr, queue), 1);
}

TEST_F(QueueTest, ReceivedMessageBecomesReadOnlyWithItsHandle)
{
    PXRMsg *psEmpty = PXRMsgCreate();
    EXPECT_EQ(PXR_pushReceivedMessage(pxr, psEmpty), 1); // destroyed, counted as delivered
    EXPECT_EQ(PXRGetQueueSize(pxr), 0u);
    EXPECT_EQ(PXR_pushReceivedMessage(pxr, makeMessage("anpr")), 1);
    PXRMsg *psMsg = PXRPopMessage(pxr);
    ASSERT_NE(psMsg, nullptr);
    EXPECT_EQ(PXRMsgIsReadOnly(psMsg), 1);
    EXPECT_EQ(PXRMsgGetPXR(psMsg), pxr);
    PXRMsgDestroy(psMsg);
    EXPECT_EQ(PXRPopMessage(nullptr), nullptr);
}

TEST_F(QueueTest, PushedMessagesReachTheHandleCallbackInOrder)
{
    Calls calls;
    PXRSetNewMessageCallback(pxr, &onHandle, &calls);
    FybSensor sensor;
    connectTo(sensor);
    std::string burst = fybsim::wireOf(Element("anpr").set("plate", "AB123")) +
                        fybsim::wireOf(Element("keep-alive")) +
                        fybsim::wireOf(Element("video").withContent(std::string(70000, '\x7f'))) +
                        fybsim::wireOf(Element("trace").set("text", "x"));
    const uint32_t u32Before = PXRGetQueueSize(pxr);
    ASSERT_EQ(sensor.push(burst), 1u);
    ASSERT_TRUE(waitQueueSize(u32Before + 3));
    EXPECT_GE(calls.iHandle, 1);
    std::vector<std::string> roots;
    while (PXRMsg *psMsg = PXRPopMessage(pxr)) {
        roots.push_back(rootName(psMsg));
        if (roots.back() == "video") {
            EXPECT_EQ(PXRMsgElementContentSize(PXRMsgChild(psMsg)), 70000u);
        }
        PXRMsgDestroy(psMsg);
    }
    EXPECT_EQ(roots, (std::vector<std::string>{"anpr", "video", "trace"}));
}

TEST_F(QueueTest, FullHandleQueueDropsWhatArrives)
{
    FybSensor sensor;
    PXRSetMaxQueueSize(pxr, 1);
    connectTo(sensor);
    std::string burst;
    for (int i = 0; i < 3; i++)
        burst += fybsim::wireOf(Element("anpr").set("n", std::to_string(i)));
    const uint32_t u32Before = PXRGetMessageDrops(pxr);
    sensor.push(burst);
    ASSERT_TRUE(waitDrops(u32Before + 2));
    PXRMsg *psMsg = PXRPopMessage(pxr);
    EXPECT_EQ(attributeOf(psMsg, "n"), "0");
    PXRMsgDestroy(psMsg);
    PXRResetMessageDrops(pxr);
    EXPECT_EQ(PXRGetMessageDrops(pxr), 0u);
}

TEST_F(QueueTest, MessageSplitAcrossReadSlicesIsDeliveredWhole)
{
    FybSensor sensor;
    connectTo(sensor);
    std::string bytes = fybsim::wireOf(Element("anpr").set("plate", "SPLIT1"));
    // Pauses longer than the receive slice, the first one inside the 19-byte first line.
    sensor.push(bytes, {5, 30, bytes.size() - 3}, Role::Asynchronous, 250ms);
    ASSERT_EQ(PXRWaitForNewMessage(pxr, 5000), 1);
    PXRMsg *psMsg = PXRPopMessage(pxr);
    EXPECT_EQ(attributeOf(psMsg, "plate"), "SPLIT1");
    PXRMsgDestroy(psMsg);
    EXPECT_EQ(sensor.connectionCount(Role::Asynchronous), 1u);
}
