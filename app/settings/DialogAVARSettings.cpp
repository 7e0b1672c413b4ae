// The AVAR function of one camera's ANPR module.
#include "DialogAVARSettings.h"
#include "ui_DialogAVARSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyDialogs.h"

DialogAVARSettings::DialogAVARSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogAVARSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "anpr", "avar"};
    bind();
    displayConfig();
}

DialogAVARSettings::~DialogAVARSettings() = default;

// Switching AVAR off disables what the group holds, yet the values read still go to the sensor.
void DialogAVARSettings::bind()
{
    binding.flag(ui->groupAVAR, "enabled");
    binding.number(ui->spinAVARTimeout, "timeout_ms").with(ui->labelAVARTimeout).sentWhen(this);
    m_secondary.text(ui->edtAVARSecondSensorAddress, "address").with(ui->labelAVARSecondSensorAddress).sentWhen(this);
    m_secondary.number(ui->spinAVARSecondSensorPort, "port").with(ui->labelAVARSecondSensorPort).sentWhen(this);
    m_secondary.flag(ui->checkAVARSecondSensorSSL, "useSecuredConnection").sentWhen(this);
    m_secondary.flag(ui->checkAVARSecondSensorIgnoreSSLErrors, "ignoreSSLErrors").sentWhen(this);
    m_secondary.number(ui->spinAVARSecondSensorTimeout, "timeout_ms")
        .with(ui->labelAVARSecondSensorTimeout)
        .sentWhen(this);
}

void DialogAVARSettings::displayConfig()
{
    PXRMsgElement *anpr = PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "anpr");
    PXRMsgElement *avar = PXRMsgElementFirstChild(anpr, "avar");
    PXRMsgElement *secondary = PXRMsgElementFirstChild(PXRMsgElementFirstChild(avar, "sensors"), "sensor0");
    ui->groupAVAR->setVisible(avar != nullptr);
    showElement(avar);
    m_hasSecondary = secondary != nullptr;
    m_secondary.load(secondary);
    ui->groupAVARSecondSensor->setEnabled(m_hasSecondary);
}

void DialogAVARSettings::on_buttonBox_accepted()
{
    // A blank is no address either.
    if (ui->groupAVAR->isChecked() && ui->edtAVARSecondSensorAddress->text().trimmed().isEmpty()) {
        ZyDialogs::critical(this, windowTitle(), tr("AVAR is enabled but secondary sensor address is not set."));
        return;
    }
    ConfigRequest request("setConfig");
    const ConfigElement avar = cameraFeature(request, m_cameraId, "anpr").path({{"avar"}});
    binding.write(avar);
    if (m_hasSecondary)
        m_secondary.write(avar.path({{"sensors"}, {"sensor0"}}));
    sendRequest(request, tr("Set configuration"));
}

void DialogAVARSettings::on_buttonBox_rejected()
{
    reject();
}
