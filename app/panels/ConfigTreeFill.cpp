// The configuration tree's sections, added or updated in place from the kept configuration,
// the security state of the kept information and the sensor's clock offset.
#include "ConfigTreeFill.h"

#include "CameraTreeFill.h"
#include "LightingTreeFill.h"
#include "MainWindowInterface.h"
#include "PXR.h"
#include "WidgetGeneralSettings.h"
#include "ZyLumatrekTr.h"
#include "ZyTreeWidgetItem.h"

#include <QColor>

namespace {

const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);
const int kLargestTimeGapMs = 1000;

// A whole number at least 0, or -1 for anything else.
int wholeNumber(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

} // namespace

ConfigTreeFill::ConfigTreeFill(WidgetGeneralSettings &tree)
    : TreeFill(tree)
{
}

QString ConfigTreeFill::secondsText(const QString &milliseconds)
{
    return QString("%1 seconds").arg(QString::number(milliseconds.toDouble() / 1000.0, 'g', 6));
}

ZyTreeWidgetItem *ConfigTreeFill::section(QTreeWidgetItem *parent, const QString &caption, PXRMsgElement *element,
                                          bool style, const QString &tag)
{
    return m_tree.addSection(parent, caption, element, style, tag, false, tr("Edit"));
}

void ConfigTreeFill::fill(PXRMsgElement *config, PXRMsgElement *infos, std::optional<qint64> clockOffsetMs)
{
    if (clockOffsetMs)
        date(*clockOffsetMs);
    device(config);
    security(infos);
    modem(config);
    network(config);
    CameraTreeFill(m_tree).fill(config, infos);
    database(config);
    LightingTreeFill(m_tree).fill(config);
    io(config);
    slaves(config);
    services(config);
}

void ConfigTreeFill::date(qint64 offsetMs)
{
    ZyTreeWidgetItem *date = m_tree.addSection(nullptr, tr("Date"), nullptr, true, "date_r", true, tr("Refresh"));
    ZyTreeWidgetItem *gap = m_tree.addProperty(date, tr("Time gap with this machine"),
                                               QString("%1 ms").arg(offsetMs), nullptr, nullptr, true);
    // Set both ways, so that a gap back within bounds does not stay red.
    gap->setRowForeground(qAbs(offsetMs) > kLargestTimeGapMs ? kRed : kBlack);
}

void ConfigTreeFill::device(PXRMsgElement *config)
{
    PXRMsgElement *device = child(config, "device");
    if (device == nullptr)
        return;
    rows(section(nullptr, tr("Device"), device, true, "device"), device,
         {{tr("Device Name"), "name"},
          {tr("Installation height"), "installationHeight_cm", Kind::Format, "%1 cm"},
          {tr("Distance to detection loop"), "distanceToDetectionLoop_cm", Kind::Format, "%1 cm"},
          {tr("Distance to barrier"), "distanceToBarrier_cm", Kind::Format, "%1 cm"}});
}

void ConfigTreeFill::security(PXRMsgElement *infos)
{
    PXRMsgElement *security = child(infos, "security");
    if (security == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Security"), security, true);
    section(top, tr("Certificates"), security, false, "security-certificates");
    section(top, tr("Plate encryption"), security, false, "security-plate");
    section(top, tr("Lock password"), security, false, "security-lock");
    if (PXRMsgElement *dot1x = child(security, "IEEE8021X"))
        section(top, tr("802.1X"), dot1x, false, "security-8021X");
}

void ConfigTreeFill::modem(PXRMsgElement *config)
{
    PXRMsgElement *modem = child(config, "modem");
    if (modem == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Modem"), modem, true);
    section(top, tr("Change PIN"), modem, false, "modem-pin");
    PXRMsgElement *ping = child(modem, "pingTest");
    if (ping == nullptr)
        return;
    rows(section(top, tr("Ping test"), ping, true, "pingTest"), ping,
         {{tr("Enabled"), "enabled", Kind::YesNo},
          {tr("Address"), "address"},
          {tr("Interval (minutes)"), "interval_min"}});
}

void ConfigTreeFill::network(PXRMsgElement *config)
{
    PXRMsgElement *network = child(config, "network");
    if (network == nullptr)
        return;
    ZyTreeWidgetItem *top = section(nullptr, tr("Network"), network, true, "network");
    addressing(top, network);
    wifiAndRtsp(top, network);
    ports(top, network);
    vlans(top, network);
    routes(top, network);
    PXRMsgElement *interface = child(network, "interface");
    if (PXRMsgElement *dns = child(network, "dns"))
        servers(section(top, tr("DNS servers"), dns, false), dns, "dns", flag(interface, "dhcp"),
                tr("No DNS server defined, the sensor won't be able to access to named servers"));
    if (PXRMsgElement *ntp = child(network, "ntp"))
        servers(section(top, tr("NTP servers"), ntp, false), ntp, "ntp", false,
                tr("No NTP server defined, the sensor's clock won't be on time"));
    ftp(top, network);
    unicastClients(top, network);
    httpPush(top, network);
    if (PXRMsgElement *mdns = child(network, "mDNS"))
        rows(section(top, tr("Multicast DNS"), mdns, false, "mDNS"), mdns,
             {{tr("Enabled"), "enable", Kind::YesNo}, {tr("Hostname"), "hostname"}});
    protocols(top, network);
}

void ConfigTreeFill::addressing(QTreeWidgetItem *section, PXRMsgElement *network)
{
    PXRMsgElement *interface = child(network, "interface");
    if (interface == nullptr)
        return;
    const bool dhcp = flag(interface, "dhcp");
    m_tree.addProperty(section, tr("Configuration"), dhcp ? tr("DHCP") : tr("Static IP"), interface, "dhcp", true);
    if (dhcp)
        return;
    rows(section, interface,
         {{tr("IP Address"), "ipAddress"},
          {tr("Subnet Mask"), "ipMask"},
          {tr("Broadcast"), "broadcast"},
          {tr("Gateway"), "ipGateway"}});
}

void ConfigTreeFill::wifiAndRtsp(QTreeWidgetItem *top, PXRMsgElement *network)
{
    if (PXRMsgElement *wifi = child(network, "interfaceWifi")) {
        ZyTreeWidgetItem *wifiSection = section(top, tr("Wifi"), wifi, false);
        row(wifiSection, wifi, {tr("Enabled"), "enable", Kind::YesNo});
        if (flag(wifi, "enable"))
            rows(wifiSection, wifi, {{tr("Mode"), "mode"}, {tr("SSID"), "ssid"}});
    }
    if (PXRMsgElement *rtsp = child(network, "rtsp"))
        rows(section(top, tr("RTSP streaming"), rtsp, false), rtsp,
             {{tr("Enabled"), "enabled", Kind::YesNo}, {tr("Listening port"), "port"}});
}

void ConfigTreeFill::ports(QTreeWidgetItem *section, PXRMsgElement *network)
{
    PXRMsgElement *fyb = child(network, "fyb");
    if (has(fyb, "port")) {
        const bool disabled = has(fyb, "enableUnsecuredConnections") && !flag(fyb, "enableUnsecuredConnections");
        m_tree.addProperty(section, tr("FYB port"), disabled ? tr("Disabled") : text(fyb, "port"), fyb, "port", true);
    }
    row(section, fyb, {tr("FYB secured port"), "portSsl"});
    timeout(section, fyb);
    row(section, network, {tr("Security profile"), "securityProfile"});
    PXRMsgElement *kgv = child(network, "kgv");
    rows(section, kgv,
         {{tr("KGV Command port"), "commandPort"},
          {tr("KGV Streaming port"), "port"},
          {tr("KGV Time port"), "timePort"}});
    // Both protocols share the one "Timeout" row: the later one wins.
    timeout(section, kgv);
    PXRMsgElement *hxdq = child(network, "hxdq");
    webPort(section, hxdq, tr("HTTP"), "enableHttp", "httpPort");
    webPort(section, hxdq, tr("HTTPS"), "enableHttps", "httpsPort");
}

void ConfigTreeFill::timeout(QTreeWidgetItem *section, PXRMsgElement *protocol)
{
    if (has(protocol, "timeout_ms"))
        m_tree.addProperty(section, tr("Timeout"), secondsText(text(protocol, "timeout_ms")), protocol, "timeout_ms",
                           true);
}

void ConfigTreeFill::webPort(QTreeWidgetItem *section, PXRMsgElement *hxdq, const QString &caption, const char *enable,
                             const char *port)
{
    if (!has(hxdq, enable))
        return;
    if (!flag(hxdq, enable)) {
        m_tree.addProperty(section, caption, tr("Disabled"), hxdq, enable, true);
        return;
    }
    m_tree.addProperty(section, caption, has(hxdq, port) ? text(hxdq, port) : tr("?"), hxdq, port, true);
}

void ConfigTreeFill::vlans(QTreeWidgetItem *top, PXRMsgElement *network)
{
    const std::pair<const char *, QString> vlans[] = {{"interfaceVLAN1", tr("First 802.1Q VLAN interface")},
                                                      {"interfaceVLAN2", tr("Second 802.1Q VLAN interface")}};
    for (const auto &[name, caption] : vlans) {
        PXRMsgElement *vlan = child(network, name);
        if (!flag(vlan, "enable"))
            continue;
        rows(section(top, caption, vlan, false), vlan,
             {{tr("VLAN Id"), "idVLAN"},
              {tr("IP Address"), "ipAddress"},
              {tr("Subnet Mask"), "ipMask"},
              {tr("Gateway"), "ipGateway"}});
    }
}

void ConfigTreeFill::routes(QTreeWidgetItem *top, PXRMsgElement *network)
{
    PXRMsgElement *routes = child(network, "routes");
    const int size = text(routes, "size").toInt();
    if (child(routes, "route") == nullptr || size == 0)
        return;
    ZyTreeWidgetItem *list = section(top, tr("Routes"), routes, false);
    forEachChild(routes, "route", [&](PXRMsgElement *route) {
        const int id = wholeNumber(text(route, "id"));
        if (id < 0 || id >= size)
            return;
        ZyTreeWidgetItem *entry = section(list, tr("Route (%1)").arg(id), route, false);
        const auto named = [route](const char *name) { return has(route, name) ? text(route, name) : "??"; };
        m_tree.addProperty(entry, tr("Destination"), named("destination"), route, "destination", true);
        m_tree.addProperty(entry, tr("Interface"), named("interface"), route, "interface", true);
        row(entry, route, {tr("Gateway"), "gateway"});
    });
}

void ConfigTreeFill::servers(QTreeWidgetItem *section, PXRMsgElement *list, const char *prefix, bool fromDhcp,
                             const QString &noneText)
{
    if (fromDhcp) {
        noteRow(section, tr("Set by the DHCP configuration"), kGrey);
        return;
    }
    bool any = false;
    for (int n = 0; n < 3; ++n)
        any = any || !text(list, QByteArray(prefix + QByteArray::number(n)).constData()).isEmpty();
    if (!any) {
        noteRow(section, noneText, kRed);
        return;
    }
    for (int n = 0; n < 3; ++n)
        row(section, list, {tr("Server %1").arg(n + 1), QByteArray(prefix + QByteArray::number(n)).constData()});
}

void ConfigTreeFill::ftp(QTreeWidgetItem *top, PXRMsgElement *network)
{
    PXRMsgElement *ftp = child(network, "ftp");
    if (ftp == nullptr)
        return;
    ZyTreeWidgetItem *output = section(top, tr("FTP output"), ftp, false, "ftp");
    while (output->childCount() > 0)
        delete output->child(0);
    if (!flag(ftp, "enabled"))
        output->setExpanded(false);
    row(output, ftp, {tr("Enabled"), "enabled", Kind::YesNo});
    if (has(ftp, "enabled") && !flag(ftp, "enabled"))
        return;
    PXRMsgElement *list = child(ftp, "servers");
    for (int n = 0;; ++n) {
        PXRMsgElement *server = child(list, QByteArray("server" + QByteArray::number(n)).constData());
        if (server == nullptr)
            break;
        if (has(server, "enabled") && !flag(server, "enabled"))
            continue;
        rows(section(output, tr("Server #%1").arg(n), server, false), server,
             {{tr("Protocol"), "protocol"}, {tr("Address"), "address"}, {tr("Port"), "port"}, {tr("Login"), "login"}});
    }
}

void ConfigTreeFill::unicastClients(QTreeWidgetItem *top, PXRMsgElement *network)
{
    PXRMsgElement *unicast = child(network, "unicastDiscover");
    if (unicast == nullptr)
        return;
    ZyTreeWidgetItem *clients = section(top, tr("Unicast discover clients"), unicast, false);
    int number = 0;
    forEachChild(unicast, nullptr, [&](PXRMsgElement *client) {
        QString value = text(client, "address");
        if (!value.isEmpty() && !text(client, "port").isEmpty())
            value += ':' + text(client, "port");
        m_tree.addProperty(clients, tr("Client %1").arg(++number), value, nullptr, nullptr, true);
    });
    if (number == 0)
        m_tree.addProperty(clients, tr("None"), " ", nullptr, nullptr, true);
}

void ConfigTreeFill::httpPush(QTreeWidgetItem *top, PXRMsgElement *network)
{
    PXRMsgElement *push = child(network, "httpPush");
    if (push == nullptr)
        return;
    ZyTreeWidgetItem *pushSection = section(top, tr("HttpPush"), push, false, "httpPush");
    const bool isNew = pushSection->childCount() == 0;
    bool anyEnabled = false;
    if (PXRMsgElement *list = child(push, "servers")) {
        ZyTreeWidgetItem *servers = section(pushSection, tr("Servers"), list, false);
        for (PXRMsgElement *server = child(list, "server"); server != nullptr;
             server = PXRMsgElementNextChild(list, server, "server")) {
            if (!has(server, "id")) {
                MainWindowInterface::logApp(3, "Got an HttpPush server configuration without ID");
                break;
            }
            anyEnabled = httpPushServer(servers, server) || anyEnabled;
        }
    }
    if (isNew && !anyEnabled)
        pushSection->setExpanded(false);
}

bool ConfigTreeFill::httpPushServer(QTreeWidgetItem *servers, PXRMsgElement *server)
{
    ZyTreeWidgetItem *entry = section(servers, tr("Server %1").arg(text(server, "id").toInt()), server, false);
    const bool enabled = flag(server, "enable");
    if (has(server, "enable") && !enabled && entry->childCount() == 0)
        entry->setExpanded(false);
    rows(entry, server, {{tr("Enabled"), "enable", Kind::YesNo}, {tr("URL"), "url"}});
    if (PXRMsgElement *certificate = child(server, "certificate"))
        m_tree.addProperty(entry, tr("Certificate"),
                           PXRMsgElementContentSize(certificate) > 0 ? QString("Yes") : tr("Not provided"), server,
                           "certificate", true);
    rows(entry, server, {{tr("Filter"), "filter"}, {tr("Timeout"), "timeout", Kind::Format, tr("%1 ms")}});
    return enabled;
}

void ConfigTreeFill::protocols(QTreeWidgetItem *top, PXRMsgElement *network)
{
    PXRMsgElement *protocols = child(network, "protocols");
    if (protocols == nullptr)
        return;
    ZyTreeWidgetItem *specific = m_tree.addSection(top, tr("Specific protocols"), protocols, true);
    const Row status{tr("Status"), "enabled", Kind::Activated};
    const Row url{tr("URL"), "url"};
    const Row user{tr("Username"), "username"};
    struct Protocol
    {
        QString caption;
        const char *element;
        std::vector<Row> rows;
    };
    const Protocol table[] = {
        {tr("Nedap GenericBadge"), "nedapGenericBadge",
         {{tr("Enabled"), "enabled", Kind::YesNo},
          {tr("Address"), "address"},
          {tr("Port"), "port"},
          {tr("Maximum retry"), "maxRetry"}}},
        {tr("Moobyl"), "moobyl", {status, {tr("Zone"), "zone"}}},
        {tr("S&B Free flow"), "SBFreeFlow", {status, url, user}},
        {tr("AmanoOne"), "amanoOne",
         {status, url, user, {tr("Send only triggerResult"), "sendOnlyTriggerResult", Kind::YesNo}}},
        {tr("Tiba"), "tiba",
         {status, url, user, {tr("Lane ID"), "laneId"},
          {tr("Only triggerResults"), "sendOnlyTriggerResult", Kind::YesNo}}},
    };
    for (const Protocol &protocol : table) {
        PXRMsgElement *element = child(protocols, protocol.element);
        if (element == nullptr)
            continue;
        ZyTreeWidgetItem *entry = section(specific, protocol.caption, element, false, protocol.element);
        if (entry->childCount() == 0 && !flag(element, "enabled"))
            entry->setExpanded(false);
        rows(entry, element, protocol.rows);
    }
}

void ConfigTreeFill::database(PXRMsgElement *config)
{
    PXRMsgElement *database = child(config, "database");
    if (database == nullptr)
        return;
    QString lastCamera;
    forEachChild(child(config, "cameras"), "camera", [&](PXRMsgElement *camera) { lastCamera = text(camera, "id"); });
    ZyTreeWidgetItem *top = section(nullptr, tr("Database"), database, true, lastCamera + ":database");
    row(top, database, {tr("Enabled"), "enabled", Kind::YesNo});
    if (has(database, "enabled") && !flag(database, "enabled")) {
        m_tree.removeRow(top, tr("Opens for all"));
        m_tree.removeRow(top, tr("Match tolerance"));
        return;
    }
    rows(top, database, {{tr("Opens for all"), "openForAll", Kind::YesNo}, {tr("Match tolerance"), "matchTolerance"}});
}

void ConfigTreeFill::io(PXRMsgElement *config)
{
    PXRMsgElement *io = child(config, "io");
    if (io == nullptr)
        return;
    ZyTreeWidgetItem *top = section(nullptr, tr("IO"), io, true, "io");
    row(top, io, {tr("Mode"), "mode"});
    ZyTreeWidgetItem *output = section(top, tr("Output"), nullptr, false);
    if (has(io, "mode") && !PXRMsgStringEqual(PXRMsgElementAttributeValue(io, "mode"), "output")) {
        m_tree.removeRow(output, tr("Default impulse mode"));
        m_tree.removeRow(output, tr("Default impulse duration"));
    } else {
        PXRMsgElement *impulse = child(io, "defaultImpulse");
        rows(output, impulse,
             {{tr("Default impulse mode"), "pulseMode"},
              {tr("Default impulse duration"), "duration_ms", Kind::Format, tr("%1 ms")}});
    }
    if (PXRMsgElement *input = child(io, "input"))
        row(section(top, tr("Input"), input, false), input,
            {tr("Minimum input impulse duration"), "minDuration_ms", Kind::Format, tr("%1 ms")});
}

QString ConfigTreeFill::slaveText(PXRMsgElement *slave)
{
    const char *address = PXRMsgElementAttributeValue(slave, "macAddress");
    return PXRMsgStringEqual(address, "00:00:00:00:00:00") ? ZyLumatrekTr::yesNoLabel(false)
                                                           : QString::fromUtf8(address);
}

void ConfigTreeFill::slaves(PXRMsgElement *config)
{
    PXRMsgElement *slaves = child(config, "slaves");
    if (slaves == nullptr)
        return;
    ZyTreeWidgetItem *top = section(nullptr, tr("Slaves"), slaves, true, "slaves");
    row(top, slaves, {tr("Mode"), "mode"});
    PXRMsgElement *anpr = child(slaves, "slaveAnpr");
    if (has(anpr, "macAddress"))
        m_tree.addProperty(top, tr("ANPR slave"), slaveText(anpr), anpr, "macAddress", true);
    rows(top, anpr,
         {{tr("ANPR slave position"), "position"},
          {tr("ANPR slave covering zone"), "coveringZone", Kind::Format, tr("%1 pixels")}});
    PXRMsgElement *context = child(slaves, "slaveContext");
    if (has(context, "macAddress"))
        m_tree.addProperty(top, tr("Context slave"), slaveText(context), context, "macAddress", true);
}

void ConfigTreeFill::services(PXRMsgElement *config)
{
    PXRMsgElement *services = child(config, "services");
    if (services == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Services"), services, true);
    PXRMsgElement *rvd = child(services, "rvd");
    if (rvd == nullptr)
        return;
    ZyTreeWidgetItem *entry = section(top, tr("RVD"), rvd, false, "rvd");
    const bool enabled = flag(rvd, "enabled");
    m_tree.addProperty(entry, tr("Status"), enabled ? tr("Activated") : tr("Not activated"), rvd, "enabled", true);
    if (!enabled)
        return;
    if (!text(rvd, "address").isEmpty()) {
        row(entry, rvd, {tr("Address"), "address"});
        m_tree.removeRow(entry, tr("Zone"));
        return;
    }
    m_tree.addProperty(entry, tr("Address"), tr("Default Brondmere RVD server"), rvd, "address", true);
    row(entry, rvd, {tr("Zone"), "zone"});
}
