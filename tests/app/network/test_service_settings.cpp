// The sensor service dialogs (RVD, multicast DNS, ping test): what each sends for what the sensor
// gave and the operator did, the checks that refuse before sending, and their pictures.
#include "NetworkDialogTest.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace networktest;

const Section kRvd{"rvd", {"services"}};
const Section kMdns{"mDNS", {"network"}};
const Section kPing{"pingTest", {"modem"}};

const Element kRvdDefault = element("rvd", {{"enabled", "1"}, {"address", ""}, {"zone", "eu-west"}});
const Element kRvdOwn = element(
    "rvd", {{"enabled", "1"}, {"address", "https://rvd.example/rvd/sensor"}, {"ignoreSSLErrors", "1"}, {"zone", "eu-west"}});
const Element kMdnsElement = element("mDNS", {{"enable", "1"}, {"hostname", "gate4.local"}});
const Element kPingElement = element("pingTest", {{"enabled", "1"}, {"address", "8.8.8.8"}, {"interval_min", "10"}});

Edit ownServer(bool own, const char *url = nullptr)
{
    return [own, url](QDialog &dialog) {
        child<QCheckBox>(dialog, "checkRVDLocal")->setChecked(true);
        if (url != nullptr)
            child<QLineEdit>(dialog, "edtRVDAddress")->setText(QString::fromUtf8(url));
        child<QCheckBox>(dialog, "checkRVDLocal")->setChecked(own);
    };
}

using ServiceSettingsTest = NetworkDialogTest;

TEST_F(ServiceSettingsTest, RvdSendsTheDefaultServerAsAnEmptyAddressAndAnOwnServerAsItsUrl)
{
    const SendCase cases[] = {
        {"default server, untouched", kRvdDefault,
         [](QDialog &dialog) {
             EXPECT_FALSE(child<QCheckBox>(dialog, "checkRVDLocal")->isChecked());
             EXPECT_TRUE(shown(child<QWidget>(dialog, "comboZone")));
             EXPECT_FALSE(shown(child<QWidget>(dialog, "edtRVDAddress")));
         },
         {}, kRvdDefault},
        {"own server chosen", Element(kRvdDefault).set("ignoreSSLErrors", "0"),
         then(ownServer(true, "http://192.168.1.10:8080/rvd/sensor"),
              [](QDialog &dialog) { child<QCheckBox>(dialog, "checkRVDIgnoreSSLErrors")->setChecked(true); }),
         {},
         element("rvd", {{"enabled", "1"},
                         {"address", "http://192.168.1.10:8080/rvd/sensor"},
                         {"ignoreSSLErrors", "1"},
                         {"zone", "eu-west"}})},
        {"own server, untouched", kRvdOwn,
         [](QDialog &dialog) {
             EXPECT_TRUE(child<QCheckBox>(dialog, "checkRVDLocal")->isChecked());
             EXPECT_FALSE(shown(child<QWidget>(dialog, "comboZone")));
             EXPECT_TRUE(shown(child<QWidget>(dialog, "labelRVDNote")));
         },
         {}, kRvdOwn},
        {"back to the default server, the URL not looked at", kRvdOwn, ownServer(false, "no url"), {},
         element("rvd", {{"enabled", "1"}, {"address", ""}, {"zone", "eu-west"}})},
        {"switched off with an own server that is no URL", kRvdOwn,
         then(typeIn("edtRVDAddress", "https://rvd.example"), switchTo("groupRVD", false)), {},
         element("rvd", {{"enabled", "0"}})},
        {"switched off on the default server", kRvdDefault, switchTo("groupRVD", false), {},
         element("rvd", {{"enabled", "0"}, {"address", ""}})},
        {"another zone", kRvdDefault,
         [](QDialog &dialog) { EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboZone"), "americas")); }, {},
         Element(kRvdDefault).set("zone", "americas")},
        {"a zone the schema does not list", Element(kRvdDefault).set("zone", "mars"), {}, {},
         element("rvd", {{"enabled", "1"}, {"address", ""}})},
        {"no address", without(kRvdDefault, {"address"}), ownServer(true), {"edtRVDAddress"},
         element("rvd", {{"enabled", "1"}, {"zone", "eu-west"}})},
        {"no switch", without(kRvdDefault, {"enabled"}),
         [](QDialog &dialog) { EXPECT_FALSE(shown(child<QWidget>(dialog, "groupRVD"))); }, {}, element("rvd", {})},
    };
    for (const SendCase &c : cases)
        expectSent(kRvd, c);
}

TEST_F(ServiceSettingsTest, MulticastDnsSendsTheNameTheSensorGaveWhateverTheSwitch)
{
    const SendCase cases[] = {
        {"untouched, a name the rule would refuse", kMdnsElement, {}, {}, kMdnsElement},
        {"renamed", kMdnsElement, typeIn("lineEditHostname", "Sensor-01"), {},
         Element(kMdnsElement).set("hostname", "Sensor-01")},
        {"switched off, name untouched", kMdnsElement,
         then(switchTo("groupBoxEnable", false),
              [](QDialog &dialog) { EXPECT_FALSE(child<QLineEdit>(dialog, "lineEditHostname")->isEnabled()); }),
         {}, Element(kMdnsElement).set("enable", "0")},
        {"switched off after a valid name", kMdnsElement,
         then(typeIn("lineEditHostname", "sensor-01"), switchTo("groupBoxEnable", false)), {},
         element("mDNS", {{"enable", "0"}, {"hostname", "sensor-01"}})},
        {"a name but no switch", without(kMdnsElement, {"enable"}), {}, {"groupBoxEnable", "lineEditHostname"},
         element("mDNS", {{"hostname", "gate4.local"}})},
        {"a switch but no name", without(kMdnsElement, {"hostname"}), {}, {"lineEditHostname"},
         element("mDNS", {{"enable", "1"}})},
        {"neither", element("mDNS", {}), {}, {"groupBoxEnable", "lineEditHostname"}, element("mDNS", {})},
    };
    for (const SendCase &c : cases)
        expectSent(kMdns, c);
}

TEST_F(ServiceSettingsTest, PingTestSendsTheSwitchAndWhatItLeavesUsable)
{
    const SendCase cases[] = {
        {"untouched", kPingElement, {}, {}, kPingElement},
        {"edited", kPingElement,
         then(typeIn("edtAddress", "1.1.1.1"),
              [](QDialog &dialog) { child<QSpinBox>(dialog, "spinInterval")->setValue(30); }),
         {}, element("pingTest", {{"enabled", "1"}, {"address", "1.1.1.1"}, {"interval_min", "30"}})},
        {"switched off with an empty address", kPingElement,
         then(typeIn("edtAddress", ""), switchTo("groupBoxEnable", false)), {}, element("pingTest", {{"enabled", "0"}})},
        {"blanks are an address", kPingElement, typeIn("edtAddress", "  "), {}, Element(kPingElement).set("address", "  ")},
        {"an interval beyond the schema's, untouched", Element(kPingElement).set("interval_min", "5000"),
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinInterval")->value(), 1440); }, {},
         Element(kPingElement).set("interval_min", "5000")},
        {"no address", without(kPingElement, {"address"}), {}, {"edtAddress", "labelAddress"},
         without(kPingElement, {"address"})},
        {"no switch", without(kPingElement, {"enabled"}), {}, {"groupBoxEnable", "edtAddress", "spinInterval"},
         element("pingTest", {})},
    };
    for (const SendCase &c : cases)
        expectSent(kPing, c);
}

TEST_F(ServiceSettingsTest, WhatCannotBeSentIsRefusedInABoxBeforeSending)
{
    const char *badAddress = "Address is invalid, maybe missing trailing / ?";
    const char *badName = "Invalid hostname: letters, digits and hyphen only.";
    const RefusalCase cases[] = {
        {"RVD own server without a path", kRvd, kRvdDefault, ownServer(true, "https://rvd.example"),
         QMessageBox::Critical, "Error", badAddress},
        {"RVD own server left empty", kRvd, kRvdDefault, ownServer(true), QMessageBox::Critical, "Error", badAddress},
        {"RVD own server read without a path", kRvd, Element(kRvdOwn).set("address", "http://rvd.example:8080"), {},
         QMessageBox::Critical, "Error", badAddress},
        {"mDNS leading hyphen", kMdns, kMdnsElement, typeIn("lineEditHostname", "-sensor"), QMessageBox::Critical,
         "mDNS", badName},
        {"mDNS underscore", kMdns, kMdnsElement, typeIn("lineEditHostname", "sensor_01"), QMessageBox::Critical,
         "mDNS", badName},
        {"mDNS domain", kMdns, element("mDNS", {{"enable", "1"}, {"hostname", "gate4"}}),
         typeIn("lineEditHostname", "sensor.local"), QMessageBox::Critical, "mDNS", badName},
        {"mDNS emptied", kMdns, kMdnsElement, typeIn("lineEditHostname", ""), QMessageBox::Critical, "mDNS", badName},
        {"mDNS switched off after an invalid name", kMdns, kMdnsElement,
         then(typeIn("lineEditHostname", "sensor 01"), switchTo("groupBoxEnable", false)), QMessageBox::Critical,
         "mDNS", badName},
        {"ping test with an empty address", kPing, kPingElement, typeIn("edtAddress", ""), QMessageBox::Critical,
         "Error", "Address is empty"},
        {"ping test switched on with an empty address", kPing,
         element("pingTest", {{"enabled", "0"}, {"address", ""}, {"interval_min", "10"}}),
         switchTo("groupBoxEnable", true), QMessageBox::Critical, "Error", "Address is empty"},
    };
    for (const RefusalCase &c : cases)
        expectRefused(c);
}

TEST_F(ServiceSettingsTest, WithoutTheirElementTheServicesCanOnlyBeCancelled)
{
    expectMissing(kRvd, "rvd", {"groupRVD", "checkRVDLocal", "comboZone"});
    expectMissing(kMdns, "mDNS", {"groupBoxEnable", "lineEditHostname"});
    expectMissing(kPing, "pingTest", {"groupBoxEnable", "edtAddress", "spinInterval"});
}

// The schema's bounds where it gives them, the form's own where it gives none.
TEST_F(ServiceSettingsTest, PingIntervalTakesTheSchemasBounds)
{
    const QByteArray bounded = R"(<xs:minInclusive value="1"/><xs:maxInclusive value="1440"/>)";
    QByteArray schema;
    QByteArray unbounded;
    ASSERT_TRUE(schemaReplacing(bounded, bounded, schema));
    ASSERT_TRUE(schemaReplacing(bounded, "", unbounded));
    struct Case
    {
        const char *name;
        QByteArray schema;
        int min;
        int max;
    };
    const Case cases[] = {
        {"bounded", schema, 1, 1440},
        {"without bounds", unbounded, 0, 99999},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithAt(kPing.parents, "pingTest", kPingElement)));
        ASSERT_TRUE(model()->schemaDoc().load(c.schema.constData(), int(c.schema.size())));
        open(kPing.tag, [&](QDialog &dialog) {
            EXPECT_EQ(child<QSpinBox>(dialog, "spinInterval")->minimum(), c.min);
            EXPECT_EQ(child<QSpinBox>(dialog, "spinInterval")->maximum(), c.max);
            dialog.reject();
        });
    }
}

TEST_F(ServiceSettingsTest, ServicePictures)
{
    struct Picture
    {
        const char *name;
        Section where;
        Element section;
    };
    const Picture pictures[] = {
        {"network-rvd-default", kRvd, kRvdDefault},
        {"network-rvd-own", kRvd, kRvdOwn},
        {"network-mdns", kMdns, kMdnsElement},
        {"network-ping-test", kPing, kPingElement},
    };
    for (const Picture &p : pictures) {
        SCOPED_TRACE(p.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithAt(p.where.parents, p.section.name.c_str(), p.section)));
        open(p.where.tag, [&](QDialog &dialog) {
            keepPicture(dialog, QString::fromLatin1(p.name));
            dialog.reject();
        });
    }
}

} // namespace
