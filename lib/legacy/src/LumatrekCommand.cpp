/* The command connection's thread of a command handle. It holds the command socket's state
 * until the handle stops. */
#include "Lumatrek_Internal.h"

extern "C" {

void CmdThread(LumatrekHandle *psHandle)
{
    while (LT_pause(psHandle, LT_timing()->u32ReadSliceMs)) {
    }
    SetConnectionState(psHandle, LT_SOCKET_COMMAND, 0);
}

} // extern "C"
