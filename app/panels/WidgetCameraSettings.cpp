// The "Cameras" page of the sensor dock: the optics of one camera of the master sensor as live
// controls, built from the camera's capabilities, loaded from its configuration and sent at once.
#include "WidgetCameraSettings.h"
#include "ui_WidgetCameraSettings.h"

#include "ConfigRequest.h"
#include "IrisGainScale.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "PXR.h"
#include "SA_Core.h"
#include "VideoPacket.h"
#include "WidgetVideoPlayer.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace {

// Models that never report the end of their focus detection: they are given a fixed time.
const QStringList kFixedFocusWaitModels = {
    "Lumatek",  "Lumatek2", "Lumatek3", "Lumatek3 (primary)", "Lumatek3 (secondary)", "Lumatek4",
    "Pindrel",  "Pindrel2", "Sabrel",   "Sabrel2",            "KGV sensor",
};

const int kSleepStepMs = 10;

const char *attribute(PXRMsgElement *element, const char *name)
{
    return element != nullptr ? PXRMsgElementAttributeValue(element, name) : nullptr;
}

QString text(PXRMsgElement *element, const char *name)
{
    return QString::fromUtf8(attribute(element, name));
}

bool isTrue(PXRMsgElement *element, const char *name)
{
    const char *value = attribute(element, name);
    return value != nullptr && PXRMsgStrToBool(value) != 0;
}

bool readInt(PXRMsgElement *element, const char *name, int *value)
{
    const char *raw = attribute(element, name);
    bool ok = false;
    if (raw != nullptr)
        *value = QByteArray(raw).toInt(&ok);
    return ok;
}

// The entries of a list capability: the text of each child, in order.
QStringList listTexts(PXRMsgElement *capability)
{
    QStringList texts;
    for (PXRMsgElement *child = PXRMsgElementFirstChild(capability, nullptr); child != nullptr;
         child = PXRMsgElementNextChild(capability, child, nullptr))
        texts << text(child, "text");
    return texts;
}

bool equalsAnyCase(const QString &text, const char *word)
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isOnState(const QString &state)
{
    return equalsAnyCase(state, "on") || equalsAnyCase(state, "1");
}

bool isOffState(const QString &state)
{
    return equalsAnyCase(state, "off") || equalsAnyCase(state, "0");
}

// The camera child of the list whose id is exactly the one given.
PXRMsgElement *cameraById(PXRMsgElement *cameras, const char *childName, const QString &id)
{
    const QByteArray wanted = id.toUtf8();
    for (PXRMsgElement *camera = PXRMsgElementFirstChild(cameras, childName); camera != nullptr;
         camera = PXRMsgElementNextChild(cameras, camera, childName)) {
        const char *cameraId = attribute(camera, "id");
        if (cameraId != nullptr && wanted == cameraId)
            return camera;
    }
    return nullptr;
}

} // namespace

WidgetCameraSettings::AutofocusTiming &WidgetCameraSettings::autofocusTiming()
{
    static AutofocusTiming timing;
    return timing;
}

WidgetCameraSettings::WidgetCameraSettings(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::WidgetCameraSettings>())
    , m_model(Model::instance())
{
    ui->setupUi(this);
    hideControls(false);
}

WidgetCameraSettings::~WidgetCameraSettings() = default;

void WidgetCameraSettings::hideControls(bool clear)
{
    for (QWidget *widget : std::initializer_list<QWidget *>{
             ui->widgetZoom, ui->widgetColorMode, ui->groupFocus, ui->checkFlip, ui->labelAutofocus,
             ui->checkEnhancedContrast})
        widget->hide();
    const std::pair<QLabel *, WidgetSlider *> rows[] = {
        {ui->labelShutter, ui->sliderShutter},       {ui->labelExpComp, ui->sliderExpComp},
        {ui->labelIrisGain, ui->sliderIrisGain},     {ui->labelBrightness, ui->sliderBrightness},
        {ui->labelSharpness, ui->sliderSharpness},   {ui->labelContrast, ui->sliderContrast},
        {ui->labelISO, ui->sliderISO},               {ui->labelSaturation, ui->sliderSaturation},
        {ui->labelExposure, ui->sliderExposure},     {ui->labelWhiteBalance, ui->sliderWhiteBalance},
        {ui->labelMetering, ui->sliderMetering},
    };
    for (const auto &[caption, slider] : rows)
        setRowVisible(caption, slider, false);
    if (clear)
        ui->cboCamera->clear();
}

void WidgetCameraSettings::setRowVisible(QLabel *caption, WidgetSlider *slider, bool visible)
{
    caption->setVisible(visible);
    slider->setVisible(visible);
}

void WidgetCameraSettings::setEditable(bool editable)
{
    ui->widget->setEnabled(editable);
}

QString WidgetCameraSettings::currentCameraId() const
{
    return ui->cboCamera->currentIndex() < 0 ? QString() : ui->cboCamera->currentData().toString();
}

PXRMsgElement *WidgetCameraSettings::cameraInfo(const QString &id) const
{
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(m_model->infos()), "cameras");
    return id.isEmpty() ? nullptr : cameraById(cameras, nullptr, id);
}

PXRMsgElement *WidgetCameraSettings::cameraConfig(const QString &id) const
{
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(m_model->config()), "cameras");
    return id.isEmpty() ? nullptr : cameraById(cameras, "camera", id);
}

void WidgetCameraSettings::fillCameras()
{
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(m_model->infos()), "cameras");
    if (PXRMsgElementFirstChild(cameras, nullptr) == nullptr) {
        ui->cboCamera->clear();
        hideControls(false);
        hide();
        return;
    }
    QStringList labels;
    for (PXRMsgElement *camera = PXRMsgElementFirstChild(cameras, nullptr); camera != nullptr;
         camera = PXRMsgElementNextChild(cameras, camera, nullptr)) {
        // A camera without id cannot be addressed in a request.
        const QString id = text(camera, "id");
        if (id.isEmpty())
            continue;
        const QString label = m_model->cameraLabel(id);
        labels << label;
        if (ui->cboCamera->findText(label, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
            ui->cboCamera->addItem(label, id);
            // The choice keeps its width; a long model is read whole in the tooltip.
            ui->cboCamera->setItemData(ui->cboCamera->count() - 1, label, Qt::ToolTipRole);
        }
    }
    setVisible(!labels.isEmpty());
    for (int i = ui->cboCamera->count() - 1; i >= 0; --i) {
        if (!labels.contains(ui->cboCamera->itemText(i)))
            ui->cboCamera->removeItem(i);
    }
    ui->cboCamera->setVisible(ui->cboCamera->count() > 1);
    on_cboCamera_currentIndexChanged(ui->cboCamera->currentIndex());
}

void WidgetCameraSettings::on_cboCamera_currentIndexChanged(int)
{
    ui->cboCamera->setToolTip(ui->cboCamera->currentText());
    hideControls(false);
    const QString id = currentCameraId();
    PXRMsgElement *camera = cameraInfo(id);
    if (camera == nullptr)
        return;
    sendEnableStreams();
    // Read as the video messages are, so that the player keeps exactly this camera's pictures.
    const int number = VideoPacket::cameraNumber(id.toUtf8().constData());
    if (number < 0)
        MainWindowInterface::logApp(3, QStringLiteral("Camera id %1 is too large to follow its video").arg(id));
    m_model->masterPlayer().setCameraId(number);
    m_loaded = false;
    applyCapabilities(camera);
    loadConfig();
    MainWindowInterface *window = MainWindowInterface::instance();
    if (window != nullptr && window->videoPlayer() != nullptr)
        window->videoPlayer()->onConfigReceived();
    m_loaded = true;
}

// The master sensor streams the chosen camera only; the send is not waited for.
void WidgetCameraSettings::sendEnableStreams()
{
    PXRMsg *message = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate("setEnableStreams");
    PXRMsgSetChild(message, root);
    PXRMsgElement *cameras = PXRMsgElementCreate("cameras");
    PXRMsgElementAddChild(root, cameras);
    for (int i = 0; i < ui->cboCamera->count(); ++i) {
        PXRMsgElement *camera = PXRMsgElementCreate("camera");
        PXRMsgElementAddChild(cameras, camera);
        PXRMsgElementSetAttributeBool(camera, "enabled", i == ui->cboCamera->currentIndex());
        PXRMsgElementSetAttribute(camera, "id", ui->cboCamera->itemData(i).toString().toUtf8().constData());
    }
    PXRSendAsynchronousMessage(m_model->masterSensor().handle(), message);
    PXRMsgDestroy(message);
}

void WidgetCameraSettings::applyCapabilities(PXRMsgElement *camera)
{
    applyIrCutCapability(camera);

    PXRMsgElement *zoom = PXRMsgElementFirstChild(camera, "zoomValues");
    int minimum = 0;
    int maximum = 0;
    const bool hasZoom = readInt(zoom, "min", &minimum) && readInt(zoom, "max", &maximum);
    ui->widgetZoom->setVisible(hasZoom);
    if (hasZoom) {
        ui->sliderZoom->setRange(minimum, maximum);
        if (!readInt(zoom, "numericThreshold", &m_zoomThreshold))
            m_zoomThreshold = -1;
        ui->labelZoomType->setVisible(m_zoomThreshold != -1);
        ui->sliderZoom->setTickInterval(m_zoomThreshold);
    }

    PXRMsgElement *focus = PXRMsgElementFirstChild(camera, "focusValues");
    const bool hasFocus = readInt(focus, "min", &minimum) && readInt(focus, "max", &maximum);
    ui->groupFocus->setVisible(hasFocus);
    if (hasFocus) {
        ui->checkMacroMode->hide();
        ui->sliderFocus->setRange(minimum, maximum);
    }

    applyList(camera, "shutterValues", ui->sliderShutter, ui->labelShutter);
    PXRMsgElement *expComp = PXRMsgElementFirstChild(camera, "expCompValues");
    if (readInt(expComp, "min", &minimum) && readInt(expComp, "max", &maximum))
        ui->sliderExpComp->setRange(minimum, maximum);
    applyIrisGainCapability(camera);
    applyRange(camera, "brightnessValues", ui->sliderBrightness, ui->labelBrightness);
    applyRange(camera, "sharpnessValues", ui->sliderSharpness, ui->labelSharpness);
    applyRange(camera, "contrastValues", ui->sliderContrast, ui->labelContrast);
    applyRange(camera, "saturationValues", ui->sliderSaturation, ui->labelSaturation);
    applyList(camera, "ISOValues", ui->sliderISO, ui->labelISO);
    applyList(camera, "exposureValues", ui->sliderExposure, ui->labelExposure);
    applyList(camera, "whiteBalanceValues", ui->sliderWhiteBalance, ui->labelWhiteBalance);
    applyList(camera, "meteringValues", ui->sliderMetering, ui->labelMetering);
    ui->checkFlip->setVisible(isTrue(camera, "hasFlip"));
}

void WidgetCameraSettings::applyIrCutCapability(PXRMsgElement *camera)
{
    const bool hasFilter = attribute(camera, "hasIRCutFilter") != nullptr
                               ? isTrue(camera, "hasIRCutFilter")
                               : equalsAnyCase(text(camera, "filter"), "motorized");
    for (QWidget *widget : std::initializer_list<QWidget *>{ui->labelIRCut, ui->radioBlackAndWhite, ui->radioColor,
                                                            ui->labelIRCutStatus})
        widget->setVisible(hasFilter);
    if (!hasFilter)
        setColorRadios(ui->radioColor->isChecked(), false);
}

// An exclusive pair refuses to lose its checked button: the exclusivity is off while both are set.
void WidgetCameraSettings::setColorRadios(bool color, bool blackAndWhite)
{
    for (QRadioButton *radio : {ui->radioColor, ui->radioBlackAndWhite})
        radio->setAutoExclusive(false);
    ui->radioColor->setChecked(color);
    ui->radioBlackAndWhite->setChecked(blackAndWhite);
    for (QRadioButton *radio : {ui->radioColor, ui->radioBlackAndWhite})
        radio->setAutoExclusive(true);
}

bool WidgetCameraSettings::applyRange(PXRMsgElement *camera, const char *capability, WidgetSlider *slider,
                                      QLabel *caption)
{
    PXRMsgElement *element = PXRMsgElementFirstChild(camera, capability);
    int minimum = 0;
    int maximum = 0;
    if (!readInt(element, "min", &minimum) || !readInt(element, "max", &maximum))
        return false;
    slider->setRange(minimum, maximum);
    setRowVisible(caption, slider, true);
    return true;
}

void WidgetCameraSettings::applyList(PXRMsgElement *camera, const char *capability, WidgetSlider *slider,
                                     QLabel *caption)
{
    PXRMsgElement *element = PXRMsgElementFirstChild(camera, capability);
    if (element == nullptr)
        return;
    slider->setValues(listTexts(element));
    setRowVisible(caption, slider, true);
}

void WidgetCameraSettings::applyIrisGainCapability(PXRMsgElement *camera)
{
    m_lastIrisText.clear();
    m_zeroGainText.clear();
    m_irisWithGains = false;
    PXRMsgElement *irises = PXRMsgElementFirstChild(camera, "irisValues");
    PXRMsgElement *gains = PXRMsgElementFirstChild(camera, "gainValues");
    if (irises != nullptr) {
        const QStringList irisTexts = listTexts(irises);
        const QStringList gainTexts = listTexts(gains);
        m_lastIrisText = irisTexts.value(irisTexts.size() - 1);
        // Without an iris step there is no open iris to raise the gain behind: no gain entries.
        m_irisWithGains = !irisTexts.isEmpty() && !gainTexts.isEmpty();
        if (m_irisWithGains)
            m_zeroGainText = IrisGainScale::zeroGain(gainTexts);
        ui->sliderIrisGain->setValues(IrisGainScale::entries(irisTexts, gainTexts));
        setRowVisible(ui->labelIrisGain, ui->sliderIrisGain, true);
    } else if (gains != nullptr) {
        if (!applyRange(camera, "gainValues", ui->sliderIrisGain, ui->labelIrisGain))
            ui->sliderIrisGain->setValues(IrisGainScale::gainEntries(listTexts(gains)));
        setRowVisible(ui->labelIrisGain, ui->sliderIrisGain, true);
    }
}

void WidgetCameraSettings::loadConfig()
{
    PXRMsgElement *camera = cameraConfig(currentCameraId());
    if (camera == nullptr)
        return;
    PXRMsgElement *optics = PXRMsgElementFirstChild(camera, "optics");
    ui->radioBlackAndWhite->setEnabled(true);
    ui->radioColor->setEnabled(true);
    ui->labelIRCutAuto->hide();
    m_loaded = false;

    ui->checkFlip->setEnabled(attribute(optics, "flip") != nullptr);
    ui->checkFlip->setChecked(isTrue(optics, "flip"));
    const QString state = irCutState(optics);
    loadColorMode(camera, optics, state);
    loadFocus(camera, optics, state);
    loadSliders(optics);
    loadIrisGain(optics);
    loadAutomaticExposure(camera);
    m_loaded = true;
}

QString WidgetCameraSettings::irCutState(PXRMsgElement *optics)
{
    if (attribute(optics, "irCut") != nullptr)
        return isTrue(optics, "irCut") ? QStringLiteral("on") : QStringLiteral("off");
    return text(optics, "irCutFilter");
}

void WidgetCameraSettings::loadColorMode(PXRMsgElement *camera, PXRMsgElement *optics, const QString &state)
{
    if (attribute(optics, "irCut") == nullptr && attribute(optics, "irCutFilter") == nullptr)
        return;
    ui->widgetColorMode->show();
    const bool on = isOnState(state);
    const bool off = isOffState(state);
    setColorRadios(on, off);
    ui->radioBlackAndWhite->setEnabled(on || off);
    ui->radioColor->setEnabled(on || off);
    if (on)
        ui->labelIRCutStatus->setText(tr("(IRCut is on)"));
    else if (off)
        ui->labelIRCutStatus->setText(tr("(IRCut is off)"));
    else if (equalsAnyCase(state, "auto"))
        ui->labelIRCutStatus->setText(tr("(IRCut is automatic)"));
    else
        ui->labelIRCutStatus->setText(tr("(IRCut is unknown)"));
    loadColorModeControl(PXRMsgElementFirstChild(camera, "enslavement"), "enabled",
                         tr("<a href=\"enslavement\">Enslavement</a> is controlling the color mode."));
    // Auto exposure, when the camera has both, has the last word.
    loadColorModeControl(PXRMsgElementFirstChild(camera, "autoExposure"), "shutterPriority",
                         tr("<a href=\"autoExposure\">Auto exposure</a> is controlling the color mode."));
}

// An automatic control leaves the colour mode to the operator while it is off or switched by hand.
void WidgetCameraSettings::loadColorModeControl(PXRMsgElement *control, const char *freeAttribute,
                                                const QString &text)
{
    if (control == nullptr)
        return;
    const bool editable = !isTrue(control, freeAttribute) || equalsAnyCase(::text(control, "switchType"), "manual");
    ui->radioBlackAndWhite->setEnabled(editable);
    ui->radioColor->setEnabled(editable);
    ui->labelIRCutAuto->setVisible(!editable);
    if (!editable)
        ui->labelIRCutAuto->setText(text);
}

void WidgetCameraSettings::loadFocus(PXRMsgElement *camera, PXRMsgElement *optics, const QString &state)
{
    const bool automatic = equalsAnyCase(state, "auto");
    ui->labelFocusIRCutAuto->setVisible(automatic);
    ui->btnAutofocus->setVisible(!automatic);
    ui->sliderFocus->setVisible(!automatic);
    int focus = 0;
    if (!automatic && readInt(optics, isOnState(state) ? "focusIRCutOn" : "focusIRCutOff", &focus))
        ui->sliderFocus->setValue(focus);

    const bool autofocus = isTrue(optics, "autofocus");
    ui->labelAutofocus->setVisible(autofocus);
    ui->groupFocus->setEnabled(!autofocus);

    ui->labelFocusANPRAuto->hide();
    if (isTrue(PXRMsgElementFirstChild(camera, "anpr"), "focusAuto")) {
        ui->labelFocusANPRAuto->show();
        ui->btnAutofocus->hide();
        ui->sliderFocus->hide();
        ui->groupFocus->setEnabled(true);
        ui->labelAutofocus->hide();
    }
}

void WidgetCameraSettings::loadSliders(PXRMsgElement *optics)
{
    int value = 0;
    const bool hasZoom = readInt(optics, "zoom", &value);
    ui->widgetZoom->setVisible(hasZoom);
    if (hasZoom) {
        ui->sliderZoom->setValue(value);
        updateZoomLabel(unsigned(value));
    }
    ui->checkMacroMode->setVisible(attribute(optics, "macro") != nullptr);
    ui->checkMacroMode->setChecked(isTrue(optics, "macro"));
    const bool hasShutter = attribute(optics, "shutter") != nullptr;
    setRowVisible(ui->labelShutter, ui->sliderShutter, hasShutter);
    if (hasShutter)
        ui->sliderShutter->setText(text(optics, "shutter"));
    const bool hasExpComp = readInt(optics, "expComp", &value);
    setRowVisible(ui->labelExpComp, ui->sliderExpComp, hasExpComp);
    if (hasExpComp)
        ui->sliderExpComp->setValue(value);
    if (attribute(optics, "enhancedContrast") != nullptr) {
        ui->checkEnhancedContrast->show();
        ui->checkEnhancedContrast->setChecked(isTrue(optics, "enhancedContrast"));
    }

    const std::pair<const char *, WidgetSlider *> values[] = {
        {"brightness", ui->sliderBrightness},
        {"sharpness", ui->sliderSharpness},
        {"contrast", ui->sliderContrast},
        {"saturation", ui->sliderSaturation},
    };
    for (const auto &[name, slider] : values) {
        if (readInt(optics, name, &value))
            slider->setValue(value);
    }
    const std::pair<const char *, WidgetSlider *> texts[] = {
        {"ISO", ui->sliderISO},
        {"exposure", ui->sliderExposure},
        {"whiteBalance", ui->sliderWhiteBalance},
        {"metering", ui->sliderMetering},
    };
    for (const auto &[name, slider] : texts) {
        if (attribute(optics, name) != nullptr)
            slider->setText(text(optics, name));
    }
}

void WidgetCameraSettings::loadIrisGain(PXRMsgElement *optics)
{
    if (attribute(optics, "iris") != nullptr) {
        const QString iris = text(optics, "iris");
        ui->sliderIrisGain->setText(iris == m_lastIrisText && m_irisWithGains
                                        ? IrisGainScale::joined(iris, text(optics, "gain"))
                                        : iris);
    } else if (attribute(optics, "gain") != nullptr) {
        int gain = 0;
        if (ui->sliderIrisGain->isListMode())
            ui->sliderIrisGain->setText(IrisGainScale::signedGain(text(optics, "gain")));
        else if (readInt(optics, "gain", &gain))
            ui->sliderIrisGain->setValue(gain);
    }
}

void WidgetCameraSettings::loadAutomaticExposure(PXRMsgElement *camera)
{
    ui->sliderIrisGain->setEnabled(false);
    ui->sliderExpComp->setEnabled(false);
    PXRMsgElement *enslavement = PXRMsgElementFirstChild(camera, "enslavement");
    PXRMsgElement *autoExposure = PXRMsgElementFirstChild(camera, "autoExposure");
    bool automatic = false;
    if (enslavement != nullptr) {
        automatic = isTrue(enslavement, "enabled");
        ui->labelEnslavementSettings->setText(
            automatic ? tr("<a href='enslavement'>Enslavement</a> is enabled. Shutter, iris and gain are automatic.")
                      : tr("<a href='enslavement'>Enslavement</a> is disabled."));
    } else if (autoExposure != nullptr) {
        automatic = isTrue(autoExposure, "shutterPriority");
        ui->labelEnslavementSettings->setText(
            automatic ? tr("<a href='autoExposure'>Auto exposure</a> is enabled. Shutter, iris and gain are automatic.")
                      : tr("<a href='autoExposure'>Auto exposure</a> is disabled."));
        ui->sliderExpComp->setEnabled(automatic);
    }
    ui->labelEnslavementSettings->setVisible(enslavement != nullptr || autoExposure != nullptr);
    ui->sliderIrisGain->setEnabled(!automatic);
    ui->sliderShutter->setEnabled(!automatic);
}

void WidgetCameraSettings::updateZoomLabel(unsigned zoom)
{
    ui->labelZoomType->setText(m_zoomThreshold >= 0 && zoom > unsigned(m_zoomThreshold) ? tr("(digital)")
                                                                                         : tr("(optical)"));
}

void WidgetCameraSettings::updateFocusSlider()
{
    PXRMsgElement *optics = PXRMsgElementFirstChild(cameraConfig(currentCameraId()), "optics");
    if (optics == nullptr)
        return;
    const bool loaded = m_loaded;
    m_loaded = false;
    int focus = 0;
    if (readInt(optics, isTrue(optics, "irCut") ? "focusIRCutOn" : "focusIRCutOff", &focus))
        ui->sliderFocus->setValue(focus);
    m_loaded = loaded;
}

bool WidgetCameraSettings::sendOptics(const QStringList &names, const QStringList &values)
{
    if (!m_loaded || names.size() != values.size())
        return false;
    const QByteArray id = currentCameraId().toUtf8();
    if (id.isEmpty() || cameraInfo(QString::fromUtf8(id)) == nullptr)
        return false;
    ConfigRequest request("setConfig");
    const ConfigElement optics = request.path({{"config"}, {"cameras"}, {"camera", id}, {"optics"}});
    for (qsizetype i = 0; i < names.size(); ++i)
        optics.set(names[i].toLatin1().constData(), values[i]);
    return request.send(this, tr("Configuration"));
}

bool WidgetCameraSettings::sendOpticsAttribute(const QString &name, const QString &value)
{
    return sendOptics({name}, {value});
}

void WidgetCameraSettings::on_checkFlip_stateChanged(int state)
{
    sendOpticsAttribute("flip", state == Qt::Checked ? "1" : "0");
}

void WidgetCameraSettings::on_checkEnhancedContrast_stateChanged()
{
    sendOpticsAttribute("enhancedContrast", ui->checkEnhancedContrast->isChecked() ? "1" : "0");
}

void WidgetCameraSettings::on_checkMacroMode_stateChanged(int state)
{
    sendOpticsAttribute("macro", state == Qt::Checked ? "1" : "0");
}

void WidgetCameraSettings::on_radioColor_toggled(bool checked)
{
    if (m_loaded) {
        if (m_model->schemaDoc().hasAttribute({"config", "cameras", "camera", "optics"}, "irCutFilter"))
            sendOpticsAttribute("irCutFilter", checked ? "on" : "off");
        else
            sendOpticsAttribute("irCut", checked ? "1" : "0");
    }
    updateFocusSlider();
}

void WidgetCameraSettings::on_sliderZoom_valueChanged(int value)
{
    updateZoomLabel(unsigned(value));
    sendOpticsAttribute("zoom", QString::number(value));
}

// Each IR-cut state keeps its own focus position.
void WidgetCameraSettings::on_sliderFocus_valueChanged(int value)
{
    if (!m_loaded)
        return;
    const bool blackAndWhite = ui->radioBlackAndWhite->isChecked() || ui->radioBlackAndWhite->isHidden();
    sendOpticsAttribute(blackAndWhite ? "focusIRCutOff" : "focusIRCutOn", QString::number(value));
}

void WidgetCameraSettings::on_sliderExpComp_valueChanged(int value)
{
    sendOpticsAttribute("expComp", QString::number(value));
}

void WidgetCameraSettings::on_sliderShutter_textChanged(const QString &text)
{
    sendOpticsAttribute("shutter", text);
}

void WidgetCameraSettings::on_sliderIrisGain_textChanged(const QString &text)
{
    const IrisGainScale::Split split = IrisGainScale::split(text, m_zeroGainText);
    if (!split.names.isEmpty())
        sendOptics(split.names, split.values);
}

void WidgetCameraSettings::on_sliderIrisGain_valueChanged(int value)
{
    // The list mode reports its texts; only the numeric gain scale sends values.
    if (!ui->sliderIrisGain->isListMode())
        sendOpticsAttribute("gain", QString::number(value));
}

void WidgetCameraSettings::on_sliderBrightness_valueChanged(int value)
{
    sendOpticsAttribute("brightness", QString::number(value));
}

void WidgetCameraSettings::on_sliderSharpness_valueChanged(int value)
{
    sendOpticsAttribute("sharpness", QString::number(value));
}

void WidgetCameraSettings::on_sliderContrast_valueChanged(int value)
{
    sendOpticsAttribute("contrast", QString::number(value));
}

void WidgetCameraSettings::on_sliderISO_textChanged(const QString &text)
{
    sendOpticsAttribute("ISO", text);
}

void WidgetCameraSettings::on_sliderSaturation_valueChanged(int value)
{
    sendOpticsAttribute("saturation", QString::number(value));
}

void WidgetCameraSettings::on_sliderExposure_textChanged(const QString &text)
{
    sendOpticsAttribute("exposure", text);
}

void WidgetCameraSettings::on_sliderWhiteBalance_textChanged(const QString &text)
{
    sendOpticsAttribute("whiteBalance", text);
}

void WidgetCameraSettings::on_sliderMetering_textChanged(const QString &text)
{
    sendOpticsAttribute("metering", text);
}

void WidgetCameraSettings::on_labelAutofocus_linkActivated()
{
    sendOpticsAttribute("autofocus", "0");
}

void WidgetCameraSettings::on_labelIRCutAuto_linkActivated(const QString &link)
{
    emitDialogLink(link);
}

void WidgetCameraSettings::on_labelEnslavementSettings_linkActivated(const QString &link)
{
    emitDialogLink(link);
}

void WidgetCameraSettings::emitDialogLink(const QString &link)
{
    emit openDialog(currentCameraId() + ':' + link);
}

void WidgetCameraSettings::on_btnAutofocus_clicked()
{
    const QString id = currentCameraId();
    if (id.isEmpty() || !sendOpticsAttribute("autofocus", "1"))
        return;
    PXRMsgElement *sensor = PXRMsgElementFirstChild(PXRMsgChild(m_model->infos()), "sensor");
    if (sensor == nullptr)
        return;
    const bool fixedWait = kFixedFocusWaitModels.contains(text(sensor, "type"));

    QProgressDialog dialog(tr("Waiting for focus detection..."), tr("Cancel"), 0, 0, this);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.show();
    if (fixedWait ? waitFixed(dialog) : waitForFocusEnd(dialog, id)) {
        sendOpticsAttribute("autofocus", "0");
        m_loaded = true;
    }
    dialog.close();
}

bool WidgetCameraSettings::waitFixed(QProgressDialog &dialog)
{
    const int limit = autofocusTiming().fixedWaitMs;
    dialog.setMaximum(limit);
    QElapsedTimer stopwatch;
    stopwatch.start();
    while (stopwatch.elapsed() < limit && !dialog.wasCanceled()) {
        // A configuration push during the wait reports autofocus as active; that is expected.
        ui->labelAutofocus->hide();
        dialog.setValue(int(stopwatch.elapsed()));
        SA_Sleep(kSleepStepMs);
        QCoreApplication::processEvents();
    }
    return true;
}

// The configuration kept when the detection starts may still say it is off: the end counts
// only once the sensor has reported it running.
bool WidgetCameraSettings::waitForFocusEnd(QProgressDialog &dialog, const QString &cameraId)
{
    bool running = false;
    QElapsedTimer stopwatch;
    stopwatch.start();
    while (stopwatch.elapsed() < autofocusTiming().pollLimitMs && !dialog.wasCanceled()) {
        ui->labelAutofocus->hide();
        SA_Sleep(kSleepStepMs);
        QCoreApplication::processEvents();
        if (dialog.wasCanceled())
            break;
        PXRMsgElement *camera = cameraConfig(cameraId);
        if (camera == nullptr)
            return false;
        const bool active = isTrue(PXRMsgElementFirstChild(camera, "optics"), "autofocus");
        if (running && !active)
            break;
        running = running || active;
    }
    return true;
}
