/* Shared helpers of the runtime core tests: a recording assertion handler and a started runtime. */
#ifndef TEST_CORE_HELPERS_H
#define TEST_CORE_HELPERS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SA.h"

struct AssertCall {
  std::string sExpression;
  std::string sFunction;
  std::string sTask;
  std::string sInfo;
  uint32_t u32Line;
};

/* Collects the calls of the process-wide assertion handler while it exists. */
class AssertRecorder {
 public:
  AssertRecorder() { m_rPrevious = SA_SetAssertHandler(&AssertRecorder::Handle); }
  ~AssertRecorder() {
    SA_SetAssertHandler(m_rPrevious);
    Calls().clear();
  }
  static std::vector<AssertCall> &Calls() {
    static std::vector<AssertCall> s_vCalls;
    return s_vCalls;
  }

 private:
  static void Handle(const char *pcszExpression, const char *, const char *pcszFunction, uint32_t u32Line,
                     const char *pcszTask, const char *pcszInfo) {
    Calls().push_back({pcszExpression, pcszFunction, pcszTask, pcszInfo != nullptr ? pcszInfo : "", u32Line});
  }
  SA_AssertHandler m_rPrevious;
};

/* The runtime started for one test and released at its end. */
class StartedRuntime {
 public:
  explicit StartedRuntime(uint32_t u32Heap = 0, int bTracking = 0) {
    EXPECT_EQ(SA_OK, SA_Init(u32Heap, bTracking, -1));
  }
  ~StartedRuntime() { SA_Release(); }
};

#endif
