// The speed dialog: the layout follows what the camera's configuration has, the three-value
// layout picks the usable pair and sends the other values as 0, the mounting groups carry the
// sensor's own values whichever is shown, and angles go with a decimal point under any locale.
#include "ConfigSections.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace
{

using namespace settingstest;
using fybsim::Element;

const char *const kLayouts[] = {"widgetKGV", "widgetFYB", "widgetV2"};

Element speed(Attributes attributes, std::initializer_list<Element> children = {})
{
    Element made = element("speed", attributes);
    for (const Element &child : children)
        made.add(child);
    return made;
}

Element configWithSpeed(const Element &feature)
{
    return configWithCameras({camera("0", {feature}), camera("1", {})});
}

Element speedRequest(const Element &sent)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera("0", {sent}))));
}

struct LayoutCase {
    const char *name;
    Element configured;
    const char *layout;
    int parameters;                    // the three-value layout's item, -1 elsewhere
    std::vector<const char *> enabled; // of the three-value boxes
    Edit edit;
    Element expected;
};

TEST_F(SettingsTest, SpeedSendsTheLayoutTheSensorUses)
{
    const Element gantry = element("gantry", {{"installationHeight_cm", "550"}, {"installationAngle_degrees", "15.5"}});
    const Element lateral = element("lateral", {{"fieldOfViewX_cm", "300"}, {"fieldOfViewY_cm", "200"}});
    const LayoutCase cases[] = {
        {"field of view only",
         speed({{"fieldOfView_cm", "1200"}}),
         "widgetKGV",
         -1,
         {},
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinFieldOfView")->value(), 1200); },
         speed({{"fieldOfView_cm", "1200"}})},
        {"field of view edited",
         speed({{"fieldOfView_cm", "1200"}}),
         "widgetKGV",
         -1,
         {},
         [](QDialog &dialog) { child<QSpinBox>(dialog, "spinFieldOfView")->setValue(1500); },
         speed({{"fieldOfView_cm", "1500"}})},
        {"height and angle",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "900"}}),
         "widgetV2",
         0,
         {"spinHeightv2", "spinAnglev2"},
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinFieldOfViewv2")->value(), 0); },
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "0"}})},
        {"height and field of view",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "0"}, {"fieldOfViewY_cm", "900"}}),
         "widgetV2",
         1,
         {"spinHeightv2", "spinFieldOfViewv2"},
         {},
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "0"}, {"fieldOfViewY_cm", "900"}})},
        {"angle and field of view",
         speed({{"installationHeight_cm", "0"}, {"installationAngle_degrees", "12.5"}, {"fieldOfView_cm", "800"}}),
         "widgetV2",
         2,
         {"spinAnglev2", "spinFieldOfViewv2"},
         {},
         speed({{"installationHeight_cm", "0"}, {"installationAngle_degrees", "12.5"}, {"fieldOfView_cm", "800"}})},
        {"field of view only, no angle",
         speed({{"installationHeight_cm", "0"}, {"fieldOfViewY_cm", "900"}}),
         "widgetV2",
         3,
         {"spinFieldOfViewv2"},
         {},
         speed({{"installationHeight_cm", "0"}, {"fieldOfViewY_cm", "900"}})},
        {"both fields of view: the box shows and sends the later",
         speed({{"installationHeight_cm", "600"}, {"fieldOfViewY_cm", "900"}, {"fieldOfView_cm", "1000"}}),
         "widgetV2",
         1,
         {"spinHeightv2", "spinFieldOfViewv2"},
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinFieldOfViewv2")->value(), 1000); },
         speed({{"installationHeight_cm", "600"}, {"fieldOfViewY_cm", "1000"}, {"fieldOfView_cm", "1000"}})},
        {"both fields of view unused go as 0",
         speed({{"installationHeight_cm", "600"},
                {"installationAngle_degrees", "20.0"},
                {"fieldOfViewY_cm", "900"},
                {"fieldOfView_cm", "1000"}}),
         "widgetV2",
         0,
         {"spinHeightv2", "spinAnglev2"},
         {},
         speed({{"installationHeight_cm", "600"},
                {"installationAngle_degrees", "20.0"},
                {"fieldOfViewY_cm", "0"},
                {"fieldOfView_cm", "0"}})},
        {"another pair chosen",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "900"}}),
         "widgetV2",
         0,
         {"spinHeightv2", "spinAnglev2"},
         [](QDialog &dialog) {
             child<QComboBox>(dialog, "cboParameters")->setCurrentIndex(2);
             EXPECT_FALSE(child<QSpinBox>(dialog, "spinHeightv2")->isEnabled());
             child<QSpinBox>(dialog, "spinFieldOfViewv2")->setValue(700);
         },
         speed({{"installationHeight_cm", "0"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "700"}})},
        {"height and field of view chosen: the angle goes as 0",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "900"}}),
         "widgetV2",
         0,
         {"spinHeightv2", "spinAnglev2"},
         [](QDialog &dialog) {
             child<QComboBox>(dialog, "cboParameters")->setCurrentIndex(1);
             EXPECT_FALSE(child<QDoubleSpinBox>(dialog, "spinAnglev2")->isEnabled());
             child<QSpinBox>(dialog, "spinFieldOfViewv2")->setValue(800);
         },
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "0"}, {"fieldOfViewY_cm", "800"}})},
        {"an angle finer than the box, untouched",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.55"}}),
         "widgetV2",
         0,
         {"spinHeightv2", "spinAnglev2"},
         {},
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.55"}})},
        {"an angle edited",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.55"}}),
         "widgetV2",
         0,
         {"spinHeightv2", "spinAnglev2"},
         [](QDialog &dialog) { child<QDoubleSpinBox>(dialog, "spinAnglev2")->setValue(30.24); },
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "30.2"}})},
        {"gantry",
         speed({{"installationContext", "gantry"}}, {gantry, lateral}),
         "widgetFYB",
         -1,
         {},
         [](QDialog &dialog) {
             EXPECT_TRUE(shown(child<QWidget>(dialog, "widgetGantry")));
             EXPECT_FALSE(shown(child<QWidget>(dialog, "widgetLateral")));
             EXPECT_EQ(child<QSpinBox>(dialog, "spinHeight")->value(), 550);
         },
         speed({{"installationContext", "gantry"}}, {gantry})},
        {"gantry switched to lateral shows and sends the sensor's lateral values",
         speed({{"installationContext", "gantry"}}, {gantry, lateral}),
         "widgetFYB",
         -1,
         {},
         [](QDialog &dialog) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "cboInstallationContext"), "lateral"));
             EXPECT_FALSE(shown(child<QWidget>(dialog, "widgetGantry")));
             EXPECT_TRUE(shown(child<QWidget>(dialog, "widgetLateral")));
             EXPECT_EQ(child<QSpinBox>(dialog, "spinFieldOfViewX")->value(), 300);
             EXPECT_EQ(child<QSpinBox>(dialog, "spinFieldOfViewY")->value(), 200);
         },
         speed({{"installationContext", "lateral"}}, {lateral})},
        {"lateral switched to gantry the sensor lacks",
         speed({{"installationContext", "lateral"}}, {lateral}),
         "widgetFYB",
         -1,
         {},
         [](QDialog &dialog) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "cboInstallationContext"), "gantry"));
             EXPECT_FALSE(child<QSpinBox>(dialog, "spinHeight")->isEnabled());
             EXPECT_FALSE(child<QDoubleSpinBox>(dialog, "spinAngle")->isEnabled());
         },
         speed({{"installationContext", "gantry"}}, {Element("gantry")})},
        {"gantry without its angle",
         speed({{"installationContext", "GANTRY"}}, {element("gantry", {{"installationHeight_cm", "550"}})}),
         "widgetFYB",
         -1,
         {},
         [](QDialog &dialog) {
             EXPECT_TRUE(shown(child<QWidget>(dialog, "widgetGantry")));
             EXPECT_FALSE(child<QDoubleSpinBox>(dialog, "spinAngle")->isEnabled());
             child<QSpinBox>(dialog, "spinHeight")->setValue(560);
             EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "cboInstallationContext"), "gantry"));
         },
         speed({{"installationContext", "gantry"}}, {element("gantry", {{"installationHeight_cm", "560"}})})},
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithSpeed(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:speed", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Speed");
            for (const char *layout : kLayouts)
                EXPECT_EQ(shown(child<QWidget>(dialog, layout)), QByteArray(layout) == c.layout) << layout;
            if (c.parameters >= 0) {
                EXPECT_EQ(child<QComboBox>(dialog, "cboParameters")->currentIndex(), c.parameters);
                for (const char *box : {"spinHeightv2", "spinAnglev2", "spinFieldOfViewv2"})
                    EXPECT_EQ(child<QWidget>(dialog, box)->isEnabled(),
                              std::find_if(c.enabled.begin(), c.enabled.end(),
                                           [box](const char *name) { return QByteArray(name) == box; })
                                  != c.enabled.end())
                        << box;
            }
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, speedRequest(c.expected));
    }
}

struct ZeroCase {
    const char *name;
    Element configured;
    Edit edit;
    const char *message;
};

TEST_F(SettingsTest, SpeedRefusesAZeroInThePairInUse)
{
    const ZeroCase cases[] = {
        {"all zero: the height first",
         speed({{"installationHeight_cm", "0"}, {"installationAngle_degrees", "0"}, {"fieldOfViewY_cm", "0"}}),
         {},
         "Installation height cannot be set to 0"},
        {"height and angle chosen with the angle at 0",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "0"}, {"fieldOfViewY_cm", "900"}}),
         [](QDialog &dialog) { child<QComboBox>(dialog, "cboParameters")->setCurrentIndex(0); },
         "Installation angle cannot be set to 0"},
        {"field of view chosen after its reset",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "900"}}),
         [](QDialog &dialog) { child<QComboBox>(dialog, "cboParameters")->setCurrentIndex(3); },
         "Field of view cannot be set to 0"},
        {"height edited to 0", speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}}),
         [](QDialog &dialog) { child<QSpinBox>(dialog, "spinHeightv2")->setValue(0); },
         "Installation height cannot be set to 0"},
    };
    for (const ZeroCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithSpeed(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        std::vector<SeenDialog> boxes;
        const int result = open("0:speed", [&](QDialog &dialog) {
            if (c.edit)
                c.edit(dialog);
            const std::size_t before = seen.size();
            okButton(dialog)->click();
            boxes.assign(seen.begin() + qsizetype(before), seen.end());
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            dialog.reject();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Error");
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

// Under a decimal comma the boxes show one, and the sensor still reads a point.
TEST_F(SettingsTest, SpeedSendsAnglesWithADecimalPointUnderAnyLocale)
{
    struct LocaleCase {
        const char *name;
        Element configured;
        const char *box;
        Element expected;
    };
    const LocaleCase cases[] = {
        {"three values", speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "10.5"}}),
         "spinAnglev2", speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "12.5"}})},
        {"gantry",
         speed({{"installationContext", "gantry"}}, {element("gantry", {{"installationAngle_degrees", "10.5"}})}),
         "spinAngle",
         speed({{"installationContext", "gantry"}}, {element("gantry", {{"installationAngle_degrees", "12.5"}})})},
    };
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    for (const LocaleCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithSpeed(c.configured)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:speed", [&](QDialog &dialog) {
            auto *angle = child<QDoubleSpinBox>(dialog, c.box);
            EXPECT_EQ(angle->value(), 10.5);
            angle->setValue(12.5);
            EXPECT_EQ(angle->text(), "12,5 °");
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, speedRequest(c.expected));
    }
    QLocale::setDefault(previous);
}

TEST_F(SettingsTest, SpeedWithoutItsElementLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithSpeed(Element("enslavement"))));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = openAndOk("0:speed", [](QDialog &dialog) {
        EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
        EXPECT_FALSE(okButton(dialog)->isEnabled());
        EXPECT_FALSE(child<QSpinBox>(dialog, "spinFieldOfView")->isEnabled());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(requestsSince(mark).empty());
}

TEST_F(SettingsTest, SpeedAndMasterSlaveCloseOnlyOnTheSensorsSuccess)
{
    using fybsim::Reply;
    struct Case
    {
        const char *name;
        Reply reply;
        int result;
        QStringList boxes; // title and text of each box shown
    };
    const Case cases[] = {
        {"ok", Reply::ok(), QDialog::Accepted, {}},
        {"failed", Reply::failed("refused"), QDialog::Rejected, {"Configuration", "Error : action failed"}},
        {"warning", Reply::warning({{"ignored", "config/slaves", "x.c:1"}}), QDialog::Accepted,
         {"Configuration", "Warning : some parts of the message have failed"}},
    };
    for (const Case &c : cases) {
        for (const char *tag : {"slaves", "0:speed"}) {
            SCOPED_TRACE(testing::Message() << c.name << ' ' << tag);
            ASSERT_NO_FATAL_FAILURE(start(configWithSpeed(speed({{"fieldOfView_cm", "1200"}}))));
            server.setReply("setConfig", c.reply);
            const fybsim::FybSensor::Mark mark = server.mark();
            const int result = open(tag, [&](QDialog &dialog) {
                okButton(dialog)->click();
                if (dialog.result() != QDialog::Accepted)
                    dialog.reject();
            });
            EXPECT_EQ(result, c.result);
            EXPECT_EQ(requestsSince(mark).size(), 1u);
            QStringList boxes;
            for (std::size_t i = 1; i < seen.size(); ++i)
                boxes << seen[i].title << seen[i].text;
            EXPECT_EQ(boxes, c.boxes);
        }
    }
}

TEST_F(SettingsTest, SpeedPictureOfEachLayout)
{
    const std::pair<const char *, Element> layouts[] = {
        {"settings-speed-field-of-view", speed({{"fieldOfView_cm", "1200"}})},
        {"settings-speed-installation-context",
         speed({{"installationContext", "gantry"}},
               {element("gantry", {{"installationHeight_cm", "550"}, {"installationAngle_degrees", "15.5"}})})},
        {"settings-speed-three-values",
         speed({{"installationHeight_cm", "600"}, {"installationAngle_degrees", "22.5"}, {"fieldOfViewY_cm", "900"}})},
    };
    for (const auto &[picture, configured] : layouts) {
        SCOPED_TRACE(picture);
        ASSERT_NO_FATAL_FAILURE(start(configWithSpeed(configured)));
        open("0:speed", [picture](QDialog &dialog) {
            keepPicture(dialog, picture);
            dialog.reject();
        });
    }
}

} // namespace
