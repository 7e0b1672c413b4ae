// One element of a request being built.
#include "ConfigElement.h"

namespace {

bool isStep(PXRMsgElement *element, const ConfigElement::Step &step)
{
    const char *id = PXRMsgElementAttributeValue(element, "id");
    if (qstrcmp(PXRMsgElementName(element), step.name) != 0 || (id != nullptr) != step.id.has_value())
        return false;
    return !step.id || *step.id == id;
}

} // namespace

ConfigElement ConfigElement::path(const QList<Step> &steps) const
{
    PXRMsgElement *element = m_element;
    for (const Step &step : steps)
        element = ConfigElement(element).child(step);
    return ConfigElement(element);
}

PXRMsgElement *ConfigElement::child(const Step &step) const
{
    for (PXRMsgElement *child = PXRMsgElementFirstChild(m_element, nullptr); child != nullptr;
         child = PXRMsgElementNextChild(m_element, child, nullptr)) {
        if (isStep(child, step))
            return child;
    }
    PXRMsgElement *child = PXRMsgElementCreate(step.name.constData());
    if (child == nullptr || !PXRMsgElementAddChild(m_element, child)) {
        PXRMsgElementDestroy(child);
        return nullptr;
    }
    if (step.id)
        PXRMsgElementSetAttribute(child, "id", step.id->constData());
    return child;
}

const ConfigElement &ConfigElement::set(const char *name, const char *value) const
{
    PXRMsgElementSetAttribute(m_element, name, value);
    return *this;
}

const ConfigElement &ConfigElement::set(const char *name, const QString &value) const
{
    return set(name, value.toUtf8().constData());
}

const ConfigElement &ConfigElement::set(const char *name, bool value) const
{
    PXRMsgElementSetAttributeBool(m_element, name, value ? 1 : 0);
    return *this;
}

const ConfigElement &ConfigElement::set(const char *name, int value) const
{
    PXRMsgElementSetAttributeInt(m_element, name, int32_t(value));
    return *this;
}

const ConfigElement &ConfigElement::set(const char *name, unsigned value) const
{
    PXRMsgElementSetAttributeUInt(m_element, name, uint32_t(value));
    return *this;
}

void ConfigElement::addCopy(PXRMsgElement *source) const
{
    PXRMsgElement *copy = source != nullptr ? PXRMsgElementCopy(source) : nullptr;
    if (copy != nullptr && !PXRMsgElementAddChild(m_element, copy))
        PXRMsgElementDestroy(copy);
}
