// One unicast discovery client of the sensor as the operator types it: an address, optionally
// followed by a colon and a port; a bare address gets the discovery port.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "PXR.h"

class ConfigElement;

struct UnicastClient
{
    QByteArray address; // possibly empty
    QByteArray port;    // empty when none is sent

    // The entry of a kept client element: the address, then ":" and the port when there is
    // one; empty without element or address.
    static QString textOf(PXRMsgElement *client);
    // The client of an entry; none for an empty entry or one with more than one colon.
    static std::optional<UnicastClient> fromEntry(const QString &entry);

    // No port, or a decimal one from 1 to 65535.
    bool portValid() const;
    // The client element of that name under the parent: the address always, the port when given.
    void writeTo(const ConfigElement &parent, const char *name) const;
};
