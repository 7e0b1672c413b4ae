// The camera synchronisation dialog and the auto exposure dialog: a switch each, the exposure's
// combos sent only while it is on, and a sensor without the switch leaves nothing to send.
#include "SettingsTestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace settingstest;
using fybsim::Element;

// The full configuration whose cameras section holds that synchronisation value, or none.
Element configWithSynchro(const char *value)
{
    Element config = configWithCameras({camera("0", {}), camera("1", {})});
    for (Element &section : config.children)
        if (section.name == "cameras" && value != nullptr)
            section.set("cameraSynchro", value);
    return config;
}

Element synchroRequest(const char *value)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").set("cameraSynchro", value)));
}

struct SynchroCase
{
    const char *name;
    const char *configured;
    std::optional<bool> operatorChecks;
    bool shownChecked;
    const char *sent;
};

TEST_F(SettingsTest, SynchronisationIsSentAsTheSwitchStands)
{
    const SynchroCase cases[] = {
        {"on, untouched", "1", std::nullopt, true, "1"},
        {"true counts as on", "true", std::nullopt, true, "1"},
        {"switched off", "1", false, true, "0"},
        {"switched on", "0", true, false, "1"},
        {"anything else is off", "yes", std::nullopt, false, "0"},
    };
    for (const SynchroCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithSynchro(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("cameras", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Cameras synchronization");
            auto *check = child<QCheckBox>(dialog, "checkSynchro");
            EXPECT_TRUE(shown(check));
            EXPECT_EQ(check->isChecked(), c.shownChecked);
            if (c.operatorChecks)
                check->setChecked(*c.operatorChecks);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, synchroRequest(c.sent));
    }
}

// Nothing else to edit: the note, OK disabled, and no empty cameras element sent.
TEST_F(SettingsTest, SynchronisationTheSensorLacksLeavesNothingToSend)
{
    Element withoutCameras = configWithSynchro(nullptr);
    std::erase_if(withoutCameras.children, [](const Element &section) { return section.name == "cameras"; });
    for (const Element &config : {configWithSynchro(nullptr), withoutCameras}) {
        ASSERT_NO_FATAL_FAILURE(start(config));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("cameras", [](QDialog &dialog) {
            EXPECT_FALSE(shown(child<QCheckBox>(dialog, "checkSynchro")));
            EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
            EXPECT_FALSE(okButton(dialog)->isEnabled());
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

Element exposure(Attributes attributes)
{
    return element("autoExposure", attributes);
}

struct ExposureCase
{
    const char *name;
    Element configured;
    std::optional<bool> operatorSwitches;
    const char *operatorSpeed;  // picked in the reaction speed combo when given
    Attributes sent;
};

TEST_F(SettingsTest, AutoExposureSendsItsCombosOnlyWhileOn)
{
    const ExposureCase cases[] = {
        {"switched off: the switch alone",
         exposure({{"shutterPriority", "1"}, {"switchType", "auto"}, {"reactionSpeed", "fast"}}), false, nullptr,
         {{"shutterPriority", "0"}}},
        {"switched on: with both combos",
         exposure({{"shutterPriority", "0"}, {"switchType", "manual"}, {"reactionSpeed", "slow"}}), true, "normal",
         {{"shutterPriority", "1"}, {"switchType", "manual"}, {"reactionSpeed", "normal"}}},
        {"no reaction speed", exposure({{"shutterPriority", "true"}, {"switchType", "auto"}}), std::nullopt, nullptr,
         {{"shutterPriority", "1"}, {"switchType", "auto"}}},
        {"a switch type the schema lacks",
         exposure({{"shutterPriority", "1"}, {"switchType", "dusk"}, {"reactionSpeed", "slow"}}), std::nullopt,
         nullptr, {{"shutterPriority", "1"}, {"reactionSpeed", "slow"}}},
    };
    for (const ExposureCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {c.configured})})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("1:autoExposure", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Auto exposure");
            if (c.operatorSwitches)
                child<QGroupBox>(dialog, "groupEnable")->setChecked(*c.operatorSwitches);
            if (c.operatorSpeed != nullptr)
                EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "cboReactionSpeed"), c.operatorSpeed));
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, cameraRequest("1", "autoExposure", c.sent));
    }
}

TEST_F(SettingsTest, AutoExposureWithoutItsSwitchLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras(
        {camera("0", {exposure({{"switchType", "auto"}, {"reactionSpeed", "slow"}})}), camera("1", {})})));
    for (const char *tag : {"0:autoExposure", "1:autoExposure"}) {
        SCOPED_TRACE(tag);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(QString::fromLatin1(tag), [](QDialog &dialog) {
            EXPECT_FALSE(child<QGroupBox>(dialog, "groupEnable")->isEnabled());
            EXPECT_FALSE(usable(child<WidgetComboDoc>(dialog, "cboSwitchMode")));
            EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
            EXPECT_FALSE(okButton(dialog)->isEnabled());
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(SettingsTest, SynchronisationAndAutoExposurePictures)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras(
        {camera("0", {exposure({{"shutterPriority", "1"}, {"switchType", "auto"}, {"reactionSpeed", "normal"}})})})));
    open("0:autoExposure", [](QDialog &dialog) {
        keepPicture(dialog, "settings-auto-exposure");
        dialog.reject();
    });
    ASSERT_NO_FATAL_FAILURE(start(configWithSynchro("1")));
    open("cameras", [](QDialog &dialog) {
        keepPicture(dialog, "settings-cameras-synchronization");
        dialog.reject();
    });
}

} // namespace
