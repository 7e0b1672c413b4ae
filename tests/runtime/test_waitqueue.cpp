// Request/reply wait queues between real client and server threads.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "SA.h"
#include "WaitQueueInternal.h"

namespace {

constexpr uint32_t LONG_WAIT_MS = 10000;

struct Request {
    int question = 0;
    std::atomic<int> answer{0};
};

class WaitQueue : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
        ASSERT_EQ(SA_CreateSemaphore(&pending, 0, 100), SA_OK);
    }
    void TearDown() override
    {
        SA_SetWaitQueueSentHookForTest(nullptr);
        SA_DestroyWaitQueue(&queue);
        SA_DestroySemaphore(&pending);
        SA_Release();
    }
    void makeQueue(uint32_t size) { ASSERT_EQ(SA_CreateWaitQueue(&queue, size), SA_OK); }

    SA_WaitQueueData queue = nullptr;
    SA_Semaphore pending = nullptr;  // raised each time a request becomes pending (see hook)
};

SA_Semaphore g_pending = nullptr;

void countPending(void *)
{
    SA_ReleaseSemaphore(g_pending, 1);
}

// A client thread: one send, then its result is published and `done` is set.
struct Client {
    SA_WaitQueueData queue;
    Request request;
    uint32_t timeoutMs = SA_INFINITE;
    int result = -2;
    SA_Event done = nullptr;
    SA_Thread thread = nullptr;
};

void sendOnce(void *arg)
{
    auto *client = (Client *)arg;
    client->result = SA_SendWaitQueue(client->queue, &client->request, client->timeoutMs);
    SA_SetEvent(client->done);
}

void startClient(Client &client, SA_WaitQueueData queue, int question, uint32_t timeoutMs)
{
    client.queue = queue;
    client.request.question = question;
    client.timeoutMs = timeoutMs;
    ASSERT_EQ(SA_CreateEvent(&client.done), SA_OK);
    ASSERT_EQ(SA_CreateThread(&client.thread, sendOnce, &client), SA_OK);
}

void joinClient(Client &client)
{
    EXPECT_EQ(SA_WaitThreadTimeout(client.thread, LONG_WAIT_MS), SA_OK);
    SA_ExitThread(&client.thread);
    SA_DestroyEvent(&client.done);
}

Request *takeRequest(SA_WaitQueueData queue, SA_WaitQueueItem *handle)
{
    return (Request *)SA_WaitQueue(queue, LONG_WAIT_MS, handle);
}

TEST_F(WaitQueue, ServerReplyReachesTheWaitingClient)
{
    makeQueue(2);
    Client client;
    startClient(client, queue, 21, SA_INFINITE);
    SA_WaitQueueItem handle = nullptr;
    Request *request = takeRequest(queue, &handle);
    ASSERT_EQ(request, &client.request);
    ASSERT_NE(handle, nullptr);
    request->answer = request->question * 2;
    EXPECT_EQ(SA_ReplyWaitQueue(handle), SA_OK);
    joinClient(client);
    EXPECT_EQ(client.result, SA_OK);
    EXPECT_EQ(client.request.answer, 42);
}

TEST_F(WaitQueue, UntakenRequestTimesOutAndIsWithdrawn)
{
    makeQueue(1);
    Request request;
    EXPECT_EQ(SA_SendWaitQueue(queue, &request, 20), SA_TIMEOUT);
    SA_WaitQueueItem handle = (SA_WaitQueueItem)&request;
    EXPECT_EQ(SA_WaitQueue(queue, 0, &handle), nullptr);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(SA_SendWaitQueue(queue, &request, 0), SA_TIMEOUT) << "the only item is free again";
}

TEST_F(WaitQueue, FullQueueRefusesASendAtOnce)
{
    makeQueue(1);
    Client client;
    startClient(client, queue, 1, SA_INFINITE);
    SA_WaitQueueItem handle = nullptr;
    ASSERT_NE(takeRequest(queue, &handle), nullptr);
    Request other;
    EXPECT_EQ(SA_SendWaitQueue(queue, &other, LONG_WAIT_MS), SA_ERROR);
    EXPECT_EQ(SA_ReplyWaitQueue(handle), SA_OK);
    joinClient(client);
    EXPECT_EQ(client.result, SA_OK);
}

TEST_F(WaitQueue, ClientWhoseTimeOutRunsOutWhileTheServerWorksWaitsForAndReportsTheReply)
{
    makeQueue(1);
    Client client;
    startClient(client, queue, 5, 20);
    SA_WaitQueueItem handle = nullptr;
    Request *request = takeRequest(queue, &handle);
    ASSERT_EQ(request, &client.request);
    // Well past the client's 20 ms: it must still be inside the send, because the server
    // may write into the request record until its reply.
    EXPECT_EQ(SA_WaitEventTimeout(client.done, 200), SA_TIMEOUT);
    request->answer = 55;
    EXPECT_EQ(SA_ReplyWaitQueue(handle), SA_OK);
    ASSERT_EQ(SA_WaitEventTimeout(client.done, LONG_WAIT_MS), SA_OK);
    EXPECT_EQ(client.result, SA_OK) << "a reply that was given is not a time-out";
    EXPECT_EQ(client.request.answer, 55);
    joinClient(client);
}

TEST_F(WaitQueue, PendingRequestsAreTakenOldestFirstAndRepliedInAnyOrder)
{
    makeQueue(3);
    g_pending = pending;
    SA_SetWaitQueueSentHookForTest(countPending);
    Client clients[3];
    for (int i = 0; i < 3; i++) {
        startClient(clients[i], queue, i, SA_INFINITE);
        ASSERT_EQ(SA_TakeSemaphoreTimeout(pending, LONG_WAIT_MS), SA_OK);  // client i is pending
    }
    SA_WaitQueueItem handles[3] = {};
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(takeRequest(queue, &handles[i]), &clients[i].request);
    SA_WaitQueueItem none = nullptr;
    EXPECT_EQ(SA_WaitQueue(queue, 0, &none), nullptr) << "taken requests are not handed out twice";
    for (int i = 2; i >= 0; i--) {
        clients[i].request.answer = 100 + i;
        EXPECT_EQ(SA_ReplyWaitQueue(handles[i]), SA_OK);
        ASSERT_EQ(SA_WaitEventTimeout(clients[i].done, LONG_WAIT_MS), SA_OK);
    }
    for (int i = 0; i < 3; i++) {
        joinClient(clients[i]);
        EXPECT_EQ(clients[i].result, SA_OK);
        EXPECT_EQ(clients[i].request.answer, 100 + i);
    }
}

// Clients with short and long time-outs against two servers: whatever the timing, a client
// sees 0 exactly when a server answered its request, and the queue never deadlocks.
constexpr int LOAD_CLIENTS = 6;
constexpr int LOAD_REQUESTS = 300;

struct Load {
    SA_WaitQueueData queue;
    std::atomic<bool> stop{false};
    std::atomic<int> served{0};
    std::atomic<int> replied{0};
    std::atomic<int> mismatches{0};
    std::atomic<int> errors{0};
};

void serve(void *arg)
{
    auto *load = (Load *)arg;
    while (!load->stop) {
        SA_WaitQueueItem handle = nullptr;
        auto *request = (Request *)SA_WaitQueue(load->queue, 5, &handle);
        if (request == nullptr)
            continue;
        request->answer = request->question + 1;
        load->served++;
        SA_ReplyWaitQueue(handle);
    }
}

struct LoadClient {
    Load *load;
    int index;
};

void sendMany(void *arg)
{
    auto *client = (LoadClient *)arg;
    Load *load = client->load;
    for (int i = 0; i < LOAD_REQUESTS; i++) {
        Request request;
        request.question = client->index * LOAD_REQUESTS + i;
        uint32_t timeout = (i % 3 == 0) ? 0 : (i % 3 == 1) ? 1 : LONG_WAIT_MS;
        int result = SA_SendWaitQueue(load->queue, &request, timeout);
        bool answered = request.answer == request.question + 1;
        if (result == SA_OK)
            load->replied++;
        else if (result != SA_TIMEOUT)
            load->errors++;
        if ((result == SA_OK) != answered)
            load->mismatches++;
    }
}

TEST_F(WaitQueue, ResultAlwaysMatchesWhetherTheServerRepliedUnderLoad)
{
    makeQueue(LOAD_CLIENTS);
    Load load;
    load.queue = queue;
    SA_Thread servers[2] = {}, clients[LOAD_CLIENTS] = {};
    LoadClient clientArgs[LOAD_CLIENTS];
    for (SA_Thread &server : servers)
        ASSERT_EQ(SA_CreateThread(&server, serve, &load), SA_OK);
    for (int c = 0; c < LOAD_CLIENTS; c++) {
        clientArgs[c] = {&load, c};
        ASSERT_EQ(SA_CreateThread(&clients[c], sendMany, &clientArgs[c]), SA_OK);
    }
    for (SA_Thread &client : clients) {
        EXPECT_EQ(SA_WaitThreadTimeout(client, 60000), SA_OK);
        SA_ExitThread(&client);
    }
    load.stop = true;
    for (SA_Thread &server : servers) {
        EXPECT_EQ(SA_WaitThreadTimeout(server, LONG_WAIT_MS), SA_OK);
        SA_ExitThread(&server);
    }
    EXPECT_EQ(load.errors.load(), 0);
    EXPECT_EQ(load.mismatches.load(), 0);
    EXPECT_EQ(load.replied.load(), load.served.load());
    EXPECT_GE(load.replied.load(), LOAD_CLIENTS * LOAD_REQUESTS / 3);  // every long wait is served
}

TEST_F(WaitQueue, RefusesZeroSizeAndToleratesNullHandles)
{
    SA_WaitQueueData other = (SA_WaitQueueData)&pending;
    EXPECT_EQ(SA_CreateWaitQueue(&other, 0), SA_ERROR);
    EXPECT_EQ(other, nullptr);
    SA_DestroyWaitQueue(&other);
    SA_DestroyWaitQueue(nullptr);
    Request request;
    EXPECT_EQ(SA_SendWaitQueue(nullptr, &request, 0), SA_ERROR);
    SA_WaitQueueItem handle = nullptr;
    EXPECT_EQ(SA_WaitQueue(nullptr, 0, &handle), nullptr);
    EXPECT_EQ(SA_ReplyWaitQueue(nullptr), SA_ERROR);
}

}  // namespace
