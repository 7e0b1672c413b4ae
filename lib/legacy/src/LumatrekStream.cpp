/* The stream area of a handle: its set-up after creation and its cancel at destruction. */
#include "Lumatrek_Internal.h"

extern "C" {

int LumatrekAddStreamInternal(LumatrekHandle *psHandle, uint32_t u32StreamOption, LumatrekErrorInfo *psError)
{
    if (!CheckHandle(psHandle, psError)) {
        LumatrekError(psHandle, psError);
        return 0;
    }
    psHandle->u32StreamOption = u32StreamOption;
    psHandle->u32RunState = 1;
    return 1;
}

int LT_hasEventCallback(LumatrekHandle *)
{
    // No stream callback exists yet: picture requests have nobody to deliver their answer to.
    return 0;
}

void LumatrekCancelStreamInternal(LumatrekHandle *psHandle, LumatrekErrorInfo *)
{
    SetConnectionState(psHandle, LT_SOCKET_STREAM, 0);
}

} // extern "C"
