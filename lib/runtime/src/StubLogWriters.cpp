/* Log writers of a runtime module that has not landed yet; removed when it does. */
#include "SA_Internal.h"

extern "C" {
int SA_SetLogFileEx(const char *, uint32_t) { return SA_OK; }
void SA_SetLogCallback(SA_LogCallback) {}
void SA_Log(const char *, ...) {}
void SA_WriteLogDateV(const char *, ...) {}
void SA_WriteLogDump(const void *, uint32_t, uint32_t) {}
}
