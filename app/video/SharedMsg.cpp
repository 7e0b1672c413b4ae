// One reference to a read-only sensor message, shared by value: every copy takes its own
// reference and every holder releases its own.
#include "SharedMsg.h"

#include <utility>

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

SharedMsg::SharedMsg(const SharedMsg &other) : m_message(other.m_message)
{
    if (m_message)
        PXRMsgAddRef(m_message);
}

SharedMsg::SharedMsg(SharedMsg &&other) noexcept : m_message(std::exchange(other.m_message, nullptr))
{
}

SharedMsg &SharedMsg::operator=(SharedMsg other) noexcept
{
    std::swap(m_message, other.m_message);
    return *this;
}

SharedMsg::~SharedMsg()
{
    if (m_message)
        PXRMsgDestroy(m_message);
}
