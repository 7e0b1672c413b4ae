// The sensor's digital inputs and outputs.
#include "DialogIOSettings.h"
#include "ui_DialogIOSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

namespace {

// A group shown and usable exactly when the sensor has its element.
void showGroup(QWidget *group, PXRMsgElement *element)
{
    group->setVisible(element != nullptr);
    group->setEnabled(element != nullptr);
}

} // namespace

DialogIOSettings::DialogIOSettings(QWidget *parent) : Dialog_Settings(parent), ui(new Ui::DialogIOSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "io"};
    ui->comboIOMode->fill(docPath, "mode");
    ui->comboPulseMode->fill({"config", "io", "defaultImpulse"}, "pulseMode");
    binding.choice(ui->comboIOMode, "mode", SettingsBinding::EnableAndShow);
    m_impulseBinding.choice(ui->comboPulseMode, "pulseMode").with(ui->labelPulseMode);
    m_impulseBinding.number(ui->spinPulseDuration, "duration_ms").with(ui->labelPulseDuration);
    m_inputBinding.number(ui->spinMinPulseDuration, "minDuration_ms").with(ui->labelMinPulseDuration);
    displayConfig();
}

DialogIOSettings::~DialogIOSettings() = default;

void DialogIOSettings::displayConfig()
{
    PXRMsgElement *io = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "io");
    PXRMsgElement *impulse = PXRMsgElementFirstChild(io, "defaultImpulse");
    PXRMsgElement *input = PXRMsgElementFirstChild(io, "input");
    showElement(io);
    m_impulseBinding.load(impulse);
    m_inputBinding.load(input);
    showGroup(ui->groupOutput, impulse);
    showGroup(ui->groupInput, input);
}

void DialogIOSettings::on_comboIOMode_currentIndexChanged(int)
{
}

void DialogIOSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    const ConfigElement io = request.path({{"config"}, {"io"}});
    binding.write(io);
    m_impulseBinding.write(io.path({{"defaultImpulse"}}));
    if (ui->groupInput->isEnabled())
        m_inputBinding.write(io.path({{"input"}}));
    sendRequest(request, tr("Configuration"));
}

void DialogIOSettings::on_buttonBox_rejected()
{
    reject();
}
