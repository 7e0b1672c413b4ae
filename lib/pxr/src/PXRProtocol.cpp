/* Protocol detection from a sensor's first bytes, and the hook through which a handle hands
 * a legacy-family sensor to the legacy bridge. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const PXR_LegacyBridge *g_psBridge = nullptr;

} // namespace

extern "C" {

void PXR_setLegacyBridge(const PXR_LegacyBridge *psBridge)
{
    __atomic_store_n(&g_psBridge, psBridge, __ATOMIC_RELEASE);
}

const PXR_LegacyBridge *PXR_legacyBridge(void)
{
    return __atomic_load_n(&g_psBridge, __ATOMIC_ACQUIRE);
}

void PXR_detectProtocol(PXR *psPxr, const uint8_t *pu8FirstBytes, const char *pcszConnection)
{
    SA_LockMutex(psPxr->hMutexTestProtocol);
    int iProtocol = PXR_protocol(psPxr);
    if (iProtocol == PXR_PROTOCOL_UNKNOWN) {
        if (memcmp(pu8FirstBytes, "MIME", 4) == 0) {
            SA_AtomicStore(&psPxr->i32DetectedProtocol, PXR_PROTOCOL_FYB);
        } else {
            PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL, "%s: Protocol KGV needs to be used, switching to LTDLL",
                      pcszConnection);
            SA_AtomicStore(&psPxr->i32DetectedProtocol, PXR_PROTOCOL_KGV);
            const PXR_LegacyBridge *psBridge = PXR_legacyBridge();
            if (psBridge && psBridge->rCreate)
                psBridge->rCreate(psPxr);
        }
    } else if (iProtocol == PXR_PROTOCOL_KGV) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL, "%s: Protocol KGV already detected, stopping thread",
                  pcszConnection);
    }
    SA_UnlockMutex(psPxr->hMutexTestProtocol);
}

} // extern "C"
