// The advanced network dialog against the test sensor: Wi-Fi, VLANs and routes as read and as
// sent, the checks in order, the route editor and the Wi-Fi scan; and its place behind the
// network dialog's button.
#include "DialogNetworkAdvancedSettings.h"
#include "NetworkTestSupport.h"
#include "ZyADTreeWidget.h"
#include "ZyADTreeWidgetItem.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using namespace networktest;

Element wifiClient(Attributes client = {{"dhcp", "0"}, {"ipAddress", "10.5.0.2"}, {"ipMask", "255.255.0.0"}, {"ipGateway", "10.5.0.1"}})
{
    return element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"ssid", "Site-AP"}, {"keyphrase", "secret"}})
        .add(element("accessPoint", {{"zone", "europe"}, {"channel", "6"}, {"broadcastSsid", "1"}, {"encryption", "wpa2"}}))
        .add(element("client", client));
}

Element wifiAccessPoint()
{
    Element wifi = wifiClient();
    return wifi.set("mode", "accessPoint");
}

Element route(const char *id, const char *destination, const char *interface, const char *gateway)
{
    Element made("route");
    if (id != nullptr)
        made.set("id", id);
    if (destination != nullptr)
        made.set("destination", destination);
    if (interface != nullptr)
        made.set("interface", interface);
    if (gateway != nullptr)
        made.set("gateway", gateway);
    return made;
}

// What OK sends for the fixture's network with the Wi-Fi client above, untouched.
Element sentAdvanced()
{
    return Element("network")
        .add(Element("routes")
                 .set("size", "2")
                 .add(route("0", "10.0.0.0/8", "eth0", "10.1.1.1"))
                 .add(route("1", "??", "eth0", "")))
        .add(element("interfaceVLAN1", {{"enable", "1"}, {"idVLAN", "12"}, {"ipAddress", "10.12.0.2"},
                                        {"ipMask", "255.255.0.0"}, {"ipGateway", "10.12.0.1"}}))
        .add(element("interfaceVLAN2", {{"enable", "0"}}))
        .add(element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"keyphrase", "secret"}, {"ssid", "Site-AP"}})
                 .add(Element("accessPoint"))
                 .add(element("client", {{"dhcp", "0"}, {"ipAddress", "10.5.0.2"}, {"ipMask", "255.255.0.0"},
                                         {"ipGateway", "10.5.0.1"}})));
}

Element advancedNetwork()
{
    return withChild(network(), "interfaceWifi", wifiClient());
}

// The sent network with one child replaced in place or taken out.
Element sentWithChild(const char *name, const std::optional<Element> &child)
{
    return withChild(sentAdvanced(), name, child);
}

class NetworkAdvancedTest : public NetworkTest
{
protected:
    // Runs the dialog on the kept configuration with the operator's part, then OK when asked;
    // an accepted change comes back from the sensor before this returns.
    int runAdvanced(const Edit &edit, bool ok = true)
    {
        DialogNetworkAdvancedSettings dialog(nullptr);
        answers.push_back([&](QDialog *shown) {
            if (edit)
                edit(*shown);
            if (ok)
                okButton(*shown)->click();
            if (shown->result() != QDialog::Accepted)
                shown->reject();
            return shown->result();
        });
        seen.clear();
        QSignalSpy pushed(model(), &Model::signalConfigReceived);
        changed = false;
        const int result = dialog.exec(&changed);
        if (result == QDialog::Accepted) {
            EXPECT_TRUE(waitUntil([&] { return pushed.count() > 0; }));
        }
        return result;
    }

    // Loads the test schema with the Wi-Fi modes listed the other way round.
    void reverseWifiModes()
    {
        QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/settings-dialogs.xsd"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray schema = file.readAll();
        const QByteArray listed = "<xs:enumeration value=\"accessPoint\"/><xs:enumeration value=\"client\"/>";
        ASSERT_TRUE(schema.contains(listed));
        schema.replace(listed, "<xs:enumeration value=\"client\"/><xs:enumeration value=\"accessPoint\"/>");
        ASSERT_TRUE(model()->schemaDoc().load(schema.constData(), int(schema.size())));
    }

    bool changed = false;
};

ZyADTreeWidget *routes(QDialog &dialog)
{
    return child<ZyADTreeWidget>(dialog, "treeRoutes");
}

QStringList routeTexts(QDialog &dialog)
{
    QStringList texts;
    QTreeWidget *tree = routes(dialog);
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        texts << tree->topLevelItem(row)->text(0) + '|' + tree->topLevelItem(row)->text(1) + '|'
                     + tree->topLevelItem(row)->text(2);
    return texts;
}

struct AdvancedCase
{
    const char *name;
    Element network;
    Edit edit;
    Element sent;
};

TEST_F(NetworkAdvancedTest, OkSendsWhatTheSensorHasAsTheFormShowsIt)
{
    const AdvancedCase cases[] = {
        {"untouched client", advancedNetwork(), {}, sentAdvanced()},
        {"client with DHCP: no addresses, none checked", withChild(advancedNetwork(), "interfaceWifi", wifiClient({{"dhcp", "1"}, {"ipAddress", "x"}})),
         [](QDialog &d) { EXPECT_FALSE(child<QWidget>(d, "txtIpAddressWifi")->isEnabled()); },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"keyphrase", "secret"}, {"ssid", "Site-AP"}})
                                            .add(Element("accessPoint"))
                                            .add(element("client", {{"dhcp", "1"}})))},
        {"client without the DHCP switch", withChild(advancedNetwork(), "interfaceWifi", wifiClient({{"ipAddress", "10.5.0.2"}})),
         [](QDialog &d) { EXPECT_FALSE(child<QWidget>(d, "checkDhcp")->isEnabled()); },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"keyphrase", "secret"}, {"ssid", "Site-AP"}})
                                            .add(Element("accessPoint"))
                                            .add(element("client", {{"ipAddress", "10.5.0.2"}})))},
        {"client lacking mask and gateway", withChild(advancedNetwork(), "interfaceWifi", wifiClient({{"dhcp", "0"}, {"ipAddress", "10.5.0.2"}})),
         [](QDialog &d) {
             auto *dhcp = child<QCheckBox>(d, "checkDhcp");
             dhcp->setChecked(true);
             dhcp->setChecked(false);
             EXPECT_TRUE(child<QWidget>(d, "txtIpAddressWifi")->isEnabled());
             EXPECT_FALSE(child<QWidget>(d, "txtMaskWifi")->isEnabled());
             EXPECT_FALSE(child<QWidget>(d, "txtGatewayWifi")->isEnabled());
         },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"keyphrase", "secret"}, {"ssid", "Site-AP"}})
                                            .add(Element("accessPoint"))
                                            .add(element("client", {{"dhcp", "0"}, {"ipAddress", "10.5.0.2"}})))},
        {"access point", withChild(advancedNetwork(), "interfaceWifi", wifiAccessPoint()),
         [](QDialog &d) {
             EXPECT_FALSE(child<QWidget>(d, "btnScanWifi")->isEnabled());
             EXPECT_TRUE(shown(child<QWidget>(d, "groupWifiAccessPoint")));
             EXPECT_FALSE(shown(child<QWidget>(d, "groupWifiClient")));
         },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "accessPoint"}, {"keyphrase", "secret"}, {"ssid", "Site-AP"}})
                                            .add(element("accessPoint", {{"zone", "europe"}, {"channel", "6"}, {"broadcastSsid", "1"}, {"encryption", "wpa2"}}))
                                            .add(Element("client")))},
        {"switched to access point, blanks sent", advancedNetwork(),
         [](QDialog &d) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "comboMode"), "accessPoint"));
             EXPECT_EQ(child<QLineEdit>(d, "txtSsid")->text(), "");
             EXPECT_EQ(child<QLineEdit>(d, "txtKeyphrase")->text(), "");
             EXPECT_EQ(child<WidgetComboDoc>(d, "comboEncryption")->currentValue(), "none");
             type(d, "txtSsid", "Gate-AP");
         },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "accessPoint"}, {"keyphrase", ""}, {"ssid", "Gate-AP"}})
                                            .add(element("accessPoint", {{"zone", "europe"}, {"channel", "6"}, {"broadcastSsid", "1"}, {"encryption", "none"}}))
                                            .add(Element("client")))},
        {"back to the stored mode clears too", advancedNetwork(),
         [](QDialog &d) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "comboMode"), "accessPoint"));
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "comboMode"), "client"));
             EXPECT_EQ(child<QLineEdit>(d, "txtSsid")->text(), "");
         },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"keyphrase", ""}, {"ssid", ""}})
                                            .add(Element("accessPoint"))
                                            .add(element("client", {{"dhcp", "0"}, {"ipAddress", "10.5.0.2"}, {"ipMask", "255.255.0.0"}, {"ipGateway", "10.5.0.1"}})))},
        {"Wi-Fi switched off", advancedNetwork(), [](QDialog &d) { child<QGroupBox>(d, "groupWifi")->setChecked(false); },
         sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "0"}}).add(Element("accessPoint")).add(Element("client")))},
        {"VLAN without mask, cleaned addresses, empty gateway",
         withChild(advancedNetwork(), "interfaceVLAN1", element("interfaceVLAN1", {{"enable", "1"}, {"idVLAN", "12"}, {"ipAddress", "10.12.0.2"}, {"ipGateway", "10.12.0.1"}})),
         [](QDialog &d) {
             EXPECT_FALSE(child<QWidget>(d, "txtMaskVLAN1")->isEnabled());
             type(d, "txtIpAddressVLAN1", " 10.12. 0.3 ");
             type(d, "txtGatewayVLAN1", "");
         },
         sentWithChild("interfaceVLAN1", element("interfaceVLAN1", {{"enable", "1"}, {"idVLAN", "12"}, {"ipAddress", "10.12.0.3"}, {"ipGateway", ""}}))},
        {"second VLAN switched on", advancedNetwork(),
         [](QDialog &d) {
             child<QGroupBox>(d, "groupVLAN2")->setChecked(true);
             EXPECT_TRUE(child<QSpinBox>(d, "spinIdVLAN2")->isEnabled());
             EXPECT_FALSE(child<QLineEdit>(d, "txtIpAddressVLAN2")->isEnabled());
         },
         sentWithChild("interfaceVLAN2", element("interfaceVLAN2", {{"enable", "1"}, {"idVLAN", "13"}}))},
        {"sections absent",
         withoutChildren(advancedNetwork(), {"interfaceWifi", "interfaceVLAN1", "interfaceVLAN2", "routes"}),
         [](QDialog &d) {
             for (const char *group : {"groupWifi", "groupVLAN1", "groupVLAN2"})
                 EXPECT_FALSE(shown(child<QWidget>(d, group))) << group;
             EXPECT_FALSE(routes(d)->isEnabled());
         },
         Element("network")},
        {"routes: the ones that count, renumbered",
         withChild(advancedNetwork(), "routes",
                   Element("routes").set("size", "3")
                       .add(route(nullptr, "1.1.1.0/24", "eth0", "1.1.1.1"))
                       .add(route("2", "10.0.0.0/8", nullptr, nullptr))
                       .add(route("3", "9.9.9.0/24", "eth0", nullptr))
                       .add(route("0", "172.16.0.0/12", "wlan0", "172.16.0.1"))),
         [](QDialog &d) {
             EXPECT_EQ(routeTexts(d), QStringList({"10.0.0.0/8|interface|", "172.16.0.0/12|wlan0|172.16.0.1", "Add route...||"}));
         },
         sentWithChild("routes", Element("routes").set("size", "2")
                                     .add(route("0", "10.0.0.0/8", "interface", ""))
                                     .add(route("1", "172.16.0.0/12", "wlan0", "172.16.0.1")))},
        {"routes: one deleted, one added", advancedNetwork(),
         [this](QDialog &d) {
             emit routes(d)->signalDel(static_cast<ZyADTreeWidgetItem *>(routes(d)->topLevelItem(0)));
             answers.push_front([](QDialog *editor) {
                 type(*editor, "edtDestination", "192.168.50.0/24");
                 EXPECT_TRUE(choose(child<WidgetComboDoc>(*editor, "cboInterface"), "vlan1"));
                 okButton(*editor)->click();
                 return editor->result();
             });
             emit routes(d)->signalAdd(nullptr);
             EXPECT_EQ(routeTexts(d), QStringList({"192.168.50.0/24|vlan1|", "??|eth0|", "Add route...||"}));
         },
         sentWithChild("routes", Element("routes").set("size", "2")
                                     .add(route("0", "192.168.50.0/24", "vlan1", ""))
                                     .add(route("1", "??", "eth0", "")))},
        {"routes: all deleted", advancedNetwork(),
         [](QDialog &d) {
             while (routes(d)->topLevelItemCount() > 1)
                 emit routes(d)->signalDel(static_cast<ZyADTreeWidgetItem *>(routes(d)->topLevelItem(0)));
         },
         sentWithChild("routes", Element("routes").set("size", "0"))},
    };
    for (const AdvancedCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(c.network)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int prepared = window.disconnectsPrepared;
        EXPECT_EQ(runAdvanced(c.edit), QDialog::Accepted);
        expectRequest(mark, sectionRequest(c.sent));
        EXPECT_TRUE(changed);
        EXPECT_EQ(window.disconnectsPrepared - prepared, 1);
    }
}

TEST_F(NetworkAdvancedTest, TheWifiGroupsFollowTheModeByValueInEitherSchemaOrder)
{
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "client listed first" : "access point listed first");
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(advancedNetwork())));
        if (reversed)
            ASSERT_NO_FATAL_FAILURE(reverseWifiModes());
        const fybsim::FybSensor::Mark mark = server.mark();
        runAdvanced([](QDialog &d) {
            EXPECT_TRUE(shown(child<QWidget>(d, "groupWifiClient")));
            EXPECT_TRUE(child<QWidget>(d, "groupWifiClient")->isEnabled());
            EXPECT_FALSE(shown(child<QWidget>(d, "groupWifiAccessPoint")));
            EXPECT_TRUE(child<QWidget>(d, "txtIpAddressWifi")->isEnabled());
            EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "comboMode"), "accessPoint"));
            EXPECT_FALSE(shown(child<QWidget>(d, "groupWifiClient")));
            EXPECT_TRUE(shown(child<QWidget>(d, "groupWifiAccessPoint")));
            EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "comboMode"), "client"));
        });
        expectRequest(mark, sectionRequest(sentWithChild("interfaceWifi", element("interfaceWifi", {{"enable", "1"}, {"mode", "client"}, {"keyphrase", ""}, {"ssid", ""}})
                                            .add(Element("accessPoint"))
                                            .add(element("client", {{"dhcp", "0"}, {"ipAddress", "10.5.0.2"}, {"ipMask", "255.255.0.0"}, {"ipGateway", "10.5.0.1"}})))));
    }
}

struct AdvancedCheckCase
{
    const char *name;
    Edit edit;
    const char *message;
};

TEST_F(NetworkAdvancedTest, ChecksRunInOrderAndTheFirstFailureSendsNothing)
{
    const AdvancedCheckCase cases[] = {
        {"VLAN1 address empty", [](QDialog &d) { type(d, "txtIpAddressVLAN1", ""); type(d, "txtMaskVLAN1", "x"); }, "VLAN1 : Invalid IP address."},
        {"VLAN1 mask", [](QDialog &d) { type(d, "txtMaskVLAN1", "255.255.0"); }, "VLAN1 : Invalid IP mask."},
        {"VLAN1 gateway", [](QDialog &d) { type(d, "txtGatewayVLAN1", "10.12.0.256"); }, "VLAN1 : Invalid gateway."},
        {"VLAN2 mask",
         [](QDialog &d) {
             child<QGroupBox>(d, "groupVLAN2")->setChecked(true);
             type(d, "txtIpAddressVLAN2", "10.13.0.2");
             type(d, "txtMaskVLAN2", "");
         },
         "VLAN2 : Invalid IP mask."},
        {"Wi-Fi address", [](QDialog &d) { type(d, "txtIpAddressWifi", "10.5.0"); }, "Wifi : Invalid IP address."},
        {"Wi-Fi gateway", [](QDialog &d) { type(d, "txtGatewayWifi", "gateway"); }, "Wifi : Invalid gateway."},
        {"same ids only after the addresses",
         [](QDialog &d) {
             child<QGroupBox>(d, "groupVLAN2")->setChecked(true);
             child<QSpinBox>(d, "spinIdVLAN2")->setValue(12);
             type(d, "txtIpAddressVLAN2", "10.13.0.2");
             type(d, "txtMaskVLAN2", "255.255.0.0");
         },
         "The 2 VLANs can't have the same ID"},
    };
    const Element vlan2 = element("interfaceVLAN2", {{"enable", "0"}, {"idVLAN", "13"}, {"ipAddress", ""}, {"ipMask", ""}, {"ipGateway", ""}});
    for (const AdvancedCheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(withChild(advancedNetwork(), "interfaceVLAN2", vlan2))));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int prepared = window.disconnectsPrepared;
        EXPECT_EQ(runAdvanced(c.edit), QDialog::Rejected);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].title, "Network advanced settings");
        EXPECT_EQ(seen[1].text, c.message);
        EXPECT_TRUE(requestsSince(mark).empty());
        EXPECT_FALSE(changed);
        EXPECT_EQ(window.disconnectsPrepared, prepared);
    }
}

TEST_F(NetworkAdvancedTest, ARefusedSaveKeepsTheFlagAndTheWindowReadied)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(advancedNetwork())));
    server.setReply("setConfig", fybsim::Reply::failed("no"));
    const int prepared = window.disconnectsPrepared;
    EXPECT_EQ(runAdvanced({}), QDialog::Rejected);
    server.setReply("setConfig", fybsim::Reply::ok());
    EXPECT_TRUE(changed);
    EXPECT_EQ(window.disconnectsPrepared - prepared, 1);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, "Configuration");
}

TEST_F(NetworkAdvancedTest, TheRouteEditorWantsADestination)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(advancedNetwork())));
    runAdvanced(
        [this](QDialog &d) {
            answers.push_front([this](QDialog *editor) {
                okButton(*editor)->click();
                EXPECT_NE(editor->result(), QDialog::Accepted);
                keepPicture(*editor, "network-route-editor");
                type(*editor, "edtDestination", "10.9.0.0/16");
                type(*editor, "edtGateway", " anything ");
                okButton(*editor)->click();
                return editor->result();
            });
            emit routes(d)->signalAdd(nullptr);
            EXPECT_TRUE(routeTexts(d).contains("10.9.0.0/16|eth0| anything "));
            answers.push_front([](QDialog *editor) {
                editor->reject();
                return editor->result();
            });
            emit routes(d)->signalAdd(nullptr);
            EXPECT_EQ(routeTexts(d).size(), 4);
        },
        false);
    EXPECT_EQ(kinds(), QStringList({"DialogNetworkAdvancedSettings", "DialogNetworkRoute", "QMessageBox", "DialogNetworkRoute"}));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[2].title, "Error");
    EXPECT_EQ(seen[2].text, "Destination can't be empty");
}

Element networks(std::initializer_list<Element> list)
{
    Element made("wifiNetworks");
    for (const Element &network : list)
        made.add(network);
    return made;
}

struct ScanCase
{
    const char *name;
    fybsim::Reply reply;
    QStringList kinds;
    QStringList rows;
    const char *ssid;
};

TEST_F(NetworkAdvancedTest, TheScanFillsTheSsidFromThePickedNetwork)
{
    const Element two = networks({element("network", {{"ssid", "Gate-A"}, {"encryption", "wpa2"}, {"signal_db", "-40"}, {"bss", "x"}}),
                                  element("network", {{"ssid", "Cafe"}, {"signal_db", "-70"}})});
    const ScanCase cases[] = {
        {"two networks", fybsim::Reply::message(two), {"DialogNetworkScanWifi"}, {"Cafe||-70", "Gate-A|wpa2|-40"}, "Cafe"},
        {"no network", fybsim::Reply::message(networks({})), {"DialogNetworkScanWifi"}, {}, "Site-AP"},
        {"refused", fybsim::Reply::failed("radio off"), {"QMessageBox"}, {}, "Site-AP"},
        {"another answer", fybsim::Reply::message(Element("wifi")), {}, {}, "Site-AP"},
    };
    for (const ScanCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(advancedNetwork())));
        server.setReply("scanWifiNetworks", c.reply);
        QStringList rows;
        QString ssid;
        runAdvanced(
            [&](QDialog &d) {
                answers.push_front([&](QDialog *list) {
                    if (!list->inherits("DialogNetworkScanWifi"))
                        return int(QMessageBox::Ok);
                    auto *tree = child<QTreeWidget>(*list, "treeWidget");
                    for (int row = 0; row < tree->topLevelItemCount(); ++row)
                        rows << tree->topLevelItem(row)->text(0) + '|' + tree->topLevelItem(row)->text(1) + '|'
                                    + tree->topLevelItem(row)->text(2);
                    okButton(*list)->click();
                    EXPECT_NE(list->result(), QDialog::Accepted);
                    tree->setCurrentItem(tree->topLevelItem(0));
                    okButton(*list)->click();
                    return list->result();
                });
                child<QPushButton>(d, "btnScanWifi")->click();
                ssid = child<QLineEdit>(d, "txtSsid")->text();
            },
            false);
        answers.clear();
        QStringList shownKinds = kinds();
        shownKinds.removeFirst();
        EXPECT_EQ(shownKinds, c.kinds);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(ssid, QString::fromUtf8(c.ssid));
        if (c.kinds == QStringList{"QMessageBox"})
            EXPECT_EQ(seen[1].title, "Scan wifi");
    }
}

TEST_F(NetworkAdvancedTest, AScanListPictureAndCancelKeepsTheSsid)
{
    const Element vlan2 = element("interfaceVLAN2", {{"enable", "1"}, {"idVLAN", "13"}, {"ipAddress", "10.13.0.2"},
                                                     {"ipMask", "255.255.0.0"}, {"ipGateway", ""}});
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(withChild(advancedNetwork(), "interfaceVLAN2", vlan2))));
    server.setReply("scanWifiNetworks",
                    fybsim::Reply::message(networks({element("network", {{"ssid", "Gate-A"}, {"encryption", "wpa2"}, {"signal_db", "-40"}}),
                                                     element("network", {{"ssid", "Office"}, {"encryption", "none"}, {"signal_db", "-82"}})})));
    runAdvanced(
        [this](QDialog &d) {
            answers.push_front([](QDialog *list) {
                auto *tree = child<QTreeWidget>(*list, "treeWidget");
                tree->setCurrentItem(tree->topLevelItem(1));
                keepPicture(*list, "network-scan-list");
                list->reject();
                return list->result();
            });
            child<QPushButton>(d, "btnScanWifi")->click();
            EXPECT_EQ(child<QLineEdit>(d, "txtSsid")->text(), "Site-AP");
            keepPicture(d, "network-advanced");
        },
        false);
}

TEST_F(NetworkAdvancedTest, AcceptedFromTheNetworkDialogItEndsItWithoutItsEdits)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(advancedNetwork())));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = open("network", [this](QDialog &dialog) {
        type(dialog, "txtGateway", "192.168.1.254");
        answers.push_front(press(QMessageBox::No));
        child<QPushButton>(dialog, "btnAdvanced")->click();
        answers.push_front(press(QMessageBox::Yes));
        answers.push_back([](QDialog *advanced) {
            okButton(*advanced)->click();
            return advanced->result();
        });
        child<QPushButton>(dialog, "btnAdvanced")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(kinds(), QStringList({"DialogNetworkSettings", "QMessageBox", "QMessageBox", "DialogNetworkAdvancedSettings"}));
    expectRequest(mark, sectionRequest(sentAdvanced()));
    EXPECT_EQ(requestsSince(mark).size(), 1u);
    EXPECT_EQ(disconnectFlows, 1);
}

TEST_F(NetworkAdvancedTest, UntouchedTheNetworkDialogOpensItWithoutAsking)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(advancedNetwork())));
    const int undone = window.disconnectsUndone;
    open("network", [this](QDialog &dialog) {
        answers.push_back([](QDialog *advanced) {
            advanced->reject();
            return advanced->result();
        });
        child<QPushButton>(dialog, "btnAdvanced")->click();
        EXPECT_TRUE(dialog.result() != QDialog::Accepted);
        dialog.reject();
    });
    EXPECT_EQ(kinds(), QStringList({"DialogNetworkSettings", "DialogNetworkAdvancedSettings"}));
    EXPECT_EQ(window.disconnectsUndone, undone);
}

} // namespace
