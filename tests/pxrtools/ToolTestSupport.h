// Messages for the toolbox's tests: video messages around a compressed picture and
// recognition messages with a decision, read-only as a sensor's messages arrive.
#pragma once

#include "PXR.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tooltest {

struct MsgDeleter {
    void operator()(PXRMsg *msg) const { PXRMsgDestroy(msg); }
};
using MsgPtr = std::unique_ptr<PXRMsg, MsgDeleter>;
using Attributes = std::map<std::string, std::string>;

inline PXRMsgElement *AddElement(PXRMsgElement *parent, const char *name, const Attributes &attributes)
{
    PXRMsgElement *element = PXRMsgElementCreate(name);
    for (const auto &[key, value] : attributes)
        PXRMsgElementSetAttribute(element, key.c_str(), value.c_str());
    PXRMsgElementAddChild(parent, element);
    return element;
}

// A read-only message whose root has the attributes and, unless null, one child.
inline MsgPtr Message(const char *rootName, const Attributes &rootAttributes, const char *childName = nullptr,
                      const Attributes &childAttributes = {})
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate(rootName);
    for (const auto &[key, value] : rootAttributes)
        PXRMsgElementSetAttribute(root, key.c_str(), value.c_str());
    PXRMsgSetChild(msg.get(), root);
    if (childName)
        AddElement(root, childName, childAttributes);
    PXRMsgSetReadOnly(msg.get(), 1);
    return msg;
}

// A read-only video message: codec (none when null) and a data child holding the bytes.
inline MsgPtr VideoMessage(const char *codec, const std::vector<uint8_t> &data)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate("video");
    if (codec)
        PXRMsgElementSetAttribute(root, "codec", codec);
    PXRMsgElementSetAttribute(root, "cameraId", "1");
    PXRMsgSetChild(msg.get(), root);
    PXRMsgElement *content = PXRMsgElementCreate("data");
    PXRMsgElementSetContentBinary(content, data.empty() ? nullptr : data.data(), static_cast<uint32_t>(data.size()));
    PXRMsgElementAddChild(root, content);
    PXRMsgSetReadOnly(msg.get(), 1);
    return msg;
}

inline std::string AttributeOf(PXRMsg *msg, const char *child, const char *name)
{
    const char *value = PXRMsgElementAttributeValue(PXRMsgElementFirstChild(PXRMsgChild(msg), child), name);
    return value ? value : "<absent>";
}

}  // namespace tooltest
