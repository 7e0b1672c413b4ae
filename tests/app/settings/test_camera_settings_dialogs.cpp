// What the camera feature dialogs share: an untouched dialog sends back what it read, a camera or
// feature the sensor lacks leaves nothing to send, and the sensor's answer is judged as the
// request path judges it.
#include "SettingsTestSupport.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using fybsim::Element;
using fybsim::Reply;

Element plateReading(Attributes changes = {})
{
    Element anpr = element("anpr", {{"context", "F>OTHERS"}, {"direction", "leaving"}, {"platePosition", "front"},
                                    {"duplicateFilter", "0"}, {"squarePlates", "1"}, {"reemitDecision", "1"},
                                    {"reemitDecisionTimeout", "1500"}, {"trailerPlates", "1"}, {"multiPlate", "0"},
                                    {"counting", "1"}, {"vehicleDetection", "0"}, {"recognitionStorage", "0"}});
    for (const auto &[key, value] : changes)
        anpr.set(key, value);
    return anpr;
}

Element panelReading()
{
    return element("dgpr", {{"direction", "both"}, {"installation", "overhead"}, {"emptyPlatesDetection", "1"},
                            {"emptyPlatesDetectionRatio", "medium"}, {"recognitionStorage", "0"}});
}

Element sent(const char *cameraId, const Element &feature)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera(cameraId, {feature}))));
}

struct UntouchedCase
{
    const char *name;
    const char *tag;
    Element feature;
};

TEST_F(SettingsTest, AnUntouchedDialogSendsBackExactlyWhatItRead)
{
    const UntouchedCase cases[] = {
        {"plates", "1:anpr", plateReading()},
        {"plates, timeout out of range", "1:anpr", plateReading({{"reemitDecisionTimeout", "5"}})},
        {"plates, timeout with a unit", "1:anpr", plateReading({{"reemitDecisionTimeout", "1500ms"}})},
        {"panels", "1:dgpr", panelReading()},
    };
    for (const UntouchedCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {c.feature})})));
        const fybsim::FybSensor::Mark mark = server.mark();
        EXPECT_EQ(openAndOk(QString::fromLatin1(c.tag)), QDialog::Accepted);
        expectRequest(mark, sent("1", c.feature));
    }
}

// A camera absent from the configuration, or one without the feature: a note, every control and
// OK disabled, nothing sent.
TEST_F(SettingsTest, SettingsTheSensorLacksLeaveNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {plateReading(), panelReading()})})));
    for (const char *tag : {"7:anpr", "0:anpr", "7:dgpr", "0:dgpr"}) {
        SCOPED_TRACE(tag);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(QString::fromLatin1(tag), [](QDialog &dialog) {
            auto *note = child<QLabel>(dialog, "labelMissingSettings");
            ASSERT_NE(note, nullptr);
            EXPECT_EQ(note->text(), "The sensor does not have these settings.");
            EXPECT_FALSE(okButton(dialog)->isEnabled());
            for (QWidget *control : dialog.findChildren<QWidget *>()) {
                const QString name = control->objectName();
                if (name.startsWith("check") || name.startsWith("combo") || name.startsWith("spin")) {
                    EXPECT_FALSE(usable(control) && control->isVisibleTo(&dialog)) << name.toStdString();
                }
            }
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

struct AnswerCase
{
    const char *name;
    Reply reply;
    int result;
    QStringList boxes;  // title and text of each box shown
};

TEST_F(SettingsTest, TheSensorsAnswerIsJudgedAndOnlyASuccessCloses)
{
    const AnswerCase cases[] = {
        {"ok", Reply::ok(), QDialog::Accepted, {}},
        {"failed", Reply::failed("bad direction"), QDialog::Rejected,
         {"Set configuration", "Error : action failed"}},
        {"warning", Reply::warning({{"ignored", "config/cameras/camera/anpr", "x.c:1"}}), QDialog::Accepted,
         {"Set configuration", "Warning : some parts of the message have failed"}},
        {"no answer", Reply::close(), QDialog::Rejected, {"Set configuration", "Error : no answer from equipment"}},
    };
    for (const AnswerCase &c : cases) {
        for (const char *tag : {"1:anpr", "1:dgpr"}) {
            SCOPED_TRACE(testing::Message() << c.name << ' ' << tag);
            ASSERT_NO_FATAL_FAILURE(
                start(configWithCameras({camera("0", {}), camera("1", {plateReading(), panelReading()})})));
            server.setReply("setConfig", c.reply);
            const fybsim::FybSensor::Mark mark = server.mark();
            EXPECT_EQ(openAndOk(QString::fromLatin1(tag)), c.result);
            EXPECT_EQ(requestsSince(mark).size(), 1u);
            QStringList boxes;
            for (std::size_t i = 1; i < seen.size(); ++i)
                boxes << seen[i].title << seen[i].text;
            EXPECT_EQ(boxes, c.boxes);
        }
    }
}

} // namespace
