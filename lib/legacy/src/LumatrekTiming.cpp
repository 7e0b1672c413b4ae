/* The library's time constants in one record, and the atomic access to the words that the
 * handle's threads share without a lock. */
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

int32_t LT_load(const int32_t *pi32Value)
{
    return __atomic_load_n(pi32Value, __ATOMIC_SEQ_CST);
}

void LT_store(int32_t *pi32Value, int32_t i32Value)
{
    __atomic_store_n(pi32Value, i32Value, __ATOMIC_SEQ_CST);
}

} // extern "C"
