/* The platform's local calendar time, for the runtime's dated log lines. */
#ifndef SA_LOCAL_TIME_H
#define SA_LOCAL_TIME_H

#include "SA_Core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SA_LocalTime {
    int32_t i32Year;   /* four digits */
    int32_t i32Month;  /* 1-12 */
    int32_t i32Day;    /* 1-31 */
    int32_t i32Hour;
    int32_t i32Minute;
    int32_t i32Second;
} SA_LocalTime;

/* The current local time into *psTime: 0, or -1 (then zeroed). */
int SA_PlatformLocalTime(SA_LocalTime *psTime);

#ifdef __cplusplus
}
#endif

#endif
