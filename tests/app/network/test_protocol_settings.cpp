// The outside-system protocol dialogs: what each sends for what the sensor gave and the operator
// did, the URL and address checks that refuse before sending, and their pictures.
#include "NetworkDialogTest.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace networktest;

const Parents kProtocols = {"network", "protocols"};
const Section kTiba{"tiba", kProtocols};
const Section kAmano{"amanoOne", kProtocols};
const Section kFreeFlow{"SBFreeFlow", kProtocols};
const Section kNedap{"nedapGenericBadge", kProtocols};
const Section kMoobyl{"moobyl", kProtocols};

const Element kTibaElement = element("tiba", {{"enabled", "1"},
                                              {"url", "https://tiba.example/api"},
                                              {"username", "tb"},
                                              {"password", "secret"},
                                              {"guid", "0a1b-2c3d"},
                                              {"laneId", "7"},
                                              {"ignoreSSLErrors", "0"},
                                              {"sendOnlyTriggerResult", "1"}});
const Element kAmanoElement = element("amanoOne", {{"enabled", "1"},
                                                   {"url", "https://amano.example/"},
                                                   {"username", "am"},
                                                   {"password", "pw"},
                                                   {"ignoreSSLErrors", "1"},
                                                   {"sendOnlyTriggerResult", "0"}});
const Element kFreeFlowElement = element(
    "SBFreeFlow", {{"enabled", "1"}, {"url", "http://sb.example:8080/in"}, {"username", "sb"}, {"password", "pw"}});
const Element kNedapElement =
    element("nedapGenericBadge", {{"enabled", "1"}, {"address", "10.2.2.2"}, {"port", "4000"}, {"maxRetry", "3"}});
const Element kMoobylElement = element("moobyl", {{"enabled", "1"}, {"zone", "north"}});

using ProtocolSettingsTest = NetworkDialogTest;

TEST_F(ProtocolSettingsTest, TibaSendsTheSwitchAndWhatTheSensorGaveThatTheSwitchLeavesUsable)
{
    const SendCase cases[] = {
        {"untouched", kTibaElement, {}, {}, kTibaElement},
        {"edited",
         kTibaElement,
         [](QDialog &dialog) {
             child<QLineEdit>(dialog, "edtURL")->setText("http://10.0.0.5:8080/tiba");
             child<QLineEdit>(dialog, "edtGUID")->setText("ffff");
             child<QSpinBox>(dialog, "spinLaneId")->setValue(42);
             child<QCheckBox>(dialog, "checkIgnoreSSLErrors")->setChecked(true);
         },
         {},
         Element(kTibaElement)
             .set("url", "http://10.0.0.5:8080/tiba")
             .set("guid", "ffff")
             .set("laneId", "42")
             .set("ignoreSSLErrors", "1")},
        {"switched off with a URL that is no URL", kTibaElement,
         then(typeIn("edtURL", "not a url"), switchTo("groupBoxEnable", false)), {}, element("tiba", {{"enabled", "0"}})},
        {"read switched off", Element(kTibaElement).set("enabled", "0"), {},
         {"edtURL", "edtUsername", "edtPassword", "edtGUID", "spinLaneId", "checkIgnoreSSLErrors"},
         element("tiba", {{"enabled", "0"}})},
        {"switched on", Element(kTibaElement).set("enabled", "false"), switchTo("groupBoxEnable", true), {},
         kTibaElement},
        {"no guid", without(kTibaElement, {"guid"}), {}, {"edtGUID", "labelHost_5"}, without(kTibaElement, {"guid"})},
        {"no url, switched on", without(kTibaElement, {"url"}), {}, {"edtURL"}, without(kTibaElement, {"url"})},
        {"a lane id with letters after it, untouched", Element(kTibaElement).set("laneId", "12ab"),
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinLaneId")->value(), 12); }, {},
         Element(kTibaElement).set("laneId", "12ab")},
        {"a negative lane id, untouched", Element(kTibaElement).set("laneId", "-3"),
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinLaneId")->value(), 0); }, {},
         Element(kTibaElement).set("laneId", "-3")},
        {"a negative lane id, edited", Element(kTibaElement).set("laneId", "-3"),
         [](QDialog &dialog) { child<QSpinBox>(dialog, "spinLaneId")->setValue(5); }, {},
         Element(kTibaElement).set("laneId", "5")},
        {"no switch", without(kTibaElement, {"enabled"}), {}, {"groupBoxEnable", "edtURL", "spinLaneId"},
         element("tiba", {})},
    };
    for (const SendCase &c : cases)
        expectSent(kTiba, c);
}

TEST_F(ProtocolSettingsTest, AmanoOneAndFreeFlowSendWhatTheSwitchLeavesUsable)
{
    const SendCase amano[] = {
        {"untouched", kAmanoElement, {}, {}, kAmanoElement},
        {"read switched off, whatever the URL holds",
         Element(kAmanoElement).set("enabled", "0").set("url", "amano"), {},
         {"edtURL", "edtUsername", "edtPassword", "checkIgnoreSSLErrors", "checkSendOnlyTriggerResults"},
         element("amanoOne", {{"enabled", "0"}})},
        {"only triggers sent", kAmanoElement,
         [](QDialog &dialog) { child<QCheckBox>(dialog, "checkSendOnlyTriggerResults")->setChecked(true); }, {},
         Element(kAmanoElement).set("sendOnlyTriggerResult", "1")},
        {"no url, switched on", without(kAmanoElement, {"url"}), {}, {"edtURL"}, without(kAmanoElement, {"url"})},
    };
    for (const SendCase &c : amano)
        expectSent(kAmano, c);
    const SendCase freeFlow[] = {
        {"untouched", kFreeFlowElement, {}, {}, kFreeFlowElement},
        {"new credentials", kFreeFlowElement, then(typeIn("edtUsername", "Zoë"), typeIn("edtPassword", "p w")), {},
         Element(kFreeFlowElement).set("username", "Zoë").set("password", "p w")},
        {"no url, switched on", without(kFreeFlowElement, {"url"}), {}, {"edtURL"},
         without(kFreeFlowElement, {"url"})},
        {"switched off", kFreeFlowElement, switchTo("groupBoxEnable", false), {},
         element("SBFreeFlow", {{"enabled", "0"}})},
    };
    for (const SendCase &c : freeFlow)
        expectSent(kFreeFlow, c);
}

TEST_F(ProtocolSettingsTest, NedapSendsOnlyWhatTheSensorGaveOrTheOperatorSet)
{
    const SendCase cases[] = {
        {"untouched", kNedapElement, {}, {}, kNedapElement},
        {"edited", kNedapElement,
         [](QDialog &dialog) {
             child<QLineEdit>(dialog, "lineEditHost")->setText("badge.example");
             child<QSpinBox>(dialog, "spinBoxPort")->setValue(11020);
             child<QSpinBox>(dialog, "spinBoxRetry")->setValue(0);
         },
         {}, element("nedapGenericBadge", {{"enabled", "1"}, {"address", "badge.example"}, {"port", "11020"}, {"maxRetry", "0"}})},
        {"a single blank is an address", kNedapElement, typeIn("lineEditHost", " "), {},
         Element(kNedapElement).set("address", " ")},
        {"switched off with an empty address", kNedapElement,
         then(typeIn("lineEditHost", ""), switchTo("groupBoxEnable", false)), {},
         element("nedapGenericBadge", {{"enabled", "0"}})},
        {"read switched off", Element(kNedapElement).set("enabled", "0"), {}, {"lineEditHost", "spinBoxPort", "spinBoxRetry"},
         element("nedapGenericBadge", {{"enabled", "0"}})},
        {"no port and no retries", without(kNedapElement, {"port", "maxRetry"}), {},
         {"spinBoxPort", "labelPort", "spinBoxRetry", "labelRetry"}, without(kNedapElement, {"port", "maxRetry"})},
        {"no switch", without(kNedapElement, {"enabled"}), {}, {"groupBoxEnable", "lineEditHost"},
         element("nedapGenericBadge", {})},
    };
    for (const SendCase &c : cases)
        expectSent(kNedap, c);
}

TEST_F(ProtocolSettingsTest, MoobylSendsItsSwitchAndTheZoneChosen)
{
    const SendCase cases[] = {
        {"untouched", kMoobylElement, {}, {}, kMoobylElement},
        {"deactivated in another zone", kMoobylElement,
         [](QDialog &dialog) {
             child<QCheckBox>(dialog, "checkActivate")->setChecked(false);
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboZone"), "south"));
         },
         {}, element("moobyl", {{"enabled", "0"}, {"zone", "south"}})},
        {"a zone the schema does not list", Element(kMoobylElement).set("zone", "North"),
         [](QDialog &dialog) { EXPECT_EQ(child<WidgetComboDoc>(dialog, "comboZone")->currentValue(), QByteArray()); },
         {}, element("moobyl", {{"enabled", "1"}})},
        {"no zone", without(kMoobylElement, {"zone"}), {}, {"comboZone"}, element("moobyl", {{"enabled", "1"}})},
        {"no switch", without(kMoobylElement, {"enabled"}), {}, {"checkActivate"}, element("moobyl", {{"zone", "north"}})},
    };
    for (const SendCase &c : cases)
        expectSent(kMoobyl, c);
}

TEST_F(ProtocolSettingsTest, WhatCannotBeSentIsRefusedInABoxBeforeSending)
{
    const char *badUrl = "URL is invalid, maybe missing trailing / ?";
    const RefusalCase cases[] = {
        {"Tiba URL without a path", kTiba, kTibaElement, typeIn("edtURL", "https://tiba.example"),
         QMessageBox::Critical, "Error", badUrl},
        {"Tiba URL read without a path", kTiba, Element(kTibaElement).set("url", "https://tiba.example"), {},
         QMessageBox::Critical, "Error", badUrl},
        {"Tiba switched on with a URL that is no URL", kTiba,
         Element(kTibaElement).set("enabled", "0").set("url", "tiba"), switchTo("groupBoxEnable", true),
         QMessageBox::Critical, "Error", badUrl},
        {"Amano One scheme in capitals", kAmano, kAmanoElement, typeIn("edtURL", "HTTPS://amano.example/"),
         QMessageBox::Critical, "Error", badUrl},
        {"Amano One URL with a fragment", kAmano, kAmanoElement, typeIn("edtURL", "https://amano.example/#in"),
         QMessageBox::Critical, "Error", badUrl},
        {"S&B port with a letter", kFreeFlow, kFreeFlowElement, typeIn("edtURL", "http://sb.example:80a/"),
         QMessageBox::Critical, "Error", badUrl},
        {"S&B blank before the URL", kFreeFlow, kFreeFlowElement, typeIn("edtURL", " http://sb.example/"),
         QMessageBox::Critical, "Error", badUrl},
        {"Nedap switched on with an empty address", kNedap, kNedapElement, typeIn("lineEditHost", ""),
         QMessageBox::Information, "Nedap GenericBadge", "Server address can't be empty."},
        {"Nedap switched on later with an empty address", kNedap,
         Element(kNedapElement).set("enabled", "0").set("address", ""), switchTo("groupBoxEnable", true),
         QMessageBox::Information, "Nedap GenericBadge", "Server address can't be empty."},
    };
    for (const RefusalCase &c : cases)
        expectRefused(c);
}

TEST_F(ProtocolSettingsTest, WithoutTheirElementTheProtocolsCanOnlyBeCancelled)
{
    expectMissing(kTiba, "tiba", {"groupBoxEnable", "edtURL", "edtGUID", "spinLaneId"});
    expectMissing(kAmano, "amanoOne", {"groupBoxEnable", "edtURL", "checkSendOnlyTriggerResults"});
    expectMissing(kFreeFlow, "SBFreeFlow", {"groupBoxEnable", "edtURL", "edtPassword"});
    expectMissing(kNedap, "nedapGenericBadge", {"groupBoxEnable", "lineEditHost", "spinBoxPort", "spinBoxRetry"});
    expectMissing(kMoobyl, "moobyl", {"checkActivate", "comboZone"});
}

TEST_F(ProtocolSettingsTest, ProtocolPictures)
{
    struct Picture
    {
        const char *name;
        Section where;
        Element section;
    };
    const Picture pictures[] = {
        {"network-tiba", kTiba, kTibaElement},
        {"network-amano-one", kAmano, kAmanoElement},
        {"network-sb-free-flow", kFreeFlow, kFreeFlowElement},
        {"network-nedap", kNedap, kNedapElement},
        {"network-nedap-off", kNedap, Element(kNedapElement).set("enabled", "0")},
        {"network-moobyl", kMoobyl, kMoobylElement},
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
