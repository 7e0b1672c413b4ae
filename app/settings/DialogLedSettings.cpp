// One LED lighting of the sensor: its bracketing and eco modes.
#include "DialogLedSettings.h"
#include "ui_DialogLedSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogLedSettings::DialogLedSettings(QWidget *parent, const QString &lightingKey)
    : Dialog_Settings(parent), ui(new Ui::DialogLedSettings), m_id(lightingKey)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "lightings", "led"};
    binding.flag(ui->checkBracketing, "bracketing");
    binding.flag(ui->checkEcoMode, "ecoMode");
    PXRMsgElement *led = findLighting(model->config(), m_id);
    if (led != nullptr)
        m_id = m_id.mid(m_id.indexOf(QLatin1Char('=')) + 1);
    showElement(led);
}

DialogLedSettings::~DialogLedSettings() = default;

void DialogLedSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(request.path({{"config"}, {"lightings"}, {"led", m_id.toLatin1()}}));
    sendRequest(request, tr("Configuration"));
}

void DialogLedSettings::on_buttonBox_rejected()
{
    reject();
}
