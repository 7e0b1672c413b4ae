// One element of a request being built: the path below it made or found once, attributes set
// in the order given, copies of other trees added.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

#include "PXR.h"

class ConfigElement
{
public:
    // One level of a path: an element name and, when given, its "id" attribute.
    struct Step
    {
        Step(QByteArray stepName, std::optional<QByteArray> stepId = std::nullopt)
            : name(std::move(stepName)), id(std::move(stepId))
        {
        }

        QByteArray name;
        std::optional<QByteArray> id;
    };

    explicit ConfigElement(PXRMsgElement *element) : m_element(element) {}

    // The element at the end of the path below this one; a level already there with the same
    // name and id is reused, so paths sharing a start build one tree.
    ConfigElement path(const QList<Step> &steps) const;

    // Texts go as UTF-8, booleans as "1" or "0", numbers in decimal.
    const ConfigElement &set(const char *name, const char *value) const;
    const ConfigElement &set(const char *name, const QString &value) const;
    const ConfigElement &set(const char *name, bool value) const;
    const ConfigElement &set(const char *name, int value) const;
    const ConfigElement &set(const char *name, unsigned value) const;
    // A value not given sets nothing, so the sensor keeps its own.
    template <typename T> const ConfigElement &set(const char *name, const std::optional<T> &value) const
    {
        return value ? set(name, *value) : *this;
    }

    // Appends a copy of the element and its subtree; null adds nothing.
    void addCopy(PXRMsgElement *source) const;

    PXRMsgElement *get() const { return m_element; }

private:
    PXRMsgElement *child(const Step &step) const;

    PXRMsgElement *m_element;
};
