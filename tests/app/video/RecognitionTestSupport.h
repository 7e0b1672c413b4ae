// Helpers shared by the recognition tests: recognition messages built read-only as a sensor's
// arrive, the number of holders of a message, and a plate encrypted with a test key.
#pragma once

#include "PXR.h"
#include "RecognitionGroup.h"

#include <QByteArray>
#include <QDateTime>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace recotest {

struct MsgDeleter {
    void operator()(PXRMsg *msg) const { PXRMsgDestroy(msg); }
};
using MsgPtr = std::unique_ptr<PXRMsg, MsgDeleter>;
using Attributes = std::vector<std::pair<std::string, std::string>>;

constexpr qint64 BaseDate = 1700000000000;

// Root attributes of a recognition message, set in a chain; an unset one is absent.
struct Fields {
    Fields &session(std::string value) { return set(sessionText, std::move(value)); }
    Fields &date(qint64 value) { return set(dateMs, value); }
    Fields &triggerId(std::optional<std::string> value) { return set(triggerIdText, std::move(value)); }
    Fields &plateFrom(std::string value) { return set(plateFromText, std::move(value)); }
    // An attribute of the first child element.
    Fields &child(std::string name, std::string value)
    {
        childAttributes.emplace_back(std::move(name), std::move(value));
        return *this;
    }

    std::optional<std::string> sessionText;
    std::optional<qint64> dateMs;
    std::optional<std::string> triggerIdText;
    std::optional<std::string> plateFromText;
    Attributes childAttributes;

private:
    template <typename T, typename V> Fields &set(std::optional<T> &field, V &&value)
    {
        field = std::forward<V>(value);
        return *this;
    }
};

// A read-only message with that root and, unless null, that first child element.
inline MsgPtr message(const char *root, const char *child, const Fields &fields = {})
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *rootElement = PXRMsgElementCreate(root);
    const std::pair<const char *, const std::optional<std::string> &> texts[] = {
        {"session", fields.sessionText}, {"triggerId", fields.triggerIdText}, {"plateFrom", fields.plateFromText}};
    for (const auto &[name, value] : texts) {
        if (value)
            PXRMsgElementSetAttribute(rootElement, name, value->c_str());
    }
    if (fields.dateMs)
        PXRMsgElementSetAttributeInt64(rootElement, "date", *fields.dateMs);
    PXRMsgSetChild(msg.get(), rootElement);
    if (child) {
        PXRMsgElement *childElement = PXRMsgElementCreate(child);
        for (const auto &[name, value] : fields.childAttributes)
            PXRMsgElementSetAttribute(childElement, name.c_str(), value.c_str());
        PXRMsgElementAddChild(rootElement, childElement);
    }
    PXRMsgSetReadOnly(msg.get(), 1);
    return msg;
}

// A passage message of an anpr root: "new", "end", "speed" or a decision element.
inline MsgPtr passage(const char *child, const Fields &fields = {})
{
    return message("anpr", child, fields);
}

inline MsgPtr triggerAnswer(std::optional<std::string> triggerId, Fields fields = {})
{
    return message("triggerAnswer", nullptr, fields.triggerId(std::move(triggerId)));
}

inline MsgPtr triggerResult(std::optional<std::string> triggerId, Fields fields = {})
{
    return message("triggerResult", "decision", fields.triggerId(std::move(triggerId)));
}

inline MsgPtr ioState(const Fields &fields = {})
{
    return message("ioState", "input", fields);
}

inline QDateTime at(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms);
}

// How many holders the read-only message has, counted by dropping the other references one by
// one until the message could be made writable; every reference is then taken back.
inline int holders(PXRMsg *msg)
{
    int others = 0;
    while (!PXRMsgSetReadOnly(msg, 0)) {
        PXRMsgDestroy(msg);
        ++others;
    }
    PXRMsgSetReadOnly(msg, 1);
    for (int i = 0; i < others; ++i)
        PXRMsgAddRef(msg);
    return others + 1;
}

inline const char *decisionAttribute(PXRMsg *msg, const char *name)
{
    return PXRMsgElementAttributeValue(PXRMsgElementFirstChild(PXRMsgChild(msg), "decision"), name);
}

// A test RSA key in PEM and a plate encrypted under it as a sensor sends it (Base64).
struct CryptedPlate {
    QByteArray pem;
    std::string crypted;
};
CryptedPlate encryptWithTestKey(const std::string &plate);

} // namespace recotest
