// A request to the master sensor built as paths of elements with their ids, sent and judged
// under a title: the way every sender of a setConfig tree writes it.
//
//   ConfigRequest request("setConfig");
//   request.path({{"config"}, {"cameras"}, {"camera", id}, {"optics"}}).set("zoom", value);
//   request.send(this, tr("Configuration"));
#pragma once

#include "ConfigElement.h"
#include "PXRMessage.h"

class QWidget;

class ConfigRequest
{
public:
    explicit ConfigRequest(const char *rootName);

    ConfigElement root() const { return ConfigElement(PXRMsgChild(m_message.get())); }
    // The element at the end of the path below the root (see ConfigElement::path).
    ConfigElement path(const QList<ConfigElement::Step> &steps) const { return root().path(steps); }

    // Sends to the master sensor; true when the answer is accepted. Refusals and a missing
    // answer are shown in boxes under the title, with the parent given. The request cannot
    // change afterwards.
    bool send(QWidget *parent, const QString &title) const;

    PXRMsg *message() const { return m_message.get(); }

private:
    PXRMessage m_message;
};
