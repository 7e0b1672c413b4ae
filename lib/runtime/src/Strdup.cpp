/* Text duplicate from the runtime allocator. */
#include <string.h>

#include "SA_Core.h"

extern "C" char *SU_Strdup(const char *pcszStringToDup) {
  SA_ASSERT(pcszStringToDup);
  if (pcszStringToDup == nullptr) return nullptr;
  size_t uLength = strlen(pcszStringToDup);
  if (uLength >= UINT32_MAX) return nullptr;
  char *pszCopy = (char *)SA_Malloc((uint32_t)uLength + 1);
  if (pszCopy != nullptr) memcpy(pszCopy, pcszStringToDup, uLength + 1);
  return pszCopy;
}
