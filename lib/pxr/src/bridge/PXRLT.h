/* The legacy bridge: serves a legacy-family sensor behind a PXR handle. Called by the
 * sensor-communication library once a handle's sensor is found to speak the legacy protocol. */
#ifndef PXRLT_H
#define PXRLT_H

#include "PXR.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The bridge record of one handle; the handle keeps only a pointer to it. */
typedef struct PXRLT PXRLT;

/* 1 after the bridge record was made and stored in the handle, its light connection opened. */
int PXRLT_create(PXR *psPxr);
/* Closes the legacy connections, frees the bridge record and clears the handle's bridge field. */
int PXRLT_release(PXR *psPxr);
/* 1 when a setEnableStreams was applied, 0 for any other root; the message stays the caller's. */
int PXRLT_sendAsynchronousMessage(PXR *psPxr, PXRMsg *psMsg);
/* A new answer that the caller owns, or null with the handle's last error set. */
PXRMsg *PXRLT_sendRequest(PXR *psPxr, PXRMsg *psRequest, uint32_t u32TimeoutMs);

#ifdef __cplusplus
}
#endif

#endif
