/* Start and release steps of a runtime module that has not landed yet; removed when it does. */
#include "SA_Internal.h"

extern "C" {
void AES_InitTables(void) {}
}
