/* The runtime allocator: plain and tracked blocks, the first-fit arena, aligned blocks, copies. */
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "SA_Internal.h"
#include "test_core_helpers.h"

static const uint32_t kHeader = SA_MEMORY_HEADER_SIZE;

TEST(Allocator, ZeroSizeGivesNullAndFreeingNullDoesNothing) {
  for (int bTracking = 0; bTracking < 2; bTracking++) {
    StartedRuntime sRuntime(0, bTracking);
    EXPECT_EQ(nullptr, SA_Malloc(0));
    void *p = nullptr;
    EXPECT_EQ(SA_OK, SA_Free(&p));
    EXPECT_EQ(nullptr, p);
  }
}

TEST(Allocator, FreeSetsTheCallersVariableNull) {
  for (uint32_t u32Heap : {0u, 65536u}) {
    for (int bTracking = 0; bTracking < 2; bTracking++) {
      StartedRuntime sRuntime(u32Heap, bTracking);
      char *p = (char *)SA_Malloc(40);
      ASSERT_NE(nullptr, p);
      memset(p, 'x', 40);
      EXPECT_EQ(SA_OK, SA_Free(&p));
      EXPECT_EQ(nullptr, p);
    }
  }
}

TEST(Allocator, ArenaServesEveryAllocationWhenSized) {
  StartedRuntime sRuntime(4096, 0);
  EXPECT_EQ(nullptr, SA_Malloc(8192)) << "a block larger than the arena came from elsewhere";
  void *p = SA_Malloc(1000);
  EXPECT_NE(nullptr, p);
  SA_Free(&p);
}

TEST(AllocatorTracking, FooterOverwriteIsReportedAndTheBlockStillReleased) {
  StartedRuntime sRuntime(0, 1);
  AssertRecorder sRecorder;
  char *p = (char *)SA_MallocInfo(16, "writer.cpp", 321);
  ASSERT_NE(nullptr, p);
  char aszExpected[128];
  snprintf(aszExpected, sizeof(aszExpected), "SA_Free(%p): Footer overwritten (allocated in writer.cpp line 321)",
           (void *)p);
  p[16] = 'X';
  SA_Free(&p);
  EXPECT_EQ(nullptr, p);
  ASSERT_EQ(1u, AssertRecorder::Calls().size());
  EXPECT_EQ("SA_Free", AssertRecorder::Calls()[0].sExpression);
  EXPECT_EQ(aszExpected, AssertRecorder::Calls()[0].sInfo);
}

TEST(AllocatorTracking, HeaderOverwriteIsReportedAndTheBlockKept) {
  StartedRuntime sRuntime(0, 1);
  AssertRecorder sRecorder;
  uint8_t *p = (uint8_t *)SA_Malloc(8);
  ASSERT_NE(nullptr, p);
  uint8_t *pKept = p;
  uint8_t u8Saved = p[-1];
  p[-1] ^= 0xFF;
  EXPECT_EQ(SA_ERROR, SA_Free(&p));
  EXPECT_EQ(pKept, p);
  ASSERT_EQ(1u, AssertRecorder::Calls().size());
  EXPECT_NE(std::string::npos, AssertRecorder::Calls()[0].sInfo.find("Header overwritten (signature 0x"));
  p[-1] = u8Saved;
  EXPECT_EQ(SA_OK, SA_Free(&p));
}

TEST(AllocatorTracking, BlockUnknownToTheListIsReportedAndNotReleased) {
  StartedRuntime sRuntime(0, 1);
  AssertRecorder sRecorder;
  uint8_t *p = (uint8_t *)SA_Malloc(8);
  ASSERT_NE(nullptr, p);
  alignas(16) uint8_t au8Copy[SA_TRACKED_HEADER_SIZE + 16];
  memcpy(au8Copy, p - SA_TRACKED_HEADER_SIZE, SA_TRACKED_HEADER_SIZE + 12);
  void *pFake = au8Copy + SA_TRACKED_HEADER_SIZE;
  EXPECT_EQ(SA_ERROR, SA_Free(&pFake));
  ASSERT_EQ(1u, AssertRecorder::Calls().size());
  EXPECT_NE(std::string::npos, AssertRecorder::Calls()[0].sInfo.find("Unallocated pointer"));
  EXPECT_EQ(SA_OK, SA_Free(&p));
}

struct LeakReport {
  std::vector<std::string> vLines;
  std::string sTitle;
};

static void CollectLeak(const char *pcszTitle, const char *pcszLine, void *pUser) {
  LeakReport *psReport = (LeakReport *)pUser;
  psReport->sTitle = pcszTitle;
  psReport->vLines.push_back(pcszLine);
}

/* With an arena, the unreleased blocks go with it at the last release. */
TEST(AllocatorTracking, UnreleasedBlocksAreListedAtTheLastRelease) {
  LeakReport sReport;
  SA_SetMemoryLeakCallback(&CollectLeak, "leaks", &sReport);
  ASSERT_EQ(SA_OK, SA_Init(65536, 1, -1));
  void *pNamed = SA_MallocInfo(24, "net.cpp", 99);
  void *pUnnamed = SA_MallocInfo(5, "", 7);
  void *pFreed = SA_MallocInfo(5, "net.cpp", 100);
  SA_Free(&pFreed);
  SA_Release();
  SA_SetMemoryLeakCallback(nullptr, nullptr, nullptr);
  char aszNamed[160], aszUnnamed[160];
  snprintf(aszNamed, sizeof(aszNamed), "***** Not freed pointer: %p (24 bytes) allocated from net.cpp line 99\n",
           pNamed);
  snprintf(aszUnnamed, sizeof(aszUnnamed), "***** Not freed pointer: %p (5 bytes) allocated from UNKNOWN line 7\n",
           pUnnamed);
  EXPECT_EQ("leaks", sReport.sTitle);
  EXPECT_EQ(2u, sReport.vLines.size());
  EXPECT_NE(sReport.vLines.end(), std::find(sReport.vLines.begin(), sReport.vLines.end(), aszNamed));
  EXPECT_NE(sReport.vLines.end(), std::find(sReport.vLines.begin(), sReport.vLines.end(), aszUnnamed));
}

TEST(AllocatorTracking, RuntimeReleasesEverythingItAllocated) {
  LeakReport sReport;
  SA_SetMemoryLeakCallback(&CollectLeak, "leaks", &sReport);
  ASSERT_EQ(SA_OK, SA_Init(0, 1, -1));
  SA_Release();
  SA_SetMemoryLeakCallback(nullptr, nullptr, nullptr);
  EXPECT_TRUE(sReport.vLines.empty()) << sReport.vLines[0];
}

struct ArenaStats {
  uint32_t u32Total, u32InUse, u32HandedOut, u32FreeBlocks;
};

static ArenaStats StatsOf(SA_Memory psMemory) {
  ArenaStats sStats{};
  SA_MemoryGetStats(psMemory, &sStats.u32Total, &sStats.u32InUse, &sStats.u32HandedOut, &sStats.u32FreeBlocks);
  return sStats;
}

TEST(Arena, SplitOnAllocationAndMergeBackOnRelease) {
  SA_Memory psMemory = SA_MemoryCreate(1024);
  ASSERT_NE(nullptr, psMemory);
  ArenaStats sStats = StatsOf(psMemory);
  EXPECT_EQ(1024u, sStats.u32Total);
  EXPECT_EQ(kHeader, sStats.u32InUse);
  EXPECT_EQ(1u, sStats.u32FreeBlocks);
  void *p = SA_MemoryAlloc(psMemory, 100);
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(0u, (uintptr_t)p % 16u);
  sStats = StatsOf(psMemory);
  EXPECT_EQ(1u, sStats.u32FreeBlocks);
  EXPECT_EQ(112u, sStats.u32HandedOut);
  EXPECT_EQ(2 * kHeader + 112u, sStats.u32InUse);
  SA_MemoryFree(psMemory, &p);
  EXPECT_EQ(nullptr, p);
  sStats = StatsOf(psMemory);
  EXPECT_EQ(kHeader, sStats.u32InUse);
  EXPECT_EQ(0u, sStats.u32HandedOut);
  EXPECT_EQ(1u, sStats.u32FreeBlocks);
  p = SA_MemoryAlloc(psMemory, 1024 - kHeader);
  EXPECT_NE(nullptr, p) << "the whole payload is one block again";
  SA_MemoryFree(psMemory, &p);
  SA_MemoryRelease(&psMemory);
  EXPECT_EQ(nullptr, psMemory);
}

TEST(Arena, RequestBeyondTheFreeBytesGivesNull) {
  SA_Memory psMemory = SA_MemoryCreate(1024);
  ASSERT_NE(nullptr, psMemory);
  EXPECT_EQ(nullptr, SA_MemoryAlloc(psMemory, 1024 - kHeader + 1));
  void *p = SA_MemoryAlloc(psMemory, 512);
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(nullptr, SA_MemoryAlloc(psMemory, 512));
  EXPECT_EQ(nullptr, SA_MemoryAlloc(psMemory, 0xFFFFFFFFu));
  SA_MemoryFree(psMemory, &p);
  SA_MemoryRelease(&psMemory);
}

/* Every order of releasing four neighbours ends in one free block, and the blocks still in use
 * keep their contents meanwhile. */
TEST(Arena, ReleaseInAnyOrderMergesBackIntoOneBlock) {
  std::array<int, 4> aiOrder = {0, 1, 2, 3};
  do {
    SA_Memory psMemory = SA_MemoryCreate(2048);
    ASSERT_NE(nullptr, psMemory);
    std::array<void *, 4> apBlocks{};
    for (int i = 0; i < 4; i++) {
      apBlocks[i] = SA_MemoryAlloc(psMemory, 64);
      ASSERT_NE(nullptr, apBlocks[i]);
      memset(apBlocks[i], 'a' + i, 64);
    }
    for (int iStep = 0; iStep < 4; iStep++) {
      SA_MemoryFree(psMemory, &apBlocks[aiOrder[iStep]]);
      for (int i = 0; i < 4; i++)
        if (apBlocks[i] != nullptr) {
          EXPECT_EQ('a' + i, ((char *)apBlocks[i])[63]);
        }
    }
    ArenaStats sStats = StatsOf(psMemory);
    EXPECT_EQ(1u, sStats.u32FreeBlocks);
    EXPECT_EQ(kHeader, sStats.u32InUse);
    SA_MemoryRelease(&psMemory);
  } while (std::next_permutation(aiOrder.begin(), aiOrder.end()));
}

TEST(Arena, ReleasedHoleIsReusedFirstFit) {
  SA_Memory psMemory = SA_MemoryCreate(4096);
  ASSERT_NE(nullptr, psMemory);
  void *pA = SA_MemoryAlloc(psMemory, 200);
  void *pB = SA_MemoryAlloc(psMemory, 200);
  void *pC = SA_MemoryAlloc(psMemory, 200);
  void *pHole = pA;
  SA_MemoryFree(psMemory, &pA);
  void *pSmall = SA_MemoryAlloc(psMemory, 100);
  EXPECT_EQ(pHole, pSmall);
  EXPECT_EQ(2u, StatsOf(psMemory).u32FreeBlocks);
  SA_MemoryFree(psMemory, &pSmall);
  SA_MemoryFree(psMemory, &pC);
  SA_MemoryFree(psMemory, &pB);
  EXPECT_EQ(1u, StatsOf(psMemory).u32FreeBlocks);
  SA_MemoryRelease(&psMemory);
}

/* Threads allocating and releasing at once leave the arena as it started. */
TEST(Arena, ConcurrentUseKeepsTheListsConsistent) {
  SA_Memory psMemory = SA_MemoryCreate(256 * 1024);
  ASSERT_NE(nullptr, psMemory);
  std::vector<std::thread> vThreads;
  std::atomic<int> iFailures{0};
  for (int t = 0; t < 4; t++) {
    vThreads.emplace_back([&, t] {
      void *apBlocks[16] = {};
      for (int i = 0; i < 2000; i++) {
        void *&p = apBlocks[(i * 7 + t) % 16];
        if (p != nullptr) {
          if (((uint8_t *)p)[0] != (uint8_t)t) iFailures++;
          SA_MemoryFree(psMemory, &p);
        } else if ((p = SA_MemoryAlloc(psMemory, 16 + (uint32_t)(i % 200))) != nullptr) {
          ((uint8_t *)p)[0] = (uint8_t)t;
        }
      }
      for (void *&p : apBlocks) SA_MemoryFree(psMemory, &p);
    });
  }
  for (std::thread &sThread : vThreads) sThread.join();
  EXPECT_EQ(0, iFailures.load());
  ArenaStats sStats = StatsOf(psMemory);
  EXPECT_EQ(1u, sStats.u32FreeBlocks);
  EXPECT_EQ(kHeader, sStats.u32InUse);
  SA_MemoryRelease(&psMemory);
}

TEST(AllocatorTracking, ConcurrentUseLeavesNoBlockBehind) {
  LeakReport sReport;
  SA_SetMemoryLeakCallback(&CollectLeak, "leaks", &sReport);
  ASSERT_EQ(SA_OK, SA_Init(0, 1, -1));
  std::vector<std::thread> vThreads;
  for (int t = 0; t < 4; t++) {
    vThreads.emplace_back([t] {
      for (int i = 0; i < 500; i++) {
        char *p = (char *)SA_MallocInfo(8 + (uint32_t)i, (t & 1) ? "odd.cpp" : "even.cpp", (uint32_t)i);
        if (p != nullptr) p[0] = 'x';
        SA_Free(&p);
      }
    });
  }
  for (std::thread &sThread : vThreads) sThread.join();
  SA_Release();
  SA_SetMemoryLeakCallback(nullptr, nullptr, nullptr);
  EXPECT_TRUE(sReport.vLines.empty());
}

TEST(Arena, DoubleReleaseIsReportedAndChangesNothing) {
  AssertRecorder sRecorder;
  SA_Memory psMemory = SA_MemoryCreate(1024);
  ASSERT_NE(nullptr, psMemory);
  void *p = SA_MemoryAlloc(psMemory, 64);
  void *pAgain = p;
  SA_MemoryFree(psMemory, &p);
  ArenaStats sBefore = StatsOf(psMemory);
  SA_MemoryFree(psMemory, &pAgain);
  ArenaStats sAfter = StatsOf(psMemory);
  EXPECT_EQ(sBefore.u32InUse, sAfter.u32InUse);
  EXPECT_EQ(sBefore.u32FreeBlocks, sAfter.u32FreeBlocks);
  EXPECT_FALSE(AssertRecorder::Calls().empty());
  SA_MemoryRelease(&psMemory);
}

TEST(Arena, TooSmallAnArenaIsRefused) {
  AssertRecorder sRecorder;
  EXPECT_EQ(nullptr, SA_MemoryCreate(kHeader));
  EXPECT_EQ(1u, AssertRecorder::Calls().size());
  SA_Memory psMemory = SA_MemoryCreate(kHeader + 1);
  EXPECT_NE(nullptr, psMemory);
  SA_MemoryRelease(&psMemory);
}

TEST(AlignedBlocks, EverySizeGivesAMultipleOf16) {
  for (int bTracking = 0; bTracking < 2; bTracking++) {
    StartedRuntime sRuntime(0, bTracking);
    AssertRecorder sRecorder;
    for (uint32_t u32Size = 0; u32Size < 80; u32Size++) {
      uint8_t *p = (uint8_t *)SA_AllocParaAligned(u32Size);
      ASSERT_NE(nullptr, p);
      EXPECT_EQ(0u, (uintptr_t)p % 16u) << u32Size;
      memset(p, 0xAB, u32Size);
      EXPECT_EQ(SA_OK, SA_FreeParaAligned(&p));
      EXPECT_EQ(nullptr, p);
    }
    EXPECT_TRUE(AssertRecorder::Calls().empty()) << "an aligned block overran its allocation";
    EXPECT_EQ(nullptr, SA_AllocParaAligned(0xFFFFFFF0u));
  }
}

TEST(Strdup, CopiesTheTextAndRefusesNull) {
  StartedRuntime sRuntime;
  AssertRecorder sRecorder;
  char *psz = SU_Strdup("sensor");
  ASSERT_NE(nullptr, psz);
  EXPECT_STREQ("sensor", psz);
  SA_Free(&psz);
  EXPECT_EQ(nullptr, SU_Strdup(nullptr));
  EXPECT_EQ(1u, AssertRecorder::Calls().size());
}

class BlockCopy : public ::testing::TestWithParam<int32_t> {
 protected:
  void TearDown() override { SA_SetSseStateForTest(-1); }
};

/* Every length and misalignment copies every byte and nothing beyond. */
TEST_P(BlockCopy, CopiesEveryByteAndNothingMore) {
  SA_SetSseStateForTest(GetParam());
  using CopyFunction = void (*)(void *, const void *, uint32_t);
  const CopyFunction arCopies[] = {&SA_MemCpy, &SA_MemCpyBlocks, &memcpyC};
  const uint32_t au32Lengths[] = {0, 1, 3, 63, 64, 65, 127, 128, 129, 1000, 4194304};
  std::vector<uint8_t> vSource(4194304 + 64), vDest(4194304 + 64);
  for (size_t i = 0; i < vSource.size(); i++) vSource[i] = (uint8_t)(i * 7 + 3);
  for (CopyFunction rCopy : arCopies) {
    for (uint32_t u32Length : au32Lengths) {
      for (uint32_t u32Offset : {0u, 1u, 16u}) {
        std::fill(vDest.begin(), vDest.end(), 0xEE);
        rCopy(vDest.data() + u32Offset, vSource.data() + (u32Offset ^ 1u), u32Length);
        ASSERT_EQ(0, memcmp(vDest.data() + u32Offset, vSource.data() + (u32Offset ^ 1u), u32Length))
            << u32Length << " at " << u32Offset;
        ASSERT_EQ(0xEE, vDest[u32Offset + u32Length]) << u32Length;
        if (u32Offset > 0) {
          ASSERT_EQ(0xEE, vDest[u32Offset - 1]) << u32Length;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutSse, BlockCopy, ::testing::Values(0, 1, -1));

TEST(MemZero, ZeroesExactlyTheRange) {
  uint8_t au8Buffer[80];
  for (uint32_t u32Offset = 0; u32Offset < 4; u32Offset++) {
    for (uint32_t u32Length : {0u, 1u, 5u, 64u, 70u}) {
      memset(au8Buffer, 0x5A, sizeof(au8Buffer));
      SA_MemZero(au8Buffer + u32Offset, u32Length);
      for (uint32_t i = 0; i < sizeof(au8Buffer); i++) {
        bool bInside = i >= u32Offset && i < u32Offset + u32Length;
        ASSERT_EQ(bInside ? 0 : 0x5A, au8Buffer[i]) << i;
      }
    }
  }
}

TEST(CpuFeatures, ReportMatchesTheProbe) {
  int bMmx = -1, bSse = -1, bSse2 = -1;
  if (SA_GetCpuFeatures(&bMmx, &bSse, &bSse2) == 0) GTEST_SKIP() << "no feature report";
  EXPECT_TRUE(bSse == 0 || bSse == 1);
#if defined(__x86_64__)
  EXPECT_EQ(1, bSse2);
#endif
}
