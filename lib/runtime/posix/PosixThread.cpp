/* Threads on POSIX: detached pthreads with their own "ended" signal, so a wait can time out
 * and be repeated, and a record can be dropped while its thread still runs. */
#include <atomic>
#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include "PosixCond.h"
#include "SA_Platform.h"

/* Connection threads ask 50000 bytes; TLS handshakes and XML parsing need more here. */
static const size_t kMinimumStack = 256u * 1024u;

struct SA_PlatformThreadRec {
  SA_PosixCond sCond;
  int bStarted;
  int bEnded;
  pid_t iTid;
  std::atomic<int> iRefs;
  PTHREADFUNCTION rRoutine;
  void *pArgument;
};

static int IsStarted(void *pState) { return ((SA_PlatformThreadRec *)pState)->bStarted; }
static int IsEnded(void *pState) { return ((SA_PlatformThreadRec *)pState)->bEnded; }

/* The thread and its record's owner each hold one reference. */
static void DropReference(SA_PlatformThread hThread) {
  if (hThread->iRefs.fetch_sub(1) != 1) return;
  SA_PosixCondDestroy(&hThread->sCond);
  free(hThread);
}

/* Signals the end on return and on pthread_exit, which unwinds the thread's stack. */
struct EndSignal {
  SA_PlatformThread hThread;
  ~EndSignal() {
    pthread_mutex_lock(&hThread->sCond.sMutex);
    hThread->bEnded = 1;
    pthread_cond_broadcast(&hThread->sCond.sCond);
    pthread_mutex_unlock(&hThread->sCond.sMutex);
    DropReference(hThread);
  }
};

static void *ThreadEntry(void *pParameter) {
  SA_PlatformThread hThread = (SA_PlatformThread)pParameter;
  pthread_mutex_lock(&hThread->sCond.sMutex);
  hThread->iTid = gettid();
  hThread->bStarted = 1;
  pthread_cond_broadcast(&hThread->sCond.sCond);
  pthread_mutex_unlock(&hThread->sCond.sMutex);
  EndSignal sEnd{hThread};
  hThread->rRoutine(hThread->pArgument);
  return nullptr;
}

static int StartDetached(SA_PlatformThread hThread, uint32_t u32StackSize) {
  pthread_attr_t sAttr;
  if (pthread_attr_init(&sAttr) != 0) return SA_ERROR;
  int iResult = pthread_attr_setdetachstate(&sAttr, PTHREAD_CREATE_DETACHED);
  if (iResult == 0 && u32StackSize != 0) {
    size_t uStack = u32StackSize < kMinimumStack ? kMinimumStack : u32StackSize;
    if (uStack < (size_t)PTHREAD_STACK_MIN) uStack = PTHREAD_STACK_MIN;
    iResult = pthread_attr_setstacksize(&sAttr, uStack);
  }
  pthread_t sThread;
  if (iResult == 0) iResult = pthread_create(&sThread, &sAttr, ThreadEntry, hThread);
  pthread_attr_destroy(&sAttr);
  return iResult == 0 ? SA_OK : SA_ERROR;
}

/* Nice steps for -3..3, relative to the process's own nice value as thread priorities are
 * relative to the process's class. Above normal needs privileges on Linux; without them the
 * thread runs at normal priority, the best the platform allows. */
static const int kNiceStep[7] = {19, 10, 5, 0, -5, -10, -15};

static int ClampNice(int iNice) { return iNice < -20 ? -20 : (iNice > 19 ? 19 : iNice); }

static int ProcessNice(void) {
  errno = 0;
  int iNice = getpriority(PRIO_PROCESS, (id_t)getpid());
  return errno != 0 ? 0 : iNice;
}

extern "C" {

int SA_PlatformThreadCreate(SA_PlatformThread *phThread, PTHREADFUNCTION rRoutine, void *pArgument,
                            uint32_t u32StackSize, uint32_t *pu32Id) {
  *phThread = nullptr;
  SA_PlatformThread hThread = (SA_PlatformThread)calloc(1, sizeof(SA_PlatformThreadRec));
  if (hThread == nullptr) return SA_ERROR;
  if (SA_PosixCondInit(&hThread->sCond) != SA_OK) {
    free(hThread);
    return SA_ERROR;
  }
  hThread->iRefs.store(2);
  hThread->rRoutine = rRoutine;
  hThread->pArgument = pArgument;
  if (StartDetached(hThread, u32StackSize) != SA_OK) {
    SA_PosixCondDestroy(&hThread->sCond);
    free(hThread);
    return SA_ERROR;
  }
  pthread_mutex_lock(&hThread->sCond.sMutex);
  SA_PosixCondWait(&hThread->sCond, SA_INFINITE, IsStarted, hThread);
  *pu32Id = (uint32_t)hThread->iTid;
  pthread_mutex_unlock(&hThread->sCond.sMutex);
  *phThread = hThread;
  return SA_OK;
}

int SA_PlatformThreadWait(SA_PlatformThread hThread, uint32_t u32TimeoutMs) {
  if (hThread == nullptr) return SA_ERROR;
  return SA_PosixCondLockAndWait(&hThread->sCond, u32TimeoutMs, IsEnded, nullptr, hThread);
}

void SA_PlatformThreadClose(SA_PlatformThread *phThread) {
  if (*phThread == nullptr) return;
  DropReference(*phThread);
  *phThread = nullptr;
}

int SA_PlatformThreadSetPriority(SA_PlatformThread hThread, int32_t i32Priority) {
  if (hThread == nullptr || i32Priority < -3 || i32Priority > 3) return SA_ERROR;
  int iNormal = ProcessNice();
  int iNice = ClampNice(iNormal + kNiceStep[i32Priority + 3]);
  pthread_mutex_lock(&hThread->sCond.sMutex);
  int iResult = SA_ERROR;
  if (!hThread->bEnded) {
    int iSet = setpriority(PRIO_PROCESS, (id_t)hThread->iTid, iNice);
    if (iSet != 0 && iNice < iNormal && (errno == EACCES || errno == EPERM))
      iSet = setpriority(PRIO_PROCESS, (id_t)hThread->iTid, iNormal);
    iResult = iSet == 0 ? SA_OK : SA_ERROR;
  }
  pthread_mutex_unlock(&hThread->sCond.sMutex);
  return iResult;
}

void SA_PlatformThreadExitCurrent(void) { pthread_exit(nullptr); }

}  // extern "C"
