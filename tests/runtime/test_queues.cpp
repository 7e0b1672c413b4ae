// Pointer pools and blocking queues, buffer pools and the parallel queue.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <set>
#include <vector>

#include "SA.h"

namespace {

class Containers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SA_Init(0, 0, -1), SA_OK); }
    void TearDown() override { SA_Release(); }
};

int g_values[64];

TEST_F(Containers, PoolKeepsWriteOrderRefusesWhenFullAndWrapsAround)
{
    SA_Pool pool = nullptr;
    ASSERT_EQ(SA_CreatePool(&pool, 3), SA_OK);
    uint32_t capacity = 0;
    EXPECT_EQ(SA_GetPoolSize(pool, &capacity), SA_OK);
    EXPECT_EQ(capacity, 3u);

    for (int round = 0; round < 5; round++) {  // several rounds move both indexes past the end
        SCOPED_TRACE(round);
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(SA_WritePool(pool, &g_values[round + i]), SA_OK);
        EXPECT_EQ(SA_WritePool(pool, &g_values[63]), SA_ERROR);
        EXPECT_EQ(SA_ReadPool(pool), &g_values[round]);
        EXPECT_EQ(SA_WritePool(pool, &g_values[round + 3]), SA_OK);  // the freed slot is usable
        for (int i = 1; i < 4; i++)
            EXPECT_EQ(SA_ReadPool(pool), &g_values[round + i]);
        EXPECT_EQ(SA_ReadPool(pool), nullptr);
    }
    SA_ReleasePool(&pool);
    EXPECT_EQ(pool, nullptr);
}

TEST_F(Containers, RingsRefuseNullHandlesAndZeroCapacity)
{
    SA_Pool pool = (SA_Pool)&g_values[0];
    EXPECT_EQ(SA_CreatePool(&pool, 0), SA_ERROR);
    EXPECT_EQ(pool, nullptr);
    SA_Queue queue = (SA_Queue)&g_values[0];
    EXPECT_EQ(SA_CreateQueue(&queue, 0), SA_ERROR);
    EXPECT_EQ(queue, nullptr);

    uint32_t capacity = 0;
    EXPECT_EQ(SA_GetPoolSize(nullptr, &capacity), SA_ERROR);
    EXPECT_EQ(SA_WritePool(nullptr, &g_values[0]), SA_ERROR);
    EXPECT_EQ(SA_ReadPool(nullptr), nullptr);
    EXPECT_EQ(SA_WriteQueue(nullptr, &g_values[0]), SA_ERROR);
    EXPECT_EQ(SA_ReadQueue(nullptr, 0), nullptr);
    SA_ReleasePool(&pool);
    SA_ReleaseQueue(&queue);
    SA_ReleasePool(nullptr);
    SA_ReleaseQueue(nullptr);
}

TEST_F(Containers, QueueReadGivesNullWhenNothingComesAndThePointerOnceWritten)
{
    SA_Queue queue = nullptr;
    ASSERT_EQ(SA_CreateQueue(&queue, 2), SA_OK);
    EXPECT_EQ(SA_ReadQueue(queue, 0), nullptr);
    EXPECT_EQ(SA_ReadQueue(queue, 20), nullptr);
    EXPECT_EQ(SA_WriteQueue(queue, &g_values[1]), SA_OK);
    EXPECT_EQ(SA_WriteQueue(queue, &g_values[2]), SA_OK);
    EXPECT_EQ(SA_WriteQueue(queue, &g_values[3]), SA_ERROR);
    EXPECT_EQ(SA_ReadQueue(queue, 0), &g_values[1]);
    EXPECT_EQ(SA_ReadQueue(queue, 0), &g_values[2]);
    EXPECT_EQ(SA_ReadQueue(queue, 0), nullptr);
    SA_ReleaseQueue(&queue);
    EXPECT_EQ(queue, nullptr);
}

struct WaitingReader {
    SA_Queue queue;
    SA_Event started;
    void *received;
};

void readWithoutLimit(void *arg)
{
    auto *reader = (WaitingReader *)arg;
    SA_SetEvent(reader->started);
    reader->received = SA_ReadQueue(reader->queue, SA_INFINITE);
}

TEST_F(Containers, BlockedReaderWakesOnWrite)
{
    WaitingReader reader{};
    ASSERT_EQ(SA_CreateQueue(&reader.queue, 1), SA_OK);
    ASSERT_EQ(SA_CreateEvent(&reader.started), SA_OK);
    SA_Thread thread = nullptr;
    ASSERT_EQ(SA_CreateThread(&thread, readWithoutLimit, &reader), SA_OK);
    ASSERT_EQ(SA_WaitEventTimeout(reader.started, 10000), SA_OK);
    EXPECT_EQ(SA_WriteQueue(reader.queue, &g_values[7]), SA_OK);
    ASSERT_EQ(SA_WaitThreadTimeout(thread, 10000), SA_OK);
    SA_ExitThread(&thread);
    EXPECT_EQ(reader.received, &g_values[7]);
    SA_DestroyEvent(&reader.started);
    SA_ReleaseQueue(&reader.queue);
}

// Producers write distinct pointers; a semaphore of free slots keeps them from meeting a
// full queue, so every write must succeed and every pointer must arrive exactly once.
constexpr int PRODUCERS = 4;
constexpr int CONSUMERS = 3;
constexpr int ITEMS_PER_PRODUCER = 2000;
constexpr uint32_t QUEUE_CAPACITY = 16;

struct Traffic {
    SA_Queue queue;
    SA_Semaphore freeSlots;
    std::vector<uint8_t> items = std::vector<uint8_t>(PRODUCERS * ITEMS_PER_PRODUCER);
    uint8_t stop = 0;
    std::atomic<int> failedWrites{0};
    std::atomic<int> timeouts{0};
    std::vector<std::vector<uint8_t *>> received = std::vector<std::vector<uint8_t *>>(CONSUMERS);
};

struct Worker {
    Traffic *traffic;
    int index;
};

void produce(void *arg)
{
    auto *worker = (Worker *)arg;
    Traffic *t = worker->traffic;
    for (int i = 0; i < ITEMS_PER_PRODUCER; i++) {
        if (SA_TakeSemaphoreTimeout(t->freeSlots, 10000) != SA_OK) {
            t->timeouts++;
            return;
        }
        if (SA_WriteQueue(t->queue, &t->items[worker->index * ITEMS_PER_PRODUCER + i]) != SA_OK)
            t->failedWrites++;
    }
}

void consume(void *arg)
{
    auto *worker = (Worker *)arg;
    Traffic *t = worker->traffic;
    for (;;) {
        auto *item = (uint8_t *)SA_ReadQueue(t->queue, 10000);
        if (item == nullptr) {
            t->timeouts++;
            return;
        }
        SA_ReleaseSemaphore(t->freeSlots, 1);
        if (item == &t->stop)
            return;
        t->received[worker->index].push_back(item);
    }
}

TEST_F(Containers, ProducersAndConsumersHandOverEveryPointerExactlyOnce)
{
    Traffic t;
    ASSERT_EQ(SA_CreateQueue(&t.queue, QUEUE_CAPACITY), SA_OK);
    ASSERT_EQ(SA_CreateSemaphore(&t.freeSlots, QUEUE_CAPACITY, QUEUE_CAPACITY), SA_OK);
    Worker producers[PRODUCERS], consumers[CONSUMERS];
    SA_Thread producerThreads[PRODUCERS] = {}, consumerThreads[CONSUMERS] = {};
    for (int c = 0; c < CONSUMERS; c++) {
        consumers[c] = {&t, c};
        ASSERT_EQ(SA_CreateThread(&consumerThreads[c], consume, &consumers[c]), SA_OK);
    }
    for (int p = 0; p < PRODUCERS; p++) {
        producers[p] = {&t, p};
        ASSERT_EQ(SA_CreateThread(&producerThreads[p], produce, &producers[p]), SA_OK);
    }
    for (SA_Thread &thread : producerThreads) {
        EXPECT_EQ(SA_WaitThreadTimeout(thread, 60000), SA_OK);
        SA_ExitThread(&thread);
    }
    for (int c = 0; c < CONSUMERS; c++) {
        ASSERT_EQ(SA_TakeSemaphoreTimeout(t.freeSlots, 10000), SA_OK);
        EXPECT_EQ(SA_WriteQueue(t.queue, &t.stop), SA_OK);
    }
    for (SA_Thread &thread : consumerThreads) {
        EXPECT_EQ(SA_WaitThreadTimeout(thread, 60000), SA_OK);
        SA_ExitThread(&thread);
    }
    EXPECT_EQ(t.failedWrites.load(), 0);
    EXPECT_EQ(t.timeouts.load(), 0);

    std::set<uint8_t *> seen;
    size_t total = 0;
    for (const auto &list : t.received) {
        total += list.size();
        seen.insert(list.begin(), list.end());
        // One producer's pointers reach any one consumer in the order they were written.
        uint8_t *last[PRODUCERS] = {};
        for (uint8_t *item : list) {
            int producer = (int)((item - t.items.data()) / ITEMS_PER_PRODUCER);
            EXPECT_LT(last[producer], item);
            last[producer] = item;
        }
    }
    EXPECT_EQ(total, t.items.size());
    EXPECT_EQ(seen.size(), t.items.size());
    EXPECT_EQ(SA_ReadQueue(t.queue, 0), nullptr);
    SA_DestroySemaphore(&t.freeSlots);
    SA_ReleaseQueue(&t.queue);
}

TEST_F(Containers, BufferPoolLendsItsBuffersAndTakesThemBack)
{
    for (int aligned : {0, 1}) {
        SCOPED_TRACE(aligned);
        SA_Pool pool = SU_PoolCreate(3);
        ASSERT_NE(pool, nullptr);
        ASSERT_EQ(SU_PoolFill(pool, 100, aligned), 1);
        void *buffers[3];
        for (void *&buffer : buffers) {
            buffer = SU_PoolRead(pool);
            ASSERT_NE(buffer, nullptr);
            memset(buffer, 0xAB, 100);
            if (aligned) {
                EXPECT_EQ((uintptr_t)buffer % 16, 0u);
            }
        }
        EXPECT_EQ(SU_PoolRead(pool), nullptr);
        for (void *&buffer : buffers) {
            EXPECT_EQ(SU_PoolWrite(&buffer), 1);
            EXPECT_EQ(buffer, nullptr);
        }
        SU_PoolDestroy(&pool);  // frees the three buffers it holds again
        EXPECT_EQ(pool, nullptr);
    }
}

TEST_F(Containers, BufferWrittenIntoItsFullPoolStaysWithTheCaller)
{
    SA_Pool pool = SU_PoolCreate(2);
    ASSERT_NE(pool, nullptr);
    ASSERT_EQ(SU_PoolFill(pool, 32, 0), 1);
    void *extra = SU_PoolBufferCalloc(pool, 32, 1);
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ((uintptr_t)extra % 16, 0u);
    const std::vector<uint8_t> zeros(32, 0);
    EXPECT_EQ(memcmp(extra, zeros.data(), 32), 0);
    void *kept = extra;
    EXPECT_EQ(SU_PoolWrite(&extra), 0);
    EXPECT_EQ(extra, kept);
    SU_PoolBufferFree(&extra);
    EXPECT_EQ(extra, nullptr);

    void *none = nullptr;
    EXPECT_EQ(SU_PoolWrite(&none), 0);
    EXPECT_EQ(SU_PoolWrite(nullptr), 0);
    SU_PoolBufferFree(&none);
    SU_PoolDestroy(&pool);
    SU_PoolDestroy(&pool);
    SU_PoolDestroy(nullptr);
}

TEST_F(Containers, FillingAPoolThatHoldsBuffersFailsAndEmptiesIt)
{
    SA_Pool pool = SU_PoolCreate(2);
    ASSERT_NE(pool, nullptr);
    ASSERT_EQ(SU_PoolFill(pool, 8, 0), 1);
    void *lent = SU_PoolRead(pool);
    ASSERT_NE(lent, nullptr);
    EXPECT_EQ(SU_PoolFill(pool, 8, 0), 0);  // one slot free, two buffers to place
    EXPECT_EQ(SU_PoolRead(pool), nullptr);
    EXPECT_EQ(SU_PoolWrite(&lent), 1);  // the lent buffer still goes home
    EXPECT_EQ(SU_PoolBufferCalloc(pool, 0xFFFFFFF8u, 0), nullptr) << "size plus header overflows";
    SU_PoolDestroy(&pool);
}

TEST_F(Containers, ParallelQueueIsMadeWithItsItemPoolAndDestroyedWhole)
{
    SU_ParaQueueParams params{4, nullptr, nullptr};
    SU_ParaQueue queue = SU_ParaQueueCreate(&params);
    ASSERT_NE(queue, nullptr);
    SU_ParaQueueDestroy(&queue);
    EXPECT_EQ(queue, nullptr);
    SU_ParaQueueDestroy(&queue);

    params.u32Size = 0;
    EXPECT_EQ(SU_ParaQueueCreate(&params), nullptr);
    EXPECT_EQ(SU_ParaQueueCreate(nullptr), nullptr);
}

}  // namespace
