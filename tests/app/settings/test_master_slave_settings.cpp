// The master/slave dialog: each slave's group follows the sensor's element, its MAC sent as typed
// while checked and as "no slave" otherwise; in the mode where slaves are set, at least one slave
// with a well-formed MAC is required.
#include "ConfigSections.h"
#include "SensorScenes.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace
{

using namespace settingstest;
using fybsim::Element;

const char kAnprMac[] = "00:11:22:33:44:55";
const char kContextMac[] = "00:1A:2B:3C:4D:5E";
const char kNoSlave[] = "00:00:00:00:00:00";

Element slaveAnpr(Attributes attributes = {{"macAddress", kAnprMac}, {"position", "left"}, {"coveringZone", "40"}})
{
    return element("slaveAnpr", attributes);
}

Element slaveContext(const char *mac = kContextMac)
{
    return element("slaveContext", {{"macAddress", mac}});
}

Element slaves(const char *mode, std::initializer_list<Element> children)
{
    Element made("slaves");
    if (mode != nullptr)
        made.set("mode", mode);
    for (const Element &child : children)
        made.add(child);
    return made;
}

// The sensor's section as the scene helper writes it for a configured ANPR slave.
Element sceneSlaves(const fybsim::SlaveSetup &setup)
{
    for (const Element &section : fybsim::configuration(setup, std::nullopt).children)
        if (section.name == "slaves")
            return section;
    return Element("slaves");
}

QGroupBox *anprGroup(QDialog &dialog)
{
    return child<QGroupBox>(dialog, "groupSlaveAnpr");
}

QGroupBox *contextGroup(QDialog &dialog)
{
    return child<QGroupBox>(dialog, "groupSlaveContext");
}

struct SlavesCase {
    const char *name;
    Element configured;
    Edit edit;
    Element expected;
};

TEST_F(SettingsTest, MasterSlaveSendsEachSlaveAsSet)
{
    const SlavesCase cases[] = {
        {"configured, untouched", slaves("configured", {slaveAnpr(), slaveContext()}),
         [](QDialog &dialog) {
             EXPECT_EQ(dialog.windowTitle(), "Master / Slave");
             EXPECT_TRUE(anprGroup(dialog)->isChecked());
             EXPECT_EQ(child<QLineEdit>(dialog, "txtAnprMac")->text(), kAnprMac);
             EXPECT_EQ(child<QSpinBox>(dialog, "spinCoveringZone")->value(), 40);
             EXPECT_TRUE(shown(anprGroup(dialog)));
             EXPECT_TRUE(shown(contextGroup(dialog)));
         },
         slaves("configured", {slaveAnpr(), slaveContext()})},
        {"no slave written as zeros opens unchecked and empty",
         slaves("master", {slaveAnpr({{"macAddress", kNoSlave}, {"position", "right"}, {"coveringZone", "7"}}),
                           slaveContext(kNoSlave)}),
         [](QDialog &dialog) {
             EXPECT_FALSE(anprGroup(dialog)->isChecked());
             EXPECT_FALSE(contextGroup(dialog)->isChecked());
             EXPECT_EQ(child<QLineEdit>(dialog, "txtAnprMac")->text(), "");
             EXPECT_EQ(child<QLineEdit>(dialog, "txtContextMac")->text(), "");
             EXPECT_FALSE(shown(anprGroup(dialog)));
             EXPECT_FALSE(shown(contextGroup(dialog)));
         },
         slaves("master", {slaveAnpr({{"macAddress", kNoSlave}, {"position", "right"}, {"coveringZone", "7"}}),
                           slaveContext(kNoSlave)})},
        {"slaves unchecked send no slave, the position and zone as read",
         slaves("configured", {slaveAnpr(), slaveContext()}),
         [](QDialog &dialog) {
             anprGroup(dialog)->setChecked(false);
             child<QLineEdit>(dialog, "txtContextMac")->setText("00:11:22:33:44:66");
         },
         slaves("configured", {slaveAnpr({{"macAddress", kNoSlave}, {"position", "left"}, {"coveringZone", "40"}}),
                               slaveContext("00:11:22:33:44:66")})},
        {"another mode, none checked, sent without complaint", slaves("configured", {slaveAnpr(), slaveContext()}),
         [](QDialog &dialog) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboMode"), "disabled"));
             EXPECT_FALSE(shown(anprGroup(dialog)));
             anprGroup(dialog)->setChecked(false);
             contextGroup(dialog)->setChecked(false);
         },
         slaves("disabled", {slaveAnpr({{"macAddress", kNoSlave}, {"position", "left"}, {"coveringZone", "40"}}),
                             slaveContext(kNoSlave)})},
        {"slaves set by the operator",
         slaves("master", {slaveAnpr({{"macAddress", kNoSlave}, {"position", "left"}, {"coveringZone", "40"}}),
                           slaveContext(kNoSlave)}),
         [](QDialog &dialog) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboMode"), "configured"));
             EXPECT_TRUE(shown(anprGroup(dialog)));
             anprGroup(dialog)->setChecked(true);
             child<QLineEdit>(dialog, "txtAnprMac")->setText("aa:bb:cc:dd:ee:ff");
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboSlavePosition"), "right"));
             child<QSpinBox>(dialog, "spinCoveringZone")->setValue(120);
         },
         slaves("configured",
                {slaveAnpr({{"macAddress", "aa:bb:cc:dd:ee:ff"}, {"position", "right"}, {"coveringZone", "120"}}),
                 slaveContext(kNoSlave)})},
        {"no covering zone", sceneSlaves({"configured", "left", std::nullopt}),
         [](QDialog &dialog) {
             auto *zone = child<QSpinBox>(dialog, "spinCoveringZone");
             EXPECT_FALSE(zone->isEnabled());
             EXPECT_EQ(zone->value(), 0);
         },
         sceneSlaves({"configured", "left", std::nullopt})},
        {"no position", sceneSlaves({"configured", std::nullopt, "64"}),
         [](QDialog &dialog) { EXPECT_FALSE(usable(child<WidgetComboDoc>(dialog, "comboSlavePosition"))); },
         sceneSlaves({"configured", std::nullopt, "64"})},
        {"no context slave", slaves("configured", {slaveAnpr()}),
         [](QDialog &dialog) { EXPECT_FALSE(contextGroup(dialog)->isEnabled()); }, slaves("configured", {slaveAnpr()})},
        {"no ANPR slave", slaves("configured", {slaveContext()}),
         [](QDialog &dialog) { EXPECT_FALSE(anprGroup(dialog)->isEnabled()); }, slaves("configured", {slaveContext()})},
        {"an ANPR slave without its MAC", slaves("configured", {slaveAnpr({{"position", "left"}}), slaveContext()}),
         [](QDialog &dialog) { EXPECT_FALSE(anprGroup(dialog)->isEnabled()); }, slaves("configured", {slaveContext()})},
        {"no mode", slaves(nullptr, {slaveAnpr(), slaveContext()}),
         [](QDialog &dialog) {
             EXPECT_FALSE(usable(child<WidgetComboDoc>(dialog, "comboMode")));
             EXPECT_FALSE(shown(anprGroup(dialog)));
         },
         slaves(nullptr, {slaveAnpr(), slaveContext()})},
    };
    for (const SlavesCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith("slaves", c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        EXPECT_EQ(openAndOk("slaves", c.edit), QDialog::Accepted);
        expectRequest(mark, sectionRequest(c.expected));
    }
}

struct RefusalCase {
    const char *name;
    Edit edit;
    const char *message;
};

TEST_F(SettingsTest, MasterSlaveRefusesMissingOrMalformedSlaves)
{
    const auto macs = [](const char *anpr, const char *context) {
        return [anpr, context](QDialog &dialog) {
            child<QLineEdit>(dialog, "txtAnprMac")->setText(QString::fromLatin1(anpr));
            child<QLineEdit>(dialog, "txtContextMac")->setText(QString::fromLatin1(context));
        };
    };
    const RefusalCase cases[] = {
        {"no slave checked",
         [](QDialog &dialog) {
             anprGroup(dialog)->setChecked(false);
             contextGroup(dialog)->setChecked(false);
         },
         "You must select at least one ANPR slave or one context slave"},
        {"16 characters", macs("00:11:22:33:44:5", kContextMac), "Invalid ANPR MAC address"},
        {"17 characters that are no MAC", macs("00:11:22:33:44:5x", kContextMac), "Invalid ANPR MAC address"},
        {"dashes", macs("00-11-22-33-44-55", kContextMac), "Invalid ANPR MAC address"},
        {"empty", macs("", kContextMac), "Invalid ANPR MAC address"},
        {"context", macs(kAnprMac, "0:11:22:33:44:55:"), "Invalid Context MAC address"},
        {"both wrong: the ANPR first", macs("x", "y"), "Invalid ANPR MAC address"},
    };
    ASSERT_NO_FATAL_FAILURE(start(configWith("slaves", slaves("configured", {slaveAnpr(), slaveContext()}))));
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.name);
        const fybsim::FybSensor::Mark mark = server.mark();
        std::size_t boxes = 0;
        std::vector<SeenDialog> refusals;
        const int result = open("slaves", [&](QDialog &dialog) {
            c.edit(dialog);
            boxes = seen.size();
            okButton(dialog)->click();
            refusals.assign(seen.begin() + qsizetype(boxes), seen.end());
            EXPECT_FALSE(dialog.result() == QDialog::Accepted);
            dialog.reject();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(refusals.size(), 1u);
        EXPECT_EQ(refusals[0].kind, "QMessageBox");
        EXPECT_EQ(refusals[0].title, "Error");
        EXPECT_EQ(refusals[0].text, c.message);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(SettingsTest, MasterSlaveWithoutTheSectionLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith("slaves", std::nullopt)));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = openAndOk("slaves", [](QDialog &dialog) {
        EXPECT_FALSE(usable(child<WidgetComboDoc>(dialog, "comboMode")));
        EXPECT_FALSE(anprGroup(dialog)->isEnabled());
        EXPECT_FALSE(contextGroup(dialog)->isEnabled());
        EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
        EXPECT_FALSE(okButton(dialog)->isEnabled());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(requestsSince(mark).empty());
}

TEST_F(SettingsTest, MasterSlavePictureInTheConfiguredMode)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith("slaves", slaves("configured", {slaveAnpr(), slaveContext()}))));
    open("slaves", [](QDialog &dialog) {
        keepPicture(dialog, "settings-master-slave-configured");
        dialog.reject();
    });
}

} // namespace
