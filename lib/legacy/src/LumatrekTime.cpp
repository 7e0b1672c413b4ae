/* The time connection's thread of a handle with a time socket. It holds the time socket's
 * state and the clock-valid flag until the handle stops. */
#include "Lumatrek_Internal.h"

extern "C" {

void TimeThread(LumatrekHandle *psHandle)
{
    LT_store(&psHandle->bClockValid, 0);
    while (LT_pause(psHandle, LT_timing()->u32ReadSliceMs)) {
    }
    SetConnectionState(psHandle, LT_SOCKET_TIME, 0);
}

} // extern "C"
