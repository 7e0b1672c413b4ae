/* Thread records: the platform thread, its routine and argument, and the creating position. */
#include "SA_Platform.h"

struct SA_ThreadRec {
  SA_PlatformThread hThread;
  uint32_t u32Id;
  PTHREADFUNCTION rThreadMain;
  void *pArgument;
  const char *pcszFile;
  const char *pcszFunction;
  uint32_t u32Line;
};

/* The record is allocated under the position given by pcszAllocFile and u32AllocLine. */
static int CreateThread(SA_Thread *ppsThread, PTHREADFUNCTION rThreadMain, void *pArgument, uint32_t u32StackSize,
                        int32_t i32Priority, const char *pcszFile, const char *pcszFunction, uint32_t u32Line,
                        const char *pcszAllocFile, uint32_t u32AllocLine) {
  SA_ASSERT(ppsThread && rThreadMain);
  if (ppsThread == nullptr) return SA_ERROR;
  *ppsThread = nullptr;
  if (rThreadMain == nullptr) return SA_ERROR;
  SA_Thread psThread = (SA_Thread)SA_CallocInfo(1, sizeof(SA_ThreadRec), pcszAllocFile, u32AllocLine);
  if (psThread == nullptr) return SA_ERROR;
  psThread->rThreadMain = rThreadMain;
  psThread->pArgument = pArgument;
  psThread->pcszFile = pcszFile;
  psThread->pcszFunction = pcszFunction;
  psThread->u32Line = u32Line;
  if (SA_PlatformThreadCreate(&psThread->hThread, rThreadMain, pArgument, u32StackSize, &psThread->u32Id) !=
      SA_OK) {
    SA_Free(&psThread);
    return SA_ERROR;
  }
  /* A refused priority leaves the thread at normal priority. */
  SA_SetThreadPriority(psThread, i32Priority);
  *ppsThread = psThread;
  return SA_OK;
}

extern "C" {

int SA_CreateThreadExInfo(SA_Thread *ppsThread, PTHREADFUNCTION rThreadMain, void *pArgument, uint32_t u32StackSize,
                          int32_t i32Priority, const char *pcszFile, const char *pcszFunction, uint32_t u32Line,
                          const char *) {
  return CreateThread(ppsThread, rThreadMain, pArgument, u32StackSize, i32Priority, pcszFile, pcszFunction,
                      u32Line, __FILE__, (uint32_t)__LINE__);
}

int SA_CreateThreadInfo(SA_Thread *ppsThread, PTHREADFUNCTION rThreadMain, void *pArgument, const char *pcszFile,
                        const char *pcszFunction, uint32_t u32Line, const char *) {
  return CreateThread(ppsThread, rThreadMain, pArgument, 0, 0, pcszFile, pcszFunction, u32Line, pcszFile,
                      u32Line);
}

int SA_WaitThreadTimeout(SA_Thread psThread, uint32_t u32TimeoutMs) {
  if (psThread == nullptr) return SA_ERROR;
  return SA_PlatformThreadWait(psThread->hThread, u32TimeoutMs);
}

void SA_ExitThread(SA_Thread *ppsThread) {
  if (ppsThread == nullptr || *ppsThread == nullptr) return;
  SA_PlatformThreadClose(&(*ppsThread)->hThread);
  SA_Free(ppsThread);
}

void SA_ExitCurrentThread(void) { SA_PlatformThreadExitCurrent(); }

int SA_SetThreadPriority(SA_Thread psThread, int32_t i32Priority) {
  if (psThread == nullptr) return SA_ERROR;
  return SA_PlatformThreadSetPriority(psThread->hThread, i32Priority);
}

}  // extern "C"
