// How the trigger of one recognition module of one camera works.
#include "DialogTriggerSettings.h"
#include "ui_DialogTriggerSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogTriggerSettings::DialogTriggerSettings(QWidget *parent, const QString &cameraId, const QString &module)
    : Dialog_Settings(parent), ui(new Ui::DialogTriggerSettings), m_feature(cameraId, module, "trigger")
{
    ui->setupUi(this);
    docPath = m_feature.schemaPath();
    takeSchemaRange(ui->spinRel, "reliabilityThreshold");
    takeSchemaRange(ui->spinEndPlateTimeout, "endPlateTimeout_ms");
    ui->comboPulseMode->fill(docPath, "triggerIOPulseMode");
    bind();
    displayConfig();
}

DialogTriggerSettings::~DialogTriggerSettings() = default;

// The input's time-out and pulse mode sit in a container that the group disables while it is
// unchecked, so that enabling them for their presence never overrides the switch.
void DialogTriggerSettings::bind()
{
    binding.number(ui->spinRel, "reliabilityThreshold").with(ui->label);
    binding.number(ui->spinEndPlateTimeout, "endPlateTimeout_ms").with(ui->label_2);
    binding.flag(ui->groupIOActivated, "activateOnIOIn");
    binding.number(ui->spinIOTriggerTimeout, "triggerIOTimeout");
    binding.choice(ui->comboPulseMode, "triggerIOPulseMode");
}

void DialogTriggerSettings::displayConfig()
{
    showElement(m_feature.find(model->config()));
}

void DialogTriggerSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(m_feature.in(request));
    sendRequest(request, tr("Configuration"));
}

void DialogTriggerSettings::on_buttonBox_rejected()
{
    reject();
}
