// The lighting dialogs: the shutter synchronisation of all lightings, one LED, and one projector
// whose rows, presets and camera list follow the sensor's protocol and information.
#include "ConfigSections.h"
#include "Dialog_Settings.h"
#include "KgvDevice.h"
#include "KgvSensor.h"
#include "KgvStreamPackets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kProjector = {{"id", "2"},         {"enabled", "1"},  {"synchronizedWithCamera", "0"},
                               {"bracketing", "0"}, {"delay", "1600"}, {"width", "100"},
                               {"delayLowBracketing", "500"}};

Element lightings(std::initializer_list<Element> units, Attributes attributes = {{"shutterSynchronization", "inPhase"}})
{
    Element made = element("lightings", attributes);
    for (const Element &unit : units)
        made.add(unit);
    return made;
}

Element projector(Attributes changes = {}, std::initializer_list<const char *> removed = {})
{
    Element made = element("projector", kProjector);
    for (const auto &[key, value] : changes)
        made.set(key, value);
    return without(made, removed);
}

// The information with two cameras and the projector's allowed delays, when given.
Element infosWithDelays(Attributes delayValues)
{
    Element infos = panelsfixture::fullInfos();
    for (Element &section : infos.children) {
        if (section.name == "cameras")
            section.add(element("camera", {{"id", "1"}, {"cameraModel", "IMX-2"}}));
        if (section.name == "lightings" && delayValues.size() > 0)
            for (Element &unit : section.children)
                if (unit.name == "projector")
                    unit.add(element("delayValues", delayValues));
    }
    return infos;
}

// The projector sent: "setConfig" down to it, with these attributes in order.
Element projectorRequest(Attributes attributes)
{
    return sectionRequest(lightings({element("projector", attributes)}, {}));
}

using kgvsim::Port;

struct LegacySensor
{
    kgvsim::KgvSensor sensor;
    kgvsim::KgvDevice device{sensor};
    kgvsim::KgvClock clock{sensor, 0x20000};
};

class LightingSettingsTest : public SettingsTest
{
protected:
    void startWith(const Element &lightingsSection, const Element &infos = infosWithDelays({}))
    {
        ASSERT_NO_FATAL_FAILURE(start(configWith("lightings", lightingsSection), infos));
    }

    // A legacy sensor, reached through the sensor library's bridge; the trees are handed to the
    // model as the bridge hands its own.
    void startLegacy()
    {
        model()->clear();
        legacy = std::make_unique<LegacySensor>();
        legacy->sensor.setGreeting(Port::Stream, kgvsim::streamConfiguration({}));
        const QString options = QStringLiteral("timePort=%1;commandPort=%2")
                                    .arg(legacy->sensor.port(Port::Time))
                                    .arg(legacy->sensor.port(Port::Command));
        ASSERT_TRUE(sensor().connect("127.0.0.1", legacy->sensor.port(Port::Stream), options, false, false, false, {}, {}));
        ASSERT_TRUE(waitUntil([] { return sensor().isConnected() && sensor().detectedProtocol() == "KGV"; }));
        ASSERT_NO_FATAL_FAILURE(feed(configWith("lightings", lightings({projector()}))));
        ASSERT_NO_FATAL_FAILURE(feed(infosWithDelays({})));
        ASSERT_TRUE(waitUntil([] {
            return Dialog_Settings::findLighting(model()->config(), "projector=2") != nullptr
                && model()->infos() != nullptr;
        }));
        model()->parseInfos();
    }
    void TearDown() override
    {
        SettingsTest::TearDown();
        legacy.reset();
    }
    static void feed(const Element &tree)
    {
        PXRMsg *message = PXRMsgCreate();
        const std::string bytes = fybsim::wireOf(tree);
        ASSERT_EQ(PXRMsgImportFromBinaryArray(message, bytes.data(), uint32_t(bytes.size())), 1);
        emit sensor().signalMsgReceived(message);
    }

    // The projector dialog loads once shown.
    static void showLoaded(QDialog &dialog)
    {
        dialog.show();
        EXPECT_TRUE(waitUntil([&] {
            return child<QGroupBox>(dialog, "groupBox")->isEnabled()
                || dialog.findChild<QLabel *>("labelMissingSettings") != nullptr;
        }));
    }
    std::unique_ptr<LegacySensor> legacy;

    static QSpinBox *spin(QDialog &dialog, const char *name) { return child<QSpinBox>(dialog, name); }
    static QComboBox *combo(QDialog &dialog, const char *name) { return child<QComboBox>(dialog, name); }
};

TEST_F(LightingSettingsTest, ShutterSynchronisationIsChosenUnderItsPhaseLabels)
{
    struct Case
    {
        const char *name;
        const char *read;
        const char *chosen;  // item data the operator picks, or null
        const char *current; // the item text shown
        Attributes sent;
    };
    const Case cases[] = {
        {"untouched", "inPhase", nullptr, "In phase", {{"shutterSynchronization", "inPhase"}}},
        {"out of phase chosen", "inPhase", "outOfPhase", "Out of phase", {{"shutterSynchronization", "outOfPhase"}}},
        {"a value without label", "external", nullptr, "external", {{"shutterSynchronization", "external"}}},
        {"a value the schema lacks", "sideways", nullptr, "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startWith(lightings({}, {{"shutterSynchronization", c.read}})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("lightings", [&](QDialog &dialog) {
            QComboBox *mode = combo(dialog, "cboMode");
            ASSERT_EQ(mode->count(), 3);
            EXPECT_EQ(mode->itemText(0), "In phase");
            EXPECT_EQ(mode->itemText(1), "Out of phase");
            EXPECT_EQ(mode->itemText(2), "external");
            if (c.chosen != nullptr)
                mode->setCurrentIndex(mode->findData(QString::fromLatin1(c.chosen)));
            EXPECT_EQ(mode->currentText(), c.current);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sectionRequest(element("lightings", c.sent)));
    }
}

TEST_F(LightingSettingsTest, LedSendsItsIdAndTheModesItHas)
{
    struct Case
    {
        const char *name;
        const char *tag;
        bool toggleEco;
        Attributes sent;
    };
    const Element first = element("led", {{"id", "1"}, {"bracketing", "1"}, {"ecoMode", "0"}});
    const Element third = element("led", {{"id", "3"}, {"bracketing", "true"}});
    const Case cases[] = {
        {"untouched", "led=1:led", false, {{"id", "1"}, {"bracketing", "1"}, {"ecoMode", "0"}}},
        {"eco mode set", "led=1:led", true, {{"id", "1"}, {"bracketing", "1"}, {"ecoMode", "1"}}},
        {"no eco mode", "led=3:led", false, {{"id", "3"}, {"bracketing", "1"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startWith(lightings({first, projector(), third})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(c.tag, [&](QDialog &dialog) {
            auto *eco = child<QCheckBox>(dialog, "checkEcoMode");
            EXPECT_TRUE(child<QCheckBox>(dialog, "checkBracketing")->isChecked());
            if (c.toggleEco)
                eco->setChecked(true);
            if (QByteArray(c.tag) == "led=3:led")
                EXPECT_FALSE(eco->isEnabled());
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sectionRequest(lightings({element("led", c.sent)}, {})));
    }
}

struct ProjectorCase
{
    const char *name;
    Element projector;
    Edit edit;
    Attributes sent;
};

// On a current sensor the camera and low-delay rows are shown and the preset rows hidden.
TEST_F(LightingSettingsTest, ProjectorOnACurrentSensorSendsWhatItReadOrWhatWasSet)
{
    const ProjectorCase cases[] = {
        {"untouched", projector(), {},
         {{"id", "2"}, {"enabled", "1"}, {"synchronizedWithCamera", "0"}, {"delay", "1600"}, {"bracketing", "0"}}},
        {"other camera", projector(), [](QDialog &d) { combo(d, "cboCamera")->setCurrentIndex(1); },
         {{"id", "2"}, {"enabled", "1"}, {"synchronizedWithCamera", "1"}, {"delay", "1600"}, {"bracketing", "0"}}},
        {"bracketing switched on", projector(), [](QDialog &d) {
             child<QCheckBox>(d, "checkBracketing")->setChecked(true);
             EXPECT_TRUE(spin(d, "spinLowDelay")->isEnabled());
             EXPECT_TRUE(child<QLabel>(d, "labelLowDelay")->isEnabled());
         },
         {{"id", "2"}, {"enabled", "1"}, {"synchronizedWithCamera", "0"}, {"delay", "1600"},
          {"delayLowBracketing", "500"}, {"bracketing", "1"}}},
        {"bracketing without low delay", projector({{"bracketing", "1"}}, {"delayLowBracketing"}),
         [](QDialog &d) {
             EXPECT_TRUE(spin(d, "spinLowDelay")->isEnabled());
             EXPECT_EQ(spin(d, "spinLowDelay")->value(), 0);
         },
         {{"id", "2"}, {"enabled", "1"}, {"synchronizedWithCamera", "0"}, {"delay", "1600"}, {"bracketing", "1"}}},
        {"low delay set where it had none", projector({{"bracketing", "1"}}, {"delayLowBracketing"}),
         [](QDialog &d) { spin(d, "spinLowDelay")->setValue(300); },
         {{"id", "2"}, {"enabled", "1"}, {"synchronizedWithCamera", "0"}, {"delay", "1600"},
          {"delayLowBracketing", "300"}, {"bracketing", "1"}}},
        {"no on/off", projector({}, {"enabled"}),
         [](QDialog &d) { EXPECT_TRUE(child<QGroupBox>(d, "groupBox")->isChecked()); },
         {{"id", "2"}, {"synchronizedWithCamera", "0"}, {"delay", "1600"}, {"bracketing", "0"}}},
        {"no on/off, switched off", projector({}, {"enabled"}),
         [](QDialog &d) { child<QGroupBox>(d, "groupBox")->setChecked(false); }, {{"id", "2"}, {"enabled", "0"}}},
        {"switched off", projector(), [](QDialog &d) {
             child<QGroupBox>(d, "groupBox")->setChecked(false);
             for (const char *name : {"cboCamera", "spinDelay", "checkBracketing", "spinLowDelay"})
                 EXPECT_FALSE(child<QWidget>(d, name)->isEnabled()) << name;
         },
         {{"id", "2"}, {"enabled", "0"}}},
        {"a camera the list lacks", projector({{"synchronizedWithCamera", "7"}}),
         [](QDialog &d) { EXPECT_EQ(combo(d, "cboCamera")->currentIndex(), -1); },
         {{"id", "2"}, {"enabled", "1"}, {"delay", "1600"}, {"bracketing", "0"}}},
        {"no camera, no delay, no bracketing", projector({}, {"synchronizedWithCamera", "delay", "bracketing"}),
         [](QDialog &d) {
             for (const char *name : {"cboCamera", "spinDelay", "checkBracketing", "spinLowDelay"})
                 EXPECT_FALSE(child<QWidget>(d, name)->isEnabled()) << name;
         },
         {{"id", "2"}, {"enabled", "1"}}},
    };
    for (const ProjectorCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startWith(lightings({element("led", {{"id", "1"}}), c.projector})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("projector=2:projector", [&](QDialog &dialog) {
            showLoaded(dialog);
            for (const char *name : {"labelMode", "cboMode", "labelWidth", "spinWidth"})
                EXPECT_FALSE(shown(child<QWidget>(dialog, name))) << name;
            QComboBox *cameras = combo(dialog, "cboCamera");
            ASSERT_EQ(cameras->count(), 2);
            EXPECT_EQ(cameras->itemText(0), "[0] IMX-1");
            EXPECT_EQ(cameras->itemText(1), "[1] IMX-2");
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, projectorRequest(c.sent));
    }
}

// The allowed delays come from the information; a bound it lacks stays the form's, and a delay
// outside them goes back as read until changed.
TEST_F(LightingSettingsTest, ProjectorDelayRangeFollowsTheInformation)
{
    struct Case
    {
        const char *name;
        Attributes delayValues;
        int min;
        int max;
        int shown;
    };
    const Case cases[] = {
        {"both bounds", {{"min", "2000"}, {"max", "8000"}}, 2000, 8000, 2000},
        {"a minimum only", {{"min", "1000"}}, 1000, 20000, 1600},
        {"a maximum only", {{"max", "1500"}}, 0, 1500, 1500},
        {"none", {}, 0, 20000, 1600},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startWith(lightings({projector()}), infosWithDelays(c.delayValues)));
        const fybsim::FybSensor::Mark mark = server.mark();
        openAndOk("projector=2:projector", [&](QDialog &dialog) {
            showLoaded(dialog);
            QSpinBox *delay = spin(dialog, "spinDelay");
            EXPECT_EQ(delay->minimum(), c.min);
            EXPECT_EQ(delay->maximum(), c.max);
            EXPECT_EQ(delay->value(), c.shown);
            EXPECT_EQ(delay->singleStep(), 100);
        });
        expectRequest(mark, projectorRequest({{"id", "2"}, {"enabled", "1"}, {"synchronizedWithCamera", "0"},
                                              {"delay", "1600"}, {"bracketing", "0"}}));
    }
}

// A projector of a legacy sensor: the camera and low delay rows are hidden, the mode row shows
// the preset the delay and width make, and choosing a preset sets them.
TEST_F(LightingSettingsTest, ProjectorPresetsAndTimingsAgreeOnALegacySensor)
{
    ASSERT_NO_FATAL_FAILURE(startLegacy());
    open("projector=2:projector", [&](QDialog &dialog) {
        showLoaded(dialog);
        keepPicture(dialog, "settings-projector-legacy");
        for (const char *name : {"labelCamera", "cboCamera", "labelLowDelay", "spinLowDelay"})
            EXPECT_FALSE(shown(child<QWidget>(dialog, name))) << name;
        QComboBox *mode = combo(dialog, "cboMode");
        ASSERT_EQ(mode->count(), 3);
        EXPECT_EQ(mode->itemText(0), "ANPR sensor");
        EXPECT_EQ(mode->itemText(1), "Context sensor");
        EXPECT_EQ(mode->itemText(2), "Custom");
        EXPECT_EQ(mode->currentText(), "Context sensor");
        spin(dialog, "spinWidth")->setValue(200);
        EXPECT_EQ(mode->currentText(), "Custom");
        mode->setCurrentIndex(0);
        EXPECT_EQ(spin(dialog, "spinDelay")->value(), 9700);
        EXPECT_EQ(spin(dialog, "spinWidth")->value(), 100);
        spin(dialog, "spinDelay")->setValue(1600);
        EXPECT_EQ(mode->currentText(), "Context sensor");
        mode->setCurrentIndex(2);
        EXPECT_EQ(spin(dialog, "spinDelay")->value(), 1600);
        EXPECT_EQ(mode->currentText(), "Custom");
        dialog.reject();
    });
}

TEST_F(LightingSettingsTest, Pictures)
{
    ASSERT_NO_FATAL_FAILURE(startWith(lightings({element("led", {{"id", "1"}, {"bracketing", "1"}, {"ecoMode", "0"}}),
                                                 projector({{"bracketing", "1"}})})));
    open("lightings", [](QDialog &dialog) {
        keepPicture(dialog, "settings-lightings");
        dialog.reject();
    });
    open("led=1:led", [](QDialog &dialog) {
        keepPicture(dialog, "settings-led");
        dialog.reject();
    });
    open("projector=2:projector", [](QDialog &dialog) {
        showLoaded(dialog);
        keepPicture(dialog, "settings-projector");
        dialog.reject();
    });
}

} // namespace
