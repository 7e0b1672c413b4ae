/* Local calendar time from the C library's reentrant conversion. */
#include "LocalTime.h"

#include <string.h>
#include <time.h>

extern "C" int SA_PlatformLocalTime(SA_LocalTime *psTime)
{
    memset(psTime, 0, sizeof(*psTime));
    time_t tNow = time(nullptr);
    struct tm sLocal;
    if (localtime_r(&tNow, &sLocal) == nullptr)
        return SA_ERROR;
    psTime->i32Year = sLocal.tm_year + 1900;
    psTime->i32Month = sLocal.tm_mon + 1;
    psTime->i32Day = sLocal.tm_mday;
    psTime->i32Hour = sLocal.tm_hour;
    psTime->i32Minute = sLocal.tm_min;
    psTime->i32Second = sLocal.tm_sec;
    return SA_OK;
}
