// The network dialog against the test sensor: what it shows of each kind of network section,
// the request of an OK, the address and port checks in order, and when the change of addresses
// or ports is reported and the window readied for the loss of the connection.
#include "NetworkTestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace networktest;

Element dhcpInterface()
{
    return element("interface", {{"dhcp", "1"}, {"ipAddress", "10.9.9.9"}, {"broadcast", "10.9.9.255"}});
}

Element sentDhcp()
{
    return element("interface", {{"id", "0"}, {"dhcp", "1"}});
}

Element sentStatic(const char *address, const char *mask, const char *broadcast, const char *gateway)
{
    Element sent = element("interface", {{"id", "0"}, {"dhcp", "0"}, {"ipAddress", address}, {"ipMask", mask}});
    if (broadcast != nullptr)
        sent.set("broadcast", broadcast);
    return sent.set("ipGateway", gateway);
}

Element fybWithout(std::initializer_list<const char *> removed)
{
    return without(*network().child("fyb"), removed);
}

void click(QDialog &dialog, const char *radio)
{
    child<QRadioButton>(dialog, radio)->click();
}

struct RequestCase
{
    const char *name;
    Element network;
    Edit edit;
    Element sent;
    bool changed;
};

TEST_F(NetworkTest, OkSendsTheFormAndReportsOnlyNewAddressesOrPorts)
{
    const Element unicastSent = Element("unicastDiscover")
                                    .add(element("client0", {{"address", "10.0.0.1"}, {"port", "22022"}}))
                                    .add(element("client1", {{"address", "10.0.0.2"}}))
                                    .add(element("client3", {{"address", ""}, {"port", "4000"}}));
    const RequestCase cases[] = {
        {"untouched", network(), {}, sentNetwork(), false},
        {"untouched in DHCP mode", withChild(network(), "interface", dhcpInterface()), {},
         sentWith("dns", std::nullopt, sentWith("interface", sentDhcp())), false},
        {"static to DHCP, the edited DNS list not sent", network(),
         [this](QDialog &dialog) {
             editList(dialog, "labelDNSEdit", {"1.1.1.1"});
             click(dialog, "btnDHCP");
         },
         sentWith("dns", std::nullopt, sentWith("interface", sentDhcp())), true},
        {"DHCP to static", withChild(network(), "interface", dhcpInterface()),
         [](QDialog &dialog) {
             click(dialog, "btnStaticIP");
             type(dialog, "txtIpAddress", "10.1.1.2");
             type(dialog, "txtMask", "255.0.0.0");
             type(dialog, "txtBroadcast", "10.255.255.255");
         },
         sentWith("interface", sentStatic("10.1.1.2", "255.0.0.0", "10.255.255.255", "")), true},
        {"blanks added only", network(),
         [](QDialog &dialog) {
             type(dialog, "txtIpAddress", " 192. 168.1.20 ");
             type(dialog, "txtGateway", "192.168.1.1  ");
         },
         sentNetwork(), false},
        {"leading zeros kept", network(), [](QDialog &dialog) { type(dialog, "txtIpAddress", "192.168.001.020"); },
         sentWith("interface", sentStatic("192.168.001.020", "255.255.255.0", "192.168.1.255", "192.168.1.1")), true},
        {"empty gateway", network(), [](QDialog &dialog) { type(dialog, "txtGateway", ""); },
         sentWith("interface", sentStatic("192.168.1.20", "255.255.255.0", "192.168.1.255", "")), true},
        {"no broadcast, a wrong one hidden", withChild(network(), "interface", without(staticInterface(), {"broadcast"})),
         [](QDialog &dialog) {
             EXPECT_FALSE(shown(child<QWidget>(dialog, "txtBroadcast")));
             EXPECT_FALSE(shown(child<QWidget>(dialog, "labelBroadcast")));
             type(dialog, "txtBroadcast", "wrong");
         },
         sentWith("interface", sentStatic("192.168.1.20", "255.255.255.0", nullptr, "192.168.1.1")), false},
        {"FYB port 0 shows and sends the default",
         withChild(network(), "fyb", element("fyb", {{"port", "0"}, {"portSsl", "12001"}, {"enableUnsecuredConnections", "1"}})),
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinFYBPort")->value(), 10001); },
         sentNetwork(), true},
        {"non secured box unchanged", withChild(network(), "fyb", fybWithout({"enableUnsecuredConnections"})),
         [](QDialog &dialog) {
             auto *box = child<QCheckBox>(dialog, "checkEnableNonSecure");
             EXPECT_TRUE(box->isChecked());
             EXPECT_FALSE(box->isEnabled());
         },
         sentWith("fyb", element("fyb", {{"port", "10001"}, {"portSsl", "12001"}})), false},
        {"non secured box turned off", network(),
         [](QDialog &dialog) { child<QCheckBox>(dialog, "checkEnableNonSecure")->setChecked(false); },
         sentWith("fyb", element("fyb", {{"port", "10001"}, {"portSsl", "12001"}, {"enableUnsecuredConnections", "0"}})),
         true},
        {"FYB port", network(), [](QDialog &dialog) { child<QSpinBox>(dialog, "spinFYBPort")->setValue(10002); },
         sentWith("fyb", element("fyb", {{"port", "10002"}, {"portSsl", "12001"}, {"enableUnsecuredConnections", "1"}})),
         true},
        {"KGV streaming port", network(),
         [](QDialog &dialog) { child<QSpinBox>(dialog, "spinKGVStreamingPort")->setValue(10002); },
         sentWith("kgv", element("kgv", {{"commandPort", "11011"}, {"port", "10002"}, {"timePort", "10000"}})), true},
        {"KGV reset to the ports as read", network(),
         [](QDialog &dialog) {
             child<QSpinBox>(dialog, "spinKGVCommandPort")->setValue(1);
             emit child<QLabel>(dialog, "labelResetKGVPort")->linkActivated("reset");
         },
         sentNetwork(), false},
        {"HXDQ, RTSP and profile are no change", network(),
         [](QDialog &dialog) {
             emit child<QLabel>(dialog, "labelResetHXDQPort")->linkActivated("reset");
             child<QSpinBox>(dialog, "spinHTTPPort")->setValue(8080);
             child<QCheckBox>(dialog, "checkRTSP")->setChecked(false);
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboSecuriryProfile"), "legacy"));
         },
         sentWith("rtsp", element("rtsp", {{"enabled", "0"}, {"port", "554"}}),
                  sentWith("hxdq", element("hxdq", {{"enableHttp", "1"}, {"httpPort", "8080"}, {"enableHttps", "0"},
                                                    {"httpsPort", "443"}}),
                           Element(sentNetwork()).set("securityProfile", "legacy"))),
         false},
        {"servers edited: only the kept names", network(),
         [this](QDialog &dialog) {
             editList(dialog, "labelNTPEdit", {"ntp1.example", "ntp2.example"});
             editList(dialog, "labelDNSEdit", {"8.8.8.8", "", "9.9.9.9"});
         },
         sentWith("dns", element("dns", {{"dns0", "8.8.8.8"}, {"dns1", ""}}),
                  sentWith("ntp", element("ntp", {{"ntp0", "ntp1.example"}}))),
         false},
        {"unicast clients edited", network(),
         [this](QDialog &dialog) {
             editList(dialog, "labelUnicastDiscoverEdit", {"10.0.0.1", "10.0.0.2:", "a:1:2", ":4000"});
         },
         sentWith("unicastDiscover", unicastSent), false},
        {"unicast clients edited then cancelled", network(),
         [this](QDialog &dialog) { editList(dialog, "labelUnicastDiscoverEdit", {"10.0.0.1"}, false); },
         sentNetwork(), false},
        {"sections absent",
         withoutChildren(network(), {"unicastDiscover", "kgv", "hxdq", "rtsp", "ntp", "dns", "fyb"}),
         [](QDialog &dialog) {
             for (const char *group :
                  {"groupKGVPort", "groupHXDQ", "groupRTSP", "groupNTP", "groupDNS", "groupFYBPort", "groupUnicast"})
                 EXPECT_FALSE(shown(child<QWidget>(dialog, group))) << group;
         },
         Element("network").set("securityProfile", "strict").add(*sentNetwork().child("interface")), false},
        {"attributes absent",
         withChild(withChild(network(), "kgv", element("kgv", {{"port", "10001"}})), "rtsp", element("rtsp", {})),
         [](QDialog &dialog) {
             EXPECT_FALSE(child<QSpinBox>(dialog, "spinKGVCommandPort")->isEnabled());
             EXPECT_FALSE(child<QSpinBox>(dialog, "spinRTSPPort")->isEnabled());
             emit child<QLabel>(dialog, "labelResetKGVPort")->linkActivated("reset");
         },
         sentWith("rtsp", Element("rtsp"), sentWith("kgv", element("kgv", {{"port", "10001"}}))), false},
    };
    for (const RequestCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(c.network)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int flows = disconnectFlows;
        const int prepared = window.disconnectsPrepared;
        const int undone = window.disconnectsUndone;
        const int result = openAndOk("network", c.edit);
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sectionRequest(c.sent));
        EXPECT_EQ(disconnectFlows - flows, c.changed ? 1 : 0);
        EXPECT_EQ(window.disconnectsPrepared - prepared, c.changed ? 1 : 0);
        EXPECT_EQ(window.disconnectsUndone - undone, 0);
    }
}

TEST_F(NetworkTest, TheFormShowsTheSectionAsRead)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(network())));
    open("network", [](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Network");
        EXPECT_TRUE(child<QRadioButton>(dialog, "btnStaticIP")->isChecked());
        EXPECT_EQ(child<QLineEdit>(dialog, "txtBroadcast")->text(), "192.168.1.255");
        EXPECT_EQ(child<QLabel>(dialog, "labelNTP")->text(), "pool.ntp.org");
        EXPECT_EQ(child<QLabel>(dialog, "labelDNS")->text(), "192.168.1.1");
        EXPECT_EQ(child<QLabel>(dialog, "labelUnicastDiscover")->text(), "10.3.3.3:22022, 10.3.3.4");
        EXPECT_TRUE(shown(child<QWidget>(dialog, "btnAdvanced")));
        EXPECT_EQ(child<QSpinBox>(dialog, "spinHTTPSPort")->value(), 443);
        EXPECT_FALSE(child<QCheckBox>(dialog, "checkEnableSecureHXDQ")->isChecked());
        dialog.reject();
    });
}

struct SummaryCase
{
    const char *name;
    Element network;
    const char *radio;
    const char *dns;
    const char *dnsStyle;
    const char *ntp;
    const char *ntpStyle;
    const char *unicast;
};

TEST_F(NetworkTest, SummariesFollowTheListsAndTheMode)
{
    const char *black = "color: rgb(0, 0, 0)";
    const char *red = "color: rgb(255, 0, 0)";
    const char *noDns = "No DNS server defined, the sensor won't be able to access to named servers";
    const char *noNtp = "No NTP server defined, the sensor's clock won't be on time";
    const SummaryCase cases[] = {
        {"empty lists", withChild(withChild(withChild(network(), "dns", Element("dns")), "ntp", element("ntp", {{"ntp0", ""}})),
                                  "unicastDiscover", Element("unicastDiscover")),
         nullptr, noDns, red, noNtp, red, "No unicast discover client defined"},
        {"DHCP", withChild(network(), "interface", dhcpInterface()), nullptr,
         "DNS servers are set by the DHCP configuration", black, "pool.ntp.org", black, "10.3.3.3:22022, 10.3.3.4"},
        {"switched to DHCP", network(), "btnDHCP", "DNS servers are set by the DHCP configuration", black,
         "pool.ntp.org", black, "10.3.3.3:22022, 10.3.3.4"},
        {"switched to static", withChild(network(), "interface", dhcpInterface()), "btnStaticIP", "192.168.1.1", black,
         "pool.ntp.org", black, "10.3.3.3:22022, 10.3.3.4"},
    };
    for (const SummaryCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(c.network)));
        open("network", [&c](QDialog &dialog) {
            if (c.radio != nullptr)
                click(dialog, c.radio);
            auto *dns = child<QLabel>(dialog, "labelDNS");
            auto *ntp = child<QLabel>(dialog, "labelNTP");
            EXPECT_EQ(dns->text(), c.dns);
            EXPECT_EQ(dns->styleSheet(), c.dnsStyle);
            EXPECT_EQ(ntp->text(), c.ntp);
            EXPECT_EQ(ntp->styleSheet(), c.ntpStyle);
            EXPECT_EQ(child<QLabel>(dialog, "labelUnicastDiscover")->text(), c.unicast);
            EXPECT_EQ(child<QWidget>(dialog, "txtIpAddress")->isEnabled(), !child<QRadioButton>(dialog, "btnDHCP")->isChecked());
            dialog.reject();
        });
    }
}

TEST_F(NetworkTest, EditorsShowTheListsAndOnlyAnAcceptedClientEditCounts)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(network())));
    open("network", [this](QDialog &dialog) {
        editList(dialog, "labelDNSEdit", {}, false);
        EXPECT_EQ(shownTexts, QStringList({"", "192.168.1.1", ""}));
        editList(dialog, "labelNTPEdit", {"", "x"}, false);
        EXPECT_EQ(shownTexts, QStringList({"pool.ntp.org", "", ""}));
        EXPECT_EQ(child<QLabel>(dialog, "labelNTP")->text(), "pool.ntp.org");
        editList(dialog, "labelUnicastDiscoverEdit", {"", "", ""}, false);
        EXPECT_EQ(shownTexts, QStringList({"10.3.3.3:22022", "10.3.3.4", "", ""}));
        EXPECT_EQ(child<QLabel>(dialog, "labelUnicastDiscover")->text(), "10.3.3.3:22022, 10.3.3.4");
        editList(dialog, "labelUnicastDiscoverEdit", {"", "", ""});
        EXPECT_EQ(child<QLabel>(dialog, "labelUnicastDiscover")->text(), "No unicast discover client defined");
        dialog.reject();
    });
    EXPECT_EQ(kinds(), QStringList({"DialogNetworkSettings", "DialogDNSServers", "DialogNTPServers",
                                    "DialogUnicastDiscoverClients", "DialogUnicastDiscoverClients"}));
}

struct CheckCase
{
    const char *name;
    Edit edit;
    const char *message;
};

TEST_F(NetworkTest, ChecksRunInOrderAndTheFirstFailureSendsNothing)
{
    const char *clientPort = "Unicast discover client %1 : the port must be a number from 1 to 65535.";
    const CheckCase cases[] = {
        {"address empty", [](QDialog &d) { type(d, "txtIpAddress", ""); type(d, "txtMask", "x"); }, "Invalid IP address."},
        {"mask", [](QDialog &d) { type(d, "txtMask", "255.255.255"); type(d, "txtGateway", "x"); }, "Invalid subnet mask."},
        {"mask empty", [](QDialog &d) { type(d, "txtMask", " "); }, "Invalid subnet mask."},
        {"broadcast", [](QDialog &d) { type(d, "txtBroadcast", "1.2.3.256"); type(d, "txtGateway", "x"); },
         "Invalid broadcast address."},
        {"gateway", [](QDialog &d) { type(d, "txtGateway", "1.2.3.4.5"); }, "Invalid gateway."},
        {"client port letters",
         [this](QDialog &d) { editList(d, "labelUnicastDiscoverEdit", {"10.0.0.1", "10.0.0.1:abc"}); }, "2"},
        {"client port 0", [this](QDialog &d) { editList(d, "labelUnicastDiscoverEdit", {"10.0.0.1:0"}); }, "1"},
        {"client port too high",
         [this](QDialog &d) { editList(d, "labelUnicastDiscoverEdit", {"", "", "", "h:65536"}); }, "4"},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(network())));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int prepared = window.disconnectsPrepared;
        const int result = open("network", [&c](QDialog &dialog) {
            c.edit(dialog);
            okButton(dialog)->click();
            EXPECT_FALSE(dialog.isHidden() && dialog.result() == QDialog::Accepted);
            dialog.reject();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_FALSE(seen.empty());
        const QString expected = std::string(c.message).size() == 1 ? QString::fromLatin1(clientPort).arg(c.message)
                                                                     : QString::fromLatin1(c.message);
        EXPECT_EQ(seen.back().kind, "QMessageBox");
        EXPECT_EQ(seen.back().title, "Network");
        EXPECT_EQ(seen.back().text, expected);
        EXPECT_TRUE(requestsSince(mark).empty());
        EXPECT_EQ(window.disconnectsPrepared, prepared);
        EXPECT_EQ(disconnectFlows, 0);
    }
}

struct RefusalCase
{
    const char *name;
    fybsim::Reply reply;
    const char *box;
    // After the refusal the operator puts the port back and presses OK again, else Cancel.
    bool thenUnchangedOk;
};

TEST_F(NetworkTest, AChangeRefusedThenCancelledOrUnchangedIsUndoneOnceTheDialogCloses)
{
    const RefusalCase cases[] = {
        {"refused", fybsim::Reply::failed("bad port"), "Error : action failed", false},
        {"unanswered", fybsim::Reply::close(), "Error : no answer from equipment", false},
        {"refused, then OK without a change", fybsim::Reply::failed("bad port"), "Error : action failed", true},
    };
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(network())));
        server.setReply("setConfig", c.reply);
        const int prepared = window.disconnectsPrepared;
        const int undone = window.disconnectsUndone;
        int undoneWhileOpen = -1;
        const int result = open("network", [&](QDialog &dialog) {
            child<QSpinBox>(dialog, "spinFYBPort")->setValue(10010);
            okButton(dialog)->click();
            EXPECT_EQ(window.disconnectsPrepared - prepared, 1);
            undoneWhileOpen = window.disconnectsUndone - undone;
            server.setReply("setConfig", fybsim::Reply::ok());
            if (!c.thenUnchangedOk) {
                dialog.reject();
                return;
            }
            child<QSpinBox>(dialog, "spinFYBPort")->setValue(10001);
            okButton(dialog)->click();
        });
        EXPECT_EQ(result, c.thenUnchangedOk ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(window.disconnectsPrepared - prepared, 1);
        EXPECT_EQ(undoneWhileOpen, 0);
        EXPECT_EQ(window.disconnectsUndone - undone, 1);
        EXPECT_EQ(disconnectFlows, 0);
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, c.box);
    }
}

TEST_F(NetworkTest, WithoutTheInterfaceNothingCanBeSent)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(withChild(network(), "interface", std::nullopt))));
    open("network", [](QDialog &dialog) {
        EXPECT_FALSE(okButton(dialog)->isEnabled());
        EXPECT_TRUE(shown(child<QWidget>(dialog, "labelMissingSettings")));
        EXPECT_FALSE(child<QRadioButton>(dialog, "btnDHCP")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(dialog, "btnStaticIP")->isChecked());
        dialog.reject();
    });
}

TEST_F(NetworkTest, PictureInStaticModeWithARedSummary)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(withChild(network(), "dns", Element("dns")))));
    open("network", [](QDialog &dialog) {
        keepPicture(dialog, "network-static");
        dialog.reject();
    });
}

} // namespace
