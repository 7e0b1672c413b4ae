// The I/O dialog: the mode row and the output and input groups follow what the sensor has, and
// the request carries the default pulse always and the input only when the sensor has one.
#include "ConfigSections.h"

#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;

Element impulse(Attributes attributes = {{"pulseMode", "normallyOpen"}, {"duration_ms", "500"}})
{
    return element("defaultImpulse", attributes);
}

Element input()
{
    return element("input", {{"minDuration_ms", "100"}});
}

Element io(Attributes attributes, std::initializer_list<Element> children)
{
    Element made = element("io", attributes);
    for (const Element &child : children)
        made.add(child);
    return made;
}

struct IoCase
{
    const char *name;
    Element io;
    Edit edit;
    std::vector<const char *> hidden;
    std::vector<const char *> disabled;
    Element expected;
};

TEST_F(SettingsTest, IoRowsFollowTheSensorAndTheDefaultPulseIsAlwaysSent)
{
    const Attributes mode = {{"mode", "output"}};
    const IoCase cases[] = {
        {"untouched", io(mode, {impulse(), input()}), {}, {}, {}, io(mode, {impulse(), input()})},
        {"no input", io(mode, {impulse()}), {}, {"groupInput"}, {}, io(mode, {impulse()})},
        {"no pulse duration", io(mode, {impulse({{"pulseMode", "normallyOpen"}}), input()}), {}, {},
         {"spinPulseDuration", "labelPulseDuration"}, io(mode, {impulse({{"pulseMode", "normallyOpen"}}), input()})},
        {"no mode", io({}, {impulse(), input()}), {}, {"comboIOMode"}, {}, io({}, {impulse(), input()})},
        {"no default pulse", io(mode, {input()}), {}, {"groupOutput"}, {}, io(mode, {element("defaultImpulse", {}), input()})},
        {"an input without its duration", io(mode, {impulse(), element("input", {})}), {}, {},
         {"spinMinPulseDuration"}, io(mode, {impulse(), element("input", {})})},
        {"a duration above 9000, untouched", io(mode, {impulse({{"pulseMode", "normallyOpen"}, {"duration_ms", "9500"}})}),
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinPulseDuration")->value(), 9000); }, {}, {},
         io(mode, {impulse({{"pulseMode", "normallyOpen"}, {"duration_ms", "9500"}})})},
        {"a mode the schema lacks", io({{"mode", "relay"}}, {impulse()}), {}, {}, {}, io({}, {impulse()})},
        {"edited", io(mode, {impulse(), input()}),
         [](QDialog &dialog) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboIOMode"), "input"));
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboPulseMode"), "normallyClosed"));
             child<QSpinBox>(dialog, "spinPulseDuration")->setValue(750);
             child<QSpinBox>(dialog, "spinMinPulseDuration")->setValue(40);
         },
         {}, {},
         io({{"mode", "input"}}, {impulse({{"pulseMode", "normallyClosed"}, {"duration_ms", "750"}}),
                                  element("input", {{"minDuration_ms", "40"}})})},
    };
    for (const IoCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith("io", c.io)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("io", [&](QDialog &dialog) {
            for (const char *name : c.hidden)
                EXPECT_FALSE(shown(child<QWidget>(dialog, name))) << name;
            for (const char *name : c.disabled)
                EXPECT_FALSE(usable(child<QWidget>(dialog, name))) << name;
            EXPECT_TRUE(shown(child<QLabel>(dialog, "labelIOMode")));
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sectionRequest(c.expected));
    }
}

TEST_F(SettingsTest, IoPictureWithTheOutputGroupOnly)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith("io", io({{"mode", "output"}}, {impulse()}))));
    open("io", [](QDialog &dialog) {
        keepPicture(dialog, "settings-io-output-only");
        dialog.reject();
    });
}

} // namespace
