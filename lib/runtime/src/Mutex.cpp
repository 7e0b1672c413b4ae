/* Mutex records: a bare runtime mutex with the position that created it, kept for diagnosis. */
#include "SA_Core.h"

struct SA_MutexRec {
  SA_OsMutex hMutex;
  const char *pcszFile;
  const char *pcszFunction;
  uint32_t u32Line;
};

extern "C" {

int SA_CreateMutexInfo(SA_Mutex *phMutex, const char *pcszFile, const char *pcszFunction, uint32_t u32Line) {
  SA_ASSERT(phMutex);
  if (phMutex == nullptr) return SA_ERROR;
  SA_Mutex hMutex = (SA_Mutex)SA_MallocInfo(sizeof(SA_MutexRec), pcszFile, u32Line);
  *phMutex = nullptr;
  if (hMutex == nullptr) return SA_ERROR;
  if (SA_CreateOsMutex(&hMutex->hMutex) != SA_OK) {
    SA_Free(&hMutex);
    return SA_ERROR;
  }
  hMutex->pcszFile = pcszFile;
  hMutex->pcszFunction = pcszFunction;
  hMutex->u32Line = u32Line;
  *phMutex = hMutex;
  return SA_OK;
}

int SA_DestroyMutex(SA_Mutex *phMutex) {
  if (phMutex == nullptr || *phMutex == nullptr) return SA_OK;
  SA_DestroyOsMutex(&(*phMutex)->hMutex);
  SA_Free(phMutex);
  return SA_OK;
}

int SA_LockMutexTimeout(SA_Mutex hMutex, uint32_t u32TimeoutMs) {
  if (hMutex == nullptr) return SA_ERROR;
  return SA_LockOsMutexTimeout(hMutex->hMutex, u32TimeoutMs);
}

int SA_UnlockMutex(SA_Mutex hMutex) {
  if (hMutex == nullptr) return SA_ERROR;
  return SA_UnlockOsMutex(hMutex->hMutex);
}

}  // extern "C"
