// The dangerous-goods panel reading settings dialog: the rows of settings the sensor lacks are
// hidden and left out, and a value the schema does not list is not sent.
#include "SettingsTestSupport.h"

#include <QCheckBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kReading = {{"direction", "approaching"},
                             {"installation", "left"},
                             {"emptyPlatesDetection", "0"},
                             {"emptyPlatesDetectionRatio", "high"},
                             {"recognitionStorage", "1"}};

Element reading(Attributes changes = {}, std::initializer_list<const char *> removed = {})
{
    Element dgpr = element("dgpr", kReading);
    for (const auto &[key, value] : changes)
        dgpr.set(key, value);
    for (const char *name : removed)
        std::erase_if(dgpr.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return dgpr;
}

Element configWith(const Element &dgpr)
{
    return configWithCameras({camera("0", {dgpr})});
}

Element sent(const Element &dgpr)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera("0", {dgpr}))));
}

struct RowCase
{
    const char *name;
    Element dgpr;
    std::vector<const char *> hidden;
    Element expected;
};

TEST_F(SettingsTest, PanelRowsTheSensorLacksAreHiddenAndNotSent)
{
    const RowCase cases[] = {
        {"no ratio", reading({}, {"emptyPlatesDetectionRatio"}), {"labelDetectionRatio", "comboDetectionRatio"},
         reading({}, {"emptyPlatesDetectionRatio"})},
        {"no installation", reading({}, {"installation"}), {"labelInstallation", "comboInstallation"},
         reading({}, {"installation"})},
        {"no empty panels, no storage", reading({}, {"emptyPlatesDetection", "recognitionStorage"}),
         {"checkDuplicateFilter", "checkRecognitionStorage"}, reading({}, {"emptyPlatesDetection", "recognitionStorage"})},
        {"installation unknown to the schema", reading({{"installation", "underground"}}), {},
         reading({}, {"installation"})},
    };
    for (const RowCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.dgpr)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:dgpr", [&](QDialog &dialog) {
            for (const char *name : c.hidden)
                EXPECT_FALSE(shown(child<QWidget>(dialog, name))) << name;
            EXPECT_TRUE(shown(child<QWidget>(dialog, "comboDirection")));
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sent(c.expected));
    }
}

TEST_F(SettingsTest, PanelEditsAreSentInTheirOrder)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(reading())));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = openAndOk("0:dgpr", [](QDialog &dialog) {
        EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboInstallation"), "overhead"));
        EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "comboDetectionRatio"), "low"));
        child<QCheckBox>(dialog, "checkDuplicateFilter")->setChecked(true);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    expectRequest(mark, sent(reading({{"installation", "overhead"},
                                      {"emptyPlatesDetection", "1"},
                                      {"emptyPlatesDetectionRatio", "low"}})));
}

TEST_F(SettingsTest, PanelPictureWithHiddenRows)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(reading({}, {"installation", "emptyPlatesDetectionRatio"}))));
    open("0:dgpr", [](QDialog &dialog) {
        keepPicture(dialog, "settings-dgpr-hidden-rows");
        dialog.reject();
    });
}

} // namespace
