/* Start and release steps of a runtime module that has not landed yet; removed when it does. */
#include "SA_Internal.h"

extern "C" {
int SA_InitNet(void) { return SA_OK; }
void SA_ReleaseNet(void) {}
}
