/* The runtime allocator: the process heap or a private arena, with an optional tracking
 * mode (guard words, a list of live blocks, checks on release, a leak report). */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SA_Internal.h"

static const uint32_t kSignature = 0x55AA55AAu;
static const uint32_t kReleased = 0xCAFECACAu;
static const uint32_t kFooterSize = sizeof(uint32_t);

struct FileName {
  FileName *psNext;
  char aszText[1];
};

/* Pointer-sized fields; the signature sits just below the caller's bytes, and the size
 * keeps the caller's part on the heap's 16-byte alignment. */
struct alignas(16) TrackedHeader {
  uint32_t u32Size;
  uint32_t u32Line;
  FileName *psFile;
  TrackedHeader *psNext;
  uint32_t u32Reserved;
  uint32_t u32Signature;
};
static_assert(sizeof(TrackedHeader) == SA_TRACKED_HEADER_SIZE, "tracked header size");

static SA_Memory psHeapMemory = nullptr;
static int g_bTracking = 0;
static SA_OsMutex hPointerOsMutex = nullptr;
static TrackedHeader *g_psLiveBlocks = nullptr;
static FileName *g_psFileNames = nullptr;
static SA_MemoryLeakCallback g_rLeakCallback = nullptr;
static const char *g_pcszLeakTitle = nullptr;
static void *g_pLeakUser = nullptr;

static void *RawAlloc(uint32_t u32Size) {
  if (psHeapMemory != nullptr) return SA_MemoryAlloc(psHeapMemory, u32Size);
  return malloc(u32Size);
}

static void RawFree(void *p) {
  if (psHeapMemory != nullptr)
    SA_MemoryFree(psHeapMemory, &p);
  else
    free(p);
}

static void LockPointers(void) { SA_ASSERT(SA_LockOsMutex(hPointerOsMutex) == SA_OK); }

/* Under the pointer mutex. Null when a new entry cannot be made. */
static FileName *FindFileName(const char *pcszFile) {
  if (pcszFile == nullptr) pcszFile = "";
  for (FileName *psName = g_psFileNames; psName != nullptr; psName = psName->psNext)
    if (strcmp(psName->aszText, pcszFile) == 0) return psName;
  size_t uLength = strlen(pcszFile);
  FileName *psName = (FileName *)malloc(sizeof(FileName) + uLength);
  if (psName == nullptr) return nullptr;
  memcpy(psName->aszText, pcszFile, uLength + 1);
  psName->psNext = g_psFileNames;
  g_psFileNames = psName;
  return psName;
}

/* Under the pointer mutex; the list stays in ascending address order. */
static void InsertLiveBlock(TrackedHeader *psHeader) {
  TrackedHeader **ppsLink = &g_psLiveBlocks;
  while (*ppsLink != nullptr && *ppsLink < psHeader) ppsLink = &(*ppsLink)->psNext;
  psHeader->psNext = *ppsLink;
  *ppsLink = psHeader;
}

/* Under the pointer mutex. 1 when the block was in the list. */
static int RemoveLiveBlock(TrackedHeader *psHeader) {
  TrackedHeader **ppsLink = &g_psLiveBlocks;
  while (*ppsLink != nullptr && *ppsLink < psHeader) ppsLink = &(*ppsLink)->psNext;
  if (*ppsLink != psHeader) return 0;
  *ppsLink = psHeader->psNext;
  return 1;
}

static const char *FileText(const TrackedHeader *psHeader) {
  return psHeader->psFile != nullptr ? psHeader->psFile->aszText : "";
}

static void *TrackedAlloc(uint32_t u32Size, const char *pcszFile, uint32_t u32Line) {
  if (u32Size > UINT32_MAX - SA_TRACKED_HEADER_SIZE - kFooterSize) return nullptr;
  TrackedHeader *psHeader = (TrackedHeader *)RawAlloc(u32Size + SA_TRACKED_HEADER_SIZE + kFooterSize);
  if (psHeader == nullptr) return nullptr;
  memset(psHeader, 0, sizeof(*psHeader));
  psHeader->u32Size = u32Size;
  psHeader->u32Line = u32Line;
  psHeader->u32Signature = kSignature;
  LockPointers();
  psHeader->psFile = FindFileName(pcszFile);
  InsertLiveBlock(psHeader);
  SA_UnlockOsMutex(hPointerOsMutex);
  uint8_t *pu8User = (uint8_t *)(psHeader + 1);
  memcpy(pu8User + u32Size, &kSignature, kFooterSize);
  return pu8User;
}

static void Report(const char *pcszFile, const char *pcszFunction, uint32_t u32Line, const char *pcszFormat,
                   ...) __attribute__((format(printf, 4, 5)));

static void Report(const char *pcszFile, const char *pcszFunction, uint32_t u32Line, const char *pcszFormat,
                   ...) {
  char aszMessage[512];
  va_list sArgs;
  va_start(sArgs, pcszFormat);
  vsnprintf(aszMessage, sizeof(aszMessage), pcszFormat, sArgs);
  va_end(sArgs);
  SA_Assert(0, "SA_Free", pcszFile, pcszFunction, u32Line, aszMessage);
}

static int TrackedFree(void **pp, const char *pcszFile, const char *pcszFunction, uint32_t u32Line) {
  void *p = *pp;
  TrackedHeader *psHeader = (TrackedHeader *)p - 1;
  if (psHeader->u32Signature != kSignature) {
    Report(pcszFile, pcszFunction, u32Line, "SA_Free(%p): Header overwritten (signature 0x%x)", p,
           psHeader->u32Signature);
    return SA_ERROR;
  }
  uint32_t u32Footer;
  memcpy(&u32Footer, (uint8_t *)p + psHeader->u32Size, kFooterSize);
  if (u32Footer != kSignature)
    Report(pcszFile, pcszFunction, u32Line, "SA_Free(%p): Footer overwritten (allocated in %s line %u)", p,
           FileText(psHeader), psHeader->u32Line);
  psHeader->u32Signature = kReleased;
  memcpy((uint8_t *)p + psHeader->u32Size, &kReleased, kFooterSize);
  LockPointers();
  int bFound = RemoveLiveBlock(psHeader);
  SA_UnlockOsMutex(hPointerOsMutex);
  *pp = nullptr;
  if (!bFound) {
    Report(pcszFile, pcszFunction, u32Line, "SA_Free(%p): Unallocated pointer", p);
    return SA_ERROR;
  }
  RawFree(psHeader);
  return SA_OK;
}

/* Under the pointer mutex: each unreleased block to the leak callback, then the file names. */
static void ReportLeaks(void) {
  for (TrackedHeader *psHeader = g_psLiveBlocks; psHeader != nullptr; psHeader = psHeader->psNext) {
    const char *pcszFile = FileText(psHeader);
    char aszLine[512];
    snprintf(aszLine, sizeof(aszLine), "***** Not freed pointer: %p (%u bytes) allocated from %s line %u\n",
             (void *)(psHeader + 1), psHeader->u32Size, pcszFile[0] != '\0' ? pcszFile : "UNKNOWN",
             psHeader->u32Line);
    if (g_rLeakCallback != nullptr) g_rLeakCallback(g_pcszLeakTitle, aszLine, g_pLeakUser);
  }
  g_psLiveBlocks = nullptr;
  while (g_psFileNames != nullptr) {
    FileName *psName = g_psFileNames;
    g_psFileNames = psName->psNext;
    free(psName);
  }
}

extern "C" {

static uint32_t g_u32FailFrom = 0;

void SA_FailAllocationsForTest(uint32_t u32FromSize) {
  __atomic_store_n(&g_u32FailFrom, u32FromSize, __ATOMIC_SEQ_CST);
}

void *SA_MallocInfo(uint32_t u32Size, const char *pcszFile, uint32_t u32Line) {
  if (u32Size == 0) return nullptr;
  const uint32_t u32FailFrom = __atomic_load_n(&g_u32FailFrom, __ATOMIC_SEQ_CST);
  if (u32FailFrom != 0 && u32Size >= u32FailFrom) return nullptr;
  if (g_bTracking) return TrackedAlloc(u32Size, pcszFile, u32Line);
  return RawAlloc(u32Size);
}

void *SA_CallocInfo(uint32_t u32Count, uint32_t u32Size, const char *pcszFile, uint32_t u32Line) {
  if (u32Count == 0 || u32Size == 0) return nullptr;
  if ((uint64_t)u32Count * u32Size > UINT32_MAX) return nullptr;
  void *p = SA_MallocInfo(u32Count * u32Size, pcszFile, u32Line);
  if (p != nullptr) SA_MemZero(p, u32Count * u32Size);
  return p;
}

int SA_FreeInfo(void **pp, const char *pcszFile, const char *pcszFunction, uint32_t u32Line) {
  SA_ASSERT(pp);
  if (pp == nullptr || *pp == nullptr) return SA_OK;
  if (g_bTracking) return TrackedFree(pp, pcszFile, pcszFunction, u32Line);
  RawFree(*pp);
  *pp = nullptr;
  return SA_OK;
}

int SA_InitHeap(uint32_t u32Size, int bTracking) {
  SA_ASSERT(!psHeapMemory);
  if (psHeapMemory != nullptr) return SA_ERROR;
  if (bTracking && SA_CreateOsMutex(&hPointerOsMutex) != SA_OK) return SA_ERROR;
  if (u32Size != 0) {
    psHeapMemory = SA_MemoryCreate(u32Size);
    if (psHeapMemory == nullptr) {
      SA_DestroyOsMutex(&hPointerOsMutex);
      return SA_ERROR;
    }
  }
  g_bTracking = bTracking ? 1 : 0;
  return SA_OK;
}

void SA_ReleaseHeap(void) {
  if (g_bTracking) {
    LockPointers();
    ReportLeaks();
    SA_UnlockOsMutex(hPointerOsMutex);
  }
  SA_MemoryRelease(&psHeapMemory);
  g_bTracking = 0;
  SA_DestroyOsMutex(&hPointerOsMutex);
}

void SA_SetMemoryLeakCallback(SA_MemoryLeakCallback rCallback, const char *pcszTitle, void *pUser) {
  g_rLeakCallback = rCallback;
  g_pcszLeakTitle = pcszTitle;
  g_pLeakUser = pUser;
}

}  // extern "C"
