// The enslavement dialog and its tuning dialog: the combos sent only while enslavement is on, the
// tuning values in a request of their own that the basic dialog's Cancel does not undo, and a
// sensor without the switch leaves nothing to send.
#include "SettingsTestSupport.h"

#include "Dialog_Settings.h"

#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kTuning = {{"maxTimeWithoutDecisionBeforeReinit_s", "120"},
                            {"timeToWaitBeforeElection_s", "30"},
                            {"plateHysteresis", "4"},
                            {"gainMax", "24"}};

Element enslavement(Attributes attributes, std::initializer_list<const char *> removed = {})
{
    Element made = element("enslavement", {{"enabled", "1"}, {"mode", "queue"}, {"switchType", "auto"}});
    for (const auto &[key, value] : kTuning)
        made.set(key, value);
    for (const auto &[key, value] : attributes)
        made.set(key, value);
    for (const char *name : removed)
        std::erase_if(made.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return made;
}

Element configWith(const Element &feature)
{
    return configWithCameras({camera("0", {}), camera("1", {feature})});
}

struct BasicCase
{
    const char *name;
    Element configured;
    std::optional<bool> operatorSwitches;
    const char *operatorMode;  // picked in the type combo when given
    Attributes sent;
};

TEST_F(SettingsTest, EnslavementSendsItsCombosOnlyWhileOn)
{
    const BasicCase cases[] = {
        {"on, untouched", enslavement({}), std::nullopt, nullptr,
         {{"enabled", "1"}, {"mode", "queue"}, {"switchType", "auto"}}},
        {"another type", enslavement({}), std::nullopt, "stopAndGo",
         {{"enabled", "1"}, {"mode", "stopAndGo"}, {"switchType", "auto"}}},
        {"switched off: the switch alone", enslavement({}), false, nullptr, {{"enabled", "0"}}},
        {"switched on", enslavement({{"enabled", "0"}}), true, nullptr,
         {{"enabled", "1"}, {"mode", "queue"}, {"switchType", "auto"}}},
        {"no colour-mode switch", enslavement({}, {"switchType"}), std::nullopt, nullptr,
         {{"enabled", "1"}, {"mode", "queue"}}},
        {"a type the schema lacks", enslavement({{"mode", "convoy"}}), std::nullopt, nullptr,
         {{"enabled", "1"}, {"switchType", "auto"}}},
    };
    for (const BasicCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("1:enslavement", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Enslavement");
            if (c.operatorSwitches)
                child<QGroupBox>(dialog, "groupEnslavement")->setChecked(*c.operatorSwitches);
            if (c.operatorMode != nullptr)
                EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboType"), c.operatorMode));
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, cameraRequest("1", "enslavement", c.sent));
    }
}

TEST_F(SettingsTest, EnslavementWithoutItsSwitchLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(enslavement({}, {"enabled"}))));
    for (const char *tag : {"1:enslavement", "0:enslavement", "7:enslavement"}) {
        SCOPED_TRACE(tag);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(QString::fromLatin1(tag), [](QDialog &dialog) {
            EXPECT_FALSE(child<QGroupBox>(dialog, "groupEnslavement")->isEnabled());
            EXPECT_FALSE(child<QWidget>(dialog, "btnAdvanced")->isEnabled());
            EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
            EXPECT_FALSE(okButton(dialog)->isEnabled());
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

// The basic dialog opened, its Advanced... pressed and the tuning dialog answered by the
// operator's part; the basic dialog is then cancelled.
class EnslavementTuningTest : public SettingsTest
{
protected:
    int runTuning(const Operator &tuning)
    {
        int tuningResult = -1;
        open("1:enslavement", [&](QDialog &dialog) {
            answers.push_back([&](QDialog *advanced) {
                EXPECT_EQ(advanced->windowTitle(), "Enslavement advanced");
                tuning(*advanced);
                tuningResult = advanced->result();
                return tuningResult;
            });
            child<QPushButton>(dialog, "btnAdvanced")->click();
            dialog.reject();
        });
        return tuningResult;
    }
};

struct TuningCase
{
    const char *name;
    Element configured;
    std::optional<int> operatorGain;
    Attributes sent;
};

TEST_F(EnslavementTuningTest, TuningSendsTheValuesReadOrSet)
{
    const TuningCase cases[] = {
        {"untouched", enslavement({}), std::nullopt, kTuning},
        {"gain changed", enslavement({}), 30,
         {{"maxTimeWithoutDecisionBeforeReinit_s", "120"},
          {"timeToWaitBeforeElection_s", "30"},
          {"plateHysteresis", "4"},
          {"gainMax", "30"}}},
        {"no gain", enslavement({}, {"gainMax"}), std::nullopt,
         {{"maxTimeWithoutDecisionBeforeReinit_s", "120"}, {"timeToWaitBeforeElection_s", "30"}, {"plateHysteresis", "4"}}},
        // Shown within the schema's range, sent back as read until changed.
        {"out of range, untouched",
         enslavement({{"maxTimeWithoutDecisionBeforeReinit_s", "5"}, {"plateHysteresis", "99"}}), std::nullopt,
         {{"maxTimeWithoutDecisionBeforeReinit_s", "5"},
          {"timeToWaitBeforeElection_s", "30"},
          {"plateHysteresis", "99"},
          {"gainMax", "24"}}},
    };
    for (const TuningCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.configured)));
        QSignalSpy pushed(model(), &Model::signalConfigReceived);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = runTuning([&](QDialog &advanced) {
            const bool hasGain = c.configured.attribute("gainMax") != nullptr;
            EXPECT_EQ(child<QSpinBox>(advanced, "spinMaxGain")->isEnabled(), hasGain);
            if (c.operatorGain)
                child<QSpinBox>(advanced, "spinMaxGain")->setValue(*c.operatorGain);
            okButton(advanced)->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, cameraRequest("1", "enslavement", c.sent));
        // The basic dialog's Cancel sent nothing after it.
        EXPECT_EQ(requestsSince(mark).size(), 1u);
        EXPECT_TRUE(waitUntil([&] { return pushed.count() > 0; }));
    }
}

// Bounds from the schema where it gives them, the form's where it does not; a value outside is
// shown clamped.
TEST_F(EnslavementTuningTest, TuningRangesComeFromTheSchema)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(enslavement({{"maxTimeWithoutDecisionBeforeReinit_s", "5"}}))));
    runTuning([](QDialog &advanced) {
        const struct
        {
            const char *spin;
            int minimum;
            int maximum;
        } ranges[] = {
            {"spinMaxTime", 10, 3600},
            {"spinTimeToWait", 0, 600},
            {"spinPlateHys", 0, 20},
            {"spinMaxGain", 0, 9999999},
        };
        for (const auto &range : ranges) {
            auto *spin = child<QSpinBox>(advanced, range.spin);
            EXPECT_EQ(spin->minimum(), range.minimum) << range.spin;
            EXPECT_EQ(spin->maximum(), range.maximum) << range.spin;
        }
        EXPECT_EQ(child<QSpinBox>(advanced, "spinMaxTime")->value(), 10);
        EXPECT_EQ(child<QSpinBox>(advanced, "spinMaxGain")->suffix(), " db");
        // No documentation of its own, so no Help.
        EXPECT_EQ(qobject_cast<Dialog_Settings *>(&advanced)->documentationPanel(), nullptr);
        advanced.reject();
    });
}

TEST_F(EnslavementTuningTest, EnslavementPictures)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(enslavement({}))));
    open("1:enslavement", [&](QDialog &dialog) {
        keepPicture(dialog, "settings-enslavement");
        answers.push_back([](QDialog *advanced) {
            keepPicture(*advanced, "settings-enslavement-advanced");
            return int(QDialog::Rejected);
        });
        child<QPushButton>(dialog, "btnAdvanced")->click();
        dialog.reject();
    });
}

} // namespace
