// The one owner of a PXR message in the application: move-only, released with the library's
// PXRMsgDestroy when it goes, so no caller pairs a create with a destroy by hand.
#pragma once

#include "PXR.h"

#include <memory>

struct PXRMsgRelease
{
    void operator()(PXRMsg *message) const { PXRMsgDestroy(message); }
};

using PXRMessage = std::unique_ptr<PXRMsg, PXRMsgRelease>;

// A new writable message whose root is a new element of that name; null when either failed.
PXRMessage pxrMsgWithRoot(const char *rootName);
