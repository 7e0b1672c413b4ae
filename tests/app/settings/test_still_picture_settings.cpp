// The still picture dialog: what it sends for each configuration and change, the plate cropping
// under its labels, and the refusal to open while the fingerprint algorithm runs.
#include "SettingsTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace settingstest;
using fybsim::Element;

Element still(Attributes changes = {}, std::initializer_list<const char *> removed = {})
{
    Element made = element("stillPicture", {{"enabled", "1"}, {"size", "1280x720"}, {"quality", "80"},
                                            {"plateCropped", "cif"}});
    for (const auto &[key, value] : changes)
        made.set(key, value);
    for (const char *name : removed)
        std::erase_if(made.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return made;
}

Element requestOf(const Element &feature)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera("1", {feature}))));
}

struct StillCase
{
    const char *name;
    Element configured;
    std::function<void(QDialog &)> edit;
    Element sent;
};

TEST_F(SettingsTest, StillPictureSendsWhatWasReadOrChanged)
{
    const StillCase cases[] = {
        {"untouched", still(), nullptr, still()},
        {"changed",
         still(),
         [](QDialog &d) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "cboSize"), "640x480"));
             child<QSpinBox>(d, "spinQuality")->setValue(50);
             auto *cropped = child<QComboBox>(d, "cboPlateCropped");
             cropped->setCurrentIndex(cropped->findData("none"));
         },
         still({{"size", "640x480"}, {"quality", "50"}, {"plateCropped", "none"}})},
        {"switched off: the switch alone", still(),
         [](QDialog &d) { child<QGroupBox>(d, "groupStill")->setChecked(false); }, element("stillPicture", {{"enabled", "0"}})},
        {"switched on", still({{"enabled", "0"}}), [](QDialog &d) { child<QGroupBox>(d, "groupStill")->setChecked(true); },
         still()},
        {"no quality", still({}, {"quality"}),
         [](QDialog &d) { EXPECT_FALSE(child<QSpinBox>(d, "spinQuality")->isEnabled()); }, still({}, {"quality"})},
        {"quality out of range kept", still({{"quality", "3"}}),
         [](QDialog &d) { EXPECT_EQ(child<QSpinBox>(d, "spinQuality")->value(), 10); }, still({{"quality", "3"}})},
        // Neither a cropping nor a size the sensor does not give is sent.
        {"a cropping the schema lacks", still({{"plateCropped", "quarter"}}),
         [](QDialog &d) { EXPECT_EQ(child<QComboBox>(d, "cboPlateCropped")->currentIndex(), -1); },
         still({}, {"plateCropped"})},
        {"no cropping", still({}, {"plateCropped"}),
         [](QDialog &d) { EXPECT_FALSE(child<QComboBox>(d, "cboPlateCropped")->isEnabled()); },
         still({}, {"plateCropped"})},
        {"no size", still({}, {"size"}),
         [](QDialog &d) { EXPECT_FALSE(usable(child<WidgetComboDoc>(d, "cboSize"))); }, still({}, {"size"})},
        {"no switch", still({}, {"enabled"}),
         [](QDialog &d) {
             auto *group = child<QGroupBox>(d, "groupStill");
             EXPECT_FALSE(group->isCheckable());
             EXPECT_EQ(group->title(), "Still picture");
         },
         still({}, {"enabled"})},
    };
    for (const StillCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {c.configured})})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("1:stillPicture", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Still picture");
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, requestOf(c.sent));
    }
}

TEST_F(SettingsTest, StillPictureCroppingsCarryTheirLabels)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("1", {still()})})));
    open("1:stillPicture", [](QDialog &dialog) {
        auto *cropped = child<QComboBox>(dialog, "cboPlateCropped");
        QStringList labels;
        QStringList values;
        for (int i = 0; i < cropped->count(); ++i) {
            labels << cropped->itemText(i);
            values << cropped->itemData(i).toString();
        }
        EXPECT_EQ(labels, QStringList({"Full", "No image", "CIF (352x288)", "Smallest", "half"}));
        EXPECT_EQ(values, QStringList({"full", "none", "cif", "smallest", "half"}));
        EXPECT_EQ(cropped->currentData().toString(), "cif");
        keepPicture(dialog, "settings-still-picture");
        dialog.reject();
    });
}

// A schema that lists no sizes or croppings leaves nothing to choose: those rows are hidden and
// not sent.
TEST_F(SettingsTest, StillPictureWithoutListsInTheSchemaHidesThoseRows)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("1", {still()})})));
    QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/settings-dialogs.xsd"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString schema = QString::fromUtf8(file.readAll());
    const QRegularExpression lists(
        R"re(<xs:attribute name="(plateCropped|size)"><xs:simpleType><xs:restriction base="xs:string">)re"
        R"re(<xs:enumeration value="(full|1920x1080)"/>(?:(?!</xs:attribute>).)*)re"
        R"re(<xs:enumeration value="(half|640x480)"/></xs:restriction></xs:simpleType></xs:attribute>)re");
    ASSERT_EQ(schema.count(lists), 2);
    schema.replace(lists, R"(<xs:attribute name="\1" type="xs:string"/>)");
    const QByteArray bytes = schema.toUtf8();
    ASSERT_TRUE(model()->schemaDoc().load(bytes.constData(), int(bytes.size())));
    const fybsim::FybSensor::Mark mark = server.mark();
    openAndOk("1:stillPicture", [](QDialog &dialog) {
        for (const char *name : {"cboSize", "labelImageSize", "cboPlateCropped", "labelPlateCropped"})
            EXPECT_FALSE(shown(child<QWidget>(dialog, name))) << name;
        EXPECT_FALSE(usable(child<WidgetComboDoc>(dialog, "cboSize")));
    });
    expectRequest(mark, requestOf(still({}, {"size", "plateCropped"})));
}

// Refused before it shows, whatever the configuration holds: one warning, no request.
TEST_F(SettingsTest, StillPictureRefusesToOpenWhileTheFingerprintRuns)
{
    ASSERT_NO_FATAL_FAILURE(
        start(configWithCameras({camera("0", {still()})}), infosWithAlgorithms({"anpr", "plateFingerprint"})));
    const fybsim::FybSensor::Mark mark = server.mark();
    seen.clear();
    dispatcher.dispatch("0:stillPicture");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, "QMessageBox");
    EXPECT_EQ(seen[0].title, "Still picture");
    EXPECT_EQ(seen[0].text, "'Still picture' cannot be changed when the plateFingerprint algorithm is activated");
    EXPECT_TRUE(requestsSince(mark).empty());

    // Another name, or the same in another case, is no fingerprint.
    ASSERT_NO_FATAL_FAILURE(
        start(configWithCameras({camera("0", {still()})}), infosWithAlgorithms({"anpr", "platefingerprint"})));
    EXPECT_EQ(open("0:stillPicture", [](QDialog &dialog) { dialog.reject(); }), QDialog::Rejected);
    EXPECT_EQ(seen.size(), 1u);
}

} // namespace
