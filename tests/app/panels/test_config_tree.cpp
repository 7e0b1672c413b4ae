// The configuration tree filled from what the test sensor pushes: every section with its rows,
// tags and links for a full configuration, then the changes a sensor pushes on top of it.
#include "ConfigTreeFill.h"
#include "PanelsTestSupport.h"
#include "WidgetSettings.h"

#include <QRegularExpression>
#include <QScrollBar>

namespace {

using panelsfixture::Element;

// The full configuration as the tree shows it while the sensor is locked, its clock not asked.
const char *const kFullTree = R"(# Device {device} [Edit] @config/device
  Device Name = Gate <4> & 'co' @config/device:name
  Installation height = 450 cm @config/device:installationHeight_cm
  Distance to detection loop = 1200 cm @config/device:distanceToDetectionLoop_cm
  Distance to barrier = Not set (grey) @config/device:distanceToBarrier_cm
# Security @infos/security
  # Certificates {security-certificates} [Edit] @infos/security
  # Plate encryption {security-plate} [Edit] @infos/security
  # Lock password {security-lock} [Edit] @infos/security
  # 802.1X {security-8021X} [Edit] @infos/security/IEEE8021X
# Modem @config/modem
  # Change PIN {modem-pin} [Edit] @config/modem
  # Ping test {pingTest} [Edit] @config/modem/pingTest
    Enabled = Yes @config/modem/pingTest:enabled
    Address = 8.8.8.8 @config/modem/pingTest:address
    Interval (minutes) = 10 @config/modem/pingTest:interval_min
# Network {network} [Edit] @config/network
  Configuration = Static IP @config/network/interface:dhcp
  IP Address = 192.168.1.20 @config/network/interface:ipAddress
  Subnet Mask = 255.255.255.0 @config/network/interface:ipMask
  Broadcast = 192.168.1.255 @config/network/interface:broadcast
  Gateway = 192.168.1.1 @config/network/interface:ipGateway
  # Wifi @config/network/interfaceWifi
    Enabled = Yes @config/network/interfaceWifi:enable
    Mode = client @config/network/interfaceWifi:mode
    SSID = Site-AP @config/network/interfaceWifi:ssid
  # RTSP streaming @config/network/rtsp
    Enabled = Yes @config/network/rtsp:enabled
    Listening port = 554 @config/network/rtsp:port
  FYB port = 10001 @config/network/fyb:port
  FYB secured port = 12001 @config/network/fyb:portSsl
  Timeout = 1.5 seconds @config/network/fyb:timeout_ms
  Security profile = strict @config/network:securityProfile
  KGV Command port = 11011 @config/network/kgv:commandPort
  KGV Streaming port = 10001 @config/network/kgv:port
  KGV Time port = 10000 @config/network/kgv:timePort
  HTTP = 80 @config/network/hxdq:httpPort
  HTTPS = Disabled @config/network/hxdq:enableHttps
  # First 802.1Q VLAN interface @config/network/interfaceVLAN1
    VLAN Id = 12 @config/network/interfaceVLAN1:idVLAN
    IP Address = 10.12.0.2 @config/network/interfaceVLAN1:ipAddress
    Subnet Mask = 255.255.0.0 @config/network/interfaceVLAN1:ipMask
    Gateway = 10.12.0.1 @config/network/interfaceVLAN1:ipGateway
  # Routes @config/network/routes
    # Route (0) @config/network/routes/route
      Destination = 10.0.0.0/8 @config/network/routes/route:destination
      Interface = eth0 @config/network/routes/route:interface
      Gateway = 10.1.1.1 @config/network/routes/route:gateway
    # Route (1) @config/network/routes/route
      Destination = ?? @config/network/routes/route:destination
      Interface = eth0 @config/network/routes/route:interface
  # DNS servers @config/network/dns
    Server 1 = Not set (grey) @config/network/dns:dns0
    Server 2 = 192.168.1.1 @config/network/dns:dns1
  # NTP servers @config/network/ntp
    Server 1 = pool.ntp.org @config/network/ntp:ntp0
  # FTP output {ftp} [Edit] @config/network/ftp
    Enabled = Yes @config/network/ftp:enabled
    # Server #1 @config/network/ftp/servers/server1
      Protocol = sftp @config/network/ftp/servers/server1:protocol
      Address = ftp.example @config/network/ftp/servers/server1:address
      Port = 22 @config/network/ftp/servers/server1:port
      Login = bzk @config/network/ftp/servers/server1:login
  # Unicast discover clients @config/network/unicastDiscover
    Client 1 = 10.3.3.3:22022
    Client 2 = 10.3.3.4
    Client 3 = Not set (grey)
  # HttpPush {httpPush} [Edit] @config/network/httpPush
    # Servers @config/network/httpPush/servers
      # Server 1 @config/network/httpPush/servers/server
        Enabled = Yes @config/network/httpPush/servers/server:enable
        URL = https://push.example/in @config/network/httpPush/servers/server:url
        Certificate = Yes @config/network/httpPush/servers/server:certificate
        Filter = anpr @config/network/httpPush/servers/server:filter
        Timeout = 5000 ms @config/network/httpPush/servers/server:timeout
      # Server 2 (collapsed) @config/network/httpPush/servers/server
        Enabled = No @config/network/httpPush/servers/server:enable
        URL = https://spare.example @config/network/httpPush/servers/server:url
        Certificate = Not provided @config/network/httpPush/servers/server:certificate
  # Multicast DNS {mDNS} [Edit] @config/network/mDNS
    Enabled = Yes @config/network/mDNS:enable
    Hostname = gate4.local @config/network/mDNS:hostname
  # Specific protocols @config/network/protocols
    # Nedap GenericBadge {nedapGenericBadge} [Edit] (collapsed) @config/network/protocols/nedapGenericBadge
      Enabled = No @config/network/protocols/nedapGenericBadge:enabled
      Address = 10.2.2.2 @config/network/protocols/nedapGenericBadge:address
      Port = 4000 @config/network/protocols/nedapGenericBadge:port
      Maximum retry = 3 @config/network/protocols/nedapGenericBadge:maxRetry
    # Moobyl {moobyl} [Edit] @config/network/protocols/moobyl
      Status = Activated @config/network/protocols/moobyl:enabled
      Zone = north @config/network/protocols/moobyl:zone
    # S&B Free flow {SBFreeFlow} [Edit] (collapsed) @config/network/protocols/SBFreeFlow
      Status = Not activated @config/network/protocols/SBFreeFlow:enabled
      URL = https://sb.example @config/network/protocols/SBFreeFlow:url
      Username = sb @config/network/protocols/SBFreeFlow:username
    # AmanoOne {amanoOne} [Edit] @config/network/protocols/amanoOne
      Status = Activated @config/network/protocols/amanoOne:enabled
      URL = https://amano.example @config/network/protocols/amanoOne:url
      Username = am @config/network/protocols/amanoOne:username
      Send only triggerResult = Yes @config/network/protocols/amanoOne:sendOnlyTriggerResult
    # Tiba {tiba} [Edit] @config/network/protocols/tiba
      Status = Activated @config/network/protocols/tiba:enabled
      URL = https://tiba.example @config/network/protocols/tiba:url
      Username = tb @config/network/protocols/tiba:username
      Lane ID = 7 @config/network/protocols/tiba:laneId
      Only triggerResults = No @config/network/protocols/tiba:sendOnlyTriggerResult
# Cameras {cameras} [Edit] @config/cameras
  # [0] IMX-1 @config/cameras/camera
  # [1]  @config/cameras/camera
# Database {1:database} [Edit] @config/database
  Enabled = Yes @config/database:enabled
  Opens for all = No @config/database:openForAll
  Match tolerance = 1 @config/database:matchTolerance
# IO {io} [Edit] @config/io
  Mode = output @config/io:mode
  # Output
    Default impulse mode = normallyOpen @config/io/defaultImpulse:pulseMode
    Default impulse duration = 500 ms @config/io/defaultImpulse:duration_ms
  # Input @config/io/input
    Minimum input impulse duration = 100 ms @config/io/input:minDuration_ms
# Slaves {slaves} [Edit] @config/slaves
  Mode = master @config/slaves:mode
  ANPR slave = No @config/slaves/slaveAnpr:macAddress
  ANPR slave position = left @config/slaves/slaveAnpr:position
  ANPR slave covering zone = 40 pixels @config/slaves/slaveAnpr:coveringZone
  Context slave = 00:11:22:33:44:55 @config/slaves/slaveContext:macAddress
# Services @config/services
  # RVD {rvd} [Edit] @config/services/rvd
    Status = Activated @config/services/rvd:enabled
    Address = Default Brondmere RVD server @config/services/rvd:address
    Zone = eu-west @config/services/rvd:zone)";

QStringList withoutExpandedState(QStringList lines)
{
    return lines.replaceInStrings(" (collapsed)", "");
}

class ConfigTreeTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        server.setConfig(panelsfixture::fullConfig());
        server.setInfos(panelsfixture::fullInfos());
        page = std::make_unique<WidgetSettings>();
    }
    void TearDown() override
    {
        page.reset();
        sensor().setLocked(false);
        PanelTest::TearDown();
    }

    // Connects with the test sensor's configuration; the sensor's clock is not asked yet.
    void start() { ASSERT_NO_FATAL_FAILURE(connectModel()); }

    QStringList reloaded()
    {
        page->reload();
        return dump(*page->tree());
    }

    // What a tree emptied first shows for the kept configuration, expanded states aside.
    QStringList freshlyFilled()
    {
        WidgetSettings fresh;
        fresh.reload();
        return withoutExpandedState(dump(*fresh.tree()));
    }

    std::unique_ptr<WidgetSettings> page;
};

TEST_F(ConfigTreeTest, AFullConfigurationShowsEverySectionWithItsRowsTagsAndLinksWhileLocked)
{
    ASSERT_NO_FATAL_FAILURE(start());
    sensor().setLocked(true);
    EXPECT_EQ(reloaded(), QString(kFullTree).split('\n'));
    EXPECT_TRUE(appLog().contains("[3] Got an HttpPush server configuration without ID"));

    // Unlocked, only the clock's link remains once the clock is known.
    sensor().setLocked(false);
    ASSERT_NO_FATAL_FAILURE(askSensorClock(0));
    page->clear();
    EXPECT_EQ(reloaded().filter("} ["), QStringList({"# Date {date_r} [Refresh]"}));

    // What the operator sees while the sensor is locked.
    sensor().setLocked(true);
    page->clear();
    page->reload();
    page->resize(440, 2360);
    page->tree()->header()->resizeSection(0, 250);
    keepPicture(*page, "settings_tab_locked");
}

TEST_F(ConfigTreeTest, TheDateSectionComesFirstOnceTheSensorsClockIsKnown)
{
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(reloaded().filter("Date").size(), 0);
    ASSERT_NO_FATAL_FAILURE(askSensorClock(5000));
    const QStringList lines = reloaded();
    EXPECT_EQ(lines.at(0), "# Date {date_r} [Refresh]");
    static const QRegularExpression redGap("^  Time gap with this machine = (\\d+) ms \\(red\\)$");
    const QRegularExpressionMatch gap = redGap.match(lines.at(1));
    ASSERT_TRUE(gap.hasMatch()) << lines.at(1).toStdString();
    EXPECT_GE(gap.captured(1).toInt(), 5000);
    EXPECT_LT(gap.captured(1).toInt(), 6000);
}

TEST_F(ConfigTreeTest, TheTimeGapIsRedOnlyBeyondOneSecondEitherWay)
{
    ASSERT_NO_FATAL_FAILURE(start());
    // The offsets are given straight to the fill: a sensor's clock cannot be set to the millisecond.
    WidgetGeneralSettings *tree = page->tree();
    const std::pair<qint64, bool> cases[] = {{1000, false}, {1001, true}, {-1000, false}, {-1001, true}, {0, false}};
    for (const auto &[offset, red] : cases) {
        ConfigTreeFill(*tree).fill(PXRMsgChild(model()->config()), PXRMsgChild(model()->infos()), offset);
        const QString row = QString("  Time gap with this machine = %1 ms").arg(offset) + (red ? " (red)" : "");
        EXPECT_EQ(dump(*tree).at(1), row);
        QTreeWidgetItem *gap = rowAt(*tree, {"Date", "Time gap with this machine"});
        EXPECT_EQ(gap->foreground(1).color(), red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    }
}

struct Change {
    const char *name;
    Element pushed;
    QStringList shown;
    QStringList gone;
};

void PrintTo(const Change &change, std::ostream *out)
{
    *out << change.name;
}

Element networkWith(Element child)
{
    return Element("config").add(Element("network").add(std::move(child)));
}

const Change kChanges[] = {
    {"SwitchToDhcp", networkWith(Element("interface").set("dhcp", "1")),
     {"  Configuration = DHCP @config/network/interface:dhcp", "    Set by the DHCP configuration (grey)"},
     {"  IP Address = 192.168.1.20 @config/network/interface:ipAddress",
      "  Subnet Mask = 255.255.255.0 @config/network/interface:ipMask",
      "  Broadcast = 192.168.1.255 @config/network/interface:broadcast",
      "  Gateway = 192.168.1.1 @config/network/interface:ipGateway",
      "    Server 2 = 192.168.1.1 @config/network/dns:dns1"}},
    {"FtpDisabled", networkWith(Element("ftp").set("enabled", "0")),
     {"  # FTP output {ftp} (collapsed) @config/network/ftp", "    Enabled = No @config/network/ftp:enabled"},
     {"    # Server #1 @config/network/ftp/servers/server1"}},
    {"DatabaseDisabled", Element("config").add(Element("database").set("enabled", "0")),
     {"  Enabled = No @config/database:enabled"},
     {"  Opens for all = No @config/database:openForAll", "  Match tolerance = 1 @config/database:matchTolerance"}},
    {"ServiceAddressSet", Element("config").add(Element("services").add(Element("rvd").set("address", "rvd.example"))),
     {"    Address = rvd.example @config/services/rvd:address"},
     {"    Zone = eu-west @config/services/rvd:zone"}},
    {"VlanSwitchedOff", networkWith(Element("interfaceVLAN1").set("enable", "0")), {},
     {"  # First 802.1Q VLAN interface @config/network/interfaceVLAN1",
      "    VLAN Id = 12 @config/network/interfaceVLAN1:idVLAN"}},
    {"FybPortClosedAndLegacyTimeout",
     Element("config").add(Element("network")
                               .add(Element("fyb").set("enableUnsecuredConnections", "0"))
                               .add(Element("kgv").set("timeout_ms", "60000"))),
     {"  FYB port = Disabled @config/network/fyb:port", "  Timeout = 60 seconds @config/network/kgv:timeout_ms"},
     {"  Timeout = 1.5 seconds @config/network/fyb:timeout_ms"}},
    {"FewerRoutes", networkWith(Element("routes").set("size", "1")), {},
     {"    # Route (1) @config/network/routes/route"}},
    {"NoDnsServerLeft", networkWith(Element("dns").set("dns1", "")),
     {"    No DNS server defined, the sensor won't be able to access to named servers (red)"},
     {"    Server 1 = Not set (grey) @config/network/dns:dns0", "    Server 2 = 192.168.1.1 @config/network/dns:dns1"}},
    {"NoNtpServerLeft", networkWith(Element("ntp").set("ntp0", "")),
     {"    No NTP server defined, the sensor's clock won't be on time (red)"},
     {"    Server 1 = pool.ntp.org @config/network/ntp:ntp0"}},
    {"InputMode", Element("config").add(Element("io").set("mode", "input")), {"  Mode = input @config/io:mode"},
     {"    Default impulse mode = normallyOpen @config/io/defaultImpulse:pulseMode"}},
    {"WifiSwitchedOff", networkWith(Element("interfaceWifi").set("enable", "0")),
     {"    Enabled = No @config/network/interfaceWifi:enable"},
     {"    Mode = client @config/network/interfaceWifi:mode", "    SSID = Site-AP @config/network/interfaceWifi:ssid"}},
};

class ConfigChangeTest : public ConfigTreeTest, public ::testing::WithParamInterface<Change>
{
};

TEST_P(ConfigChangeTest, ARefillAfterTheChangeLeavesNoRowWithAnOldValue)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const QStringList before = reloaded();
    ASSERT_NO_FATAL_FAILURE(push(GetParam().pushed));
    const QStringList after = reloaded();
    for (const QString &line : GetParam().shown) {
        EXPECT_FALSE(before.contains(line)) << line.toStdString();
        EXPECT_TRUE(after.contains(line)) << line.toStdString();
    }
    for (const QString &line : GetParam().gone) {
        EXPECT_TRUE(before.contains(line)) << line.toStdString();
        EXPECT_FALSE(after.contains(line)) << line.toStdString();
    }
    EXPECT_EQ(withoutExpandedState(after), freshlyFilled());
}

INSTANTIATE_TEST_SUITE_P(Pushed, ConfigChangeTest, ::testing::ValuesIn(kChanges),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConfigTreeTest, RowsThatComeBackTakeTheirPlaceAgain)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const QStringList before = reloaded();
    const auto switches = [](const char *on) {
        return Element("config").add(Element("network")
                                         .add(Element("interface").set("dhcp", on[0] == '1' ? "0" : "1"))
                                         .add(Element("interfaceWifi").set("enable", on))
                                         .add(Element("interfaceVLAN1").set("enable", on)));
    };
    ASSERT_NO_FATAL_FAILURE(push(switches("0")));
    EXPECT_NE(reloaded(), before);
    ASSERT_NO_FATAL_FAILURE(push(switches("1")));
    EXPECT_EQ(reloaded(), before);
}

TEST_F(ConfigTreeTest, ARouteWhoseIdIsNoNumberUnderTheSizeIsLeftOut)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const QStringList before = reloaded();
    Element routes("routes");
    for (const char *id : {"x", "-1", "", "0x1"})
        routes.add(Element("route").set("id", id).set("destination", "192.0.2.0/24"));
    ASSERT_NO_FATAL_FAILURE(push(networkWith(routes)));
    EXPECT_EQ(reloaded(), before);
}

TEST_F(ConfigTreeTest, ARefillWithTheSameConfigurationKeepsTheViewWhereItWas)
{
    ASSERT_NO_FATAL_FAILURE(start());
    page->resize(300, 240);
    page->show();
    page->reload();
    WidgetGeneralSettings *tree = page->tree();
    tree->header()->resizeSection(0, 400);
    QScrollBar *vertical = tree->verticalScrollBar();
    QScrollBar *horizontal = tree->horizontalScrollBar();
    ASSERT_TRUE(waitUntil([&] { return vertical->maximum() > 10 && horizontal->maximum() > 10; }));
    vertical->setValue(vertical->maximum() / 2);
    horizontal->setValue(horizontal->maximum() / 2);
    tree->setCurrentItem(rowAt(*tree, {"Network", "Routes"}));
    const QStringList before = dump(*tree);
    const std::pair<int, int> scrolled(vertical->value(), horizontal->value());

    page->reload();
    EXPECT_EQ(dump(*tree), before);
    EXPECT_EQ(std::make_pair(vertical->value(), horizontal->value()), scrolled);
    EXPECT_EQ(tree->currentItem(), rowAt(*tree, {"Network", "Routes"}));

    // Without a kept configuration the tree stays as it is.
    model()->clear();
    page->reload();
    EXPECT_EQ(dump(*tree), before);
    EXPECT_EQ(std::make_pair(vertical->value(), horizontal->value()), scrolled);
}

TEST_F(ConfigTreeTest, ASectionGoneFromTheSensorGoesWhileTheOthersKeepTheirPlaceStateAndLink)
{
    ASSERT_NO_FATAL_FAILURE(start());
    sensor().setLocked(true);
    const QStringList before = reloaded();
    WidgetGeneralSettings *tree = page->tree();
    QTreeWidgetItem *network = rowAt(*tree, {"Network"});
    network->setExpanded(false);
    QLabel *networkLink = linkOf(*tree, network);

    // The sensor comes back after a drop without its modem and pushes its configuration anew.
    server.setConfig(panelsfixture::configWithoutModem());
    QSignalSpy configs(model(), &Model::signalConfigReceived);
    server.dropConnections();
    ASSERT_TRUE(waitUntil([&] { return configs.count() >= 2 && model()->config() != nullptr; }));
    // The camera labels come from the information, read again as the main window does.
    ASSERT_TRUE(waitUntil([&] { return model()->infos() != nullptr; }));
    model()->parseInfos();
    const QStringList after = reloaded();

    EXPECT_EQ(rowAt(*tree, {"Modem"}), nullptr);
    EXPECT_EQ(rowAt(*tree, {"Network"}), network);
    EXPECT_FALSE(network->isExpanded());
    EXPECT_EQ(linkOf(*tree, network), networkLink);
    QStringList expected = before;
    expected.removeIf([](const QString &line) { return line.contains("@config/modem"); });
    expected.replaceInStrings("# Network {network} [Edit] @", "# Network {network} [Edit] (collapsed) @");
    EXPECT_EQ(after, expected);
}

TEST_F(ConfigTreeTest, TheDatabaseLinkCarriesTheLastCameraIdWhateverItsText)
{
    const std::pair<std::vector<const char *>, QString> cases[] = {
        {{}, ":database"}, {{"0", "7"}, "7:database"}, {{"0", "2'><b>&amp;"}, "2'><b>&amp;:database"}};
    for (const auto &[ids, tag] : cases) {
        Element config = panelsfixture::fullConfig();
        Element cameras("cameras");
        for (const char *id : ids)
            cameras.add(Element("camera").set("id", id));
        std::replace_if(config.children.begin(), config.children.end(),
                        [](const Element &child) { return child.name == "cameras"; }, cameras);
        server.setConfig(config);
        ASSERT_NO_FATAL_FAILURE(start());
        sensor().setLocked(true);
        page->clear();
        page->reload();
        QTreeWidgetItem *database = rowAt(*page->tree(), {"Database"});
        ASSERT_NE(database, nullptr);
        EXPECT_EQ(database->data(0, WidgetGeneralSettings::TagRole).toString(), tag);
        QSignalSpy opened(page.get(), &WidgetSettings::openDialog);
        QLabel *link = linkOf(*page->tree(), database);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(linkParts(*link).second, "Edit");
        emit link->linkActivated(linkParts(*link).first);
        ASSERT_EQ(opened.count(), 1);
        EXPECT_EQ(opened.at(0).at(0).toString(), tag);
        model()->clear();
    }
}

} // namespace
