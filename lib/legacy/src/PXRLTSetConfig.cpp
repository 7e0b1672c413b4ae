/* The bridge's setConfig: the configuration tree of the request written into a legacy sensor
 * with the legacy setters, section by section, stopping at the first failure. */
#include <stdio.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

// While it runs, configuration blocks leave the trees alone (see PXRLT_deferTreeRebuild).
void beginRun(PXRLT *psBridge)
{
    SA_LockMutex(psBridge->hConfigMutex);
    psBridge->bSetConfigRunning = 1;
    psBridge->bRebuildOwed = 0;
    SA_UnlockMutex(psBridge->hConfigMutex);
}

// One rebuild for every block that came meanwhile, through the light connection's configuration
// callback run without block, as the library runs its callbacks: under its configuration mutex.
void endRun(PXR *psPxr)
{
    PXRLT *psBridge = psPxr->psBridge;
    SA_LockMutex(psBridge->hConfigMutex);
    const int bOwed = psBridge->bRebuildOwed;
    psBridge->bSetConfigRunning = 0;
    psBridge->bRebuildOwed = 0;
    SA_UnlockMutex(psBridge->hConfigMutex);
    LumatrekHandle *psLight = psBridge->psLightHandle;
    if (!bOwed || !psLight)
        return;
    LT_lock(psLight, LT_MUTEX_CONFIG);
    LT_Stream *psStream = psLight->psStream;
    if (psStream && !LT_load(&psStream->bClosing) && psStream->sConfig.rCallback)
        reinterpret_cast<LumatrekConfigCallback>(psStream->sConfig.rCallback)(psLight, nullptr,
                                                                               psStream->sConfig.pUser);
    LT_unlock(psLight, LT_MUTEX_CONFIG);
}

} // namespace

int PXRLT_deferTreeRebuild(PXR *psPxr)
{
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psBridge)
        return 0;
    SA_LockMutex(psBridge->hConfigMutex);
    const int bRunning = psBridge->bSetConfigRunning;
    if (bRunning)
        psBridge->bRebuildOwed = 1;
    SA_UnlockMutex(psBridge->hConfigMutex);
    return bRunning;
}

} // extern "C"
