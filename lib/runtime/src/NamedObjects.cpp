/* The process-wide registry of named objects, counted by the runtime's starts. */
#include "SA_Core.h"

struct NamedObject {
  NamedObject *psNext;
};

struct NamedObjectRegistry {
  SA_Mutex hMutex;
  NamedObject *psList;
  int32_t i32References;
};

static NamedObjectRegistry *g_psRegistry = nullptr;

extern "C" {

int SA_InitNamedObjects(void) {
  if (g_psRegistry == nullptr) {
    NamedObjectRegistry *psRegistry = (NamedObjectRegistry *)SA_Calloc(1, sizeof(NamedObjectRegistry));
    if (psRegistry == nullptr) return SA_ERROR;
    if (SA_CreateMutex(&psRegistry->hMutex) != SA_OK) {
      SA_Free(&psRegistry);
      return SA_ERROR;
    }
    g_psRegistry = psRegistry;
  }
  g_psRegistry->i32References++;
  return SA_OK;
}

void SA_ReleaseNamedObjects(void) {
  if (g_psRegistry == nullptr || --g_psRegistry->i32References > 0) return;
  SA_DestroyMutex(&g_psRegistry->hMutex);
  SA_Free(&g_psRegistry);
}

}  // extern "C"
