// One reference to a read-only sensor message, shared by value: every copy takes its own
// reference and every holder releases its own.
#pragma once

#include "PXRMessage.h"

class SharedMsg
{
public:
    SharedMsg() = default;
    // Takes a reference on a read-only message; a writable one may still change under its owner,
    // so a read-only copy of it is held instead. Null holds nothing.
    explicit SharedMsg(PXRMsg *message);
    SharedMsg(const SharedMsg &other);
    SharedMsg(SharedMsg &&other) noexcept = default;
    SharedMsg &operator=(SharedMsg other) noexcept;
    ~SharedMsg() = default;

    PXRMsg *get() const { return m_message.get(); }
    explicit operator bool() const { return m_message != nullptr; }

private:
    // Each holder's own reference, released by the owner.
    PXRMessage m_message;
};
