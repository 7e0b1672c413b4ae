/* Assertions: one process-wide handler, none at load; a failed assertion never stops the program. */
#include <atomic>

#include "SA_Core.h"

static std::atomic<SA_AssertHandler> g_rAssertHandler{nullptr};

extern "C" {

void SA_Assert(int iCondition, const char *pcszExpression, const char *pcszFile, const char *pcszFunction,
               uint32_t u32Line, const char *pcszInfo) {
  if (iCondition != 0) return;
  SA_AssertHandler rHandler = g_rAssertHandler.load();
  if (rHandler != nullptr) rHandler(pcszExpression, pcszFile, pcszFunction, u32Line, "unkwown", pcszInfo);
}

SA_AssertHandler SA_SetAssertHandler(SA_AssertHandler rHandler) { return g_rAssertHandler.exchange(rHandler); }

}  // extern "C"
