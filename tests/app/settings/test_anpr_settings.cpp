// The plate reading settings dialog: the context as sent and its refusals, the refusals of
// counting in their order, repeated decisions, the contexts chooser, the counting rule and the
// settings a sensor lacks.
#include "SettingsTestSupport.h"

#include "DialogANPRSettings.h"
#include "DialogContext6.h"
#include "DialogDoc.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kReading = {
    {"context", "F>OTHERS"},      {"direction", "approaching"}, {"platePosition", "rear"},
    {"duplicateFilter", "1"},     {"squarePlates", "0"},        {"reemitDecision", "1"},
    {"reemitDecisionTimeout", "2000"}, {"trailerPlates", "0"},  {"multiPlate", "1"},
    {"counting", "0"},            {"vehicleDetection", "0"},    {"recognitionStorage", "1"},
};

// The reading of the base configuration with some values changed and some attributes taken out.
Element reading(Attributes changes = {}, std::initializer_list<const char *> removed = {})
{
    Element anpr = element("anpr", kReading);
    for (const auto &[key, value] : changes)
        anpr.set(key, value);
    for (const char *name : removed)
        std::erase_if(anpr.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return anpr;
}

Element configWith(const Element &anpr, std::initializer_list<Element> more = {})
{
    Element first = camera("0", {anpr});
    for (const Element &feature : more)
        first.add(feature);
    return configWithCameras({first, camera("1", {})});
}

Element sent(const Element &anpr)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera("0", {anpr}))));
}

Element freeFlow(const char *enabled, const char *mode)
{
    return element("enslavement", {{"enabled", enabled}, {"mode", mode}});
}

class AnprSettingsTest : public SettingsTest
{
protected:
    static QLineEdit *context(QDialog &dialog) { return child<QLineEdit>(dialog, "txtContext"); }
    static QCheckBox *check(QDialog &dialog, const char *name) { return child<QCheckBox>(dialog, name); }
};

struct ContextCase
{
    const char *name;
    QString typed;
    QString sent;     // empty when refused
    QString refusal;
};

TEST_F(AnprSettingsTest, ContextIsSentWithoutBlanksUpToSixtyThreeCharacters)
{
    const ContextCase cases[] = {
        {"blanks around and inside", " FR > OTHERS ", "FR>OTHERS", {}},
        {"63 characters", QString(63, 'F'), QString(63, 'F'), {}},
        {"64 characters", QString(64, 'F'), {}, "This context is too long."},
        {"64 characters once blanks are gone", QString(64, 'F') + "  ", {}, "This context is too long."},
        {"blanks only", "   ", {}, "This context is invalid."},
    };
    for (const ContextCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(reading())));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:anpr", [&](QDialog &dialog) { context(dialog)->setText(c.typed); });
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(result, QDialog::Accepted);
            expectRequest(mark, sent(reading({{"context", c.sent.toUtf8().constData()}})));
            continue;
        }
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].kind, "QMessageBox");
        EXPECT_EQ(seen[1].title, "ANPR");
        EXPECT_EQ(seen[1].text, c.refusal);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

// Counting refused with vehicle detection, then in free flow; the first refusal wins.
struct CountingCase
{
    const char *name;
    const char *context;
    const char *vehicleDetection;
    Element enslavement;
    QString refusal;  // empty when sent
    QString title;
};

TEST_F(AnprSettingsTest, RefusalsComeInTheirOrderAndSendNothing)
{
    const CountingCase cases[] = {
        {"empty context first", "", "1", freeFlow("1", "freeFlow"), "This context is invalid.", "ANPR"},
        {"exclusion before free flow", "F", "1", freeFlow("1", "freeFlow"),
         "Counting and VehicleDetection cannot be enabled at the same time", "Error"},
        {"free flow, any case", "F", "0", freeFlow("true", "FREEFLOW"), "Counting cannot be enabled in Free flow",
         "Error"},
        {"free flow switched off", "F", "0", freeFlow("0", "freeFlow"), {}, {}},
        {"another enslavement mode", "F", "0", freeFlow("1", "queue"), {}, {}},
    };
    for (const CountingCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Element anpr = reading({{"context", c.context}, {"vehicleDetection", c.vehicleDetection}});
        ASSERT_NO_FATAL_FAILURE(start(configWith(anpr, {c.enslavement})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:anpr", [](QDialog &dialog) { check(dialog, "checkCounting")->setChecked(true); });
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(result, QDialog::Accepted);
            expectRequest(mark, sent(reading({{"context", c.context}, {"counting", "1"}})));
            continue;
        }
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].title, c.title);
        EXPECT_EQ(seen[1].text, c.refusal);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(AnprSettingsTest, ARefusalKeepsTheEditsAndTheCorrectedOkSends)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(reading())));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = open("0:anpr", [&](QDialog &dialog) {
        context(dialog)->setText("D>OTHERS");
        check(dialog, "checkCounting")->setChecked(true);
        check(dialog, "checkVehicleDetection")->setChecked(true);
        check(dialog, "checkSquarePlates")->setChecked(true);
        okButton(dialog)->click();
        EXPECT_TRUE(requestsSince(mark).empty());
        EXPECT_EQ(context(dialog)->text(), "D>OTHERS");
        EXPECT_TRUE(check(dialog, "checkCounting")->isChecked());
        EXPECT_TRUE(check(dialog, "checkVehicleDetection")->isChecked());
        EXPECT_TRUE(check(dialog, "checkSquarePlates")->isChecked());
        check(dialog, "checkVehicleDetection")->setChecked(false);
        okButton(dialog)->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(kinds(), QStringList({"DialogANPRSettings", "QMessageBox"}));
    expectRequest(mark, sent(reading({{"context", "D>OTHERS"}, {"squarePlates", "1"}, {"counting", "1"}})));
}

// Repeated decisions: the timeout goes with the switch, 5000 while it is off, and only what the
// sensor has is shown and sent.
struct ReemitCase
{
    const char *name;
    std::vector<const char *> removed;
    bool checked;
    bool switchShown;
    bool timeoutShown;
    Element expected;
};

TEST_F(AnprSettingsTest, RepeatedDecisionsSendTheTimeoutOnlyWithTheSwitch)
{
    const ReemitCase cases[] = {
        {"checked", {}, true, true, true, reading({{"reemitDecisionTimeout", "750"}})},
        {"unchecked", {}, false, true, true, reading({{"reemitDecision", "0"}, {"reemitDecisionTimeout", "5000"}})},
        {"switch absent", {"reemitDecision"}, true, false, false, reading({}, {"reemitDecision", "reemitDecisionTimeout"})},
        {"timeout absent", {"reemitDecisionTimeout"}, true, true, false, reading({}, {"reemitDecisionTimeout"})},
    };
    for (const ReemitCase &c : cases) {
        SCOPED_TRACE(c.name);
        Element anpr = reading();
        for (const char *name : c.removed)
            std::erase_if(anpr.attributes, [name](const auto &attribute) { return attribute.first == name; });
        ASSERT_NO_FATAL_FAILURE(start(configWith(anpr)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:anpr", [&](QDialog &dialog) {
            auto *spin = child<QSpinBox>(dialog, "spinReemit");
            EXPECT_EQ(shown(check(dialog, "checkReemit")), c.switchShown);
            EXPECT_EQ(shown(spin), c.timeoutShown);
            spin->setValue(750);
            check(dialog, "checkReemit")->setChecked(c.checked);
            EXPECT_EQ(spin->isEnabled(), c.checked);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sent(c.expected));
    }
}

TEST_F(AnprSettingsTest, ChooserAnsweredThroughTheSeamGivesItsSentence)
{
    for (const bool accepted : {true, false}) {
        SCOPED_TRACE(accepted ? "accepted" : "cancelled");
        ASSERT_NO_FATAL_FAILURE(start(configWith(reading())));
        const fybsim::FybSensor::Mark mark = server.mark();
        QString handed;
        QString chosen;
        const int result = openAndOk("0:anpr", [&](QDialog &dialog) {
            answers.push_back([&](QDialog *chooser) {
                auto *contexts = static_cast<DialogContext6 *>(chooser);
                handed = contexts->sentence();
                contexts->setSentence("d>others");
                chosen = contexts->sentence();
                return int(accepted ? QDialog::Accepted : QDialog::Rejected);
            });
            child<QToolButton>(dialog, "btnEditContext")->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(kinds(), QStringList({"DialogANPRSettings", "DialogContext6"}));
        EXPECT_EQ(handed, "F>OTHERS");
        const QString expected = accepted ? chosen : QStringLiteral("F>OTHERS");
        expectRequest(mark, sent(reading({{"context", expected.toUtf8().constData()}})));
    }
}

// Counting is left alone when camera "0" counts without reading, whatever camera is edited.
struct CountingRuleCase
{
    const char *name;
    std::vector<const char *> algorithms;
    const char *cameraId;
    bool editable;
};

TEST_F(AnprSettingsTest, CountingIsNotEditedWhereTheMainCameraCountsWithoutReading)
{
    const CountingRuleCase cases[] = {
        {"counting alone", {"counting"}, "0", false},
        {"counting alone, other camera", {"counting", "dgpr"}, "1", false},
        {"counting and reading", {"counting", "anpr"}, "0", true},
        {"reading alone", {"anpr"}, "0", true},
    };
    for (const CountingRuleCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Element config = configWithCameras({camera("0", {reading()}), camera("1", {reading()})});
        ASSERT_NO_FATAL_FAILURE(start(config, infosWithAlgorithms(c.algorithms)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(QString::fromLatin1(c.cameraId) + ":anpr", [&](QDialog &dialog) {
            EXPECT_EQ(check(dialog, "checkCounting")->isEnabled(), c.editable);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        Element expected = c.editable ? reading() : reading({}, {"counting"});
        expectRequest(mark, Element("setConfig").add(Element("config").add(
                                Element("cameras").add(camera(c.cameraId, {expected})))));
    }
}

// Settings the sensor lacks, or values its schema does not list, are neither shown as usable nor
// sent; the rest goes back as read.
struct LackingCase
{
    const char *name;
    Element anpr;
    const char *hidden;  // a widget that must be hidden, or null
    Element expected;
};

TEST_F(AnprSettingsTest, LackingSettingsAreNotSent)
{
    const LackingCase cases[] = {
        {"plate position absent", reading({}, {"platePosition"}), "labelContextPosition",
         reading({}, {"platePosition"})},
        {"direction unknown to the schema", reading({{"direction", "sideways"}}), nullptr,
         reading({}, {"direction"})},
        {"no context: nothing to check", reading({}, {"context"}), nullptr, reading({}, {"context"})},
        {"no counting", reading({}, {"counting"}), nullptr, reading({}, {"counting"})},
    };
    for (const LackingCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWith(c.anpr)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("0:anpr", [&](QDialog &dialog) {
            if (c.hidden != nullptr) {
                EXPECT_FALSE(shown(child<QWidget>(dialog, c.hidden)));
                EXPECT_FALSE(shown(child<QWidget>(dialog, "comboContextPosition")));
            }
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, sent(c.expected));
    }
}

TEST_F(AnprSettingsTest, PictureWithItsDocumentation)
{
    ASSERT_NO_FATAL_FAILURE(start(configWith(reading())));
    open("0:anpr", [](QDialog &dialog) {
        auto *direction = child<WidgetComboDoc>(dialog, "comboDirection");
        if (auto *help = direction->findChild<QToolButton *>("btnDoc"))
            help->click();
        keepPicture(dialog, "settings-anpr");
        DialogDoc *doc = static_cast<DialogANPRSettings &>(dialog).documentationPanel();
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->isVisible());
        keepPicture(*doc, "settings-anpr-documentation");
        dialog.reject();
    });
}

} // namespace
