/* Runtime start and release counting, clocks and the tick wrap, assertions, zeroed allocation. */
#include <gtest/gtest.h>

#include <cstdlib>

#include "SA_Internal.h"
#include "test_core_helpers.h"

TEST(RuntimeStart, OnlyTheMatchingReleaseStopsTheRuntime) {
  ASSERT_EQ(SA_OK, SA_Init(0, 0, -1));
  EXPECT_EQ(SA_OK, SA_Init(12345, 1, 77)) << "later starts only count";
  EXPECT_EQ(2, SA_GetInitCount());
  SA_Release();
  EXPECT_EQ(1, SA_GetInitCount());
  void *p = SA_Malloc(100000);
  EXPECT_NE(nullptr, p) << "the second start's arena size was not applied";
  SA_Free(&p);
  SA_Release();
  EXPECT_EQ(0, SA_GetInitCount());
}

TEST(RuntimeStart, ReleaseOnAStoppedRuntimeDoesNothing) {
  SA_Release();
  EXPECT_EQ(0, SA_GetInitCount());
  ASSERT_EQ(SA_OK, SA_Init(0, 0, -1));
  EXPECT_EQ(1, SA_GetInitCount());
  SA_Release();
}

TEST(RuntimeStart, StartReleaseStartRunsTheStepsAgain) {
  for (int i = 0; i < 3; i++) {
    ASSERT_EQ(SA_OK, SA_Init(0, 0, -1));
    SA_Release();
    ASSERT_EQ(0, SA_GetInitCount());
  }
}

TEST(RuntimeStart, FailedFirstStartLeavesTheRuntimeStopped) {
  AssertRecorder sRecorder;
  EXPECT_EQ(SA_ERROR, SA_Init(10, 0, -1)) << "an arena smaller than one block header cannot be made";
  EXPECT_EQ(0, SA_GetInitCount());
  ASSERT_EQ(SA_OK, SA_Init(0, 0, -1));
  SA_Release();
}

TEST(Clock, ElapsedAndDiffTimeSurviveTheWrap) {
  struct Case {
    uint32_t u32Start, u32End;
    uint32_t u32Elapsed;
    int32_t i32Diff;
  };
  const Case aCases[] = {
      {0xFFFFFFF0u, 0x10u, 32u, 32},
      {5u, 5u, 0u, 0},
      {10u, 5u, 0xFFFFFFFBu, -5},
      {0u, 0xFFFFFFFFu, 0xFFFFFFFFu, -1},
  };
  for (const Case &sCase : aCases) {
    EXPECT_EQ(sCase.u32Elapsed, SA_ElapsedTime(sCase.u32Start, sCase.u32End)) << sCase.u32Start;
    EXPECT_EQ(sCase.i32Diff, SA_DiffTime(sCase.u32Start, sCase.u32End)) << sCase.u32Start;
  }
}

/* Puts the tick at the given value and measures a 60 ms wait from there. */
static void ExpectWaitMeasuredAcross(uint32_t u32TickAtStart) {
  SA_SetTickOffsetForTest(0);
  SA_SetTickOffsetForTest(u32TickAtStart - SA_GetTickMs());
  SA_Event hEvent = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateEvent(&hEvent));
  uint32_t u32Start = SA_GetTickMs();
  EXPECT_EQ(SA_TIMEOUT, SA_WaitEventTimeout(hEvent, 60));
  uint32_t u32Elapsed = SA_ElapsedTime(u32Start, SA_GetTickMs());
  EXPECT_GE(u32Elapsed, 59u);
  EXPECT_LT(u32Elapsed, 60000u);
  SA_DestroyEvent(&hEvent);
  SA_SetTickOffsetForTest(0);
}

TEST(Clock, TickJustBeforeTheWrapMeasuresElapsedTime) { ExpectWaitMeasuredAcross(0u - 20u); }

TEST(Clock, TickStartingNearZeroMeasuresElapsedTime) { ExpectWaitMeasuredAcross(3u); }

TEST(Clock, TickWrapsToSmallValues) {
  SA_SetTickOffsetForTest(0);
  SA_SetTickOffsetForTest(0u - 1u - SA_GetTickMs());
  uint32_t u32Before = SA_GetTickMs();
  SA_Event hEvent = nullptr;
  ASSERT_EQ(SA_OK, SA_CreateEvent(&hEvent));
  SA_WaitEventTimeout(hEvent, 5);
  uint32_t u32After = SA_GetTickMs();
  SA_DestroyEvent(&hEvent);
  SA_SetTickOffsetForTest(0);
  EXPECT_GE(u32Before, 0xFFFFFF00u);
  EXPECT_LT(u32After, 1000u);
}

TEST(Clock, WallClockMillisecondsAgreeWithSeconds) {
  uint64_t u64Ms = SA_GetTimeMs();
  int64_t i64Seconds = SA_GetTimeSeconds();
  EXPECT_GT(u64Ms, 1600000000000ull);
  EXPECT_LE(std::llabs((int64_t)(u64Ms / 1000u) - i64Seconds), 1);
}

TEST(Clock, TimerPeriodIsOneMillisecondAndAccepted) {
  uint32_t u32Min = 0, u32Max = 0;
  EXPECT_EQ(SA_OK, SA_GetTimerPeriodRange(&u32Min, &u32Max));
  EXPECT_EQ(1u, u32Min);
  EXPECT_EQ(1u, u32Max);
  EXPECT_EQ(SA_OK, SA_GetTimerPeriodRange(nullptr, nullptr));
  EXPECT_EQ(SA_OK, SA_BeginTimerPeriod(1));
  EXPECT_EQ(SA_OK, SA_EndTimerPeriod(1));
}

TEST(Assertions, OnlyAFalseConditionReachesTheHandlerWithTaskUnknown) {
  AssertRecorder sRecorder;
  SA_Assert(1, "fine", "file.cpp", "func", 1, nullptr);
  EXPECT_TRUE(AssertRecorder::Calls().empty());
  SA_Assert(0, "broken", "file.cpp", "func", 42, "details");
  ASSERT_EQ(1u, AssertRecorder::Calls().size());
  const AssertCall &sCall = AssertRecorder::Calls()[0];
  EXPECT_EQ("broken", sCall.sExpression);
  EXPECT_EQ("func", sCall.sFunction);
  EXPECT_EQ(42u, sCall.u32Line);
  EXPECT_EQ("unkwown", sCall.sTask);
  EXPECT_EQ("details", sCall.sInfo);
}

TEST(Assertions, MacroPassesTheExpressionTextAndPosition) {
  AssertRecorder sRecorder;
  int iValue = 3;
  SA_ASSERT(iValue == 4);
  ASSERT_EQ(1u, AssertRecorder::Calls().size());
  EXPECT_EQ("iValue == 4", AssertRecorder::Calls()[0].sExpression);
  EXPECT_EQ("TestBody", AssertRecorder::Calls()[0].sFunction);
}

static void OtherHandler(const char *, const char *, const char *, uint32_t, const char *, const char *) {}

TEST(Assertions, SettingAHandlerReturnsThePreviousOneAndNullSwitchesReportingOff) {
  SA_AssertHandler rBefore = SA_SetAssertHandler(&OtherHandler);
  EXPECT_EQ(&OtherHandler, SA_SetAssertHandler(nullptr));
  SA_Assert(0, "ignored", "f", "g", 1, nullptr);
  EXPECT_EQ(nullptr, SA_SetAssertHandler(rBefore));
}

TEST(ZeroedAllocation, ZeroCountOrSizeAndOverflowGiveNull) {
  const uint32_t aCases[][2] = {{0, 16}, {16, 0}, {0x10000u, 0x10000u}, {0xFFFFFFFFu, 2}, {3, 0x80000000u}};
  for (const auto &aCase : aCases) EXPECT_EQ(nullptr, SA_Calloc(aCase[0], aCase[1])) << aCase[0];
}

TEST(ZeroedAllocation, BlockIsZeroed) {
  for (int i = 0; i < 2; i++) {
    StartedRuntime sRuntime(0, i);
    uint8_t *pu8 = (uint8_t *)SA_Calloc(7, 13);
    ASSERT_NE(nullptr, pu8);
    for (int j = 0; j < 91; j++) EXPECT_EQ(0, pu8[j]);
    SA_Free(&pu8);
  }
}
