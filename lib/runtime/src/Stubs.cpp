/* Start and release steps of runtime modules that have not landed yet.
 * Each module removes its lines here when it arrives. */
#include "SA_Internal.h"

extern "C" {
int SA_InitLog(void) { return SA_OK; }
void SA_ReleaseLog(void) {}
int SA_InitNet(void) { return SA_OK; }
void SA_ReleaseNet(void) {}
int SA_StartDebugServer(int32_t, int32_t, int32_t) { return SA_OK; }
void SA_StopDebugServer(void) {}
void AES_InitTables(void) {}
}
