// The camera page sending the operator's changes to the test sensor: one optics request per
// change, the colour mode and focus by IR-cut state and schema, the iris and gain split, the
// dialog links, and the focus detection with its wait.
#include "CameraPanelTest.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>

namespace {

using namespace camerapanel;

// Camera "0" with every capability; camera "1" without IR-cut filter; camera "2" with gains alone.
Element sendingInfos(const char *sensorType = "Vigil")
{
    Element noFilter = fullCapabilities("1", "Lumacam N");
    noFilter.set("hasIRCutFilter", "0").set("filter", "motorized");
    Element gains("camera");
    gains.set("id", "2").set("cameraModel", "Lumacam G").add(list("gainValues", {"-3 dB", "6 dB"}));
    Element scale = fullCapabilities("0", "Lumacam A");
    for (Element &capability : scale.children) {
        if (capability.name == "gainValues")
            capability = list("gainValues", {"-3 dB", "0 dB", "6 dB"});
    }
    return infos({scale, noFilter, gains}, sensorType);
}

Element sendingConfig()
{
    return config({configuredCamera("0", fullOptics()), configuredCamera("1", fullOptics()),
                   configuredCamera("2", Element("optics").set("gain", "6 dB"))});
}

class CameraSendingTest : public CameraPanelTest
{
protected:
    // While the focus detection waits: the progress dialog once it shows, or null.
    QProgressDialog *progress() const
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<QProgressDialog *>(widget); dialog != nullptr && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }

    // Runs the action on every turn of the event loop until it returns true (the focus
    // detection keeps the loop turning while it waits).
    void whileWaiting(std::function<bool()> action)
    {
        auto *timer = new QTimer(panel.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
            if (action())
                timer->stop();
        });
        timer->start();
    }

    void clickAutofocus() { child<QPushButton>("btnAutofocus")->click(); }
};

TEST_F(CameraSendingTest, EachControlSendsItsAttribute)
{
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos(), sendingConfig()));
    struct Case
    {
        std::function<void()> act;
        QString sent;
    } cases[] = {
        {[&] { operate(slider("sliderZoom"), 41); }, "0:zoom=41"},
        {[&] { operate(slider("sliderExpComp"), -2); }, "0:expComp=-2"},
        {[&] { choose(slider("sliderShutter"), "1/250"); }, "0:shutter=1/250"},
        {[&] { operate(slider("sliderBrightness"), 51); }, "0:brightness=51"},
        {[&] { operate(slider("sliderSharpness"), 7); }, "0:sharpness=7"},
        {[&] { operate(slider("sliderContrast"), 61); }, "0:contrast=61"},
        {[&] { choose(slider("sliderISO"), "400"); }, "0:ISO=400"},
        {[&] { operate(slider("sliderSaturation"), 71); }, "0:saturation=71"},
        {[&] { choose(slider("sliderExposure"), "manual"); }, "0:exposure=manual"},
        {[&] { choose(slider("sliderWhiteBalance"), "auto"); }, "0:whiteBalance=auto"},
        {[&] { choose(slider("sliderMetering"), "center"); }, "0:metering=center"},
        {[&] { child<QCheckBox>("checkFlip")->click(); }, "0:flip=1"},
        {[&] { child<QCheckBox>("checkMacroMode")->click(); }, "0:macro=1"},
        {[&] { child<QCheckBox>("checkEnhancedContrast")->click(); }, "0:enhancedContrast=0"},
        {[&] { emit child<QLabel>("labelAutofocus")->linkActivated("bla"); }, "0:autofocus=0"},
        {[&] {
             cameraCombo()->setCurrentIndex(1);
             operate(slider("sliderZoom"), 42);
         },
         "1:zoom=42"},
    };
    for (const Case &c : cases) {
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_NO_FATAL_FAILURE(settled(c.act)) << c.sent.toStdString();
        EXPECT_EQ(sentOptics(since), QStringList{c.sent});
    }
}

TEST_F(CameraSendingTest, FocusGoesToTheShownIrCutState)
{
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos(), sendingConfig()));
    struct Case
    {
        int index;
        const char *id;
        const char *irCut;
        QString sent;
    } cases[] = {
        {0, "0", "0", "0:focusIRCutOff=10"},
        {0, "0", "1", "0:focusIRCutOn=10"},
        {1, "1", "1", "1:focusIRCutOff=10"}, // no filter: the only focus there is
    };
    for (const Case &c : cases) {
        cameraCombo()->setCurrentIndex(c.index);
        ASSERT_NO_FATAL_FAILURE(pushConfig(opticsChange(c.id, {{"irCut", c.irCut}})));
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_NO_FATAL_FAILURE(settled([&] { operate(slider("sliderFocus"), 10); }));
        EXPECT_EQ(sentOptics(since), QStringList{c.sent});
    }
}

TEST_F(CameraSendingTest, ColourModeAttributeFollowsTheSchema)
{
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos(), sendingConfig()));
    struct Case
    {
        bool schemaHasIrCutFilter;
        const char *radio;
        QString sent;
    } cases[] = {
        {true, "radioColor", "0:irCutFilter=on"},
        {true, "radioBlackAndWhite", "0:irCutFilter=off"},
        {false, "radioColor", "0:irCut=1"},
        {false, "radioBlackAndWhite", "0:irCut=0"},
    };
    for (const Case &c : cases) {
        ASSERT_NO_FATAL_FAILURE(loadSchema(c.schemaHasIrCutFilter));
        const bool toColor = qstrcmp(c.radio, "radioColor") == 0;
        ASSERT_NO_FATAL_FAILURE(pushConfig(opticsChange("0", {{"irCut", toColor ? "0" : "1"}})));
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_NO_FATAL_FAILURE(settled([&] { child<QRadioButton>(c.radio)->click(); }));
        EXPECT_EQ(sentOptics(since), QStringList{c.sent});
    }
}

TEST_F(CameraSendingTest, IrisAndGainEntrySplitsIntoBoth)
{
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos(), sendingConfig()));
    EXPECT_EQ(entries(slider("sliderIrisGain")), (QStringList{"F2.0", "F1.4-3 dB", "F1.4+0 dB", "F1.4+6 dB"}));
    struct Case
    {
        int index;
        QString entry;
        QString sent;
    } cases[] = {
        {0, "F1.4-3 dB", "0:iris=F1.4,gain=-3 dB"},
        {0, "F2.0", "0:iris=F2.0,gain=0 dB"}, // a plain iris step takes the gain back to zero
        {0, "F1.4+6 dB", "0:iris=F1.4,gain=6 dB"},
        {2, "-3 dB", "2:gain=-3 dB"},
        {2, "+6 dB", "2:gain=6 dB"},
    };
    for (const Case &c : cases) {
        cameraCombo()->setCurrentIndex(c.index);
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_NO_FATAL_FAILURE(settled([&] { choose(slider("sliderIrisGain"), c.entry); }));
        EXPECT_EQ(sentOptics(since), QStringList{c.sent});
    }
}

TEST_F(CameraSendingTest, LoadingSendsNothing)
{
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos(), sendingConfig()));
    const fybsim::FybSensor::Mark since = server.mark();
    ASSERT_NO_FATAL_FAILURE(pushConfig(opticsChange("0", {{"flip", "1"},
                                                          {"irCut", "1"},
                                                          {"macro", "1"},
                                                          {"enhancedContrast", "0"},
                                                          {"zoom", "77"},
                                                          {"focusIRCutOn", "99"},
                                                          {"iris", "F2.0"},
                                                          {"ISO", "400"}})));
    cameraCombo()->setCurrentIndex(1);
    cameraCombo()->setCurrentIndex(0);
    EXPECT_TRUE(child<QCheckBox>("checkFlip")->isChecked()) << "the push was loaded";
    operate(slider("sliderBrightness"), 1);
    EXPECT_EQ(sentOptics(since), QStringList{"0:brightness=1"}) << "only the operator's change went out";
}

TEST_F(CameraSendingTest, RefusedChangeIsReportedAsConfiguration)
{
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos(), sendingConfig()));
    server.setReply("setConfig", fybsim::Reply::failed("busy"));
    BoxRecorder boxes;
    EXPECT_FALSE(panel->sendOpticsAttribute("zoom", "3"));
    operate(slider("sliderZoom"), 41);
    ASSERT_EQ(boxes.boxes.size(), 2);
    for (const BoxRecorder::Box &box : boxes.boxes) {
        EXPECT_EQ(box.title, "Configuration");
        EXPECT_EQ(box.text, "Error : action failed");
        EXPECT_EQ(box.details, "busy");
    }
    // A refused start of the focus detection ends the command there.
    const fybsim::FybSensor::Mark since = server.mark();
    clickAutofocus();
    EXPECT_EQ(sentOptics(since), QStringList{"0:autofocus=1"});
    EXPECT_EQ(progress(), nullptr);
}

TEST_F(CameraSendingTest, NoteLinksOpenTheCameraDialogs)
{
    Element camera = configuredCamera("2", Element("optics").set("irCut", "0"));
    Element infosWithFilter = sendingInfos();
    infosWithFilter.children.back().children.back().set("hasIRCutFilter", "1");
    struct Case
    {
        Element control;
        QString key;
    } cases[] = {
        {Element("enslavement").set("enabled", "1"), "2:enslavement"},
        {Element("autoExposure").set("shutterPriority", "1"), "2:autoExposure"},
    };
    ASSERT_NO_FATAL_FAILURE(start(infosWithFilter, config({})));
    for (const Case &c : cases) {
        ASSERT_NO_FATAL_FAILURE(restart(infosWithFilter, config({Element(camera).add(c.control)})));
        cameraCombo()->setCurrentIndex(cameraCombo()->findData("2"));
        QSignalSpy opened(panel.get(), &WidgetCameraSettings::openDialog);
        for (const char *name : {"labelEnslavementSettings", "labelIRCutAuto"}) {
            auto *note = child<QLabel>(name);
            ASSERT_FALSE(note->isHidden()) << name;
            emit note->linkActivated(linkParts(*note).first);
        }
        ASSERT_EQ(opened.size(), 2);
        EXPECT_EQ(opened[0][0].toString(), c.key);
        EXPECT_EQ(opened[1][0].toString(), c.key);
    }
}

// The listed models never report the detection's end: it is given the fixed time, with the
// progress moving, and then taken back.
TEST_F(CameraSendingTest, AutofocusOnListedModelWaitsTheFixedTime)
{
    WidgetCameraSettings::autofocusTiming().fixedWaitMs = 400;
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos("Lumatek3 (primary)"), sendingConfig()));
    int maximum = -1;
    bool moved = false;
    whileWaiting([&] {
        if (QProgressDialog *dialog = progress()) {
            maximum = dialog->maximum();
            moved = moved || dialog->value() > 0;
            if (moved)
                keepPicture(*dialog, "camera-autofocus-progress");
        }
        return false;
    });
    const fybsim::FybSensor::Mark since = server.mark();
    clickAutofocus();
    EXPECT_EQ(sentOptics(since), (QStringList{"0:autofocus=1", "0:autofocus=0"}));
    EXPECT_EQ(maximum, 400);
    EXPECT_TRUE(moved);
    EXPECT_EQ(progress(), nullptr);
}

// Other models end it when the configuration says so; the configuration kept from before the
// start (autofocus "0") does not count, however late the sensor pushes the started detection.
TEST_F(CameraSendingTest, AutofocusOnOtherModelEndsWhenTheSensorSaysSo)
{
    server.setConfigPushDelay(300ms);
    std::atomic<bool> ended{false};
    std::atomic<bool> stoppedEarly{false};
    server.setResponder([&](const fybsim::WireMessage &request) -> std::optional<fybsim::Reply> {
        if (request.xmlPart.find("autofocus=\"0\"") != std::string::npos && !ended)
            stoppedEarly = true;
        return std::nullopt;
    });
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos("Vigil"), sendingConfig()));
    whileWaiting([&] {
        PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(model()->config()), "cameras");
        PXRMsgElement *optics = PXRMsgElementFirstChild(PXRMsgElementFirstChild(cameras, "camera"), "optics");
        if (progress() == nullptr || qstrcmp(PXRMsgElementAttributeValue(optics, "autofocus"), "1") != 0)
            return false;
        ended = true;
        server.endAutofocus("0");
        return true;
    });
    const fybsim::FybSensor::Mark since = server.mark();
    clickAutofocus();
    EXPECT_EQ(sentOptics(since), (QStringList{"0:autofocus=1", "0:autofocus=0"}));
    EXPECT_TRUE(ended);
    EXPECT_FALSE(stoppedEarly);
    EXPECT_EQ(progress(), nullptr);
}

TEST_F(CameraSendingTest, AutofocusCancelTakesItBackAtOnce)
{
    WidgetCameraSettings::autofocusTiming() = {600000, 600000};
    for (const char *type : {"KGV sensor", "Vigil"}) {
        SCOPED_TRACE(type);
        ASSERT_NO_FATAL_FAILURE(start(sendingInfos(type), sendingConfig()));
        whileWaiting([&] {
            QProgressDialog *dialog = progress();
            if (dialog != nullptr)
                dialog->findChild<QPushButton *>()->click();
            return dialog != nullptr;
        });
        const fybsim::FybSensor::Mark since = server.mark();
        clickAutofocus();
        EXPECT_EQ(sentOptics(since), (QStringList{"0:autofocus=1", "0:autofocus=0"}));
        panel.reset();
        model()->clear();
    }
}

// A connection lost during the wait frees the kept trees: the wait ends without reading them
// and without taking the detection back.
TEST_F(CameraSendingTest, AutofocusEndsWhenTheCameraIsGone)
{
    WidgetCameraSettings::autofocusTiming() = {600000, 600000};
    ASSERT_NO_FATAL_FAILURE(start(sendingInfos("Vigil"), sendingConfig()));
    whileWaiting([&] {
        if (progress() == nullptr)
            return false;
        model()->clear();
        return true;
    });
    const fybsim::FybSensor::Mark since = server.mark();
    clickAutofocus();
    EXPECT_EQ(sentOptics(since), QStringList{"0:autofocus=1"});
    EXPECT_EQ(progress(), nullptr);
}

TEST_F(CameraSendingTest, AutofocusWithoutSensorTypeOnlyStarts)
{
    ASSERT_NO_FATAL_FAILURE(start(infos({fullCapabilities("0", "A")}, nullptr), sendingConfig()));
    const fybsim::FybSensor::Mark since = server.mark();
    clickAutofocus();
    EXPECT_EQ(sentOptics(since), QStringList{"0:autofocus=1"});
    EXPECT_EQ(progress(), nullptr);
}

} // namespace
