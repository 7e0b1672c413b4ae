/* Mutex ownership, recursion and time-outs across threads; event and semaphore rules. */
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "test_core_helpers.h"

/* Runs a body on another thread and waits for it to finish. */
template <typename Body>
static void OnOtherThread(Body rBody) {
  std::thread sThread(rBody);
  sThread.join();
}

class MutexTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SA_OK, SA_CreateMutex(&m_hMutex)); }
  void TearDown() override {
    EXPECT_EQ(SA_OK, SA_DestroyMutex(&m_hMutex));
    EXPECT_EQ(nullptr, m_hMutex);
  }
  int LockFromOtherThread(uint32_t u32TimeoutMs) {
    int iResult = 99;
    OnOtherThread([&] {
      iResult = SA_LockMutexTimeout(m_hMutex, u32TimeoutMs);
      if (iResult == SA_OK) SA_UnlockMutex(m_hMutex);
    });
    return iResult;
  }
  void ExpectLockAfterUnlock(uint32_t u32TimeoutMs);
  SA_Mutex m_hMutex = nullptr;
};

TEST_F(MutexTest, HeldMutexTimesOutAtOnceWithZero) {
  ASSERT_EQ(SA_OK, SA_LockMutex(m_hMutex));
  uint32_t u32Start = SA_GetTickMs();
  EXPECT_EQ(SA_TIMEOUT, LockFromOtherThread(0));
  EXPECT_LT(SA_ElapsedTime(u32Start, SA_GetTickMs()), 1000u);
  EXPECT_EQ(SA_OK, SA_UnlockMutex(m_hMutex));
  EXPECT_EQ(SA_OK, LockFromOtherThread(0));
}

TEST_F(MutexTest, TimedLockWaitsItsTimeThenTimesOut) {
  ASSERT_EQ(SA_OK, SA_LockMutex(m_hMutex));
  uint32_t u32Start = SA_GetTickMs();
  EXPECT_EQ(SA_TIMEOUT, LockFromOtherThread(80));
  EXPECT_GE(SA_ElapsedTime(u32Start, SA_GetTickMs()), 79u);
  SA_UnlockMutex(m_hMutex);
}

TEST_F(MutexTest, WaitingLockGetsTheMutexAtTheUnlock) {
  for (uint32_t u32Timeout : {SA_INFINITE, 10000u}) {
    ExpectLockAfterUnlock(u32Timeout);
  }
}

void MutexTest::ExpectLockAfterUnlock(uint32_t u32TimeoutMs) {
  SA_Event hLocked = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateEvent(&hLocked));
  ASSERT_EQ(SA_OK, SA_LockMutex(m_hMutex));
  std::thread sWaiter([&] {
    if (SA_LockMutexTimeout(m_hMutex, u32TimeoutMs) != SA_OK) return;
    SA_SetEvent(hLocked);
    SA_UnlockMutex(m_hMutex);
  });
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hLocked, 50)) << "the waiter got a held mutex";
  SA_UnlockMutex(m_hMutex);
  EXPECT_EQ(SA_OK, SA_WaitEventTimeout(hLocked, 10000));
  sWaiter.join();
  SA_DestroyEvent(&hLocked);
}

TEST_F(MutexTest, RecursiveLockNeedsAsManyUnlocks) {
  ASSERT_EQ(SA_OK, SA_LockMutex(m_hMutex));
  ASSERT_EQ(SA_OK, SA_LockMutexTimeout(m_hMutex, 0));
  EXPECT_EQ(SA_OK, SA_UnlockMutex(m_hMutex));
  EXPECT_EQ(SA_TIMEOUT, LockFromOtherThread(0));
  EXPECT_EQ(SA_OK, SA_UnlockMutex(m_hMutex));
  EXPECT_EQ(SA_OK, LockFromOtherThread(0));
  EXPECT_EQ(SA_ERROR, SA_UnlockMutex(m_hMutex)) << "one unlock too many";
}

TEST_F(MutexTest, UnlockByAnotherThreadFailsAndTheMutexStaysLocked) {
  ASSERT_EQ(SA_OK, SA_LockMutex(m_hMutex));
  int iResult = 99;
  OnOtherThread([&] { iResult = SA_UnlockMutex(m_hMutex); });
  EXPECT_EQ(SA_ERROR, iResult);
  EXPECT_EQ(SA_TIMEOUT, LockFromOtherThread(0));
  SA_UnlockMutex(m_hMutex);
}

TEST_F(MutexTest, MutexLeftByAnEndedOwnerGoesToTheNextLocker) {
  OnOtherThread([&] { ASSERT_EQ(SA_OK, SA_LockMutex(m_hMutex)); });
  EXPECT_EQ(SA_OK, SA_LockMutexTimeout(m_hMutex, 10000));
  EXPECT_EQ(SA_OK, SA_UnlockMutex(m_hMutex)) << "the new owner can unlock it";
  EXPECT_EQ(SA_OK, LockFromOtherThread(0));
}

TEST(Mutex, NullHandlesAreErrorsAndDestroyingNullIsFine) {
  EXPECT_EQ(SA_ERROR, SA_LockMutexTimeout(nullptr, 0));
  EXPECT_EQ(SA_ERROR, SA_UnlockMutex(nullptr));
  EXPECT_EQ(SA_ERROR, SA_LockOsMutex(nullptr));
  SA_Mutex hMutex = nullptr;
  EXPECT_EQ(SA_OK, SA_DestroyMutex(&hMutex));
  SA_OsMutex hOsMutex = nullptr;
  EXPECT_EQ(SA_OK, SA_DestroyOsMutex(&hOsMutex));
}

TEST(OsMutex, OwnedRecursiveAndTimed) {
  SA_OsMutex hMutex = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateOsMutex(&hMutex));
  ASSERT_EQ(SA_OK, SA_LockOsMutex(hMutex));
  ASSERT_EQ(SA_OK, SA_LockOsMutexTimeout(hMutex, 10));
  int iLock = 99, iUnlock = 99;
  OnOtherThread([&] {
    iUnlock = SA_UnlockOsMutex(hMutex);
    iLock = SA_LockOsMutexTimeout(hMutex, 20);
  });
  EXPECT_EQ(SA_ERROR, iUnlock);
  EXPECT_EQ(SA_TIMEOUT, iLock);
  EXPECT_EQ(SA_OK, SA_UnlockOsMutex(hMutex));
  EXPECT_EQ(SA_OK, SA_UnlockOsMutex(hMutex));
  EXPECT_EQ(SA_OK, SA_DestroyOsMutex(&hMutex));
  EXPECT_EQ(nullptr, hMutex);
}

TEST(Event, AutoResetEventSetTwiceReleasesOneWait) {
  SA_Event hEvent = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateEvent(&hEvent));
  EXPECT_EQ(SA_OK, SA_SetEvent(hEvent));
  EXPECT_EQ(SA_OK, SA_SetEvent(hEvent));
  EXPECT_EQ(SA_OK, SA_WaitEventTimeout(hEvent, 0));
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 0));
  SA_DestroyEvent(&hEvent);
  EXPECT_EQ(nullptr, hEvent);
}

TEST(Event, ClearEventTimesOutWithoutWaitingOnZero) {
  SA_Event hEvent = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateEvent(&hEvent));
  uint32_t u32Start = SA_GetTickMs();
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 0));
  EXPECT_LT(SA_ElapsedTime(u32Start, SA_GetTickMs()), 1000u);
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 30));
  SA_DestroyEvent(&hEvent);
}

TEST(Event, ManualResetEventStaysSetUntilCleared) {
  SA_Event hEvent = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateEventManual(&hEvent));
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 0)) << "created set";
  SA_SetEvent(hEvent);
  EXPECT_EQ(SA_OK, SA_WaitEventTimeout(hEvent, 0));
  EXPECT_EQ(SA_OK, SA_WaitEventTimeout(hEvent, 0));
  EXPECT_EQ(SA_OK, SA_ClearEvent(hEvent));
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 0));
  SA_DestroyEvent(&hEvent);
}

/* Two waiters on one event: an auto-reset set wakes one of them and is consumed, a manual-reset
 * set stays; after a second set both have woken. */
static void ExpectWakeUps(int bManual) {
  SA_Event hEvent = nullptr, hWoken = nullptr;
  ASSERT_EQ(SA_OK, bManual ? SA_CreateEventManual(&hEvent) : SA_CreateEvent(&hEvent));
  ASSERT_EQ(SA_OK, SA_CreateEventManual(&hWoken));
  std::atomic<int> iWoken{0};
  auto rWaiter = [&] {
    if (SA_WaitEventTimeout(hEvent, 10000) == SA_OK) iWoken++;
    SA_SetEvent(hWoken);
  };
  std::thread sFirst(rWaiter), sSecond(rWaiter);
  SA_SetEvent(hEvent);
  ASSERT_EQ(SA_OK, SA_WaitEventTimeout(hWoken, 10000));
  if (!bManual) {
    EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 0)) << "the set was not consumed";
    EXPECT_EQ(1, iWoken.load());
  } else {
    EXPECT_EQ(SA_OK, SA_WaitEventTimeout(hEvent, 0));
  }
  SA_SetEvent(hEvent);
  sFirst.join();
  sSecond.join();
  EXPECT_EQ(2, iWoken.load());
  SA_DestroyEvent(&hEvent);
  SA_DestroyEvent(&hWoken);
}

TEST(Event, AutoResetEventWakesOneWaiterPerSet) { ExpectWakeUps(0); }

TEST(Event, ManualResetEventWakesEveryWaiter) { ExpectWakeUps(1); }

TEST(Event, NullEventIsAnErrorAndDestroyingNullIsFine) {
  EXPECT_EQ(SA_ERROR, SA_WaitEventTimeout(nullptr, 0));
  EXPECT_EQ(SA_ERROR, SA_ClearEvent(nullptr));
  SA_Event hEvent = nullptr;
  EXPECT_EQ(SA_OK, SA_DestroyEvent(&hEvent));
}

/* Releases and takes in order on a semaphore of initial count 0 and maximum 2. */
TEST(Semaphore, CountStaysWithinTheMaximumAndARefusedReleaseAddsNothing) {
  struct Step {
    int bRelease;
    uint32_t u32Count;
    int iExpected;
  };
  const Step asSteps[] = {
      {0, 0, SA_TIMEOUT}, {1, 1, SA_OK},      {1, 1, SA_OK},    {1, 1, SA_ERROR},
      {0, 0, SA_OK},      {1, 2, SA_ERROR},   {1, 0, SA_ERROR}, {0, 0, SA_OK},
      {0, 0, SA_TIMEOUT}, {1, 2, SA_OK},      {0, 0, SA_OK},    {0, 0, SA_OK},
  };
  SA_Semaphore hSemaphore = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateSemaphore(&hSemaphore, 0, 2));
  int iStep = 0;
  for (const Step &sStep : asSteps) {
    int iResult = sStep.bRelease ? SA_ReleaseSemaphore(hSemaphore, sStep.u32Count)
                                 : SA_TakeSemaphoreTimeout(hSemaphore, 0);
    EXPECT_EQ(sStep.iExpected, iResult) << "step " << iStep++;
  }
  EXPECT_EQ(SA_OK, SA_DestroySemaphore(&hSemaphore));
  EXPECT_EQ(nullptr, hSemaphore);
}

TEST(Semaphore, InvalidCountsAreRefused) {
  SA_Semaphore hSemaphore = (SA_Semaphore)&hSemaphore;
  EXPECT_EQ(SA_ERROR, SA_CreateSemaphore(&hSemaphore, 2, 1));
  EXPECT_EQ(nullptr, hSemaphore);
  EXPECT_EQ(SA_ERROR, SA_CreateSemaphore(&hSemaphore, 0, 0));
  EXPECT_EQ(SA_OK, SA_DestroySemaphore(&hSemaphore));
}

TEST(Semaphore, TakeWaitsForAReleaseFromAnotherThread) {
  SA_Semaphore hSemaphore = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateSemaphore(&hSemaphore, 0, 1));
  int iResult = 99;
  std::thread sTaker([&] { iResult = SA_TakeSemaphoreTimeout(hSemaphore, SA_INFINITE); });
  EXPECT_EQ(SA_OK, SA_ReleaseSemaphore(hSemaphore, 1));
  sTaker.join();
  EXPECT_EQ(SA_OK, iResult);
  EXPECT_EQ(SA_TIMEOUT, SA_TakeSemaphoreTimeout(hSemaphore, 20));
  SA_DestroySemaphore(&hSemaphore);
}
