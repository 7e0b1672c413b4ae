// The AVAR dialog: every value read goes back, switched on or off; a secondary sensor the
// configuration lacks sends nothing of its own; AVAR switched on needs an address that is not
// blank.
#include "SettingsTestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kAvar = {{"enabled", "1"}, {"timeout_ms", "500"}};
const Attributes kSecondary = {{"address", "10.0.0.2"},
                               {"port", "8443"},
                               {"useSecuredConnection", "1"},
                               {"ignoreSSLErrors", "0"},
                               {"timeout_ms", "300"}};

Element withChanges(const char *name, Attributes base, Attributes changes, std::initializer_list<const char *> removed)
{
    Element made = element(name, base);
    for (const auto &[key, value] : changes)
        made.set(key, value);
    for (const char *gone : removed)
        std::erase_if(made.attributes, [gone](const auto &attribute) { return attribute.first == gone; });
    return made;
}

// The anpr element holding avar and, unless left out, its secondary sensor.
Element avar(Attributes avarChanges = {}, Attributes secondaryChanges = {}, bool withSecondary = true,
             std::initializer_list<const char *> secondaryRemoved = {})
{
    Element made = withChanges("avar", kAvar, avarChanges, {});
    if (withSecondary)
        made.add(Element("sensors").add(withChanges("sensor0", kSecondary, secondaryChanges, secondaryRemoved)));
    return Element("anpr").add(made);
}

Element configWith(const Element &anpr)
{
    return configWithCameras({camera("0", {}), camera("1", {anpr})});
}

Element sent(const Element &anpr)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera("1", {anpr}))));
}

using Edit = std::function<void(QDialog &dialog)>;

void switchAvar(QDialog &dialog, bool on)
{
    child<QGroupBox>(dialog, "groupAVAR")->setChecked(on);
}

void typeAddress(QDialog &dialog, const char *address)
{
    child<QLineEdit>(dialog, "edtAVARSecondSensorAddress")->setText(QString::fromUtf8(address));
}

struct SendCase
{
    const char *name;
    Element configured;
    Edit edit;
    Element expected;
};

TEST_F(SettingsTest, AvarSendsEveryValueReadWhetherOnOrOff)
{
    const SendCase cases[] = {
        {"untouched", avar(), {}, avar()},
        {"address typed", avar(), [](QDialog &d) { typeAddress(d, "sensor-2.local"); },
         avar({}, {{"address", "sensor-2.local"}})},
        {"switched off: the values still go", avar(), [](QDialog &d) { switchAvar(d, false); },
         avar({{"enabled", "0"}})},
        {"off with an empty address", avar({{"enabled", "0"}}, {{"address", ""}}), {},
         avar({{"enabled", "0"}}, {{"address", ""}})},
        {"off without a secondary sensor", avar({{"enabled", "0"}}, {}, false), {},
         avar({{"enabled", "0"}}, {}, false)},
        {"an attribute the sensor lacks", avar({}, {}, true, {"ignoreSSLErrors"}), {},
         avar({}, {}, true, {"ignoreSSLErrors"})},
        // Shown within the controls' ranges, sent back as read until changed.
        {"out of range, untouched", avar({{"timeout_ms", "12345678"}}, {{"port", "0"}}), {},
         avar({{"timeout_ms", "12345678"}}, {{"port", "0"}})},
        {"out of range, then changed", avar({{"timeout_ms", "12345678"}}, {{"port", "0"}}),
         [](QDialog &d) {
             child<QSpinBox>(d, "spinAVARTimeout")->setValue(2000);
             child<QSpinBox>(d, "spinAVARSecondSensorPort")->setValue(443);
         },
         avar({{"timeout_ms", "2000"}}, {{"port", "443"}})},
    };
    for (const SendCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("1:anpravar", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "AVAR");
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sent(c.expected));
    }
}

TEST_F(SettingsTest, AvarShowsWhatTheSensorHas)
{
    ASSERT_NO_FATAL_FAILURE(
        start(configWith(avar({{"timeout_ms", "12345678"}}, {{"port", "0"}}, true, {"ignoreSSLErrors"}))));
    open("1:anpravar", [](QDialog &dialog) {
        EXPECT_TRUE(child<QGroupBox>(dialog, "groupAVAR")->isChecked());
        EXPECT_EQ(child<QSpinBox>(dialog, "spinAVARTimeout")->value(), 9999999);
        EXPECT_EQ(child<QSpinBox>(dialog, "spinAVARSecondSensorPort")->value(), 1);
        EXPECT_EQ(child<QLineEdit>(dialog, "edtAVARSecondSensorAddress")->text(), "10.0.0.2");
        EXPECT_TRUE(child<QCheckBox>(dialog, "checkAVARSecondSensorSSL")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(dialog, "checkAVARSecondSensorIgnoreSSLErrors")->isEnabled());
        EXPECT_TRUE(child<QCheckBox>(dialog, "checkAVARSecondSensorSSL")->isEnabled());
        dialog.reject();
    });
    ASSERT_NO_FATAL_FAILURE(start(configWith(avar({{"enabled", "0"}}, {}, false))));
    open("1:anpravar", [](QDialog &dialog) {
        EXPECT_FALSE(child<QGroupBox>(dialog, "groupAVARSecondSensor")->isEnabled());
        EXPECT_TRUE(child<QLineEdit>(dialog, "edtAVARSecondSensorAddress")->text().isEmpty());
        dialog.reject();
    });
}

struct RefusalCase
{
    const char *name;
    Element configured;
    Edit edit;
};

TEST_F(SettingsTest, AvarOnWithoutAnAddressIsRefusedAndSendsNothing)
{
    const RefusalCase cases[] = {
        {"address emptied", avar(), [](QDialog &d) { typeAddress(d, ""); }},
        {"a blank is no address", avar(), [](QDialog &d) { typeAddress(d, "  "); }},
        {"switched on with an empty address", avar({{"enabled", "0"}}, {{"address", ""}}),
         [](QDialog &d) { switchAvar(d, true); }},
        {"no secondary sensor", avar({}, {}, false), {}},
    };
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("1:anpravar", [&](QDialog &dialog) {
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].kind, "QMessageBox");
        EXPECT_EQ(seen[1].title, "AVAR");
        EXPECT_EQ(seen[1].text, "AVAR is enabled but secondary sensor address is not set.");
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

// An ANPR module without AVAR, or no ANPR module: the note, OK disabled, nothing sent.
TEST_F(SettingsTest, AvarTheSensorLacksLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {Element("anpr")})})));
    for (const char *tag : {"1:anpravar", "0:anpravar"}) {
        SCOPED_TRACE(tag);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(QString::fromLatin1(tag), [](QDialog &dialog) {
            EXPECT_FALSE(shown(child<QGroupBox>(dialog, "groupAVAR")));
            EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
            EXPECT_FALSE(okButton(dialog)->isEnabled());
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(SettingsTest, AvarPicture)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(avar())));
    open("1:anpravar", [](QDialog &dialog) {
        keepPicture(dialog, "settings-avar");
        dialog.reject();
    });
}

} // namespace
