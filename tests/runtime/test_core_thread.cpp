/* Runtime threads: waits that time out and repeat, records dropped while running, priorities,
 * stack size, and the reaper. */
#include <gtest/gtest.h>

#include <atomic>

#include "test_core_helpers.h"

/* A routine that waits for its go event, then marks itself done. */
struct Gate {
  SA_Event hGo = nullptr;
  SA_Event hDone = nullptr;
  std::atomic<int> iRan{0};
  Gate() {
    EXPECT_EQ(SA_OK, SA_CreateEventManual(&hGo));
    EXPECT_EQ(SA_OK, SA_CreateEventManual(&hDone));
  }
  ~Gate() {
    SA_DestroyEvent(&hGo);
    SA_DestroyEvent(&hDone);
  }
};

static void GatedRoutine(void *pArgument) {
  Gate *psGate = (Gate *)pArgument;
  SA_WaitEventTimeout(psGate->hGo, 10000);
  psGate->iRan++;
  SA_SetEvent(psGate->hDone);
}

TEST(Thread, WaitTimesOutWhileRunningAndSucceedsOnceEnded) {
  Gate sGate;
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThread(&psThread, GatedRoutine, &sGate));
  ASSERT_NE(nullptr, psThread);
  EXPECT_EQ(SA_TIMEOUT, SA_WaitThreadTimeout(psThread, 0));
  EXPECT_EQ(SA_TIMEOUT, SA_WaitThreadTimeout(psThread, 20));
  SA_SetEvent(sGate.hGo);
  EXPECT_EQ(SA_OK, SA_WaitThreadTimeout(psThread, SA_INFINITE));
  EXPECT_EQ(SA_OK, SA_WaitThreadTimeout(psThread, 0)) << "a second wait on an ended thread";
  EXPECT_EQ(1, sGate.iRan.load());
  SA_ExitThread(&psThread);
  EXPECT_EQ(nullptr, psThread);
}

TEST(Thread, ExitThreadOnARunningThreadLeavesItRunning) {
  Gate sGate;
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThread(&psThread, GatedRoutine, &sGate));
  SA_ExitThread(&psThread);
  EXPECT_EQ(nullptr, psThread);
  SA_SetEvent(sGate.hGo);
  EXPECT_EQ(SA_OK, SA_WaitEventTimeout(sGate.hDone, 10000));
}

static void ExitingRoutine(void *pArgument) {
  Gate *psGate = (Gate *)pArgument;
  SA_ExitCurrentThread();
  psGate->iRan++;
}

TEST(Thread, ExitCurrentThreadEndsTheRoutineAtOnce) {
  Gate sGate;
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThread(&psThread, ExitingRoutine, &sGate));
  EXPECT_EQ(SA_OK, SA_WaitThreadTimeout(psThread, 10000));
  EXPECT_EQ(0, sGate.iRan.load());
  SA_ExitThread(&psThread);
}

TEST(Thread, RefusedPriorityStartsTheThreadAtNormalPriority) {
  Gate sGate;
  SA_SetEvent(sGate.hGo);
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThreadEx(&psThread, GatedRoutine, &sGate, 0, 7));
  EXPECT_EQ(SA_OK, SA_WaitThreadTimeout(psThread, 10000));
  EXPECT_EQ(1, sGate.iRan.load());
  SA_ExitThread(&psThread);
}

TEST(Thread, PriorityOutsideTheScaleIsRefused) {
  Gate sGate;
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThread(&psThread, GatedRoutine, &sGate));
  EXPECT_EQ(SA_ERROR, SA_SetThreadPriority(psThread, 7));
  EXPECT_EQ(SA_ERROR, SA_SetThreadPriority(psThread, -4));
  EXPECT_EQ(SA_OK, SA_SetThreadPriority(psThread, 2)) << "above normal settles for what the platform allows";
  EXPECT_EQ(SA_OK, SA_SetThreadPriority(psThread, -1));
  EXPECT_EQ(SA_ERROR, SA_SetThreadPriority(nullptr, 0));
  SA_SetEvent(sGate.hGo);
  SA_WaitThreadTimeout(psThread, SA_INFINITE);
  SA_ExitThread(&psThread);
}

/* Uses more stack than the 50000 bytes the connection threads ask for. */
static void DeepStackRoutine(void *pArgument) {
  volatile uint8_t au8Buffer[160 * 1024];
  for (size_t i = 0; i < sizeof(au8Buffer); i += 512) au8Buffer[i] = (uint8_t)i;
  *(int *)pArgument = au8Buffer[512];
}

TEST(Thread, SmallStackRequestIsAMinimum) {
  int iResult = -1;
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThreadEx(&psThread, DeepStackRoutine, &iResult, 50000, 0));
  EXPECT_EQ(SA_OK, SA_WaitThreadTimeout(psThread, 10000));
  EXPECT_EQ(0, iResult);
  SA_ExitThread(&psThread);
}

TEST(Thread, MissingRoutineIsRefused) {
  AssertRecorder sRecorder;
  SA_Thread psThread = (SA_Thread)&sRecorder;
  EXPECT_EQ(SA_ERROR, SA_CreateThread(&psThread, nullptr, nullptr));
  EXPECT_EQ(nullptr, psThread);
  ASSERT_EQ(1u, AssertRecorder::Calls().size());
  EXPECT_EQ("ppsThread && rThreadMain", AssertRecorder::Calls()[0].sExpression);
  EXPECT_EQ(SA_ERROR, SA_WaitThreadTimeout(nullptr, 0));
  SA_ExitThread(&psThread);
}

struct LeakCount {
  std::atomic<int> iLines{0};
};

static void CountLeak(const char *, const char *, void *pUser) { ((LeakCount *)pUser)->iLines++; }

/* With tracking on, a record the reaper did not free would be reported at the release. */
TEST(Reaper, FreesTheRecordOfAThreadHandedOverOnceItEnds) {
  LeakCount sLeaks;
  SA_SetMemoryLeakCallback(&CountLeak, "leaks", &sLeaks);
  {
    StartedRuntime sRuntime(0, 1);
    Gate sGate;
    SA_Thread psThread = nullptr;
    ASSERT_EQ(SA_OK, SA_CreateThread(&psThread, GatedRoutine, &sGate));
    EXPECT_EQ(SA_OK, SA_NonWaitThread(&psThread));
    EXPECT_EQ(nullptr, psThread);
    SA_SetEvent(sGate.hGo);
    EXPECT_EQ(SA_OK, SA_WaitEventTimeout(sGate.hDone, 10000));
  }
  SA_SetMemoryLeakCallback(nullptr, nullptr, nullptr);
  EXPECT_EQ(0, sLeaks.iLines.load());
}

TEST(Reaper, HandOverNeedsAStartedRuntime) {
  Gate sGate;
  SA_SetEvent(sGate.hGo);
  SA_Thread psThread = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateThread(&psThread, GatedRoutine, &sGate));
  EXPECT_EQ(SA_ERROR, SA_NonWaitThread(&psThread));
  EXPECT_NE(nullptr, psThread);
  SA_WaitThreadTimeout(psThread, SA_INFINITE);
  SA_ExitThread(&psThread);
}

TEST(Reaper, ReleaseWithAnEmptyListEndsTheCollector) {
  for (int i = 0; i < 3; i++) {
    ASSERT_EQ(SA_OK, SA_Init(0, 0, -1));
    SA_Release();
  }
  EXPECT_EQ(0, SA_GetInitCount());
}
