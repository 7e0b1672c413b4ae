/* The library's time constants in one record. */
#include "Lumatrek_Internal.h"

namespace {

const LT_Timing kDefaults = {
    2000,  /* connect */
    1000,  /* pause step */
    1000,  /* reconnection pause */
    500,   /* least gap between command connections */
    400,   /* before the second configuration read */
    1000,  /* read slice */
    30000, /* body reads and writes */
    120000, /* slow commands */
    31,    /* time reply slices */
    5,     /* pause steps between clock samples */
    5000,  /* command keep-alive */
    10000, /* stream keep-alive */
    60000, /* long join */
    20000, /* short join */
};

LT_Timing g_sTiming = kDefaults;

} // namespace

extern "C" {

LT_Timing *LT_timing(void)
{
    return &g_sTiming;
}

void LT_resetTiming(void)
{
    g_sTiming = kDefaults;
}

} // extern "C"
