// Fixture of the camera page's tests: the page following the model as the main window makes it
// follow, over the test sensor's information (capabilities) and configuration (optics values);
// operator moves on its controls, and the optics requests the sensor received, read back as text.
#pragma once

#include "PanelsTestSupport.h"
#include "WidgetCameraSettings.h"
#include "WidgetSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace camerapanel {

using fybsim::Element;

// A capability list: one child per text.
inline Element list(const char *name, std::initializer_list<const char *> texts)
{
    Element element(name);
    for (const char *text : texts)
        element.add(Element("value").set("text", text));
    return element;
}

inline Element range(const char *name, const char *min, const char *max)
{
    return Element(name).set("min", min).set("max", max);
}

// A camera of the information with every optics capability: IR-cut filter, flip, zoom with its
// optical limit at 40, focus, and iris steps followed by gains.
inline Element fullCapabilities(const char *id, const char *model)
{
    Element camera("camera");
    camera.set("id", id).set("cameraModel", model).set("hasIRCutFilter", "1").set("hasFlip", "1");
    camera.add(range("zoomValues", "0", "100").set("numericThreshold", "40"))
        .add(range("focusValues", "0", "1000"))
        .add(list("shutterValues", {"1/50", "1/100", "1/250"}))
        .add(range("expCompValues", "-5", "5"))
        .add(list("irisValues", {"F2.0", "F1.4"}))
        .add(list("gainValues", {"0 dB", "6 dB"}))
        .add(range("brightnessValues", "0", "100"))
        .add(range("sharpnessValues", "0", "10"))
        .add(range("contrastValues", "0", "100"))
        .add(list("ISOValues", {"100", "200", "400"}))
        .add(range("saturationValues", "0", "100"))
        .add(list("exposureValues", {"auto", "manual"}))
        .add(list("whiteBalanceValues", {"auto", "daylight"}))
        .add(list("meteringValues", {"center", "spot"}));
    return camera;
}

inline Element infos(std::initializer_list<Element> cameras, const char *sensorType = "Vigil")
{
    Element list("cameras");
    for (const Element &camera : cameras)
        list.add(camera);
    Element root("infos");
    if (sensorType != nullptr)
        root.add(Element("sensor").set("type", sensorType));
    return root.add(list);
}

// The optics a camera of fullCapabilities is configured with.
inline Element fullOptics()
{
    Element optics("optics");
    optics.set("flip", "0")
        .set("zoom", "40")
        .set("irCut", "0")
        .set("focusIRCutOn", "300")
        .set("focusIRCutOff", "500")
        .set("macro", "0")
        .set("autofocus", "0")
        .set("shutter", "1/100")
        .set("expComp", "0")
        .set("enhancedContrast", "1")
        .set("iris", "F1.4")
        .set("gain", "6 dB")
        .set("brightness", "50")
        .set("sharpness", "5")
        .set("contrast", "60")
        .set("ISO", "200")
        .set("saturation", "70")
        .set("exposure", "auto")
        .set("whiteBalance", "daylight")
        .set("metering", "spot");
    return optics;
}

inline Element configuredCamera(const char *id, const Element &optics)
{
    return Element("camera").set("id", id).add(optics);
}

inline Element config(std::initializer_list<Element> cameras)
{
    Element list("cameras");
    for (const Element &camera : cameras)
        list.add(camera);
    return Element("config").add(list);
}

// A configuration push that changes only these optics attributes of the camera.
inline Element opticsChange(const char *id, std::initializer_list<std::pair<const char *, const char *>> attributes)
{
    Element optics("optics");
    for (const auto &[name, value] : attributes)
        optics.set(name, value);
    return config({configuredCamera(id, optics)});
}

// A schema whose camera optics know irCut, and irCutFilter when asked.
inline QByteArray opticsSchema(bool withIrCutFilter)
{
    QByteArray attributes = R"(<xs:attribute name="irCut" type="xs:boolean"/>)";
    if (withIrCutFilter)
        attributes += R"(<xs:attribute name="irCutFilter" type="xs:string"/>)";
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="config"><xs:complexType><xs:sequence>
    <xs:element name="cameras"><xs:complexType><xs:sequence>
      <xs:element name="camera"><xs:complexType><xs:sequence>
        <xs:element name="optics"><xs:complexType>)"
           + attributes + R"(</xs:complexType></xs:element>
      </xs:sequence></xs:complexType></xs:element>
    </xs:sequence></xs:complexType></xs:element>
  </xs:sequence></xs:complexType></xs:element>
</xs:schema>
)";
}

} // namespace camerapanel

class CameraPanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        loadSchema(false);
        WidgetCameraSettings::autofocusTiming() = {};
    }
    void TearDown() override
    {
        panel.reset();
        WidgetCameraSettings::autofocusTiming() = {};
        PanelTest::TearDown();
    }

    void loadSchema(bool withIrCutFilter)
    {
        const QByteArray schema = camerapanel::opticsSchema(withIrCutFilter);
        ASSERT_TRUE(model()->schemaDoc().load(schema.constData(), int(schema.size())));
    }

    // Connects with that information and configuration and builds the page, unlocked or not,
    // which then reloads on every configuration the model keeps.
    void start(const fybsim::Element &infos, const fybsim::Element &config, bool editable = true)
    {
        server.setInfos(infos);
        server.setConfig(config);
        ASSERT_NO_FATAL_FAILURE(connectModel());
        panel = std::make_unique<WidgetCameraSettings>();
        panel->resize(360, 760);
        QObject::connect(model(), &Model::signalConfigReceived, panel.get(), &WidgetCameraSettings::loadConfig);
        panel->setEditable(editable);
        panel->fillCameras();
        panel->loadConfig();
    }

    // A new connection with fresh trees, as after a reconnection; the page is refilled as the
    // main window refills it.
    void restart(const fybsim::Element &infos, const fybsim::Element &config)
    {
        model()->clear();
        server.setInfos(infos);
        server.setConfig(config);
        ASSERT_NO_FATAL_FAILURE(connectModel());
        panel->fillCameras();
        panel->loadConfig();
    }

    // Pushes the configuration change; the page reloads it.
    void pushConfig(const fybsim::Element &change) { ASSERT_NO_FATAL_FAILURE(push(change)); }

    template <typename T>
    T *child(const char *name) const
    {
        T *found = panel->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    WidgetSlider *slider(const char *name) const { return child<WidgetSlider>(name); }
    QComboBox *cameraCombo() const { return child<QComboBox>("cboCamera"); }

    static QStringList entries(WidgetSlider *control)
    {
        QStringList texts;
        auto *combo = control->findChild<QComboBox *>("comboBox");
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static QString shownText(WidgetSlider *control)
    {
        return control->findChild<QComboBox *>("comboBox")->currentText();
    }
    static int shownValue(WidgetSlider *control) { return control->findChild<QSlider *>("slider")->value(); }
    static QStringList comboTexts(QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    // As the operator: moves the handle to the value and lets go.
    static void operate(WidgetSlider *control, int value)
    {
        auto *handle = control->findChild<QSlider *>("slider");
        handle->setValue(value);
        emit handle->sliderReleased();
    }
    // As the operator: picks the entry of a list slider.
    static void choose(WidgetSlider *control, const QString &text)
    {
        const int index = control->findChild<QComboBox *>("comboBox")->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        operate(control, index);
    }

    // Runs an action whose change the sensor accepts, and waits for the page to have reloaded
    // the configuration that the sensor pushes back, so that no reload is left pending.
    void settled(const std::function<void()> &action)
    {
        QSignalSpy reloaded(model(), &Model::signalConfigReceived);
        action();
        ASSERT_TRUE(waitUntil([&] { return reloaded.count() > 0; }));
    }

    // Every optics request the sensor received since the mark, as "camera:name=value,...".
    QStringList sentOptics(const fybsim::FybSensor::Mark &since) const
    {
        QStringList sent;
        const std::vector<fybsim::Received> received = server.received();
        for (std::size_t i = since.received; i < received.size(); ++i) {
            if (received[i].rootName() != "setConfig")
                continue;
            const fybsim::Element *root = &*received[i].message.root;
            const fybsim::Element *camera = root->child("config") ? root->child("config")->child("cameras") : nullptr;
            camera = camera ? camera->child("camera") : nullptr;
            const fybsim::Element *optics = camera ? camera->child("optics") : nullptr;
            if (optics == nullptr) {
                sent << "(no optics)";
                continue;
            }
            QStringList pairs;
            for (const auto &[name, value] : optics->attributes)
                pairs << QString::fromStdString(name + "=" + value);
            const std::string *id = camera->attribute("id");
            sent << QString::fromStdString(id ? *id : "?") + ':' + pairs.join(',');
        }
        return sent;
    }

    std::unique_ptr<WidgetCameraSettings> panel;
};
