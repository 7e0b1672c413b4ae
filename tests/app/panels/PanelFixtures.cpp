// The configuration and information a sensor pushes, as the panels' tests feed them: a full set
// with every section the trees show, and the pieces the tests push on top of it.
#include "PanelFixtures.h"

#include <QDate>

#include <initializer_list>
#include <utility>

namespace panelsfixture {

std::string dayFromToday(int days)
{
    return QDate::currentDate().addDays(days).toString("yyyy-MM-dd").toStdString();
}

namespace {

using Attributes = std::initializer_list<std::pair<std::string, std::string>>;

Element el(const char *name, Attributes attributes, std::initializer_list<Element> children = {})
{
    Element element(name);
    for (const auto &[key, value] : attributes)
        element.set(key, value);
    for (const Element &child : children)
        element.add(child);
    return element;
}

Element network()
{
    return el("network", {{"securityProfile", "strict"}},
              {
                  el("interface", {{"dhcp", "0"},
                                   {"ipAddress", "192.168.1.20"},
                                   {"ipMask", "255.255.255.0"},
                                   {"broadcast", "192.168.1.255"},
                                   {"ipGateway", "192.168.1.1"}}),
                  el("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"ssid", "Site-AP"}}),
                  el("rtsp", {{"enabled", "1"}, {"port", "554"}}),
                  el("fyb", {{"port", "10001"}, {"enableUnsecuredConnections", "1"}, {"portSsl", "12001"},
                             {"timeout_ms", "1500"}}),
                  el("kgv", {{"commandPort", "11011"}, {"port", "10001"}, {"timePort", "10000"}}),
                  el("hxdq", {{"enableHttp", "1"}, {"httpPort", "80"}, {"enableHttps", "0"}, {"httpsPort", "443"}}),
                  el("interfaceVLAN1", {{"enable", "1"}, {"idVLAN", "12"}, {"ipAddress", "10.12.0.2"},
                                        {"ipMask", "255.255.0.0"}, {"ipGateway", "10.12.0.1"}}),
                  el("interfaceVLAN2", {{"enable", "0"}, {"idVLAN", "13"}}),
                  el("routes", {{"size", "2"}},
                     {el("route", {{"id", "0"}, {"destination", "10.0.0.0/8"}, {"interface", "eth0"},
                                   {"gateway", "10.1.1.1"}}),
                      el("route", {{"id", "1"}, {"interface", "eth0"}}),
                      el("route", {{"id", "2"}, {"destination", "172.16.0.0/12"}, {"interface", "eth0"}})}),
                  el("dns", {{"dns0", ""}, {"dns1", "192.168.1.1"}}),
                  el("ntp", {{"ntp0", "pool.ntp.org"}}),
                  el("ftp", {{"enabled", "1"}},
                     {el("servers", {},
                         {el("server0", {{"enabled", "0"}, {"protocol", "ftp"}, {"address", "old.example"}}),
                          el("server1",
                             {{"protocol", "sftp"}, {"address", "ftp.example"}, {"port", "22"}, {"login", "bzk"}}),
                          el("server3", {{"protocol", "ftp"}, {"address", "never.example"}})})}),
                  el("unicastDiscover", {},
                     {el("client", {{"address", "10.3.3.3"}, {"port", "22022"}}),
                      el("client", {{"address", "10.3.3.4"}, {"port", ""}}), el("client", {{"address", ""}})}),
                  el("httpPush", {},
                     {el("servers", {},
                         {el("server",
                             {{"id", "01"}, {"enable", "1"}, {"url", "https://push.example/in"}, {"filter", "anpr"},
                              {"timeout", "5000"}},
                             {el("certificate", {}).withContent("PEM")}),
                          el("server", {{"id", "2"}, {"enable", "0"}, {"url", "https://spare.example"}},
                             {el("certificate", {})}),
                          el("server", {{"url", "https://no-id.example"}}),
                          el("server", {{"id", "4"}, {"url", "https://after.example"}})})}),
                  el("mDNS", {{"enable", "1"}, {"hostname", "gate4.local"}}),
                  el("protocols", {},
                     {el("nedapGenericBadge",
                         {{"enabled", "0"}, {"address", "10.2.2.2"}, {"port", "4000"}, {"maxRetry", "3"}}),
                      el("moobyl", {{"enabled", "1"}, {"zone", "north"}}),
                      el("SBFreeFlow", {{"enabled", "0"}, {"url", "https://sb.example"}, {"username", "sb"}}),
                      el("amanoOne", {{"enabled", "1"}, {"url", "https://amano.example"}, {"username", "am"},
                                      {"sendOnlyTriggerResult", "1"}}),
                      el("tiba", {{"enabled", "true"}, {"url", "https://tiba.example"}, {"username", "tb"},
                                  {"laneId", "7"}, {"sendOnlyTriggerResult", "0"}})}),
              });
}

Element certificate(const char *name, int fromDays, int toDays)
{
    return el(name, {{"commonName", "gate4.example"},
                     {"organizationName", "Brondmere"},
                     {"validityFrom", dayFromToday(fromDays)},
                     {"validityTo", dayFromToday(toDays)}});
}

}  // namespace

Element fullConfig()
{
    return el("config", {},
              {
                  el("device", {{"name", "Gate <4> & 'co'"},
                                {"installationHeight_cm", "450"},
                                {"distanceToDetectionLoop_cm", "1200"},
                                {"distanceToBarrier_cm", ""}}),
                  el("modem", {}, {el("pingTest", {{"enabled", "1"}, {"address", "8.8.8.8"}, {"interval_min", "10"}})}),
                  network(),
                  el("cameras", {}, {el("camera", {{"id", "0"}}), el("camera", {{"id", "1"}})}),
                  el("database", {{"enabled", "1"}, {"openForAll", "0"}, {"matchTolerance", "1"}}),
                  el("io", {{"mode", "output"}},
                     {el("defaultImpulse", {{"pulseMode", "normallyOpen"}, {"duration_ms", "500"}}),
                      el("input", {{"minDuration_ms", "100"}})}),
                  el("slaves", {{"mode", "master"}},
                     {el("slaveAnpr",
                         {{"macAddress", "00:00:00:00:00:00"}, {"position", "left"}, {"coveringZone", "40"}}),
                      el("slaveContext", {{"macAddress", "00:11:22:33:44:55"}})}),
                  el("services", {}, {el("rvd", {{"enabled", "1"}, {"address", ""}, {"zone", "eu-west"}})}),
              });
}

Element configWithoutModem()
{
    Element config = fullConfig();
    std::erase_if(config.children, [](const Element &child) { return child.name == "modem"; });
    return config;
}

Element fullInfos()
{
    Element dot1x = certificate("IEEE8021X", -1, 1);
    dot1x.set("authentication", "EAP-TLS");
    return el(
        "infos", {},
        {
            el("sensor",
               {{"macAddress", "00:0A:0B:0C:0D:0E"}, {"locked", "1"}, {"setConfigForbidden", "0"}, {"type", "Lumatek4"},
                {"productVersion", "4.2.1"}, {"serial", "LT4-000123"}, {"POE", "1"}, {"firmwareVersion", "4.2.1-7"},
                {"carrierboardVersion", "B3"}, {"ledsVersion", ""}, {"osVersion", "6.1"},
                {"status", "Running|Camera 1 ERROR|Running|"}, {"reboots", "12"}, {"unexpectedReboots", "1"}},
               {el("technicalCounters", {{"zero", "0"}, {"padded", "00"}, {"frames", "3"}})}),
            el("modem", {{"type", "LTE"}, {"imei", "356938035643809"}, {"status", "registered"},
                         {"address", "10.64.0.9"}, {"network", "Operator"}, {"signal", "-71"}}),
            el("temperature", {{"temperature_C", "45"}, {"temperatureCPU_C", "61"}}),
            el("anpr", {{"version", "7.3"}, {"possibleContexts", "F|D"}}),
            el("applications", {},
               {el("amanoOne", {{"version", "1.2"}, {"url", "amano/index.html"}}),
                el("tiba", {{"version", "n/a"}, {"url", "tiba/"}})}),
            el("network", {}, {el("interfaceWifi", {{"macAddress", "00:0A:0B:0C:0D:0F"}, {"connected", "1"}})}),
            el("services", {},
               {el("rvd", {{"performanceValidationActivated", "1"}, {"performanceValidationStarted", "0"}})}),
            el("cameras", {},
               {el("camera",
                   {{"id", "0"}, {"cameraModel", "IMX-1"}, {"size", "1920x1080"}, {"fps", "25"},
                    {"hasIRCutFilter", "1"}, {"filter", "day"}, {"hasFlip", "0"}},
                   {el("enabledAlgorithms", {},
                       {el("anpr", {{"initialized", "1"}}), el("dgpr", {{"initialized", "0"}}),
                        el("signature", {})})})}),
            el("lightings", {},
               {el("led", {{"id", "1"}, {"ledModel", "IR-850"}, {"color", "ir"}, {"version", "2"}}),
                el("projector", {{"id", "2"}, {"ledModel", "PX-1"}})}),
            el("security", {{"lockPasswordNeeded", "1"}, {"rsaCrypted", "1"}, {"rsaHint", ""}},
               {certificate("certificate", 1, -1), dot1x}),
        });
}

}  // namespace panelsfixture
