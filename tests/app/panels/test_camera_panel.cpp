// The camera page built from what the test sensor pushes: the camera choice and the streamed
// camera, the controls each capability makes, and the loading of the configured optics.
#include <string>
#include <vector>

#include "CameraPanelTest.h"

namespace {

using namespace camerapanel;

Element twoCameraInfos()
{
    Element second("camera");
    second.set("id", "2").set("cameraModel", "Lumacam B").set("filter", "Motorized");
    second.add(range("zoomValues", "0", "60")).add(list("gainValues", {"-3 dB", "3 dB"}));
    return infos({fullCapabilities("0", "Lumacam A"), second});
}

Element twoCameraConfig()
{
    Element optics("optics");
    optics.set("zoom", "12").set("irCut", "1").set("gain", "3 dB");
    return config({configuredCamera("0", fullOptics()).add(Element("autoExposure").set("shutterPriority", "0")),
                   configuredCamera("2", optics)});
}

Element namedCamera(const char *id, const char *model)
{
    return Element("camera").set("id", id).set("cameraModel", model);
}

TEST_F(CameraPanelTest, OneCameraHidesTheChoiceAndNoCameraTheWholePage)
{
    ASSERT_NO_FATAL_FAILURE(start(infos({fullCapabilities("0", "Lumacam A")}), config({})));
    EXPECT_EQ(comboTexts(cameraCombo()), QStringList{"[0] Lumacam A"});
    EXPECT_TRUE(cameraCombo()->isHidden());
    EXPECT_FALSE(panel->isHidden());
    EXPECT_FALSE(child<QWidget>("widgetZoom")->isHidden()) << "the camera's controls are applied";

    ASSERT_NO_FATAL_FAILURE(restart(infos({}), config({})));
    EXPECT_EQ(cameraCombo()->count(), 0);
    EXPECT_TRUE(panel->isHidden());
}

// The choice keeps each camera's id, so a reconnection that frees the kept trees leaves nothing
// stale behind: the page may be used in between, and a camera that vanished is dropped.
TEST_F(CameraPanelTest, CameraListFollowsTheInformation)
{
    ASSERT_NO_FATAL_FAILURE(start(infos({namedCamera("0", "A"), namedCamera("1", "B"), namedCamera("2", "C")}),
                                  config({})));
    EXPECT_EQ(comboTexts(cameraCombo()), (QStringList{"[0] A", "[1] B", "[2] C"}));
    EXPECT_FALSE(cameraCombo()->isHidden());

    ASSERT_NO_FATAL_FAILURE(push(infos({namedCamera("0", "Z")})));
    panel->fillCameras();
    EXPECT_EQ(comboTexts(cameraCombo()), (QStringList{"[1] B", "[2] C", "[0] Z"})) << "relabelled: moved to the end";

    cameraCombo()->setCurrentIndex(0);
    model()->clear();
    const fybsim::FybSensor::Mark cleared = server.mark();
    cameraCombo()->setCurrentIndex(2);
    panel->loadConfig();
    panel->updateFocusSlider();
    EXPECT_FALSE(panel->sendOpticsAttribute("zoom", "3"));
    EXPECT_TRUE(sentOptics(cleared).isEmpty());

    ASSERT_NO_FATAL_FAILURE(restart(infos({namedCamera("1", "B"), namedCamera("2", "C")}), config({})));
    EXPECT_EQ(comboTexts(cameraCombo()), (QStringList{"[1] B", "[2] C"}));
}

TEST_F(CameraPanelTest, ChosenCameraIsStreamedAndPlayed)
{
    // The requests since the mark that name cameras (the connection's subscriptions name
    // none), each as "id:enabled" pairs, once count of them have come.
    const auto streamsSentSince = [this](const fybsim::FybSensor::Mark &since, std::size_t count) {
        std::vector<std::string> requests;
        for (std::size_t nth = 0; requests.size() < count; nth++) {
            const std::optional<fybsim::Received> sent = server.waitForRoot(since, "setEnableStreams", 5s, nth);
            if (!sent.has_value())
                break;
            const Element *cameras = sent->message.root->child("cameras");
            if (cameras == nullptr)
                continue;
            std::string streams;
            for (const Element &camera : cameras->children)
                streams += (streams.empty() ? "" : " ") + *camera.attribute("id") + ':' + *camera.attribute("enabled");
            requests.push_back(streams);
        }
        return requests;
    };
    // Filling the choice streams the first camera (once as its first item is added, then with
    // the whole list); those sends are not waited for, so they are awaited here before a
    // choice's own request is looked for.
    const fybsim::FybSensor::Mark beforeStart = server.mark();
    ASSERT_NO_FATAL_FAILURE(start(twoCameraInfos(), twoCameraConfig()));
    EXPECT_EQ(streamsSentSince(beforeStart, 2), (std::vector<std::string>{"0:1", "0:1 2:0"}));
    struct Case
    {
        int index;
        std::string streams;
        int playerCamera;
    } cases[] = {{1, "0:0 2:1", 2}, {0, "0:1 2:0", 0}};
    for (const Case &c : cases) {
        const fybsim::FybSensor::Mark since = server.mark();
        cameraCombo()->setCurrentIndex(c.index);
        EXPECT_EQ(streamsSentSince(since, 1), std::vector<std::string>{c.streams}) << c.index;
        EXPECT_EQ(model()->masterPlayer().cameraId(), c.playerCamera);
    }
}

TEST_F(CameraPanelTest, CameraIdBeyondAnIntIsNeverPlayedAsAnotherCamera)
{
    const char *huge = "99999999999999999999";
    ASSERT_NO_FATAL_FAILURE(start(infos({namedCamera("0", "A"), namedCamera("7", "B"), namedCamera("4294967297", "C"),
                                         namedCamera(huge, "D")}),
                                  config({})));
    const struct
    {
        const char *id;
        int playerCamera;
        bool traced;
    } cases[] = {{"4294967297", -1, true}, {"7", 7, false}, {huge, -1, true}, {"0", 0, false}};
    for (const auto &c : cases) {
        const QString trace = QStringLiteral("Camera id %1 is too large to follow its video").arg(c.id);
        const qsizetype before = appLog().count(trace);
        const int index = cameraCombo()->findData(QString(c.id));
        ASSERT_GE(index, 0) << c.id;
        cameraCombo()->setCurrentIndex(index);
        EXPECT_EQ(model()->masterPlayer().cameraId(), c.playerCamera) << c.id;
        EXPECT_EQ(appLog().count(trace) - before, c.traced ? 1 : 0) << c.id;
    }
}

TEST_F(CameraPanelTest, ZoomTypeTellsOpticalFromDigital)
{
    ASSERT_NO_FATAL_FAILURE(start(twoCameraInfos(), twoCameraConfig()));
    struct Case
    {
        int index;
        const char *id;
        const char *zoom;
        QString type; // empty: no type shown
    } cases[] = {{0, "0", "40", "(optical)"}, {0, "0", "41", "(digital)"}, {1, "2", "41", ""}};
    auto *type = child<QLabel>("labelZoomType");
    for (const Case &c : cases) {
        cameraCombo()->setCurrentIndex(c.index);
        ASSERT_NO_FATAL_FAILURE(pushConfig(opticsChange(c.id, {{"zoom", c.zoom}})));
        EXPECT_EQ(shownValue(slider("sliderZoom")), std::stoi(c.zoom)) << c.zoom;
        EXPECT_EQ(type->isHidden(), c.type.isEmpty()) << c.zoom;
        if (!c.type.isEmpty()) {
            EXPECT_EQ(type->text(), c.type) << c.zoom;
        }
    }
}

TEST_F(CameraPanelTest, IrisAndGainMakeOneScale)
{
    Element irisAndGains("camera");
    irisAndGains.set("id", "0").add(list("irisValues", {"F2.0", "F1.4"})).add(list("gainValues", {"0 dB", "6 dB"}));
    Element irisOnly("camera");
    irisOnly.set("id", "1").add(list("irisValues", {"F2.0", "F1.4"}));
    Element gainsOnly("camera");
    gainsOnly.set("id", "2").add(list("gainValues", {"-3 dB", "3 dB"}));
    Element gainRange("camera");
    gainRange.set("id", "3").add(range("gainValues", "-6", "12"));
    ASSERT_NO_FATAL_FAILURE(start(infos({irisAndGains, irisOnly, gainsOnly, gainRange}),
                                  config({configuredCamera("0", Element("optics")), configuredCamera("1", Element("optics")),
                                          configuredCamera("2", Element("optics")),
                                          configuredCamera("3", Element("optics"))})));
    struct Case
    {
        int index;
        const char *id;
        std::pair<const char *, const char *> iris, gain; // null name: not pushed
        QStringList entries;                              // empty: numeric scale
        QString shown;                                    // or the value shown
    } cases[] = {
        {0, "0", {"iris", "F1.4"}, {"gain", "6 dB"}, {"F2.0", "F1.4+0 dB", "F1.4+6 dB"}, "F1.4+6 dB"},
        {0, "0", {"iris", "F2.0"}, {}, {"F2.0", "F1.4+0 dB", "F1.4+6 dB"}, "F2.0"},
        {0, "0", {"iris", "F1.4"}, {"gain", "0 dB"}, {"F2.0", "F1.4+0 dB", "F1.4+6 dB"}, "F1.4+0 dB"},
        {1, "1", {"iris", "F1.4"}, {}, {"F2.0", "F1.4"}, "F1.4"},
        {2, "2", {}, {"gain", "3 dB"}, {"-3 dB", "+3 dB"}, "+3 dB"},
        {2, "2", {}, {"gain", "-3 dB"}, {"-3 dB", "+3 dB"}, "-3 dB"},
        {3, "3", {}, {"gain", "6"}, {}, "6"},
    };
    WidgetSlider *scale = slider("sliderIrisGain");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        cameraCombo()->setCurrentIndex(c.index);
        Element optics("optics");
        for (const auto &[name, value] : {c.iris, c.gain}) {
            if (name != nullptr)
                optics.set(name, value);
        }
        ASSERT_NO_FATAL_FAILURE(pushConfig(config({configuredCamera(c.id, optics)})));
        EXPECT_FALSE(scale->isHidden());
        EXPECT_EQ(scale->isListMode(), !c.entries.isEmpty());
        if (c.entries.isEmpty()) {
            EXPECT_EQ(shownValue(scale), c.shown.toInt());
            continue;
        }
        EXPECT_EQ(entries(scale), c.entries);
        EXPECT_EQ(shownText(scale), c.shown);
    }
}

TEST_F(CameraPanelTest, IrCutStateSetsTheColourModeAndFocus)
{
    ASSERT_NO_FATAL_FAILURE(start(infos({fullCapabilities("0", "A")}), config({})));
    struct Case
    {
        std::pair<const char *, const char *> state;
        bool color, blackAndWhite, editable;
        QString status;
        bool focusShown;
    } cases[] = {
        {{"irCut", "1"}, true, false, true, "(IRCut is on)", true},
        {{"irCut", "0"}, false, true, true, "(IRCut is off)", true},
        {{"irCutFilter", "ON"}, true, false, true, "(IRCut is on)", true},
        {{"irCutFilter", "auto"}, false, false, false, "(IRCut is automatic)", false},
        {{"irCutFilter", "sometimes"}, false, false, false, "(IRCut is unknown)", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status.toStdString());
        Element optics("optics");
        optics.set(c.state.first, c.state.second).set("focusIRCutOn", "300").set("focusIRCutOff", "500");
        ASSERT_NO_FATAL_FAILURE(restart(infos({fullCapabilities("0", "A")}), config({configuredCamera("0", optics)})));
        EXPECT_FALSE(child<QWidget>("widgetColorMode")->isHidden());
        EXPECT_EQ(child<QRadioButton>("radioColor")->isChecked(), c.color);
        EXPECT_EQ(child<QRadioButton>("radioBlackAndWhite")->isChecked(), c.blackAndWhite);
        EXPECT_EQ(child<QRadioButton>("radioColor")->isEnabled(), c.editable);
        EXPECT_EQ(child<QRadioButton>("radioBlackAndWhite")->isEnabled(), c.editable);
        EXPECT_EQ(child<QLabel>("labelIRCutStatus")->text(), c.status);
        EXPECT_TRUE(child<QLabel>("labelIRCutAuto")->isHidden());
        EXPECT_EQ(slider("sliderFocus")->isHidden(), !c.focusShown);
        EXPECT_EQ(child<QPushButton>("btnAutofocus")->isHidden(), !c.focusShown);
        EXPECT_EQ(child<QLabel>("labelFocusIRCutAuto")->isHidden(), c.focusShown);
        if (c.focusShown) {
            EXPECT_EQ(shownValue(slider("sliderFocus")), c.color ? 300 : 500) << "each IR-cut state has its focus";
        }
    }
}

TEST_F(CameraPanelTest, AutomaticExposureDecidesWhatTheOperatorMayChange)
{
    ASSERT_NO_FATAL_FAILURE(start(infos({fullCapabilities("0", "A")}), config({})));
    struct Case
    {
        Element control; // no name: none
        bool colourEditable, shutterIrisGainEditable, expCompEditable;
        QString note; // empty: no note
    } cases[] = {
        {Element("enslavement").set("enabled", "1").set("switchType", "Manual"), true, false, false,
         "<a href='enslavement'>Enslavement</a> is enabled. Shutter, iris and gain are automatic."},
        {Element("enslavement").set("enabled", "1").set("switchType", "infrared"), false, false, false,
         "<a href='enslavement'>Enslavement</a> is enabled. Shutter, iris and gain are automatic."},
        {Element("enslavement").set("enabled", "0"), true, true, false,
         "<a href='enslavement'>Enslavement</a> is disabled."},
        {Element("autoExposure").set("shutterPriority", "1"), false, false, true,
         "<a href='autoExposure'>Auto exposure</a> is enabled. Shutter, iris and gain are automatic."},
        {Element("autoExposure").set("shutterPriority", "0"), true, true, false,
         "<a href='autoExposure'>Auto exposure</a> is disabled."},
        {Element(), true, true, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.control.name + " " + c.note.toStdString());
        Element camera = configuredCamera("0", fullOptics());
        if (!c.control.name.empty())
            camera.add(c.control);
        ASSERT_NO_FATAL_FAILURE(restart(infos({fullCapabilities("0", "A")}), config({camera})));
        EXPECT_EQ(child<QRadioButton>("radioColor")->isEnabled(), c.colourEditable);
        EXPECT_EQ(child<QLabel>("labelIRCutAuto")->isHidden(), c.colourEditable);
        if (!c.colourEditable) {
            EXPECT_EQ(linkParts(*child<QLabel>("labelIRCutAuto")).first, QString::fromStdString(c.control.name));
        }
        EXPECT_EQ(slider("sliderShutter")->isEnabled(), c.shutterIrisGainEditable);
        EXPECT_EQ(slider("sliderIrisGain")->isEnabled(), c.shutterIrisGainEditable);
        EXPECT_FALSE(slider("sliderExpComp")->isHidden());
        EXPECT_EQ(slider("sliderExpComp")->isEnabled(), c.expCompEditable);
        EXPECT_EQ(child<QLabel>("labelEnslavementSettings")->isHidden(), c.note.isEmpty());
        if (!c.note.isEmpty()) {
            EXPECT_EQ(child<QLabel>("labelEnslavementSettings")->text(), c.note);
        }
    }
}

TEST_F(CameraPanelTest, LoadingShowsTheConfiguredOptics)
{
    ASSERT_NO_FATAL_FAILURE(start(twoCameraInfos(), twoCameraConfig()));
    EXPECT_TRUE(child<QCheckBox>("checkFlip")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>("checkFlip")->isChecked());
    EXPECT_EQ(child<QLabel>("labelZoomType")->text(), "(optical)");
    EXPECT_TRUE(child<QRadioButton>("radioBlackAndWhite")->isChecked());
    EXPECT_EQ(shownValue(slider("sliderFocus")), 500);
    EXPECT_FALSE(child<QCheckBox>("checkMacroMode")->isHidden());
    EXPECT_TRUE(child<QCheckBox>("checkEnhancedContrast")->isChecked());
    EXPECT_TRUE(child<QLabel>("labelAutofocus")->isHidden());
    EXPECT_TRUE(child<QLabel>("labelFocusANPRAuto")->isHidden());
    const std::pair<const char *, QString> texts[] = {{"sliderShutter", "1/100"}, {"sliderIrisGain", "F1.4+6 dB"},
                                                      {"sliderISO", "200"},       {"sliderExposure", "auto"},
                                                      {"sliderWhiteBalance", "daylight"}, {"sliderMetering", "spot"}};
    for (const auto &[name, text] : texts)
        EXPECT_EQ(shownText(slider(name)), text) << name;
    const std::pair<const char *, int> values[] = {{"sliderZoom", 40},     {"sliderExpComp", 0},  {"sliderBrightness", 50},
                                                   {"sliderSharpness", 5}, {"sliderContrast", 60}, {"sliderSaturation", 70}};
    for (const auto &[name, value] : values)
        EXPECT_EQ(shownValue(slider(name)), value) << name;
    keepPicture(*panel, "camera-panel");

    // The focus is the sensor's while its detection runs, or while the recognition sets it.
    ASSERT_NO_FATAL_FAILURE(pushConfig(opticsChange("0", {{"autofocus", "1"}})));
    EXPECT_FALSE(child<QLabel>("labelAutofocus")->isHidden());
    EXPECT_FALSE(child<QGroupBox>("groupFocus")->isEnabled());
    keepPicture(*panel, "camera-panel-autofocus-active");
    ASSERT_NO_FATAL_FAILURE(pushConfig(config({configuredCamera("0", Element("optics")).add(
        Element("anpr").set("focusAuto", "1"))})));
    EXPECT_FALSE(child<QLabel>("labelFocusANPRAuto")->isHidden());
    EXPECT_TRUE(slider("sliderFocus")->isHidden());
    EXPECT_TRUE(child<QGroupBox>("groupFocus")->isEnabled());
    EXPECT_TRUE(child<QLabel>("labelAutofocus")->isHidden());

    // The second camera: IR-cut filter by its kind, no focus, gains alone.
    cameraCombo()->setCurrentIndex(1);
    EXPECT_TRUE(child<QRadioButton>("radioColor")->isChecked());
    EXPECT_TRUE(child<QGroupBox>("groupFocus")->isHidden());
    EXPECT_TRUE(child<QCheckBox>("checkFlip")->isHidden());
    EXPECT_TRUE(slider("sliderShutter")->isHidden());
    EXPECT_EQ(shownText(slider("sliderIrisGain")), "+3 dB");
    keepPicture(*panel, "camera-panel-second-camera");
}

TEST_F(CameraPanelTest, ControlsAreUsableOnlyWhileLocked)
{
    ASSERT_NO_FATAL_FAILURE(start(twoCameraInfos(), twoCameraConfig(), false));
    EXPECT_FALSE(child<QWidget>("widget")->isEnabled());
    EXPECT_FALSE(slider("sliderZoom")->isEnabled());
    EXPECT_TRUE(cameraCombo()->isEnabled());
    keepPicture(*panel, "camera-panel-unlocked");
    panel->setEditable(true);
    EXPECT_TRUE(slider("sliderZoom")->isEnabled());
}

} // namespace
