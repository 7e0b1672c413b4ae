/* The time constants of the connection dialogue in one record. */
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

} // extern "C"
