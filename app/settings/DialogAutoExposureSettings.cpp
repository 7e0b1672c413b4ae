// One camera's auto exposure.
#include "DialogAutoExposureSettings.h"
#include "ui_DialogAutoExposureSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogAutoExposureSettings::DialogAutoExposureSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogAutoExposureSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "autoExposure"};
    ui->cboSwitchMode->fill(docPath, "switchType");
    ui->cboReactionSpeed->fill(docPath, "reactionSpeed");
    // The combos sit in the group: switched off, they are not sent.
    binding.flag(ui->groupEnable, "shutterPriority");
    binding.choice(ui->cboSwitchMode, "switchType").with(ui->labelSwitchMode);
    binding.choice(ui->cboReactionSpeed, "reactionSpeed").with(ui->labelReactionSpeed);
    displayConfig();
}

DialogAutoExposureSettings::~DialogAutoExposureSettings() = default;

// Without its switch the rest cannot be told apart from auto exposure switched off.
void DialogAutoExposureSettings::displayConfig()
{
    PXRMsgElement *autoExposure = PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "autoExposure");
    const bool hasSwitch = PXRMsgElementAttributeValue(autoExposure, "shutterPriority") != nullptr;
    showElement(hasSwitch ? autoExposure : nullptr);
}

void DialogAutoExposureSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "autoExposure"));
    sendRequest(request, tr("Configuration"));
}

void DialogAutoExposureSettings::on_buttonBox_rejected()
{
    reject();
}
