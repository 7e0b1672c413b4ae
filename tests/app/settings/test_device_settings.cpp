// The device and database dialogs: the trimmed name refused when blank, the distances and the
// database's controls sent only as the sensor gave them or the operator set them.
#include "ConfigSections.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kDevice = {{"name", "Gate 4"},
                            {"installationHeight_cm", "450"},
                            {"distanceToDetectionLoop_cm", "1200"},
                            {"distanceToBarrier_cm", "300"}};
const Attributes kDatabase = {{"enabled", "1"}, {"openForAll", "0"}, {"matchTolerance", "2"}};

struct DialogCase
{
    const char *name;
    Element section;
    Edit edit;
    std::vector<const char *> disabled;
    Element expected;
};

class SensorWideSettingsTest : public SettingsTest
{
protected:
    void run(const char *tag, const DialogCase &c)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.section.name.c_str(), c.section)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(tag, [&](QDialog &dialog) {
            for (const char *name : c.disabled)
                EXPECT_FALSE(child<QWidget>(dialog, name)->isEnabled()) << name;
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sectionRequest(c.expected));
    }
};

TEST_F(SensorWideSettingsTest, DeviceSendsTheTrimmedNameAndOnlyTheDistancesItRead)
{
    const Element device = element("device", kDevice);
    const DialogCase cases[] = {
        {"untouched", device, {}, {}, device},
        {"renamed with spaces around", device,
         [](QDialog &dialog) { child<QLineEdit>(dialog, "txtName")->setText("  North gate  "); }, {},
         Element(device).set("name", "North gate")},
        {"no distance to the barrier", without(device, {"distanceToBarrier_cm"}),
         [](QDialog &dialog) { child<QSpinBox>(dialog, "spinInstallationHeight")->setValue(500); },
         {"spinDistanceToBarrier", "labelDistanceToBarrier"},
         without(Element(device).set("installationHeight_cm", "500"), {"distanceToBarrier_cm"})},
        {"no distances", without(device, {"installationHeight_cm", "distanceToDetectionLoop_cm", "distanceToBarrier_cm"}),
         {}, {"spinInstallationHeight", "spinDistanceToDetectionLoop", "spinDistanceToBarrier"},
         element("device", {{"name", "Gate 4"}})},
        {"a height beyond the box, untouched", Element(device).set("installationHeight_cm", "12345678"), {}, {},
         Element(device).set("installationHeight_cm", "12345678")},
    };
    for (const DialogCase &c : cases)
        run("device", c);
}

TEST_F(SensorWideSettingsTest, ABlankNameIsRefusedBeforeAnythingIsSent)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith("device", element("device", kDevice))));
    for (const char *name : {"", "   "}) {
        SCOPED_TRACE(testing::Message() << '"' << name << '"');
        const fybsim::FybSensor::Mark mark = server.mark();
        bool stayedOpen = false;
        const int result = open("device", [&](QDialog &dialog) {
            child<QLineEdit>(dialog, "txtName")->setText(name);
            okButton(dialog)->click();
            stayedOpen = dialog.result() == 0;
            dialog.reject();
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].kind, "QMessageBox");
        EXPECT_EQ(seen[1].title, "Error");
        EXPECT_EQ(seen[1].text, "Name cannot be empty");
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(SensorWideSettingsTest, DatabaseSendsItsSwitchAndWhatTheSwitchLeavesUsable)
{
    const Element database = element("database", kDatabase);
    const DialogCase cases[] = {
        {"untouched", database, {}, {}, database},
        {"edited", database,
         [](QDialog &dialog) {
             child<QCheckBox>(dialog, "checkOpenForAll")->setChecked(true);
             child<QSpinBox>(dialog, "spinTolerance")->setValue(5);
         },
         {}, element("database", {{"enabled", "1"}, {"openForAll", "1"}, {"matchTolerance", "5"}})},
        {"switched off", database, [](QDialog &dialog) { child<QGroupBox>(dialog, "groupEnable")->setChecked(false); },
         {}, element("database", {{"enabled", "0"}})},
        {"read switched off", Element(database).set("enabled", "0"), {}, {"checkOpenForAll", "spinTolerance"},
         element("database", {{"enabled", "0"}})},
        {"switched on again", Element(database).set("enabled", "0"),
         [](QDialog &dialog) { child<QGroupBox>(dialog, "groupEnable")->setChecked(true); }, {}, database},
        {"no open for all", without(database, {"openForAll"}), {}, {"checkOpenForAll"},
         without(database, {"openForAll"})},
        {"no switch", without(database, {"enabled"}), {}, {"groupEnable", "checkOpenForAll", "spinTolerance"},
         element("database", {})},
        {"a tolerance above 6, untouched", Element(database).set("matchTolerance", "9"),
         [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinTolerance")->value(), 6); }, {},
         Element(database).set("matchTolerance", "9")},
    };
    for (const DialogCase &c : cases)
        run("database", c);
}

// The schema's bounds where it gives them, the form's elsewhere.
TEST_F(SensorWideSettingsTest, SpinBoxesTakeTheBoundsTheSchemaGives)
{
    struct Case
    {
        const char *tag;
        const char *spin;
        int min;
        int max;
    };
    const Case cases[] = {
        {"device", "spinInstallationHeight", 0, 100000},
        {"device", "spinDistanceToDetectionLoop", 0, 9999999},
        {"device", "spinDistanceToBarrier", 0, 9999999},
        {"database", "spinTolerance", 0, 6},
    };
    ASSERT_NO_FATAL_FAILURE(start(configWith("database", element("database", kDatabase))));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.spin);
        open(c.tag, [&](QDialog &dialog) {
            EXPECT_EQ(child<QSpinBox>(dialog, c.spin)->minimum(), c.min);
            EXPECT_EQ(child<QSpinBox>(dialog, c.spin)->maximum(), c.max);
            dialog.reject();
        });
    }
}

TEST_F(SensorWideSettingsTest, DevicePicture)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith("device", element("device", kDevice))));
    open("device", [](QDialog &dialog) {
        keepPicture(dialog, "settings-device");
        dialog.reject();
    });
}

TEST_F(SensorWideSettingsTest, DatabasePicture)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith("database", element("database", kDatabase))));
    open("database", [](QDialog &dialog) {
        keepPicture(dialog, "settings-database");
        dialog.reject();
    });
}

} // namespace
