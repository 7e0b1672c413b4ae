/* The processor's feature report (CPUID leaf 1). */
#include "SA_Platform.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

extern "C" int SA_PlatformCpuFeatures(uint32_t *pu32Edx) {
#if defined(__x86_64__) || defined(__i386__)
  unsigned int uEax, uEbx, uEcx, uEdx;
  if (__get_cpuid(1, &uEax, &uEbx, &uEcx, &uEdx) == 0) return 0;
  *pu32Edx = uEdx;
  return 1;
#else
  (void)pu32Edx;
  return 0;
#endif
}
