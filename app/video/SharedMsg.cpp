// One reference to a read-only sensor message, shared by value: every copy takes its own
// reference and every holder releases its own.
#include "SharedMsg.h"

namespace {

PXRMsg *holdMessage(PXRMsg *message)
{
    if (!message || PXRMsgAddRef(message))
        return message;
    PXRMsg *copy = PXRMsgCopy(message);
    if (copy)
        PXRMsgSetReadOnly(copy, 1);
    return copy;
}

} // namespace

SharedMsg::SharedMsg(PXRMsg *message) : m_message(holdMessage(message))
{
}

SharedMsg::SharedMsg(const SharedMsg &other) : m_message(other.get())
{
    if (m_message)
        PXRMsgAddRef(m_message.get());
}

SharedMsg &SharedMsg::operator=(SharedMsg other) noexcept
{
    m_message.swap(other.m_message);
    return *this;
}
