/* The time constants of the connection dialogue in one record, and the atomic access to the
 * handle's flags that its threads share without a lock. */
#include "PXR_Internal.h"

namespace {

const PXR_Timing kDefaults = {
    10000, /* connect and handshake */
    2000,  /* connect retry: 100 x 20 ms */
    2000,  /* TLS retry: 10 x 200 ms */
    30000, /* first bytes */
    10000, /* hello */
    5000,  /* reconnect delay: 500 x 10 ms */
    500,   /* asynchronous receive slice */
    10000, /* rest of a pushed message */
    5000,  /* keep-alive */
    30000, /* silence drop */
    30000, /* keep-alive reply */
    200,   /* request poll */
    100,   /* stop poll */
    2000,  /* stable connection */
    500,   /* first back-off */
    10000, /* longest back-off */
};

PXR_Timing g_sTiming = kDefaults;

} // namespace

extern "C" {

PXR_Timing *PXR_timing(void)
{
    return &g_sTiming;
}

void PXR_resetTiming(void)
{
    g_sTiming = kDefaults;
}

int32_t PXR_load(const int32_t *pi32Value)
{
    return __atomic_load_n(pi32Value, __ATOMIC_ACQUIRE);
}

void PXR_store(int32_t *pi32Value, int32_t i32Value)
{
    __atomic_store_n(pi32Value, i32Value, __ATOMIC_RELEASE);
}

uint32_t PXR_loadU(const uint32_t *pu32Value)
{
    return __atomic_load_n(pu32Value, __ATOMIC_ACQUIRE);
}

void PXR_storeU(uint32_t *pu32Value, uint32_t u32Value)
{
    __atomic_store_n(pu32Value, u32Value, __ATOMIC_RELEASE);
}

} // extern "C"
