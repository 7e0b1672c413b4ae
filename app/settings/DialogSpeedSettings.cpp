// One camera's installation geometry for the speed measure.
#include "DialogSpeedSettings.h"
#include "ui_DialogSpeedSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyDialogs.h"

DialogSpeedSettings::DialogSpeedSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogSpeedSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "speed"};
    ui->cboInstallationContext->fill(docPath, "installationContext");
    ui->cboParameters->addItems({tr("Installation height & angle (best)"), tr("Installation height & field of view"),
                                 tr("Installation angle & field of view"), tr("Field of view only (not recommended)")});
    m_fieldOfViewBinding.number(ui->spinFieldOfView, "fieldOfView_cm").with(ui->labelFieldOfView);
    m_contextBinding.choice(ui->cboInstallationContext, "installationContext").with(ui->labelInstallationContext);
    m_gantryBinding.number(ui->spinHeight, "installationHeight_cm").with(ui->labelHeight);
    m_gantryBinding.decimal(ui->spinAngle, "installationAngle_degrees").with(ui->labelAngle);
    m_lateralBinding.number(ui->spinFieldOfViewX, "fieldOfViewX_cm").with(ui->labelFieldOfViewX);
    m_lateralBinding.number(ui->spinFieldOfViewY, "fieldOfViewY_cm").with(ui->labelFieldOfViewY);
    // The field of view goes under both names the sensor may use; the later one wins at loading.
    bindPairValue(ui->spinHeightv2, m_threeValuesBinding.number(ui->spinHeightv2, "installationHeight_cm"));
    bindPairValue(ui->spinAnglev2, m_threeValuesBinding.decimal(ui->spinAnglev2, "installationAngle_degrees"));
    bindPairValue(ui->spinFieldOfViewv2, m_threeValuesBinding.number(ui->spinFieldOfViewv2, "fieldOfViewY_cm"));
    bindPairValue(ui->spinFieldOfViewv2, m_threeValuesBinding.number(ui->spinFieldOfViewv2, "fieldOfView_cm"));
    displayConfig();
}

DialogSpeedSettings::~DialogSpeedSettings() = default;

// A value outside the chosen pair is sent as 0, so the sensor uses the pair alone.
void DialogSpeedSettings::bindPairValue(QWidget *control, SettingsBinding::Entry &entry)
{
    entry.sentWhen(ui->widgetV2).sends([control](const SettingsBinding::Entry &value) {
        return control->isEnabled() ? value.controlValue() : std::optional<QByteArray>("0");
    });
}

// The layout is chosen once, from what the sensor has.
void DialogSpeedSettings::displayConfig()
{
    PXRMsgElement *speed = PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "speed");
    showElement(speed);
    if (speed == nullptr) {
        for (SettingsBinding *layout :
             {&m_fieldOfViewBinding, &m_contextBinding, &m_gantryBinding, &m_lateralBinding, &m_threeValuesBinding})
            layout->disableAll();
        ui->cboParameters->setEnabled(false);
        return;
    }
    if (PXRMsgElementAttributeValue(speed, "fieldOfView_cm") != nullptr
        && PXRMsgElementAttributeValue(speed, "installationHeight_cm") == nullptr) {
        showLayout(ui->widgetKGV);
        m_fieldOfViewBinding.load(speed);
    } else if (PXRMsgElementAttributeValue(speed, "installationContext") != nullptr) {
        showLayout(ui->widgetFYB);
        showContext(speed);
    } else {
        showLayout(ui->widgetV2);
        m_threeValuesBinding.load(speed);
        showThreeValues();
    }
}

void DialogSpeedSettings::showLayout(QWidget *shown)
{
    for (QWidget *layout : {ui->widgetKGV, ui->widgetFYB, ui->widgetV2})
        layout->setVisible(layout == shown);
}

// Both mountings are loaded, so switching between them shows and sends the sensor's values.
void DialogSpeedSettings::showContext(PXRMsgElement *speed)
{
    m_contextBinding.load(speed);
    m_gantryBinding.load(PXRMsgElementFirstChild(speed, "gantry"));
    m_lateralBinding.load(PXRMsgElementFirstChild(speed, "lateral"));
    const char *context = PXRMsgElementAttributeValue(speed, "installationContext");
    ui->widgetGantry->setVisible(qstricmp(context, "gantry") == 0);
    ui->widgetLateral->setVisible(qstricmp(context, "lateral") == 0);
}

void DialogSpeedSettings::on_cboInstallationContext_currentIndexChanged(int)
{
    const QByteArray context = ui->cboInstallationContext->currentValue();
    ui->widgetGantry->setVisible(context == "gantry");
    ui->widgetLateral->setVisible(context == "lateral");
}

// The sensor gives its field of view under either name, or both.
bool DialogSpeedSettings::hasFieldOfView() const
{
    return m_threeValuesBinding.present("fieldOfView_cm") || m_threeValuesBinding.present("fieldOfViewY_cm");
}

// The pair the sensor's values make usable: a value counts when present and not zero.
DialogSpeedSettings::Parameters DialogSpeedSettings::parametersInUse() const
{
    const bool height = m_threeValuesBinding.present("installationHeight_cm") && ui->spinHeightv2->value() != 0;
    const bool angle = m_threeValuesBinding.present("installationAngle_degrees") && ui->spinAnglev2->value() != 0.0;
    const bool fieldOfView = hasFieldOfView() && ui->spinFieldOfViewv2->value() != 0;
    if (height)
        return !angle && fieldOfView ? HeightAndFieldOfView : HeightAndAngle;
    if (fieldOfView)
        return angle ? AngleAndFieldOfView : FieldOfViewOnly;
    return HeightAndAngle;
}

void DialogSpeedSettings::showThreeValues()
{
    const Parameters parameters = parametersInUse();
    if (parameters == HeightAndAngle)
        ui->spinFieldOfViewv2->setValue(0);
    ui->cboParameters->setCurrentIndex(parameters);
    on_cboParameters_currentIndexChanged(parameters);
}

void DialogSpeedSettings::on_cboParameters_currentIndexChanged(int index)
{
    const bool height = index == HeightAndAngle || index == HeightAndFieldOfView;
    const bool angle = index == HeightAndAngle || index == AngleAndFieldOfView;
    const bool fieldOfView = index != HeightAndAngle;
    ui->spinHeightv2->setEnabled(height && m_threeValuesBinding.present("installationHeight_cm"));
    ui->spinAnglev2->setEnabled(angle && m_threeValuesBinding.present("installationAngle_degrees"));
    ui->spinFieldOfViewv2->setEnabled(fieldOfView && hasFieldOfView());
}

bool DialogSpeedSettings::pairValid()
{
    QString fault;
    if (ui->spinHeightv2->isEnabled() && ui->spinHeightv2->value() == 0)
        fault = tr("Installation height cannot be set to 0");
    else if (ui->spinAnglev2->isEnabled() && ui->spinAnglev2->value() == 0.0)
        fault = tr("Installation angle cannot be set to 0");
    else if (ui->spinFieldOfViewv2->isEnabled() && ui->spinFieldOfViewv2->value() == 0)
        fault = tr("Field of view cannot be set to 0");
    if (fault.isEmpty())
        return true;
    ZyDialogs::critical(this, tr("Error"), fault);
    return false;
}

void DialogSpeedSettings::on_buttonBox_accepted()
{
    const bool threeValues = ui->widgetV2->isVisibleTo(this);
    if (threeValues && !pairValid())
        return;
    ConfigRequest request("setConfig");
    const ConfigElement speed = cameraFeature(request, m_cameraId, "speed");
    if (ui->widgetFYB->isVisibleTo(this)) {
        m_contextBinding.write(speed);
        if (ui->widgetGantry->isVisibleTo(this))
            m_gantryBinding.write(speed.path({{"gantry"}}));
        if (ui->widgetLateral->isVisibleTo(this))
            m_lateralBinding.write(speed.path({{"lateral"}}));
    } else if (ui->widgetKGV->isVisibleTo(this)) {
        m_fieldOfViewBinding.write(speed);
    } else if (threeValues) {
        m_threeValuesBinding.write(speed);
    }
    sendRequest(request, tr("Configuration"));
}

void DialogSpeedSettings::on_buttonBox_rejected()
{
    reject();
}
