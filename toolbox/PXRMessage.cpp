// The one owner of a PXR message in the application.
#include "PXRMessage.h"

PXRMessage pxrMsgWithRoot(const char *rootName)
{
    PXRMessage message(PXRMsgCreate());
    PXRMsgElement *root = message ? PXRMsgElementCreate(rootName) : nullptr;
    if (root == nullptr || !PXRMsgSetChild(message.get(), root)) {
        PXRMsgElementDestroy(root);
        return nullptr;
    }
    return message;
}
