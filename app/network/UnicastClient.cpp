// One unicast discovery client of the sensor as the operator types it.
#include "UnicastClient.h"

#include "ConfigElement.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr const char *kDiscoveryPort = "22022";

} // namespace

QString UnicastClient::textOf(PXRMsgElement *client)
{
    const char *address = PXRMsgElementAttributeValue(client, "address");
    if (address == nullptr)
        return QString();
    QString text = QString::fromLatin1(address);
    const char *port = PXRMsgElementAttributeValue(client, "port");
    if (port != nullptr && *port != '\0')
        text += QLatin1Char(':') + QString::fromLatin1(port);
    return text;
}

std::optional<UnicastClient> UnicastClient::fromEntry(const QString &entry)
{
    if (entry.isEmpty())
        return std::nullopt;
    const QStringList parts = entry.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    if (parts.size() > 2)
        return std::nullopt;
    UnicastClient client{parts.at(0).toLatin1(), QByteArray()};
    if (parts.size() == 2)
        client.port = parts.at(1).toLatin1();
    else if (!client.address.isEmpty())
        client.port = kDiscoveryPort;
    return client;
}

bool UnicastClient::portValid() const
{
    if (port.isEmpty())
        return true;
    // Digits only: the sensor takes the text as it stands.
    if (!std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    bool ok = false;
    const uint value = port.toUInt(&ok, 10);
    return ok && value >= 1 && value <= 65535;
}

void UnicastClient::writeTo(const ConfigElement &parent, const char *name) const
{
    const ConfigElement client = parent.path({{name}});
    client.set("address", address.constData());
    if (!port.isEmpty())
        client.set("port", port.constData());
}
